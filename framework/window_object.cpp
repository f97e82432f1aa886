#include "framework/window_object.h"

#include <windowsx.h>

#include <cstdint>
#include <unordered_map>
#include <utility>

namespace {
// Where the child a reflected message concerns is named.
enum class ChildIn { LParam, Header, ParentNotify, DrawItem, MeasureItem, CompareItem, DeleteItem };

struct Reflected {
    UINT id;
    ChildIn child;
};

// The one list of reflected messages: parents reflect these, children answer them.
const Reflected kReflected[] = {
    {WM_COMMAND, ChildIn::LParam},          {WM_NOTIFY, ChildIn::Header},
    {WM_PARENTNOTIFY, ChildIn::ParentNotify}, {WM_DRAWITEM, ChildIn::DrawItem},
    {WM_MEASUREITEM, ChildIn::MeasureItem}, {WM_COMPAREITEM, ChildIn::CompareItem},
    {WM_DELETEITEM, ChildIn::DeleteItem},   {WM_VKEYTOITEM, ChildIn::LParam},
    {WM_CHARTOITEM, ChildIn::LParam},       {WM_HSCROLL, ChildIn::LParam},
    {WM_VSCROLL, ChildIn::LParam},          {WM_CTLCOLORMSGBOX, ChildIn::LParam},
    {WM_CTLCOLOREDIT, ChildIn::LParam},     {WM_CTLCOLORLISTBOX, ChildIn::LParam},
    {WM_CTLCOLORBTN, ChildIn::LParam},      {WM_CTLCOLORDLG, ChildIn::LParam},
    {WM_CTLCOLORSCROLLBAR, ChildIn::LParam}, {WM_CTLCOLORSTATIC, ChildIn::LParam},
};

const Reflected* FindReflected(UINT id) {
    for (const Reflected& reflected : kReflected)
        if (reflected.id == id) return &reflected;
    return nullptr;
}

// Committed, unguarded pages all the way, with one of the protections asked for.
bool IsCommittedMemory(const void* address, std::size_t size, bool writable) {
    // Integer addresses: the overflow test must not be one the compiler may assume away.
    const auto start = reinterpret_cast<std::uintptr_t>(address);
    if (!start || size == 0 || start + size < start) return false;
    const std::uintptr_t end = start + size;
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const DWORD writes = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    for (std::uintptr_t at = start; at < end;) {
        MEMORY_BASIC_INFORMATION region;
        if (VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof(region)) != sizeof(region) ||
            region.State != MEM_COMMIT)
            return false;
        if (!(region.Protect & (writable ? writes : readable)) || (region.Protect & PAGE_GUARD)) return false;
        const std::uintptr_t next = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= at) return false;
        at = next;
    }
    return true;
}
}  // namespace

bool IsReadableMemory(const void* address, std::size_t size) { return IsCommittedMemory(address, size, false); }
bool IsWritableMemory(const void* address, std::size_t size) { return IsCommittedMemory(address, size, true); }

