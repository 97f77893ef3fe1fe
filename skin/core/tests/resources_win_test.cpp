// Under Wine: the skin embedded as resource GLOSSVANE/SKIN (in this test program and in
// wordmere.exe) is found and loads, and the objects' GDI resources are made from their
// definitions: fonts from the font records, regions from the pictures' key colour (checked
// pixel by pixel against the picture file), brushes from the colour table; all are freed.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "skin_test_support.h"

namespace {

Bytes resourceBytes(HMODULE module)
{
    HRSRC found = FindResourceW(module, L"SKIN", L"GLOSSVANE");
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const uint8_t *bytes = static_cast<const uint8_t *>(LockResource(loaded));
    return Bytes(bytes, bytes + SizeofResource(module, found));
}

TEST(SkinOnWindows, TheEmbeddedSkinIsFoundAndLoads)
{
    const Bytes embedded = resourceBytes(GetModuleHandleW(nullptr));
    ASSERT_FALSE(embedded.empty());
    EXPECT_EQ(embedded, readFileBytes(defaultSkinPath("skin.gvf")));
    MemoryStream stream(embedded.data(), static_cast<uint32_t>(embedded.size()), kSkinStreamGrowth);
    SkinRepository repository;
    ASSERT_TRUE(repository.loadFromStream(stream));
    EXPECT_NE(repository.findObject("MainFrame"), nullptr);
}

TEST(SkinOnWindows, TheProgramCarriesTheDefaultSkin)
{
    HMODULE program = LoadLibraryExW(L"" WORDMERE_BIN_DIR "/wordmere.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const Bytes carried = resourceBytes(program);
    FreeLibrary(program);
    EXPECT_EQ(carried, readFileBytes(defaultSkinPath("skin.gvf")));
    EXPECT_EQ(readFileBytes(WORDMERE_BIN_DIR "/skin.gvf"), carried);
}

class SkinResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str())); }

    void eachObject(const std::function<void(SkinObject &)> &visit)
    {
        std::function<void(SkinObject &)> walk = [&](SkinObject &o) {
            visit(o);
            for (auto &child : o.children()) walk(*child.second);
        };
        for (auto &entry : repository.objects()) walk(*entry.second);
    }
    SkinRepository repository;
};

TEST_F(SkinResources, FontsAreMadeFromTheFontRecords)
{
    int fonts = 0;
    eachObject([&](SkinObject &o) {
        auto *style = dynamic_cast<TextStyleObject *>(&o);
        if (style == nullptr) return;
        ASSERT_NE(style->fontHandle, nullptr) << o.name();
        LOGFONTW made;
        ASSERT_EQ(GetObjectW(style->fontHandle, sizeof made, &made), static_cast<int>(sizeof made)) << o.name();
        wchar_t face[LF_FACESIZE];
        MultiByteToWideChar(CP_ACP, 0, style->font.face, -1, face, LF_FACESIZE);
        EXPECT_STREQ(made.lfFaceName, face) << o.name();
        EXPECT_EQ(made.lfHeight, style->font.height) << o.name();
        EXPECT_EQ(made.lfWeight, style->font.weight) << o.name();
        EXPECT_EQ(made.lfQuality, style->font.quality) << o.name();
        ++fonts;
    });
    EXPECT_GE(fonts, 30);
}

TEST_F(SkinResources, RegionsFollowThePicturesKeyColour)
{
    const auto *frame = static_cast<const FrameWndDefinition *>(repository.findObject("MainFrame"));
    const Bytes active = readFileBytes(defaultSkinPath("pictures/frame_active.bmp"));
    const SkinColor key = repository.application()->skinKeyColor();
    int checked = 0;
    for (int piece = 0; piece < kPieceCount; ++piece) {
        const SkinResolvedPicture &resolved = frame->resolved[piece];
        const SkinRect &source = frame->pictures[piece].source;
        ASSERT_NE(resolved.region, nullptr) << piece;
        for (int32_t y = 0; y < source.height(); ++y) {
            for (int32_t x = 0; x < source.width(); ++x) {
                const bool opaque = filePixel(active, source.left + x, source.top + y) != key;
                ASSERT_EQ(PtInRegion(static_cast<HRGN>(resolved.region), x, y) != 0, opaque)
                    << "piece " << piece << " at " << x << "," << y;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 200 * 100);
    RECT box;
    GetRgnBox(static_cast<HRGN>(frame->resolved[kPieceTopLeft].region), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 40);
    EXPECT_FALSE(PtInRegion(static_cast<HRGN>(frame->resolved[kPieceTopLeft].region), 0, 0));
}

TEST_F(SkinResources, BrushesAreMadeFromTheColourTable)
{
    const SysColorTableDefinition *table = repository.sysColorTable();
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < SysColorTableDefinition::kSystemColors; ++i) {
        LOGBRUSH brush;
        ASSERT_EQ(GetObjectW(table->brushFor(i), sizeof brush, &brush), static_cast<int>(sizeof brush)) << i;
        EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(brush.lbColor, table->colorFor(i)) << i;
    }
    EXPECT_EQ(table->brushFor(40), table->brushFor(0));
}

TEST(SkinOnWindows, EveryGdiObjectIsFreedWithTheSkin)
{
    std::vector<HGDIOBJ> made;
    {
        SkinRepository repository;
        ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str()));
        std::function<void(SkinObject &)> walk = [&](SkinObject &o) {
            if (auto *s = dynamic_cast<TextStyleObject *>(&o)) made.push_back(s->fontHandle);
            if (auto *b = dynamic_cast<BorderedDefinition *>(&o))
                for (auto &r : b->resolved) if (r.region) made.push_back(r.region);
            if (auto *c = dynamic_cast<CaptionStaticDefinition *>(&o))
                if (c->resolvedPicture.region) made.push_back(c->resolvedPicture.region);
            if (auto *t = dynamic_cast<SysColorTableDefinition *>(&o))
                for (auto brush : t->brushes) made.push_back(brush);
            for (auto &child : o.children()) walk(*child.second);
        };
        for (auto &entry : repository.objects()) walk(*entry.second);
        for (HGDIOBJ h : made) ASSERT_NE(GetObjectType(h), 0u);
    }
    EXPECT_GT(made.size(), 100u);
    for (HGDIOBJ h : made) EXPECT_EQ(GetObjectType(h), 0u);
}

}  // namespace
