// The Settings dialog with many aliases. First, in running Brisq.exe copies:
// from command 1021 (the wrench, the tray's "Settings") to the dialog shown
// with its list painted, with 500 and with 5,000 aliases, and with 500 whose
// icons need no shell; baseline: the same Brisq with none, in the same run.
// Then, in this process: what the icons of the rows shown cost, and the GDI
// objects before and after 200 opens and closes of the dialog with 500 aliases.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "command/program_search.h"
#include "command/system_probe.h"
#include "controls/skin_palette.h"
#include "res/resource.h"
#include "settings/app_settings.h"
#include "settings/icon_cache.h"
#include "settings/icon_rules.h"
#include "settings/settings_dialog.h"
#include "text/system_code_page.h"
#include "tests/win/canvas.h"
#include "tests/win/modal_script.h"

namespace {
using namespace bench;
const int kAliases = 500;
const int kManyAliases = 5000;
const int kOpensTimed = 5;
const int kOpensCounted = 200;

// Programs, web addresses, documents and command lines with arguments, as a user's list holds them.
std::vector<std::pair<std::string, std::string>> ManyAliases(int count = kAliases) {
    const char* programs[] = {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows\\explorer.exe",
                              "C:\\windows\\system32\\calc.exe", "C:\\windows\\system32\\cmd.exe"};
    std::vector<std::pair<std::string, std::string>> aliases;
    for (int i = 0; i < count; ++i) {
        std::string name = "alias" + std::to_string(i), command;
        switch (i % 5) {
        case 0:
        case 1: command = programs[i % 5 == 0 ? (i / 5) % 5 : (i / 5 + 2) % 5]; break;
        case 2: command = "site" + std::to_string(i) + ".com"; break;
        case 3: command = "C:\\windows\\win.ini"; break;
        default: command = "notepad C:\\notes\\day" + std::to_string(i) + ".txt"; break;
        }
        aliases.emplace_back(name, command);
    }
    return aliases;
}

void WriteText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
}

// A folder of its own with Brisq.exe and its two files; the completion sources are
// off so both runs start alike.
std::string PrepareFolder(const char* name, const std::vector<std::pair<std::string, std::string>>& aliases) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(Beside("Brisq.exe").c_str(), (folder + "Brisq.exe").c_str(), FALSE);
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n";
    for (const auto& [alias, command] : aliases)
        xml += "    <alias alias=\"" + alias + "\" cmd=\"" + command + "\" />\n";
    WriteText(folder + "aliases.xml", xml + "</aliases>\n");
    WriteText(folder + "settings.xml",
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<settings><general><start_with_windows val=\"1\" />"
              "<icon_in_tray val=\"0\" /><hot_key key=\"82\" mod=\"2\" /></general><show><run_history val=\"0\" />"
              "<typed_urls val=\"0\" /><start_menu val=\"0\" /></show></settings>\n");
    return folder;
}

void RemoveFolder(const std::string& folder) {
    for (const char* file : {"Brisq.exe", "aliases.xml", "settings.xml"}) DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
}

HWND SettingsOf(DWORD process) {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, "#32770", "Settings"))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == process) return found;
    }
    return nullptr;
}

