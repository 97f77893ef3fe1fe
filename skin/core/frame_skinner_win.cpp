// The frame and dialog skinners and the MDI-client skinner (Windows).
#ifdef _WIN32
#include "frame_skinner.h"

#include "frame_part_objects.h"
#include "frame_parts.h"
#include "skin_manager.h"
#include "skin_repository.h"

namespace {

constexpr int kWindowTextChars = 300;
constexpr UINT kFrameChanged = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
constexpr UINT kRedrawEverything =
    RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW | RDW_FRAME;
// The state bits of a style that must stay as they are while the default procedure is shown
// another style.
constexpr uint32_t kStateBits = WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE | WS_DISABLED;
constexpr uint32_t kShownTopLevelStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The order the pieces are painted in: the side edges, the top row, the bottom row.
constexpr int kSidePieces[] = {kPieceLeft, kPieceRight};
constexpr int kRowPieces[] = {kPieceTopLeft, kPieceTop, kPieceTopRight, kPieceBottomLeft, kPieceBottom, kPieceBottomRight};
// The private message a skinned frame's NCPAINT wParam means "the whole frame".
constexpr WPARAM kWholeFrame = 1;

RECT toRect(const SkinRect &r) { return RECT{r.left, r.top, r.right, r.bottom}; }

POINT pointOf(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

// The client rectangle in window coordinates.
RECT clientInWindow(HWND window)
{
    RECT w{}, c{};
    GetWindowRect(window, &w);
    GetClientRect(window, &c);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&c), 2);
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) std::swap(c.left, c.right);
    OffsetRect(&c, -w.left, -w.top);
    return c;
}

bool regionIsWholeWindow(HRGN region, SkinSize size)
{
    HRGN whole = CreateRectRgn(0, 0, size.width, size.height);
    const bool same = EqualRgn(region, whole) != FALSE;
    DeleteObject(whole);
    return same;
}

WindowSkinner *makeFrameSkinner() { return new FrameSkinner(); }
WindowSkinner *makeDialogSkinner() { return new DialogSkinner(); }

}  // namespace

// ---- FramedSkinner

FramedSkinner::FramedSkinner() = default;
FramedSkinner::~FramedSkinner() = default;

const BorderedDefinition *FramedSkinner::bordered() const { return dynamic_cast<const BorderedDefinition *>(definition_); }

SkinObject *FramedSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = WindowSkinner::setSkin(definition);
    dropBackground();
    laidOut_ = SkinSize{-1, -1};
    frameDirty_ = true;
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (FramePart *part = framePart(i)) {
            part->timerId = kCaptionButtonTimerBase + i;
            if (window_) part->setEnabledByStyle(realStyle_);
        }
    }
    if (window_ && !::drawsCaptionText(realStyle_)) captionText_ = false;
    return previous;
}

void FramedSkinner::rebuildNonClient(MenuBarModel *menuBar, FrameNonClient::Kind kind)
{
    nonClient_ = std::make_unique<FrameNonClient>(window_, bordered(), menuBar, kind, realStyle_);
}

FramePart *FramedSkinner::framePart(size_t index) const { return dynamic_cast<FramePart *>(parts_[index].get()); }

SkinSize FramedSkinner::windowSize() const
{
    RECT r{};
    GetWindowRect(window_, &r);
    return SkinSize{r.right - r.left, r.bottom - r.top};
}

void FramedSkinner::layoutParts()
{
    const BorderedDefinition *d = bordered();
    if (d == nullptr) return;
    const SkinSize reference{d->referenceWidth(), d->referenceHeight()};
    const SkinSize size = windowSize();
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (FramePart *part = framePart(i)) part->layout(size, reference);
    }
}

int32_t FramedSkinner::partHitAnswer(SkinPoint p) const
{
    for (size_t i = 0; i < parts_.size(); ++i) {
        const FramePart *part = framePart(i);
        const int32_t code = part ? part->hitCode(p) : 0;
        if (code != 0) return code;
    }
    return 0;
}

bool FramedSkinner::partsMouse(UINT message, SkinPoint p)
{
    bool took = false;
    for (size_t i = 0; i < parts_.size() && window_ != nullptr; ++i) {
        if (FramePart *part = framePart(i)) took = part->mouse(message, p) || took;
    }
    return took;
}

SkinPoint FramedSkinner::windowPoint(LPARAM screen) const { return frameWindowPoint(window_, pointOf(screen)); }

uint32_t FramedSkinner::styleWithoutSystemMenu() const
{
    return static_cast<uint32_t>(GetWindowLongW(window_, GWL_STYLE)) & ~static_cast<uint32_t>(WS_SYSMENU);
}

