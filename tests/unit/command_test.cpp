#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "command/command_line.h"
#include "command/environment.h"
#include "command/launch_limits.h"
#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "command/program_search.h"
#include "command/root_zone_domains.inc"
#include "command/web_address.h"
#include "fake_probe.h"
#include "simulated_code_pages.h"

namespace {
const SingleByteCodePage kSingleByte;

const char kNotepad[] = "C:\\windows\\system32\\notepad.exe";
const char kPing[] = "C:\\windows\\system32\\ping.exe";

class PlanTest : public ::testing::Test {
protected:
    LaunchPlan Plan(const std::string& line) { return PlanLaunch(line, names, probe, kSingleByte); }
    void ExpectShell(const std::string& line, const std::string& file, const std::string& parameters) {
        LaunchPlan plan = Plan(line);
        EXPECT_EQ(plan.kind, LaunchPlan::Kind::Shell) << line;
        EXPECT_EQ(plan.file, file) << line;
        EXPECT_EQ(plan.parameters, parameters) << line;
    }
    LaunchNameMap names;
    FakeProbe probe = [] {
        FakeProbe machine;
        machine.AddFiles({kNotepad, kPing, "C:\\windows\\system32\\recorder.exe"});
        return machine;
    }();
};

// The first word counts only as a launch name; otherwise the line is read
// whole, as a stored command is, and a program found is given by its full path.
TEST_F(PlanTest, TypedLinesAreReadWhole) {
    ExpectShell("notepad", kNotepad, "");
    ExpectShell("notepad d:\\readme.txt", kNotepad, "d:\\readme.txt");
    ExpectShell("notepad  two  blanks ", kNotepad, " two  blanks ");
    ExpectShell("nosuch d:\\readme.txt", "nosuch d:\\readme.txt", "");  // the shell reports it
    // A blank first: nothing is found, and the line goes as it is.
    ExpectShell(" notepad", " notepad", "");
}

TEST_F(PlanTest, DrivePathsAndShortLinesStayWhole) {
    ExpectShell("D:\\My Tools\\tool.exe /x", "D:\\My Tools\\tool.exe /x", "");
    names.Put("g", "http://search.example/?q=$param");
    ExpectShell("g a", "g a", "");
    ExpectShell("a b", "a b", "");
    // Read whole, it names no program on this machine.
    ExpectShell("D:/tool.exe /x", "D:/tool.exe /x", "");
}

TEST_F(PlanTest, LaunchNamesAndParam) {
    names.Put("g", "http://search.example/?q=$param&lang=$param");
    names.Put("np", "notepad.exe");
    names.Put("tool", "C:\\Program Files\\Tool\\tool.exe -v");
    ExpectShell("g kittens", "http://search.example/?q=kittens&lang=kittens", "");
    ExpectShell("G kittens", "http://search.example/?q=kittens&lang=kittens", "");
    ExpectShell("g", "http://search.example/?q=$param&lang=$param", "");
    ExpectShell("np x.txt", kNotepad, "x.txt");
    ExpectShell("NP x.txt", kNotepad, "x.txt");
    // A stored line whose program is nowhere to be found goes whole: the shell reports it.
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
    ExpectShell("note pad", kNotepad, "");
    names.Put("home", "example.com");
    ExpectShell("home", "http://example.com", "");
}

TEST_F(PlanTest, RegistryPathsNeedTheExactPrefix) {
    EXPECT_EQ(Plan("HKEY_LOCAL_MACHINE\\Software").kind, LaunchPlan::Kind::RegistryPath);
    EXPECT_EQ(Plan("HKEY_CURRENT_USER\\Software\\My Key").kind, LaunchPlan::Kind::RegistryPath);
    ExpectShell("hkey_local_machine\\software", "hkey_local_machine\\software", "");
    ExpectShell(" HKEY_LOCAL_MACHINE", " HKEY_LOCAL_MACHINE", "");
}

TEST_F(PlanTest, HostNamesBecomeHttpAddresses) {
    ExpectShell("example.com", "http://example.com", "");
    ExpectShell("www.Example.COM/Page", "http://www.Example.COM/Page", "");
    ExpectShell("example.com:81/x", "http://example.com:81/x", "");  // a port after the host
    ExpectShell("readme.txt", "readme.txt", "");
    ExpectShell("command.com", "http://command.com", "");
    ExpectShell("d:\\docs\\brief.de", "d:\\docs\\brief.de", "");
    ExpectShell("192.168.1.1", "192.168.1.1", "");
    ExpectShell("https://example.com", "https://example.com", "");
    ExpectShell("example.com/http", "example.com/http", "");
    // A named scheme other than http is not given a second one.
    ExpectShell("ftp://files.example.org", "ftp://files.example.org", "");
    // The parameters do not decide: only the target is tested.
    ExpectShell("ping example.org", kPing, "example.org");
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

// A program followed by its arguments, in an alias or typed, as the Run
// dialog reads it; variables expanded first.
class CommandTest : public PlanTest {
protected:
    void SetUp() override {
        probe.AddFiles({"C:\\Tools\\tool.exe", "C:\\Program Files\\Tool\\tool.exe", "D:\\My Tools\\tool.exe",
                        "D:\\Games\\old stuff\\run.exe", "C:\\My.exe"});
        probe.AddFolders({"D:\\Games\\old", "C:\\My Documents", "C:\\users\\John Smith\\Desktop"});
        probe.variables = {{"TEMP", "C:\\users\\me\\Temp"},     {"APPDATA", "C:\\users\\me\\AppData\\Roaming"},
                           {"USERPROFILE", "C:\\users\\John Smith"}, {"TOOLS", "C:\\Program Files\\Tool"},
                           {"SITE", "example.com"},               {"DOOM", "C:\\games\\doom"},
                           {"EMPTY", ""},                          {"SELF", "%TEMP%"}};
        names.Put("wi", "notepad.exe C:\\windows\\win.ini");
        names.Put("t", "C:\\Tools\\tool.exe $param");
        names.Put("tool", "C:\\Program Files\\Tool\\tool.exe -v");
        names.Put("q", "\"C:\\Program Files\\Tool\\tool.exe\" -q \"two words\"");
        names.Put("g", "http://search.example/?q=$param");
        names.Put("gs", "search.example.com/?q=$param");
        names.Put("p", "ping example.org");
        names.Put("docs", "C:\\My Documents");
        names.Put("var", "%TOOLS%\\tool.exe --in %APPDATA%");
    }
};

TEST_F(CommandTest, ProgramsAreToldFromTheirArguments) {
    struct Row {
        const char* line;
        const char* file;
        const char* parameters;
    } rows[] = {
        // Stored arguments first, then the typed ones.
        {"wi", kNotepad, "C:\\windows\\win.ini"},
        {"tool now", "C:\\Program Files\\Tool\\tool.exe", "-v now"},
        {"p", kPing, "example.org"},  // no longer taken for the host "ping example.org"
        // $param is filled first; the result is read as a command.
        {"t hello", "C:\\Tools\\tool.exe", "hello"},
        // A quoted program ends at its quote, typed or stored.
        {"q more", "C:\\Program Files\\Tool\\tool.exe", "-q \"two words\" more"},
        {"\"C:\\Program Files\\Tool\\tool.exe\" /x", "C:\\Program Files\\Tool\\tool.exe", "/x"},
        {"\"C:\\No End\\tool.exe /x", "C:\\No End\\tool.exe /x", ""},
        // Unquoted: whole when it names something, else split after the first program.
        {"D:\\My Tools\\tool.exe", "D:\\My Tools\\tool.exe", ""},
        {"D:\\My Tools\\tool.exe /x", "D:\\My Tools\\tool.exe", "/x"},
        {"docs", "C:\\My Documents", ""},  // though C:\My.exe is a program
        {"D:\\Games\\old stuff\\run.exe -x", "D:\\Games\\old stuff\\run.exe", "-x"},  // a folder is no program
        {"D:\\No Such\\tool.exe /x", "D:\\No Such\\tool.exe /x", ""},  // nothing found: the shell reports it
        // Addresses stay whole, with or without a scheme.
        {"g two words", "http://search.example/?q=two words", ""},
        {"gs two words", "http://search.example.com/?q=two words", ""},
        // Variables, in the target and in the parameters.
        {"%USERPROFILE%\\Desktop", "C:\\users\\John Smith\\Desktop", ""},
        {"notepad %TEMP%\\build.log", kNotepad, "C:\\users\\me\\Temp\\build.log"},
        {"var", "C:\\Program Files\\Tool\\tool.exe", "--in C:\\users\\me\\AppData\\Roaming"},
        {"notepad %NOSUCH% %TEMP%", kNotepad, "%NOSUCH% C:\\users\\me\\Temp"},
        // Typed paths with blanks need no quotes, nor backslashes.
        {"%TOOLS%\\tool.exe -x", "C:\\Program Files\\Tool\\tool.exe", "-x"},
        {"C:/Program Files/Tool/tool.exe -x", "C:/Program Files/Tool/tool.exe", "-x"},
        {"%NOSUCH%\\x.txt", "%NOSUCH%\\x.txt", ""},
        // Expanded before the host-name test.
        {"%SITE%", "http://example.com", ""},
        {"%DOOM%.com", "C:\\games\\doom.com", ""},
    };
    for (const Row& row : rows) ExpectShell(row.line, row.file, row.parameters);
    EXPECT_EQ(Plan("HKEY_CURRENT_USER\\%TEMP%").kind, LaunchPlan::Kind::RegistryPath);
}

TEST_F(CommandTest, VariablesExpandAsTheRunDialogExpandsThem) {
    const std::string temp = "C:\\users\\me\\Temp";
    std::pair<const char*, std::string> rows[] = {
        {"%TEMP%%TEMP%", temp + temp},
        {"a%TEMP", "a%TEMP"},
        {"%%", "%%"},
        {"%%TEMP%", "%" + temp},
        {"%NOSUCH%TEMP%", "%NOSUCH" + temp},  // an unknown name's closing '%' opens the next
        {"%EMPTY%x", "x"},
        {"%SELF%", "%TEMP%"},  // values are not expanded again
    };
    for (const auto& [text, expanded] : rows)
        EXPECT_EQ(ExpandVariables(text, probe, kSingleByte, std::string::npos), expanded) << text;
    // A '%' that is the trail byte of a double-byte character opens nothing.
    const SimulatedDoubleByteCodePage dbcs;
    EXPECT_EQ(ExpandVariables("\x95%TEMP%", probe, dbcs, std::string::npos), "\x95%TEMP%");
    EXPECT_EQ(ExpandVariables("\x95%TEMP%", probe, kSingleByte, std::string::npos), "\x95" + temp);
}

// A hostile alias or environment costs no more than the longest text any shell
// takes, and a command of many blanks no more than a name's worth of probes.
TEST_F(CommandTest, ReadingIsBounded) {
    probe.variables["BIG"] = std::string(20000, 'b');
    std::string many;
    for (int i = 0; i < 2000; ++i) many += "%BIG%";
    EXPECT_EQ(ExpandVariables(many, probe, kSingleByte, kLongestShellText), std::string(kLongestShellText + 1, 'b'));
    EXPECT_EQ(ExpandVariables("%TEMP%abc", probe, kSingleByte, 8), "%TEMP%abc");  // already past the limit

    // A cut text is refused whole, not split into a program and a cut tail.
    names.Put("big", "notepad %BIG%%BIG%");
    LaunchPlan plan = Plan("big");
    EXPECT_EQ(plan.file.size(), kLongestShellText + 1);
    EXPECT_EQ(plan.parameters, "");
    EXPECT_EQ(CheckLaunchPlan(plan, kWindowsShellLimits, kSingleByte), LaunchRefusal::FileTooLong);

    std::string blanks;
    for (int i = 0; i < 10000; ++i) blanks += "a ";
    names.Put("blanks", blanks);
    probe.probes = 0;
    ProgramSearch(probe, kSingleByte).FindProgram("a");
    const int perName = probe.probes;
    probe.probes = 0;
    EXPECT_EQ(Plan("blanks").file, blanks);
    EXPECT_LE(probe.probes, 131 * perName);  // the whole line once, and a name's worth of first parts
    EXPECT_GE(probe.probes, 100 * perName);
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
    for (const char* other : {"txt", "exe", "co.uk.x"})
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
    EXPECT_EQ(names.KeyOf("a-z_[]{}@`"), "A-Z_[]{}@`");
    names.Put("", "empty");
    EXPECT_EQ(names.Find("").value(), "empty");
}
}  // namespace

namespace {
// Where a bare name is looked for, in order, and what is never looked at.
TEST(ProgramSearch, FindsProgramsWhereTheShellDoesInItsOrder) {
    const struct {
        const char* name;
        std::initializer_list<const char*> files;
        const char* found;  // null: nothing
    } rows[] = {
        {"notepad", {kNotepad}, kNotepad},
        // Brisq's own folder comes last: a program beside it never shadows a system one.
        {"notepad", {kNotepad, "D:\\Portable\\Brisq\\notepad.exe"}, kNotepad},
        {"mytool", {"D:\\Portable\\Brisq\\mytool.exe"}, "D:\\Portable\\Brisq\\mytool.exe"},
        // The user's folder comes first, as the working folder.
        {"notepad", {kNotepad, "C:\\users\\me\\notepad.exe"}, "C:\\users\\me\\notepad.exe"},
        {"notepad", {"C:\\windows\\System\\notepad.exe", "C:\\windows\\notepad.exe"}, "C:\\windows\\System\\notepad.exe"},
        // PATH in its order, quotes and empty parts aside; each folder with every PATHEXT kind.
        {"code", {"C:\\bin\\code.cmd", "D:\\tools\\code.exe"}, "C:\\bin\\code.cmd"},
        {"code", {"C:\\bin\\code.bat", "C:\\bin\\code.cmd"}, "C:\\bin\\code.bat"},
        {"tool", {"C:\\quoted dir\\tool.exe"}, "C:\\quoted dir\\tool.exe"},
        {"tool.exe", {"D:\\tools\\tool.exe"}, "D:\\tools\\tool.exe"},
        {"TOOL.EXE", {"D:\\tools\\tool.exe"}, "D:\\tools\\TOOL.EXE"},
        {"my.tool", {"D:\\tools\\my.tool.exe"}, "D:\\tools\\my.tool.exe"},
        {"readme.txt", {"C:\\bin\\readme.txt"}, nullptr},  // a document is no program
        {"docs", {}, nullptr},                             // a folder is none either (see AddFolders)
        // App Paths: the user's before the machine's, quotes and variables taken off.
        {"winword", {"C:\\Office\\winword.exe", "C:\\Old\\winword.exe"}, "C:\\Office\\winword.exe"},
        {"winword", {"C:\\Old\\winword.exe"}, "C:\\Old\\winword.exe"},
        {"excel", {"C:\\Program Files\\Office\\excel.exe"}, "C:\\Program Files\\Office\\excel.exe"},
        {"winword", {"C:\\Office\\winword.exe", "C:\\bin\\winword.exe"}, "C:\\bin\\winword.exe"},  // after PATH
        // A name with a folder in it is looked for there alone.
        {"sub\\tool", {"C:\\users\\me\\sub\\tool.exe", "C:\\bin\\sub\\tool.exe"}, "C:\\users\\me\\sub\\tool.exe"},
        {"sub\\tool", {"C:\\bin\\sub\\tool.exe"}, nullptr},
        {"\\apps\\tool", {"C:\\apps\\tool.exe"}, "C:\\apps\\tool.exe"},
        {"E:\\apps\\tool", {"E:\\apps\\tool.exe"}, "E:\\apps\\tool.exe"},
        {"\\\\server\\share\\tool", {"\\\\server\\share\\tool.exe"}, "\\\\server\\share\\tool.exe"},
        // No file is named so.
        {"no|pipe", {"C:\\bin\\no|pipe.exe"}, nullptr},
        {"mailto:x", {"C:\\users\\me\\mailto:x.exe"}, nullptr},
        {"", {}, nullptr},
    };
    for (const auto& row : rows) {
        FakeProbe probe;
        probe.AddFiles(row.files);
        probe.AddFolders({"C:\\users\\me\\docs"});
        probe.variables = {{"USERPROFILE", "C:\\users\\me"},
                           {"PATH", "C:\\bin;;\"C:\\quoted dir\";D:\\tools\\"},
                           {"PATHEXT", ".COM;.EXE;.BAT;.CMD"},
                           {"ProgramFiles", "C:\\Program Files"}};
        probe.appPaths = {{{AppPathsHive::CurrentUser, "winword.exe"}, "\"C:\\Office\\winword.exe\""},
                          {{AppPathsHive::LocalMachine, "winword.exe"}, "C:\\Old\\winword.exe"},
                          {{AppPathsHive::LocalMachine, "excel.exe"}, "%ProgramFiles%\\Office\\excel.exe"}};
        std::optional<std::string> found = ProgramSearch(probe, kSingleByte).FindProgram(row.name);
        EXPECT_EQ(found.value_or("<none>"), row.found ? row.found : "<none>") << row.name;
    }
}

// The scheme test, the file on disk and the host-name guess, in that order.
TEST_F(PlanTest, SchemesThenFilesThenHostNames) {
    probe.variables["USERPROFILE"] = "C:\\users\\me";
    probe.AddFiles({"C:\\users\\me\\notes.md", "C:\\data\\clip.mov"});
    probe.AddFolders({"C:\\users\\me\\site.de"});
    const struct {
        const char* line;
        const char* file;
    } rows[] = {
        {"notes.md", "C:\\users\\me\\notes.md"},
        {"C:\\data\\clip.mov", "C:\\data\\clip.mov"},
        {"site.de", "C:\\users\\me\\site.de"},
        {"other.md", "http://other.md"},
        {"example.com:8080", "http://example.com:8080"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"mailto:someone@example.com?subject=two words", "mailto:someone@example.com?subject=two words"},
        {"ms-settings:display", "ms-settings:display"},
        {"svn+ssh://host.example.org/repo", "svn+ssh://host.example.org/repo"},
        {"localhost:8080", "localhost:8080"},
    };
    for (const auto& row : rows) ExpectShell(row.line, row.file, "");
    EXPECT_EQ(Plan("notepad").directory, "C:\\users\\me");
}

TEST(WebAddress, TheRootZoneAndTheOldTable) {
    std::set<std::string> both;
    for (const char* name = kRootZoneDomains; *name; name += std::strlen(name) + 1) both.insert(name);
    EXPECT_EQ(both.size(), kRootZoneDomainCount);
    EXPECT_GT(kRootZoneDomainCount, 1400u);  // the list read whole, not some of it
    both.insert(kTldTable, kTldTable + kTldCount);
    EXPECT_EQ(TopLevelDomainCount(), both.size());
    for (const char* tld : {"app", "dev", "xyz", "zip", "mov", "md", "py", "sh", "xn--p1ai", "xn--fiqs8s",
                            "xn--vermgensberater-ctb", "nato", "yu", "zr", "web", "arts", "com"})
        EXPECT_TRUE(IsTopLevelDomain(tld)) << tld;
    for (const char* other : {"txt", "exe", "local", "xn--", "xn--nonsense", "APP", ""})
        EXPECT_FALSE(IsTopLevelDomain(other)) << other;
    EXPECT_TRUE(IsWebAddress("Example.APP/x", kSingleByte));
}

// As the system builds a session's environment from the registry.
TEST(Environment, SessionVariablesFromTheRegistry) {
    FakeProbe current;
    current.variables = {{"SystemRoot", "C:\\windows"}, {"USERPROFILE", "C:\\users\\me"}, {"Path", "stale"}};
    std::vector<StoredVariable> system = {{"Path", "%SystemRoot%\\system32;%ToolsRoot%", true},
                                          {"ToolsRoot", "D:\\tools", false},
                                          {"TEMP", "%SystemRoot%\\TEMP", true},
                                          {"PATHEXT", ".COM;.EXE", false}};
    std::vector<StoredVariable> user = {{"PATH", "%USERPROFILE%\\bin", true},
                                        {"TEMP", "%USERPROFILE%\\Temp", true},
                                        {"Greeting", "%NOSUCH%", true},
                                        {"", "nameless", false}};
    auto variables = SessionVariables(system, user, current, kSingleByte);
    std::vector<std::pair<std::string, std::string>> expected = {
        {"ToolsRoot", "D:\\tools"},
        {"PATHEXT", ".COM;.EXE"},
        // Expanded after the plain values of their key, so ToolsRoot is known.
        {"Path", "C:\\windows\\system32;D:\\tools;C:\\users\\me\\bin"},
        {"TEMP", "C:\\users\\me\\Temp"},
        {"Greeting", "%NOSUCH%"},
    };
    EXPECT_EQ(variables, expected);
    // A user's PATH without a system one stands alone.
    EXPECT_EQ(SessionVariables({}, {{"Path", "C:\\bin", false}}, current, kSingleByte),
              (std::vector<std::pair<std::string, std::string>>{{"Path", "C:\\bin"}}));
}
}  // namespace
