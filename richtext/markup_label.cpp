#include "richtext/markup_label.h"

#include <cstring>
#include <string>

#include "framework/dpi.h"
#include "framework/accessible_name.h"
#include "text/system_code_page.h"

namespace {
class SystemCharacters final : public MarkupCharacters {
public:
    const CodePage& Page() const override { return SystemCodePage(); }
    void Upper(std::string& text) const override {
        if (!text.empty()) CharUpperBuffA(text.data(), DWORD(text.size()));
    }
    bool IsAlphaNumeric(unsigned char byte) const override { return IsCharAlphaNumericA(CHAR(byte)) != FALSE; }
};
}  // namespace

const MarkupCharacters& SystemMarkupCharacters() {
    static const SystemCharacters characters;
    return characters;
}

FontDescription DescribeFont(const LOGFONTA& font) {
    FontDescription d;
    d.height = font.lfHeight;
    d.width = font.lfWidth;
    d.escapement = font.lfEscapement;
    d.orientation = font.lfOrientation;
    d.weight = font.lfWeight;
    d.italic = font.lfItalic;
    d.underline = font.lfUnderline;
    d.strikeOut = font.lfStrikeOut;
    d.charSet = font.lfCharSet;
    d.outPrecision = font.lfOutPrecision;
    d.clipPrecision = font.lfClipPrecision;
    d.quality = font.lfQuality;
    d.pitchAndFamily = font.lfPitchAndFamily;
    static_assert(sizeof(d.faceName) == sizeof(font.lfFaceName));
    std::memcpy(d.faceName, font.lfFaceName, sizeof(d.faceName));
    return d;
}

LOGFONTA LogicalFont(const FontDescription& d) {
    LOGFONTA font{};
    font.lfHeight = d.height;
    font.lfWidth = d.width;
    font.lfEscapement = d.escapement;
    font.lfOrientation = d.orientation;
    font.lfWeight = d.weight;
    font.lfItalic = d.italic;
    font.lfUnderline = d.underline;
    font.lfStrikeOut = d.strikeOut;
    font.lfCharSet = d.charSet;
    font.lfOutPrecision = d.outPrecision;
    font.lfClipPrecision = d.clipPrecision;
    font.lfQuality = d.quality;
    font.lfPitchAndFamily = d.pitchAndFamily;
    std::memcpy(font.lfFaceName, d.faceName, sizeof(font.lfFaceName));
    font.lfFaceName[sizeof(font.lfFaceName) - 1] = '\0';
    return font;
}

MarkupRect ToMarkupRect(const RECT& rect) { return MarkupRect{rect.left, rect.top, rect.right, rect.bottom}; }

int GdiMarkupDevice::AddFont(const FontDescription& description) {
    LOGFONTA logical = LogicalFont(description);
    Font font(CreateFontIndirectA(&logical));
    if (font) SelectObject(dc_, font.get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc_, &metrics);
    fonts_.push_back(std::move(font));  // kept even when empty, so indices match the table
    return metrics.tmHeight;
}

void GdiMarkupDevice::SelectStyle(const MarkupStyle& style) {
    if (style.font >= 0 && std::size_t(style.font) < fonts_.size() && fonts_[std::size_t(style.font)])
        SelectObject(dc_, fonts_[std::size_t(style.font)].get());
    SetTextColor(dc_, style.text);
    SetBkColor(dc_, style.background);
}

TextSize GdiMarkupDevice::Measure(std::string_view text) {
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), int(text.size()), &size);
    return TextSize{size.cx, size.cy};
}

void GdiMarkupDevice::Draw(int x, int y, std::string_view text, std::int32_t alignment) {
    RECT piece{x, y, client_.right, client_.bottom};
    DrawTextA(dc_, text.data(), int(text.size()), &piece, DT_SINGLELINE | DT_NOPREFIX | UINT(alignment));
}

const MessageEntry<MarkupLabel> MarkupLabel::kMessages[] = {
    OnMessage(WM_SETTEXT, &MarkupLabel::OnSetText),
    OnMessage(WM_PAINT, &MarkupLabel::OnPaint),
    OnMessage(WM_PRINTCLIENT, &MarkupLabel::OnPaint),
    OnMessage(WM_ERASEBKGND, &MarkupLabel::OnEraseBackground),
    OnMessage(WM_GETOBJECT, &MarkupLabel::OnGetObject),
};

bool MarkupLabel::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void MarkupLabel::OnSetText(Message& m) {
    m.result = CallPrevious(m);
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

void MarkupLabel::OnPaint(Message& m) {
    PaintDc dc(window_, reinterpret_cast<HDC>(m.wParam));
    if (dc.get()) Paint(dc.get());
    m.result = 0;
}

// Painting fills the background itself.
void MarkupLabel::OnEraseBackground(Message& m) { m.result = 1; }

// A screen reader reads the text as it shows, not its markup.
void MarkupLabel::OnGetObject(Message& m) {
    std::string text = WindowText(window_);
    RECT client{};
    GetClientRect(window_, &client);
    WindowDc dc(window_);
    if (!dc.get()) {
        m.handled = false;
        return;
    }
    int saved = SaveDC(dc.get());
    UpdateLayout(dc.get(), text, client);
    RestoreDC(dc.get(), saved);
    m.handled = AnswerAccessibleName(m, layout_.PlainText(text));
}

void MarkupLabel::Paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    std::string text = WindowText(window_);
    int saved = SaveDC(dc);
    UpdateLayout(dc, text, client);
    Brush brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &client, brush.get());
    SetBkMode(dc, TRANSPARENT);
    GdiMarkupDevice device(dc, fonts_, client);
    layout_.Replay(text, ToMarkupRect(client), SystemCodePage(), device);
    RestoreDC(dc, saved);
}

void MarkupLabel::UpdateLayout(HDC dc, const std::string& text, const RECT& client) {
    COLORREF textColour = GetSysColor(COLOR_BTNTEXT), background = GetSysColor(COLOR_BTNFACE);
    auto baseFont = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    MarkupCacheKey key{ToMarkupRect(client), textColour, background, std::uint64_t(reinterpret_cast<UINT_PTR>(baseFont)),
                       MarkupTextHash(text), text.size(), WindowDpi(window_)};
    if (layout_.NeedsLayout(key)) {
        GdiMarkupDevice device(dc, fonts_, client);
        LOGFONTA base{};
        GetObjectA(baseFont ? static_cast<HGDIOBJ>(baseFont) : GetStockObject(SYSTEM_FONT), sizeof(base), &base);
        MarkupColours colours{textColour,
                              background,
                              GetSysColor(COLOR_WINDOW),
                              GetSysColor(COLOR_WINDOWTEXT),
                              GetSysColor(COLOR_BTNFACE),
                              GetSysColor(COLOR_BTNTEXT)};
        layout_.Layout(text, key, DescribeFont(base), colours, SystemMarkupCharacters(), device);
    }
}
