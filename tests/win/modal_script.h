#pragma once
// Drives this thread's modal dialogs from inside their own message loops: a
// thread timer runs the steps in order, one per tick. A step that is not ready
// yet (a window it waits for is not there) answers false and is asked again on
// the next tick; a step that opens a nested modal loop (a click that runs
// another dialog or a message box) is carried on by the ticks of that loop.
// Past the deadline every dialog of the thread is ended and the script fails.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    using Step = std::function<bool()>;

    explicit ModalScript(std::vector<Step> steps, std::chrono::milliseconds deadline = std::chrono::seconds(20));
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Every step ran and said it was done, before the deadline.
    bool Finished() const { return next_ == steps_.size() && !givenUp_; }
    // The step that did not finish, for failure messages.
    std::size_t StepReached() const { return next_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunNext();
    void GiveUp();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    UINT_PTR timer_ = 0;
    bool givenUp_ = false;
};

// The dialog of this thread that takes input: enabled, top of the modal stack
// (also in the moment before the dialog manager first shows it); null when
// there is none. With a caption, only such a dialog.
HWND ActiveDialog(const char* caption = nullptr);
// The text of a message box: its longest static text.
std::string MessageBoxText(HWND box);
// Posts a key message to the focus and runs what is queued through the dialog
// manager, as a modal loop does; flags are the key message's high bits.
void KeyThroughDialog(HWND dialog, UINT message, WORD key, LPARAM flags = 0);
// A key pressed and released the same way.
void PressThroughDialog(HWND dialog, WORD key);
// Clicks a dialog's button as the dialog manager reports it.
void PressButton(HWND dialog, int id);
std::string ControlText(HWND control);
