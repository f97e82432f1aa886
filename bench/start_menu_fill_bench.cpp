// The completion fill over a Start menu of 5,000 shortcuts against a bare
// loop that only loads the same shortcuts, in the same run.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "command/launch_name_map.h"
#include "completion/completion_sources.h"
#include "framework/owners.h"
#include "res/resource.h"
#include "settings/app_settings.h"

namespace {
const int kFolders = 50, kPerFolder = 100;

bool Save(IShellLinkA* link, const std::string& file) {
    ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, persist.Out()))) return false;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    return SUCCEEDED(persist->Save(wide, TRUE));
}

double Milliseconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

INT_PTR CALLBACK PlainDialog(HWND, UINT id, WPARAM, LPARAM) { return id == WM_INITDIALOG; }
}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char menu[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, menu, CSIDL_STARTMENU, TRUE);
    std::string root = std::string(menu) + "\\Brisq Bench";
    CreateDirectoryA(root.c_str(), nullptr);

    std::vector<std::string> folders, files;
    ComPtr<IShellLinkA> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out());
    for (int f = 0; f < kFolders; ++f) {
        folders.push_back(root + "\\Group " + std::to_string(f));
        CreateDirectoryA(folders.back().c_str(), nullptr);
        for (int i = 0; i < kPerFolder; ++i) {
            std::string name = "Tool " + std::to_string(f * kPerFolder + i);
            link->SetPath(("C:\\Program Files\\Bench\\" + name + ".exe").c_str());
            files.push_back(folders.back() + "\\" + name + ".lnk");
            Save(link.get(), files.back());
        }
    }
    link.Reset();

    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, PlainDialog, 0);
    HWND box = GetDlgItem(dialog, IDC_COMMAND_BOX);
    AppSettings settings;
    settings.typed_urls = settings.run_history = 0;

    std::vector<double> fills, loads;
    std::size_t entries = 0;
    for (int round = 0; round < 3; ++round) {
        {
            CompletionCombo combo;
            combo.Attach(box);
            SendMessageA(box, CB_RESETCONTENT, 0, 0);
            LaunchNameMap names;
            auto start = std::chrono::steady_clock::now();
            CompletionSources(combo, names, settings, SingleByteCodePage()).FillCompletion();
            fills.push_back(Milliseconds(start));
            entries = combo.Edit().Entries().Count();
        }
        auto start = std::chrono::steady_clock::now();
        std::size_t resolved = 0;
        for (const std::string& file : files) {
            ComPtr<IShellLinkA> shortcut;
            ComPtr<IPersistFile> persist;
            if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        shortcut.Out())) ||
                FAILED(shortcut->QueryInterface(IID_IPersistFile, persist.Out())))
                continue;
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
            char target[1024] = "";
            if (SUCCEEDED(persist->Load(wide, STGM_READ)) &&
                SUCCEEDED(shortcut->GetPath(target, sizeof(target), nullptr, SLGP_UNCPRIORITY)))
                ++resolved;
        }
        loads.push_back(Milliseconds(start));
        if (resolved != files.size()) std::printf("bare loop resolved only %zu\n", resolved);
    }
    DestroyWindow(dialog);

    for (const std::string& file : files) DeleteFileA(file.c_str());
    for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(root.c_str());

    std::sort(fills.begin(), fills.end());
    std::sort(loads.begin(), loads.end());
    double fill = fills[1], load = loads[1];
    std::printf("FillCompletion over %zu shortcuts: median %.0f ms (%zu list entries)\n", files.size(), fill, entries);
    std::printf("bare IShellLinkA load loop over the same files: median %.0f ms\n", load);
    std::printf("ratio fill / bare loop: %.2f\n", fill / load);
    CoUninitialize();
    return 0;
}
