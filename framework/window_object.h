#pragma once
// Every window of the program is one of these objects. The virtual operations
// keep this slot order; a class adds its own after them.

#include <string>

#include "framework/message_table.h"

// Notifications a parent sends back to the child they came from.
constexpr UINT kReflectedOffset = 0x2000;

// The messages a parent reflects to the child control they concern:
// WM_COMMAND, WM_NOTIFY, WM_PARENTNOTIFY, WM_DRAWITEM, WM_MEASUREITEM,
// WM_COMPAREITEM, WM_DELETEITEM, WM_VKEYTOITEM, WM_CHARTOITEM, WM_HSCROLL,
// WM_VSCROLL and the WM_CTLCOLOR family.
bool IsReflectedMessage(UINT id);
// A reflected message number. Only ReflectToChild hands one to an object;
// one that arrives through a window procedure came from outside.
inline bool IsReflection(UINT id) { return id >= kReflectedOffset && IsReflectedMessage(id - kReflectedOffset); }

// True when the window exists and belongs to the calling thread.
bool IsWindowOfThisThread(HWND window);

// The window's whole text, in the process's code page.
std::string WindowText(HWND window);

class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    virtual ~WindowObject() = default;

    // Slot 1: the message table. True when it handled the message.
    virtual bool ProcessMessage(Message& m) = 0;
    // Slot 2: release what the object made; the window may already be gone.
    virtual void Destroy() {}
    // Slot 3: the procedure the object's window runs.
    virtual WNDPROC WindowProcedure() const = 0;
    // Slot 4: the last message the window will ever see has been processed.
    virtual void OnFinalMessage(HWND) {}

    HWND Handle() const { return window_; }

    // The object this thread made for a window, or null: windows of other
    // threads and programs have none, whatever they carry.
    static WindowObject* FromHandle(HWND window);

    // Sends a child's notification back to the child's object as message + 0x2000.
    // True when the child's table handled it. Only a child of this thread,
    // named by a notification this thread sent, is reflected to.
    static bool ReflectToChild(Message& m);

protected:
    // Fills m.notification: the one check of a WM_NOTIFY's header, as a procedure takes the message.
    static void CheckNotification(Message& m);

    void Bind(HWND window);
    void Unbind();

    HWND window_ = nullptr;
};

// Place in a parent's table: reflects the notifications of child controls
// that are window objects; a reflection the child handled ends the message.
template <class T>
constexpr MessageEntry<T> ReflectNotifications() {
    return {MessageEntry<T>::Kind::Chain, 0, 0, 0, nullptr, nullptr,
            [](T&, Message& m) { return T::ReflectToChild(m); }};
}

// The same for a control that passes every such message on afterwards, so
// its own procedure still sees it whatever the child answered.
template <class T>
constexpr MessageEntry<T> ReflectAndPassOn() {
    return {MessageEntry<T>::Kind::Chain, 0, 0, 0, nullptr, nullptr, [](T&, Message& m) {
                if (IsReflectedMessage(m.id)) T::ReflectToChild(m);
                return false;
            }};
}
