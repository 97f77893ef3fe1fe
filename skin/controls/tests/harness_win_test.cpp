// Under Wine: the harness dialog skinned with the default skin, as the program's dialogs are.
// Buttons, check boxes, radio buttons, group boxes and statics get their skinners from the
// factory; the space bar and clicks give exactly one command, a drag out of the button none;
// auto check boxes and radio groups check as the platform's do, arrow keys included; a
// disabled button takes no real click; each push look shows the skin picture's own colours at
// probe points computed from the picture's layout. The screenshot is kept as an artifact.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "control_factory.h"
#include "harness_dialog.h"
#include "harness_fixture.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "screen_probes.h"
#include "skin_platform.h"
#include "skin_test_support.h"
#include "win_test_support.h"
#include "window_skinner.h"

namespace {

// Sends a real pointer event at a screen point.
void pointerAt(POINT screen, DWORD extra)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (w - 1);
    input.mi.dy = screen.y * 65535 / (h - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
    SendInput(1, &input, sizeof input);
    Sleep(50);
    pump();
}

POINT centreOf(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LPARAM clientPoint(int x, int y) { return MAKELPARAM(x, y); }

class Harness : public HarnessDialogTest {
protected:
    int32_t skinnedAs(int id) const
    {
        WindowSkinner *s = SkinManager::instance().findSkinner(item(id));
        return s != nullptr && GetPropW(item(id), kSkinObjectProperty) == s ? s->typeCode() : 0;
    }
    void key(int id, WPARAM vk)
    {
        SendMessageW(item(id), WM_KEYDOWN, vk, 0);
        SendMessageW(item(id), WM_KEYUP, vk, 0xC0000000);
        pump();
    }
    void click(int id, int x = 5, int y = 5)
    {
        SendMessageW(item(id), WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(x, y));
        SendMessageW(item(id), WM_LBUTTONUP, 0, clientPoint(x, y));
        pump();
    }
    UINT checked(int id) const { return IsDlgButtonChecked(dialog_, id); }
};

TEST_F(Harness, ButtonFamilyAndStaticsGetTheirSkinners)
{
    struct {
        int id;
        int32_t type;
    } expected[] = {{kHarnessPush, kSkinButton},     {kHarnessDefaultPush, kSkinButton}, {kHarnessDisabledPush, kSkinButton},
                    {kHarnessCheck, kSkinCheckBox},  {kHarnessThreeState, kSkinCheckBox}, {kHarnessRadio1, kSkinRadio},
                    {kHarnessOtherRadio, kSkinRadio}, {kHarnessGroup, kSkinGroupBox},     {kHarnessStatic, kSkinStatic}};
    for (const auto &e : expected) {
        EXPECT_EQ(skinnedAs(e.id), e.type) << e.id;
    }
    saveShot(dialog_, "harness.bmp");
}

TEST_F(Harness, SpaceBarAndClicksGiveExactlyOneCommand)
{
    SetFocus(item(kHarnessPush));
    key(kHarnessPush, VK_SPACE);
    EXPECT_EQ(log_.commandCount(kHarnessPush), 1);
    click(kHarnessPush);
    EXPECT_EQ(log_.commandCount(kHarnessPush), 2);
    // Pressed, dragged out and released outside: no command.
    SendMessageW(item(kHarnessPush), WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(5, 5));
    SendMessageW(item(kHarnessPush), WM_MOUSEMOVE, MK_LBUTTON, clientPoint(300, 5));
    SendMessageW(item(kHarnessPush), WM_LBUTTONUP, 0, clientPoint(300, 5));
    pump();
    EXPECT_EQ(log_.commandCount(kHarnessPush), 2);

    // A check box toggles once per space bar press, with one command each time.
    ASSERT_EQ(checked(kHarnessCheck), BST_UNCHECKED);
    SetFocus(item(kHarnessCheck));
    key(kHarnessCheck, VK_SPACE);
    EXPECT_EQ(checked(kHarnessCheck), BST_CHECKED);
    EXPECT_EQ(log_.commandCount(kHarnessCheck), 1);
    SendMessageW(item(kHarnessCheck), WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(5, 5));
    SendMessageW(item(kHarnessCheck), WM_MOUSEMOVE, MK_LBUTTON, clientPoint(-40, 5));
    SendMessageW(item(kHarnessCheck), WM_LBUTTONUP, 0, clientPoint(-40, 5));
    pump();
    EXPECT_EQ(checked(kHarnessCheck), BST_CHECKED);
    EXPECT_EQ(log_.commandCount(kHarnessCheck), 1);
}

TEST_F(Harness, AutoCheckBoxesAndRadioGroupsCheckAsThePlatformsDo)
{
    const UINT cycle[] = {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED};
    for (UINT want : cycle) {
        click(kHarnessThreeState);
        EXPECT_EQ(checked(kHarnessThreeState), want);
    }
    ASSERT_EQ(checked(kHarnessRadio1), BST_CHECKED);
    click(kHarnessRadio2);
    EXPECT_EQ(checked(kHarnessRadio1), BST_UNCHECKED);
    EXPECT_EQ(checked(kHarnessRadio2), BST_CHECKED);
    EXPECT_EQ(checked(kHarnessRadio3), BST_UNCHECKED);
    EXPECT_EQ(checked(kHarnessOtherRadio), BST_CHECKED) << "the next group is left alone";
    EXPECT_EQ(log_.commandCount(kHarnessRadio2), 1);

    // The dialog manager's arrow keys move within the group and check the radio reached.
    ASSERT_EQ(GetFocus(), item(kHarnessRadio2));
    MSG down{item(kHarnessRadio2), WM_KEYDOWN, VK_DOWN, 0};
    EXPECT_TRUE(IsDialogMessageW(dialog_, &down));
    pump();
    EXPECT_EQ(GetFocus(), item(kHarnessRadio3));
    EXPECT_EQ(checked(kHarnessRadio3), BST_CHECKED);
    EXPECT_EQ(checked(kHarnessRadio2), BST_UNCHECKED);
    EXPECT_EQ(checked(kHarnessOtherRadio), BST_CHECKED);
}

TEST_F(Harness, PushLooksInTheSkinsColoursAndDisabledTakesNoClick)
{
    const Bytes picture = readFileBytes(defaultSkinPath("pictures/button.bmp"));
    ASSERT_GT(picture.size(), 54u) << "the default skin's button picture is missing";
    // Looks are 60 x 22 rows of the picture (normal, pressed, default, focused, hover,
    // disabled); the buttons are 22 pixels high, so rows map one to one, and the probe at
    // x 30 of the button's middle lies in the stretched centre of the look.
    const int kLookHeight = 22;
    HWND push = item(kHarnessPush);
    RECT client;
    GetClientRect(push, &client);
    ASSERT_EQ(client.bottom, kLookHeight);
    auto lookColor = [&](int look) { return filePixel(picture, 30, look * kLookHeight + kLookHeight / 2); };
    auto shown = [&](HWND w) {
        UpdateWindow(w);
        HDC dc = GetDC(w);
        const COLORREF c = GetPixel(dc, 6, kLookHeight / 2);
        ReleaseDC(w, dc);
        return c;
    };
    SetFocus(item(kHarnessEdit));
    pump();
    EXPECT_EQ(shown(push), lookColor(0)) << "normal";
    EXPECT_EQ(shown(item(kHarnessDisabledPush)), lookColor(5)) << "disabled";
    // The default button's border is the default look's (probe on its left edge).
    UpdateWindow(item(kHarnessDefaultPush));
    HDC dc = GetDC(item(kHarnessDefaultPush));
    EXPECT_EQ(GetPixel(dc, 0, kLookHeight / 2), filePixel(picture, 0, 2 * kLookHeight + kLookHeight / 2)) << "default";
    ReleaseDC(item(kHarnessDefaultPush), dc);

    pointerAt(centreOf(push), 0);
    EXPECT_EQ(shown(push), lookColor(4)) << "hover after a pointer move";
    SendMessageW(push, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(6, 11));
    EXPECT_EQ(shown(push), lookColor(1)) << "pressed while held";
    saveShot(dialog_, "harness-pressed.bmp");
    SendMessageW(push, WM_LBUTTONUP, 0, clientPoint(6, 11));
    pump();
    EXPECT_EQ(shown(push), lookColor(4)) << "hover again after the click";
    // The leave notification comes from the system's own watch of the pointer: wait for it.
    pointerAt(POINT{5, 5}, 0);
    for (int i = 0; i < 100 && shown(push) != lookColor(3); ++i) {
        Sleep(100);
        pump();
    }
    EXPECT_EQ(shown(push), lookColor(3)) << "focused once the pointer left";

    // A real click on the disabled button reaches no skinner and gives no command.
    const int before = log_.commandCount(kHarnessDisabledPush);
    pointerAt(centreOf(item(kHarnessDisabledPush)), MOUSEEVENTF_LEFTDOWN);
    pointerAt(centreOf(item(kHarnessDisabledPush)), MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(log_.commandCount(kHarnessDisabledPush), before);
    EXPECT_EQ(shown(item(kHarnessDisabledPush)), lookColor(5));
}

}  // namespace

TEST_F(Harness, ScrolledControlsGetTheirSkinnersAndBarsOnlyWhereTheyFollow)
{
    struct {
        int id;
        int32_t type;
    } expected[] = {{kHarnessEdit, kSkinRichEdit}, {kHarnessRichEdit, kSkinRichEdit}, {kHarnessList, kSkinListBox},
                    {kHarnessListView, kSkinListView}, {kHarnessTreeView, kSkinTreeView},
                    {kHarnessIPAddress, kSkinScrollControl}};
    pump();
    // On a platform class without interception the controls keep the system's bars, which
    // follow them; skinned ones would never be told of their scrolling.
    bool skinnedBars = skinPlatformHasSkinnedScrollBars(skinEnginePlatformClass());
    for (const auto &e : expected) {
        EXPECT_EQ(skinnedAs(e.id), e.type) << e.id;
        EXPECT_EQ(GetPropW(item(e.id), L"SkinSBSubclassPtr") != nullptr, skinnedBars) << e.id;
    }
    // The parent hands an edit's colour question to the edit's skinner: the definition's colours.
    HDC dc = GetDC(item(kHarnessEdit));
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item(kHarnessEdit))));
    EXPECT_EQ(GetTextColor(dc), RGB(0x1E, 0x2A, 0x36));
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, RGB(0xFF, 0xFF, 0xFF));
    ReleaseDC(item(kHarnessEdit), dc);
    saveShot(dialog_, "harness-scrolled.bmp");
}