namespace {
// A structure named by lParam, when it can be read.
template <class Struct>
const Struct* StructureOf(const Message& m) {
    const auto* structure = reinterpret_cast<const Struct*>(m.lParam);
    return IsReadableMemory(structure, sizeof(Struct)) ? structure : nullptr;
}

HWND ChildOf(const Message& m) {
    const Reflected* reflected = FindReflected(m.id);
    if (!reflected) return nullptr;
    HWND child = nullptr;
    switch (reflected->child) {
    case ChildIn::LParam: child = reinterpret_cast<HWND>(m.lParam); break;
    case ChildIn::Header:
        if (const NMHDR* header = m.notification) child = header->hwndFrom;
        break;
    case ChildIn::ParentNotify:
        if (LOWORD(m.wParam) == WM_CREATE || LOWORD(m.wParam) == WM_DESTROY) {
            child = reinterpret_cast<HWND>(m.lParam);
        } else {  // a click: the child under it, in the parent's client coordinates
            POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
            child = ChildWindowFromPointEx(m.window, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        }
        break;
    // With a zero control id these concern a menu, not a child.
    case ChildIn::DrawItem:
        if (const auto* item = m.wParam ? StructureOf<DRAWITEMSTRUCT>(m) : nullptr) child = item->hwndItem;
        break;
    case ChildIn::MeasureItem:
        if (const auto* item = m.wParam ? StructureOf<MEASUREITEMSTRUCT>(m) : nullptr)
            child = GetDlgItem(m.window, int(item->CtlID));
        break;
    case ChildIn::CompareItem:
        if (const auto* item = m.wParam ? StructureOf<COMPAREITEMSTRUCT>(m) : nullptr) child = item->hwndItem;
        break;
    case ChildIn::DeleteItem:
        if (const auto* item = m.wParam ? StructureOf<DELETEITEMSTRUCT>(m) : nullptr) child = item->hwndItem;
        break;
    }
    return child != m.window && IsWindowOfThisThread(child) ? child : nullptr;
}

// A real notification is sent by a control of this thread; none is ever
// posted. Another program can post one, with an address of its own, and the
// system delivers it: such a post to one of this thread's objects is emptied
// before it is dispatched. Posts to other windows (message boxes, the file
// dialog and what the shell puts in it) are left alone, and the system itself
// refuses to post the other messages that carry a structure.
LRESULT CALLBACK DropPostedNotifications(int code, WPARAM removal, LPARAM data) {
    if (code == HC_ACTION) {
        MSG& posted = *reinterpret_cast<MSG*>(data);
        if (posted.message == WM_NOTIFY && WindowObject::FromHandle(posted.hwnd)) posted.message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, data);
}

// The objects this thread made, by window, and the guard on its queue while
// it has any. Kept in the process: a window property can be set from outside.
// Reached through a plain pointer, made with the first object and freed with
// the last: this runtime frees thread storage before running destructors of
// thread_local objects.
struct ThreadObjects {
    std::unordered_map<HWND, WindowObject*> byWindow;
    HHOOK guard = nullptr;
};

thread_local ThreadObjects* thisThread = nullptr;
}  // namespace

void WindowObject::CheckNotification(Message& m) {
    m.notification = nullptr;
    if (m.id != WM_NOTIFY && m.id != WM_NOTIFY + kReflectedOffset) return;
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (IsReadableMemory(header, sizeof(NMHDR)) && IsWindowOfThisThread(header->hwndFrom)) m.notification = header;
}

bool IsReflectedMessage(UINT id) { return FindReflected(id) != nullptr; }

bool IsWindowOfThisThread(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(std::size_t(length) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(std::size_t(got > 0 ? got : 0));
    return text;
}

WindowObject* WindowObject::FromHandle(HWND window) {
    if (!window || !thisThread) return nullptr;
    auto found = thisThread->byWindow.find(window);
    return found == thisThread->byWindow.end() ? nullptr : found->second;
}

void WindowObject::Bind(HWND window) {
    if (!thisThread) {
        thisThread = new ThreadObjects;
        thisThread->guard = SetWindowsHookExA(WH_GETMESSAGE, DropPostedNotifications, nullptr, GetCurrentThreadId());
    }
    window_ = window;
    thisThread->byWindow[window] = this;
}

void WindowObject::Unbind() {
    HWND window = std::exchange(window_, nullptr);
    if (!thisThread) return;
    auto found = thisThread->byWindow.find(window);
    if (found != thisThread->byWindow.end() && found->second == this) thisThread->byWindow.erase(found);
    if (thisThread->byWindow.empty()) {
        if (thisThread->guard) UnhookWindowsHookEx(thisThread->guard);
        delete std::exchange(thisThread, nullptr);
    }
}

bool WindowObject::ReflectToChild(Message& m) {
    HWND child = ChildOf(m);
    WindowObject* object = FromHandle(child);
    if (!object) return false;
    Message reflected{child, m.id + kReflectedOffset, m.wParam, m.lParam};
    reflected.notification = m.notification;
    if (!object->ProcessMessage(reflected)) return false;
    m.result = reflected.result;
    return true;
}
