// Skinned scroll bars: the per-window state, the subclass that lays out, paints and tracks
// the bars, and the twins of the platform's scroll functions.
#include "skin_scrollbar.h"

#include <windowsx.h>

#include <algorithm>

#include "fwsubclass.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_platform.h"
#include "skin_repository.h"

using namespace skinbar;

namespace {

const wchar_t kStateProperty[] = L"SkinSBSubclassPtr";
constexpr UINT kFrameChanged = SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr LONG kBarStyles = WS_HSCROLL | WS_VSCROLL;
constexpr int kDefaultSize = -1;
constexpr WPARAM kWholeFrame = 1;
constexpr COLORREF kDefaultKeyColor = RGB(255, 0, 255);

struct BarInfo {
    uint32_t flags;
    int32_t shown;
    ScrollValues values;
    int32_t arrowLength;
    int32_t thickness;
    int32_t kind;
    int32_t style;
    int32_t minThumb;
};

struct BarState {
    BarInfo bars[2];  // horizontal, vertical
    int32_t thumbTracking;
    int32_t leftScrollBar;
    int32_t leftEdge, rightEdge, topEdge, bottomEdge;
    int32_t styleGuard;
};

// The press and hot tracking: one bar of one window at a time, on the thread that owns it.
struct ModuleState {
    HWND pressWindow = nullptr;
    ScrollPress press;
    HWND hotWindow = nullptr;
    int32_t hotKind = -1;
    SkinRect hotRect{};
    int32_t hotPart = kScrollPartNone;
};
ModuleState &module()
{
    static ModuleState m;
    return m;
}

BarState *stateOf(HWND window) { return static_cast<BarState *>(GetPropW(window, kStateProperty)); }

bool oldSystem()
{
    DWORD version = GetVersion();
    return (version & 0x80000000u) != 0 || LOBYTE(LOWORD(version)) < 5;
}
int32_t systemMinThumb() { return oldSystem() ? kScrollMinThumbOldSystems : kScrollMinThumb; }
bool nonNtSystem() { return (GetVersion() & 0x80000000u) != 0; }

int32_t arrowPixels(const BarInfo &b)
{
    return scrollSizePixels(b.arrowLength, GetSystemMetrics(b.kind == kScrollHorizontal ? SM_CXHSCROLL : SM_CYVSCROLL));
}
int32_t thicknessPixels(const BarInfo &b)
{
    return scrollSizePixels(b.thickness, GetSystemMetrics(b.kind == kScrollHorizontal ? SM_CYHSCROLL : SM_CXVSCROLL));
}

// Changes the window's style without the window hearing of it.
void guardedStyle(HWND window, BarState *s, LONG style)
{
    s->styleGuard = 1;
    SetWindowLongW(window, GWL_STYLE, style);
    s->styleGuard = 0;
}

SkinRect windowRectOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return SkinRect{r.left, r.top, r.right, r.bottom};
}

bool verticalOnLeft(HWND window, const BarState *s)
{
    bool rtl = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    return (s->leftScrollBar != 0) != rtl;
}

ScrollLayoutInput layoutInput(HWND window, const BarState *s, const SkinRect &windowRect, const SkinRect &client)
{
    ScrollLayoutInput in;
    in.windowWidth = windowRect.width();
    in.windowHeight = windowRect.height();
    in.client = client;
    in.horizontalWanted = (s->bars[kScrollHorizontal].flags & kScrollBarWanted) != 0;
    in.verticalWanted = (s->bars[kScrollVertical].flags & kScrollBarWanted) != 0;
    in.horizontalThickness = thicknessPixels(s->bars[kScrollHorizontal]);
    in.verticalThickness = thicknessPixels(s->bars[kScrollVertical]);
    in.verticalOnLeft = verticalOnLeft(window, s);
    return in;
}

// The current layout from the recorded edges.
void currentLayout(HWND window, const BarState *s, ScrollLayoutInput &in, ScrollLayout &l)
{
    SkinRect w = windowRectOf(window);
    SkinRect inner{s->leftEdge, s->topEdge, w.width() - s->rightEdge, w.height() - s->bottomEdge};
    in = layoutInput(window, s, w, inner);
    l.client = inner;
    l.leftEdge = s->leftEdge;
    l.topEdge = s->topEdge;
    l.rightEdge = s->rightEdge;
    l.bottomEdge = s->bottomEdge;
    l.horizontalShown = s->bars[kScrollHorizontal].shown != 0;
    l.verticalShown = s->bars[kScrollVertical].shown != 0;
}

