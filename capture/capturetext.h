// What the text-output calls of one capture leave behind: the captured word (fragment),
// the word that may continue in the next call (pending), the text drawn into memory
// device contexts (line buffer) and the word boxes recorded for it. The capture library
// keeps a CaptureText in its shared section, so the target process writes it and the
// program reads it; the word boxes stay in the target process.
#pragma once

#include <cstdint>

namespace tchk {

constexpr int kFragmentCapacity = 256;      // a word of at most 255 characters and a terminator
constexpr int kLineBufferCapacity = 16384;  // memory-context text of one capture, joined
constexpr int kMaxWordBoxes = 1024;
constexpr int kResultCapacity = 1024;       // what the caller copies out
constexpr char16_t kDefaultSeparator = u' ';
// Two pieces of text continue each other when the second begins at most this many pixels
// right of where the first ended.
constexpr int32_t kAdjacentGap = 2;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    // Half-open: the right and bottom edges lie outside.
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

struct CaptureText {
    char16_t fragment[kFragmentCapacity];
    int32_t fragmentCount;  // 0 or 1
    int32_t captured;       // a fragment was stored during the current capture
    int32_t join;           // the fragment touched the end of its call: the next call may continue it
    int32_t pending;        // a word at the end of the previous call that may go on in the next
    char16_t pendingText[kFragmentCapacity];
    int32_t cutEdge;        // screen x where the call that left join or pending set ended
    char16_t line[kLineBufferCapacity];
    int32_t lineLength;
    int32_t boxCount;
};

// A run of text drawn into a memory device context, in that context's device coordinates.
struct WordBox {
    uintptr_t dc;
    int32_t first;  // indices of the run's first and last character in the line buffer
    int32_t last;
    int32_t reserved;
    Rect rect;
    int32_t ends;         // the word ends after this run
    char16_t separator;   // what follows the run in the line buffer
    int32_t starts;       // a word starts with this run
};

// Forget everything of the previous capture: fragment, pending word, join, line buffer and boxes.
void clearCaptureText(CaptureText& s);
// Only the fragment with its flags (every new capture starts without one).
void clearFragment(CaptureText& s);
void dropPending(CaptureText& s);

// Copies at most capacity - 1 characters of src (length n) to dst after its first `at`
// characters and terminates it; answers the new length.
int appendBounded(char16_t* dst, int capacity, int at, const char16_t* src, int n);
int boundedLength(const char16_t* s, int capacity);

}  // namespace tchk
