#include "wordlocator.h"

#include "textruns.h"

namespace tchk {

namespace {

bool between(int32_t a, int32_t b, int32_t x) {
    return a <= b ? (x >= a && x < b) : (x >= b && x < a);
}

Rect normalised(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Rect r;
    r.left = left < right ? left : right;
    r.right = left < right ? right : left;
    r.top = top < bottom ? top : bottom;
    r.bottom = top < bottom ? bottom : top;
    return r;
}

// The next box continues the previous one on its line: equal top and bottom, and its left
// edge 0 to 2 pixels right of the previous box's right edge.
bool continuesOnLine(const WordBox& prev, const Rect& r) {
    const int32_t gap = r.left - prev.rect.right;
    return prev.rect.top == r.top && prev.rect.bottom == r.bottom && gap >= 0 && gap <= kAdjacentGap;
}

bool adjacent(int32_t end, int32_t start) {
    const int32_t gap = start - end;
    return gap >= -kAdjacentGap && gap <= kAdjacentGap;
}

}  // namespace

bool WordLocator::storeFragment(const char16_t* run, int length) {
    int n = 0;
    if (s_.fragmentCount) {
        if (!s_.join) return false;
        n = boundedLength(s_.fragment, kFragmentCapacity);
        appendBounded(s_.fragment, kFragmentCapacity, n, run, length);
    } else if (s_.pending) {
        n = appendBounded(s_.fragment, kFragmentCapacity, 0, s_.pendingText,
                          boundedLength(s_.pendingText, kFragmentCapacity));
        appendBounded(s_.fragment, kFragmentCapacity, n, run, length);
        dropPending(s_);
    } else {
        appendBounded(s_.fragment, kFragmentCapacity, 0, run, length);
    }
    s_.fragmentCount = 1;
    s_.captured = 1;
    return true;
}

void WordLocator::appendPending(const char16_t* run, int length) {
    const int n = s_.pending ? boundedLength(s_.pendingText, kFragmentCapacity) : 0;
    appendBounded(s_.pendingText, kFragmentCapacity, n, run, length);
    s_.pending = 1;
}

bool WordLocator::locateInLine(const char16_t* text, int length, TextPlacement& placement, Point point) {
    if (!text || length <= 0) return false;
    CallGeometry g(placement, length);
    if (!g.lineContains(point.y)) return false;
    const bool startsBlank = isBlank(text[0]);
    if (startsBlank) dropPending(s_);
    // A word cut at the end of the previous call goes on only in text that begins where
    // that call ended (not in the next column of a list, say).
    if ((s_.join || s_.pending) && !adjacent(s_.cutEdge, g.leftEdge())) breakWord(false);

    bool stored = false;
    int32_t edge = g.leftEdge();
    Run run;
    for (int from = 0; nextRun(text, length, from, run); from = run.last + 1) {
        const int32_t right = g.prefixRight(run.last + 1);
        const bool lastOfText = run.last == length - 1;
        const char16_t* word = text + run.first;
        if (between(edge, right, point.x)) {
            // The word may go on in the next call when it touches the end of this one.
            if (storeFragment(word, run.length())) {
                stored = true;
                s_.join = lastOfText;
            }
            break;
        }
        if (s_.join) {
            // The word under the point was cut at the end of the previous call.
            if (!startsBlank) stored = storeFragment(word, run.length()) || stored;
            s_.join = run.first == 0 && lastOfText;
        } else if (!s_.captured && lastOfText) {
            appendPending(word, run.length());
        } else if (!s_.captured && (run.first != 0 || (run.last + 1 < length && isBlank(text[run.last + 1])))) {
            dropPending(s_);
        }
        edge = right;
    }
    const CharClass lastClass = charClass(text[length - 1]);
    if (!s_.captured && lastClass != CharClass::Word) dropPending(s_);
    if (s_.join && lastClass == CharClass::Blank) s_.join = 0;
    if (s_.join || s_.pending) s_.cutEdge = g.prefixRight(length);
    return stored;
}

bool WordLocator::identicalBoxExists(const Rect& r) const {
    for (int i = 0; i < s_.boxCount; ++i)
        if (boxes_[i].rect == r) return true;
    return false;
}

void WordLocator::recordBoxes(uintptr_t dc, const char16_t* text, int length, TextPlacement& placement) {
    if (!text || length <= 0) return;
    if (s_.lineLength < 0 || s_.lineLength > kLineBufferCapacity - 1) s_.lineLength = 0;
    if (s_.boxCount < 0 || s_.boxCount > kMaxWordBoxes) s_.boxCount = 0;
    // Room for a separator, the text and the terminator.
    if (length >= kLineBufferCapacity - 2 - s_.lineLength) return;
    if (s_.boxCount > 0 && boxes_[s_.boxCount - 1].ends) {
        const char16_t sep = boxes_[s_.boxCount - 1].separator;
        s_.lineLength = appendBounded(s_.line, kLineBufferCapacity, s_.lineLength, &sep, 1);
    }
    const int base = s_.lineLength;
    s_.lineLength = appendBounded(s_.line, kLineBufferCapacity, base, text, length);

    CallGeometry g(placement, length);
    int32_t top = 0, bottom = 0;
    g.textBand(top, bottom);
    int32_t edge = g.leftEdge();
    Run run;
    for (int from = 0; s_.boxCount < kMaxWordBoxes && nextRun(text, length, from, run); from = run.last + 1) {
        const int32_t right = g.prefixRight(run.last + 1);
        WordBox b{};
        b.dc = dc;
        b.first = base + run.first;
        b.last = base + run.last;
        b.rect = normalised(edge, top, right, bottom);
        b.separator = kDefaultSeparator;
        edge = right;
        if (identicalBoxExists(b.rect)) {
            b.ends = 1;
            b.starts = 1;
        } else {
            if (run.last + 1 < length && isBlank(text[run.last + 1])) {
                b.ends = 1;
                b.separator = text[run.last + 1];
            } else if (charClass(text[run.last]) == CharClass::Other) {
                b.ends = 1;
            }
            const bool blankBefore = run.first > 0 && isBlank(text[run.first - 1]);
            const bool otherFirst = charClass(text[run.first]) == CharClass::Other;
            bool afterBreak = true;
            if (s_.boxCount > 0) {
                const WordBox& prev = boxes_[s_.boxCount - 1];
                afterBreak = !prev.ends && !continuesOnLine(prev, b.rect);
            }
            b.starts = blankBefore || otherFirst || afterBreak;
        }
        boxes_[s_.boxCount++] = b;
    }
    if (s_.boxCount > 0 && charClass(text[length - 1]) != CharClass::Word) {
        boxes_[s_.boxCount - 1].ends = 1;
        boxes_[s_.boxCount - 1].separator = kDefaultSeparator;
    }
}

bool WordLocator::locateInBoxes(uintptr_t dc, Point offset, Point point) {
    const int count = s_.boxCount < 0 ? 0 : (s_.boxCount > kMaxWordBoxes ? kMaxWordBoxes : s_.boxCount);
    const Point p{point.x - offset.x, point.y - offset.y};
    // Newest first: a context drawn into again (one line after the other, say) shows what
    // was drawn last at the point.
    for (int i = count - 1; i >= 0; --i) {
        if (boxes_[i].dc != dc || !boxes_[i].rect.contains(p)) continue;
        int lo = i, hi = i;
        while (lo > 0 && boxes_[lo - 1].dc == dc && !boxes_[lo - 1].ends && !boxes_[lo].starts) --lo;
        while (hi + 1 < count && boxes_[hi + 1].dc == dc && !boxes_[hi].ends && !boxes_[hi + 1].starts) ++hi;
        const int first = boxes_[lo].first;
        const int last = boxes_[hi].last;
        if (first < 0 || last < first || last >= s_.lineLength) return false;
        return storeFragment(s_.line + first, last - first + 1);
    }
    return false;
}

void WordLocator::breakWord(bool markLastBox) {
    s_.join = 0;
    dropPending(s_);
    if (markLastBox && s_.boxCount > 0 && s_.boxCount <= kMaxWordBoxes) {
        boxes_[s_.boxCount - 1].ends = 1;
        boxes_[s_.boxCount - 1].separator = kDefaultSeparator;
    }
}

void buildResult(const CaptureText& s, char16_t* result, int capacity) {
    if (!result || capacity <= 0) return;
    result[0] = 0;
    if (!s.fragmentCount) return;
    const int n = appendBounded(result, capacity, 0, s.fragment, boundedLength(s.fragment, kFragmentCapacity));
    const char16_t blank = u' ';
    appendBounded(result, capacity, n, &blank, 1);
}

}  // namespace tchk
