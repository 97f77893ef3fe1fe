// The font a control skinner gives back: the control's own font read once, whatever number
// of skin fonts were posted before the read arrived; none read, nothing given back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_font.h"

namespace {

using Handle = ControlFontKeeper::Handle;
constexpr Handle kOwn = 0x100, kSkin = 0x200, kOtherSkin = 0x300, kNone = 0;

// One step of a skinning: 'p' a skin font posted (to font), 'r' the posted read arriving
// (the control then has font), 'x' restore.
struct Step {
    char what;
    Handle font;
};

struct Replay {
    std::vector<bool> readRequests;
    bool restored = false;
    Handle restoredFont = 0;
};

Replay play(const std::vector<Step> &steps)
{
    ControlFontKeeper keeper;
    Replay run;
    for (const Step &s : steps) {
        if (s.what == 'p') run.readRequests.push_back(keeper.beginSkinFont(s.font));
        if (s.what == 'r') keeper.onOwnFontRead(s.font);
        if (s.what == 'x') run.restored = keeper.takeOwnFont(&run.restoredFont);
    }
    return run;
}

TEST(ControlFontKeeper, GivesBackExactlyTheFontTheControlHad)
{
    struct Case {
        const char *name;
        std::vector<Step> steps;
        std::vector<bool> readRequests;
        bool restored;
        Handle font;
    } cases[] = {
        {"one skin font", {{'p', kSkin}, {'r', kOwn}, {'x', 0}}, {true}, true, kOwn},
        // Attach and a second setSkin post before the queue runs: one read only, and the
        // second read (which would see the skin's font) never happens.
        {"two posts before the read", {{'p', kSkin}, {'p', kSkin}, {'r', kOwn}, {'x', 0}}, {true, false}, true, kOwn},
        {"a stray read after the skin font arrived",
         {{'p', kSkin}, {'r', kOwn}, {'p', kOtherSkin}, {'r', kSkin}, {'x', 0}},
         {true, false},
         true,
         kOwn},
        // A control drawn in the system font (none) gets none back, not "nothing to do".
        {"own font none", {{'p', kSkin}, {'r', kNone}, {'x', 0}}, {true}, true, kNone},
        {"read never arrived", {{'p', kSkin}, {'x', 0}}, {true}, false, 0},
        {"nothing posted", {{'x', 0}}, {}, false, 0},
        // After a restore the next skinning reads the own font afresh.
        {"skinned again", {{'p', kSkin}, {'r', kOwn}, {'x', 0}, {'p', kSkin}, {'r', kOtherSkin}, {'x', 0}},
         {true, true},
         true,
         kOtherSkin},
    };
    for (const Case &c : cases) {
        const Replay run = play(c.steps);
        EXPECT_EQ(run.readRequests, c.readRequests) << c.name;
        EXPECT_EQ(run.restored, c.restored) << c.name;
        EXPECT_EQ(run.restoredFont, c.font) << c.name;
    }
}

TEST(ControlFontKeeper, KnowsTheSkinFontsPostedUntilTheRestore)
{
    ControlFontKeeper keeper;
    keeper.beginSkinFont(kSkin);
    keeper.beginSkinFont(kOtherSkin);
    EXPECT_TRUE(keeper.isSkinFont(kSkin));
    EXPECT_TRUE(keeper.isSkinFont(kOtherSkin));
    EXPECT_FALSE(keeper.isSkinFont(kOwn));
    keeper.takeOwnFont(nullptr);
    EXPECT_FALSE(keeper.isSkinFont(kSkin));
}

}  // namespace
