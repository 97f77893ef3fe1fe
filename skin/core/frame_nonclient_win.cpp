#include "frame_nonclient.h"

namespace {

FramePieces piecesOf(const BorderedDefinition *definition)
{
    if (definition) return designPieces(*definition);
    FramePieces none;
    none.fill(SkinRect{0, 0, 0, 0});
    return none;
}

SkinRect toSkin(const RECT &r) { return SkinRect{r.left, r.top, r.right, r.bottom}; }

// The monitor's work area nearest the window.
SkinRect workAreaOf(HWND window)
{
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi)) return toSkin(mi.rcWork);
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return toSkin(r);
}

}  // namespace

SkinPoint frameWindowPoint(HWND window, POINT screen)
{
    RECT r{};
    GetWindowRect(window, &r);
    SkinPoint p{screen.x - r.left, screen.y - r.top};
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) p.x = (r.right - r.left) - 1 - p.x;
    return p;
}

FrameNonClient::FrameNonClient(HWND window, const BorderedDefinition *definition, MenuBarModel *menuBar, Kind kind,
                               uint32_t realStyle)
    : window_(window), definition_(definition), menuBar_(menuBar), kind_(kind), realStyle_(realStyle),
      design_(piecesOf(definition))
{
}

bool FrameNonClient::rightToLeft() const { return (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0; }

SkinSize FrameNonClient::windowSize() const
{
    RECT r{};
    GetWindowRect(window_, &r);
    return SkinSize{r.right - r.left, r.bottom - r.top};
}

FramePieces FrameNonClient::currentPieces() const
{
    const SkinSize size = windowSize();
    return layoutFramePieces(design_, size.width, size.height);
}

LRESULT FrameNonClient::onNcCalcSize(LPARAM lp)
{
    RECT &proposed = reinterpret_cast<NCCALCSIZE_PARAMS *>(lp)->rgrc[0];
    const SkinRect window = toSkin(proposed);
    const FrameBorders borders = frameBorders(design_, rightToLeft());
    std::function<int32_t(int32_t)> menuHeight;
    const bool mdiButtons = mdiButtons_ && mdiButtons_();
    if (menuBar_ && kind_ == Kind::Frame) {
        menuHeight = [this, mdiButtons](int32_t width) { return menuBar_->heightForWidth(width, mdiButtons); };
    }
    const SkinRect client = frameClientRect(window, borders, menuHeight);
    menuBarRect_ = SkinRect{0, 0, 0, 0};
    if (menuBar_ && kind_ == Kind::Frame && client.top > window.top + borders.top) {
        // In window coordinates, and in the layout's own left-to-right terms: a right-to-left
        // window's points are mirrored before they reach the bar.
        const FrameBorders ltr = frameBorders(design_, false);
        menuBarRect_ = menuBar_->layout(ltr.left, ltr.top, window.width() - ltr.right, mdiButtons);
    }
    proposed = RECT{client.left, client.top, client.right, client.bottom};
    return 0;
}

int32_t FrameNonClient::hitTest(POINT screen, int32_t partAnswer) const
{
    RECT r{};
    GetWindowRect(window_, &r);
    const SkinPoint p = frameWindowPoint(window_, screen);
    const FramePieces pieces = layoutFramePieces(design_, r.right - r.left, r.bottom - r.top);
    const FrameHitState state{IsZoomed(window_) != FALSE, isResizableStyle(realStyle_)};
    if (kind_ == Kind::Dialog) return dialogHitTest(pieces, p, partAnswer, state);
    return frameHitTest(pieces, p, menuBarRect_, partAnswer, state);
}

void FrameNonClient::onGetMinMaxInfo(MINMAXINFO &info, const std::function<void(MINMAXINFO &)> &ownProcedure) const
{
    FrameMinMax ours;
    HWND parent = GetParent(window_);
    if ((GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) && parent) {
        RECT client{};
        GetClientRect(parent, &client);
        ours = mdiChildMinMax(design_, SkinSize{client.right, client.bottom});
    } else {
        ours = frameMinMax(design_, workAreaOf(window_));
    }
    if (ownProcedure) ownProcedure(info);
    const FrameMinMax theirs{SkinSize{info.ptMaxSize.x, info.ptMaxSize.y}, SkinPoint{info.ptMaxPosition.x, info.ptMaxPosition.y},
                             SkinSize{info.ptMinTrackSize.x, info.ptMinTrackSize.y},
                             SkinSize{info.ptMaxTrackSize.x, info.ptMaxTrackSize.y}};
    const FrameMinMax merged = mergeMinMax(ours, theirs);
    info.ptMaxSize = POINT{merged.maxSize.width, merged.maxSize.height};
    info.ptMaxPosition = POINT{merged.maxPosition.x, merged.maxPosition.y};
    info.ptMinTrackSize = POINT{merged.minTrack.width, merged.minTrack.height};
    info.ptMaxTrackSize = POINT{merged.maxTrack.width, merged.maxTrack.height};
}
