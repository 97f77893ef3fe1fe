// Under Wine: combo boxes of the harness dialog skinned with the default skin. The combo box,
// the edit of a drop-down combo and the drop-down list get their skinners (the list's colour
// questions answered from the ListBox definition, the edit's from the ComboBox one); simple and
// owner-draw-variable combo boxes keep their own look; the drop button shows its normal, hot,
// pressed and disabled pictures, the edit area its normal, focused and disabled colours, at
// probe points computed from the skin's pictures; an owner-draw-fixed combo box shows its
// owner's drawing inside the skinned frame. A scrolled control with a client edge gets the
// skin's border image in that edge. Screenshots are kept as artifacts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "combo_skinner.h"
#include "control_factory.h"
#include "harness_dialog.h"
#include "screen_probes.h"
#include "skin_codes.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_test_support.h"
#include "win_test_support.h"
#include "wine_waits.h"
#include "window_skinner.h"

namespace {

// The default skin's ComboBox and ListBox objects (skin/default/skin.txt).
constexpr int kFrameMargin = 2;
constexpr COLORREF kBackground = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kText = RGB(0x1E, 0x2A, 0x36);
constexpr COLORREF kDisabledBackground = RGB(0xF2, 0xF2, 0xF2);
constexpr COLORREF kDisabledText = RGB(0x8A, 0x97, 0xA6);
constexpr COLORREF kFocusedBackground = RGB(0xDC, 0xE6, 0xF0);
// The drop buttons stand side by side in the "field" picture from x 20, 17 pixels each.
constexpr int kButtonPictureLeft = 20, kButtonPictureWidth = 17;
constexpr COLORREF kOwnerColor = RGB(0x20, 0xA0, 0x40);
constexpr int kDropDownId = 1901, kSimpleId = 1902, kVariableId = 1903, kFixedId = 1904;

// The parent of the owner-drawn combo box: it draws every item in one colour.
LRESULT CALLBACK ownerProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_DRAWITEM) {
        auto *item = reinterpret_cast<DRAWITEMSTRUCT *>(lp);
        HBRUSH b = CreateSolidBrush(kOwnerColor);
        FillRect(item->hDC, &item->rcItem, b);
        DeleteObject(b);
        return TRUE;
    }
    if (m == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT *>(lp)->itemHeight = 14;
        return TRUE;
    }
    return DefWindowProcW(w, m, wp, lp);
}

// Where the parts of a combo box lie, worked out here from the skin's margins.
struct Parts {
    RECT edit, button, text;
};
Parts partsOf(HWND combo)
{
    RECT c;
    GetClientRect(combo, &c);
    Parts p;
    p.edit = RECT{kFrameMargin, kFrameMargin, c.right - kFrameMargin, c.bottom - kFrameMargin};
    p.button = RECT{p.edit.right - GetSystemMetrics(SM_CYHSCROLL), p.edit.top, p.edit.right, p.edit.bottom};
    p.text = RECT{p.edit.left + 1, p.edit.top + 1, p.button.left - 2, p.edit.bottom - 1};
    return p;
}

int pixelsOf(HWND w, const RECT &r, COLORREF color)
{
    return countPixels(w, r, [color](COLORREF c) { return c == color; });
}

