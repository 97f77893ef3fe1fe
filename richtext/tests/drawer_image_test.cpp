// Images in rich text under Wine: bitmaps and icons from the test program's resources, a
// file and handles, cells of an image grid and of an image list, their sizes, transparent
// colour, styles and shadows. grid.bmp is 8 x 6: four 4 x 3 cells (dark red, green, blue,
// yellow), each with a magenta pixel at its top-left; mark.ico is 16 x 16 with a green
// 8 x 8 square in the middle, the rest transparent.
#include <gtest/gtest.h>

#include <string>

#include "drawer_canvas.h"
#include "rich_text_drawer.h"
#include "test_resources.h"

namespace {

constexpr COLORREF kCell[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(240, 200, 0)};
constexpr COLORREF kMark = RGB(0, 128, 64);
constexpr COLORREF kPaper = RGB(255, 255, 255);

std::wstring number(const void* handle) { return std::to_wstring(reinterpret_cast<uintptr_t>(handle)); }

// The images' folder in the build tree, as a path Wine opens.
std::wstring imagesFolder() {
    std::wstring path = L"Z:" WORDMERE_TEST_IMAGES_W;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

class ImageTest : public ::testing::Test {
protected:
    Canvas canvas{120, 80};
    RichTextDrawer drawer;
    SIZE measured{};

    SIZE draw(const std::wstring& text) {
        measured = drawer.measure(canvas, text.c_str());
        return drawer.draw(canvas, text.c_str(), RECT{0, 0, 120, 80});
    }
    SIZE measure(const std::wstring& text) { return drawer.measure(canvas, text.c_str()); }
};

TEST_F(ImageTest, BitmapFromTheResourceModuleWithItsKeyColour) {
    draw(L"<bmp idres=101>");
    EXPECT_EQ(measured.cx, 8 + 2);
    EXPECT_EQ(measured.cy, 6 + 2);
    EXPECT_EQ(canvas.at(0, 0), kPaper);  // magenta is transparent
    EXPECT_EQ(canvas.at(1, 0), kCell[0]);
    EXPECT_EQ(canvas.at(4, 0), kPaper);
    EXPECT_EQ(canvas.at(5, 1), kCell[1]);
    EXPECT_EQ(canvas.at(3, 5), kCell[2]);
    EXPECT_EQ(canvas.at(7, 5), kCell[3]);
    EXPECT_EQ(canvas.at(8, 2), kPaper);
    // Another transparent colour: then the magenta shows and the red does not.
    canvas.clear(kPaper);
    draw(L"<bmp idres=101 mask=#c80000>");
    EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 255));
    EXPECT_EQ(canvas.at(1, 0), kPaper);
}

TEST_F(ImageTest, SizesScaleOrSetPixels) {
    EXPECT_EQ(measure(L"<bmp idres=101 width=200% height=50%>").cx, 16 + 2);
    EXPECT_EQ(measure(L"<bmp idres=101 width=200% height=50%>").cy, 3 + 2);
    EXPECT_EQ(measure(L"<bmp idres=101 width=20 height=10>").cx, 20 + 2);
    EXPECT_EQ(measure(L"<bmp idres=101 width=99999>").cx, 2048 + 2);
    // Text and an image on one line: the image stands on the baseline.
    const RunMetrics x = measureRun(canvas, FontSpec{}, L"x");
    EXPECT_EQ(measure(L"x<bmp idres=101 height=30>").cy, 30 + x.descent + 2);
    EXPECT_EQ(measure(L"x<bmp idres=101 height=30>").cx, x.extent.cx + 8 + 2);
}

TEST_F(ImageTest, StylesAndShadows) {
    draw(L"<bmp idres=101 style=g>");
    EXPECT_EQ(canvas.at(1, 0), DrawingHelpers::greyOf(kCell[0]));
    canvas.clear(kPaper);
    draw(L"<bmp idres=101 style=l>");
    EXPECT_EQ(canvas.at(1, 0), DrawingHelpers::lighten(kCell[0], 0.25));
    // A shadow adds its offset to the image's size and darkens the paper beside it.
    canvas.clear(kPaper);
    draw(L"<bmp idres=101 style=s>");
    EXPECT_EQ(measured.cx, 8 + 4 + 2);
    EXPECT_EQ(measured.cy, 6 + 4 + 2);
    // The soft shadow's shape is the image shrunk by the 7-pixel blur: an image 6 high has
    // none left; at twice the size the shadow shows beside it.
    EXPECT_EQ(canvas.count(RECT{8, 0, 12, 10}, notWhite), 0);
    draw(L"<bmp idres=101 style=s width=200% height=200%>");
    EXPECT_GT(canvas.count(RECT{16, 4, 20, 16}, notWhite), 10);
    drawer.setShadow(ShadowSettings{0, 0, 7, 7, 0x7F7F7F}, true);
    EXPECT_EQ(measure(L"<bmp idres=101 style=s>").cx, 8 + 2);  // no offset: no shadow
    drawer.setShadow(ShadowSettings{}, false);
    canvas.clear(kPaper);
    draw(L"<bmp idres=101 style=s>");
    EXPECT_EQ(canvas.at(10, 7), DrawingHelpers::darken(kPaper, 128 / 255.0));  // the hard shadow
}

