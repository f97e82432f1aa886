#pragma once
#include "controls/flat_button.h"
#include "framework/owners.h"

// A caption button: a light grey rounded frame with a soft gradient, and on it
// a Marlett glyph (its text) or image 0 of its image list.
class GlyphButton final : public FlatButtonBase {
protected:
    void DoPaint(HDC dc) override;

private:
    Font glyphFont_;
    int glyphFontDpi_ = 0;  // the DPI glyphFont_ was made for
};