namespace {

// Whether the window has a region, and whether it holds the point.
struct Shape {
    bool shaped;
    bool holds;
};
Shape shapeAt(HWND w, int x, int y)
{
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(w, r);
    const Shape s{kind != ERROR, kind != ERROR && PtInRegion(r, x, y) != FALSE};
    DeleteObject(r);
    return s;
}

}  // namespace

TEST_F(Harness, PushLooksShapeButtonsByTheKeyColourOfTheirPicture)
{
    const Bytes picture = readFileBytes(defaultSkinPath("pictures/button.bmp"));
    ASSERT_GT(picture.size(), 54u) << "the default skin's button picture is missing";
    const SkinColor key = RGB(0xFF, 0x00, 0xFF);
    // The normal look is the 60 x 22 picture at the top with 4-pixel corners, drawn unscaled in
    // the button's corners: each corner pixel is in the shape exactly when the picture's is no key.
    auto expectCornersFollowThePicture = [&](HWND w, const char *what) {
        RECT c;
        GetClientRect(w, &c);
        int keyed = 0;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool topLeft = filePixel(picture, x, y) != key, bottomRight = filePixel(picture, 59 - x, 21 - y) != key;
                keyed += !topLeft + !bottomRight;
                EXPECT_EQ(shapeAt(w, x, y).holds, topLeft) << what << " " << x << "," << y;
                EXPECT_EQ(shapeAt(w, c.right - 1 - x, c.bottom - 1 - y).holds, bottomRight) << what << " " << x << "," << y;
            }
        }
        EXPECT_GT(keyed, 0) << "the look has keyed corners";
        EXPECT_TRUE(shapeAt(w, c.right / 2, c.bottom / 2).holds) << what;
    };
    HWND push = item(kHarnessPush);
    ASSERT_TRUE(shapeAt(push, 0, 0).shaped);
    expectCornersFollowThePicture(push, "push button");

    // Wider, the shape follows the new size.
    RECT c;
    GetClientRect(push, &c);
    SetWindowPos(push, nullptr, 0, 0, c.right + 40, c.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
    expectCornersFollowThePicture(push, "widened push button");

    // A check box is shaped only while it is push-like.
    HWND check = item(kHarnessCheck);
    EXPECT_FALSE(shapeAt(check, 0, 0).shaped);
    SetWindowLongW(check, GWL_STYLE, GetWindowLongW(check, GWL_STYLE) | BS_PUSHLIKE);
    pump();
    ASSERT_TRUE(shapeAt(check, 0, 0).shaped);
    expectCornersFollowThePicture(check, "push-like check box");
    SetWindowLongW(check, GWL_STYLE, GetWindowLongW(check, GWL_STYLE) & ~BS_PUSHLIKE);
    pump();
    EXPECT_FALSE(shapeAt(check, 0, 0).shaped);
}

