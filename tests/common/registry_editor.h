#pragma once
// The system's registry editor, as the registry jump drives it.
#include <windows.h>

#include <string>

namespace testkit {

// The editor's main window, or null when none is open on this desktop.
HWND RegistryEditor();
// Its tree view, which is not a direct child of the main window.
HWND RegistryEditorTree(HWND editor);
// What its status bar shows for the selected key: the computer, then the key's path.
std::string RegistryEditorStatus();
// Ends the open editor through its own process handle; true when none is left.
bool CloseRegistryEditor();

}  // namespace testkit
