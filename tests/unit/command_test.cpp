#include <gtest/gtest.h>

#include "command/launch_limits.h"
#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "command/web_address.h"
#include "simulated_code_pages.h"

namespace {
const SingleByteCodePage kSingleByte;

class PlanTest : public ::testing::Test {
protected:
    LaunchPlan Plan(const std::string& line) { return PlanLaunch(line, names, kSingleByte); }
    void ExpectShell(const std::string& line, const std::string& file, const std::string& parameters) {
        LaunchPlan plan = Plan(line);
        EXPECT_EQ(plan.kind, LaunchPlan::Kind::Shell) << line;
        EXPECT_EQ(plan.file, file) << line;
        EXPECT_EQ(plan.parameters, parameters) << line;
    }
    LaunchNameMap names;
};

TEST_F(PlanTest, PlainLinesSplitAtTheFirstBlank) {
    ExpectShell("notepad", "notepad", "");
    ExpectShell("notepad d:\\readme.txt", "notepad", "d:\\readme.txt");
    ExpectShell("notepad  two  blanks ", "notepad", " two  blanks ");
    // A blank first: the target is empty and the shell will refuse it.
    ExpectShell(" notepad", "", "notepad");
}

TEST_F(PlanTest, DrivePathsAndShortLinesStayWhole) {
    ExpectShell("D:\\My Tools\\tool.exe /x", "D:\\My Tools\\tool.exe /x", "");
    names.Put("g", "http://search.example/?q=$param");
    ExpectShell("g a", "g a", "");
    ExpectShell("a b", "a b", "");
    // Only "X:\" counts as a drive path.
    ExpectShell("D:/tool.exe /x", "D:/tool.exe", "/x");
}

TEST_F(PlanTest, LaunchNamesAndParam) {
    names.Put("g", "http://search.example/?q=$param&lang=$param");
    names.Put("np", "notepad.exe");
    names.Put("tool", "C:\\Program Files\\Tool\\tool.exe -v");
    ExpectShell("g kittens", "http://search.example/?q=kittens&lang=kittens", "");
    ExpectShell("G kittens", "http://search.example/?q=kittens&lang=kittens", "");
    ExpectShell("g", "http://search.example/?q=$param&lang=$param", "");
    ExpectShell("np x.txt", "notepad.exe", "x.txt");
    ExpectShell("NP x.txt", "notepad.exe", "x.txt");
    // A stored line with blanks is handed over whole, never split again.
    ExpectShell("tool", "C:\\Program Files\\Tool\\tool.exe -v", "");
    ExpectShell("tool now", "C:\\Program Files\\Tool\\tool.exe -v", "now");
}

TEST_F(PlanTest, ParamReplacementDoesNotRecurse) {
    names.Put("echo", "say $param!");
    ExpectShell("echo $param and $param", "say $param and $param!", "");
    EXPECT_EQ(ReplaceParam("$param$param", "x$paramy"), "x$paramyx$paramy");
    EXPECT_EQ(ReplaceParam("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(ReplaceParam("$para", "x"), "$para");
    EXPECT_EQ(ReplaceParam("$param", ""), "");
}

TEST_F(PlanTest, WholeLineNameWinsOverEverything) {
    names.Put("HKEY_FAVOURITE", "regedit.exe");
    names.Put("note pad", "notepad.exe");
    ExpectShell("HKEY_FAVOURITE", "regedit.exe", "");
    ExpectShell("note pad", "notepad.exe", "");
    names.Put("home", "example.com");
    ExpectShell("home", "http://example.com", "");
}

TEST_F(PlanTest, RegistryPathsNeedTheExactPrefix) {
    EXPECT_EQ(Plan("HKEY_LOCAL_MACHINE\\Software").kind, LaunchPlan::Kind::RegistryPath);
    EXPECT_EQ(Plan("HKEY_CURRENT_USER\\Software\\My Key").kind, LaunchPlan::Kind::RegistryPath);
    ExpectShell("hkey_local_machine\\software", "hkey_local_machine\\software", "");
    ExpectShell(" HKEY_LOCAL_MACHINE", "", "HKEY_LOCAL_MACHINE");
}

TEST_F(PlanTest, HostNamesBecomeHttpAddresses) {
    ExpectShell("example.com", "http://example.com", "");
    ExpectShell("www.Example.COM/Page", "http://www.Example.COM/Page", "");
    ExpectShell("example.com:81/x", "example.com:81/x", "");
    ExpectShell("readme.txt", "readme.txt", "");
    ExpectShell("command.com", "http://command.com", "");
    ExpectShell("d:\\docs\\brief.de", "d:\\docs\\brief.de", "");
    ExpectShell("192.168.1.1", "192.168.1.1", "");
    ExpectShell("https://example.com", "https://example.com", "");
    ExpectShell("example.com/http", "example.com/http", "");
    // A named scheme other than http is not given a second one.
    ExpectShell("ftp://files.example.org", "ftp://files.example.org", "");
    // The parameters do not decide: only the target is tested.
    ExpectShell("ping example.org", "ping", "example.org");
}

// The file part, an address and the parameters each have their own limit,
// and Wine's shell crashes on addresses the system takes.
TEST_F(PlanTest, LinesPastTheShellsLimitsAreRefused) {
    auto check = [&](const std::string& line, const ShellLimits& limits) { return CheckLaunchPlan(Plan(line), limits, kSingleByte); };
    for (const ShellLimits& limits : {kWindowsShellLimits, kWineShellLimits}) {
        EXPECT_EQ(check(std::string(259, 'a'), limits), LaunchRefusal::None);
        EXPECT_EQ(check(std::string(260, 'a'), limits), LaunchRefusal::FileTooLong);
        EXPECT_EQ(check("recorder.exe " + std::string(32504, 'p'), limits), LaunchRefusal::None);
        EXPECT_EQ(check("recorder.exe " + std::string(32505, 'p'), limits), LaunchRefusal::ParametersTooLong);
        EXPECT_EQ(check("HKEY_CURRENT_USER\\" + std::string(5000, 'k'), limits), LaunchRefusal::None);
    }
    EXPECT_EQ(check(std::string(1000000, 'a'), kWineShellLimits), LaunchRefusal::FileTooLong);
    std::string address = "http://example.com/?q=" + std::string(2083 - 22, 'q');
    EXPECT_EQ(check(address, kWindowsShellLimits), LaunchRefusal::None);
    EXPECT_EQ(check(address + "q", kWindowsShellLimits), LaunchRefusal::AddressTooLong);
    EXPECT_EQ(check(address.substr(0, 996), kWineShellLimits), LaunchRefusal::None);
    EXPECT_EQ(check(address.substr(0, 997), kWineShellLimits), LaunchRefusal::AddressTooLong);
    EXPECT_EQ(check("example.com/" + std::string(1500, 'x'), kWindowsShellLimits), LaunchRefusal::None);
    EXPECT_EQ(check("C:" + std::string(1500, 'x'), kWindowsShellLimits), LaunchRefusal::FileTooLong);  // a drive
    EXPECT_EQ(RefusalText(LaunchRefusal::ParametersTooLong, kWindowsShellLimits),
              "Command can not be run! Its parameters are longer than 32504 characters.");
}

TEST_F(PlanTest, ParamExpansionIsBounded) {
    names.Put("pp", "$param$param$param");
    EXPECT_EQ(Plan("pp " + std::string(333, 'x')).file, std::string(999, 'x'));
    // A million characters of placeholders costs no more than the longest text any shell takes.
    std::string huge;
    while (huge.size() < 1000000) huge += "$param";
    names.Put("huge", huge);
    EXPECT_EQ(Plan("huge " + std::string(1000, 'y')).file, std::string(kLongestShellText + 1, 'y'));
    EXPECT_EQ(ReplaceParam("ab$paramcd", "XYZ", 4), "abXYZ");
    EXPECT_EQ(ReplaceParam("abcdef", "", 2), "abc");
}

TEST(WebAddress, SchemesAndTopLevelDomains) {
    EXPECT_TRUE(IsWebAddress("ftp://x", kSingleByte));
    EXPECT_TRUE(IsWebAddress("anything://", kSingleByte));
    EXPECT_TRUE(IsWebAddress("EXAMPLE.ORG", kSingleByte));
    EXPECT_TRUE(IsWebAddress("a.museum\\x.txt", kSingleByte));
    EXPECT_TRUE(IsWebAddress("host.de/path.txt", kSingleByte));
    EXPECT_FALSE(IsWebAddress("host.", kSingleByte));
    EXPECT_FALSE(IsWebAddress("nodot", kSingleByte));
    EXPECT_FALSE(IsWebAddress("", kSingleByte));
    EXPECT_FALSE(IsWebAddress("a.b/c.com", kSingleByte));  // host part ends at the first '/'
    EXPECT_FALSE(IsWebAddress("a.comx", kSingleByte));
    EXPECT_FALSE(IsWebAddress(".", kSingleByte));
    EXPECT_TRUE(IsWebAddress(".com", kSingleByte));
}

TEST(WebAddress, TableHoldsExactlyTheBuiltInNames) {
    ASSERT_EQ(kTldCount, 265u);
    for (unsigned i = 1; i < kTldCount; ++i) EXPECT_LT(std::string(kTldTable[i - 1]), kTldTable[i]);
    for (const char* tld : {"com", "org", "net", "de", "uk", "museum", "arpa", "zw", "ac", "shop", "web"})
        EXPECT_TRUE(IsWebAddress(std::string("x.") + tld, kSingleByte)) << tld;
    for (const char* other : {"xyz", "app", "dev", "txt", "exe", "co.uk.x"})
        EXPECT_FALSE(IsWebAddress(std::string("x.") + other, kSingleByte)) << other;
}

TEST(WebAddress, DoubleByteTrailBytesAreNotSeparators) {
    const SimulatedDoubleByteCodePage dbcs;
    // "\x95\x5C" is one character whose trail byte is a backslash.
    EXPECT_TRUE(IsWebAddress("\x95\x5C.example.com", dbcs));
    EXPECT_FALSE(IsWebAddress("\x95\x5C.example.com", kSingleByte));
}

TEST(LaunchNames, KeysFoldAsciiLettersOnly) {
    LaunchNameMap names;
    names.Put("Calc", "calc.exe");
    names.Put("CALC", "calc2.exe");
    EXPECT_EQ(names.Count(), 1u);
    EXPECT_EQ(names.Find("calc").value(), "calc2.exe");
    names.Put("\xC4rger", "upper");  // non-ASCII letters keep their case
    names.Put("\xE4rger", "lower");
    EXPECT_EQ(names.Find("\xC4RGER").value(), "upper");
    EXPECT_EQ(names.Find("\xE4rger").value(), "lower");
    EXPECT_FALSE(names.Find("missing").has_value());
    EXPECT_EQ(LaunchNameMap::KeyOf("a-z_[]{}@`"), "A-Z_[]{}@`");
    names.Put("", "empty");
    EXPECT_EQ(names.Find("").value(), "empty");
}
}  // namespace