SkinRect barRect(HWND window, const BarState *s, int32_t kind)
{
    ScrollLayoutInput in;
    ScrollLayout l;
    currentLayout(window, s, in, l);
    return scrollBarRect(in, l, kind);
}

// The point of a screen position in window coordinates.
POINT toWindow(HWND window, POINT screen)
{
    SkinRect w = windowRectOf(window);
    return POINT{screen.x - w.left, screen.y - w.top};
}

// A right-to-left window shows its horizontal bar mirrored: its first arrow and the start of
// its range at the right. Points along such a bar are mirrored within it before the bar's
// geometry reads them, and its picture is mirrored as it is put on the window.
bool mirroredBar(HWND window, int32_t kind)
{
    return kind == kScrollHorizontal && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

POINT alongBar(HWND window, const BarState *s, int32_t kind, POINT at)
{
    if (mirroredBar(window, kind)) {
        const SkinRect r = barRect(window, s, kind);
        at.x = r.left + r.right - 1 - at.x;
    }
    return at;
}

// The window DC in the unmirrored window coordinates the layout uses (a right-to-left
// window's DC is mirrored); the previous layout comes back on release.
class BarDC {
public:
    explicit BarDC(HWND window) : window_(window), dc_(GetWindowDC(window))
    {
        if (dc_ != nullptr) {
            layout_ = GetLayout(dc_);
            if (layout_ != 0 && layout_ != GDI_ERROR) SetLayout(dc_, 0);
        }
    }
    ~BarDC()
    {
        if (dc_ == nullptr) return;
        if (layout_ != 0 && layout_ != GDI_ERROR) SetLayout(dc_, layout_);
        ReleaseDC(window_, dc_);
    }
    BarDC(const BarDC &) = delete;
    BarDC &operator=(const BarDC &) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    DWORD layout_ = 0;
};

// ---- drawing

const ScrollBarDefinition *skinBars(const SkinRepository *&repository)
{
    repository = SkinManager::instance().currentSkin();
    return repository ? static_cast<const ScrollBarDefinition *>(repository->findObjectByType(kSkinScrollBar)) : nullptr;
}

int groupOf(uint32_t state)
{
    if (state & kScrollDrawDisabled) {
        return kBarDisabled;
    }
    if (state & kScrollDrawPressed) {
        return kBarPressed;
    }
    return (state & kScrollDrawHot) ? kBarHot : kBarNormal;
}

}  // namespace

void skinDrawScrollPiece(const SkinRepository *skin, const ScrollBarDefinition &def, HDC dc, int32_t kind,
                         const ScrollPiece &piece, const RECT &r)
{
    const SkinBarGroup *groups = (kind == kScrollVertical && def.hasVertical) ? def.vertical : def.horizontal;
    const SkinBarGroup &g = groups[groupOf(piece.state)];
    const SkinBarGroup &normal = groups[kBarNormal];
    auto pick = [](const SkinPicture &p, const SkinPicture &fallback) -> const SkinPicture & {
        return p.isSet() ? p : fallback;
    };
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    switch (piece.part) {
    case kScrollPartFirstArrow:
        skinDrawPicture(skin, dc, r, pick(g.firstArrow, normal.firstArrow), face, kSkinFill, false);
        break;
    case kScrollPartLastArrow:
        skinDrawPicture(skin, dc, r, pick(g.lastArrow, normal.lastArrow), face, kSkinFill, false);
        break;
    case kScrollPartThumb: {
        skinDrawPicture(skin, dc, r, pick(g.track, normal.track), face, kSkinFill, false);
        bool own = g.thumb.image[0] != '\0' && !g.thumb.source.isEmpty();
        const SkinNineGrid &thumb = own ? g.thumb : normal.thumb;
        const SkinRect &m = own ? g.thumbMargins : normal.thumbMargins;
        RECT inner{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom};
        if (inner.right > inner.left && inner.bottom > inner.top) {
            // The thumb's rounded corners are the skin's key colour: the track shows there.
            const ApplicationDefinition *app = skin->application();
            skinDrawKeyedNineGrid(skin, dc, inner, thumb, app ? app->skinKeyColor() : kDefaultKeyColor);
        }
        break;
    }
    default:
        skinDrawPicture(skin, dc, r, pick(g.track, normal.track), face, kSkinFill, false);
        break;
    }
}