// Milliseconds from command 1021 to the dialog shown, kOpensTimed times; empty on failure.
std::vector<double> TimeOpens(const std::string& folder) {
    std::string exe = folder + "Brisq.exe", commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<double> samples;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return samples;
    HWND launcher = nullptr;
    Until(20000, [&] { return (launcher = FindLauncher(process.dwProcessId)) && IsWindowVisible(launcher); });
    // Its start-up done (the aliases load after the launcher shows), so that only the dialog is timed.
    WaitForInputIdle(process.hProcess, 60000);
    for (int i = 0; launcher && i < kOpensTimed; ++i) {
        HWND dialog = nullptr;
        double start = Now();
        PostMessageA(launcher, WM_COMMAND, IDC_SETTINGS_BUTTON, 0);
        if (!Until(20000, [&] { return (dialog = SettingsOf(process.dwProcessId)) && ShownAndPainted(dialog); })) {
            samples.clear();
            break;
        }
        samples.push_back(Now() - start);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        Until(20000, [&] { return !IsWindow(dialog) && IsWindowVisible(launcher); });
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return samples;
}

// Opens the dialog in this process, lights an icon button, and cancels it.
bool OpenAndCancel(AppSettings& settings) {
    HWND dialog = nullptr;
    ModalScript script({
        [&] { return (dialog = ActiveDialog("Settings")) != nullptr; },
        [&] {
            SendMessageA(GetDlgItem(dialog, IDC_ADD_ALIAS), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
    });
    SettingsDialog(settings).Run(nullptr);
    return script.Finished();
}
}  // namespace

int main() {
    KeepRunValue keep;
    std::string many = PrepareFolder("brisq-settings-bench-500", ManyAliases(kAliases));
    std::string most = PrepareFolder("brisq-settings-bench-5000", ManyAliases(kManyAliases));
    std::string none = PrepareFolder("brisq-settings-bench-0", {});
    // The list's own share: as many rows, each a document whose icon the record
    // of its type gives without asking the shell.
    std::string documents = PrepareFolder("brisq-settings-bench-documents", {kAliases, {"doc", "C:\\windows\\win.ini"}});
    std::vector<double> withAliases, withMost, baseline, withDocuments;
    for (int round = 0; round < 5; ++round) {  // in turn, so that a busy moment falls on all of them
        for (auto [folder, samples] : {std::pair{&none, &baseline}, {&many, &withAliases}, {&most, &withMost},
                                       {&documents, &withDocuments}}) {
            std::vector<double> got = TimeOpens(*folder);
            if (got.empty()) {
                std::printf("settings dialog bench failed: no timings from %s\n", folder->c_str());
                return 1;
            }
            samples->insert(samples->end(), got.begin(), got.end());
        }
    }
    RemoveFolder(many);
    RemoveFolder(most);
    RemoveFolder(none);
    RemoveFolder(documents);
    double b = Median(baseline);
    std::printf("command 1021 to Settings shown and painted (median over %zu opens each):\n", baseline.size());
    std::printf("  no aliases (baseline): %.1f ms\n", b);
    std::printf("  %d aliases: %.1f ms, ratio %.2f (goal <= 1.3)\n", kAliases, Median(withAliases),
                Median(withAliases) / b);
    std::printf("  %d aliases: %.1f ms, ratio %.2f (goal <= 2)\n", kManyAliases, Median(withMost), Median(withMost) / b);
    std::printf("  %d documents, no shell asked (the list's own share): %.1f ms, ratio %.2f\n", kAliases,
                Median(withDocuments), Median(withDocuments) / b);

    InitSkinPalette();
    // The same in this process, without the launcher around it: Run to the dialog shown and painted.
    int rowsShown = 0;
    auto openInProcess = [&rowsShown](int count) {
        AppSettings settings;
        for (const auto& [name, command] : ManyAliases(count)) settings.aliases.Append(name, command);
        double start = Now(), shown = -1;
        HWND dialog = nullptr;
        ModalScript script({
            [&] { return (dialog = ActiveDialog("Settings")) != nullptr && bench::ShownAndPainted(dialog); },
            [&] {
                shown = Now() - start;
                rowsShown = int(SendDlgItemMessageA(dialog, IDC_ALIAS_LIST, LVM_GETCOUNTPERPAGE, 0, 0));
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            },
        });
        SettingsDialog(settings).Run(nullptr);
        return shown;
    };
    std::vector<double> inNone, inMost;
    for (int i = 0; i < 5; ++i) inNone.push_back(openInProcess(0)), inMost.push_back(openInProcess(kManyAliases));
    std::printf("in this process, Run to shown and painted: none %.1f ms, %d aliases %.1f ms, ratio %.2f\n",
                Median(inNone), kManyAliases, Median(inMost), Median(inMost) / Median(inNone));
    // Where the time beyond the empty dialog goes: the icon of each row the list
    // shows, asked as a new opening asks, once the shell has seen every file before.
    std::printf("icons of the %d rows shown, each asked again (ms):", rowsShown);
    auto rows = ManyAliases(rowsShown);
    std::vector<std::vector<double>> samples(rows.size());
    for (int i = 0; i < 9; ++i) {
        SystemProbe probe;
        ProgramSearch search(probe, SystemCodePage());
        AliasIcons opening(search, SystemCodePage(), IconCache::Instance().UrlIconIndex(),
                           [](const std::string& path) { return IconCache::Instance().GetIconIndex(path); });
        for (std::size_t row = 0; row < rows.size(); ++row) {
            double start = Now();
            opening.IconOf(rows[row].second);
            samples[row].push_back(Now() - start);
        }
    }
    double asks = 0;
    for (const auto& row : samples) {
        asks += Median(row);
        std::printf(" %.1f", Median(row));
    }
    std::printf("; sum %.1f ms, %.2f of the empty dialog's time\n", asks, asks / b);
    AppSettings settings;
    for (const auto& [name, command] : ManyAliases()) settings.aliases.Append(name, command);
    if (!OpenAndCancel(settings)) return 2;  // the shell's image list and the icon cache come once
    DWORD before = LiveGdiObjects();
    for (int i = 0; i < kOpensCounted; ++i)
        if (!OpenAndCancel(settings)) return 3;
    DWORD after = LiveGdiObjects();
    std::printf("GDI objects of this process around %d opens of the Settings dialog (%d aliases): before %lu, after %lu\n",
                kOpensCounted, kAliases, before, after);
    return after == before ? 0 : 4;
}
