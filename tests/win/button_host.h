#pragma once
#include <windows.h>

// A parent that counts the clicks its child button reports. The button is
// taken over by the given button object.
template <class ButtonObject>
class ButtonHost {
public:
    explicit ButtonHost(const char* text = "r", int id = 1019, int width = 19, int height = 18) : id_(id) {
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "BrisqButtonHost";
        RegisterClassA(&type);
        parent_ = CreateWindowExA(0, "BrisqButtonHost", "host", WS_POPUP | WS_VISIBLE, 100, 100, 200, 80, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        // The class is shared by every kind of host; each counts with its own procedure.
        SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
        HWND control = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 20, 20,
                                       width, height, parent_, HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
        button.Attach(control);
    }
    ~ButtonHost() { DestroyWindow(parent_); }
    ButtonHost(const ButtonHost&) = delete;
    ButtonHost& operator=(const ButtonHost&) = delete;

    HWND Button() const { return button.Handle(); }
    HWND Parent() const { return parent_; }

    // Mouse messages as the system sends them, in the button's client coordinates.
    void Press(int x = 5, int y = 5) { Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    void Move(int x, int y) { Send(WM_MOUSEMOVE, GetCapture() ? MK_LBUTTON : 0, x, y); }
    void Release(int x = 5, int y = 5) { Send(WM_LBUTTONUP, 0, x, y); }
    void Leave() { SendMessageA(Button(), WM_MOUSELEAVE, 0, 0); }

    ButtonObject button;
    int clicks = 0;
    int otherCommands = 0;

private:
    void Send(UINT id, WPARAM keys, int x, int y) { SendMessageA(Button(), id, keys, MAKELPARAM(x, y)); }

    static LRESULT CALLBACK Procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ButtonHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && id == WM_COMMAND) {
            bool click = LOWORD(wParam) == self->id_ && HIWORD(wParam) == BN_CLICKED &&
                         reinterpret_cast<HWND>(lParam) == self->Button();
            (click ? self->clicks : self->otherCommands)++;
            return 0;
        }
        return DefWindowProcA(window, id, wParam, lParam);
    }

    int id_;
    HWND parent_;
};
