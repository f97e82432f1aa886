// The Settings dialog with many aliases. First, in a running Brisq.exe: from
// command 1021 (the wrench, the tray's "Settings") to the dialog shown with
// its list painted, with 500 aliases; baseline: the same Brisq with none, in
// the same run. Then, in this process: the GDI objects before and after 200
// opens and closes of the dialog with those 500 aliases.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "controls/skin_palette.h"
#include "res/resource.h"
#include "settings/app_settings.h"
#include "settings/settings_dialog.h"
#include "tests/win/canvas.h"
#include "tests/win/modal_script.h"

namespace {
using namespace bench;
const int kAliases = 500;
const int kOpensTimed = 15;
const int kOpensCounted = 200;

// Programs, web addresses, documents and command lines with arguments, as a user's list holds them.
std::vector<std::pair<std::string, std::string>> ManyAliases() {
    const char* programs[] = {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows\\explorer.exe",
                              "C:\\windows\\system32\\calc.exe", "C:\\windows\\system32\\cmd.exe"};
    std::vector<std::pair<std::string, std::string>> aliases;
    for (int i = 0; i < kAliases; ++i) {
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
std::string PrepareFolder(const char* name, int aliases) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(Beside("Brisq.exe").c_str(), (folder + "Brisq.exe").c_str(), FALSE);
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n";
    auto all = ManyAliases();
    for (int i = 0; i < aliases; ++i)
        xml += "    <alias alias=\"" + all[i].first + "\" cmd=\"" + all[i].second + "\" />\n";
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

// Shown, and nothing of it or its list left to paint.
bool ShownAndPainted(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_ALIAS_LIST);
    return IsWindowVisible(dialog) && list && !GetUpdateRect(dialog, nullptr, FALSE) &&
           !GetUpdateRect(list, nullptr, FALSE);
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
    std::string many = PrepareFolder("brisq-settings-bench-500", kAliases);
    std::string none = PrepareFolder("brisq-settings-bench-0", 0);
    std::vector<double> withAliases = TimeOpens(many), baseline = TimeOpens(none);
    RemoveFolder(many);
    RemoveFolder(none);
    if (withAliases.empty() || baseline.empty()) {
        std::printf("settings dialog bench failed: no timings (%zu, %zu)\n", withAliases.size(), baseline.size());
        return 1;
    }
    double m = Median(withAliases), b = Median(baseline);
    std::printf("command 1021 to Settings shown and painted, %d aliases: median %.1f ms over %zu opens\n", kAliases, m,
                withAliases.size());
    std::printf("baseline, no aliases: median %.1f ms over %zu opens; ratio %.2f\n", b, baseline.size(), m / b);

    InitSkinPalette();
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
