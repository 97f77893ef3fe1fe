// Word location in the text of intercepted output calls: runs, direct hits with the word
// cut over several calls, alignment, word boxes of memory contexts, bounds.
#include "wordlocator.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "placement_fixture.h"
#include "textruns.h"

namespace tchk {
namespace {

using fixture::FixedPlacement;
using fixture::len;

TEST(TextRuns, ClassesFollowTheEngineWordCharacters) {
    struct Case {
        char16_t c;
        CharClass cls;
    } cases[] = {
        {u'a', CharClass::Word},   {u'Z', CharClass::Word},    {u'7', CharClass::Word},
        {u'\'', CharClass::Word},  {u'-', CharClass::Word},    {0x152, CharClass::Word},
        {0x153, CharClass::Word},  {0xE9, CharClass::Word},    {140, CharClass::Word},
        {138, CharClass::Other},   {u'.', CharClass::Other},   {0x430, CharClass::Other},
        {u' ', CharClass::Blank},  {u'\t', CharClass::Blank},  {u'\r', CharClass::Blank},
        {u'\n', CharClass::Blank}, {0xA0, CharClass::Other},
    };
    for (const Case& c : cases) EXPECT_EQ(charClass(c.c), c.cls) << static_cast<int>(c.c);
}

TEST(TextRuns, RunsStartAfterBlanksAndKeepOneClass) {
    const std::u16string text = u"  don't,stop\tnow..";
    std::vector<std::u16string> runs;
    tchk::Run r;
    for (int from = 0; nextRun(text.data(), len(text), from, r); from = r.last + 1)
        runs.push_back(text.substr(r.first, r.length()));
    EXPECT_EQ(runs, (std::vector<std::u16string>{u"don't", u",", u"stop", u"now", u".."}));
    EXPECT_FALSE(nextRun(u"   ", 3, 0, r));
    EXPECT_FALSE(nextRun(u"", 0, 0, r));
}

// One capture: the shared text state, the boxes and the calls drawn into it.
class Capture {
  public:
    Capture() : state_(new CaptureText()), boxes_(new WordBox[kMaxWordBoxes]()), locator_(*state_, boxes_.get()) {
        clearCaptureText(*state_);
    }
    // Draws `text` on the window at (x, y); answers whether a fragment was stored.
    bool line(const std::u16string& text, int32_t x, int32_t y, Point point, uint32_t align = 0) {
        FixedPlacement p(x, y, align);
        return locator_.locateInLine(text.data(), len(text), p, point);
    }
    void memory(uintptr_t dc, const std::u16string& text, int32_t x, int32_t y, uint32_t align = 0) {
        FixedPlacement p(x, y, align);
        locator_.recordBoxes(dc, text.data(), len(text), p);
    }
    std::u16string fragment() const { return state_->fragmentCount ? std::u16string(state_->fragment) : u"<none>"; }
    CaptureText& state() { return *state_; }
    WordBox& box(int i) { return boxes_[i]; }
    WordLocator& locator() { return locator_; }

