#include "common/input.h"

#include "common/wait.h"
#include "common/window_reading.h"

namespace testkit {
namespace {
const char kXdotool[] = "Z:\\usr\\bin\\xdotool";

bool ThroughX() {
    static const bool available = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") && GetEnvironmentVariableA("DISPLAY", nullptr, 0) &&
               GetFileAttributesA(kXdotool) != INVALID_FILE_ATTRIBUTES;
    }();
    return available;
}

// Wine starts a Unix program without a handle that tells when it ends, so every
// caller waits for the program's effect before it goes on; two runs never overlap.
void Xdotool(const std::string& arguments) {
    std::string commandLine = std::string(kXdotool) + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

const char* KeyName(WORD modifier) {
    switch (modifier) {
    case VK_SHIFT: return "Shift_L";
    case VK_CONTROL: return "Control_L";
    case VK_MENU: return "Alt_L";
    default: return nullptr;
    }
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = WORD(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

bool IsDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// Through X when the pointer moves through X: a press sent to Wine directly
// could overtake the motion before it, which the X server has made but the
// window's thread not yet read, and land where the pointer was before.
bool SetLeftButton(bool down) {
    if (ThroughX()) {
        Xdotool(down ? "mousedown 1" : "mouseup 1");
        return WaitUntil([&] { return IsDown(VK_LBUTTON) == down; }, kStepDeadline);
    }
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
    return true;
}

bool SetModifier(WORD modifier, bool down) {
    const char* name = KeyName(modifier);
    if (!ThroughX() || !name) {
        SendKey(modifier, !down);
        return true;
    }
    Xdotool(std::string(down ? "keydown " : "keyup ") + name);
    return WaitUntil([&] { return IsDown(modifier) == down; }, kStepDeadline);
}

bool At(POINT p) {
    POINT now{};
    return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
}
}  // namespace

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
}

bool HoldKey(WORD modifier) { return SetModifier(modifier, true); }
bool LetGoKey(WORD modifier) { return SetModifier(modifier, false); }

bool PressChord(WORD modifier, WORD key) {
    bool held = HoldKey(modifier);
    if (held) PressKey(key);
    return LetGoKey(modifier) && held;
}

// A character that needs Shift (or AltGr) is typed as the character itself, as
// an on-screen keyboard types it: the characters then never depend on a
// modifier's state in the receiving thread, which a resync there can change.
// A character beyond U+FFFF goes as its two UTF-16 units, as the system's own
// on-screen keyboard sends it.
void TypeText(const std::string& text) {
    for (wchar_t unit : Utf16(text)) {
        SHORT scan = unit < 0x80 ? VkKeyScanW(unit) : -1;
        if (scan != -1 && (scan & 0x700) == 0) {
            PressKey(LOBYTE(scan));
            continue;
        }
        INPUT input[2] = {};
        for (INPUT& i : input) {
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = WORD(unit);
            i.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
}

bool MovePointer(POINT screen) {
    if (At(screen)) return true;
    if (ThroughX()) {
        Xdotool("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
    } else {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(input));
    }
    return WaitUntil([&] { return At(screen); }, kStepDeadline);
}

bool PressLeftButton() { return SetLeftButton(true); }

bool ReleaseLeftButtonAndPark() { return SetLeftButton(false) && ParkPointer(); }

POINT PointerRest() { return POINT{GetSystemMetrics(SM_CXSCREEN) - 1, 0}; }

bool ParkPointer() { return MovePointer(PointerRest()); }

}  // namespace testkit