TEST_F(Harness, GroupBoxShowsTheDialogsBackgroundInsideItsFrame)
{
    // The group picture's inside is the skin's key colour: the box is drawn keyed, so the
    // dialog's own background shows between its frame and the controls in it.
    const Bytes picture = readFileBytes(defaultSkinPath("pictures/group.bmp"));
    ASSERT_GT(picture.size(), 54u) << "the default skin's group picture is missing";
    const SkinColor key = RGB(0xFF, 0x00, 0xFF);
    ASSERT_EQ(filePixel(picture, 10, 10), key) << "the picture's inside is no longer keyed";
    ASSERT_NE(filePixel(picture, 10, 0), key) << "the picture's top edge";
    HWND group = item(kHarnessGroup);
    RECT box;
    GetClientRect(group, &box);
    InvalidateRect(dialog_, nullptr, TRUE);
    UpdateWindow(dialog_);
    pump();
    saveShot(dialog_, "harness-group.bmp");
    // The dialog's background left of every control, and inside the box right of its radio
    // buttons (the box is 220 x 96 at 10, 66; "Other" ends at x 210 of the dialog).
    const COLORREF dialogBackground = shownAt(dialog_, 5, 120);
    EXPECT_NE(dialogBackground, key);
    for (int y : {40, 60, 80}) {
        EXPECT_EQ(shownAt(group, 205, y), dialogBackground) << "inside the box at 205," << y;
    }
    // No key colour anywhere in the box itself (the controls in it, drawn over it, left out).
    std::vector<RECT> covered;
    for (HWND w = GetWindow(group, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, group, reinterpret_cast<POINT *>(&r), 2);
        covered.push_back(r);
    }
    UpdateWindow(group);
    HDC dc = GetDC(group);
    int keyed = 0;
    for (int y = 0; y < box.bottom; ++y) {
        for (int x = 0; x < box.right; ++x) {
            const POINT p{x, y};
            if (std::none_of(covered.begin(), covered.end(), [&](const RECT &r) { return PtInRect(&r, p) != 0; })) {
                keyed += GetPixel(dc, x, y) == key;
            }
        }
    }
    ReleaseDC(group, dc);
    EXPECT_EQ(keyed, 0) << "key-coloured pixels in the box";
    // The frame itself is drawn: the bottom edge's middle row shows the picture's line.
    EXPECT_EQ(shownAt(group, box.right / 2, box.bottom - 1), filePixel(picture, 10, 19));
}
