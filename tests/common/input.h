#pragma once
// Keyboard and pointer input that takes the path a user's devices take.
//
// Under Wine, input injected with SendInput never reaches the X server, and
// Wine brings its key state in line with the X server's whenever one of its X
// windows gains the keyboard focus. A modifier pressed through SendInput is
// then let go behind the test's back: a hot key pressed just after a window
// showed arrived without its Ctrl. And a pointer moved through SendInput is
// warped on the X server, whose echo of the move comes back later as a second,
// stale pointer event.
//
// So modifiers and pointer moves go through the X server (xdotool, driving its
// test extension), and every step waits until Wine has seen it. A key pressed
// through X goes to the thread of the window the X server gives the keyboard
// to, which need not be the foreground one; that does not matter for a hot key,
// which the system matches against the desktop's key state. Text that needs
// Shift is typed as characters, so it needs no modifier at all. Plain keys and
// the mouse button use SendInput: after a press and release through the X
// server, seen in full runs, no window started later came to the front (the
// foreground stayed empty for the rest of the run), and another process's
// GetAsyncKeyState never saw the press that the window under it handled.
// Without an X server (on Windows) everything uses SendInput.
#include <windows.h>

#include <string>

namespace testkit {

// Presses and releases one key, without modifiers.
void PressKey(WORD virtualKey);
// Holds a modifier (VK_SHIFT, VK_CONTROL, VK_MENU) down until LetGoKey; true once Wine sees it down.
bool HoldKey(WORD modifier);
// True once Wine sees it up.
bool LetGoKey(WORD modifier);
// A combination like Ctrl+R: the modifier held while the key is pressed. True when every step was seen.
bool PressChord(WORD modifier, WORD key);
// Types UTF-8 text: plain keys, and the characters that need a modifier or
// have no key as characters.
void TypeText(const std::string& text);

// Moves the real pointer; true once it is there.
bool MovePointer(POINT screen);
// Presses the left button where the pointer is; true once the system has it
// down. The caller waits for what the press does.
bool PressLeftButton();
// Lets the left button go and puts the pointer to rest; true once it is there.
bool ReleaseLeftButtonAndPark();
// Where the pointer rests between tests: a corner no window of the tests covers,
// so windows that appear or vanish never pass under it.
POINT PointerRest();
bool ParkPointer();

}  // namespace testkit
