// Where start-up spends its time with a large aliases.xml, phase by phase:
// parsing, reading the aliases (with the code-page conversion), filling the
// command box as the launcher does (the drop-down, the completion list and the
// launch names), and the exit save. Beside each, the same count of bare
// CB_ADDSTRINGs into a combo box nobody took over, as a baseline. Last, the
// XML figures of both TinyXML builds (with and without its STL option) side by
// side, the build Brisq uses against the other.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include <tinyxml.h>

#include "alias_file.h"
#include "bench_support.h"
#include "command/launch_name_map.h"
#include "completion/completion_sources.h"
#include "res/resource.h"
#include "settings/app_settings.h"
#include "settings/settings_files.h"
#include "settings/settings_xml.h"
#include "text/system_conversion.h"

namespace {
double Milliseconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

INT_PTR CALLBACK PlainDialog(HWND, UINT id, WPARAM, LPARAM) { return id == WM_INITDIALOG; }

void Phases(int count) {
    std::string file = AliasFileText(count);
    auto start = std::chrono::steady_clock::now();
    {
        TiXmlDocument document;
        ParseSettingsDocument(file, document);
        std::printf("  parse only:                   %8.1f ms\n", Milliseconds(start));
        start = std::chrono::steady_clock::now();
    }
    std::printf("  freeing the document:         %8.1f ms\n", Milliseconds(start));

    AppSettings settings;
    settings.typed_urls = settings.run_history = settings.start_menu = 0;
    start = std::chrono::steady_clock::now();
    ReadAliasesXml(file, SystemAnsiUtf8Converter(), settings.aliases);
    std::printf("  read aliases (parse, convert): %8.1f ms, %zu aliases\n", Milliseconds(start),
                settings.aliases.Count());

    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, PlainDialog, 0);
    HWND box = GetDlgItem(dialog, IDC_COMMAND_BOX);
    start = std::chrono::steady_clock::now();
    for (const AliasEntry& alias : settings.aliases) SendMessageA(box, CB_ADDSTRING, 0, LPARAM(alias.name.c_str()));
    std::printf("  bare CB_ADDSTRINGs:            %8.1f ms\n", Milliseconds(start));
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    {
        CompletionCombo combo;
        combo.Attach(box);
        LaunchNameMap names;
        start = std::chrono::steady_clock::now();
        CompletionSources(combo, names, settings, SingleByteCodePage()).FillCompletion();
        std::printf("  fill (drop-down, list, names): %8.1f ms, %zu entries\n", Milliseconds(start),
                    combo.Edit().Entries().Count());
    }
    DestroyWindow(dialog);

    start = std::chrono::steady_clock::now();
    std::string saved = WriteAliasesXml(settings.aliases, SystemAnsiUtf8Converter());
    std::printf("  write aliases (exit save):     %8.1f ms, %.1f MB\n", Milliseconds(start), saved.size() / 1e6);
}
// "<figure> <value>" lines of one xml_mode_figures build.
std::map<std::string, double> ModeFigures(const char* exe) {
    bench::Started program(bench::Beside(exe), "");
    std::map<std::string, double> figures;
    if (!program.Running()) return figures;
    std::string output = program.Output();
    std::size_t at = 0, end;
    while ((end = output.find('\n', at)) != std::string::npos) {
        std::string line = output.substr(at, end - at);
        at = end + 1;
        std::size_t space = line.find(' ');
        if (space != std::string::npos) figures[line.substr(0, space)] = std::atof(line.c_str() + space + 1);
    }
    return figures;
}
}  // namespace

int main() {
    for (int count : {20000, 200000}) {
        std::printf("%d aliases:\n", count);
        Phases(count);
    }
    std::map<std::string, double> stl = ModeFigures("xml_mode_figures_stl.exe");
    std::map<std::string, double> plain = ModeFigures("xml_mode_figures_plain.exe");
    std::printf("TinyXML without its STL option (Brisq's build) against with it, medians in ms:\n");
    for (const char* figure : {"parse20000", "read20000", "write20000", "parse200000", "read200000", "write200000"})
        std::printf("  %-12s without %8.1f, with %8.1f, ratio %.2f\n", figure, plain[figure], stl[figure],
                    stl[figure] > 0 ? plain[figure] / stl[figure] : 0);
    std::printf("  files written: %s\n", plain["bytes200000"] == stl["bytes200000"] ? "the same size" : "DIFFERENT SIZES");
    return 0;
}
