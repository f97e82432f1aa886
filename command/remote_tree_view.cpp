#include "command/remote_tree_view.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

#include "text/system_conversion.h"

namespace {
// Key names hold at most 255 characters.
constexpr int kLabelCapacity = 512;
// A busy editor must not hold the launcher for ever.
constexpr UINT kReplyTimeout = 5000;

// The request and its text buffer travel as one block: one write, one read per item.
// Labels are asked for as UTF-16: the ANSI request would have the tree's program
// convert them to its own code page, which need not be this one's.
struct RemoteItem {
    TVITEMW item;
    wchar_t text[kLabelCapacity];
};

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
      memory_(process_.get(), sizeof(RemoteItem)) {}

LRESULT RemoteTreeView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(tree_, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeout, &result)) return 0;
    return LRESULT(result);
}

HTREEITEM RemoteTreeView::Next(UINT relation, HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool RemoteTreeView::Read(HTREEITEM item, Item& out) const {
    if (!IsOpen() || !item) return false;
    auto* remote = reinterpret_cast<RemoteItem*>(memory_.get());
    RemoteItem block;
    block.item = TVITEMW{};
    block.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE;
    block.item.hItem = item;
    block.item.stateMask = TVIS_EXPANDED;
    block.item.pszText = remote->text;
    block.item.cchTextMax = kLabelCapacity;
    block.text[0] = L'\0';
    if (!WriteProcessMemory(process_.get(), remote, &block, offsetof(RemoteItem, text) + sizeof(wchar_t), nullptr))
        return false;
    if (!Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote))) return false;
    if (!ReadProcessMemory(process_.get(), remote, &block, sizeof(block), nullptr)) return false;
    out.label = Narrow(std::wstring_view(block.text, wcsnlen(block.text, kLabelCapacity)));
    out.hasChildren = block.item.cChildren != 0;
    out.expanded = (block.item.state & TVIS_EXPANDED) != 0;
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