uint32_t FramedSkinner::shownStyle() const
{
    const uint32_t current = static_cast<uint32_t>(GetWindowLongW(window_, GWL_STYLE));
    if (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) {
        return current & ~static_cast<uint32_t>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    }
    const uint32_t kind = (current & WS_CHILD) ? static_cast<uint32_t>(WS_CHILD) : static_cast<uint32_t>(WS_POPUP);
    return (kShownTopLevelStyle & ~static_cast<uint32_t>(WS_POPUP)) | kind | (current & kStateBits);
}

LRESULT FramedSkinner::callWithStyle(UINT message, WPARAM wp, LPARAM lp, uint32_t style)
{
    HWND window = window_;
    const uint32_t before = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    const LRESULT result = callPrevious(message, wp, lp);
    if (IsWindow(window)) {
        // What the call changed of the window's state (maximised, shown) stays.
        const uint32_t now = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
        SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((before & ~kStateBits) | (now & kStateBits)));
    }
    return result;
}

bool FramedSkinner::isFramedTreatment() const { return isFramedDialogStyle(realStyle_) || bordered() != nullptr; }

void FramedSkinner::keepClientArea(SIZE client)
{
    const BorderedDefinition *d = bordered();
    if (d == nullptr || window_ == nullptr) return;
    const FrameBorders b = frameBorders(designPieces(*d), skinIsRightToLeft(window_));
    MenuBarElement *bar = menuBar();
    const int32_t menu = bar ? bar->model().heightForWidth(client.cx, false) : 0;
    SetWindowPos(window_, nullptr, 0, 0, client.cx + b.left + b.right, client.cy + b.top + menu + b.bottom, kResizeOnly);
}

void FramedSkinner::redrawAll()
{
    RedrawWindow(window_, nullptr, nullptr, kRedrawEverything);
    InvalidateRect(nullptr, nullptr, TRUE);
}

RECT FramedSkinner::clientMargins()
{
    const BorderedDefinition *d = bordered();
    if (d == nullptr) return RECT{0, 0, 0, 0};
    const FrameBorders b = frameBorders(designPieces(*d), window_ && skinIsRightToLeft(window_));
    return RECT{b.left, b.top, b.right, b.bottom};
}

void FramedSkinner::drawFrame(HDC dc, bool active)
{
    const BorderedDefinition *d = bordered();
    if (d == nullptr) return;
    const SkinSize size = windowSize();
    const FramePieces pieces = layoutFramePieces(designPieces(*d), size.width, size.height);
    const auto drawPiece = [&](int piece) {
        const RECT r = toRect(pieces[piece]);
        const int32_t picture = framePictureIndex(*d, piece, active);
        const COLORREF fill = framePieceFill(*d, active);
        if (picture < 0) {
            skinFillRect(dc, r, fill);
        } else {
            skinDrawPicture(d->owner(), dc, r, d->pictures[picture], fill, kSkinFill, false);
        }
    };
    if (!IsIconic(window_)) {
        for (int piece : kSidePieces) drawPiece(piece);
    }
    for (int piece : kRowPieces) drawPiece(piece);
    drawCaptionText(dc, active);
    drawExtra(dc);
}

void FramedSkinner::drawCaptionText(HDC dc, bool)
{
    const BorderedDefinition *d = bordered();
    if (d == nullptr || !captionText_ || !::drawsCaptionText(realStyle_)) return;
    if (IsRectEmpty(&textRect_)) {
        const FrameBorders b = frameBorders(designPieces(*d), false);
        textRect_ = RECT{b.left, 0, windowSize().width - b.right, b.top};
    }
    wchar_t text[kWindowTextChars + 1] = {};
    const int length = GetWindowTextW(window_, text, kWindowTextChars + 1);
    UINT format = DT_SINGLELINE | DT_VCENTER;
    const LONG exStyle = GetWindowLongW(window_, GWL_EXSTYLE);
    if (exStyle & WS_EX_RTLREADING) format |= DT_RTLREADING;
    if (exStyle & WS_EX_RIGHT) format |= DT_RIGHT;
    HFONT font = skinFontFromRecord(d->font);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    const int mode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, d->captionColor);
    DrawTextW(dc, text, length, &textRect_, format);
    SetBkMode(dc, mode);
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
}

