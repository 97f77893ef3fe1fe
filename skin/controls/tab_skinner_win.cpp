// The tab control skinner (Windows).
#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "bar_layout.h"
#include "bar_skinners.h"
#include "control_paint.h"
#include "skin_codes.h"
#include "skin_draw.h"
#include "window_skinner.h"

namespace {

constexpr int kTabTextChars = 100;
constexpr UINT kTabTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
// Escapements of the text on left tabs (reading upwards) and right tabs (reading downwards).
constexpr LONG kUpwardsText = 900;
constexpr LONG kDownwardsText = 2700;

uint32_t styleOf(HWND w) { return static_cast<uint32_t>(GetWindowLongW(w, GWL_STYLE)); }

std::vector<SkinRect> tabRects(HWND tab, int count)
{
    std::vector<SkinRect> rects;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) {
            rects.push_back(toSkinRect(r));
        } else {
            rects.push_back(makeSkinRect(0, 0, 0, 0));
        }
    }
    return rects;
}

// The control's font turned for the text of a vertical tab.
HFONT turnedFont(HWND tab, LONG escapement)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(tab, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (GetObjectW(font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf) == 0) return nullptr;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    return CreateFontIndirectW(&lf);
}

// Takes the client area less the visible windows of the chain starting at first (but skip).
void cutOutWindows(HRGN clip, HWND tab, HWND first, HWND skip)
{
    for (HWND w = first; w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == skip || !IsWindowVisible(w)) continue;
        RECT r;
        GetWindowRect(w, &r);
        skinScreenToClient(tab, r);
        HRGN cut = CreateRectRgnIndirect(&r);
        CombineRgn(clip, clip, cut, RGN_DIFF);
        DeleteObject(cut);
    }
}

}  // namespace

TabControlSkinner::TabControlSkinner(WindowSkinner *container) : ControlSkinner(kSkinTab, container) {}

bool TabControlSkinner::attach(HWND window)
{
    if (window == nullptr || (styleOf(window) & kTabStyleOwnerDrawFixed) != 0) return false;
    return ControlSkinner::attach(window);
}

void TabControlSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<TabDefinition *>(definition_);
    if (def == nullptr) return;
    RECT client;
    GetClientRect(window_, &client);
    if (def->transparent != 0) {
        skinPaintParentBackground(window_, dc);
    } else {
        skinFillRect(dc, client, GetSysColor(COLOR_BTNFACE));
        skinDrawNineGrid(def->owner(), dc, client, def->frame, GetSysColor(COLOR_BTNFACE), kSkinNoFill, false);
    }
    const int32_t side = tabSideOf(styleOf(window_));
    const int count = static_cast<int>(SendMessageW(window_, TCM_GETITEMCOUNT, 0, 0));
    const std::vector<SkinRect> tabs = tabRects(window_, count);
    const RECT page = toRECT(tabPageRect(toSkinRect(client), tabs, side));
    skinDrawNineGrid(def->owner(), dc, page, def->page, GetSysColor(COLOR_BTNFACE), kSkinNoFill, false);
    ControlFontSelection font(window_, dc);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
        if (!tabs[i].isEmpty()) paintTab(dc, *def, i, toRECT(tabs[i]), side);
    }
}

