// Start-up with a hostile Start menu against a plain one, in the same run:
// a folder whose subfolders link back to it, across to each other and to the
// menu's root (Unix symbolic links, which Wine shows as folders), and a
// truncated shortcut among good ones. The hostile folder is moved into the
// menu for one start and out again for the next. Prints medians and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/start_menu_fixtures.h"

namespace {
const int kGoodShortcuts = 20;

// The hostile folder, built at path outside the menu; false when it could not be.
bool BuildHostileFolder(const std::string& path) {
    std::string a = path + "\\a", b = path + "\\b";
    if (!CreateDirectoryA(path.c_str(), nullptr) || !CreateDirectoryA(a.c_str(), nullptr) ||
        !CreateDirectoryA(b.c_str(), nullptr))
        return false;
    for (int i = 0; i < kGoodShortcuts; ++i)
        if (!fixtures::SaveShortcut((i % 2 ? a : b) + "\\Bench Tool " + std::to_string(i) + ".lnk",
                                    "C:\\Program Files\\Bench\\tool" + std::to_string(i) + ".exe"))
            return false;
    HANDLE whole = CreateFileA((a + "\\Bench Tool 1.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    char bytes[120];
    DWORD got = 0, written = 0;
    ReadFile(whole, bytes, sizeof(bytes), &got, nullptr);
    CloseHandle(whole);
    HANDLE cut = CreateFileA((b + "\\Bench Cut.lnk").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    WriteFile(cut, bytes, got, &written, nullptr);
    CloseHandle(cut);
    // The root link leads somewhere only once the folder sits in the menu.
    return fixtures::LinkFolder(a, "up", "..") && fixtures::LinkFolder(b, "again", "../a") &&
           fixtures::LinkFolder(b, "top", "../..");
}

// Milliseconds from process creation to the launcher shown; negative when it never showed.
double StartToLauncher(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string command = "\"" + exe + "\"";
    double start = bench::Now();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    bool shown = bench::Until(60000, [&] {
        HWND launcher = bench::FindLauncher(process.dwProcessId);
        return launcher && IsWindowVisible(launcher);
    });
    double elapsed = shown ? bench::Now() - start : -1;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bench::KeepRunValue keepRunValue;
    char temp[MAX_PATH], menu[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SHGetSpecialFolderPathA(nullptr, menu, CSIDL_STARTMENU, TRUE);
    std::string folder = std::string(temp) + "brisq-start-menu-bench", exe = folder + "\\Brisq.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA(bench::Beside("Brisq.exe").c_str(), exe.c_str(), FALSE)) {
        std::printf("cannot copy Brisq.exe\n");
        return 1;
    }
    std::string inMenu = std::string(menu) + "\\Brisq Hostile", parked = folder + "\\Brisq Hostile";
    int status = 1;
    if (!BuildHostileFolder(parked)) {
        std::printf("cannot build the hostile Start menu (it needs the host's /bin/ln)\n");
    } else {
        StartToLauncher(exe, folder);  // warm the file cache
        std::vector<double> plain, hostile;
        bool moved = true;
        for (int i = 0; i < runs && moved; ++i) {
            plain.push_back(StartToLauncher(exe, folder));
            moved = MoveFileA(parked.c_str(), inMenu.c_str());
            hostile.push_back(StartToLauncher(exe, folder));
            moved = MoveFileA(inMenu.c_str(), parked.c_str()) && moved;
        }
        auto failed = [](const std::vector<double>& times) {
            return std::find_if(times.begin(), times.end(), [](double t) { return t < 0; }) != times.end();
        };
        if (!moved) {
            std::printf("cannot move the hostile folder into the Start menu\n");
        } else if (failed(plain) || failed(hostile)) {
            std::printf("a start did not show the launcher within 60 s\n");
        } else {
            double p = bench::Median(plain), h = bench::Median(hostile);
            std::printf("runs: %d each, alternating\n", runs);
            std::printf("plain Start menu, Brisq.exe to launcher shown: median %.1f ms\n", p);
            std::printf("hostile Start menu (3 folder links, one to the root; a truncated shortcut): median %.1f ms\n",
                        h);
            std::printf("ratio hostile / plain: %.2f\n", h / p);
            status = 0;
        }
    }
    MoveFileA(inMenu.c_str(), parked.c_str());
    fixtures::RemoveTree(folder, "Brisq Hostile");
    for (const char* file : {"Brisq.exe", "settings.xml", "aliases.xml"}) DeleteFileA((folder + "\\" + file).c_str());
    RemoveDirectoryA(folder.c_str());
    CoUninitialize();
    return status;
}
