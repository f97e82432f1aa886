// Parsing, reading and writing aliases.xml in the TinyXML build this program
// was compiled with; built once with the library's STL option and once
// without. alias_load_bench runs both and prints them side by side. Prints
// "<figure> <milliseconds>" lines, medians of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "alias_file.h"
#include "settings/settings_xml.h"

namespace {
// Every alias of the bench file is ASCII, which no code page converts.
class NoConversions final : public WideConversions {
public:
    bool ToWide(unsigned, std::string_view, std::wstring&) const override { return false; }
    bool FromWide(unsigned, std::wstring_view, std::string&, bool*) const override { return false; }
};

template <class Work>
double MedianMs(int runs, Work work) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}
}  // namespace

int main() {
    NoConversions none;
    CodePageConverter converter(1252, none);
    for (int count : {20000, 200000}) {
        int runs = count > 50000 ? 3 : 7;
        std::string file = AliasFileText(count);
        std::printf("parse%d %.1f\n", count, MedianMs(runs, [&] {
                        TiXmlDocument document;
                        ParseSettingsDocument(file, document);
                    }));
        std::vector<AliasEntry> aliases;
        std::printf("read%d %.1f\n", count, MedianMs(runs, [&] { ReadAliasesXml(file, converter, aliases); }));
        std::string written;
        std::printf("write%d %.1f\n", count, MedianMs(runs, [&] { written = WriteAliasesXml(aliases, converter); }));
        std::printf("bytes%d %zu\n", count, written.size());
    }
    return 0;
}
