// The header, rebar, status-bar and control-bar skinners (Windows).
#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "bar_layout.h"
#include "bar_skinners.h"
#include "control_paint.h"
#include "skin_codes.h"
#include "skin_draw.h"

namespace {

constexpr int kHeaderTextChars = 100;
constexpr int kBandTextChars = 200;
constexpr UINT kHeaderTextFormat = DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
constexpr UINT kBandTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;
constexpr UINT kPanelTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
constexpr WPARAM kSimplePart = SB_SIMPLEID;

#ifdef REBARBANDINFOW_V6_SIZE
const UINT kBandInfoSize = REBARBANDINFOW_V6_SIZE;
#else
constexpr UINT kBandInfoSize = sizeof(REBARBANDINFOW);
#endif

// The background every bar starts from: its image on the button face.
void paintBarBackground(HDC dc, const TextStyleObject &def, const RECT &client, COLORREF under)
{
    skinFillRect(dc, client, under);
    skinDrawNineGrid(def.owner(), dc, client, def.frame, under, kSkinNoFill, false);
}

UINT headerAlignmentFormat(int format)
{
    switch (headerTextAlignment(static_cast<uint32_t>(format))) {
    case kHeaderAlignCentre: return DT_CENTER;
    case kHeaderAlignRight: return DT_RIGHT;
    default: return DT_LEFT;
    }
}

// Starts a bar's paint: its background over the client area, the control's font, transparent
// text. The font stays selected while the selection lives.
class BarPaint {
public:
    BarPaint(HWND bar, HDC dc, const TextStyleObject &def, COLORREF under) : font_(bar, dc)
    {
        GetClientRect(bar, &client);
        paintBarBackground(dc, def, client, under);
        SetBkMode(dc, TRANSPARENT);
    }
    RECT client{};

private:
    ControlFontSelection font_;
};

void drawText(HDC dc, const std::wstring &text, RECT room, COLORREF color, UINT format)
{
    if (text.empty()) return;
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room, format);
}

}  // namespace

// ---- HeaderSkinner

HeaderSkinner::HeaderSkinner(WindowSkinner *container) : ControlSkinner(kSkinHeader, container) {}

void HeaderSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<HeaderDefinition *>(definition_);
    if (def == nullptr) return;
    BarPaint start(window_, dc, *def, GetSysColor(COLOR_BTNFACE));
    const int count = static_cast<int>(SendMessageW(window_, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[kHeaderTextChars + 1] = L"";
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = kHeaderTextChars + 1;
        RECT r{};
        if (!SendMessageW(window_, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)) ||
            !SendMessageW(window_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
            continue;
        skinDrawNineGrid(def->owner(), dc, r, def->item, def->bgColor, kSkinNoFill, false);
        const RECT room = toRECT(insideMargins(toSkinRect(r), def->textMargins.left, def->textMargins.right));
        drawText(dc, text, room, def->textColor, kHeaderTextFormat | headerAlignmentFormat(item.fmt));
    }
}

// ---- RebarSkinner

RebarSkinner::RebarSkinner(WindowSkinner *container) : ControlSkinner(kSkinRebar, container) {}

void RebarSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<RebarDefinition *>(definition_);
    if (def == nullptr) return;
    BarPaint start(window_, dc, *def, GetSysColor(COLOR_BTNFACE));
    const int count = static_cast<int>(SendMessageW(window_, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!SendMessageW(window_, RB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
        skinDrawNineGrid(def->owner(), dc, r, def->band, def->bgColor, kSkinNoFill, false);
        wchar_t text[kBandTextChars + 1] = L"";
        REBARBANDINFOW band{};
        band.cbSize = kBandInfoSize;
        band.fMask = RBBIM_TEXT;
        band.lpText = text;
        band.cch = kBandTextChars + 1;
        if (!SendMessageW(window_, RB_GETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band))) continue;
        const SkinRect &m = def->band.margins;
        const RECT room{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom};
        drawText(dc, text, room, def->textColor, kBandTextFormat);
    }
}

// ---- StatusBarSkinner

StatusBarSkinner::StatusBarSkinner(WindowSkinner *container)
    : ControlSkinner(kSkinStatusBar, container), builtIn_(std::make_unique<StatusBarDefinition>())
{
}

bool StatusBarSkinner::attach(HWND window)
{
    if (window == nullptr) return false;
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    return ControlSkinner::attach(window);
}

SkinObject *StatusBarSkinner::setSkin(SkinObject *definition)
{
    if (definition == nullptr || definition->type() != kSkinStatusBar) definition = builtIn_.get();
    return ControlSkinner::setSkin(definition);
}

void StatusBarSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<StatusBarDefinition *>(definition_);
    if (def == nullptr) def = builtIn_.get();
    BarPaint start(window_, dc, *def, def->bgColor);
    const RECT &client = start.client;
    const bool simple = SendMessageW(window_, SB_ISSIMPLE, 0, 0) != 0;
    const int count = simple ? 1 : static_cast<int>(SendMessageW(window_, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
        const WPARAM part = simple ? kSimplePart : static_cast<WPARAM>(i);
        RECT r = client;
        if (!simple && !SendMessageW(window_, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r))) continue;
        skinDrawNineGrid(def->owner(), dc, r, def->panel, def->bgColor, kSkinNoFill, false);
        const LRESULT size = SendMessageW(window_, SB_GETTEXTLENGTHW, part, 0);
        // An owner-drawn part holds its owner's data, not a text.
        if ((HIWORD(size) & SBT_OWNERDRAW) != 0 || LOWORD(size) == 0) continue;
        std::vector<wchar_t> text(static_cast<size_t>(LOWORD(size)) + 1, L'\0');
        SendMessageW(window_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        const RECT room = toRECT(insideMargins(toSkinRect(r), def->panel.margins.left, def->panel.margins.right));
        drawText(dc, text.data(), room, def->textColor, kPanelTextFormat);
    }
}

LRESULT StatusBarSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message != WM_PAINT) return ControlSkinner::windowProc(message, wp, lp);
    // The control sees its paint with nothing left to draw; the skin then paints all of it.
    ValidateRect(window_, nullptr);
    callPrevious(WM_PAINT, 0, 0);
    HDC dc = GetDC(window_);
    if (dc == nullptr) return 0;
    paintThroughMemory(dc);
    ReleaseDC(window_, dc);
    return 0;
}

// ---- ControlBarSkinner

ControlBarSkinner::ControlBarSkinner(WindowSkinner *container) : ControlSkinner(kSkinControlBar, container) {}

void ControlBarSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<TextStyleObject *>(definition_);
    if (def == nullptr) return;
    RECT client;
    GetClientRect(window_, &client);
    paintBarBackground(dc, *def, client, def->bgColor);
}

#endif
