#pragma once
// An owner-drawn flat push button: hover tracking, pressing with the mouse or
// the keyboard, click notification, a focus cue, optional tooltip and image
// list. Derived classes draw. Every button of the program works in hover mode:
// lit while the mouse is over it.

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>

#include "controls/tooltip.h"
#include "framework/control_object.h"
#include "framework/owners.h"

class FlatButtonBase : public ControlObject {
public:
    bool ProcessMessage(Message& m) override;

    bool SetToolTipText(const char* text);
    // What a screen reader calls the button; without one, its tooltip text does.
    void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
    // The picture designed size x size pixels, as drawn for the button's DPI.
    bool SetImageFromBitmap(int size, int bitmapId, COLORREF maskColour);
    // The DPI the button draws at; the picture is chosen again when it changes.
    void SetDpi(int dpi);
    int Dpi() const { return dpi_; }

    bool Pressed() const { return pressed_; }
    bool MouseOver() const { return mouseOver_; }
    // Made with the first tooltip text.
    HWND ToolTipWindow() const { return tooltip_.Handle(); }

protected:
    // Makes the button owner-drawn, at its window's DPI.
    void OnAttached() override;
    virtual void DoPaint(HDC dc) = 0;
    void Repaint();

    HIMAGELIST Images() const { return imageList_.get(); }
    int ImageWidth() const { return imageWidth_; }
    int ImageHeight() const { return imageHeight_; }

private:
    void OnDestroy(Message& m);
    void OnMouseRelay(Message& m);
    void OnEraseBackground(Message& m);
    void OnPaint(Message& m);
    void OnFocus(Message& m);
    void OnLeftButtonDown(Message& m);
    void OnLeftButtonDoubleClick(Message& m);
    void OnLeftButtonUp(Message& m);
    void OnCaptureChanged(Message& m);
    void OnEnable(Message& m);
    void OnMouseMove(Message& m);
    void OnMouseLeave(Message& m);
    void OnKeyDown(Message& m);
    void OnKeyUp(Message& m);
    void OnChar(Message& m);
    void OnGetDlgCode(Message& m);
    void OnGetObject(Message& m);
    void OnUpdateUiState(Message& m);
    void OnDpiChanged(Message& m);
    bool BuildImageList();

    void Click();
    // The dotted focus rectangle, while the button has the focus and keyboard cues show.
    void DrawFocusCue(HDC dc);
    bool HasCapture() const { return GetCapture() == window_; }

    ImageList imageList_;
    ToolTip tooltip_;
    std::optional<std::string> tooltipText_;
    std::string accessibleName_;
    bool mouseOver_ = false;
    bool focused_ = false;
    bool pressed_ = false;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int dpi_ = 96;
    struct Picture {
        int size, bitmapId;
        COLORREF mask;
    };
    std::optional<Picture> picture_;

    static const MessageEntry<FlatButtonBase> kMessages[];
};
