#pragma once
// A static control drawn as a thin 3-D line across its middle, raised or sunken.

#include "framework/control_object.h"

class SeparatorLine final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override;

    void SetRaised(bool raised) { raised_ = raised; }
    bool Raised() const { return raised_; }
    void Paint(HDC dc);

private:
    void OnPaint(Message& m);

    bool raised_ = false;
    int verticalHalfThickness_ = 1;
    int horizontalHalfThickness_ = 1;

    static const MessageEntry<SeparatorLine> kMessages[];
};
