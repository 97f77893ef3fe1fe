// The animation control's skinner (Windows).
#ifdef _WIN32
#include "animate_skinner.h"

#include <commctrl.h>

#include "control_paint.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

constexpr ULONG_PTR kLargestResourceId = 0x10000;
constexpr uint32_t kWholeClip = 0xFFFF0000u;  // from frame 0 to the last

}  // namespace

AnimateSkinner::AnimateSkinner(WindowSkinner *container) : ControlSkinner(kSkinAnimate, container) {}

AnimateSkinner::~AnimateSkinner()
{
    // The playback thread draws through this object: it ends before anything here goes.
    playback_.close();
    dropBackground();
}

bool AnimateSkinner::attach(HWND window)
{
    if (window == nullptr || !playback_.player().available()) {
        return false;
    }
    style_ = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    controlId_ = static_cast<int32_t>(GetWindowLongW(window, GWL_ID));
    return ControlSkinner::attach(window);
}

void AnimateSkinner::detach()
{
    stop();
    playback_.close();
    ControlSkinner::detach();
}

void AnimateSkinner::notifyParent(WORD code)
{
    HWND parent = GetParent(window_);
    if (parent != nullptr) {
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(controlId_), code), reinterpret_cast<LPARAM>(window_));
    }
}

void AnimateSkinner::stop()
{
    if (playback_.stop()) {
        notifyParent(ACN_STOP);
    }
}

LRESULT AnimateSkinner::open(HINSTANCE instance, const wchar_t *name)
{
    if (instance == nullptr) {
        instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    }
    if (name == nullptr) {
        stop();
        playback_.close();
        InvalidateRect(window_, nullptr, TRUE);
        return 1;
    }
    stop();
    if (!playback_.open(instance, name)) {
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    }
    if ((style_ & ACS_CENTER) == 0) {
        SetWindowPos(window_, nullptr, 0, 0, playback_.player().width(), playback_.player().height(),
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    InvalidateRect(window_, nullptr, TRUE);
    if ((style_ & ACS_AUTOPLAY) != 0) {
        play(kRepeatForever, kWholeClip);
    }
    return 1;
}

LRESULT AnimateSkinner::play(int32_t repeat, uint32_t packedRange)
{
    stop();
    keepBackground();
    if (!playback_.play(repeat, packedRange)) {
        // No clip, or one without frames to show: nothing plays, and the caller is told.
        return 0;
    }
    notifyParent(ACN_START);
    return 1;
}

void AnimateSkinner::keepBackground()
{
    RECT client;
    GetClientRect(window_, &client);
    HDC windowDC = GetDC(window_);
    if (windowDC == nullptr) {
        return;
    }
    HBITMAP kept = nullptr;
    {
        MemoryDC canvas(windowDC, client.right, client.bottom);
        if (canvas.isValid()) {
            auto *def = dynamic_cast<AnimateDefinition *>(definition_);
            if ((style_ & ACS_TRANSPARENT) != 0) {
                skinPaintParentBackground(window_, canvas.dc());
            } else {
                const COLORREF colour = def != nullptr ? static_cast<COLORREF>(def->bgColor) : GetSysColor(COLOR_BTNFACE);
                skinFillRect(canvas.dc(), client, colour);
                if (def != nullptr) {
                    skinDrawPicture(def->owner(), canvas.dc(), client, def->background, colour, kSkinFill, false);
                }
            }
            kept = canvas.releaseBitmap();
        }
    }
    ReleaseDC(window_, windowDC);
    std::lock_guard<std::mutex> lock(backgroundLock_);
    if (background_ != nullptr) {
        DeleteObject(background_);
    }
    background_ = kept;
    backgroundWidth_ = client.right;
    backgroundHeight_ = client.bottom;
}

void AnimateSkinner::dropBackground()
{
    std::lock_guard<std::mutex> lock(backgroundLock_);
    if (background_ != nullptr) {
        DeleteObject(background_);
        background_ = nullptr;
    }
}

void AnimateSkinner::drawClipFrame(HDC dc, int32_t frame)
{
    RECT client;
    GetClientRect(window_, &client);
    MemoryDC canvas(dc, client.right, client.bottom);
    const int clipWidth = playback_.player().width(), clipHeight = playback_.player().height();
    if (!canvas.isValid() || clipWidth <= 0 || clipHeight <= 0) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(backgroundLock_);
        if (background_ != nullptr) {
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, background_);
            BitBlt(canvas.dc(), 0, 0, backgroundWidth_, backgroundHeight_, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        } else {
            skinFillRect(canvas.dc(), client, GetSysColor(COLOR_BTNFACE));
        }
    }
    MemoryDC clip(dc, clipWidth, clipHeight);
    if (!clip.isValid() || !playback_.drawFrame(clip.dc(), frame)) {
        return;
    }
    // Centred clips larger than the control are cropped evenly on both sides.
    const bool centred = (style_ & ACS_CENTER) != 0;
    const int x = centred ? (client.right - clipWidth) / 2 : 0;
    const int y = centred ? (client.bottom - clipHeight) / 2 : 0;
    if ((style_ & ACS_TRANSPARENT) != 0) {
        const COLORREF key = GetPixel(clip.dc(), 0, 0);
        skinTransparentBlitDC(canvas.dc(), x, y, clipWidth, clipHeight, clip.dc(), 0, 0, clipWidth, clipHeight, key);
    } else {
        BitBlt(canvas.dc(), x, y, clipWidth, clipHeight, clip.dc(), 0, 0, SRCCOPY);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, canvas.dc(), 0, 0, SRCCOPY);
}

void AnimateSkinner::paint(HDC dc)
{
    if (playback_.player().isOpen()) {
        drawClipFrame(dc, playback_.currentFrame());
    }
}

LRESULT AnimateSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case ACM_OPENW: {
        const auto *name = reinterpret_cast<const wchar_t *>(lp);
        return open(reinterpret_cast<HINSTANCE>(wp), name);
    }
    case ACM_PLAY:
        return play(static_cast<int32_t>(static_cast<int>(wp)), static_cast<uint32_t>(lp));
    case ACM_STOP:
        stop();
        return 1;
    case WM_DESTROY:
        stop();
        playback_.close();
        return WindowSkinner::windowProc(message, wp, lp);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        // While playing, the playback thread draws every frame itself.
        if (dc != nullptr && !playback_.playing()) {
            keepBackground();
            if (playback_.player().isOpen()) {
                drawClipFrame(dc, playback_.currentFrame());
            } else {
                skinPaintParentBackground(window_, dc);
            }
        }
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        skinPaintParentBackground(window_, reinterpret_cast<HDC>(wp));
        return 1;
    case WM_NCPAINT:
        if (auto *def = dynamic_cast<AnimateDefinition *>(definition_); def != nullptr && def->frame.isSet()) {
            skinPaintBorder(window_, def->owner(), def->frame, def->bgColor);
            return 0;
        }
        return WindowSkinner::windowProc(message, wp, lp);
    case WM_UPDATEUISTATE:
        return 0;
    case WM_NCDESTROY:
        return ControlSkinner::windowProc(message, wp, lp);
    default:
        return WindowSkinner::windowProc(message, wp, lp);
    }
}

#endif
