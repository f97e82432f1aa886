#pragma once
// Reading windows of any process, this one included. Every read times out,
// so a busy or hung program fails the reading test instead of hanging the run.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace testkit {

// How long a read waits for the other program's answer.
inline constexpr UINT kReplyTimeoutMs = 10000;

// Sends a message with the read time-out; `failed` when it was not answered.
LRESULT Ask(HWND window, UINT id, WPARAM wParam, LPARAM lParam, LRESULT failed = -1);

// Top-level windows of a process, optionally of one class.
std::vector<HWND> WindowsOf(DWORD processId, const char* className = nullptr);
// A visible dialog of the process whose caption is exactly this, or null.
HWND DialogWithCaption(DWORD processId, const std::string& caption);
// The first window of this class anywhere below the parent, or null.
HWND FindDescendant(HWND parent, const char* className);

// Texts read from windows are UTF-8, whatever the code page of this program or
// of the window's: read as UTF-16 and converted here.
std::string Utf8(std::wstring_view wide);
std::wstring Utf16(std::string_view utf8);

std::string WindowText(HWND window);
// The text of a control of a dialog, found by its id.
std::string DialogItemText(HWND dialog, int id);
// Every entry of a combo box's drop-down list, in order.
std::vector<std::string> ComboBoxItems(HWND box);

}  // namespace testkit
