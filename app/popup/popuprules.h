// The pop-up look-up window's rules that need no window: what search word a captured text
// gives, where the window goes next to the pointer, how far the pointer may wander before
// the window hides, and which key or button a "Hotkey" setting arms.
#pragma once
#include <string>

namespace popup {

// The search word in a captured text: blanks trimmed at both ends, then the longest-looking
// word cut out at punctuation. Word characters, digits and blanks belong to the word; a "."
// or "," stays when it follows a digit or, not among the last two characters, precedes one
// (so "3.14" and "3,5" stay whole). At the first other character the text is cut, and the
// part after it (cut the same way) wins unless it is shorter than the part before. The
// result carries no blank at either end.
std::wstring cutOutWord(const std::wstring& captured);
std::wstring trimBlanks(const std::wstring& text);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The pop-up's window rectangle next to the pointer and the pointer test's extra tolerance
// above and below it (0 or kSideMargin).
struct Placement {
    Rect window;
    int topMargin = 0, bottomMargin = 0;
};

constexpr int kPopupWidth = 278, kPopupHeight = 325;
// Below the pointer by this much; above it by the window's height and twice as much.
constexpr int kBelowPointer = 15, kAbovePointer = 30;
// The window's corner lies this far up and left of the computed point, which stays at
// least this far inside the work area's left edge.
constexpr int kCornerOffset = 3;
constexpr int kSideMargin = 20;
// The pointer may pass the window's edges by this much before the window hides.
constexpr int kTolerance = 15;

// Below and right of the pointer, moved left to end at the work area's right edge; above
// the pointer when it would pass the bottom, and never above the work area's top. The work
// area is that of the monitor under the pointer.
Placement placeNearPointer(int pointerX, int pointerY, const Rect& workArea, int width = kPopupWidth,
                           int height = kPopupHeight);

// Whether the pointer is within the window grown by kTolerance on each side, plus the
// margins above and below (half-open, like the window rectangle itself).
bool pointerWithinTolerance(const Rect& window, int x, int y, int topMargin, int bottomMargin);
bool pointerInside(const Rect& window, int x, int y);

// What the capture library is armed with: a virtual key (0 none) and a button (0 key
// press, 1 left, 3 right).
struct ActivationMethod {
    int virtualKey = 0, button = 0;
};
enum ActivationButton { kKeyPress = 0, kLeftButton = 1, kRightButton = 3 };
// From the stored English "Hotkey" text; an unknown text arms Ctrl with the right button.
ActivationMethod activationMethodFor(const std::wstring& hotkey);

}  // namespace popup