class SkinnedCombo : public ::testing::Test {
protected:
    void SetUp() override
    {
        skinInstallControls();
        ASSERT_TRUE(startWithDefaultSkin());
        ASSERT_EQ(skinSetDefaultDialog(L"Dialog"), 1);
        dialog_ = createHarnessDialog(GetModuleHandleW(nullptr), nullptr, 40, 40);
        ASSERT_NE(dialog_, nullptr);
        SetForegroundWindow(dialog_);
        pump();
        field_ = readFileBytes(defaultSkinPath("pictures/field.bmp"));
        ASSERT_GT(field_.size(), 54u) << "the default skin's field picture is missing";
    }
    void TearDown() override
    {
        if (dialog_ != nullptr) DestroyWindow(dialog_);
        while (skinIsStarted()) skinShutdown();
    }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    WindowSkinner *skinnerOf(HWND w) const
    {
        WindowSkinner *s = SkinManager::instance().findSkinner(w);
        return s != nullptr && GetPropW(w, kSkinObjectProperty) == s ? s : nullptr;
    }
    int32_t skinnedAs(HWND w) const
    {
        WindowSkinner *s = skinnerOf(w);
        return s ? s->typeCode() : 0;
    }
    // A combo box made now in the parent and skinned by the dialog's skinner, as its own are.
    HWND addCombo(HWND parent, int id, DWORD style, int x, int y)
    {
        HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, x, y, 120, 120, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(combo, WM_SETFONT, SendMessageW(dialog_, WM_GETFONT, 0, 0), FALSE);
        if (!(style & CBS_HASSTRINGS) && (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) {
            SendMessageW(combo, CB_ADDSTRING, 0, 1);
        } else {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second"));
        }
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        WindowSkinner *dialogSkinner = SkinManager::instance().findSkinner(dialog_);
        if (dialogSkinner != nullptr) dialogSkinner->skinChild(combo, dialogSkinner->definition());
        pump();
        return combo;
    }
    COLORREF buttonPicture(int picture) const { return filePixel(field_, kButtonPictureLeft + picture * kButtonPictureWidth + 3, 3); }

    HWND dialog_ = nullptr;
    Bytes field_;
};

TEST_F(SkinnedCombo, TheComboItsEditAndItsDropListAreSkinned)
{
    HWND list = item(kHarnessCombo);
    ASSERT_EQ(skinnedAs(list), kSkinComboBox);
    auto *combo = dynamic_cast<ComboBoxSkinner *>(skinnerOf(list));
    ASSERT_NE(combo, nullptr);
    COMBOBOXINFO info{sizeof info};
    ASSERT_TRUE(GetComboBoxInfo(list, &info));
    EXPECT_EQ(combo->dropList(), info.hwndList);
    EXPECT_EQ(skinnedAs(info.hwndList), kSkinListBox) << "the drop-down list";
    // The list's colour question reaches the combo box, which hands it to the list's skinner.
    HDC dc = GetDC(info.hwndList);
    SendMessageW(list, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(info.hwndList));
    EXPECT_EQ(GetTextColor(dc), kText);
    ReleaseDC(info.hwndList, dc);

    HWND dropDown = addCombo(dialog_, kDropDownId, CBS_DROPDOWN, 370, 340);
    EXPECT_EQ(skinnedAs(dropDown), kSkinComboBox);
    COMBOBOXINFO edit{sizeof edit};
    ASSERT_TRUE(GetComboBoxInfo(dropDown, &edit));
    EXPECT_EQ(skinnedAs(edit.hwndItem), kSkinRichEdit) << "the drop-down combo's edit";
    // The edit asks its parent, the combo box, for its colours: the ComboBox definition's.
    dc = GetDC(edit.hwndItem);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dropDown, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit.hwndItem)));
    EXPECT_EQ(GetTextColor(dc), kText);
    EXPECT_EQ(GetBkColor(dc), kBackground);
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, kBackground);
    ReleaseDC(edit.hwndItem, dc);

    EXPECT_EQ(skinnedAs(addCombo(dialog_, kSimpleId, CBS_SIMPLE, 500, 340)), 0) << "simple";
    EXPECT_EQ(skinnedAs(addCombo(dialog_, kVariableId, CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE, 500, 370)), 0)
        << "owner-draw-variable";
    saveShot(dialog_, "combo.bmp");

    // Leaving the skin takes the list's skinner off with the combo box's.
    while (skinIsStarted()) skinShutdown();
    EXPECT_EQ(SkinManager::instance().findSkinner(info.hwndList), nullptr);
    EXPECT_EQ(GetPropW(info.hwndList, kSkinObjectProperty), nullptr);
    EXPECT_EQ(GetPropW(list, kSkinObjectProperty), nullptr);
}

TEST_F(SkinnedCombo, DropButtonAndEditAreaShowEachStateInTheSkinsColours)
{
    HWND combo = item(kHarnessCombo);
    ASSERT_EQ(skinnedAs(combo), kSkinComboBox);
    const Parts p = partsOf(combo);
    const POINT buttonProbe{p.button.left + 3, p.button.top + 3};
    const POINT textProbe{p.text.right - 1, p.text.top};
    SetFocus(item(kHarnessPush));
    pump();
    EXPECT_EQ(shownAt(combo, 0, 0), filePixel(field_, 0, 0)) << "frame";
    EXPECT_EQ(shownAt(combo, p.edit.left, p.edit.top), kBackground) << "edit area";
    EXPECT_EQ(shownAt(combo, textProbe.x, textProbe.y), kBackground) << "text area without the focus";
    EXPECT_GT(pixelsOf(combo, p.text, kText), 0) << "the selection in the text colour";
    EXPECT_EQ(shownAt(combo, buttonProbe.x, buttonProbe.y), buttonPicture(0)) << "normal button";

    SetFocus(combo);
    pump();
    EXPECT_EQ(shownAt(combo, textProbe.x, textProbe.y), kFocusedBackground) << "focused";

    // A real pointer over the hot zone lights the button.
    POINT screen = buttonProbe;
    ClientToScreen(combo, &screen);
    pointerAt(screen);
    EXPECT_EQ(shownAt(combo, buttonProbe.x, buttonProbe.y), buttonPicture(1)) << "hot";
    SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(buttonProbe.x, buttonProbe.y));
    EXPECT_EQ(shownAt(combo, buttonProbe.x, buttonProbe.y), buttonPicture(2)) << "pressed";
    saveShot(dialog_, "combo-pressed.bmp");
    SendMessageW(combo, WM_LBUTTONUP, 0, MAKELPARAM(buttonProbe.x, buttonProbe.y));
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    pump();
    EXPECT_EQ(shownAt(combo, buttonProbe.x, buttonProbe.y), buttonPicture(0)) << "released";
    pointerAt(POINT{5, 5});
    EXPECT_TRUE(pumpUntil([&] { return shownAt(combo, buttonProbe.x, buttonProbe.y) == buttonPicture(0); }, 2000));

    EnableWindow(combo, FALSE);
    pump();
    EXPECT_EQ(shownAt(combo, buttonProbe.x, buttonProbe.y), buttonPicture(3)) << "disabled button";
    EXPECT_EQ(shownAt(combo, p.edit.left, p.edit.top), kDisabledBackground) << "disabled edit area";
    EXPECT_EQ(shownAt(combo, textProbe.x, textProbe.y), kDisabledBackground) << "disabled text area";
    EXPECT_GT(pixelsOf(combo, p.text, kDisabledText), 0) << "the selection in the disabled text colour";
    EXPECT_EQ(pixelsOf(combo, p.text, kText), 0);
    saveShot(dialog_, "combo-disabled.bmp");
}

