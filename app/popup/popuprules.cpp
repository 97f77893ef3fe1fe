#include "popuprules.h"
#include "base/lxchar.h"
#include <algorithm>
#include <vector>

namespace popup {

namespace {

bool isBlank(wchar_t c) { return lx_isspace(static_cast<uint32_t>(c)); }
bool isDigit(wchar_t c) { return lx_isdigit(static_cast<uint32_t>(c)); }
// Halves of a surrogate pair count as letters: the UTF-16 text of a character beyond the
// basic plane is one letter.
bool isSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool belongsToWord(wchar_t c) {
    return lx_iswordchar(static_cast<uint32_t>(c)) || isDigit(c) || isBlank(c) || isSurrogate(c);
}
bool isDecimalSeparator(wchar_t c) { return c == L'.' || c == L','; }

// A separator between digits ("3.14") or before the digits of a number (".5") stays; `end`
// ends the text being cut.
bool separatorStays(const std::wstring& t, size_t i, size_t end) {
    if (i > 0 && isDigit(t[i - 1])) return true;
    const bool amongLastTwo = i + 2 >= end;
    return !amongLastTwo && isDigit(t[i + 1]);
}

// The first cut in t[from, end), or end.
size_t firstCut(const std::wstring& t, size_t from, size_t end) {
    for (size_t i = from; i < end; ++i) {
        if (belongsToWord(t[i])) continue;
        if (isDecimalSeparator(t[i]) && separatorStays(t, i, end)) continue;
        return i;
    }
    return end;
}

struct Span {
    size_t from, length;
};

// Each cut leaves a shorter text after it, so the chain of cuts ends; it runs as a loop over
// positions so a long captured text of punctuation neither exhausts the stack nor copies.
std::wstring cutUntrimmed(const std::wstring& t) {
    // The parts before each cut, outermost first; the innermost text has no cut left, or
    // its part after the cut is too short and its part before ends the chain.
    std::vector<Span> before;
    const size_t end = t.size();
    size_t from = 0;
    Span result{0, 0};
    for (;;) {
        const size_t i = firstCut(t, from, end);
        if (i == end) {
            result = {from, end - from};
            break;
        }
        const Span head{from, i - from};
        if (head.length >= end - i - 1) {
            result = head;
            break;
        }
        before.push_back(head);
        from = i + 1;
    }
    for (auto it = before.rbegin(); it != before.rend(); ++it)
        if (result.length < it->length) result = *it;
    return t.substr(result.from, result.length);
}

}  // namespace

std::wstring trimBlanks(const std::wstring& text) {
    size_t a = 0, b = text.size();
    while (a < b && isBlank(text[a])) ++a;
    while (b > a && isBlank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

std::wstring cutOutWord(const std::wstring& captured) { return trimBlanks(cutUntrimmed(trimBlanks(captured))); }

Placement placeNearPointer(int px, int py, const Rect& area, int width, int height) {
    Placement p;
    int x = std::min(px, area.right - width);
    x = std::max(x, area.left + kCornerOffset);
    int y = py + kBelowPointer;
    p.topMargin = kSideMargin;
    if (y + height > area.bottom) {
        y -= height + kAbovePointer;
        p.topMargin = 0;
        p.bottomMargin = kSideMargin;
    }
    y = std::max(y, area.top + kCornerOffset);
    p.window = {x - kCornerOffset, y - kCornerOffset, x - kCornerOffset + width, y - kCornerOffset + height};
    return p;
}

bool pointerInside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

bool pointerWithinTolerance(const Rect& w, int x, int y, int topMargin, int bottomMargin) {
    const Rect grown{w.left - kTolerance, w.top - topMargin - kTolerance, w.right + kTolerance,
                     w.bottom + bottomMargin + kTolerance};
    return pointerInside(grown, x, y);
}

ActivationMethod activationMethodFor(const std::wstring& hotkey) {
    constexpr int kF2 = 0x71, kF4 = 0x73, kF11 = 0x7A, kF12 = 0x7B, kControl = 0x11, kAlt = 0x12;
    static const struct {
        const wchar_t* text;
        ActivationMethod method;
    } table[] = {
        {L"F2", {kF2, kKeyPress}},
        {L"F4", {kF4, kKeyPress}},
        {L"F11", {kF11, kKeyPress}},
        {L"F12", {kF12, kKeyPress}},
        {L"Ctrl + right-click", {kControl, kRightButton}},
        {L"Alt + left-click", {kAlt, kLeftButton}},
    };
    for (const auto& row : table)
        if (hotkey == row.text) return row.method;
    return {kControl, kRightButton};
}

}  // namespace popup
