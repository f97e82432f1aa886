#include "driver.h"

#include <shellapi.h>

#include <cstdio>

#include "common/process.h"

namespace e2e {
namespace {
const UINT kShowLauncherMessage = 2291;
const int kCommandBoxId = 1000;
const UINT kTrayIconId = 1;
// An earlier copy still holding the mutex would make the new one a second copy.
const auto kEarlierCopyDeadline = testkit::kStepDeadline;
}  // namespace

std::string BinFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.rfind('\\') + 1);
}

DWORD RunAndWait(const std::string& exe, const std::string& folder, std::chrono::milliseconds deadline) {
    PROCESS_INFORMATION process{};
    std::string failure;
    if (!testkit::StartProcess(exe, folder, process, failure)) return DWORD(-1);
    DWORD code = STILL_ACTIVE;
    if (testkit::WaitForProcessEnd(process.hProcess, deadline)) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

namespace {
GUITHREADINFO ThreadInfo(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(threadId, &info);
    return info;
}
}  // namespace

GUITHREADINFO ThreadInfoOf(HWND window) { return ThreadInfo(GetWindowThreadProcessId(window, nullptr)); }
HWND FocusOf(HWND window) { return ThreadInfoOf(window).hwndFocus; }
HWND CaptureOf(HWND window) { return ThreadInfoOf(window).hwndCapture; }

void SaveScreenshot(const std::string& name, HWND painted) {
    char folder[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("BRISQ_ARTIFACTS", folder, MAX_PATH)) return;
    if (painted) {  // paints are sent to the owning thread and wait for it
        RedrawWindow(painted, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testkit::Ask(painted, WM_NULL, 0, 0);
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
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
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
        bool forced = !HasExited();
        testkit::EndProcess(process_.hProcess);
        // The shell keeps the icon of a window that went without removing it until
        // a click on it fails; the next copy's icon must not sit behind it.
        if (forced && launcher_) {
            NOTIFYICONDATAA icon{};
            icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
            icon.hWnd = launcher_;
            icon.uID = kTrayIconId;
            Shell_NotifyIconA(NIM_DELETE, &icon);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

namespace {
bool StartFailed(const std::string& why) {
    std::fprintf(stderr, "Brisq::Start: %s\n", why.c_str());
    return false;
}
}  // namespace

bool Brisq::StartUntilShown() {
    // No window of Brisq's may appear under the pointer: the X server would send it pointer events.
    if (!testkit::ParkPointer()) return StartFailed("the pointer did not go to its rest");
    std::string stillRunning;
    if (!testkit::WaitUntilNoProcessNamed("Brisq.exe", kEarlierCopyDeadline, stillRunning))
        return StartFailed("an earlier Brisq.exe is still running (process " + stillRunning + ")");
    std::string exe = folder_.File("Brisq.exe");
    if (!CopyFileA((BinFolder() + "Brisq.exe").c_str(), exe.c_str(), FALSE))
        return StartFailed("copying Brisq.exe to " + exe + " failed with error " + std::to_string(GetLastError()));
    if (!CopyFileA((BinFolder() + "recorder.exe").c_str(), folder_.File("recorder.exe").c_str(), FALSE))
        return StartFailed("copying recorder.exe failed with error " + std::to_string(GetLastError()));
    std::string failure;
    if (!testkit::StartProcess(exe, folder_.Path(), process_, failure)) return StartFailed(failure);
    if (!WaitUntil([&] {
            for (HWND window : WindowsOf(ProcessId(), "#32770"))
                if (GetDlgItem(window, kCommandBoxId) && IsWindowVisible(window)) launcher_ = window;
            return launcher_ != nullptr || HasExited();
        }) || !launcher_) {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return StartFailed(HasExited() ? "it ended with code " + std::to_string(code) + " before its window showed"
                                : "its window did not show");
    }
    return true;
}

bool Brisq::Start() {
    if (!StartUntilShown()) return false;
    // Start-up ends in front, with the focus in the field; the dialog then waits for input.
    if (!WaitUntil([&] { return IsForeground() && FocusWindow() == CommandEdit(); }))
        return StartFailed("it showed but did not come to the front with the focus in its field: " + Describe());
    if (WaitForInputIdle(process_.hProcess, DWORD(testkit::kStepDeadline.count())) != 0) return StartFailed("it never waited for input");
    return true;
}

DWORD Brisq::StartSecondCopy() { return RunAndWait(folder_.File("Brisq.exe"), folder_.Path()); }

HWND Brisq::CommandBox() const { return GetDlgItem(launcher_, kCommandBoxId); }
HWND Brisq::CommandEdit() const { return FindWindowExA(CommandBox(), nullptr, "Edit", nullptr); }

HWND Brisq::FocusWindow() const { return ThreadInfo(process_.dwThreadId).hwndFocus; }

std::string Brisq::FieldText() const { return WindowText(CommandBox()); }

std::vector<std::string> Brisq::DropDownEntries() const { return testkit::ComboBoxItems(CommandBox()); }

void Brisq::Toggle() const {
    DWORD_PTR result = 0;
    // Long enough to end before the next toggle: one that timed out would still run later.
    SendMessageTimeoutA(launcher_, kShowLauncherMessage, 0, 0, SMTO_BLOCK, DWORD(testkit::kStepDeadline.count()),
                        &result);
}

// A toggle runs to its end before the call returns, so each look sees where the last one left it.
bool Brisq::BringUp() const {
    return WaitUntil([&] {
        if (IsShown() && IsForeground() && FocusWindow() == CommandEdit()) return true;
        if (!IsShown() || !IsForeground()) Toggle();
        return false;
    });
}

void Brisq::RunLine(const std::string& line) const {
    TypeText(line);
    PressKey(VK_RETURN);
}

// Posted messages are handled in the order they were posted, so once a marker
// posted now has been handled, so has everything before it. The marker is the
// edit field's IME status, which nothing else here sets.
bool Brisq::HandledAllPosted(std::chrono::milliseconds deadline) const {
    HWND edit = CommandEdit();
    LRESULT before = testkit::Ask(edit, EM_GETIMESTATUS, EMSIS_COMPOSITIONSTRING, 0);
    if (before < 0) return false;
    LRESULT marker = before == EIMES_GETCOMPSTRATONCE ? EIMES_CANCELCOMPSTRINFOCUS : EIMES_GETCOMPSTRATONCE;
    if (!PostMessageA(edit, EM_SETIMESTATUS, EMSIS_COMPOSITIONSTRING, marker)) return false;
    return WaitUntil([&] { return testkit::Ask(edit, EM_GETIMESTATUS, EMSIS_COMPOSITIONSTRING, 0) == marker; },
                     deadline);
}

DWORD Brisq::WaitForExit(std::chrono::milliseconds deadline) {
    if (!testkit::WaitForProcessEnd(process_.hProcess, deadline)) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Brisq::HasExited() const { return testkit::WaitForProcessEnd(process_.hProcess, std::chrono::milliseconds(0)); }

std::string Brisq::Describe() const {
    char text[256];
    wsprintfA(text, "shown=%d foreground=%d (is %p) focus=%p edit=%p field=\"", IsShown(), IsForeground(),
              GetForegroundWindow(), FocusWindow(), CommandEdit());
    return text + FieldText() + "\"";
}

std::string Brisq::RecordedCommandLine() const {
    std::string log = ReadFile(folder_.File("recorder.exe.log"));
    return log.substr(0, log.find('\n'));
}
std::string Brisq::RecordedFolder() const {
    std::string log = ReadFile(folder_.File("recorder.exe.log"));
    std::size_t end = log.find('\n');
    return end == std::string::npos ? std::string() : log.substr(end + 1);
}
void Brisq::ForgetRecording() const { DeleteFileA(folder_.File("recorder.exe.log").c_str()); }

HWND WaitForDialog(const Brisq& brisq, const char* caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = DialogWithCaption(brisq.ProcessId(), caption)) && IsWindowEnabled(found); });
    return found;
}

}  // namespace e2e
