#pragma once
// Drives a real Brisq.exe from outside, on the same Wine desktop: starts it in
// a folder of its own, finds its windows, reads its controls and types into it.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/input.h"
#include "common/wait.h"
#include "common/window_reading.h"

namespace e2e {

using testkit::WaitUntil;

// The folder of the test executable (Brisq.exe and recorder.exe are built there), with a trailing backslash.
std::string BinFolder();

using testkit::FileExists;
using testkit::ReadFile;
using testkit::TempFolder;
using testkit::WriteFile;

// Starts a program and returns its exit code (STILL_ACTIVE if it did not end in time).
DWORD RunAndWait(const std::string& exe, const std::string& folder,
                 std::chrono::milliseconds deadline = testkit::kStepDeadline);

using testkit::DialogItemText;
using testkit::DialogWithCaption;
using testkit::WindowsOf;
using testkit::WindowText;

// Types text and keys into whatever has the keyboard focus, like a user
// (see common/input.h for the path the keys take).
using testkit::HoldKey;
using testkit::LetGoKey;
using testkit::PressChord;
using testkit::PressKey;
using testkit::TypeText;

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

    // Starts the copy once every earlier copy has ended; true once it has
    // finished starting up: shown, in front, with the focus in its field.
    // A failure is described on the error output.
    bool Start();
    // The same, but done once the launcher shows: for a start-up that puts a
    // window of its own in front of it.
    bool StartUntilShown();
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
    // Waits until Brisq's thread has handled every message posted to it, by
    // the driver or by the system, before this call; false if it did not in time.
    bool HandledAllPosted(std::chrono::milliseconds deadline = testkit::kStepDeadline) const;

    // Waits for the process to end; STILL_ACTIVE if it did not.
    DWORD WaitForExit(std::chrono::milliseconds deadline = testkit::kStepDeadline);
    bool HasExited() const;

    // Shown, foreground, focus and field, for failure messages.
    std::string Describe() const;

    // What the recorder was last started with, or empty.
    std::string RecordedCommandLine() const;
    // The folder the recorder was last started in, or empty.
    std::string RecordedFolder() const;
    void ForgetRecording() const;

private:
    TempFolder folder_;
    PROCESS_INFORMATION process_{};
    HWND launcher_ = nullptr;
};

// Waits for a dialog of this copy with the caption, shown and enabled (no
// dialog of its own open above it); null if none came in time.
HWND WaitForDialog(const Brisq& brisq, const char* caption);

}  // namespace e2e
