#pragma once
// Drives a real Brisq.exe from outside, on the same Wine desktop: starts it in
// a folder of its own, finds its windows, reads its controls and types into it.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Polls until the condition holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = std::chrono::seconds(10));

// The folder of the test executable (Brisq.exe and recorder.exe are built there), with a trailing backslash.
std::string BinFolder();

// A fresh folder under %TEMP%, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }  // with a trailing backslash
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Starts a program and returns its exit code (STILL_ACTIVE if it did not end in time).
DWORD RunAndWait(const std::string& exe, const std::string& folder, std::chrono::milliseconds deadline = std::chrono::seconds(15));

// Top-level windows of a process, optionally of one class.
std::vector<HWND> WindowsOf(DWORD processId, const char* className = nullptr);
// A dialog of the process whose caption is exactly this, or null.
HWND DialogWithCaption(DWORD processId, const std::string& caption);
std::string WindowText(HWND window);
// The text of a control of a dialog, found by its id.
std::string DialogItemText(HWND dialog, int id);

// Types text and keys into whatever has the keyboard focus, like a user.
void TypeText(const std::string& text);
void PressKey(WORD virtualKey);
// A key pressed while a modifier is held, as a hot key is pressed.
void PressChord(WORD modifier, WORD key);

// The input state of the thread that owns a window: its focus, capture and move loop.
GUITHREADINFO ThreadInfoOf(HWND window);
HWND FocusOf(HWND window);
HWND CaptureOf(HWND window);

// Writes a picture of the whole desktop to %BRISQ_ARTIFACTS%\name.bmp (when set),
// once the given window and its children have painted.
void SaveScreenshot(const std::string& name, HWND painted = nullptr);

// One Brisq.exe copied into a temp folder (with recorder.exe beside it) and
// started there; ended at destruction if it still runs.
class Brisq {
public:
    Brisq();
    ~Brisq();
    Brisq(const Brisq&) = delete;
    Brisq& operator=(const Brisq&) = delete;

    // Starts the copy; true once its launcher window is visible.
    bool Start();
    // Starts a further copy from the same folder and returns its exit code.
    DWORD StartSecondCopy();

    const TempFolder& Folder() const { return folder_; }
    DWORD ProcessId() const { return process_.dwProcessId; }
    HWND Launcher() const { return launcher_; }
    HWND CommandBox() const;
    HWND CommandEdit() const;

    bool IsShown() const { return IsWindowVisible(launcher_) != FALSE; }
    bool IsForeground() const { return GetForegroundWindow() == launcher_; }
    // The window that has the keyboard focus in Brisq's thread.
    HWND FocusWindow() const;

    std::string FieldText() const;
    std::vector<std::string> DropDownEntries() const;

    // Asks the running copy to toggle, as a second copy does, without starting one.
    void Toggle() const;
    // Shows the window (if hidden) and waits until its field has the focus.
    bool BringUp() const;
    // Types a line into the focused field and presses Enter.
    void RunLine(const std::string& line) const;

    // Waits for the process to end; STILL_ACTIVE if it did not.
    DWORD WaitForExit(std::chrono::milliseconds deadline = std::chrono::seconds(10));
    bool HasExited() const;

    // Shown, foreground, focus and field, for failure messages.
    std::string Describe() const;

    // What the recorder was last started with, or empty.
    std::string RecordedCommandLine() const;
    void ForgetRecording() const;

private:
    TempFolder folder_;
    PROCESS_INFORMATION process_{};
    HWND launcher_ = nullptr;
};

}  // namespace e2e
