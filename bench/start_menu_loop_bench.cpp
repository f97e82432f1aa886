// Start-up with a hostile Start menu against a plain one, in the same run:
// a folder whose subfolders link back to it and to the menu's root (Unix
// symbolic links, which Wine shows as folders), a truncated shortcut among
// good ones. The hostile folder is moved into the menu for one start and out
// again for the next, alternating. Prints medians and their ratio.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
const int kGoodShortcuts = 20;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Wine runs Unix programs on their own, without a handle: wait for their effect.
bool UnixInFolder(const std::string& line, const std::string& folder, const std::string& path, bool appears) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string command = line;
    std::string program = "Z:\\bin\\" + line.substr(0, line.find(' '));
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    for (auto end = Clock::now() + std::chrono::seconds(10); Exists(path) != appears; Sleep(5))
        if (Clock::now() > end) return false;
    return true;
}

bool SaveShortcut(const std::string& file, const std::string& target) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* persist = nullptr;
    bool saved = false;
    if (SUCCEEDED(link->SetPath(target.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        saved = SUCCEEDED(persist->Save(wide, TRUE));
        persist->Release();
    }
    link->Release();
    return saved;
}

// Builds the hostile folder at path (outside the menu); false when it could not.
bool BuildHostileFolder(const std::string& path) {
    std::string a = path + "\\a", b = path + "\\b";
    if (!CreateDirectoryA(path.c_str(), nullptr) || !CreateDirectoryA(a.c_str(), nullptr) ||
        !CreateDirectoryA(b.c_str(), nullptr))
        return false;
    for (int i = 0; i < kGoodShortcuts; ++i)
        if (!SaveShortcut((i % 2 ? a : b) + "\\Bench Tool " + std::to_string(i) + ".lnk",
                          "C:\\Program Files\\Bench\\tool" + std::to_string(i) + ".exe"))
            return false;
    HANDLE whole = CreateFileA((a + "\\Bench Tool 1.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    char bytes[120];
    DWORD got = 0;
    ReadFile(whole, bytes, sizeof(bytes), &got, nullptr);
    CloseHandle(whole);
    HANDLE cut = CreateFileA((b + "\\Bench Cut.lnk").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(cut, bytes, got, &written, nullptr);
    CloseHandle(cut);
    // Back to the folder itself, across to a sibling, and up to the menu's root
    // (valid once the folder sits in the menu).
    return UnixInFolder("ln -s .. up", a, a + "\\up", true) && UnixInFolder("ln -s ../a again", b, b + "\\again", true) &&
           UnixInFolder("ln -s ../.. top", b, b + "\\top", true);
}

struct Search {
    DWORD process;
    bool shown;
};

// Milliseconds from process creation to the launcher shown; negative on failure.
double StartToLauncher(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string command = "\"" + exe + "\"";
    auto start = Clock::now();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    double elapsed = -1;
    while (Clock::now() - start < std::chrono::seconds(60)) {
        Search search{process.dwProcessId, false};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                s.shown = s.shown || (owner == s.process && IsWindowVisible(window) && GetDlgItem(window, 1000));
                return !s.shown;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.shown) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char self[MAX_PATH], temp[MAX_PATH], menu[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    SHGetSpecialFolderPathA(nullptr, menu, CSIDL_STARTMENU, TRUE);
    std::string bin = self;
    bin = bin.substr(0, bin.rfind('\\') + 1);
    std::string folder = std::string(temp) + "brisq-start-menu-bench\\", exe = folder + "Brisq.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA((bin + "Brisq.exe").c_str(), exe.c_str(), FALSE)) {
        std::printf("cannot copy Brisq.exe\n");
        return 1;
    }
    std::string inMenu = std::string(menu) + "\\Brisq Hostile", parked = folder + "Brisq Hostile";
    int status = 0;
    if (!BuildHostileFolder(parked)) {
        std::printf("cannot build the hostile Start menu (needs Wine's /bin/ln)\n");
        status = 1;
    } else {
        StartToLauncher(exe, folder);  // warm the file cache
        std::vector<double> plain, hostile;
        for (int i = 0; i < runs && status == 0; ++i) {
            plain.push_back(StartToLauncher(exe, folder));
            if (!MoveFileA(parked.c_str(), inMenu.c_str())) status = 1;
            hostile.push_back(StartToLauncher(exe, folder));
            if (!MoveFileA(inMenu.c_str(), parked.c_str())) status = 1;
        }
        if (status == 0 && *std::min_element(hostile.begin(), hostile.end()) >= 0 &&
            *std::min_element(plain.begin(), plain.end()) >= 0) {
            double p = Median(plain), h = Median(hostile);
            std::printf("runs: %d each, alternating\n", runs);
            std::printf("plain Start menu, Brisq.exe to launcher shown: median %.1f ms\n", p);
            std::printf("hostile Start menu (2 loops, one to the root, a truncated shortcut): median %.1f ms\n", h);
            std::printf("ratio hostile / plain: %.2f\n", h / p);
        } else {
            std::printf("a start did not show the launcher within 60 s\n");
            status = 1;
        }
    }
    MoveFileA(inMenu.c_str(), parked.c_str());
    if (Exists(parked)) UnixInFolder("rm -rf \"Brisq Hostile\"", folder, parked, false);
    for (const char* file : {"Brisq.exe", "settings.xml", "aliases.xml"}) DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
    CoUninitialize();
    return status;
}
