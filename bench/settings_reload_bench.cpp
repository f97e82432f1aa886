// The settings files changed by hand while Brisq runs, each figure beside its
// baseline from the same run:
// - a hand save of aliases.xml to its new alias in Brisq's command box (median
//   of 20; saves alternate between writing in place and a temporary file
//   renamed over it), against the same save seen by a change notification of
//   this program's own on the folder: the system's share of that time;
// - Brisq's CPU time over a minute idle, with a folder that does not change,
//   against notepad's over the same minute. Given the path of another
//   Brisq.exe (an older build, say), that one's the same way.
// Arguments: [other Brisq.exe] [idle seconds, default 60].
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {
using namespace bench;
const int kSaves = 20;
const double kDeadlineMs = 30000;

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

std::string Aliases(const std::string& added) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n"
           "    <alias alias=\"np\" cmd=\"notepad.exe\" />\r\n"
           "    <alias alias=\"" + added + "\" cmd=\"" + added + ".exe\" />\r\n</aliases>\r\n";
}

bool HasEntry(HWND box, const std::string& name) {
    return SendMessageA(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name.c_str())) != CB_ERR;
}

double CpuMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    auto ms = [](FILETIME t) { return double(ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

// A copy of |exe| started in a folder of its own with one alias, once it has
// shown and loaded its files.
bool StartLauncher(const std::string& exe, const std::string& folder, std::optional<Started>& program, HWND& box) {
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA(exe.c_str(), (folder + "Brisq.exe").c_str(), FALSE)) return false;
    WriteBytes(folder + "aliases.xml", Aliases("first"));
    DeleteFileA((folder + "settings.xml").c_str());
    program.emplace(folder + "Brisq.exe", folder);
    HWND window = nullptr;
    if (program->TimeToWindow(true, kDeadlineMs, &window) < 0) return false;
    box = GetDlgItem(window, 1000);
    return Until(kDeadlineMs, [&] { return HasEntry(box, "first"); });
}

void RemoveFolder(const std::string& folder) {
    for (const char* name : {"Brisq.exe", "aliases.xml", "aliases.xml.new", "settings.xml"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

// CPU milliseconds of the launcher and of notepad over the same idle span.
bool IdleCpu(const std::string& exe, const std::string& folder, const std::string& notepad, int seconds,
             double& brisqMs, double& notepadMs) {
    std::optional<Started> brisq;
    HWND box = nullptr;
    bool started = StartLauncher(exe, folder, brisq, box);
    Started other(notepad, folder);
    bool ok = started && other.TimeToWindow(true, kDeadlineMs) >= 0;
    if (ok) {
        Sleep(2000);  // past the start-up's own work
        double b = CpuMs(brisq->Process()), n = CpuMs(other.Process());
        Sleep(DWORD(seconds) * 1000);
        brisqMs = CpuMs(brisq->Process()) - b;
        notepadMs = CpuMs(other.Process()) - n;
    }
    brisq.reset();
    RemoveFolder(folder);
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    std::string otherExe = argc > 1 ? argv[1] : "";
    int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    KeepRunValue keep;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "brisq-reload-bench\\";
    const std::string brisqExe = Beside("Brisq.exe");

    std::optional<Started> brisq;
    HWND box = nullptr;
    if (!StartLauncher(brisqExe, folder, brisq, box)) {
        std::printf("Brisq.exe did not start and load its aliases\n");
        return 1;
    }
    std::vector<double> completed, notified;
    for (int i = 0; i < kSaves; ++i) {
        std::string name = "added" + std::to_string(i);
        HANDLE change = FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                         FILE_NOTIFY_CHANGE_LAST_WRITE);
        double start = Now();
        if (i % 2) {
            WriteBytes(folder + "aliases.xml", Aliases(name));
        } else {
            WriteBytes(folder + "aliases.xml.new", Aliases(name));
            MoveFileExA((folder + "aliases.xml.new").c_str(), (folder + "aliases.xml").c_str(),
                        MOVEFILE_REPLACE_EXISTING);
        }
        if (change != INVALID_HANDLE_VALUE && WaitForSingleObject(change, DWORD(kDeadlineMs)) == WAIT_OBJECT_0)
            notified.push_back(Now() - start);
        if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
        if (!Until(kDeadlineMs, [&] { return HasEntry(box, name); })) {
            std::printf("save %d: the new alias never came\n", i);
            break;
        }
        completed.push_back(Now() - start);
    }
    brisq.reset();
    RemoveFolder(folder);
    if (completed.size() == kSaves && notified.size() == kSaves) {
        double c = Median(completed), n = Median(notified);
        std::printf("hand save of aliases.xml to the new alias in the command box: median of %d %.1f ms\n", kSaves, c);
        std::printf("the same save to this program's own change notification: median %.1f ms; ratio %.1f\n", n,
                    n > 0 ? c / n : 0);
    }

    char notepad[MAX_PATH];
    if (!SearchPathA(nullptr, "notepad.exe", nullptr, MAX_PATH, notepad, nullptr)) {
        std::printf("notepad.exe not found\n");
        return 1;
    }
    std::vector<std::string> launchers = {brisqExe};
    if (!otherExe.empty()) launchers.push_back(otherExe);
    for (const std::string& exe : launchers) {
        double brisqMs = 0, notepadMs = 0;
        if (!IdleCpu(exe, folder, notepad, idleSeconds, brisqMs, notepadMs)) {
            std::printf("%s: did not start\n", exe.c_str());
            continue;
        }
        std::printf("%s idle %d s: CPU %.1f ms; notepad over the same span %.1f ms\n", exe.c_str(), idleSeconds,
                    brisqMs, notepadMs);
    }
    return 0;
}