HRGN FramedSkinner::windowRegion()
{
    const BorderedDefinition *d = bordered();
    if (!regionFlag_ || d == nullptr) return nullptr;
    const SkinSize size = windowSize();
    if (IsIconic(window_) && d->iconicActive.isSet()) return CreateRectRgn(0, 0, size.width, size.height);
    const FramePieces pieces = layoutFramePieces(designPieces(*d), size.width, size.height);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; i < kPieceCount; ++i) {
        const RECT r = toRect(pieces[i]);
        const int32_t picture = framePictureIndex(*d, i, true);
        HRGN piece = picture >= 0 ? fittedPictureRegion(d->resolved[picture], d->pictures[picture].mode, r)
                                  : CreateRectRgnIndirect(&r);
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
    }
    layoutParts();
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (FramePart *part = framePart(i)) part->combineRegion(region);
    }
    return region;
}

LRESULT FramedSkinner::onNcPaint(WPARAM wp)
{
    const BorderedDefinition *d = bordered();
    if (d == nullptr) return 0;
    const SkinSize size = windowSize();
    if (!(size == laidOut_)) {
        // The size changed: the region and the background follow it, then the frame is painted.
        laidOut_ = size;
        frameDirty_ = true;
        dropBackground();
        HRGN region = windowRegion();
        if (region != nullptr && regionIsWholeWindow(region, size)) {
            DeleteObject(region);
            region = nullptr;
        }
        if (region != nullptr || region_ != nullptr) {
            HRGN copy = nullptr;
            if (region != nullptr) {
                // The system owns what SetWindowRgn is given; the skinner keeps its own copy.
                copy = CreateRectRgn(0, 0, 0, 0);
                CombineRgn(copy, region, nullptr, RGN_COPY);
            }
            if (region_ != nullptr) DeleteObject(region_);
            region_ = region;
            SetWindowRgn(window_, copy, TRUE);
        }
        SendMessageW(window_, WM_NCPAINT, kWholeFrame, 0);
        return 0;
    }
    (void)wp;
    layoutParts();
    HDC windowDC = GetWindowDC(window_);
    if (windowDC == nullptr) return 0;
    MenuBarElement *bar = menuBar();
    const uint32_t menuVersion = bar ? bar->version() : 0;
    const bool cacheFits = frameCache_ && frameCache_->isValid() && frameCache_->width() == size.width &&
                           frameCache_->height() == size.height;
    const bool compose = frameDirty_ || !cacheFits || cachedActive_ != active_ || cachedMenuVersion_ != menuVersion;
    if (!cacheFits) frameCache_ = std::make_unique<MemoryDC>(windowDC, size.width, size.height);
    {
        MemoryDC &frame = *frameCache_;
        if (frame.isValid()) {
            HDC dc = frame.dc();
            const bool iconicPicture = IsIconic(window_) && d->iconicActive.isSet();
            if (compose) {
                frameDirty_ = false;
                cachedActive_ = active_;
                cachedMenuVersion_ = menuVersion;
                if (iconicPicture) {
                    const RECT whole{0, 0, size.width, size.height};
                    skinDrawNineGrid(d->owner(), dc, whole, frameIconicGrid(*d, active_), framePieceFill(*d, active_),
                                     kSkinFill, false);
                    drawCaptionText(dc, active_);
                } else {
                    drawFrame(dc, active_);
                }
                for (auto &part : parts_) part->paint(dc);
                if (!iconicPicture && bar) bar->paint(dc);
            }
            const RECT client = clientInWindow(window_);
            const SkinRect clientRect{client.left, client.top, client.right, client.bottom};
            const auto strips = iconicPicture ? std::array<SkinRect, 4>{SkinRect{0, 0, size.width, size.height}}
                                              : nonClientStrips(size, clientRect);
            for (const SkinRect &s : strips) {
                if (!s.isEmpty()) BitBlt(windowDC, s.left, s.top, s.width(), s.height(), dc, s.left, s.top, SRCCOPY);
            }
        }
    }
    ReleaseDC(window_, windowDC);
    return 0;
}

LRESULT FramedSkinner::onNcActivate(WPARAM wp, LPARAM lp)
{
    MenuBarElement *bar = menuBar();
    if (bar && bar->model().inMenuMode()) return TRUE;
    active_ = wp != 0;
    frameDirty_ = true;
    // The default procedure keeps the state; -1 asks it not to paint a frame of its own.
    const LRESULT result = callPrevious(WM_NCACTIVATE, wp, static_cast<LPARAM>(-1));
    (void)lp;
    if (window_) SendMessageW(window_, WM_NCPAINT, kWholeFrame, 0);
    return result;
}

LRESULT FramedSkinner::callThenRepaintFrame(UINT message, WPARAM wp, LPARAM lp)
{
    frameDirty_ = true;
    const LRESULT result = callPrevious(message, wp, lp);
    if (window_) SendMessageW(window_, WM_NCPAINT, kWholeFrame, 0);
    return result;
}

