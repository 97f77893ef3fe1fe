#include "skin_tooltip.h"

#include "frame_geometry.h"
#include "rich_text_drawer.h"
#include "skin_codes.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "window_skinner.h"

namespace {

const wchar_t kThisProperty[] = L"this";
// The module the class was registered in (the windows are made in it).
HINSTANCE gClassModule = nullptr;
constexpr UINT kTooltipClassStyles = CS_SAVEBITS | CS_CLASSDC;  // 0x840

std::wstring toWide(const std::u16string &text) { return std::wstring(text.begin(), text.end()); }
std::u16string toU16(const wchar_t *text) { return text ? std::u16string(text, text + lstrlenW(text)) : std::u16string(); }

// The style sheet of a skin's Tooltip object as wide text (its bytes are 8-bit).
std::wstring styleSheetText(const TooltipDefinition &definition)
{
    const std::string &sheet = definition.styleSheet;
    if (sheet.empty())
        return {};
    int length = MultiByteToWideChar(CP_ACP, 0, sheet.data(), static_cast<int>(sheet.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, sheet.data(), static_cast<int>(sheet.size()), &wide[0], length);
    return wide;
}

SkinRect monitorAreaOfPoint(POINT point)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return makeSkinRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return toSkinRect(info.rcMonitor);
}

}  // namespace

const wchar_t SkinTooltip::kClassName[] = L"GlossvaneTooltip32";

SkinTooltip &SkinTooltip::instance()
{
    // Kept for the life of the process: windows may ask for it until the very end.
    static SkinTooltip *tooltip = new SkinTooltip();
    return *tooltip;
}

SkinTooltip::SkinTooltip() : builtIn_(std::make_unique<TooltipDefinition>()), drawer_(std::make_unique<RichTextDrawer>())
{
    builtIn_->backgroundFill = GetSysColor(COLOR_INFOBK);
    builtIn_->activeFill = GetSysColor(COLOR_INFOTEXT);
    builtIn_->inactiveFill = builtIn_->activeFill;
}

SkinTooltip::~SkinTooltip() { destroy(); }

bool SkinTooltip::registerClass(HINSTANCE module)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = kTooltipClassStyles;
    wc.lpfnWndProc = &SkinTooltip::windowProcedure;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kClassName;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    gClassModule = module;
    return true;
}

void SkinTooltip::unregisterClass(HINSTANCE module) { UnregisterClassW(kClassName, module); }

bool SkinTooltip::create(HWND owner)
{
    if (window_)
        return true;
    HINSTANCE module = gClassModule ? gClassModule : GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                              module, this);
    return window_ != nullptr;
}

void SkinTooltip::destroy()
{
    if (!window_)
        return;
    hide();
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
}

const TooltipDefinition &SkinTooltip::definition() const { return skin_ ? *skin_ : *builtIn_; }

SkinObject *SkinTooltip::setSkin(SkinObject *definition)
{
    SkinObject *previous = const_cast<TooltipDefinition *>(skin_);
    skin_ = definition && definition->type() == kSkinTooltip ? static_cast<TooltipDefinition *>(definition) : nullptr;
    std::wstring sheet = skin_ ? styleSheetText(*skin_) : std::wstring();
    drawer_->setCssStyles(sheet.empty() ? nullptr : sheet.c_str());
    if (window_)
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                                       SWP_NOACTIVATE);
    return previous;
}

void SkinTooltip::setResourceModule(HMODULE module) { drawer_->setResourceModule(module); }

bool SkinTooltip::showText(const wchar_t *text, const POINT *at)
{
    if (at)
        anchor_ = *at;
    else
        GetCursorPos(&anchor_);
    int32_t action = timeline_.showText(toU16(text));
    carryOut(action);
    return action == kTooltipArmShow;
}

void SkinTooltip::hide() { carryOut(timeline_.hide()); }

void SkinTooltip::carryOut(int32_t action)
{
    switch (action) {
    case kTooltipHide:
    case kTooltipArmShow:
        if (window_) {
            ShowWindow(window_, SW_HIDE);
            KillTimer(window_, kTooltipShowTimer);
            KillTimer(window_, kTooltipHideTimer);
        }
        tracking_ = false;
        if (action == kTooltipArmShow && window_)
            SetTimer(window_, kTooltipShowTimer, static_cast<UINT>(definition().showDelay), nullptr);
        break;
    case kTooltipShow: showNow(); break;
    default: break;  // waiting: the show timer asks again at its next period
    }
}

