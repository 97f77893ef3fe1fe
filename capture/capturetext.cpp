#include "capturetext.h"

namespace tchk {

void clearFragment(CaptureText& s) {
    s.fragment[0] = 0;
    s.fragmentCount = 0;
    s.captured = 0;
    s.join = 0;
    dropPending(s);
}

void dropPending(CaptureText& s) {
    s.pending = 0;
    s.pendingText[0] = 0;
}

void clearCaptureText(CaptureText& s) {
    clearFragment(s);
    s.line[0] = 0;
    s.lineLength = 0;
    s.boxCount = 0;
}

int boundedLength(const char16_t* s, int capacity) {
    int n = 0;
    while (n < capacity && s[n]) ++n;
    return n;
}

int appendBounded(char16_t* dst, int capacity, int at, const char16_t* src, int n) {
    if (capacity <= 0) return 0;
    if (at < 0) at = 0;
    if (at > capacity - 1) at = capacity - 1;
    int room = capacity - 1 - at;
    if (n > room) n = room;
    for (int i = 0; i < n; ++i) dst[at + i] = src[i];
    dst[at + (n > 0 ? n : 0)] = 0;
    return at + (n > 0 ? n : 0);
}

}  // namespace tchk
