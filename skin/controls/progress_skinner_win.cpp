// The progress bar's skinner (Windows): it takes the bar's range, position and step over,
// answers the progress messages from them and draws the trough and the filled part.
#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>

#include "control_paint.h"
#include "range_skinners.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

constexpr UINT kFrameChanged = SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr int kTurnVertical = 270;

}  // namespace

ProgressSkinner::ProgressSkinner(WindowSkinner *container) : ControlSkinner(kSkinProgressBar, container) {}

bool ProgressSkinner::attach(HWND window)
{
    if (!ControlSkinner::attach(window)) {
        return false;
    }
    PostMessageW(window, WM_SKIN_TAKE_OVER, 0, 0);
    return true;
}

void ProgressSkinner::takeOver()
{
    if (active_ || window_ == nullptr) {
        return;
    }
    const int32_t low = static_cast<int32_t>(callPrevious(PBM_GETRANGE, TRUE, 0));
    const int32_t high = static_cast<int32_t>(callPrevious(PBM_GETRANGE, FALSE, 0));
    const int32_t position = static_cast<int32_t>(callPrevious(PBM_GETPOS, 0, 0));
    // The control's step is read by stepping once from the minimum.
    callPrevious(PBM_SETPOS, static_cast<WPARAM>(low), 0);
    callPrevious(PBM_STEPIT, 0, 0);
    const int32_t stepped = static_cast<int32_t>(callPrevious(PBM_GETPOS, 0, 0));
    model_.takeOver(low, high, position, stepped);
    active_ = true;
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChanged);
    changed();
}

void ProgressSkinner::detach()
{
    HWND window = window_;
    const bool handBack = active_ && window != nullptr && !destroyed_;
    active_ = false;
    ControlSkinner::detach();
    // Out of the subclass chain now: the values go to the control through its own procedure.
    if (handBack && IsWindow(window)) {
        SendMessageW(window, PBM_SETRANGE32, static_cast<WPARAM>(model_.minimum()), static_cast<LPARAM>(model_.maximum()));
        SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(model_.position()), 0);
        SendMessageW(window, PBM_SETSTEP, static_cast<WPARAM>(model_.step()), 0);
    }
}

void ProgressSkinner::changed()
{
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool ProgressSkinner::answer(UINT message, WPARAM wp, LPARAM lp, LRESULT &result)
{
    switch (message) {
    case PBM_SETRANGE:
        result = static_cast<LRESULT>(model_.setRange(LOWORD(lp), HIWORD(lp)));
        break;
    case PBM_SETRANGE32:
        result = static_cast<LRESULT>(model_.setRange(static_cast<int32_t>(wp), static_cast<int32_t>(lp)));
        break;
    case PBM_SETPOS:
        result = model_.setPosition(static_cast<int32_t>(wp));
        break;
    case PBM_DELTAPOS:
        result = model_.deltaPosition(static_cast<int32_t>(wp));
        break;
    case PBM_SETSTEP:
        result = model_.setStep(static_cast<int32_t>(wp));
        break;
    case PBM_STEPIT:
        result = model_.stepIt();
        break;
    case PBM_GETRANGE:
        if (auto *range = reinterpret_cast<PBRANGE *>(lp)) {
            range->iLow = model_.minimum();
            range->iHigh = model_.maximum();
        }
        result = model_.range(wp != 0);
        return true;
    case PBM_GETPOS:
        result = model_.position();
        return true;
    case PBM_SETBARCOLOR:
    case PBM_SETBKCOLOR:
        result = static_cast<LRESULT>(kProgressDefaultColour);
        return true;
    default:
        return false;
    }
    changed();
    return true;
}

LRESULT ProgressSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_SKIN_TAKE_OVER) {
        takeOver();
        return 0;
    }
    auto *def = dynamic_cast<ProgressBarDefinition *>(definition_);
    if (def == nullptr) {
        // Without a definition the control draws and answers as it always does.
        return message == WM_PAINT || message == WM_ERASEBKGND ? callPrevious(message, wp, lp)
                                                                : ControlSkinner::windowProc(message, wp, lp);
    }
    LRESULT result = 0;
    if (active_ && answer(message, wp, lp, result)) {
        return result;
    }
    switch (message) {
    case WM_NCPAINT:
        skinPaintBorder(window_, def->owner(), def->frame, def->bgColor);
        return 0;
    case WM_SKIN_SAVE_FONT:
        return 0;
    default:
        return ControlSkinner::windowProc(message, wp, lp);
    }
}

void ProgressSkinner::paint(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    if ((GetWindowLongW(window_, GWL_STYLE) & PBS_VERTICAL) != 0) {
        skinPaintTurned(dc, client, kTurnVertical, [this](HDC d, int w, int h) { drawFlat(d, w, h); });
    } else {
        drawFlat(dc, client.right, client.bottom);
    }
}

void ProgressSkinner::drawFlat(HDC dc, int width, int height)
{
    auto *def = dynamic_cast<ProgressBarDefinition *>(definition_);
    if (def == nullptr) {
        return;
    }
    const SkinRepository *skin = def->owner();
    skinDrawNineGrid(skin, dc, RECT{0, 0, width, height}, def->frame, def->bgColor, kSkinFill, false);
    ProgressModel shown = model_;
    if (!active_) {
        // Not taken over yet: the control's own values.
        shown.takeOver(static_cast<int32_t>(callPrevious(PBM_GETRANGE, TRUE, 0)),
                       static_cast<int32_t>(callPrevious(PBM_GETRANGE, FALSE, 0)),
                       static_cast<int32_t>(callPrevious(PBM_GETPOS, 0, 0)), 0);
    }
    const int32_t filled = progressFillLength(shown.minimum(), shown.maximum(), shown.position(), width);
    if (filled <= 0) {
        return;
    }
    const RECT part{0, 0, filled, height};
    switch (def->drawMode) {
    case kProgressReveal: {
        MemoryDC whole(dc, width, height);
        if (!whole.isValid()) {
            return;
        }
        skinFillRect(whole.dc(), RECT{0, 0, width, height}, keyColor_);
        skinDrawNineGrid(skin, whole.dc(), RECT{0, 0, width, height}, def->bar, def->barColor, kSkinFill, false);
        skinTransparentBlitDC(dc, 0, 0, filled, height, whole.dc(), 0, 0, filled, height, keyColor_);
        break;
    }
    case kProgressBlocks: {
        const int32_t block = def->bar.source.width();
        const int32_t blocks = progressBlockCount(filled, block);
        for (int32_t i = 0; i < blocks; ++i) {
            skinDrawKeyedNineGrid(skin, dc, RECT{i * block, 0, (i + 1) * block, height}, def->bar, keyColor_);
        }
        break;
    }
    default:
        if (def->bar.isSet()) {
            skinDrawKeyedNineGrid(skin, dc, part, def->bar, keyColor_);
        } else {
            skinFillRect(dc, part, def->barColor);
        }
        break;
    }
}

#endif
