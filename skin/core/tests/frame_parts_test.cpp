// What the parts of a skinned frame do: a caption button's look and clicks read back as a
// sequence of events, the frame pictures chosen for the active and inactive looks (the
// inactive set falling back to the active one, pieces without pictures filled), the non-client
// strips copied after off-screen painting, and the region combine codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_parts.h"
#include "skin_definitions.h"

namespace {

using Look = CaptionButtonModel::Look;

char lookLetter(Look l)
{
    switch (l) {
    case Look::Normal: return 'n';
    case Look::Hover: return 'h';
    case Look::Pressed: return 'p';
    case Look::Disabled: return 'd';
    }
    return '?';
}

// Runs events on a button: m/M move outside/inside, d/D down outside/inside, u/U up
// outside/inside, l pointer left. Answers the look after each event, with '!' where the
// action ran.
std::string run(CaptionButtonModel &b, const std::string &events)
{
    std::string out;
    for (char e : events) {
        bool ran = false;
        switch (e) {
        case 'm': b.pointerMove(false); break;
        case 'M': b.pointerMove(true); break;
        case 'd': b.buttonDown(false); break;
        case 'D': b.buttonDown(true); break;
        case 'u': ran = b.buttonUp(false); break;
        case 'U': ran = b.buttonUp(true); break;
        case 'l': b.pointerLeft(); break;
        }
        out += lookLetter(b.look());
        if (ran) out += '!';
    }
    return out;
}

TEST(CaptionButton, LooksAndActionsOverEventSequences)
{
    struct Case {
        bool toggle;
        bool enabled;
        const char *events;
        const char *looks;
    } cases[] = {
        {false, true, "MDU", "hph!"},      // a click on it runs once
        {false, true, "MDuM", "hpnh"},     // released off it: nothing runs
        {false, true, "MDlU", "hpnh"},     // the pointer left while pressed: the press is forgotten
        {false, true, "DUDU", "ph!ph!"},   // two clicks, two actions
        {false, true, "Ml", "hn"},         // hover ends when the pointer leaves
        {false, true, "U", "h"},           // a release without a press runs nothing
        {true, true, "DUDU", "pp!ph!"},    // a toggle stays pressed after the first click, not the second
        {false, false, "MDUl", "dddd"},    // disabled: never hot, pressed or run
    };
    for (const Case &c : cases) {
        CaptionButtonModel b(c.toggle);
        b.setEnabled(c.enabled);
        EXPECT_EQ(run(b, c.events), c.looks) << c.events << " toggle " << c.toggle << " enabled " << c.enabled;
    }
}

TEST(CaptionButton, DisablingWhilePressedRunsNothing)
{
    CaptionButtonModel b;
    b.buttonDown(true);
    b.setEnabled(false);
    EXPECT_FALSE(b.buttonUp(true));
    b.setEnabled(true);
    EXPECT_EQ(b.look(), Look::Normal);
}

TEST(CaptionButton, SecondPressWithinHalfASecond)
{
    CaptionButtonModel b;
    EXPECT_FALSE(b.secondPressAt(1000));
    EXPECT_TRUE(b.secondPressAt(1500));   // exactly 500 ms later
    EXPECT_FALSE(b.secondPressAt(1600));  // a third press starts a new pair
    EXPECT_FALSE(b.secondPressAt(2101));  // too late for the pair started at 1600
    EXPECT_TRUE(b.secondPressAt(2200));
    // The millisecond counter wraps around.
    CaptionButtonModel w;
    EXPECT_FALSE(w.secondPressAt(0xFFFFFF00u));
    EXPECT_TRUE(w.secondPressAt(0x00000010u));
}

SkinPicture setPicture(const char *image)
{
    SkinPicture p = unsetSkinPicture();
    copySkinText(p.image, sizeof p.image, image);
    p.source = makeSkinRect(0, 0, 4, 4);
    return p;
}

TEST(FramePictures, InactiveSetFallsBackToTheActiveOneAndUnsetPiecesAreFilled)
{
    FrameWndDefinition d;
    d.pictures[kPieceTopLeft] = setPicture("a");
    d.pictures[kPieceTopLeft + kInactivePictures] = setPicture("i");
    d.pictures[kPieceTop] = setPicture("a");  // no inactive picture of its own
    d.pictures[kPieceLeft + kInactivePictures] = setPicture("i");  // only an inactive one
    struct Case {
        int piece;
        bool active;
        int expected;
    } cases[] = {
        {kPieceTopLeft, true, kPieceTopLeft},
        {kPieceTopLeft, false, kPieceTopLeft + kInactivePictures},
        {kPieceTop, true, kPieceTop},
        {kPieceTop, false, kPieceTop},
        {kPieceLeft, true, -1},
        {kPieceLeft, false, kPieceLeft + kInactivePictures},
        {kPieceBottom, false, -1},
        {-1, true, -1},
        {kPieceCount, true, -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(framePictureIndex(d, c.piece, c.active), c.expected) << "piece " << c.piece << " active " << c.active;
    }
    d.activeFill = 0x111111;
    d.inactiveFill = 0x222222;
    EXPECT_EQ(framePieceFill(d, true), 0x111111u);
    EXPECT_EQ(framePieceFill(d, false), 0x222222u);
}

TEST(FramePictures, IconicGridOfEachLook)
{
    FrameWndDefinition d;
    copySkinText(d.iconicActive.image, sizeof d.iconicActive.image, "on");
    d.iconicActive.source = makeSkinRect(0, 0, 8, 8);
    EXPECT_EQ(&frameIconicGrid(d, false), &d.iconicActive);  // no inactive grid set
    copySkinText(d.iconicInactive.image, sizeof d.iconicInactive.image, "off");
    d.iconicInactive.source = makeSkinRect(0, 0, 8, 8);
    EXPECT_EQ(&frameIconicGrid(d, false), &d.iconicInactive);
    EXPECT_EQ(&frameIconicGrid(d, true), &d.iconicActive);
}

std::string show(const SkinRect &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(NonClientStrips, CoverTheWindowOutsideTheClientOnce)
{
    struct Case {
        SkinSize window;
        SkinRect client;
    } cases[] = {
        {{300, 200}, {4, 48, 296, 196}},
        {{300, 200}, {0, 0, 300, 200}},      // no borders: four empty strips
        {{10, 10}, {4, 28, 6, 10}},          // client below the window: clamped
        {{50, 40}, {-3, -3, 60, 60}},        // client outside the window: clamped
    };
    for (const Case &c : cases) {
        const auto strips = nonClientStrips(c.window, c.client);
        // Every pixel of the window is in exactly one strip or in the (clamped) client.
        for (int y = 0; y < c.window.height; ++y) {
            for (int x = 0; x < c.window.width; ++x) {
                int hits = skinRectContains(c.client, SkinPoint{x, y}) ? 1 : 0;
                for (const SkinRect &s : strips) hits += skinRectContains(s, SkinPoint{x, y}) ? 1 : 0;
                ASSERT_EQ(hits, 1) << "pixel " << x << "," << y << " client " << show(c.client);
            }
        }
    }
    const auto strips = nonClientStrips({300, 200}, {4, 48, 296, 196});
    EXPECT_EQ(show(strips[3]), "0,0,300,48");  // caption and menu bar together
}

TEST(RegionCombine, CodesAndTheDefault)
{
    EXPECT_EQ(regionCombineOf(0), RegionCombine::Intersect);
    EXPECT_EQ(regionCombineOf(1), RegionCombine::Subtract);
    EXPECT_EQ(regionCombineOf(CaptionStaticDefinition().combine), RegionCombine::Unite);
    EXPECT_EQ(regionCombineOf(3), RegionCombine::ExclusiveOr);
    EXPECT_EQ(regionCombineOf(4), RegionCombine::CutThenUnite);
    EXPECT_EQ(regionCombineOf(5), RegionCombine::None);
    EXPECT_EQ(regionCombineOf(-1), RegionCombine::None);
}

TEST(QuickSecondClick, WithinTheDoubleClickTime)
{
    EXPECT_FALSE(isQuickSecondClick(0, 100, 500));  // no earlier click
    EXPECT_TRUE(isQuickSecondClick(1000, 1500, 500));
    EXPECT_FALSE(isQuickSecondClick(1000, 1501, 500));
    EXPECT_TRUE(isQuickSecondClick(0xFFFFFFF0u, 0x10u, 500));  // across the counter's wrap
}

}  // namespace