TEST_F(ImageTest, HotStyleWhileTheLinkIsHovered) {
    const std::wstring text = L"<a><bmp idres=101 hotstyle=g></a>";
    draw(text);
    EXPECT_EQ(canvas.at(1, 0), kCell[0]);
    ASSERT_EQ(drawer.linkAreas().size(), 1u);
    EXPECT_EQ(drawer.linkAreas()[0].rect.right, 8);
    EXPECT_TRUE(drawer.updateHover(POINT{2, 2}));
    drawer.draw(canvas, text.c_str(), RECT{0, 0, 120, 80});
    EXPECT_EQ(canvas.at(1, 0), DrawingHelpers::greyOf(kCell[0]));
}

TEST_F(ImageTest, BitmapFromAFileAndFromAHandle) {
    draw(L"<bmp file=\"" + imagesFolder() + L"\\grid.bmp\">");
    EXPECT_EQ(measured.cx, 8 + 2);
    EXPECT_EQ(canvas.at(5, 1), kCell[1]);

    DibSection own(3, 2);
    own.fill(RGB(1, 2, 3));
    canvas.clear(kPaper);
    draw(L"<bmp handle=" + number(own.handle()) + L">");
    EXPECT_EQ(measured.cx, 3 + 2);
    EXPECT_EQ(canvas.at(2, 1), RGB(1, 2, 3));
    EXPECT_NE(DrawingHelpers::bitmapSize(own.handle()).cx, 0);  // the drawer did not free it

    // Handles that name no bitmap of ours, and sources that cannot be loaded, are skipped.
    for (const std::wstring& text : {std::wstring(L"<bmp handle=12345>"), L"<bmp handle=" + number(GetStockObject(WHITE_BRUSH)) + L">",
                                     std::wstring(L"<bmp idres=999>"), std::wstring(L"<bmp file=no-such-file.bmp>"),
                                     std::wstring(L"<bmp>"), std::wstring(L"<bmp idres=70000>")})
        EXPECT_EQ(measure(text).cx, 2) << std::string(text.begin(), text.end());
}

TEST_F(ImageTest, IconsAtTheSystemIconSize) {
    const int icon = GetSystemMetrics(SM_CXICON);
    draw(L"<icon idres=102>");
    EXPECT_EQ(measured.cx, icon + 2);
    EXPECT_EQ(canvas.at(icon / 2, icon / 2), kMark);
    EXPECT_EQ(canvas.at(1, 1), kPaper);
    canvas.clear(kPaper);
    draw(L"<icon idres=102 width=50% height=50% style=g>");
    EXPECT_EQ(measured.cx, icon / 2 + 2);
    EXPECT_EQ(canvas.at(icon / 4, icon / 4), DrawingHelpers::greyOf(kMark));
    HICON system = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(measure(L"<icon handle=" + number(system) + L">").cx, icon + 2);
    EXPECT_EQ(measure(L"<icon handle=4242>").cx, 2);
}

TEST_F(ImageTest, CellsOfAnImageGrid) {
    for (int index = 0; index < 4; ++index) {
        canvas.clear(kPaper);
        draw(L"<ilst idres=101 cx=4 cy=3 index=" + std::to_wstring(index) + L">");
        EXPECT_EQ(measured.cx, 4 + 2) << index;
        EXPECT_EQ(canvas.at(0, 0), kPaper) << index;
        EXPECT_EQ(canvas.at(2, 1), kCell[index]) << index;
        EXPECT_EQ(canvas.at(4, 1), kPaper) << index;
    }
    EXPECT_EQ(measure(L"<ilst idres=101 cx=4 cy=3 index=1 width=200%>").cx, 8 + 2);
    // A cell size of 0 or less, and indexes outside the whole cells, ignore the tag.
    for (const wchar_t* text : {L"<ilst idres=101 cx=0 cy=3>", L"<ilst idres=101 cx=4 cy=0 index=1>", L"<ilst idres=101>",
                                L"<ilst idres=101 cx=-4 cy=3>", L"<ilst idres=101 cx=4 cy=3 index=4>",
                                L"<ilst idres=101 cx=3 cy=3 index=4>", L"<ilst idres=101 cx=4 cy=3 index=-1>",
                                L"<ilst idres=101 cx=9 cy=3>"})
        EXPECT_EQ(measure(text).cx, 2) << text;
}

TEST_F(ImageTest, ImagesOfTheDrawersImageList) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    ASSERT_NE(list, nullptr);
    HICON mark = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TEST_MARK), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(mark, nullptr);
    ASSERT_EQ(ImageList_AddIcon(list, mark), 0);
    EXPECT_EQ(measure(L"<ilst index=0>").cx, 2);  // no list yet
    drawer.setImageList(list);
    draw(L"<ilst index=0>");
    EXPECT_EQ(measured.cx, 16 + 2);
    EXPECT_EQ(canvas.at(8, 8), kMark);
    EXPECT_EQ(canvas.at(1, 1), kPaper);
    EXPECT_EQ(measure(L"<ilst index=1>").cx, 2);
    EXPECT_EQ(measure(L"<ilst index=0 width=200%>").cx, 32 + 2);
    // An image-list handle is taken only when it is the drawer's own list.
    EXPECT_EQ(measure(L"<ilst handle=" + number(list) + L" index=0>").cx, 16 + 2);
    HIMAGELIST other = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    drawer.setImageList(nullptr);
    EXPECT_EQ(measure(L"<ilst handle=" + number(other) + L" index=0>").cx, 2);
    ImageList_Destroy(other);
    ImageList_Destroy(list);
    DestroyIcon(mark);
}

}  // namespace