void TabControlSkinner::paintTab(HDC dc, const TabDefinition &def, int index, const RECT &tab, int32_t side)
{
    wchar_t text[kTabTextChars + 1] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.dwStateMask = TCIS_BUTTONPRESSED | TCIS_HIGHLIGHTED;
    item.pszText = text;
    item.cchTextMax = kTabTextChars + 1;
    item.iImage = -1;
    if (!SendMessageW(window_, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return;
    const uint32_t style = styleOf(window_);
    const bool selected = SendMessageW(window_, TCM_GETCURSEL, 0, 0) == index;
    const int32_t lookIndex = tabLookFor(IsWindowEnabled(window_) != FALSE, selected, (style & kTabStyleButtons) != 0,
                                         (item.dwState & TCIS_BUTTONPRESSED) != 0,
                                         (item.dwState & TCIS_HIGHLIGHTED) != 0);
    const SkinLook &look = def.looks[lookIndex];
    const SkinNineGrid &image = look.image.isSet() ? look.image : def.looks[kTabNormal].image;
    const TabTurn turn = tabTurnFor(side);
    if (turn.degrees == 0 && !turn.flipped) {
        skinDrawKeyedNineGrid(def.owner(), dc, tab, image, keyColor_);
    } else {
        skinDrawTurnedNineGrid(def.owner(), dc, tab, image, turn.degrees, turn.flipped, true, keyColor_);
    }

    // The icon and the text, laid out along the tab as if it stood on top.
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(SendMessageW(window_, TCM_GETIMAGELIST, 0, 0));
    int iconWidth = 0, iconHeight = 0;
    if (icons != nullptr && item.iImage >= 0 && item.iImage < ImageList_GetImageCount(icons)) {
        ImageList_GetIconSize(icons, &iconWidth, &iconHeight);
    }
    const int length = static_cast<int>(wcslen(text));
    SIZE extent{0, 0};
    if (length > 0) GetTextExtentPoint32W(dc, text, length, &extent);
    const SkinRect tabRect = toSkinRect(tab);
    const SkinRect frame = tabLayoutFrame(tabRect, side);
    const TabContent content = tabContentLayout(frame, iconWidth, iconHeight, extent.cx, extent.cy);
    if (iconWidth > 0) {
        const SkinRect at = tabFrameToControl(content.icon, tabRect, side);
        ImageList_Draw(icons, item.iImage, dc, at.left, at.top, ILD_TRANSPARENT);
    }
    if (length == 0) return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, tab.left, tab.top, tab.right, tab.bottom);
    if (side == kTabsLeft || side == kTabsRight) {
        const SkinRect at = tabFrameToControl(content.text, tabRect, side);
        HFONT turned = turnedFont(window_, side == kTabsLeft ? kUpwardsText : kDownwardsText);
        HGDIOBJ old = turned != nullptr ? SelectObject(dc, turned) : nullptr;
        SetTextColor(dc, look.text.textColor());
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        // The text's own top-left corner: bottom-left on a left tab, top-right on a right tab.
        if (side == kTabsLeft) {
            TextOutW(dc, at.left, at.bottom, text, length);
        } else {
            TextOutW(dc, at.right, at.top, text, length);
        }
        if (old != nullptr) SelectObject(dc, old);
        if (turned != nullptr) DeleteObject(turned);
    } else {
        // The text keeps to the tab: from its start (beside the icon) to the tab's end.
        RECT room = toRECT(content.text);
        OffsetRect(&room, tab.left, tab.top);
        room.left = std::max(room.left, tab.left + look.margins.left);
        room.right = std::min(room.right, static_cast<LONG>(tab.right - look.margins.right));
        skinStyledText(dc, look.text, room, text, length, kTabTextFormat);
    }
    RestoreDC(dc, saved);
}

void TabControlSkinner::onPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (dc == nullptr) return;
    RECT client;
    GetClientRect(window_, &client);
    {
        MemoryDC memory(dc, client.right, client.bottom);
        if (memory.isValid()) {
            paint(memory.dc());
            HRGN clip = CreateRectRgnIndirect(&client);
            const uint32_t style = styleOf(window_);
            HWND parent = GetParent(window_);
            if ((style & WS_CLIPSIBLINGS) != 0 && parent != nullptr) {
                cutOutWindows(clip, window_, GetWindow(parent, GW_CHILD), window_);
            }
            if ((style & WS_CLIPCHILDREN) != 0) {
                cutOutWindows(clip, window_, GetWindow(window_, GW_CHILD), nullptr);
            }
            SelectClipRgn(dc, clip);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.dc(), 0, 0, SRCCOPY);
            SelectClipRgn(dc, nullptr);
            DeleteObject(clip);
        }
    }
    EndPaint(window_, &ps);
}

LRESULT TabControlSkinner::paintChildBackground(HDC childDc, HWND child)
{
    RECT client;
    GetClientRect(window_, &client);
    MemoryDC memory(childDc, client.right, client.bottom);
    if (!memory.isValid()) return 0;
    paint(memory.dc());
    RECT under;
    GetClientRect(child, &under);
    MapWindowPoints(child, window_, reinterpret_cast<POINT *>(&under), 2);
    BitBlt(childDc, 0, 0, under.right - under.left, under.bottom - under.top, memory.dc(), under.left, under.top, SRCCOPY);
    return 1;
}

LRESULT TabControlSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_SKIN_PAINT_BACKGROUND && lp != 0 && wp != 0) {
        return paintChildBackground(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

#endif
