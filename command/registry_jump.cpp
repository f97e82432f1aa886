#include "command/registry_jump.h"

#include <windows.h>
#include <shellapi.h>

#include "command/registry_path.h"
#include "command/remote_tree_view.h"
#include "text/system_code_page.h"

namespace {
const char kEditorClass[] = "RegEdit_RegEdit";
// The editor fills a key's subkeys when it opens; a slow one gets this long.
const DWORD kFillDeadline = 3000;
const DWORD kIdleLimit = 5000;
const DWORD kStartDeadline = 10000;

template <class Condition>
bool WaitUntil(DWORD deadline, Condition done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= deadline) return false;
        Sleep(10);
    }
}

// The 500 ms the editor once got is not enough for a cold start: a started
// editor is looked for until its window appears or the process ends. The fixed
// wait stays only for when the shell hands back no process.
HWND FindEditor() {
    HWND editor = FindWindowA(kEditorClass, nullptr);
    if (editor) return editor;
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.hwnd = GetActiveWindow();
    start.lpVerb = "open";
    start.lpFile = "regedit.exe";
    start.nShow = SW_SHOW;
    ShellExecuteExA(&start);
    KernelHandle started(start.hProcess);
    editor = FindWindowA(kEditorClass, nullptr);
    if (editor) return editor;
    if (!started.get()) {
        Sleep(500);
        return FindWindowA(kEditorClass, nullptr);
    }
    WaitUntil(kStartDeadline, [&] {
        editor = FindWindowA(kEditorClass, nullptr);
        return editor || WaitForSingleObject(started.get(), 0) == WAIT_OBJECT_0;
    });
    return editor;
}

// The tree is not a direct child of the editor's main window.
HWND FindTree(HWND editor) {
    HWND found = nullptr;
    EnumChildWindows(
        editor,
        [](HWND window, LPARAM param) -> BOOL {
            char name[32];
            if (GetClassNameA(window, name, sizeof(name)) && lstrcmpiA(name, WC_TREEVIEWA) == 0) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Opens a key and waits until its subkeys are in the tree. False when it has none.
bool Open(const RemoteTreeView& tree, HTREEITEM item) {
    RemoteTreeView::Item read;
    if (!tree.Read(item, read) || !read.hasChildren) return false;
    if (!read.expanded) tree.Expand(item);
    return WaitUntil(kFillDeadline, [&] { return tree.Child(item) != nullptr; });
}
}  // namespace

bool RegistryJump::JumpToKey(const std::string& path) {
    HWND editor = FindEditor();
    if (!editor) return false;
    HWND tree = nullptr;
    if (!WaitUntil(kFillDeadline, [&] { return (tree = FindTree(editor)) != nullptr; })) return false;

    RemoteTreeView view(tree);
    if (!view.IsOpen()) return false;
    // A freshly started editor reopens its last key while it starts up; ours must come after.
    WaitForInputIdle(view.Process(), kIdleLimit);
    HTREEITEM current = nullptr;
    if (!WaitUntil(kFillDeadline, [&] { return (current = view.Root()) != nullptr; })) return false;

    RegistryPathSteps steps = SplitRegistryPath(path, SystemCodePage());
    bool found = true;
    for (const std::string& name : steps.names) {
        found = false;
        if (!Open(view, current)) break;
        LabelChooser chooser(name, SystemCodePage());
        std::vector<HTREEITEM> offered;
        for (HTREEITEM child = view.Child(current); child; child = view.Sibling(child)) {
            offered.push_back(child);
            if (chooser.Offer(offered.size() - 1, view.Label(child))) break;
        }
        std::optional<std::size_t> chosen = chooser.Chosen();
        if (!chosen) break;  // a missing key: stay at the deepest one found
        current = offered[*chosen];
        found = true;
    }
    if (found && steps.expandLast) Open(view, current);
    view.Select(current);

    if (IsIconic(editor)) ShowWindow(editor, SW_RESTORE);
    SetForegroundWindow(editor);
    return true;
}
