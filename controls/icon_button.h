#pragma once
#include "controls/flat_button.h"

// A small flat button with a 16 x 16 picture: the skin's gradient and frame
// while the pointer is over it or it is held down, and the picture raised
// above its own shadow while the pointer is over it. Draws its caption when
// it has no picture.
class IconButton final : public FlatButtonBase {
protected:
    void DoPaint(HDC dc) override;

private:
    void DrawImage(HDC dc, const RECT& client, bool hot, bool enabled);
    void DrawCaption(HDC dc, RECT client, bool hot);
};
