#include "common/registry_editor.h"

#include "common/process.h"
#include "common/window_reading.h"

namespace testkit {

HWND RegistryEditor() { return FindWindowA("RegEdit_RegEdit", nullptr); }

HWND RegistryEditorTree(HWND editor) { return editor ? FindDescendant(editor, "SysTreeView32") : nullptr; }

std::string RegistryEditorStatus() {
    HWND status = FindWindowExA(RegistryEditor(), nullptr, "msctls_statusbar32", nullptr);
    return status ? WindowText(status) : std::string();
}

bool CloseRegistryEditor() {
    HWND editor = RegistryEditor();
    if (!editor) return true;
    DWORD id = 0;
    GetWindowThreadProcessId(editor, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (!process) return false;
    bool ended = EndProcess(process, editor);
    CloseHandle(process);
    return ended;
}

}  // namespace testkit