LRESULT FramedSkinner::onNcHitTest(LPARAM lp)
{
    if (!nonClient_) return callPrevious(WM_NCHITTEST, 0, lp);
    layoutParts();
    const int32_t part = partHitAnswer(windowPoint(lp));
    return nonClient_->hitTest(pointOf(lp), part);
}

LRESULT FramedSkinner::onGetMinMaxInfo(WPARAM wp, LPARAM lp)
{
    auto *info = reinterpret_cast<MINMAXINFO *>(lp);
    if (!nonClient_ || info == nullptr) return callPrevious(WM_GETMINMAXINFO, wp, lp);
    nonClient_->onGetMinMaxInfo(*info, [&](MINMAXINFO &own) {
        callPrevious(WM_GETMINMAXINFO, wp, reinterpret_cast<LPARAM>(&own));
    });
    return 0;
}

void FramedSkinner::dropBackground() { background_.reset(); }

void FramedSkinner::buildBackground()
{
    const BorderedDefinition *d = bordered();
    RECT client{};
    GetClientRect(window_, &client);
    if (background_ && background_->width() == client.right && background_->height() == client.bottom) return;
    HDC windowDC = GetDC(window_);
    background_ = std::make_unique<MemoryDC>(windowDC, client.right, client.bottom);
    ReleaseDC(window_, windowDC);
    if (!background_->isValid() || d == nullptr) return;
    HDC dc = background_->dc();
    if (!paintsBackground()) {
        // The window's own background, for the children that ask for it.
        callPrevious(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        return;
    }
    skinFillRect(dc, client, d->backgroundFill);
    const int32_t picture = frameBackgroundIndex(*d, active_);
    if (picture >= 0) {
        skinDrawPicture(d->owner(), dc, client, d->pictures[picture], d->backgroundFill, kSkinFill, false);
        backgroundRepaint_ = d->pictures[picture].mode == kSkinPictureStretched;
    }
}

void FramedSkinner::eraseBackground(HDC dc, int) { onEraseBackground(dc); }

LRESULT FramedSkinner::onEraseBackground(HDC dc)
{
    if (!paintsBackground() || bordered() == nullptr) return callPrevious(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    buildBackground();
    if (!background_ || !background_->isValid()) return callPrevious(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    BitBlt(dc, 0, 0, background_->width(), background_->height(), background_->dc(), 0, 0, SRCCOPY);
    return 1;
}

LRESULT FramedSkinner::onPaintBackground(HDC childDC, HWND child)
{
    if (childDC == nullptr || child == nullptr || bordered() == nullptr) return 0;
    buildBackground();
    if (!background_ || !background_->isValid()) return 0;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT *>(&r), 2);
    BitBlt(childDC, 0, 0, r.right - r.left, r.bottom - r.top, background_->dc(), r.left, r.top, SRCCOPY);
    return 1;
}

LRESULT FramedSkinner::onSetText(UINT message, WPARAM wp, LPARAM lp)
{
    frameDirty_ = true;
    const LRESULT result = callWithStyle(message, wp, lp, shownStyle());
    const BorderedDefinition *d = bordered();
    if (window_ && d) repaintNonClient(RECT{0, 0, windowSize().width, d->pieces[kPieceTopLeft].height()});
    return result;
}

LRESULT FramedSkinner::onNcLButtonDown(WPARAM wp, LPARAM lp)
{
    const SkinPoint p = windowPoint(lp);
    layoutParts();
    if (partsMouse(WM_LBUTTONDOWN, p)) {
        // The release is seen wherever it happens.
        SetCapture(window_);
        partCapture_ = true;
        return 0;
    }
    MenuBarElement *bar = menuBar();
    if (bar && wp == HTMENU) {
        bar->model().buttonDown(p);
        return 0;
    }
    if (IsZoomed(window_)) return 0;
    return callWithStyle(WM_NCLBUTTONDOWN, wp, lp, styleWithoutSystemMenu());
}

bool FramedSkinner::onCapturedMouse(UINT message, LPARAM clientPoint, LRESULT &result)
{
    result = 0;
    if (message == WM_CAPTURECHANGED) {
        partCapture_ = false;
        return false;
    }
    if (!partCapture_ || (message != WM_MOUSEMOVE && message != WM_LBUTTONUP)) return false;
    POINT screen = pointOf(clientPoint);
    ClientToScreen(window_, &screen);
    const SkinPoint p = windowPoint(MAKELPARAM(screen.x, screen.y));
    layoutParts();
    if (message == WM_LBUTTONUP) {
        partCapture_ = false;
        ReleaseCapture();
    }
    partsMouse(message, p);
    return true;
}

LRESULT FramedSkinner::onNcLButtonUp(WPARAM wp, LPARAM lp)
{
    if (partCapture_) {
        partCapture_ = false;
        ReleaseCapture();
    }
    const SkinPoint p = windowPoint(lp);
    layoutParts();
    if (partsMouse(WM_LBUTTONUP, p)) return 0;
    MenuBarElement *bar = menuBar();
    if (bar && wp == HTMENU) {
        bar->model().buttonUp(p);
        return 0;
    }
    if (IsZoomed(window_)) {
        const uint32_t now = GetTickCount();
        const bool second = isQuickSecondClick(lastCaptionUp_, now, GetDoubleClickTime());
        lastCaptionUp_ = second ? 0 : now;
        return second ? onNcLButtonDblClk(wp, lp) : 0;
    }
    return callWithStyle(WM_NCLBUTTONUP, wp, lp, styleWithoutSystemMenu());
}

LRESULT FramedSkinner::onNcLButtonDblClk(WPARAM wp, LPARAM lp)
{
    layoutParts();
    if (partsMouse(WM_LBUTTONDBLCLK, windowPoint(lp))) return 0;
    if (wp == HTCAPTION) {
        if (IsIconic(window_)) {
            SendMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else if (isResizableStyle(realStyle_) && (realStyle_ & WS_MAXIMIZEBOX)) {
            SendMessageW(window_, WM_SYSCOMMAND, IsZoomed(window_) ? SC_RESTORE : SC_MAXIMIZE, 0);
        }
        return 0;
    }
    return callPrevious(WM_NCLBUTTONDBLCLK, wp, lp);
}

LRESULT FramedSkinner::onNcMouseMove(WPARAM wp, LPARAM lp)
{
    const LRESULT result = callPrevious(WM_NCMOUSEMOVE, wp, lp);
    if (window_ == nullptr || !active_) return result;
    const SkinPoint p = windowPoint(lp);
    layoutParts();
    partsMouse(WM_MOUSEMOVE, p);
    if (MenuBarElement *bar = menuBar()) bar->model().pointerMove(p);
    return result;
}

LRESULT FramedSkinner::onPartTimer(WPARAM id)
{
    for (size_t i = 0; i < parts_.size(); ++i) {
        FramePart *part = framePart(i);
        if (part && part->timerId == id) {
            part->onTimer();
            return 0;
        }
    }
    KillTimer(window_, id);
    return 0;
}

void FramedSkinner::showSystemMenu() { skinShowSystemMenu(window_, realStyle_); }

// ---- FrameSkinner

FrameSkinner::FrameSkinner() = default;
FrameSkinner::~FrameSkinner() = default;

bool FrameSkinner::isMdiChild() const { return window_ && (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD); }

bool FrameSkinner::paintsBackground() const
{
    const auto *frame = dynamic_cast<const FrameWndDefinition *>(definition_);
    return frame != nullptr && frame->paintBackground != 0;
}

void FrameSkinner::adoptWindowMenu()
{
    if (!menuBar_ || isMdiChild() || givingMenuBack_) return;
    HMENU given = GetMenu(window_);
    if (given == nullptr) return;
    // A menu the window was given since (a language switch): the bar takes it instead.
    menuBar_->setMenu(given);
    originalMenu_ = given;
    SetMenu(window_, nullptr);
}

bool FrameSkinner::attach(HWND window)
{
    if (window == nullptr || !IsWindow(window) || attached_) return false;
    realStyle_ = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
    active_ = GetActiveWindow() == window;
    RECT client{};
    GetClientRect(window, &client);
    const bool mdiChild = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    menuBar_ = std::make_unique<MenuBarElement>(window);
    if (const auto *frame = dynamic_cast<const FrameWndDefinition *>(definition_)) menuBar_->setSkin(&frame->menuBar);
    if (!mdiChild) {
        originalMenu_ = GetMenu(window);
        menuBar_->setMenu(originalMenu_);
        if (originalMenu_) {
            SetMenu(window, nullptr);
            DrawMenuBar(window);
        }
    }
    window_ = window;
    rebuildFrameNonClient();
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (FramePart *part = framePart(i)) part->setEnabledByStyle(realStyle_);
    }
    if (!::drawsCaptionText(realStyle_)) captionText_ = false;
    window_ = nullptr;
    if (!WindowSkinner::attach(window)) {
        if (originalMenu_) {
            SetMenu(window, originalMenu_);
            DrawMenuBar(window);
        }
        originalMenu_ = nullptr;
        nonClient_.reset();
        menuBar_.reset();
        return false;
    }
    rebuildFrameNonClient();
    if (!mdiChild) skinMdiClient();
    if (isResizableStyle(realStyle_)) {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChanged);
    } else {
        keepClientArea(SIZE{client.right, client.bottom});
        SetRectEmpty(&textRect_);
        redrawAll();
    }
    return true;
}

void FrameSkinner::rebuildFrameNonClient()
{
    rebuildNonClient(&menuBar_->model(), FrameNonClient::Kind::Frame);
    MenuBarElement *bar = menuBar_.get();
    nonClient_->setMdiButtonsQuery([bar] { return bar->mdiButtonsWanted(); });
}

void FrameSkinner::skinMdiClient()
{
    HWND client = FindWindowExW(window_, nullptr, L"MDIClient", nullptr);
    if (client == nullptr) return;
    SetWindowLongW(client, GWL_STYLE, GetWindowLongW(client, GWL_STYLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    auto *skinner = new MdiClientSkinner(dynamic_cast<const FrameWndDefinition *>(definition_));
    SkinManager &manager = SkinManager::instance();
    if (!manager.registerSkinner(skinner, client)) {
        delete skinner;
        return;
    }
    if (!skinner->attach(client)) {
        manager.detachWindow(client, false);
        return;
    }
    mdiClient_ = client;
    InvalidateRect(client, nullptr, TRUE);
}

void FrameSkinner::detach()
{
    HWND window = window_;
    HMENU menu = menuBar_ ? menuBar_->menu() : nullptr;
    if (menuBar_) menuBar_->setMenu(nullptr);
    if (window) {
        for (size_t i = 0; i < parts_.size(); ++i) KillTimer(window, kCaptionButtonTimerBase + i);
        KillTimer(window, kMenuBarHoverTimer);
    }
    if (mdiClient_ && IsWindow(mdiClient_)) SkinManager::instance().detachWindow(mdiClient_, false);
    mdiClient_ = nullptr;
    givingMenuBack_ = true;
    WindowSkinner::detach();
    if (window && !destroyed_ && menu && IsMenu(menu) && GetMenu(window) == nullptr) {
        SetMenu(window, menu);
        DrawMenuBar(window);
    }
    nonClient_.reset();
}

SkinObject *FrameSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = FramedSkinner::setSkin(definition);
    const auto *frame = dynamic_cast<const FrameWndDefinition *>(definition);
    if (menuBar_) menuBar_->setSkin(frame ? &frame->menuBar : nullptr);
    if (window_ == nullptr || !attached_) return previous;
    rebuildFrameNonClient();
    if (mdiClient_) {
        if (auto *mdi = dynamic_cast<MdiClientSkinner *>(SkinManager::instance().findSkinner(mdiClient_))) mdi->setFrame(frame);
        InvalidateRect(mdiClient_, nullptr, TRUE);
    }
    if (!IsIconic(window_)) {
        if (isResizableStyle(realStyle_)) {
            const SkinSize least = frameMinimumSize(bordered());
            const SkinSize size = windowSize();
            if (size.width < least.width || size.height < least.height) {
                SetWindowPos(window_, nullptr, 0, 0, std::max(size.width, least.width),
                             std::max(size.height, least.height), kResizeOnly);
            }
        } else {
            RECT client{};
            GetClientRect(window_, &client);
            keepClientArea(SIZE{client.right, client.bottom});
        }
    }
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChanged);
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
    return previous;
}

LRESULT FrameSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (definition_ == nullptr) return WindowSkinner::windowProc(message, wp, lp);
    LRESULT result = 0;
    if (menuBar_ && menuBar_->onMessage(message, wp, lp, result)) return result;
    if (onCapturedMouse(message, lp, result)) return result;
    switch (message) {
    case WM_DESTROY: {
        HWND parent = GetParent(window_);
        if (isMdiChild() && parent) {
            RECT r{};
            GetWindowRect(window_, &r);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
            SendMessageW(parent, WM_SKIN_MDI_CHILD_GONE, 0, reinterpret_cast<LPARAM>(&r));
        }
        // The window is destroyed with its menu; the bar no longer takes it.
        HMENU menu = menuBar_ ? menuBar_->menu() : nullptr;
        if (menuBar_) menuBar_->setMenu(nullptr);
        givingMenuBack_ = true;
        if (menu && IsMenu(menu) && !isMdiChild()) SetMenu(window_, menu);
        return callPrevious(message, wp, lp);
    }
    case WM_SIZE: {
        if (isMdiChild() && IsZoomed(window_)) {
            RECT client{};
            GetClientRect(GetParent(window_), &client);
            const RECT m = clientMargins();
            SetWindowPos(window_, nullptr, -m.left, -m.top, client.right + m.left + m.right,
                         client.bottom + m.top + m.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        const bool mdiChild = isMdiChild();
        HWND window = window_;
        const LRESULT r = callPrevious(message, wp, lp);
        // Maximised or back: the MDI frame's bar shows or drops the child's buttons.
        if (mdiChild && IsWindow(window)) {
            if (HWND frame = GetAncestor(window, GA_ROOT)) SetWindowPos(frame, nullptr, 0, 0, 0, 0, kFrameChanged);
        }
        return r;
    }
    case WM_SETTEXT:
    case WM_SETICON: return onSetText(message, wp, lp);
    case WM_ERASEBKGND: return onEraseBackground(reinterpret_cast<HDC>(wp));
    case WM_GETMINMAXINFO: return onGetMinMaxInfo(wp, lp);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: return 0;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT r = callPrevious(message, wp, lp);
        if (isMdiChild() && window_) SendMessageW(window_, WM_NCPAINT, 1, 0);
        return r;
    }
    case WM_NCCALCSIZE:
        adoptWindowMenu();
        if (nonClient_ && lp) return nonClient_->onNcCalcSize(lp);
        return callPrevious(message, wp, lp);
    case WM_NCHITTEST: return onNcHitTest(lp);
    case WM_NCPAINT:
        adoptWindowMenu();
        return onNcPaint(wp);
    case WM_NCACTIVATE:
        if (isMdiChild()) return callWithStyle(message, wp, lp, shownStyle());
        return onNcActivate(wp, lp);
    case WM_NCMOUSEMOVE: return onNcMouseMove(wp, lp);
    case WM_NCLBUTTONDOWN: return onNcLButtonDown(wp, lp);
    case WM_NCLBUTTONUP: return onNcLButtonUp(wp, lp);
    case WM_NCLBUTTONDBLCLK: return onNcLButtonDblClk(wp, lp);
    case WM_INITMENU:
    case WM_INITMENUPOPUP: return callThenRepaintFrame(message, wp, lp);
    case WM_CTLCOLORSTATIC: return ctlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_TIMER:
        if (wp >= kCaptionButtonTimerBase && wp < kCaptionButtonTimerBase + parts_.size()) return onPartTimer(wp);
        return callPrevious(message, wp, lp);
    case WM_SKIN_SHOW_SYSTEM_MENU: showSystemMenu(); return 0;
    case WM_SKIN_RELAY_CLICK:
    case WM_SKIN_RELAY_CLICK_ALT: {
        POINT screen = pointOf(lp);
        POINT client = screen;
        ScreenToClient(window_, &client);
        RECT c{};
        GetClientRect(window_, &c);
        if (PtInRect(&c, client)) {
            menuBar_->model().endMenuMode();
            return SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        }
        if (menuBar_->takeRelayedClick(screen)) return 0;
        const LRESULT hit = SendMessageW(window_, WM_NCHITTEST, 0, lp);
        return SendMessageW(window_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), lp);
    }
    case WM_SKIN_RELAY_MOVE: return onNcMouseMove(HTMENU, lp);
    case WM_SKIN_END_POPUP_MENU:
        menuBar_->model().endMenuMode();
        return 0;
    case WM_SKIN_PAINT_BACKGROUND: return onPaintBackground(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_SKIN_REAL_STYLE: return static_cast<LRESULT>(realStyle_);
    default: return WindowSkinner::windowProc(message, wp, lp);
    }
}

LRESULT FrameSkinner::onMenuRelay(WPARAM wp, LPARAM lp)
{
    return menuBar_ && menuBar_->onMenuKey(wp, lp) ? 1 : 0;
}

// ---- DialogSkinner

bool DialogSkinner::attach(HWND window)
{
    if (window == nullptr || !IsWindow(window) || attached_) return false;
    realStyle_ = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
    active_ = GetActiveWindow() == window;
    RECT client{};
    GetClientRect(window, &client);
    if (!WindowSkinner::attach(window)) return false;
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (FramePart *part = framePart(i)) part->setEnabledByStyle(realStyle_);
    }
    if (!::drawsCaptionText(realStyle_)) captionText_ = false;
    rebuildNonClient(nullptr, FrameNonClient::Kind::Dialog);
    if (isFramedDialogStyle(realStyle_)) keepClientArea(SIZE{client.right, client.bottom});
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChanged);
    return true;
}

