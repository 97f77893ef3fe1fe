// Skinned scroll bars (Windows): a window's non-client bars laid out, hit-tested, tracked and
// drawn by the engine from the skin's ScrollBar object (the platform's look without one).
// Each window keeps its own copy of both bars' scroll information in the property
// "SkinSBSubclassPtr"; the twins below read and write that copy, and the interception makes
// the platform's scroll functions reach them for such windows.
#pragma once
#include <windows.h>

#include "scroll_model.h"

class ScrollBarDefinition;
class SkinRepository;

// The platform's scroll functions as this module reaches them: the real ones by default;
// the interception points them at its stubs, which call through to the unpatched code.
struct SkinRealScrollFunctions {
    BOOL(WINAPI *enableScrollBar)(HWND, UINT, UINT) = nullptr;
    BOOL(WINAPI *getScrollInfo)(HWND, int, LPSCROLLINFO) = nullptr;
    int(WINAPI *getScrollPos)(HWND, int) = nullptr;
    BOOL(WINAPI *getScrollRange)(HWND, int, LPINT, LPINT) = nullptr;
    int(WINAPI *setScrollInfo)(HWND, int, LPCSCROLLINFO, BOOL) = nullptr;
    int(WINAPI *setScrollPos)(HWND, int, int, BOOL) = nullptr;
    BOOL(WINAPI *setScrollRange)(HWND, int, int, int, BOOL) = nullptr;
    BOOL(WINAPI *showScrollBar)(HWND, int, BOOL) = nullptr;
    DWORD(WINAPI *getSysColor)(int) = nullptr;
    HBRUSH(WINAPI *getSysColorBrush)(int) = nullptr;
};
SkinRealScrollFunctions &skinRealScrollFunctions();

// Drawing styles of a bar.
enum SkinScrollStyle : int { kSkinScroll3D = 0, kSkinScrollFlat = 1, kSkinScrollHotTracked = 2 };

int skinScrollBarInstall(HWND window);
int skinScrollBarUninstall(HWND window);  // 0, or E_FAIL without skinned bars
int skinScrollBarSetSize(HWND window, int which, int arrowLength, int thickness);
int skinScrollBarSetStyle(HWND window, int which, int style);
int skinScrollBarSetMinThumb(HWND window, int which, int size);
bool skinScrollBarHas(HWND window);

// The skinned twins of the platform's functions, for windows with skinned bars and SB_HORZ
// or SB_VERT; anything else goes to the real function.
BOOL skinSbEnableScrollBar(HWND window, UINT which, UINT arrows);
BOOL skinSbGetScrollInfo(HWND window, int which, LPSCROLLINFO info);
int skinSbGetScrollPos(HWND window, int which);
BOOL skinSbGetScrollRange(HWND window, int which, LPINT min, LPINT max);
int skinSbSetScrollInfo(HWND window, int which, LPCSCROLLINFO info, BOOL redraw);
int skinSbSetScrollPos(HWND window, int which, int pos, BOOL redraw);
BOOL skinSbSetScrollRange(HWND window, int which, int min, int max, BOOL redraw);
BOOL skinSbShowScrollBar(HWND window, int which, BOOL show);
// The form the scrolled controls' resynchronisation uses: stores like SetScrollInfo but
// repaints only the bar, straight into the window DC, and never changes its visibility.
int skinSbSetScrollInfoQuiet(HWND window, int which, LPCSCROLLINFO info, BOOL redraw);

// Draws one piece of a bar of that kind from the skin's ScrollBar object into r: the group of
// the piece's state (falling back to the normal group's pictures), the thumb over the track.
void skinDrawScrollPiece(const SkinRepository *skin, const ScrollBarDefinition &def, HDC dc, int32_t kind,
                         const skinbar::ScrollPiece &piece, const RECT &r);

// Registers the skinned scroll bars and the interception with the flat interface; called
// once before the engine starts.
void skinControlsUseScrollBars();
