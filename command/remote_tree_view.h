#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/owners.h"

// Another process's tree view, driven through its own messages. Item texts
// cross the process boundary through memory allocated in the tree's process.
class RemoteTreeView {
public:
    explicit RemoteTreeView(HWND tree);

    // False when the tree's process could not be opened or given the memory.
    bool IsOpen() const { return memory_.get() != nullptr; }
    HANDLE Process() const { return process_.get(); }

    HTREEITEM Root() const { return Next(TVGN_ROOT, nullptr); }
    HTREEITEM Child(HTREEITEM item) const { return Next(TVGN_CHILD, item); }
    HTREEITEM Sibling(HTREEITEM item) const { return Next(TVGN_NEXT, item); }
    HTREEITEM Parent(HTREEITEM item) const { return Next(TVGN_PARENT, item); }
    HTREEITEM Selected() const { return Next(TVGN_CARET, nullptr); }

    struct Item {
        std::string label;
        bool hasChildren = false;
        bool expanded = false;
    };
    // False when the item could not be read.
    bool Read(HTREEITEM item, Item& out) const;
    std::string Label(HTREEITEM item) const;

    void Expand(HTREEITEM item) const;
    void Select(HTREEITEM item) const;

private:
    HTREEITEM Next(UINT relation, HTREEITEM item) const;
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND tree_;
    KernelHandle process_;
    RemoteMemory memory_;
};
