// The non-client geometry of skinned frames and dialogs: pieces laid out for a window size,
// borders and the client rectangle (right-to-left too), hit tests at points along every edge and
// corner of a resizable, a fixed and a maximised window, minimum and tracking sizes (also from
// the compiled default skin), caption-text anchoring and what caption buttons do.
#include <gtest/gtest.h>

#include "frame_geometry.h"
#include "skin_repository.h"
#include "skin_test_support.h"

namespace {

// The default skin's frame pieces: a 200 × 100 picture, a 28-pixel caption, 4-pixel borders.
FramePieces defaultPieces()
{
    return FramePieces{SkinRect{0, 0, 40, 28},  SkinRect{40, 0, 160, 28},  SkinRect{160, 0, 200, 28},
                       SkinRect{0, 28, 4, 96},  SkinRect{4, 28, 196, 96},  SkinRect{196, 28, 200, 96},
                       SkinRect{0, 96, 4, 100}, SkinRect{4, 96, 196, 100}, SkinRect{196, 96, 200, 100}};
}

// Pieces whose sides differ, so that a swap or a wrong piece shows.
FramePieces unevenPieces()
{
    return FramePieces{SkinRect{0, 0, 30, 20},  SkinRect{30, 0, 70, 20},  SkinRect{70, 0, 100, 20},
                       SkinRect{0, 20, 6, 50},  SkinRect{6, 20, 91, 50},  SkinRect{91, 20, 100, 50},
                       SkinRect{0, 50, 45, 57}, SkinRect{45, 50, 55, 57}, SkinRect{55, 50, 100, 57}};
}

std::string show(const SkinRect &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(FrameGeometry, PiecesFollowTheWindowsEdges)
{
    const FramePieces p = layoutFramePieces(defaultPieces(), 300, 200);
    const char *expected[kPieceCount] = {"0,0,40,28",  "40,0,260,28",  "260,0,300,28",  "0,28,4,196",   "4,28,296,196",
                                         "296,28,300,196", "0,196,4,200", "4,196,296,200", "296,196,300,200"};
    for (int i = 0; i < kPieceCount; ++i) EXPECT_EQ(show(p[i]), expected[i]) << "piece " << i;
    // Laid out for the design size, the pieces are the design pieces; and layouts do not add up.
    EXPECT_EQ(layoutFramePieces(defaultPieces(), 200, 100), defaultPieces());
    EXPECT_EQ(layoutFramePieces(p, 200, 100), defaultPieces());
}

TEST(FrameGeometry, ClientRectLeavesTheBordersAndTheMenuBar)
{
    const FramePieces uneven = unevenPieces();
    int32_t askedWidth = -1;
    const auto menu = [&](int32_t width) {
        askedWidth = width;
        return 25;
    };
    const SkinRect window{100, 50, 400, 250};
    const SkinRect ltr = frameClientRect(window, frameBorders(uneven, false), menu);
    EXPECT_EQ(show(ltr), "106,95,391,243");
    EXPECT_EQ(askedWidth, 285);  // the width the side borders leave
    const SkinRect rtl = frameClientRect(window, frameBorders(uneven, true), menu);
    EXPECT_EQ(show(rtl), "109,95,394,243");
    // Without a menu bar only the borders count; a window smaller than its borders keeps an
    // empty client area, never an inverted one.
    EXPECT_EQ(show(frameClientRect(window, frameBorders(uneven, false), nullptr)), "106,70,391,243");
    const SkinRect tiny = frameClientRect(SkinRect{0, 0, 5, 5}, frameBorders(uneven, false), nullptr);
    EXPECT_TRUE(tiny.isEmpty());
    EXPECT_GE(tiny.right, tiny.left);
    EXPECT_GE(tiny.bottom, tiny.top);
}

// One point and the answers of a resizable, a fixed and a maximised frame there.
struct HitCase {
    SkinPoint point;
    int32_t resizable;
    int32_t fixed;
    int32_t maximized;
};

TEST(FrameGeometry, FrameHitTestAlongEveryEdgeAndCorner)
{
    const FramePieces p = layoutFramePieces(defaultPieces(), 300, 200);
    const SkinRect menuBar{4, 28, 296, 55};
    const HitCase cases[] = {
        {{0, 0}, kHitTopLeft, kHitCaption, kHitCaption},
        {{4, 4}, kHitTopLeft, kHitCaption, kHitCaption},
        {{5, 0}, kHitCaption, kHitCaption, kHitCaption},      // piece 0 past its corner
        {{0, 5}, kHitCaption, kHitCaption, kHitCaption},
        {{100, 0}, kHitTop, kHitCaption, kHitCaption},
        {{100, 4}, kHitTop, kHitCaption, kHitCaption},
        {{100, 5}, kHitCaption, kHitCaption, kHitCaption},
        {{299, 0}, kHitTopRight, kHitCaption, kHitCaption},
        {{295, 4}, kHitTopRight, kHitCaption, kHitCaption},
        {{294, 0}, kHitCaption, kHitCaption, kHitCaption},
        {{0, 100}, kHitLeft, kHitNowhere, kHitNowhere},
        {{3, 100}, kHitLeft, kHitNowhere, kHitNowhere},
        {{296, 100}, kHitRight, kHitNowhere, kHitNowhere},
        {{299, 100}, kHitRight, kHitNowhere, kHitNowhere},
        {{0, 199}, kHitBottomLeft, kHitNowhere, kHitNowhere},
        {{3, 196}, kHitBottomLeft, kHitNowhere, kHitNowhere},
        {{150, 199}, kHitBottom, kHitNowhere, kHitNowhere},
        {{299, 199}, kHitBottomRight, kHitNowhere, kHitNowhere},
        {{296, 196}, kHitBottomRight, kHitNowhere, kHitNowhere},
        {{150, 100}, kHitClient, kHitClient, kHitClient},
        {{150, 30}, kHitMenu, kHitMenu, kHitMenu},
        {{150, 54}, kHitMenu, kHitMenu, kHitMenu},
        {{150, 55}, kHitClient, kHitClient, kHitClient},
        {{300, 100}, kHitError, kHitError, kHitNowhere},   // outside every piece
        {{-1, 0}, kHitError, kHitError, kHitNowhere},
    };
    for (const HitCase &c : cases) {
        const std::string at = std::to_string(c.point.x) + "," + std::to_string(c.point.y);
        EXPECT_EQ(frameHitTest(p, c.point, menuBar, 0, {false, true}), c.resizable) << at;
        EXPECT_EQ(frameHitTest(p, c.point, menuBar, 0, {false, false}), c.fixed) << at;
        EXPECT_EQ(frameHitTest(p, c.point, menuBar, 0, {true, true}), c.maximized) << at;
    }
}

TEST(FrameGeometry, PartsAnswerBeforeThePieces)
{
    const FramePieces p = layoutFramePieces(defaultPieces(), 300, 200);
    const SkinRect noMenu{0, 0, 0, 0};
    // A caption button over the left edge moves the window; a caption text asking for sizing
    // does not size a fixed window; a maximised window takes only a part's caption answer.
    EXPECT_EQ(frameHitTest(p, {1, 100}, noMenu, kHitCaption, {false, true}), kHitCaption);
    EXPECT_EQ(frameHitTest(p, {150, 10}, noMenu, kHitLeft, {false, true}), kHitLeft);
    EXPECT_EQ(frameHitTest(p, {150, 10}, noMenu, kHitLeft, {false, false}), kHitNowhere);
    EXPECT_EQ(frameHitTest(p, {150, 10}, noMenu, kHitTop, {false, false}), kHitCaption);
    EXPECT_EQ(frameHitTest(p, {1, 100}, noMenu, kHitCaption, {true, true}), kHitCaption);
    EXPECT_EQ(frameHitTest(p, {1, 100}, noMenu, kHitLeft, {true, true}), kHitNowhere);
    // The menu bar comes before any part.
    EXPECT_EQ(frameHitTest(p, {150, 30}, SkinRect{4, 28, 296, 55}, kHitCaption, {false, true}), kHitMenu);
}

TEST(FrameGeometry, DialogHitTest)
{
    const FramePieces p = layoutFramePieces(defaultPieces(), 300, 200);
    const HitCase cases[] = {
        {{0, 0}, kHitTopLeft, kHitCaption, kHitCaption},
        {{100, 2}, kHitTop, kHitCaption, kHitCaption},
        {{100, 20}, kHitCaption, kHitCaption, kHitCaption},
        {{299, 0}, kHitTopRight, kHitCaption, kHitCaption},
        {{0, 100}, kHitLeft, kHitNowhere, kHitNowhere},
        {{299, 100}, kHitRight, kHitNowhere, kHitNowhere},
        {{0, 199}, kHitBottomLeft, kHitNowhere, kHitNowhere},
        {{150, 198}, kHitBottom, kHitNowhere, kHitNowhere},
        {{299, 199}, kHitBottomRight, kHitNowhere, kHitNowhere},
        {{150, 100}, kHitClient, kHitClient, kHitClient},
        {{300, 100}, kHitNowhere, kHitNowhere, kHitNowhere},
    };
    for (const HitCase &c : cases) {
        const std::string at = std::to_string(c.point.x) + "," + std::to_string(c.point.y);
        EXPECT_EQ(dialogHitTest(p, c.point, 0, {false, true}), c.resizable) << at;
        EXPECT_EQ(dialogHitTest(p, c.point, 0, {false, false}), c.fixed) << at;
        EXPECT_EQ(dialogHitTest(p, c.point, 0, {true, true}), c.maximized) << at;
    }
    // Only a part's caption answer counts for a dialog.
    EXPECT_EQ(dialogHitTest(p, {0, 100}, kHitCaption, {false, true}), kHitCaption);
    EXPECT_EQ(dialogHitTest(p, {150, 20}, kHitLeft, {false, true}), kHitCaption);
}

TEST(FrameGeometry, StylesThatSizeFrameAndCaption)
{
    using namespace frame_style;
    const struct {
        uint32_t style;
        bool resizable;
        bool framedDialog;
        bool captionText;
    } cases[] = {
        {0x00CF0000u /* overlapped window */, true, true, true},
        {kThickFrame, true, false, false},
        {kThickFrame | kDialogFrame, true, true, false},
        {kThickFrame | kDialogFrame | kModalFrame, false, true, false},
        {kThickFrame | kModalFrame, true, true, false},
        {kCaption | kModalFrame, false, true, true},
        {kDialogFrame, false, true, false},  // half the caption bits: no caption text
        {0x00800000u /* border only */, false, false, false},
        {0, false, false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isResizableStyle(c.style), c.resizable) << std::hex << c.style;
        EXPECT_EQ(isFramedDialogStyle(c.style), c.framedDialog) << std::hex << c.style;
        EXPECT_EQ(drawsCaptionText(c.style), c.captionText) << std::hex << c.style;
    }
}

TEST(FrameGeometry, MinimumAndTrackingSizes)
{
    EXPECT_EQ(frameMinimumSize(nullptr), (SkinSize{10, 10}));
    FrameWndDefinition def;
    const FramePieces uneven = unevenPieces();
    std::copy(uneven.begin(), uneven.end(), def.pieces);
    EXPECT_EQ(frameMinimumSize(&def), (SkinSize{30 + 30 + 10, 20 + 5}));
    // The top corners are wider in the default pieces, the bottom corners in the uneven ones.
    EXPECT_EQ(frameMinimumTrackSize(defaultPieces()), (SkinSize{82, 34}));
    EXPECT_EQ(frameMinimumTrackSize(uneven), (SkinSize{45 + 45 + 2, 20 + 7 + 2}));
}

TEST(FrameGeometry, MinMaxInformationAndTheWindowsOwnAnswer)
{
    const FramePieces p = defaultPieces();
    const FrameMinMax ours = frameMinMax(p, SkinRect{0, 30, 1024, 768});
    EXPECT_EQ(ours.maxSize, (SkinSize{1024, 738}));
    EXPECT_EQ(ours.maxPosition.x, 0);
    EXPECT_EQ(ours.maxPosition.y, 30);
    EXPECT_EQ(ours.minTrack, (SkinSize{82, 34}));
    // The window's own procedure: a larger maximum (a frame's usual answer) and a larger minimum
    // in one direction.
    const FrameMinMax theirs{SkinSize{1032, 776}, SkinPoint{-4, -4}, SkinSize{200, 20}, SkinSize{1036, 780}};
    const FrameMinMax merged = mergeMinMax(ours, theirs);
    EXPECT_EQ(merged.maxSize, (SkinSize{1024, 738}));
    EXPECT_EQ(merged.maxPosition.y, 30);
    EXPECT_EQ(merged.minTrack, (SkinSize{200, 34}));
    EXPECT_EQ(merged.maxTrack, (SkinSize{1036, 780}));
    // A smaller maximum of the window's own holds.
    const FrameMinMax small = mergeMinMax(ours, FrameMinMax{SkinSize{640, 480}, SkinPoint{0, 0}, SkinSize{0, 0},
                                                            SkinSize{640, 480}});
    EXPECT_EQ(small.maxSize, (SkinSize{640, 480}));
    EXPECT_EQ(small.maxTrack, (SkinSize{640, 480}));

    const FrameMinMax child = mdiChildMinMax(unevenPieces(), SkinSize{500, 300});
    EXPECT_EQ(child.maxSize, (SkinSize{500 + 6 + 9, 300 + 20 + 7}));
    EXPECT_EQ(child.maxPosition.x, -6);
    EXPECT_EQ(child.maxPosition.y, -20);
}

TEST(FrameGeometry, CaptionTextAnchoringAndHitCodes)
{
    CaptionStaticDefinition part;
    part.rect = SkinRect{10, 0, 128, 28};
    const SkinSize window{300, 150}, reference{200, 100};
    const struct {
        int32_t left, top, right, bottom;
        const char *expected;
    } anchors[] = {
        {0, 0, 0, 0, "10,0,128,28"},    {1, 0, 0, 0, "10,0,128,28"},   {1, 0, 1, 0, "10,0,228,28"},
        {0, 0, 1, 0, "110,0,228,28"},   {0, 1, 1, 1, "110,0,228,78"},  {0, 0, 0, 1, "10,50,128,78"},
        {1, 1, 1, 1, "10,0,228,78"},
    };
    for (const auto &a : anchors) {
        part.anchorLeft = a.left;
        part.anchorTop = a.top;
        part.anchorRight = a.right;
        part.anchorBottom = a.bottom;
        EXPECT_EQ(show(layoutCaptionText(part, window, reference)), a.expected)
            << a.left << a.top << a.right << a.bottom;
    }
    const int32_t codes[] = {kHitNowhere, kHitCaption,     kHitLeft,   kHitTopLeft,    kHitTop,    kHitTopRight,
                             kHitRight,   kHitBottomRight, kHitBottom, kHitBottomLeft, kHitCaption, kHitNowhere};
    for (int32_t kind = 0; kind < 12; ++kind) EXPECT_EQ(captionTextHitCode(kind), codes[kind]) << kind;
    EXPECT_EQ(captionTextHitCode(-1), kHitNowhere);
}

TEST(FrameGeometry, CaptionButtonsByKind)
{
    using namespace frame_style;
    const struct {
        int32_t kind;
        CaptionAction normal, zoomed, iconic;
        uint32_t enablingStyle;
    } cases[] = {
        {kCaptionCommand, CaptionAction::Command, CaptionAction::Command, CaptionAction::Command, 0},
        {kCaptionClose, CaptionAction::Close, CaptionAction::Close, CaptionAction::Close, kSystemMenu},
        {kCaptionIcon, CaptionAction::SystemMenu, CaptionAction::SystemMenu, CaptionAction::SystemMenu, 0},
        {kCaptionMaximize, CaptionAction::Maximize, CaptionAction::Restore, CaptionAction::Maximize, kMaximizeBox},
        {kCaptionMinimize, CaptionAction::Minimize, CaptionAction::Minimize, CaptionAction::Restore, kMinimizeBox},
        {kCaptionSystemMenu, CaptionAction::SystemMenu, CaptionAction::SystemMenu, CaptionAction::SystemMenu, kSystemMenu},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(captionButtonAction(c.kind, false, false), c.normal) << c.kind;
        EXPECT_EQ(captionButtonAction(c.kind, true, false), c.zoomed) << c.kind;
        EXPECT_EQ(captionButtonAction(c.kind, false, true), c.iconic) << c.kind;
        EXPECT_TRUE(captionButtonEnabled(c.kind, c.enablingStyle)) << c.kind;
        EXPECT_EQ(captionButtonEnabled(c.kind, 0), c.enablingStyle == 0) << c.kind;
    }
}

TEST(FrameGeometry, TheDefaultSkinsFramesAndDialogs)
{
    SkinRepository repository;
    ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str())) << repository.errorCode();
    for (const char *name : {"MainFrame", "Dialog"}) {
        const auto *frame = dynamic_cast<const FrameWndDefinition *>(repository.findObject(name));
        ASSERT_NE(frame, nullptr) << name;
        const FramePieces design = designPieces(*frame);
        EXPECT_EQ(design, defaultPieces()) << name;
        EXPECT_EQ(frameMinimumTrackSize(design), (SkinSize{82, 34})) << name;
        EXPECT_EQ(frameMinimumSize(frame), (SkinSize{90, 33})) << name;
        const FrameBorders b = frameBorders(design, false);
        EXPECT_EQ(b.left + b.right + b.top + b.bottom, 4 + 4 + 28 + 4) << name;
        // The caption text follows the window's width, between the left corner and the buttons.
        const auto *caption = dynamic_cast<const CaptionStaticDefinition *>(frame->findChild("Caption"));
        ASSERT_NE(caption, nullptr) << name;
        EXPECT_EQ(show(layoutCaptionText(*caption, SkinSize{500, 300},
                                         SkinSize{frame->referenceWidth(), frame->referenceHeight()})),
                  "10,0,428,28")
            << name;
    }
}

}  // namespace