TEST_F(SkinnedCombo, OwnerDrawFixedShowsTheOwnersDrawingInsideTheSkinnedFrame)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WordmereComboOwner";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 370, 330, 160, 60, dialog_, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    HWND combo = addCombo(owner, kFixedId, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 10, 10);
    auto *skinner = dynamic_cast<ComboBoxSkinner *>(skinnerOf(combo));
    ASSERT_NE(skinner, nullptr);
    EXPECT_TRUE(skinner->isOwnerDrawFixed());
    SetFocus(item(kHarnessPush));
    InvalidateRect(combo, nullptr, TRUE);
    pump();
    const Parts p = partsOf(combo);
    EXPECT_EQ(shownAt(combo, 0, 0), filePixel(field_, 0, 0)) << "frame";
    EXPECT_EQ(shownAt(combo, p.button.left + 3, p.button.top + 3), buttonPicture(0)) << "button";
    EXPECT_GT(pixelsOf(combo, p.text, kOwnerColor), 0) << "the owner's drawing";
    saveShot(dialog_, "combo-owner-drawn.bmp");
    DestroyWindow(owner);
}

TEST_F(SkinnedCombo, ScrolledControlsDrawTheSkinsBorderInTheirEdge)
{
    WindowSkinner *dialogSkinner = SkinManager::instance().findSkinner(dialog_);
    ASSERT_NE(dialogSkinner, nullptr);
    // The plain edit lies in a window of its own that nothing skins (in the dialog the
    // creation hook would skin it).
    HWND unskinned = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 200, 500, 140, 40, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(unskinned, nullptr);
    struct Gone {
        HWND w;
        ~Gone() { DestroyWindow(w); }
    } gone{unskinned};
    auto makeEdit = [&](int x, bool skinned) {
        HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"bordered", WS_CHILD | WS_VISIBLE, skinned ? x : 10,
                                    skinned ? 340 : 8, 100, 24, skinned ? dialog_ : unskinned, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        if (skinned) dialogSkinner->skinChild(edit, dialogSkinner->definition());
        pump();
        RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        pump();
        return edit;
    };
    HWND skinned = makeEdit(10, true), plain = makeEdit(0, false);
    ASSERT_EQ(skinnedAs(skinned), kSkinRichEdit);
    ASSERT_EQ(skinnedAs(plain), 0);
    ASSERT_EQ(GetSystemMetrics(SM_CXEDGE), 2) << "the probes below assume a two-pixel edge";
    auto frameAt = [](HWND w, int x, int y) {
        HDC dc = GetWindowDC(w);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(w, dc);
        return c;
    };
    // The Edit object's border is the field picture with one-pixel margins: its outline, then
    // its white inside, stretched over the window.
    const int middle = 12;
    EXPECT_EQ(frameAt(skinned, 0, middle), filePixel(field_, 0, 10)) << "outline";
    EXPECT_EQ(frameAt(skinned, 1, middle), filePixel(field_, 10, 10)) << "inside the outline";
    EXPECT_EQ(frameAt(skinned, 99, middle), filePixel(field_, 19, 10)) << "right outline";
    // The system's edge differs at the same points, so the probes tell the two apart.
    EXPECT_NE(frameAt(plain, 0, middle), filePixel(field_, 0, 10));
    saveShot(dialog_, "border.bmp");
}

}  // namespace
