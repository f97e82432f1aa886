#pragma once
// Starting and ending programs under test, always through their process handles.
#include <windows.h>

#include <chrono>
#include <string>

#include "common/wait.h"

namespace testkit {

// Starts the program in the folder. On failure returns false and says why.
bool StartProcess(const std::string& exe, const std::string& folder, PROCESS_INFORMATION& started,
                  std::string& failure);

// True once the process has ended, within the deadline.
bool WaitForProcessEnd(HANDLE process, std::chrono::milliseconds deadline);

// Ends a process: asks its window to close when one is given, ends it by force
// if it has not ended after that, and waits on its handle. True once it has ended.
bool EndProcess(HANDLE process, HWND window = nullptr,
                std::chrono::milliseconds deadline = kStepDeadline);

// Waits until no process runs from an executable of this name (for example
// "Brisq.exe"), each waited for through its own handle. On failure returns
// false and names those still running.
bool WaitUntilNoProcessNamed(const char* exeName, std::chrono::milliseconds deadline, std::string& stillRunning);

}  // namespace testkit