namespace {

void fillChecker(HDC dc, const RECT &r, bool pressed)
{
    static const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    HBITMAP bits = CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH brush = CreatePatternBrush(bits);
    COLORREF highlight = GetSysColor(COLOR_3DHILIGHT);
    if (highlight != RGB(255, 255, 255) && highlight == GetSysColor(COLOR_WINDOW)) {
        highlight = GetSysColor(COLOR_3DFACE);
    }
    COLORREF bar = GetSysColor(COLOR_SCROLLBAR);
    COLORREF text = SetTextColor(dc, pressed ? bar : highlight);
    COLORREF back = SetBkColor(dc, pressed ? highlight : bar);
    FillRect(dc, &r, brush);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    DeleteObject(brush);
    DeleteObject(bits);
}

void drawSystemPiece(HDC dc, int32_t kind, int32_t style, const ScrollPiece &piece, RECT r)
{
    bool pressed = piece.state & kScrollDrawPressed;
    bool disabled = piece.state & kScrollDrawDisabled;
    bool flat = style != kSkinScroll3D;
    switch (piece.part) {
    case kScrollPartFirstArrow:
    case kScrollPartLastArrow: {
        UINT which = kind == kScrollHorizontal ? (piece.part == kScrollPartFirstArrow ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                                               : (piece.part == kScrollPartFirstArrow ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        UINT state = which | (disabled ? DFCS_INACTIVE : 0) | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0) |
                     (flat ? DFCS_FLAT : 0);
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
        break;
    }
    case kScrollPartThumb: {
        bool hot = (piece.state & kScrollDrawHot) && style == kSkinScrollHotTracked;
        if (hot) {
            FillRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | (flat ? BF_FLAT : 0));
            FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    }
    default:
        fillChecker(dc, r, pressed);
        break;
    }
}

ScrollBarLook lookOf(HWND window, int32_t kind)
{
    ScrollBarLook look;
    ModuleState &m = module();
    if (m.pressWindow == window && m.press.pressed() && m.press.kind() == kind) {
        look.pressedPart = m.press.drawnPressed();
    }
    if (m.hotWindow == window && m.hotKind == kind) {
        look.hotPart = m.hotPart;
    }
    return look;
}

void drawBar(HWND window, const BarState *s, HDC windowDC, int32_t kind)
{
    SkinRect bar = barRect(window, s, kind);
    if (bar.isEmpty()) {
        return;
    }
    const BarInfo &b = s->bars[kind];
    MemoryDC memory(windowDC, bar.width(), bar.height());
    if (!memory.isValid()) {
        return;
    }
    ModuleState &m = module();
    const int32_t *tracked = nullptr;
    int32_t trackedStart = 0;
    if (m.pressWindow == window && m.press.trackingThumb() && m.press.kind() == kind) {
        trackedStart = m.press.thumbStart();
        tracked = &trackedStart;
    }
    const SkinRepository *skin = nullptr;
    const ScrollBarDefinition *def = skinBars(skin);
    for (const ScrollPiece &piece : scrollBarPieces(bar, kind, arrowPixels(b), b.values, b.flags, b.minThumb,
                                                    lookOf(window, kind), tracked)) {
        RECT r{piece.rect.left - bar.left, piece.rect.top - bar.top, piece.rect.right - bar.left,
               piece.rect.bottom - bar.top};
        if (def) {
            skinDrawScrollPiece(skin, *def, memory.dc(), kind, piece, r);
        } else {
            drawSystemPiece(memory.dc(), kind, b.style, piece, r);
        }
    }
    if (mirroredBar(window, kind)) {
        StretchBlt(windowDC, bar.right - 1, bar.top, -bar.width(), bar.height(), memory.dc(), 0, 0, bar.width(), bar.height(),
                   SRCCOPY);
    } else {
        BitBlt(windowDC, bar.left, bar.top, bar.width(), bar.height(), memory.dc(), 0, 0, SRCCOPY);
    }
}

void drawCorner(HWND window, const BarState *s, HDC dc)
{
    ScrollLayoutInput in;
    ScrollLayout l;
    currentLayout(window, s, in, l);
    SkinRect c = scrollCornerRect(in, l);
    if (c.isEmpty()) {
        return;
    }
    RECT r{c.left, c.top, c.right, c.bottom};
    const SkinRepository *skin = nullptr;
    if (const ScrollBarDefinition *def = skinBars(skin)) {
        skinDrawPicture(skin, dc, r, def->sizeBox, GetSysColor(COLOR_BTNFACE), kSkinFill, false);
        return;
    }
    HWND parent = GetParent(window);
    RECT parentClient{};
    bool atParentCorner = false;
    if (parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        GetClientRect(parent, &parentClient);
        POINT corner{parentClient.right, parentClient.bottom};
        ClientToScreen(parent, &corner);
        SkinRect w = windowRectOf(window);
        atParentCorner = corner.x == w.left + c.right && corner.y == w.top + c.bottom;
    }
    if (atParentCorner) {
        DrawFrameControl(dc, &r, DFC_SCROLL, in.verticalOnLeft ? DFCS_SCROLLSIZEGRIPRIGHT : DFCS_SCROLLSIZEGRIP);
    } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    }
}

void redrawBar(HWND window, const BarState *s, int32_t kind)
{
    BarDC dc(window);
    if (dc.dc()) {
        drawBar(window, s, dc.dc(), kind);
    }
}

void repaintFrame(HWND window) { SendMessageW(window, WM_NCPAINT, kWholeFrame, 0); }

// ---- messages

LRESULT onNcCalcSize(HWND window, BarState *s, WPARAM wp, LPARAM lp)
{
    RECT *proposed = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS *>(lp)->rgrc[0] : reinterpret_cast<RECT *>(lp);
    RECT before = *proposed;
    LONG style = GetWindowLongW(window, GWL_STYLE);
    guardedStyle(window, s, style & ~kBarStyles);
    LRESULT result = fwDefSubclassProc(window, WM_NCCALCSIZE, wp, lp);
    guardedStyle(window, s, style);
    SkinRect w{0, 0, before.right - before.left, before.bottom - before.top};
    SkinRect client{proposed->left - before.left, proposed->top - before.top, proposed->right - before.left,
                    proposed->bottom - before.top};
    ScrollLayout l = layoutScrollBars(layoutInput(window, s, w, client));
    s->leftEdge = l.leftEdge;
    s->topEdge = l.topEdge;
    s->rightEdge = l.rightEdge;
    s->bottomEdge = l.bottomEdge;
    s->bars[kScrollHorizontal].shown = l.horizontalShown;
    s->bars[kScrollVertical].shown = l.verticalShown;
    proposed->left = before.left + l.client.left;
    proposed->top = before.top + l.client.top;
    proposed->right = before.left + l.client.right;
    proposed->bottom = before.top + l.client.bottom;
    return result;
}

int32_t hitBar(HWND window, const BarState *s, POINT at)
{
    for (int32_t kind : {kScrollHorizontal, kScrollVertical}) {
        SkinRect r = barRect(window, s, kind);
        if (!r.isEmpty() && at.x >= r.left && at.x < r.right && at.y >= r.top && at.y < r.bottom) {
            return kind;
        }
    }
    return -1;
}

LRESULT onNcPaint(HWND window, BarState *s, WPARAM wp, LPARAM lp)
{
    {
        BarDC dc(window);
        if (dc.dc()) {
            for (int32_t kind : {kScrollHorizontal, kScrollVertical}) {
                if (s->bars[kind].shown) {
                    drawBar(window, s, dc.dc(), kind);
                }
            }
        }
    }
    LONG style = GetWindowLongW(window, GWL_STYLE);
    guardedStyle(window, s, style & ~kBarStyles);
    LRESULT result = fwDefSubclassProc(window, WM_NCPAINT, wp, lp);
    guardedStyle(window, s, style);
    BarDC dc(window);
    if (dc.dc()) {
        drawCorner(window, s, dc.dc());
    }
    return result;
}

ScrollPress::Bar pressBar(HWND window, const BarState *s, int32_t kind)
{
    ScrollPress::Bar b;
    const BarInfo &info = s->bars[kind];
    b.rect = barRect(window, s, kind);
    b.kind = kind;
    b.arrowLength = arrowPixels(info);
    b.minThumb = info.minThumb;
    b.flags = info.flags;
    b.values = info.values;
    return b;
}

void run(HWND window, BarState *s, const ScrollActions &actions)
{
    ModuleState &m = module();
    int32_t kind = m.press.kind();
    UINT message = kind == kScrollHorizontal ? WM_HSCROLL : WM_VSCROLL;
    for (const ScrollAction &a : actions) {
        switch (a.kind) {
        case ScrollAction::kSendRequest:
            if (a.request == kScrollThumbTrack) {
                s->bars[kind].values.trackPos = a.position;
            }
            SendMessageW(window, message, MAKEWPARAM(a.request, static_cast<WORD>(a.position)), 0);
            break;
        case ScrollAction::kSetTimer:
            SetTimer(window, a.timer, a.interval, nullptr);
            break;
        case ScrollAction::kKillTimer:
            KillTimer(window, a.timer);
            break;
        case ScrollAction::kCapture:
            SetCapture(window);
            break;
        case ScrollAction::kReleaseCapture:
            if (GetCapture() == window) {
                ReleaseCapture();
            }
            break;
        case ScrollAction::kRedraw:
            if (stateOf(window)) {
                redrawBar(window, s, kind);
            }
            break;
        }
    }
}

void onPress(HWND window, BarState *s, int32_t kind, POINT at)
{
    ModuleState &m = module();
    at = alongBar(window, s, kind, at);
    m.pressWindow = window;
    ScrollActions actions = m.press.press(pressBar(window, s, kind), at.x, at.y);
    s->thumbTracking = m.press.trackingThumb() ? 1 : 0;
    if (m.press.trackingThumb()) {
        s->bars[kind].values.trackPos = s->bars[kind].values.pos;
    }
    if (!m.press.pressed()) {
        m.pressWindow = nullptr;
    }
    run(window, s, actions);
}

void endPress(HWND window, BarState *s)
{
    ModuleState &m = module();
    ScrollActions actions = m.press.release();
    s->thumbTracking = 0;
    run(window, s, actions);
    m.pressWindow = nullptr;
}

POINT cursorInWindow(HWND window)
{
    POINT p;
    GetCursorPos(&p);
    return toWindow(window, p);
}

void onHoverTick(HWND window, BarState *s)
{
    ModuleState &m = module();
    if (s->thumbTracking || m.hotWindow != window) {
        return;
    }
    POINT at = cursorInWindow(window);
    const SkinRect &r = m.hotRect;
    if (at.x < r.left || at.x >= r.right || at.y < r.top || at.y >= r.bottom) {
        KillTimer(window, kScrollHoverTimer);
        int32_t kind = m.hotKind;
        m.hotWindow = nullptr;
        m.hotKind = -1;
        m.hotPart = kScrollPartNone;
        redrawBar(window, s, kind);
        return;
    }
    const BarInfo &b = s->bars[m.hotKind];
    at = alongBar(window, s, m.hotKind, at);
    int32_t part = scrollHitTest(r, m.hotKind, arrowPixels(b), b.values, b.minThumb, at.x, at.y);
    if (part != m.hotPart) {
        m.hotPart = part;
        redrawBar(window, s, m.hotKind);
    }
}

void onNcMouseMove(HWND window, BarState *s, POINT at)
{
    ModuleState &m = module();
    int32_t kind = hitBar(window, s, at);
    if (kind < 0 || (m.hotWindow == window && m.hotKind == kind)) {
        return;
    }
    HWND previous = m.hotWindow;
    m.hotWindow = window;
    m.hotKind = kind;
    m.hotRect = barRect(window, s, kind);
    m.hotPart = kScrollPartNone;
    SetTimer(window, kScrollHoverTimer, kScrollHoverIntervalMs, nullptr);
    if (previous && previous != window && IsWindow(previous)) {
        repaintFrame(previous);
    }
    onHoverTick(window, s);
    repaintFrame(window);
}

bool onOurHitCode(WPARAM wp) { return wp == HTHSCROLL || wp == HTVSCROLL; }

LRESULT barProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, void *data)
{
    BarState *s = static_cast<BarState *>(data);
    ModuleState &m = module();
    switch (msg) {
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        if (s->styleGuard) {
            return 0;
        }
        if (msg == WM_STYLECHANGED && wp == static_cast<WPARAM>(GWL_EXSTYLE)) {
            s->leftScrollBar = (reinterpret_cast<const STYLESTRUCT *>(lp)->styleNew & WS_EX_LEFTSCROLLBAR) ? 1 : 0;
        }
        break;
    case WM_NCDESTROY:
        skinScrollBarUninstall(window);
        return fwDefSubclassProc(window, msg, wp, lp);
    case WM_NCCALCSIZE:
        return onNcCalcSize(window, s, wp, lp);
    case WM_NCHITTEST: {
        POINT at = toWindow(window, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        int32_t kind = hitBar(window, s, at);
        if (kind == kScrollHorizontal) {
            return HTHSCROLL;
        }
        if (kind == kScrollVertical) {
            return HTVSCROLL;
        }
        break;
    }
    case WM_NCPAINT:
        return onNcPaint(window, s, wp, lp);
    case WM_NCMOUSEMOVE:
        onNcMouseMove(window, s, toWindow(window, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (onOurHitCode(wp)) {
            onPress(window, s, wp == HTHSCROLL ? kScrollHorizontal : kScrollVertical,
                    toWindow(window, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
            return 0;
        }
        break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        if (onOurHitCode(wp)) {
            return 0;
        }
        break;
    case WM_TIMER:
        if (wp == kScrollHoverTimer) {
            onHoverTick(window, s);
            return 0;
        }
        if ((wp == kScrollRepeatDelayTimer || wp == kScrollRepeatTimer) && m.pressWindow == window) {
            POINT at = alongBar(window, s, m.press.kind(), cursorInWindow(window));
            run(window, s, m.press.timer(static_cast<uint32_t>(wp), at.x, at.y));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (m.pressWindow == window && m.press.pressed()) {
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ClientToScreen(window, &at);
            at = alongBar(window, s, m.press.kind(), toWindow(window, at));
            run(window, s, m.press.move(at.x, at.y));
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (m.pressWindow == window && m.press.pressed()) {
            endPress(window, s);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the press ends as if the button came up.
        if (m.pressWindow == window && m.press.pressed() && reinterpret_cast<HWND>(lp) != window) {
            endPress(window, s);
        }
        break;
    default:
        break;
    }
    return fwDefSubclassProc(window, msg, wp, lp);
}

bool whichBars(int which, bool &horizontal, bool &vertical)
{
    horizontal = which == SB_HORZ || which == SB_BOTH;
    vertical = which == SB_VERT || which == SB_BOTH;
    return horizontal || vertical;
}

BarInfo *barOf(HWND window, int which)
{
    BarState *s = stateOf(window);
    if (!s || (which != SB_HORZ && which != SB_VERT)) {
        return nullptr;
    }
    return &s->bars[which == SB_HORZ ? kScrollHorizontal : kScrollVertical];
}

ScrollValues fromInfo(LPCSCROLLINFO info)
{
    ScrollValues v;
    v.min = info->nMin;
    v.max = info->nMax;
    v.page = info->nPage;
    v.pos = info->nPos;
    v.trackPos = info->nTrackPos;
    return v;
}

// Stores SetScrollInfo's values; true when the bar's wanted visibility changed.
bool storeInfo(HWND window, BarInfo *b, LPCSCROLLINFO info, bool changeVisibility)
{
    storeScrollInfo(b->values, info->fMask, fromInfo(info));
    if (!changeVisibility) {
        return false;
    }
    bool visible = scrollBarWantedVisible(b->values, info->fMask, b->flags);
    bool wanted = (b->flags & kScrollBarWanted) != 0;
    if (visible == wanted) {
        return false;
    }
    skinSbShowScrollBar(window, b->kind == kScrollHorizontal ? SB_HORZ : SB_VERT, visible);
    return true;
}

}  // namespace

SkinRealScrollFunctions &skinRealScrollFunctions()
{
    static SkinRealScrollFunctions f = [] {
        SkinRealScrollFunctions r;
        r.enableScrollBar = &EnableScrollBar;
        r.getScrollInfo = &GetScrollInfo;
        r.getScrollPos = &GetScrollPos;
        r.getScrollRange = &GetScrollRange;
        r.setScrollInfo = &SetScrollInfo;
        r.setScrollPos = &SetScrollPos;
        r.setScrollRange = &SetScrollRange;
        r.showScrollBar = &ShowScrollBar;
        r.getSysColor = &GetSysColor;
        r.getSysColorBrush = &GetSysColorBrush;
        return r;
    }();
    return f;
}

bool skinScrollBarHas(HWND window) { return window && GetPropW(window, kStateProperty) != nullptr; }

int skinScrollBarInstall(HWND window)
{
    if (!IsWindow(window) || skinScrollBarHas(window)) {
        return 0;
    }
    auto *s = static_cast<BarState *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(BarState)));
    if (!s) {
        return 0;
    }
    LONG style = GetWindowLongW(window, GWL_STYLE);
    for (int32_t kind : {kScrollHorizontal, kScrollVertical}) {
        BarInfo &b = s->bars[kind];
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = kScrollMaskAll;
        if (skinRealScrollFunctions().getScrollInfo(window, kind == kScrollHorizontal ? SB_HORZ : SB_VERT, &info)) {
            b.values = fromInfo(&info);
        }
        b.kind = kind;
        b.flags = (style & (kind == kScrollHorizontal ? WS_HSCROLL : WS_VSCROLL)) ? uint32_t{kScrollBarWanted} : 0u;
        b.style = kSkinScroll3D;
        b.arrowLength = b.thickness = kDefaultSize;
        b.minThumb = systemMinThumb();
    }
    s->leftScrollBar = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) ? 1 : 0;
    if (!SetPropW(window, kStateProperty, s) || !fwAddSubclass(window, &barProc, s)) {
        RemovePropW(window, kStateProperty);
        HeapFree(GetProcessHeap(), 0, s);
        return 0;
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged);
    return 1;
}

int skinScrollBarUninstall(HWND window)
{
    BarState *s = stateOf(window);
    if (!s) {
        return E_FAIL;
    }
    ModuleState &m = module();
    if (m.pressWindow == window) {
        KillTimer(window, kScrollRepeatDelayTimer);
        KillTimer(window, kScrollRepeatTimer);
        m.press = ScrollPress();
        m.pressWindow = nullptr;
    }
    if (m.hotWindow == window) {
        KillTimer(window, kScrollHoverTimer);
        m.hotWindow = nullptr;
    }
    fwRemoveSubclass(window, &barProc, s);
    RemovePropW(window, kStateProperty);
    HeapFree(GetProcessHeap(), 0, s);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged);
    return 0;
}

int skinScrollBarSetSize(HWND window, int which, int arrowLength, int thickness)
{
    BarState *s = stateOf(window);
    bool h, v;
    if (!s || !whichBars(which, h, v) || !scrollSizeAccepted(arrowLength) || !scrollSizeAccepted(thickness)) {
        return 0;
    }
    for (int32_t kind : {kScrollHorizontal, kScrollVertical}) {
        if (kind == kScrollHorizontal ? h : v) {
            s->bars[kind].arrowLength = arrowLength;
            s->bars[kind].thickness = thickness;
        }
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged);
    return 1;
}

int skinScrollBarSetStyle(HWND window, int which, int style)
{
    BarState *s = stateOf(window);
    bool h, v;
    if (!s || !whichBars(which, h, v)) {
        return 0;
    }
    if (h) {
        s->bars[kScrollHorizontal].style = style;
    }
    if (v) {
        s->bars[kScrollVertical].style = style;
    }
    repaintFrame(window);
    return 1;
}

int skinScrollBarSetMinThumb(HWND window, int which, int size)
{
    BarState *s = stateOf(window);
    bool h, v;
    if (!s || !whichBars(which, h, v)) {
        return 0;
    }
    int32_t pixels = size == kDefaultSize ? systemMinThumb() : std::max(0, size);
    if (h) {
        s->bars[kScrollHorizontal].minThumb = pixels;
    }
    if (v) {
        s->bars[kScrollVertical].minThumb = pixels;
    }
    return 1;
}

BOOL skinSbEnableScrollBar(HWND window, UINT which, UINT arrows)
{
    BarState *s = stateOf(window);
    bool h, v;
    if (!s || !whichBars(static_cast<int>(which), h, v)) {
        return skinRealScrollFunctions().enableScrollBar(window, which, arrows);
    }
    bool changedH = h && setScrollArrows(s->bars[kScrollHorizontal].flags, arrows);
    bool changedV = v && setScrollArrows(s->bars[kScrollVertical].flags, arrows);
    if (h && v) {
        return changedH && changedV;
    }
    return changedH || changedV;
}

BOOL skinSbGetScrollInfo(HWND window, int which, LPSCROLLINFO info)
{
    BarInfo *b = barOf(window, which);
    if (!b) {
        return skinRealScrollFunctions().getScrollInfo(window, which, info);
    }
    if (!info) {
        return FALSE;
    }
    ScrollValues out = fromInfo(info);
    bool answered = copyScrollInfo(b->values, info->fMask, out);
    info->nMin = out.min;
    info->nMax = out.max;
    info->nPage = out.page;
    info->nPos = out.pos;
    info->nTrackPos = out.trackPos;
    return answered;
}

int skinSbGetScrollPos(HWND window, int which)
{
    BarInfo *b = barOf(window, which);
    return b ? b->values.pos : skinRealScrollFunctions().getScrollPos(window, which);
}

BOOL skinSbGetScrollRange(HWND window, int which, LPINT min, LPINT max)
{
    BarInfo *b = barOf(window, which);
    if (!b) {
        return skinRealScrollFunctions().getScrollRange(window, which, min, max);
    }
    if (!min || !max) {
        return FALSE;
    }
    *min = b->values.min;
    *max = b->values.max;
    return TRUE;
}

int skinSbSetScrollPos(HWND window, int which, int pos, BOOL redraw)
{
    BarInfo *b = barOf(window, which);
    if (!b) {
        return skinRealScrollFunctions().setScrollPos(window, which, pos, redraw);
    }
    int old = b->values.pos;
    b->values.pos = clampScrollPos(b->values, pos);
    if (redraw && !stateOf(window)->thumbTracking) {
        repaintFrame(window);
    }
    return old;
}

BOOL skinSbSetScrollRange(HWND window, int which, int min, int max, BOOL redraw)
{
    BarInfo *b = barOf(window, which);
    if (!b) {
        return skinRealScrollFunctions().setScrollRange(window, which, min, max, redraw);
    }
    if (stateOf(window)->thumbTracking) {
        return b->values.pos;
    }
    ScrollValues range;
    range.min = min;
    range.max = max;
    storeScrollInfo(b->values, kScrollMaskRange, range);
    if (min == max) {
        skinSbShowScrollBar(window, which, FALSE);
    } else if (redraw) {
        repaintFrame(window);
    }
    return TRUE;
}

int skinSbSetScrollInfo(HWND window, int which, LPCSCROLLINFO info, BOOL redraw)
{
    BarInfo *b = barOf(window, which);
    if (!b || !info) {
        return skinRealScrollFunctions().setScrollInfo(window, which, info, redraw);
    }
    bool changed = storeInfo(window, b, info, true);
    if (redraw && !stateOf(window)->thumbTracking) {
        if (changed) {
            SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged);
        } else {
            repaintFrame(window);
        }
    }
    return b->values.pos;
}

int skinSbSetScrollInfoQuiet(HWND window, int which, LPCSCROLLINFO info, BOOL redraw)
{
    BarInfo *b = barOf(window, which);
    if (!b || !info) {
        return skinRealScrollFunctions().setScrollInfo(window, which, info, redraw);
    }
    storeInfo(window, b, info, false);
    if (redraw && b->shown) {
        redrawBar(window, stateOf(window), b->kind);
    }
    return b->values.pos;
}

BOOL skinSbShowScrollBar(HWND window, int which, BOOL show)
{
    BarState *s = stateOf(window);
    bool h, v;
    if (!s || !whichBars(which, h, v)) {
        return skinRealScrollFunctions().showScrollBar(window, which, show);
    }
    LONG style = GetWindowLongW(window, GWL_STYLE);
    LONG updated = style;
    bool changed = false;
    for (int32_t kind : {kScrollHorizontal, kScrollVertical}) {
        if (!(kind == kScrollHorizontal ? h : v)) {
            continue;
        }
        uint32_t &flags = s->bars[kind].flags;
        uint32_t before = flags;
        flags = show ? (flags | kScrollBarWanted) : (flags & ~kScrollBarWanted);
        changed |= flags != before;
        LONG bit = kind == kScrollHorizontal ? WS_HSCROLL : WS_VSCROLL;
        updated = show ? (updated | bit) : (updated & ~bit);
    }
    if (updated != style) {
        guardedStyle(window, s, updated);
    }
    if (nonNtSystem() && !changed) {
        return TRUE;
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged);
    return TRUE;
}
