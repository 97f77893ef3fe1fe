// The scroll-bar control's skinner (Windows): it keeps a copy of the control's scroll values,
// answers the scroll-bar messages from it, runs presses, repeats and thumb drags itself and
// draws the bar from the skin's ScrollBar object, as the skinned window bars are drawn.
#ifdef _WIN32
#include <windows.h>

#include "range_skinners.h"
#include "scrolled_skinners.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_scrollbar.h"

namespace {

enum Form : int { kHorizontalForm = 0, kVerticalForm = 1 };

constexpr UINT kScrollInfoAll = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

ScrollValues controlValues(const skinbar::ScrollValues &v)
{
    return ScrollValues{v.min, v.max, v.page, v.pos};
}

}  // namespace

ScrollBarControlSkinner::ScrollBarControlSkinner(WindowSkinner *container) : ControlSkinner(kSkinScrollBar, container) {}

bool ScrollBarControlSkinner::vertical() const { return (GetWindowLongW(window_, GWL_STYLE) & SBS_VERT) != 0; }

void ScrollBarControlSkinner::measure()
{
    auto *def = dynamic_cast<ScrollBarDefinition *>(definition_);
    const SkinBarGroup &across = def ? def->horizontal[kBarNormal] : SkinBarGroup{};
    const SkinBarGroup &down = def ? (def->hasVertical ? def->vertical[kBarNormal] : def->horizontal[kBarNormal])
                                   : SkinBarGroup{};
    arrow_[kHorizontalForm] = across.firstArrow.source.width();
    minThumb_[kHorizontalForm] = across.thumb.source.width();
    // Older skins draw vertical bars from the horizontal pictures.
    const bool ownVertical = def != nullptr && def->hasVertical;
    arrow_[kVerticalForm] = ownVertical ? down.firstArrow.source.height() : down.firstArrow.source.width();
    minThumb_[kVerticalForm] = ownVertical ? down.thumb.source.height() : down.thumb.source.width();
    if (arrow_[kHorizontalForm] <= 0) arrow_[kHorizontalForm] = GetSystemMetrics(SM_CXHSCROLL);
    if (arrow_[kVerticalForm] <= 0) arrow_[kVerticalForm] = GetSystemMetrics(SM_CYVSCROLL);
    for (int32_t &m : minThumb_) {
        if (m <= 0) m = skinbar::kScrollMinThumb;
    }
}

ScrollAxis ScrollBarControlSkinner::axis() const
{
    RECT client;
    GetClientRect(window_, &client);
    const int form = vertical() ? kVerticalForm : kHorizontalForm;
    return ScrollAxis{0, form == kVerticalForm ? client.bottom : client.right, arrow_[form], minThumb_[form]};
}

int32_t ScrollBarControlSkinner::along(LPARAM point) const
{
    return vertical() ? static_cast<int16_t>(HIWORD(point)) : static_cast<int16_t>(LOWORD(point));
}

bool ScrollBarControlSkinner::attach(HWND window)
{
    if (!ControlSkinner::attach(window)) {
        return false;
    }
    measure();
    PostMessageW(window, WM_SKIN_REFRESH, 0, 0);
    return true;
}

