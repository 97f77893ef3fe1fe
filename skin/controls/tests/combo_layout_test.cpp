#include "combo_layout.h"

#include <gtest/gtest.h>

namespace {

std::string show(const SkinRect &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

bool inside(const SkinRect &r, const SkinRect &bounds)
{
    return r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right && r.bottom <= bounds.bottom &&
           r.left <= r.right && r.top <= r.bottom;
}

TEST(ComboLayout, PartsOfAnOrdinaryCombo)
{
    // 120 x 21 with the default skin's 2-pixel frame and a 16-pixel button.
    const ComboLayout l = comboLayout(makeSkinRect(0, 0, 120, 21), makeSkinRect(2, 2, 2, 2), 16);
    EXPECT_EQ(show(l.edit), "2,2,118,19");
    EXPECT_EQ(show(l.button), "102,2,118,19");
    EXPECT_EQ(show(l.text), "3,3,100,18");
    EXPECT_EQ(show(l.hotZone), "102,2,118,19");
    // Uneven margins move each part by its own margin.
    const ComboLayout u = comboLayout(makeSkinRect(0, 0, 100, 30), makeSkinRect(1, 3, 5, 4), 20);
    EXPECT_EQ(show(u.edit), "1,3,95,26");
    EXPECT_EQ(show(u.button), "75,3,95,26");
    EXPECT_EQ(show(u.text), "2,4,73,25");
    EXPECT_EQ(show(u.hotZone), "79,3,95,26");
}

TEST(ComboLayout, TooSmallControlsGetEmptyPartsInsideTheClient)
{
    struct Case {
        SkinRect client, margins;
        int32_t button;
    } cases[] = {
        {makeSkinRect(0, 0, 10, 3), makeSkinRect(2, 2, 2, 2), 16},    // narrower than the button, lower than the frame
        {makeSkinRect(0, 0, 0, 0), makeSkinRect(2, 2, 2, 2), 16},     // nothing at all
        {makeSkinRect(0, 0, 30, 20), makeSkinRect(20, 2, 20, 2), 16}, // margins wider than the control
        {makeSkinRect(0, 0, 40, 20), makeSkinRect(0, 0, 0, 0), -5},   // a nonsensical button width
    };
    for (const Case &c : cases) {
        const ComboLayout l = comboLayout(c.client, c.margins, c.button);
        for (const SkinRect *r : {&l.edit, &l.text, &l.button, &l.hotZone}) {
            EXPECT_TRUE(inside(*r, c.client)) << show(c.client) << " part " << show(*r);
        }
        EXPECT_TRUE(inside(l.button, l.edit)) << show(c.client);
        EXPECT_LE(l.text.right, l.button.left) << show(c.client);
    }
}

TEST(ComboLayout, ButtonPictureByStateFallsBackToNormal)
{
    const bool all[4] = {true, true, true, true};
    const bool onlyNormal[4] = {true, false, false, false};
    const bool noHot[4] = {true, false, true, true};
    struct Case {
        int32_t state;
        bool enabled;
        const bool *pictures;
        int32_t picture;
    } cases[] = {
        {kComboButtonStateNormal, true, all, 0},   {kComboButtonStateHot, true, all, 1},
        {kComboButtonStatePressed, true, all, 2},  {kComboButtonStateNormal, false, all, 3},
        {kComboButtonStatePressed, false, all, 3}, // disabled wins over a press
        {kComboButtonStateHot, true, onlyNormal, 0}, {kComboButtonStatePressed, true, onlyNormal, 0},
        {kComboButtonStateNormal, false, onlyNormal, 0}, {kComboButtonStateHot, true, noHot, 0},
        {kComboButtonStatePressed, true, noHot, 2},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(comboButtonPicture(c.state, c.enabled, c.pictures), c.picture) << c.state << " " << c.enabled;
    }
}

TEST(ComboLayout, PointerMovesLightTheButtonOnlyInTheHotZone)
{
    const ComboLayout l = comboLayout(makeSkinRect(0, 0, 120, 21), makeSkinRect(2, 2, 2, 2), 16);
    struct Case {
        int32_t state, x, y;
        bool held;
        int32_t after;
    } cases[] = {
        {kComboButtonStateNormal, 110, 10, false, kComboButtonStateHot},
        {kComboButtonStateNormal, 102, 2, false, kComboButtonStateHot},     // the zone's first pixel
        {kComboButtonStateHot, 118, 10, false, kComboButtonStateNormal},    // past its right end (the frame)
        {kComboButtonStateHot, 101, 10, false, kComboButtonStateNormal},
        {kComboButtonStateHot, 110, 1, false, kComboButtonStateNormal},     // in the top frame margin
        {kComboButtonStatePressed, 20, 10, true, kComboButtonStatePressed}, // held: stays pressed
        {kComboButtonStatePressed, 110, 10, false, kComboButtonStateHot},   // released in the zone
    };
    for (const Case &c : cases) {
        EXPECT_EQ(comboStateAfterMove(c.state, l, c.x, c.y, c.held), c.after) << c.x << "," << c.y;
    }
}

TEST(ComboLayout, SimpleAndVariableOwnerDrawnCombosStayUnskinned)
{
    EXPECT_TRUE(comboIsSkinned(0x2));                // drop-down
    EXPECT_TRUE(comboIsSkinned(0x3));                // drop-down list
    EXPECT_TRUE(comboIsSkinned(0x3 | 0x10));         // owner-draw-fixed: drawn around the owner's items
    EXPECT_FALSE(comboIsSkinned(0x1));               // simple
    EXPECT_FALSE(comboIsSkinned(0x3 | 0x20));        // owner-draw-variable
    EXPECT_FALSE(comboIsSkinned(0x2 | 0x10 | 0x20));
}

}  // namespace
