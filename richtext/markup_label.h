#pragma once
// A static control that draws its window text as markup: bold, italic and
// underlined spans, font colour, size and face, alignment, line breaks,
// entities and word wrap. The text stays the window's own; the display list
// made from it is kept until the text, the colours, the font or the size change.

#include <vector>

#include "richtext/markup_layout.h"
#include "framework/control_object.h"
#include "framework/owners.h"

class MarkupLabel final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override;

    void Paint(HDC dc);
    const MarkupLayout& Layout() const { return layout_; }

private:
    void OnSetText(Message& m);
    void OnPaint(Message& m);
    void OnEraseBackground(Message& m);
    void OnGetObject(Message& m);

    // Lays the text out again if anything it depends on changed.
    void UpdateLayout(HDC dc, const std::string& text, const RECT& client);

    MarkupLayout layout_;
    std::vector<Font> fonts_;  // one per entry of the layout's font table

    static const MessageEntry<MarkupLabel> kMessages[];
};

// The layout's device on a GDI device context: fonts go into the caller's
// table, pieces are drawn with DrawTextA up to the client's right and bottom edges.
class GdiMarkupDevice final : public MarkupDevice {
public:
    GdiMarkupDevice(HDC dc, std::vector<Font>& fonts, const RECT& client) : dc_(dc), fonts_(fonts), client_(client) {}

    void ClearFonts() override { fonts_.clear(); }
    int AddFont(const FontDescription& description) override;
    void SelectStyle(const MarkupStyle& style) override;
    TextSize Measure(std::string_view text) override;
    void Draw(int x, int y, std::string_view text, std::int32_t alignment) override;

private:
    HDC dc_;
    std::vector<Font>& fonts_;
    RECT client_;
};

// The system's answers: its code page, CharUpperBuffA and IsCharAlphaNumericA.
const MarkupCharacters& SystemMarkupCharacters();

FontDescription DescribeFont(const LOGFONTA& font);
LOGFONTA LogicalFont(const FontDescription& description);
MarkupRect ToMarkupRect(const RECT& rect);