void ScrollBarControlSkinner::refresh()
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = kScrollInfoAll;
    callPrevious(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
    values_ = ScrollValues{info.nMin, info.nMax, info.nPage, info.nPos};
    trackPos_ = info.nTrackPos;
    measure();
    active_ = true;
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void ScrollBarControlSkinner::run(const ScrollActions &actions)
{
    for (const ScrollAction &a : actions) {
        switch (a.kind) {
        case kScrollSend:
            if (a.request == kScrollThumbTrack || a.request == kScrollThumbPosition) {
                trackPos_ = a.position;
            }
            SendMessageW(GetParent(window_), vertical() ? WM_VSCROLL : WM_HSCROLL,
                         MAKEWPARAM(a.request, static_cast<WORD>(a.position)), reinterpret_cast<LPARAM>(window_));
            break;
        case kScrollStartRepeat:
            SetTimer(window_, kScrollRepeatTimer, kScrollRepeatMs, nullptr);
            break;
        case kScrollStopRepeat:
            KillTimer(window_, kScrollRepeatTimer);
            break;
        case kScrollCapture:
            SetCapture(window_);
            break;
        case kScrollRelease:
            if (GetCapture() == window_) ReleaseCapture();
            break;
        default:
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            break;
        }
    }
}

LRESULT ScrollBarControlSkinner::setScrollInfo(const SCROLLINFO *info, bool redraw)
{
    if (info == nullptr) {
        return values_.position;
    }
    skinbar::ScrollValues stored = scrollBarValuesOf(values_);
    skinbar::ScrollValues given;
    given.min = info->nMin;
    given.max = info->nMax;
    given.page = info->nPage;
    given.pos = info->nPos;
    skinbar::storeScrollInfo(stored, info->fMask, given);
    values_ = controlValues(stored);
    // The control keeps the same values, without drawing them.
    SCROLLINFO copy = *info;
    copy.fMask &= ~static_cast<UINT>(SIF_DISABLENOSCROLL);
    callPrevious(SBM_SETSCROLLINFO, FALSE, reinterpret_cast<LPARAM>(&copy));
    if ((info->fMask & SIF_DISABLENOSCROLL) != 0) {
        // Nothing to scroll: the bar stays, disabled.
        EnableWindow(window_, skinbar::scrollBarActive(stored, 0) ? TRUE : FALSE);
    }
    if (redraw) {
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    return values_.position;
}

LRESULT ScrollBarControlSkinner::getScrollInfo(SCROLLINFO *info) const
{
    if (info == nullptr) {
        return FALSE;
    }
    skinbar::ScrollValues v = scrollBarValuesOf(values_);
    v.trackPos = trackPos_;
    skinbar::ScrollValues out;
    out.min = info->nMin;
    out.max = info->nMax;
    out.page = info->nPage;
    out.pos = info->nPos;
    out.trackPos = info->nTrackPos;
    const bool copied = skinbar::copyScrollInfo(v, info->fMask, out);
    info->nMin = out.min;
    info->nMax = out.max;
    info->nPage = out.page;
    info->nPos = out.pos;
    info->nTrackPos = out.trackPos;
    return copied ? TRUE : FALSE;
}

LRESULT ScrollBarControlSkinner::onMouseLeave()
{
    tracker_.mouseLeft();
    const LRESULT result = ControlSkinner::onMouseLeave();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return result;
}

LRESULT ScrollBarControlSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_SKIN_REFRESH) {
        refresh();
        return 0;
    }
    if (dynamic_cast<ScrollBarDefinition *>(definition_) == nullptr) {
        return message == WM_PAINT || message == WM_ERASEBKGND ? callPrevious(message, wp, lp)
                                                                : ControlSkinner::windowProc(message, wp, lp);
    }
    const bool sizeGrip = (GetWindowLongW(window_, GWL_STYLE) & (SBS_SIZEGRIP | SBS_SIZEBOX)) != 0;
    if (!active_ || sizeGrip) {
        return ControlSkinner::windowProc(message, wp, lp);
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        hideTooltip();
        run(tracker_.buttonDown(values_, axis(), along(lp)));
        return 0;
    case WM_MOUSEMOVE:
        startHover();
        run(tracker_.mouseMove(values_, axis(), along(lp), (wp & MK_LBUTTON) != 0));
        return 0;
    case WM_LBUTTONUP:
        run(tracker_.buttonUp(values_, axis(), along(lp)));
        return 0;
    case WM_CAPTURECHANGED:
        // A press whose capture was taken away ends there, so no repeat outlives it.
        if (tracker_.pressed() && reinterpret_cast<HWND>(lp) != window_) {
            POINT at;
            GetCursorPos(&at);
            ScreenToClient(window_, &at);
            run(tracker_.buttonUp(values_, axis(), vertical() ? at.y : at.x));
        }
        return 0;
    case WM_TIMER:
        if (wp == kScrollRepeatTimer) {
            run(tracker_.repeatTimer(values_, axis()));
            return 0;
        }
        break;
    case SBM_SETSCROLLINFO:
        return setScrollInfo(reinterpret_cast<const SCROLLINFO *>(lp), wp != 0);
    case SBM_GETSCROLLINFO:
        return getScrollInfo(reinterpret_cast<SCROLLINFO *>(lp));
    case SBM_GETPOS:
        return values_.position;
    case SBM_SETPOS: {
        const LRESULT old = values_.position;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_POS;
        info.nPos = static_cast<int>(wp);
        setScrollInfo(&info, lp != 0);
        return old;
    }
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE;
        info.nMin = static_cast<int>(wp);
        info.nMax = static_cast<int>(lp);
        setScrollInfo(&info, message == SBM_SETRANGEREDRAW);
        return values_.position;
    }
    case SBM_GETRANGE:
        if (wp != 0) *reinterpret_cast<INT *>(wp) = values_.minimum;
        if (lp != 0) *reinterpret_cast<INT *>(lp) = values_.maximum;
        return 0;
    case WM_ENABLE: {
        const LONG style = GetWindowLongW(window_, GWL_STYLE);
        SetWindowLongW(window_, GWL_STYLE, style & ~WS_VISIBLE);
        const LRESULT result = callPrevious(message, wp, lp);
        SetWindowLongW(window_, GWL_STYLE, style);
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return result;
    }
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

void ScrollBarControlSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<ScrollBarDefinition *>(definition_);
    if (def == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(window_, &client);
    skinFillRect(dc, client, GetSysColor(COLOR_BTNFACE));
    const SkinRepository *skin = def->owner();
    if ((GetWindowLongW(window_, GWL_STYLE) & (SBS_SIZEGRIP | SBS_SIZEBOX)) != 0) {
        skinDrawPicture(skin, dc, client, def->sizeBox, GetSysColor(COLOR_BTNFACE), kSkinFill, false);
        return;
    }
    const int32_t kind = vertical() ? skinbar::kScrollVertical : skinbar::kScrollHorizontal;
    if (!active_) {
        const SkinBarGroup *groups = kind == skinbar::kScrollVertical && def->hasVertical ? def->vertical : def->horizontal;
        skinDrawPicture(skin, dc, client, groups[kBarNormal].track, GetSysColor(COLOR_BTNFACE), kSkinFill, false);
        return;
    }
    drawBar(dc, client);
}

void ScrollBarControlSkinner::drawBar(HDC dc, const RECT &client)
{
    auto *def = static_cast<ScrollBarDefinition *>(definition_);
    const int32_t kind = vertical() ? skinbar::kScrollVertical : skinbar::kScrollHorizontal;
    const ScrollAxis a = axis();
    skinbar::ScrollBarLook look;
    look.pressedPart = scrollBarPartOf(tracker_.pressedPart());
    look.hotPart = tracker_.pressed() ? skinbar::kScrollPartNone : scrollBarPartOf(tracker_.hotPart());
    const uint32_t flags = IsWindowEnabled(window_) ? 0u : static_cast<uint32_t>(skinbar::kScrollArrowBits);
    const skinbar::ScrollValues v = scrollBarValuesOf(values_);
    for (const skinbar::ScrollPiece &piece :
         skinbar::scrollBarPieces(toSkinRect(client), kind, a.arrowLength, v, flags, a.minimumThumb, look)) {
        skinDrawScrollPiece(def->owner(), *def, dc, kind, piece, toRECT(piece.rect));
    }
}

#endif
