// The pop-up window's rules without a window: the search word of a captured text, the place
// next to the pointer on one or several monitors, the pointer's tolerance, the activation
// methods.
#include "popuprules.h"

#include <gtest/gtest.h>

#include <string>

namespace popup {
namespace {

TEST(CutOutWord, CapturedTexts) {
    const struct {
        const wchar_t* captured;
        const wchar_t* word;
    } cases[] = {
        {L"house ", L"house"},               // the library ends the word with one blank
        {L"(word)", L"word"},
        {L"word.", L"word"},
        {L"word,", L"word"},
        {L"3.14", L"3.14"},
        {L"3,5", L"3,5"},
        {L"a-b/abcdefghij", L"abcdefghij"},  // the longer part after the cut wins
        {L"abcdefghij/a-b", L"abcdefghij"},  // the part after is shorter: the part before
        {L"  (house)  ", L"house"},
        {L"( house)", L"house"},             // no blank kept at the start
        {L"\"house\",", L"house"},
        {L"don't", L"don't"},
        {L"well-known", L"well-known"},
        {L"pi=3.14159", L"3.14159"},
        {L"x.55", L"x.55"},                  // a point before digits, not among the last two
        {L"x.5", L"x"},                      // among the last two, it cuts
        {L"5.", L"5."},                      // after a digit the point stays
        {L"end.", L"end"},
        {L"", L""},
        {L"   ", L""},
        {L"...", L""},
        {L"house", L"house"},
        {L"two words", L"two words"},        // blanks do not cut
        {L"caf\u00e9!", L"caf\u00e9"},
    };
    for (const auto& c : cases) EXPECT_EQ(cutOutWord(c.captured), c.word) << "captured \"" << c.captured << '"';
}

TEST(CutOutWord, LongPunctuatedTextsEndWithoutDeepRecursion) {
    std::wstring text;
    for (int i = 0; i < 100000; ++i) text += L"a/";
    text += L"abcdefghij";
    EXPECT_EQ(cutOutWord(text), L"abcdefghij");
    EXPECT_EQ(cutOutWord(std::wstring(200000, L'/')), L"");
}

TEST(PlaceNearPointer, StaysInTheWorkAreaOfThePointersMonitor) {
    const Rect screen{0, 0, 1024, 768};
    const Rect right{1024, 0, 2048, 768};          // a second monitor right of the first
    const Rect withTaskbar{0, 0, 1024, 738};       // the work area leaves out a task bar
    const Rect above{0, -600, 800, 0};             // a monitor above the primary one
    const struct {
        const char* what;
        int x, y;
        Rect area;
        Rect window;
        int topMargin, bottomMargin;
    } cases[] = {
        {"room below and right", 100, 100, screen, {97, 112, 375, 437}, 20, 0},
        {"right edge", 1000, 100, screen, {743, 112, 1021, 437}, 20, 0},
        {"right and bottom edges", 1000, 700, screen, {743, 357, 1021, 682}, 0, 20},
        {"bottom edge", 200, 500, screen, {197, 157, 475, 482}, 0, 20},
        {"just fits below", 10, 768 - 15 - 325, screen, {7, 440, 285, 765}, 20, 0},
        {"one pixel too low", 10, 768 - 15 - 325 + 1, screen, {7, 86, 285, 411}, 0, 20},
        {"left edge", 0, 100, screen, {0, 112, 278, 437}, 20, 0},
        {"task bar", 500, 600, withTaskbar, {497, 257, 775, 582}, 0, 20},
        {"second monitor", 1030, 10, right, {1027, 22, 1305, 347}, 20, 0},
        {"second monitor's right edge", 2040, 740, right, {1767, 397, 2045, 722}, 0, 20},
        {"second monitor's left edge", 1024, 10, right, {1024, 22, 1302, 347}, 20, 0},
        {"monitor above", 790, -10, above, {519, -353, 797, -28}, 0, 20},
        {"area lower than the window", 100, 100, Rect{0, 0, 1024, 200}, {97, 0, 375, 325}, 0, 20},
    };
    for (const auto& c : cases) {
        const Placement p = placeNearPointer(c.x, c.y, c.area);
        EXPECT_EQ(p.window.left, c.window.left) << c.what;
        EXPECT_EQ(p.window.top, c.window.top) << c.what;
        EXPECT_EQ(p.window.right, c.window.right) << c.what;
        EXPECT_EQ(p.window.bottom, c.window.bottom) << c.what;
        EXPECT_EQ(p.topMargin, c.topMargin) << c.what;
        EXPECT_EQ(p.bottomMargin, c.bottomMargin) << c.what;
        EXPECT_EQ(p.window.right - p.window.left, kPopupWidth) << c.what;
        EXPECT_EQ(p.window.bottom - p.window.top, kPopupHeight) << c.what;
        if (c.area.bottom - c.area.top >= kPopupHeight) {
            EXPECT_GE(p.window.left, c.area.left) << c.what;
            EXPECT_LE(p.window.right, c.area.right) << c.what;
            EXPECT_GE(p.window.top, c.area.top) << c.what;
            EXPECT_LE(p.window.bottom, c.area.bottom) << c.what;
            // The window never covers the pointer.
            EXPECT_FALSE(pointerInside(p.window, c.x, c.y)) << c.what;
        }
    }
}

TEST(PointerTolerance, FifteenPixelsAroundThePlusTheMargins) {
    const Rect w{100, 200, 378, 525};
    const struct {
        const char* what;
        int x, y, top, bottom;
        bool keeps;
    } cases[] = {
        {"inside", 200, 300, 0, 0, true},
        {"10 left", 90, 300, 0, 0, true},
        {"15 left", 85, 300, 0, 0, true},
        {"16 left", 84, 300, 0, 0, false},
        {"10 right of the last column", 377 + 10, 300, 0, 0, true},
        {"15 right of the last column", 377 + 15, 300, 0, 0, true},
        {"16 right of the last column", 377 + 16, 300, 0, 0, false},
        {"10 below", 200, 524 + 10, 0, 0, true},
        {"16 below", 200, 524 + 16, 0, 0, false},
        {"16 below with the bottom margin", 200, 524 + 16, 0, 20, true},
        {"36 below with the bottom margin", 200, 524 + 36, 0, 20, false},
        {"10 above", 200, 190, 0, 0, true},
        {"16 above", 200, 184, 0, 0, false},
        {"16 above with the top margin", 200, 184, 20, 0, true},
        {"36 above with the top margin", 200, 164, 20, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pointerWithinTolerance(w, c.x, c.y, c.top, c.bottom), c.keeps) << c.what;
}

TEST(ActivationMethod, HotkeySettings) {
    const struct {
        const wchar_t* hotkey;
        int key, button;
    } cases[] = {
        {L"F2", 0x71, kKeyPress},
        {L"F4", 0x73, kKeyPress},
        {L"F11", 0x7A, kKeyPress},
        {L"F12", 0x7B, kKeyPress},
        {L"Ctrl + right-click", 0x11, kRightButton},
        {L"Alt + left-click", 0x12, kLeftButton},
        {L"", 0x11, kRightButton},
        {L"f2", 0x11, kRightButton},
        {L"Strg + Rechtsklick", 0x11, kRightButton},
    };
    for (const auto& c : cases) {
        const ActivationMethod m = activationMethodFor(c.hotkey);
        EXPECT_EQ(m.virtualKey, c.key) << '"' << c.hotkey << '"';
        EXPECT_EQ(m.button, c.button) << '"' << c.hotkey << '"';
    }
}

}  // namespace
}  // namespace popup
