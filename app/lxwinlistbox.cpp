#include "lxwinlistbox.h"
#include "jlistbox.h"
#include "settings.h"
#include <algorithm>

namespace {
const wchar_t kUnicodeFace[] = L"Lucida Sans Unicode";
// The property by which the skin engine keeps a window's skinned scroll bars.
const wchar_t kSkinnedScrollBarsProp[] = L"SkinSBSubclassPtr";

// Whether a scroll bar looks the same in both states: place, thumb and the states of its parts.
bool sameLook(const SCROLLBARINFO& a, const SCROLLBARINFO& b) {
    return EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.xyThumbTop == b.xyThumbTop &&
           a.xyThumbBottom == b.xyThumbBottom && std::equal(a.rgstate, a.rgstate + CCHILDREN_SCROLLBAR + 1, b.rgstate);
}
}

LXWinListBox::LXWinListBox(JListBox* host, LXDataManager* dm, const LXLRectangle& rect)
    : LXListBox(dm, rect), host_(host) {
    setStyle(0);
    setColor(1);
}

LXWinListBox::~LXWinListBox() { dropFonts(); }

void LXWinListBox::dropFonts() {
    // font_ is one of the cached fonts.
    for (auto& f : fonts_) DeleteObject(f.second.font);
    fonts_.clear();
    current_ = nullptr;
    widths_.clear();
    font_ = nullptr;
}

HWND LXWinListBox::window() const {
    HWND w = host_ ? host_->hwnd() : nullptr;
    return w && IsWindow(w) ? w : nullptr;
}

COLORREF LXWinListBox::paletteColor(LXLColor type) {
    // By colour, as 0x00BBGGRR; background and text (and any colour past the table) are black.
    static const COLORREF kPalette[] = {
        0x000000, 0x000000,  // LXLColorBackground, LXLColorText
        0xFF0000,            // LXLColorFrame
        0x400080,            // 3
        0x4000C0,            // LXLColorAccent
        0x828282,            // LXLColorLabel
        0x961E96,            // LXLColorAccentHighlight
        0x1EE61E,            // LXLColorFrameHighlight
        0xC8C8C8,            // LXLColorSelection
    };
    static_assert(sizeof kPalette / sizeof kPalette[0] == LXLColorSelection + 1, "one entry per colour");
    return type <= LXLColorSelection ? kPalette[type] : 0x000000;
}

int LXWinListBox::styledSize(uint32_t style, int tenths) {
    if ((style & LXLStyleSmaller) && tenths > 10) return tenths - 10;
    if (!(style & LXLStyleSmaller) && (style & LXLStyleSmallest) && tenths > 20) return tenths - 20;
    return tenths;
}

LOGFONTW LXWinListBox::styledFont(uint32_t style, int tenths, const std::wstring& face) {
    LOGFONTW lf{};
    lf.lfHeight = styledSize(style, tenths);
    if (style & LXLStyleBold) lf.lfWeight = FW_BOLD;
    if (style & LXLStyleItalic) lf.lfItalic = TRUE;
    if (style & LXLStyleUnderline) lf.lfUnderline = TRUE;
    lstrcpynW(lf.lfFaceName, (style & LXLStyleUnicode) ? kUnicodeFace : face.c_str(), LF_FACESIZE);
    return lf;
}

HFONT LXWinListBox::createPointFont(const LOGFONTW& tenthsFont) const {
    // lfHeight holds tenths of a point; the screen's resolution turns it into pixels.
    LOGFONTW lf = tenthsFont;
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(tenthsFont.lfHeight, GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    return CreateFontIndirectW(&lf);
}

void LXWinListBox::setStyle(uint32_t flags) {
    style_ = flags;
    // One font per style, kept until the size or face changes: the layout switches styles
    // at every headword.
    auto it = fonts_.find(flags);
    if (it == fonts_.end())
        it = fonts_.emplace(flags, StyledFont{createPointFont(styledFont(flags, size_, face_)), -1}).first;
    current_ = &it->second;
    font_ = current_->font;
}

void LXWinListBox::setColor(LXLColor color) {
    colorType_ = color;
    textColor_ = paletteColor(color);
    if (HWND w = window()) {
        HDC dc = GetDC(w);
        SetTextColor(dc, textColor_);
        ReleaseDC(w, dc);
    }
}

void LXWinListBox::getScrollBarInfo(int32_t& value, int32_t& min, int32_t& max, int32_t& page) {
    value = min = max = page = 0;
    HWND w = window();
    if (!w) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(w, SB_VERT, &si)) return;
    value = si.nPos;
    min = si.nMin;
    max = si.nMax;
    page = static_cast<int32_t>(si.nPage);
}