  private:
    std::unique_ptr<CaptureText> state_;
    std::unique_ptr<WordBox[]> boxes_;
    WordLocator locator_;
};

// Text drawn at y = 100 with top alignment; each character is 10 units wide.
struct LineCall {
    std::u16string text;
    int32_t x;
};

struct SplitCase {
    const char* name;
    std::vector<LineCall> calls;
    int32_t pointX;
    std::u16string expected;
};

TEST(WordLocator, WordsCutOverSeveralCallsAreJoined) {
    const SplitCase cases[] = {
        {"one call", {{u"alpha bravo charlie", 100}}, 175, u"bravo"},
        {"point in the first part", {{u"exam", 100}, {u"ple", 140}}, 115, u"example"},
        {"the next column does not continue", {{u"exam", 100}, {u"ple", 160}}, 115, u"exam"},
        {"nor does the previous column", {{u"exam", 100}, {u"ple", 160}}, 165, u"ple"},
        {"a gap of two pixels still joins", {{u"exam", 100}, {u"ple", 142}}, 155, u"example"},
        {"point in the second part", {{u"exam", 100}, {u"ple", 140}}, 155, u"example"},
        {"three parts, point in the middle", {{u"ex", 100}, {u"am", 120}, {u"ple", 140}}, 125, u"example"},
        {"three parts, point in the last", {{u"ex", 100}, {u"am", 120}, {u"ple", 140}}, 165, u"example"},
        {"continuation stops at its blank", {{u"exam", 100}, {u"ple more", 140}}, 105, u"example"},
        {"second call begins with a blank", {{u"exam", 100}, {u" ple", 140}}, 165, u"ple"},
        {"first call ends with a blank", {{u"exam ", 100}, {u"ple", 150}}, 105, u"exam"},
        {"first call ends with punctuation", {{u"exam,", 100}, {u"ple", 150}}, 155, u"ple"},
        {"earlier words of the line stay out", {{u"red exam", 100}, {u"ple", 180}}, 185, u"example"},
        {"point on a blank between words", {{u"alpha bravo", 100}}, 155, u"bravo"},
        {"point after the text", {{u"alpha", 100}}, 151, u"<none>"},
        {"punctuation under the point", {{u"stop, go", 100}}, 145, u","},
    };
    for (const SplitCase& c : cases) {
        Capture cap;
        for (const LineCall& call : c.calls) cap.line(call.text, call.x, 100, {c.pointX, 105});
        EXPECT_EQ(cap.fragment(), c.expected) << c.name;
    }
}

TEST(WordLocator, StoringAnnouncesOnlyNewText) {
    Capture cap;
    EXPECT_TRUE(cap.line(u"exam", 100, 100, {115, 105}));
    EXPECT_TRUE(cap.line(u"ple", 140, 100, {115, 105}));  // the continuation grows the fragment
    EXPECT_FALSE(cap.line(u" other words", 170, 100, {115, 105}));  // a blank ends the word
    // The same line drawn again (a second paint) neither replaces nor extends the word.
    EXPECT_FALSE(cap.line(u"exam", 100, 100, {115, 105}));
    EXPECT_FALSE(cap.line(u"ple", 140, 100, {115, 105}));
    EXPECT_EQ(cap.fragment(), u"example");
}

TEST(WordLocator, OnlyCallsOnThePointsLineTakePart) {
    Capture cap;
    cap.line(u"above", 100, 60, {110, 105});
    cap.line(u"below", 100, 140, {110, 105});
    EXPECT_EQ(cap.fragment(), u"<none>");
    // Top alignment: the band runs from y to y + height + internal leading (16 + 2).
    struct Band {
        uint32_t align;
        int32_t inside[2];
        int32_t outside[2];
    } bands[] = {
        {0, {100, 118}, {99, 119}},
        {kAlignBaseline, {87, 103}, {86, 104}},   // ascent 13 above, descent 3 below
        {kAlignBottom, {86, 100}, {85, 101}},     // height - internal leading above
    };
    for (const Band& b : bands) {
        for (int32_t y : b.inside) {
            Capture c;
            c.line(u"word", 100, 100, {105, y}, b.align);
            EXPECT_EQ(c.fragment(), u"word") << "align " << b.align << " y " << y;
        }
        for (int32_t y : b.outside) {
            Capture c;
            c.line(u"word", 100, 100, {105, y}, b.align);
            EXPECT_EQ(c.fragment(), u"<none>") << "align " << b.align << " y " << y;
        }
    }
}

TEST(WordLocator, AlignedTextIsPlacedFromItsLeftEdge) {
    struct Case {
        uint32_t align;
        int32_t x;
        int32_t pointX;
        std::u16string expected;
    } cases[] = {
        {kAlignRight, 300, 265, u"two"},   // "one two" spans 230..300
        {kAlignRight, 300, 235, u"one"},
        {kAlignRight, 300, 301, u"<none>"},
        {kAlignCenter, 300, 300, u"two"},  // spans 265..335; "one" ends at 295
        {kAlignCenter, 300, 270, u"one"},
        {kAlignCenter, 300, 260, u"<none>"},
    };
    for (const Case& c : cases) {
        Capture cap;
        cap.line(u"one two", c.x, 100, {c.pointX, 105}, c.align);
        EXPECT_EQ(cap.fragment(), c.expected) << c.align << " at " << c.pointX;
    }
}

TEST(WordLocator, ScreenPositionsComeThroughTheContextMapping) {
    // A context whose origin lies at (50, 20) on the screen and that doubles its units.
    Capture cap;
    FixedPlacement p(100, 100);
    p.origin = {50, 20};
    p.scale = 2;
    const std::u16string text = u"alpha bravo";
    // "bravo" covers logical 160..210, screen 370..470; the line band screen 220..256.
    EXPECT_TRUE(cap.locator().locateInLine(text.data(), len(text), p, {400, 230}));
    EXPECT_EQ(cap.fragment(), u"bravo");
}

TEST(WordLocator, ALongRunIsCutToTheFragmentsCapacity) {
    std::u16string longWord;
    for (int i = 0; i < 300; ++i) longWord += static_cast<char16_t>(u'a' + i % 26);
    Capture cap;
    cap.line(longWord, 0, 100, {1500, 105});
    EXPECT_EQ(cap.fragment(), longWord.substr(0, kFragmentCapacity - 1));

    // A long pending word and its continuation stay within the capacity as well.
    Capture joined;
    joined.line(longWord.substr(0, 250), 0, 100, {2600, 105});
    joined.line(longWord.substr(250), 2500, 100, {2600, 105});
    EXPECT_EQ(joined.fragment(), longWord.substr(0, kFragmentCapacity - 1));
    char16_t result[kResultCapacity];
    buildResult(joined.state(), result, kResultCapacity);
    EXPECT_EQ(std::u16string(result), longWord.substr(0, kFragmentCapacity - 1) + u" ");
}

TEST(WordLocator, ABrokenWordIsNotContinued) {
    Capture cap;
    cap.line(u"exam", 100, 100, {155, 105});  // pending "exam"
    cap.locator().breakWord(false);            // e.g. a call without text in between
    cap.line(u"ple", 140, 100, {155, 105});
    EXPECT_EQ(cap.fragment(), u"ple");

    Capture joined;
    joined.line(u"exam", 100, 100, {115, 105});  // join set
    joined.locator().breakWord(false);
    joined.line(u"ple", 140, 100, {115, 105});
    EXPECT_EQ(joined.fragment(), u"exam");
}

TEST(WordBoxes, BlittedTextGivesTheWordUnderThePoint) {
    struct Case {
        const char* name;
        std::vector<LineCall> calls;
        int32_t pointX;
        std::u16string expected;
    } cases[] = {
        {"one call", {{u"sierra tango uniform", 10}}, 85, u"tango"},
        {"first word", {{u"sierra tango uniform", 10}}, 15, u"sierra"},
        {"split over two calls", {{u"exam", 10}, {u"ple", 50}}, 55, u"example"},
        {"split, point in the first part", {{u"exam", 10}, {u"ple", 50}}, 15, u"example"},
        {"a gap of 2 still joins", {{u"exam", 10}, {u"ple", 52}}, 15, u"example"},
        {"a gap of 3 separates", {{u"exam", 10}, {u"ple", 53}}, 15, u"exam"},
        {"a blank ends the first part", {{u"exam ", 10}, {u"ple", 60}}, 15, u"exam"},
        {"punctuation ends a word", {{u"stop.", 10}, {u"go", 60}}, 65, u"go"},
        {"separate calls on one line", {{u"alpha", 10}, {u"bravo", 100}}, 105, u"bravo"},
    };
    for (const auto& c : cases) {
        Capture cap;
        for (const LineCall& call : c.calls) cap.memory(7, call.text, call.x, 5);
        // The memory context is copied so that its (0, 0) lies at (200, 300) on the screen.
        cap.locator().locateInBoxes(7, {200, 300}, {200 + c.pointX, 310});
        EXPECT_EQ(cap.fragment(), c.expected) << c.name;
    }
}

TEST(WordBoxes, AContextDrawnAgainShowsItsNewestText) {
    // One memory context serves line after line: each line is drawn and copied in turn.
    Capture cap;
    cap.memory(7, u"memory blitted line", 0, 0);  // "blitted" covers 60..140
    cap.locator().breakWord(true);
    cap.memory(7, u"offset source", 40, 0);       // " source" covers 100..170
    EXPECT_TRUE(cap.locator().locateInBoxes(7, {0, 0}, {105, 5}));
    EXPECT_EQ(cap.fragment(), u"source");
}

TEST(WordBoxes, BoxesBelongToTheirContextAndLine) {
    Capture cap;
    cap.memory(7, u"alpha", 10, 5);
    cap.memory(8, u"bravo", 10, 5);
    EXPECT_FALSE(cap.locator().locateInBoxes(9, {0, 0}, {15, 10}));  // another context
    EXPECT_FALSE(cap.locator().locateInBoxes(7, {0, 0}, {15, 30}));  // below the text
    EXPECT_TRUE(cap.locator().locateInBoxes(8, {0, 0}, {15, 10}));
    EXPECT_EQ(cap.fragment(), u"bravo");
}

TEST(WordBoxes, RightAlignedBoxesArePlacedFromTheStringsLeftEdge) {
    Capture cap;
    cap.memory(7, u"one two", 300, 5, kAlignRight);
    ASSERT_EQ(cap.state().boxCount, 2);
    EXPECT_EQ(cap.box(0).rect, (Rect{230, 5, 260, 21}));
    EXPECT_EQ(cap.box(1).rect, (Rect{260, 5, 300, 21}));
    EXPECT_TRUE(cap.box(0).ends);
    EXPECT_TRUE(cap.box(1).starts);
}

TEST(WordBoxes, FlagsAndSeparators) {
    Capture cap;
    cap.memory(7, u"ab\tcd,", 0, 0);
    ASSERT_EQ(cap.state().boxCount, 3);  // "ab", "cd", ","
    EXPECT_TRUE(cap.box(0).ends);
    EXPECT_EQ(cap.box(0).separator, u'\t');
    EXPECT_FALSE(cap.box(1).ends);  // punctuation follows directly
    EXPECT_TRUE(cap.box(1).starts);
    EXPECT_TRUE(cap.box(2).ends);   // the text ends in punctuation
    EXPECT_TRUE(cap.box(2).starts);
    // The next call's text follows the ending box's separator in the line buffer.
    cap.memory(7, u"ef", 100, 0);
    EXPECT_EQ(std::u16string(cap.state().line), u"ab\tcd, ef");
    EXPECT_EQ(cap.box(3).first, 7);
    // The same box drawn again both ends and starts.
    cap.memory(7, u"ef", 100, 0);
    EXPECT_TRUE(cap.box(4).ends);
    EXPECT_TRUE(cap.box(4).starts);
}

TEST(WordBoxes, LimitsOfBoxesAndLineBuffer) {
    Capture cap;
    for (int i = 0; i < kMaxWordBoxes + 10; ++i) cap.memory(7, u"w ", 0, i * 20);
    EXPECT_EQ(cap.state().boxCount, kMaxWordBoxes);

    Capture full;
    std::u16string big(kLineBufferCapacity - 100, u'x');
    full.memory(7, big, 0, 0);
    EXPECT_EQ(full.state().lineLength, len(big));
    full.memory(7, std::u16string(200, u'y'), 0, 40);  // no room left: ignored whole
    EXPECT_EQ(full.state().lineLength, len(big));
    EXPECT_EQ(full.state().boxCount, 1);
    full.memory(7, u"zz", 0, 40);
    EXPECT_EQ(full.state().lineLength, len(big) + 2);
}

TEST(WordBoxes, ALongWordFromTheLineBufferIsCut) {
    Capture cap;
    cap.memory(7, std::u16string(300, u'q'), 0, 0);
    EXPECT_TRUE(cap.locator().locateInBoxes(7, {0, 0}, {50, 5}));
    EXPECT_EQ(cap.fragment(), std::u16string(kFragmentCapacity - 1, u'q'));
}

}  // namespace
}  // namespace tchk
