// The web-address test per typed line: today's, with every top-level domain of
// the root zone in a hash set, against the one it replaced (the 265 names of
// 2005 in an ordered set), on the same lines in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "command/web_address.h"
#include "text/code_page.h"

namespace {
// The test as it was before the root zone's domains came in.
bool EarlierIsWebAddress(const std::string& text, const CodePage& page) {
    static const std::set<std::string> set(kTldTable, kTldTable + kTldCount);
    std::string lower = LowerCase(text, page);
    if (lower.find("://") != std::string::npos) return true;
    std::size_t end = FindCharacter(lower, '/', 0, page);
    if (end == std::string::npos) end = FindCharacter(lower, '\\', 0, page);
    std::string host = lower.substr(0, end);
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < host.size(); i += CharLength(page, host.data(), i, host.size()))
        if (host[i] == '.') dot = i;
    if (dot == std::string::npos || dot + 1 == host.size()) return false;
    return set.count(host.substr(dot + 1)) != 0;
}

template <class Test>
double NanosecondsPerLine(const std::vector<std::string>& lines, Test test, int& hits) {
    std::vector<double> rounds;
    for (int round = 0; round < 31; ++round) {
        hits = 0;
        auto start = std::chrono::steady_clock::now();
        for (const std::string& line : lines) hits += test(line) ? 1 : 0;
        rounds.push_back(std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
                         double(lines.size()));
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}
}  // namespace

int main() {
    const char* samples[] = {"notepad",          "www.example.com",   "Example.ORG/Page", "news.example.app",
                             "readme.txt",       "setup.py",          "C:\\docs\\a.de",   "192.168.1.1",
                             "https://x.dev/",   "example.com:8080",  "mail.example.co.uk/inbox",
                             "winword report.docx", "shop.example.xyz", "cmd /k dir",     "archive.zip"};
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i) lines.push_back(samples[i % (sizeof(samples) / sizeof(samples[0]))]);
    const SingleByteCodePage page;
    TopLevelDomainCount();  // the set is built once, at the first test, not here per line
    int nowHits = 0, earlierHits = 0;
    double now = NanosecondsPerLine(lines, [&](const std::string& l) { return IsWebAddress(l, page); }, nowHits);
    double earlier =
        NanosecondsPerLine(lines, [&](const std::string& l) { return EarlierIsWebAddress(l, page); }, earlierHits);
    std::printf("web-address test, %zu top-level domains: %.0f ns per line (%d of %zu lines are addresses)\n",
                TopLevelDomainCount(), now, nowHits, lines.size());
    std::printf("earlier test, %u top-level domains: %.0f ns per line (%d of %zu)\n", kTldCount, earlier, earlierHits,
                lines.size());
    std::printf("ratio now / earlier: %.2f\n", now / earlier);
    return 0;
}