SkinObject *DialogSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = FramedSkinner::setSkin(definition);
    if (window_ == nullptr || !attached_) return previous;
    rebuildNonClient(nullptr, FrameNonClient::Kind::Dialog);
    if (isFramedDialogStyle(realStyle_)) {
        RECT client{};
        GetClientRect(window_, &client);
        keepClientArea(SIZE{client.right, client.bottom});
    }
    SetRectEmpty(&textRect_);
    redrawAll();
    return previous;
}

LRESULT DialogSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (definition_ == nullptr) return WindowSkinner::windowProc(message, wp, lp);
    if (!isFramedDialogStyle(realStyle_)) {
        // A dialog without a frame keeps its own non-client area.
        switch (message) {
        case WM_ERASEBKGND: return onEraseBackground(reinterpret_cast<HDC>(wp));
        case WM_CTLCOLORDLG: return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        case WM_CTLCOLORSTATIC: return ctlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_SKIN_PAINT_BACKGROUND: return onPaintBackground(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_NCDESTROY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: return WindowSkinner::windowProc(message, wp, lp);
        default: return callPrevious(message, wp, lp);
        }
    }
    LRESULT captured = 0;
    if (onCapturedMouse(message, lp, captured)) return captured;
    switch (message) {
    case WM_NCCALCSIZE:
        if (nonClient_ && lp) return nonClient_->onNcCalcSize(lp);
        return callPrevious(message, wp, lp);
    case WM_NCHITTEST: return onNcHitTest(lp);
    case WM_NCPAINT: return onNcPaint(wp);
    case WM_NCACTIVATE: return onNcActivate(wp, lp);
    case WM_NCMOUSEMOVE: return onNcMouseMove(wp, lp);
    case WM_NCLBUTTONDOWN: return onNcLButtonDown(wp, lp);
    case WM_NCLBUTTONUP: return onNcLButtonUp(wp, lp);
    case WM_NCLBUTTONDBLCLK: return onNcLButtonDblClk(wp, lp);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: return 0;
    case WM_GETMINMAXINFO: return onGetMinMaxInfo(wp, lp);
    case WM_ERASEBKGND: return onEraseBackground(reinterpret_cast<HDC>(wp));
    case WM_SETTEXT: return onSetText(message, wp, lp);
    case WM_CTLCOLORSTATIC: return ctlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_SKIN_PAINT_BACKGROUND: return onPaintBackground(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_TIMER:
        if (wp >= kCaptionButtonTimerBase && wp < kCaptionButtonTimerBase + parts_.size()) return onPartTimer(wp);
        return callPrevious(message, wp, lp);
    case WM_SKIN_SHOW_SYSTEM_MENU: showSystemMenu(); return 0;
    case WM_SETICON: {
        const LRESULT r = callWithStyle(message, wp, lp, shownStyle());
        if (window_) SendMessageW(window_, WM_NCPAINT, kWholeFrame, 0);
        return r;
    }
    case WM_ENABLE:
    case WM_INITMENU:
    case WM_INITMENUPOPUP: return callThenRepaintFrame(message, wp, lp);
    default: return WindowSkinner::windowProc(message, wp, lp);
    }
}

// ---- MdiClientSkinner

LRESULT MdiClientSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_ERASEBKGND: {
        if (frame_ == nullptr) return 0;
        RECT client{};
        GetClientRect(window_, &client);
        skinDrawPicture(frame_->owner(), reinterpret_cast<HDC>(wp), client, frame_->mdiClient, frame_->backgroundFill,
                        kSkinFill, false);
        return 1;
    }
    case WM_MDIACTIVATE: {
        BOOL maximized = FALSE;
        HWND active = reinterpret_cast<HWND>(SendMessageW(window_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (active && maximized) SendMessageW(active, WM_SYSCOMMAND, SC_RESTORE, 0);
        return callPrevious(message, wp, lp);
    }
    case WM_SKIN_MDI_CHILD_GONE:
        if (SendMessageW(window_, WM_MDIGETACTIVE, 0, 0) == 0 && lp) {
            InvalidateRect(window_, reinterpret_cast<const RECT *>(lp), TRUE);
            UpdateWindow(window_);
        }
        return 0;
    default: return WindowSkinner::windowProc(message, wp, lp);
    }
}

void skinRegisterFrameSkinners()
{
    SkinManager &manager = SkinManager::instance();
    SkinnerMakers makers = manager.makers();
    makers.frame = &makeFrameSkinner;
    makers.dialog = &makeDialogSkinner;
    manager.setMakers(makers);
    setSkinPartMaker(&makeFramePart);
}

#endif