void LXWinListBox::setScrollBarInfo(int32_t value, int32_t min, int32_t max, int32_t) {
    HWND w = window();
    if (!w) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(w, SB_VERT, &si)) return;
    // Repainting the bar costs more than drawing the whole list's text under Wine, so it is
    // repainted only when what it shows changes: the same values again, or a position that
    // leaves the thumb on the same pixels (a line's scroll in a large dictionary), are not.
    if (si.nPos == value && si.nMin == min && si.nMax == max && si.nPage == 1) return;
    // A skinned bar draws itself; its thumb need not sit where the system's would.
    const bool skinned = GetPropW(w, kSkinnedScrollBarsProp) != nullptr;
    SCROLLBARINFO shown{};
    shown.cbSize = sizeof shown;
    const bool known = GetScrollBarInfo(w, OBJID_VSCROLL, &shown) != 0;
    si.fMask = SIF_ALL;
    si.nPos = value;
    si.nMin = min;
    si.nMax = max;
    si.nPage = 1;  // the bar's page stays one step whatever the model's page is
    SetScrollInfo(w, SB_VERT, &si, FALSE);
    SCROLLBARINFO now{};
    now.cbSize = sizeof now;
    if (!skinned && known && GetScrollBarInfo(w, OBJID_VSCROLL, &now) && sameLook(shown, now)) return;
    SetScrollInfo(w, SB_VERT, &si, TRUE);
}

void LXWinListBox::eraseBackground() { paintRect(getRect(), 0, false); }

// Colour 0 is the window's own background colour.
void LXWinListBox::paintRect(const LXLRectangle& rect, LXLColor color, bool frameOnly) {
    HWND w = window();
    if (!w) return;
    HDC dc = GetDC(w);
    RECT r = toRect(rect);
    HBRUSH b = CreateSolidBrush(color == 0 ? GetBkColor(dc) : paletteColor(color));
    if (frameOnly)
        FrameRect(dc, &r, b);
    else
        FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(w, dc);
}

void LXWinListBox::fillRect(const LXLRectangle& rect, LXLColor color) { paintRect(rect, color, false); }

void LXWinListBox::frameRect(const LXLRectangle& rect, LXLColor color) { paintRect(rect, color, true); }

int32_t LXWinListBox::getCharWidth(uint32_t cp) {
    HWND w = window();
    if (!w) return 0;
    // Widths depend only on the font, that is on the style while size and face stay.
    uint64_t key = (static_cast<uint64_t>(style_) << 32) | cp;
    auto known = widths_.find(key);
    if (known != widths_.end()) return known->second;
    HDC dc = GetDC(w);
    if (!dc) return 0;
    HGDIOBJ old = SelectObject(dc, font_);
    wchar_t units[2];
    int n = utf16Units(cp, units);
    SIZE s{0, 0};
    GetTextExtentPoint32W(dc, units, n, &s);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    widths_.emplace(key, s.cx);
    return s.cx;
}

void LXWinListBox::drawString(const lxstring& text, int32_t x, int32_t y, int background) {
    if (text.size() == 0) return;
    HWND w = window();
    if (!w) return;
    HDC dc = GetDC(w);
    if (!dc) return;
    COLORREF savedBk = 0;
    if (background != 0) savedBk = SetBkColor(dc, paletteColor(static_cast<LXLColor>(background)));
    HGDIOBJ old = SelectObject(dc, font_);
    SetTextColor(dc, textColor_);
    if (current_->ascent < 0) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        current_->ascent = tm.tmAscent;
    }
    // Runs in different fonts on one line share the baseline.
    RECT r;
    r.left = x;
    r.top = y + baseline_ - current_->ascent;
    r.right = x + 10000;
    r.bottom = r.top + 10000;
    std::wstring s;
    for (wchar_t c : fromEngineString(text)) {
        s += c;
        if (c == L'&') s += L'&';
    }
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_NOCLIP);
    if (background != 0) SetBkColor(dc, savedBk);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
}

void LXWinListBox::setFont(int tenths, const std::wstring& face) {
    size_ = tenths;
    face_ = face;
    dropFonts();
    setStyle(0);
    HWND w = window();
    HDC dc = w ? GetDC(w) : nullptr;
    if (!dc) {
        baseline_ = 0;
        setLineHeight(0);
    } else {
        HGDIOBJ old = SelectObject(dc, font_);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        int base = tm.tmAscent, line = tm.tmAscent + tm.tmDescent;
        // The Unicode face draws the super- and subscript digits; the line must hold it too.
        HFONT uni = createPointFont(styledFont(LXLStyleUnicode, size_, face_));
        SelectObject(dc, uni);
        GetTextMetricsW(dc, &tm);
        base = std::max<int>(base, tm.tmAscent);
        line = std::max<int>(line, tm.tmAscent + tm.tmDescent);
        SelectObject(dc, old);
        DeleteObject(uni);
        ReleaseDC(w, dc);
        baseline_ = base;
        setLineHeight(line + 2);
    }
    clearSelection();
    fillScreenBuffer();
    refresh();
}

HFONT LXWinListBox::font() {
    setStyle(0);
    return font_;
}
