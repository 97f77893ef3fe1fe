// Window classes to skin type codes (buttons renamed by style, combo lists by their combo
// box), and where frame parts are shown and placed.
#include <gtest/gtest.h>

#include "skin_classes.h"

namespace {

TEST(WindowClasses, CodesOfClassesAndButtonStyles)
{
    struct {
        const char *cls;
        uint32_t style;
        uint32_t combo;
        int32_t code;
    } cases[] = {
        {"Button", 9 /* BS_AUTORADIOBUTTON */, 0, kSkinRadio},
        {"Button", 4 /* BS_RADIOBUTTON */, 0, kSkinRadio},
        {"Button", 6 /* BS_AUTO3STATE */, 0, kSkinCheckBox},
        {"Button", 3 /* BS_AUTOCHECKBOX */, 0, kSkinCheckBox},
        {"Button", 5 /* BS_3STATE */, 0, kSkinCheckBox},
        {"Button", 7 /* BS_GROUPBOX */, 0, kSkinGroupBox},
        {"Button", 1 /* BS_DEFPUSHBUTTON */, 0, kSkinButton},
        {"Button", 0x50010000 /* push button with window styles */, 0, kSkinButton},
        {"ComboLBox", 0, 1 /* CBS_SIMPLE */, kSkinListBox},
        {"ComboLBox", 0, 2 /* CBS_DROPDOWN */, kSkinNone},
        {"ComboLBox", 0, 3 /* CBS_DROPDOWNLIST */, kSkinNone},
        {"Link Window", 0, 0, kSkinLinkWnd},
        {"AfxControlBar70sud", 0, 0, kSkinControlBar},
        {"SysIPAddress32", 0, 0, kSkinScrollControl},
        {"SysDateTimePick32", 0, 0, kSkinDateTime},
        {"static", 0, 0, kSkinNone},  // compared bytewise
        {"GroupBox", 0, 0, kSkinGroupBox},
        {"#32770", 0, 0, kSkinNone},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(skinClassifyClass(c.cls, c.style, c.combo), c.code) << c.cls << " " << c.style;
    }
    EXPECT_EQ(skinClassifyClass(nullptr, 0, 0), kSkinNone);
}

TEST(FrameParts, VisibilityCodes)
{
    const SkinWindowState normal{false, false, true, true}, iconic{true, false, false, true},
        zoomed{false, true, true, false};
    // Codes 0..10 against the three states: shown (1) or not (0).
    const int table[11][3] = {
        {1, 1, 1}, {0, 1, 0}, {1, 0, 1}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1},
        {0, 1, 0}, {1, 1, 0}, {0, 0, 1}, {1, 0, 0}, {0, 0, 0},
    };
    for (int code = 0; code <= 10; ++code) {
        EXPECT_EQ(skinPartShown(code, normal), table[code][0] != 0) << code;
        EXPECT_EQ(skinPartShown(code, iconic), table[code][1] != 0) << code;
        EXPECT_EQ(skinPartShown(code, zoomed), table[code][2] != 0) << code;
    }
    EXPECT_FALSE(skinPartShown(-1, normal));
}

TEST(FrameParts, AnchorsMoveAgainstTheReferenceSize)
{
    const SkinRect design = makeSkinRect(200, 140, 220, 150);
    struct {
        int32_t anchor;
        int32_t dx, dy;
    } cases[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 40}, {8, 0, 40}, {4, 124, 0}, {6, 124, 0}, {5, 124, 40}, {3, 0, 0}, {9, 0, 0}};
    for (const auto &c : cases) {
        const SkinRect placed = skinPlacePart(design, c.anchor, 400, 200, 276, 160);
        EXPECT_EQ(placed, makeSkinRect(200 + c.dx, 140 + c.dy, 220 + c.dx, 150 + c.dy)) << c.anchor;
    }
}

}  // namespace

#include "skin_platform.h"

namespace {

TEST(PlatformClass, FromTheVersionThatWineReports)
{
    // What GetVersion's high bit and GetVersionExW report for each Wine version setting.
    struct {
        const char *wineVersion;
        bool nonNt;
        uint32_t major, minor;
        int32_t platform;
    } cases[] = {
        {"win7 (the default)", false, 6, 1, kPlatformOtherNt},
        {"win10", false, 10, 0, kPlatformOtherNt},
        {"win2003", false, 5, 2, kPlatformOtherNt},
        {"winxp", false, 5, 1, kPlatformWinXp},
        {"win2k", false, 5, 0, kPlatformWin2000},
        {"nt40", false, 4, 0, kPlatformNt4},
        {"win98", true, 4, 10, kPlatformWin98},
        {"winme", true, 4, 90, kPlatformWinMe},
        {"win95", true, 4, 0, kPlatformWin95},
        {"win31", true, 3, 10, kPlatformOldNonNt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(skinClassifyPlatform(c.nonNt, true, c.major, c.minor), c.platform) << c.wineVersion;
    }
    EXPECT_EQ(skinClassifyPlatform(true, false, 0, 0), kPlatformWin95);
    EXPECT_EQ(skinClassifyPlatform(false, false, 0, 0), kPlatformOtherNt);
    EXPECT_FALSE(skinPlatformHasSkinnedScrollBars(kPlatformOtherNt));
    EXPECT_FALSE(skinPlatformHasSkinnedScrollBars(kPlatformOldNonNt));
    EXPECT_TRUE(skinPlatformHasSkinnedScrollBars(kPlatformWinXp));
}

}  // namespace
