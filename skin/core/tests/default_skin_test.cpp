// The compiled default skin: the engine reads every field the compiler wrote (its
// description of the loaded skin equals the compiler's canonical description), writes the
// same body back, finds every object the program asks for, and cuts pictures whose
// key-colour shape matches the picture file read independently.
#include <gtest/gtest.h>

#include <sstream>

#include "key_region.h"
#include "rasterimage.h"
#include "skin_describer.h"
#include "skin_test_support.h"

namespace {

std::string firstDifference(const std::string &a, const std::string &b)
{
    std::istringstream sa(a), sb(b);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool ea = !std::getline(sa, la), eb = !std::getline(sb, lb);
        if (ea || eb || la != lb) {
            return "line " + std::to_string(line) + ": engine '" + (ea ? "<end>" : la) + "' compiler '" + (eb ? "<end>" : lb) + "'";
        }
    }
}

class DefaultSkin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str())) << repository.errorCode(); }
    SkinRepository repository;
};

TEST_F(DefaultSkin, TheEngineReadsWhatTheCompilerWrote)
{
    const Bytes normalized = readFileBytes(defaultSkinPath("skin.normalized"));
    ASSERT_FALSE(normalized.empty());
    const std::string expected(normalized.begin(), normalized.end());
    const std::string described = describeSkin(repository);
    EXPECT_TRUE(described == expected) << firstDifference(described, expected);
}

TEST_F(DefaultSkin, WritingTheLoadedObjectsBackGivesTheSameBody)
{
    const Bytes body = readFileBytes(defaultSkinPath("skin.body"));
    MemoryStream out;
    ASSERT_TRUE(repository.writeBody(out));
    ASSERT_EQ(out.size(), body.size());
    EXPECT_TRUE(std::memcmp(out.data(), body.data(), body.size()) == 0);
}

TEST_F(DefaultSkin, HoldsTheObjectsTheProgramAsksFor)
{
    const struct {
        const char *container;
        const char *name;
        int32_t type;
    } wanted[] = {
        {nullptr, "MainFrame", kSkinFrameWnd},          {nullptr, "Dialog", kSkinFrameWnd},
        {nullptr, "HotKeyDialog", kSkinUnnamedFrame},   {nullptr, "Splitter", kSkinPropertySet},
        {nullptr, "Application", kSkinApplication},     {"Dialog", "LeftLanguageRadio", kSkinRadio},
        {"Dialog", "RightLanguageRadio", kSkinRadio},   {"Dialog", "LanguageSelector", kSkinButton},
        {"HotKeyDialog", "HotKeyLeftLanguageRadio", kSkinRadio},
        {"HotKeyDialog", "HotKeyRightLanguageRadio", kSkinRadio},
        {"HotKeyDialog", "HotKeyLanguageSelector", kSkinButton},
    };
    for (const auto &w : wanted) {
        const SkinObject *o = w.container ? repository.findObject(w.container)->findChild(w.name) : repository.findObject(w.name);
        ASSERT_NE(o, nullptr) << w.name;
        EXPECT_EQ(o->type(), w.type) << w.name;
    }
    const int32_t controlTypes[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 23, 24, 26, 27, 28, 29, 30, 31, 33, 35, 36, 37, 40, 42};
    for (int32_t type : controlTypes) {
        const SkinObject *o = repository.findObjectByType(type);
        ASSERT_NE(o, nullptr) << type;
        EXPECT_STREQ(o->name(), skinTypeName(type == kSkinControlBar ? kSkinToolBar : type));
    }
    ASSERT_NE(repository.sysColorTable(), nullptr);
    EXPECT_TRUE(repository.sysColorTable()->mapsSystemColors());
    const auto *scroll = static_cast<const ScrollBarDefinition *>(repository.findObjectByType(kSkinScrollBar));
    EXPECT_EQ(scroll->buttonSize(), 16);
    EXPECT_EQ(scroll->minThumbSize(), 16);
    // Every frame places its caption text with a caption-text part of kind 1.
    for (const char *frame : {"MainFrame", "Dialog", "HotKeyDialog"}) {
        const auto *caption = static_cast<const CaptionStaticDefinition *>(repository.findObject(frame)->findChild("Caption"));
        ASSERT_NE(caption, nullptr) << frame;
        EXPECT_EQ(caption->kind, CaptionStaticDefinition::kWindowText) << frame;
    }
}

TEST_F(DefaultSkin, CutsPicturesWhoseKeyColourShapeMatchesTheFile)
{
    const auto *frame = static_cast<const FrameWndDefinition *>(repository.findObject("MainFrame"));
    const SkinResolvedPicture &corner = frame->resolved[kPieceTopLeft];
    ASSERT_TRUE(corner.isResolved());
    EXPECT_EQ(corner.width, 40);
    EXPECT_EQ(corner.height, 28);
    const SkinColor key = repository.application()->skinKeyColor();
    const Bytes bmp = readFileBytes(defaultSkinPath("pictures/frame_active.bmp"));
    std::vector<SkinRect> expected;
    for (int32_t row = 0; row < 28; ++row) {
        for (int32_t x = 0; x < 40;) {
            while (x < 40 && filePixel(bmp, x, row) == key) ++x;
            const int32_t start = x;
            while (x < 40 && filePixel(bmp, x, row) != key) ++x;
            if (x > start) expected.push_back(makeSkinRect(start, row, x, row + 1));
        }
    }
    const std::vector<SkinRect> runs = keyColorRuns(*corner.cutOut, key);
    EXPECT_EQ(runs, expected);
    ASSERT_FALSE(runs.empty());
    EXPECT_GT(runs.front().left, 0);  // the rounded corner is cut away
    const SkinResolvedPicture &inactive = frame->resolved[kPieceTopLeft + kInactivePictures];
    ASSERT_TRUE(inactive.isResolved());
    EXPECT_EQ(keyColorRuns(*inactive.cutOut, key), expected);  // both frames share their shape
}

}  // namespace
