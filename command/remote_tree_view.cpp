#include "command/remote_tree_view.h"

namespace {
// Key names hold at most 255 characters.
constexpr int kLabelCapacity = 512;
// A busy editor must not hold the launcher for ever.
constexpr UINT kReplyTimeout = 5000;

HANDLE OpenTreeProcess(HWND tree) {
    DWORD id = 0;
    GetWindowThreadProcessId(tree, &id);
    if (!id) return nullptr;
    return OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION |
                           SYNCHRONIZE,
                       FALSE, id);
}
}  // namespace

RemoteTreeView::RemoteTreeView(HWND tree)
    : tree_(tree),
      process_(OpenTreeProcess(tree)),
      memory_(process_.get(), sizeof(TVITEMA) + kLabelCapacity) {}

LRESULT RemoteTreeView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(tree_, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeout, &result)) return 0;
    return LRESULT(result);
}

HTREEITEM RemoteTreeView::Next(UINT relation, HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::vector<HTREEITEM> RemoteTreeView::Children(HTREEITEM item) const {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = Child(item); child; child = Sibling(child)) children.push_back(child);
    return children;
}

bool RemoteTreeView::Read(HTREEITEM item, Item& out) const {
    if (!IsOpen() || !item) return false;
    char* remoteText = memory_.get() + sizeof(TVITEMA);
    TVITEMA request{};
    request.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE;
    request.hItem = item;
    request.stateMask = TVIS_EXPANDED;
    request.pszText = remoteText;
    request.cchTextMax = kLabelCapacity;
    const char none = '\0';
    if (!WriteProcessMemory(process_.get(), memory_.get(), &request, sizeof(request), nullptr) ||
        !WriteProcessMemory(process_.get(), remoteText, &none, 1, nullptr))
        return false;
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory_.get()))) return false;

    TVITEMA answer{};
    char text[kLabelCapacity + 1] = {};
    if (!ReadProcessMemory(process_.get(), memory_.get(), &answer, sizeof(answer), nullptr)) return false;
    if (!ReadProcessMemory(process_.get(), remoteText, text, kLabelCapacity, nullptr)) return false;
    out.label.assign(text, strnlen(text, kLabelCapacity));
    out.hasChildren = answer.cChildren != 0;
    out.expanded = (answer.state & TVIS_EXPANDED) != 0;
    return true;
}

std::string RemoteTreeView::Label(HTREEITEM item) const {
    Item read;
    return Read(item, read) ? read.label : std::string();
}

void RemoteTreeView::Expand(HTREEITEM item) const { Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }

void RemoteTreeView::Select(HTREEITEM item) const {
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}
