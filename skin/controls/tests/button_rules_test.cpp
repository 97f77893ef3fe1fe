// The buttons' and statics' window-free rules: looks by state with the fall-backs for unset
// images, auto check boxes, radio groups, content alignment, group-box captions and static
// text formats.
#include <gtest/gtest.h>

#include "button_rules.h"

namespace {

ButtonState state(bool enabled, bool pressed, bool hover, bool checked, bool focused, bool isDefault)
{
    ButtonState s;
    s.enabled = enabled;
    s.pressed = pressed;
    s.hover = hover;
    s.checked = checked;
    s.focused = focused;
    s.isDefault = isDefault;
    return s;
}

TEST(ButtonLooks, PushButtonByStateWithFallBacks)
{
    const bool all[kPushLookCount] = {true, true, true, true, true, true};
    const bool noFocusNoHover[kPushLookCount] = {true, true, true, false, false, true};
    const bool onlyNormal[kPushLookCount] = {true, false, false, false, false, false};
    struct Case {
        const char *name;
        ButtonState s;
        const bool *images;
        int look;
    } cases[] = {
        {"plain", state(true, false, false, false, false, false), all, kLookNormal},
        {"pressed beats hover", state(true, true, true, false, true, false), all, kLookPressed},
        {"hover", state(true, false, true, false, true, true), all, kLookHover},
        {"hover without image, default focused", state(true, false, true, false, true, true), noFocusNoHover,
         kLookDefault},
        {"default unfocused", state(true, false, false, false, false, true), all, kLookDefault},
        {"default focused", state(true, false, false, false, true, true), all, kLookFocused},
        {"default focused, no focused image", state(true, false, false, false, true, true), noFocusNoHover,
         kLookDefault},
        {"focused", state(true, false, false, false, true, false), all, kLookFocused},
        {"focused, no focused image", state(true, false, false, false, true, false), noFocusNoHover, kLookNormal},
        {"checked", state(true, false, false, true, false, false), all, kLookPressed},
        {"disabled", state(false, true, true, false, true, true), all, kLookDisabled},
        {"disabled without image", state(false, false, false, false, false, false), onlyNormal, kLookNormal},
        {"pressed without image", state(true, true, false, false, false, false), onlyNormal, kLookNormal},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(pushButtonLook(c.s, c.images), c.look) << c.name;
    }
}

TEST(ButtonLooks, PushLikeCheckBox)
{
    const bool all[kPushLookCount] = {true, true, true, true, true, true};
    EXPECT_EQ(pushLikeLook(state(true, false, false, true, false, false), all), kLookPressed);
    EXPECT_EQ(pushLikeLook(state(true, false, true, false, false, false), all), kLookHover);
    EXPECT_EQ(pushLikeLook(state(true, false, false, false, true, false), all), kLookNormal);
    EXPECT_EQ(pushLikeLook(state(false, false, false, true, false, false), all), kLookDefault);
    EXPECT_EQ(pushLikeLook(state(false, false, false, false, false, false), all), kLookDisabled);
}

TEST(ButtonLooks, CheckBoxAndRadioBackgroundAndTickFallBackApart)
{
    const bool all[kCheckLooks] = {true, true, true, true, true, true, true};
    // The default skin sets ticks only; a skin with only the first two looks falls back.
    const bool firstTwo[kCheckLooks] = {true, true, false, false, false, false, false};
    const bool none[kCheckLooks] = {};
    struct Case {
        const char *name;
        ButtonState s;
        bool radio;
        const bool *bg;
        const bool *tick;
        CheckLookChoice look;
    } cases[] = {
        {"normal", state(true, false, false, false, false, false), false, all, all, {0, 0}},
        {"hover unchecked", state(true, false, true, false, false, false), false, all, all, {5, 5}},
        {"focused checked", state(true, false, false, true, true, false), false, all, all, {6, 6}},
        {"focused checked, first two only", state(true, false, false, true, true, false), false, firstTwo, firstTwo,
         {1, 1}},
        {"focused checked, no backgrounds", state(true, false, false, true, true, false), false, none, all, {0, 6}},
        {"check box held down", state(true, true, false, false, false, false), false, all, all, {1, 1}},
        {"radio held down stays unchecked", state(true, true, false, false, false, false), true, all, all, {0, 0}},
        {"disabled unchecked", state(false, false, false, false, false, false), false, all, all, {3, 3}},
        {"disabled unchecked, first two only", state(false, false, false, false, false, false), false, firstTwo,
         firstTwo, {0, 0}},
        {"disabled checked box, first two only", state(false, false, false, true, false, false), false, firstTwo,
         firstTwo, {0, 1}},
        {"disabled checked radio, first two only", state(false, false, false, true, false, false), true, firstTwo,
         firstTwo, {1, 1}},
    };
    for (const Case &c : cases) {
        const CheckLookChoice got = checkLook(c.s, c.radio, c.bg, c.tick);
        EXPECT_EQ(got.background, c.look.background) << c.name;
        EXPECT_EQ(got.tick, c.look.tick) << c.name;
    }
}

TEST(ButtonRules, AutoCheckBoxesCycle)
{
    EXPECT_EQ(nextCheckState(button_style::kAutoCheckBox, 0), 1);
    EXPECT_EQ(nextCheckState(button_style::kAutoCheckBox, 1), 0);
    int s = 0;
    const int expected[] = {1, 2, 0, 1};
    for (int want : expected) {
        s = nextCheckState(button_style::kAuto3State | button_style::kLeftText, s);
        EXPECT_EQ(s, want);
    }
    EXPECT_EQ(nextCheckState(button_style::kCheckBox, 0), 0);
    EXPECT_EQ(nextCheckState(button_style::k3State, 1), 1);
}

TEST(ButtonRules, RadioGroupEndsAtTheNextGroupStart)
{
    // 0 label (group), 1 radio, 2 radio, 3 check box, 4 radio, 5 radio (group), 6 radio
    const std::vector<RadioSibling> siblings = {{true, false}, {false, true}, {false, true}, {false, false},
                                                {false, true}, {true, true},  {false, true}};
    using Checks = std::vector<std::pair<size_t, int>>;
    EXPECT_EQ(radioGroupChecks(siblings, 2), (Checks{{1, 0}, {2, 1}, {4, 0}}));
    EXPECT_EQ(radioGroupChecks(siblings, 6), (Checks{{5, 0}, {6, 1}}));
    EXPECT_EQ(radioGroupChecks(siblings, 5), (Checks{{5, 1}, {6, 0}}));
    // No group start before it: the group begins at the first sibling.
    const std::vector<RadioSibling> loose = {{false, true}, {false, true}, {true, true}};
    EXPECT_EQ(radioGroupChecks(loose, 1), (Checks{{0, 0}, {1, 1}}));
    EXPECT_TRUE(radioGroupChecks(loose, 7).empty());
}

TEST(ButtonRules, ContentAlignment)
{
    const SkinRect area{10, 20, 110, 60};  // 100 x 40
    using namespace button_style;
    struct Case {
        const char *name;
        int32_t w, h;
        uint32_t style;
        bool pushLike;
        SkinRect expected;
    } cases[] = {
        {"push button centres", 40, 10, 0, true, {40, 35, 80, 45}},
        {"check box keeps the left edge", 40, 10, kAutoCheckBox, false, {10, 35, 50, 45}},
        {"right", 40, 10, kRight, false, {70, 35, 110, 45}},
        {"centre bits on a check box", 40, 10, kCenter, false, {40, 35, 80, 45}},
        {"too wide to centre", 140, 10, kCenter, true, {10, 35, 150, 45}},
        {"too wide for the right", 140, 10, kRight, true, {10, 35, 150, 45}},
        {"top", 40, 10, kTop, true, {40, 20, 80, 30}},
        {"bottom", 40, 10, kBottom, true, {40, 50, 80, 60}},
        {"taller than the area", 40, 50, kBottom, true, {40, 20, 80, 70}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(alignButtonContent(area, c.w, c.h, c.style, c.pushLike), c.expected) << c.name;
    }
}

TEST(ButtonRules, GroupBoxCaption)
{
    const SkinRect client{0, 0, 200, 100};
    const SkinRect margins{4, 0, 4, 0};
    GroupBoxLayout left = groupBoxLayout(client, 50, 14, margins, 0);
    EXPECT_EQ(left.caption, (SkinRect{4, 0, 62, 14}));
    EXPECT_EQ(left.captionText, (SkinRect{8, 0, 58, 14}));
    EXPECT_EQ(left.frame, (SkinRect{0, 7, 200, 100}));
    EXPECT_EQ(groupBoxLayout(client, 50, 14, margins, button_style::kCenter).caption, (SkinRect{71, 0, 129, 14}));
    EXPECT_EQ(groupBoxLayout(client, 50, 14, margins, button_style::kRight).caption, (SkinRect{138, 0, 196, 14}));
    // A caption wider than the box stops 2 pixels inside either edge.
    EXPECT_EQ(groupBoxLayout(client, 300, 14, margins, 0).caption, (SkinRect{4, 0, 198, 14}));
    EXPECT_EQ(groupBoxLayout(client, 300, 14, margins, button_style::kRight).caption, (SkinRect{2, 0, 196, 14}));
}

TEST(StaticRules, KindsSkinningAndTextFormat)
{
    using namespace text_format;
    EXPECT_EQ(staticKind(0x3), StaticKind::kIcon);
    EXPECT_EQ(staticKind(0xE), StaticKind::kBitmap);
    EXPECT_EQ(staticKind(0x1), StaticKind::kText);
    EXPECT_FALSE(staticIsSkinned(0xB));  // simple
    EXPECT_FALSE(staticIsSkinned(0xD));  // owner-drawn
    EXPECT_FALSE(staticIsSkinned(0xF));  // enhanced metafile
    EXPECT_TRUE(staticIsSkinned(0x3));
    EXPECT_TRUE(staticIsSkinned(0x10 | 0x2));
    EXPECT_FALSE(buttonIsSkinned(button_style::kOwnerDraw | button_style::kCenter));
    EXPECT_TRUE(buttonIsSkinned(button_style::kAutoRadio));
    EXPECT_EQ(staticTextFormat(0, false), kWordBreak);
    EXPECT_EQ(staticTextFormat(static_style::kCenter | static_style::kNoPrefix, false), kCenter | kNoPrefix | kWordBreak);
    EXPECT_EQ(staticTextFormat(static_style::kRight | static_style::kCenterImage, true),
              kRight | kVCenter | kSingleLine | kWordBreak | kRtlReading);
    EXPECT_EQ(staticTextFormat(static_style::kLeftNoWordWrap, false), kSingleLine);
    EXPECT_EQ(buttonTextFormat(button_style::kMultiLine, false), kWordBreak | kEditControl);
    EXPECT_EQ(buttonTextFormat(0, true), kCenter | kRtlReading);
}

}  // namespace
