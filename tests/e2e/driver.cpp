#include "driver.h"

#include <algorithm>
#include <thread>

namespace e2e {
namespace {
const UINT kShowLauncherMessage = 2291;
const int kCommandBoxId = 1000;

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// Reads from another process's window never wait forever: a busy or hung
// program makes the reading test fail instead of hanging the whole run.
const UINT kReadTimeoutMs = 3000;

LRESULT Ask(HWND window, UINT id, WPARAM wParam, LPARAM lParam, LRESULT failed = -1) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, id, wParam, lParam, SMTO_BLOCK, kReadTimeoutMs, &result) ? LRESULT(result)
                                                                                                  : failed;
}

LRESULT AskWide(HWND window, UINT id, WPARAM wParam, LPARAM lParam, LRESULT failed = -1) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, id, wParam, lParam, SMTO_BLOCK, kReadTimeoutMs, &result) ? LRESULT(result)
                                                                                                  : failed;
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = WORD(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}
}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string BinFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.rfind('\\') + 1);
}

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(base) + "brisq-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

DWORD RunAndWait(const std::string& exe, const std::string& folder, std::chrono::milliseconds deadline) {
    STARTUPINFOA startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return DWORD(-1);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, DWORD(deadline.count())) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
    struct Search {
        DWORD processId;
        const char* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.processId) return TRUE;
            char name[64] = "";
            GetClassNameA(window, name, sizeof(name));
            if (!s.className || lstrcmpA(name, s.className) == 0) s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DialogWithCaption(DWORD processId, const std::string& caption) {
    for (HWND window : WindowsOf(processId, "#32770"))
        if (IsWindowVisible(window) && WindowText(window) == caption) return window;
    return nullptr;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    LRESULT got = Ask(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), 0);
    return std::string(text, got > 0 ? size_t(got) : 0);
}

std::string DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::string();
}

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
}

// In one piece, so that no other input comes between the keys.
void PressChord(WORD modifier, WORD key) {
    INPUT input[4] = {};
    WORD keys[4] = {modifier, key, key, modifier};
    for (int i = 0; i < 4; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = keys[i];
        input[i].ki.wScan = WORD(MapVirtualKeyA(keys[i], MAPVK_VK_TO_VSC));
        input[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, input, sizeof(INPUT));
}

GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}
HWND FocusOf(HWND window) { return ThreadInfoOf(window).hwndFocus; }
HWND CaptureOf(HWND window) { return ThreadInfoOf(window).hwndCapture; }

void TypeText(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1) continue;
        bool shift = (scan & 0x100) != 0;
        if (shift) SendKey(VK_SHIFT, false);
        PressKey(LOBYTE(scan));
        if (shift) SendKey(VK_SHIFT, true);
    }
}

void SaveScreenshot(const std::string& name, HWND painted) {
    char folder[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("BRISQ_ARTIFACTS", folder, MAX_PATH)) return;
    if (painted) {  // paints are sent to the owning thread and wait for it
        RedrawWindow(painted, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendMessageTimeoutA(painted, WM_NULL, 0, 0, SMTO_BLOCK, 2000, nullptr);
    }
    std::string path = folder;
    if (!path.empty() && path[0] == '/') {  // a Unix path from the test script
        for (char& c : path) c = c == '/' ? '\\' : c;
        path = "Z:" + path;
    }
    path += "\\" + name + ".bmp";

    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER header{sizeof(header), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD stride = (DWORD(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(header) + stride * height), 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof(header))};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(static_cast<const char*>(bits), stride * height);
    WriteFile(path, bytes);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

Brisq::Brisq() = default;

Brisq::~Brisq() {
    if (process_.hProcess) {
        if (!HasExited()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

bool Brisq::Start() {
    std::string exe = folder_.File("Brisq.exe");
    if (!CopyFileA((BinFolder() + "Brisq.exe").c_str(), exe.c_str(), FALSE)) return false;
    CopyFileA((BinFolder() + "recorder.exe").c_str(), folder_.File("recorder.exe").c_str(), FALSE);
    STARTUPINFOA startup{sizeof(startup)};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.Path().c_str(), &startup, &process_))
        return false;
    return WaitUntil([&] {
        for (HWND window : WindowsOf(ProcessId(), "#32770"))
            if (GetDlgItem(window, kCommandBoxId) && IsWindowVisible(window)) launcher_ = window;
        return launcher_ != nullptr;
    });
}

DWORD Brisq::StartSecondCopy() { return RunAndWait(folder_.File("Brisq.exe"), folder_.Path()); }

HWND Brisq::CommandBox() const { return GetDlgItem(launcher_, kCommandBoxId); }
HWND Brisq::CommandEdit() const { return FindWindowExA(CommandBox(), nullptr, "Edit", nullptr); }

HWND Brisq::FocusWindow() const {
    GUITHREADINFO info{sizeof(info)};
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

std::string Brisq::FieldText() const { return WindowText(CommandBox()); }

std::vector<std::string> Brisq::DropDownEntries() const {
    std::vector<std::string> entries;
    HWND box = CommandBox();
    LRESULT count = Ask(box, CB_GETCOUNT, 0, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // CB_GETLBTEXT takes no buffer size, and Brisq may put a longer line at
        // this index between the two calls: leave room for any line it runs.
        LRESULT length = AskWide(box, CB_GETLBTEXTLEN, i, 0);
        std::wstring wide(std::max<size_t>(size_t(length > 0 ? length : 0), 8192) + 1, L'\0');
        LRESULT got = AskWide(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(got > 0 ? size_t(got) : 0);
        std::string text(wide.size() * 2 + 1, '\0');
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), text.data(), int(text.size()),
                                        nullptr, nullptr);
        text.resize(bytes > 0 ? size_t(bytes) : 0);
        entries.push_back(text);
    }
    return entries;
}

void Brisq::Toggle() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(launcher_, kShowLauncherMessage, 0, 0, SMTO_BLOCK, 2000, &result);
}

bool Brisq::BringUp() const {
    // A toggle hides a foreground window, so toggle only when it is hidden, or
    // when it has stayed in the background a while (another window won).
    auto since = std::chrono::steady_clock::now();
    return WaitUntil([&] {
        if (IsShown() && IsForeground() && FocusWindow() == CommandEdit()) return true;
        auto now = std::chrono::steady_clock::now();
        if (!IsShown() || now - since > std::chrono::milliseconds(500)) {
            Toggle();
            since = now;
        }
        return false;
    });
}

void Brisq::RunLine(const std::string& line) const {
    TypeText(line);
    PressKey(VK_RETURN);
}

DWORD Brisq::WaitForExit(std::chrono::milliseconds deadline) {
    if (WaitForSingleObject(process_.hProcess, DWORD(deadline.count())) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Brisq::HasExited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

std::string Brisq::Describe() const {
    char text[256];
    wsprintfA(text, "shown=%d foreground=%d (is %p) focus=%p edit=%p field=\"", IsShown(), IsForeground(),
              GetForegroundWindow(), FocusWindow(), CommandEdit());
    return text + FieldText() + "\"";
}

std::string Brisq::RecordedCommandLine() const { return ReadFile(folder_.File("recorder.exe.log")); }
void Brisq::ForgetRecording() const { DeleteFileA(folder_.File("recorder.exe.log").c_str()); }

}  // namespace e2e
