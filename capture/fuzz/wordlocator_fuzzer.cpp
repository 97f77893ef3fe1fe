// Arbitrary text output, as a hostile or odd target program might draw it, through the word
// location: calls on the window and on memory contexts with any alignment, position and
// advances, copies of memory contexts, broken words. Whatever comes, the shared buffers stay
// within their capacities and terminated, and the result is the fragment and one blank.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "capturetext.h"
#include "textplacement.h"
#include "wordlocator.h"

namespace {

using namespace tchk;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool more() const { return p_ < end_; }
    uint8_t byte() { return p_ < end_ ? *p_++ : 0; }
    int16_t int16() {
        const uint16_t lo = byte();
        return static_cast<int16_t>(lo | (byte() << 8));
    }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// Advances from the input (any sign and size) and a mapping that may flip or scale.
class FuzzPlacement : public TextPlacement {
  public:
    explicit FuzzPlacement(Reader& in) {
        reference = {in.int16(), in.int16()};
        align = in.byte();
        metrics.height = in.byte();
        metrics.ascent = in.byte();
        metrics.descent = in.byte();
        metrics.internalLeading = in.byte();
        for (int32_t& a : advances_) a = static_cast<int8_t>(in.byte());
        scale_ = static_cast<int8_t>(in.byte()) % 4;
        origin_ = {in.int16(), in.int16()};
    }
    int32_t prefixWidth(int count) override {
        int32_t w = 0;
        for (int i = 0; i < count; ++i) w += advances_[i % kAdvances];
        return w;
    }
    int32_t textHeight() override { return metrics.height; }
    Point toScreen(Point p) override { return {p.x * scale_ + origin_.x, p.y * scale_ + origin_.y}; }

  private:
    static constexpr int kAdvances = 8;
    int32_t advances_[kAdvances] = {};
    int32_t scale_ = 1;
    Point origin_;
};

// Mostly blanks, letters, punctuation and the edges of the word class, some of anything.
char16_t character(Reader& in) {
    static const char16_t common[] = {u' ', u'\t', u'a', u'b', u'-', u'\'', u'.', u',', 0x152, 138, u'7', 0};
    const uint8_t b = in.byte();
    if (b < 200) return common[b % (sizeof common / sizeof common[0])];
    return static_cast<char16_t>(b | (in.byte() << 8));
}

void checkState(const CaptureText& s) {
    check(boundedLength(s.fragment, kFragmentCapacity) < kFragmentCapacity);
    check(boundedLength(s.pendingText, kFragmentCapacity) < kFragmentCapacity);
    check(s.lineLength >= 0 && s.lineLength < kLineBufferCapacity && s.line[s.lineLength] == 0);
    check(s.boxCount >= 0 && s.boxCount <= kMaxWordBoxes);
    check(s.fragmentCount == 0 || s.fragmentCount == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto state = std::make_unique<CaptureText>();
    auto boxes = std::make_unique<WordBox[]>(kMaxWordBoxes);
    clearCaptureText(*state);
    WordLocator locator(*state, boxes.get());
    Reader in(data, size);
    const Point point{in.int16(), in.int16()};
    char16_t text[600];
    for (int call = 0; in.more() && call < 200; ++call) {
        const uint8_t op = in.byte() % 4;
        if (op == 3) {
            locator.breakWord(in.byte() & 1);
            continue;
        }
        const uintptr_t dc = 1 + in.byte() % 3;
        if (op == 2) {
            locator.locateInBoxes(dc, {in.int16(), in.int16()}, point);
            checkState(*state);
            continue;
        }
        FuzzPlacement placement(in);
        // Now and then a text far longer than a line, to reach the buffers' limits.
        const int repeat = in.byte() % 64 == 0 ? 40 : 1;
        int n = in.byte() % 16;
        for (int i = 0; i < n; ++i) text[i] = character(in);
        for (int r = 1; r < repeat; ++r)
            for (int i = 0; i < n; ++i) text[r * n + i] = text[i];
        n *= repeat;
        if (op == 0)
            locator.locateInLine(text, n, placement, point);
        else
            locator.recordBoxes(dc, text, n, placement);
        checkState(*state);
    }
    char16_t result[kResultCapacity];
    buildResult(*state, result, kResultCapacity);
    const int fragment = state->fragmentCount ? boundedLength(state->fragment, kFragmentCapacity) : -1;
    check(boundedLength(result, kResultCapacity) == fragment + 1);
    return 0;
}
