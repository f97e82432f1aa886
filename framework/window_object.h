#pragma once
// Every window of the program is one of these objects. The virtual operations
// keep this slot order; a class adds its own after them.

#include "framework/message_table.h"

// Notifications a parent sends back to the child they came from.
constexpr UINT kReflectedOffset = 0x2000;

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

    // The object behind a window of this program, or null.
    static WindowObject* FromHandle(HWND window);

    // Sends a child's notification back to the child's object as message + 0x2000.
    // True when the child's table handled it.
    static bool ReflectToChild(Message& m);

protected:
    void Bind(HWND window);
    void Unbind();

    HWND window_ = nullptr;
};

// Place in a parent's table: reflects WM_COMMAND, WM_NOTIFY and the owner-draw
// and colour messages of child controls that are window objects.
template <class T>
constexpr MessageEntry<T> ReflectNotifications() {
    return {MessageEntry<T>::Kind::Chain, 0, 0, 0, nullptr, nullptr,
            [](T&, Message& m) { return T::ReflectToChild(m); }};
}
