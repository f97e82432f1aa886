#pragma once
// A static control turned into a link: its text drawn underlined in the
// browser's link colours, the hand cursor and a tooltip of the target over the
// text, and the target opened by a click on the text or by Enter or Space.

#include <windows.h>

#include <optional>
#include <string>

#include "controls/tooltip.h"
#include "framework/control_object.h"
#include "framework/owners.h"

class HyperLink : public ControlObject {
public:
    bool ProcessMessage(Message& m) override;

    bool SetLabel(const char* text);
    bool SetTarget(const char* text);
    void Navigate();

    // The shell's "open", else the program registered for HTML documents with
    // the target appended. The result of the last attempt.
    static INT_PTR OpenTarget(const std::string& target, int show);

    bool Visited() const { return visited_; }
    const RECT& LinkRect() const { return linkRect_; }
    COLORREF LinkColour() const { return linkColour_; }
    COLORREF VisitedColour() const { return visitedColour_; }
    HWND ToolTipWindow() const { return tooltip_.Handle(); }
    HFONT LinkFont() const { return linkFont_.get(); }

protected:
    // A tab stop that reports clicks, in the link's font and colours.
    void OnAttached() override;
    // Where Navigate sends the target.
    virtual INT_PTR Open(const std::string& target, int show) { return OpenTarget(target, show); }

private:
    void OnMouseRelay(Message& m);
    void OnMouseMove(Message& m);
    void OnSetCursor(Message& m);
    void OnLeftButtonDown(Message& m);
    void OnLeftButtonUp(Message& m);
    void OnChar(Message& m);
    void OnGetDlgCode(Message& m);
    void OnFocus(Message& m);
    void OnEnable(Message& m);
    void OnPaint(Message& m);
    void OnEraseBackground(Message& m);
    void OnSetFont(Message& m);
    void OnGetFont(Message& m);
    void OnUpdateUiState(Message& m);
    void OnDestroy(Message& m);
    void OnDpiChanged(Message& m);
    void MakeLinkFont();

    const std::string* Text() const;
    UINT Alignment() const;
    void ComputeLinkRect();
    void ShowToolTip();
    void ReadLinkColours();
    bool OverLink(LPARAM point) const;
    void Paint(HDC dc);

    std::optional<std::string> label_;
    std::optional<std::string> target_;
    HCURSOR hand_ = nullptr;
    Font linkFont_;
    HFONT normalFont_ = nullptr;  // the dialog's, not ours
    RECT linkRect_{};
    ToolTip tooltip_;
    COLORREF linkColour_ = RGB(0, 0, 255);
    COLORREF visitedColour_ = RGB(128, 0, 128);
    bool visited_ = false;

    static const MessageEntry<HyperLink> kMessages[];
};