void SkinTooltip::onShowTimer()
{
    GetCursorPos(&anchor_);
    if (!provider_) {
        carryOut(timeline_.showDelayEnded(nullptr));
        return;
    }
    std::wstring provided = provider_->tooltipTextAt(anchor_.x, anchor_.y);
    std::u16string text(provided.begin(), provided.end());
    carryOut(timeline_.showDelayEnded(&text));
}

TooltipFrame SkinTooltip::frame() const
{
    FrameBorders borders = frameBorders(designPieces(definition()), false);
    return TooltipFrame{borders.left, borders.top, borders.right, borders.bottom};
}

void SkinTooltip::showNow()
{
    if (!window_)
        return;
    ShowWindow(window_, SW_HIDE);
    KillTimer(window_, kTooltipShowTimer);
    KillTimer(window_, kTooltipHideTimer);
    tracking_ = false;
    std::wstring text = toWide(timeline_.text());
    HDC dc = GetDC(window_);
    SIZE size = drawer_->measure(dc, text.c_str());
    ReleaseDC(window_, dc);
    int32_t width = 0, height = 0;
    tooltipWindowSize(frame(), size.cx, size.cy, &width, &height);
    SkinRect r = placeTooltip(definition().placement, anchor_.x, anchor_.y, width, height, monitorAreaOfPoint(anchor_));
    SetWindowPos(window_, HWND_TOPMOST, r.left, r.top, r.width(), r.height(),
                 SWP_NOCOPYBITS | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
    SetTimer(window_, kTooltipHideTimer, static_cast<UINT>(definition().hideDelay), nullptr);
}

void SkinTooltip::paint()
{
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    MemoryDC memory(target, client.right, client.bottom);
    const TooltipDefinition &look = definition();
    skinDrawPicture(look.owner(), memory.dc(), client, look.pictures[kPieceCentre], look.backgroundFill, kSkinFill, false);
    std::wstring text = toWide(timeline_.text());
    drawer_->draw(memory.dc(), text.c_str(), client);
    BitBlt(target, 0, 0, client.right, client.bottom, memory.dc(), 0, 0, SRCCOPY);
    EndPaint(window_, &ps);
}

// The frame drawn off-screen at the window's size, then its four border strips copied.
void SkinTooltip::paintFrame()
{
    RECT window;
    GetWindowRect(window_, &window);
    int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0)
        return;
    const TooltipDefinition &look = definition();
    FramePieces pieces = layoutFramePieces(designPieces(look), w, h);
    HDC target = GetWindowDC(window_);
    MemoryDC memory(target, w, h);
    for (int i = 0; i < kPieceCount; ++i)
        if (i != kPieceCentre)
            skinDrawPicture(look.owner(), memory.dc(), toRECT(pieces[i]), look.pictures[i], look.activeFill, kSkinFill,
                            false);
    TooltipFrame f = frame();
    ExcludeClipRect(target, f.left, f.top, w - f.right, h - f.bottom);
    BitBlt(target, 0, 0, w, h, memory.dc(), 0, 0, SRCCOPY);
    ReleaseDC(window_, target);
}

LRESULT CALLBACK SkinTooltip::windowProcedure(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTW *>(lp);
        SetPropW(window, kThisProperty, create->lpCreateParams);
    }
    auto *tooltip = static_cast<SkinTooltip *>(GetPropW(window, kThisProperty));
    if (!tooltip)
        return DefWindowProcW(window, message, wp, lp);
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kThisProperty);
        if (tooltip->window_ == window)
            tooltip->window_ = nullptr;
        return 0;
    }
    if (!tooltip->window_)
        tooltip->window_ = window;
    return tooltip->handle(message, wp, lp);
}

LRESULT SkinTooltip::handle(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCCALCSIZE: {
        RECT *r = reinterpret_cast<RECT *>(lp);
        TooltipFrame f = frame();
        r->left += f.left;
        r->top += f.top;
        r->right = std::max(r->left, r->right - f.right);
        r->bottom = std::max(r->top, r->bottom - f.bottom);
        return 0;
    }
    case WM_NCPAINT:
        paintFrame();
        return 0;
    case WM_TIMER:
        if (wp == kTooltipShowTimer)
            onShowTimer();
        else if (wp == kTooltipHideTimer)
            hide();
        break;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        break;
    case WM_MOUSELEAVE:
        hide();
        break;
    case kSkinChangedMessage: {
        SkinRepository *skin = SkinManager::instance().currentSkin();
        setSkin(skin ? skin->findObjectByType(kSkinTooltip) : nullptr);
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wp, lp);
}
