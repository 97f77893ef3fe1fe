// Under Wine: the control skinner base on real controls of a skinned window, with a probe
// skinner that fills the control and counts its paints. A parent that excludes one control
// keeps it in its own look; the skin's font reaches the control once and detaching gives back
// the font it had (none included), also when the skin was applied twice before the queue ran;
// controls that draw no text never get a font; a rich edit with only an Edit child in its
// container is drawn from that; entering and leaving repaint once each; a destroyed control
// leaves its container's map.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "control_factory.h"
#include "control_skinner.h"
#include "fwsubclass.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_test_support.h"
#include "win_test_support.h"

namespace {

constexpr int kExcludedId = 1002;
constexpr COLORREF kProbeColor = RGB(0x12, 0x9A, 0x56);

class ProbeSkinner : public ControlSkinner {
public:
    using ControlSkinner::ControlSkinner;
    void paint(HDC dc) override
    {
        ++paints;
        RECT r;
        GetClientRect(window_, &r);
        skinFillRect(dc, r, kProbeColor);
    }
    int paints = 0;
};

WindowSkinner *probeMaker(int32_t type, WindowSkinner *container) { return new ProbeSkinner(type, container); }

LRESULT CALLBACK parentProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_SKIN_QUERY_EXCLUDE) {
        return wp == kExcludedId ? 1 : 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

HWND makeParent()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ControlSkinnerTestParent";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        registered = true;
    }
    HWND w = CreateWindowExW(0, L"ControlSkinnerTestParent", L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    return w;
}

HWND makeChild(HWND parent, const wchar_t *cls, int id, DWORD style, int x, int y)
{
    return CreateWindowExW(0, cls, L"Text", WS_CHILD | WS_VISIBLE | style, x, y, 80, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

HFONT fontOf(HWND w) { return reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)); }

// Counts WM_SETFONT on a link below the skinner's.
struct FontCounter {
    int count = 0;
    static LRESULT proc(HWND w, UINT m, WPARAM wp, LPARAM lp, void *data)
    {
        if (m == WM_SETFONT) ++static_cast<FontCounter *>(data)->count;
        return fwDefSubclassProc(w, m, wp, lp);
    }
};

class ControlSkinnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startWithDefaultSkin());
        SkinManager::instance().setControlMaker(&probeMaker);
        skinFont_ = CreateFontW(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
        ownFont_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier");
        // The default skin's button has no font: give it one for these tests.
        button_ = static_cast<ButtonDefinition *>(SkinManager::instance().findObject("Button"));
        ASSERT_NE(button_, nullptr);
        savedFont_ = button_->font;
        savedHandle_ = button_->fontHandle;
        button_->font.hasFont = 1;
        button_->fontHandle = skinFont_;
        parent_ = makeParent();
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override
    {
        if (parent_ != nullptr) DestroyWindow(parent_);
        button_->font = savedFont_;
        button_->fontHandle = savedHandle_;
        SkinManager::instance().setControlMaker(nullptr);
        while (skinIsStarted()) skinShutdown();
        DeleteObject(skinFont_);
        DeleteObject(ownFont_);
    }
    ProbeSkinner *probe(HWND control)
    {
        return dynamic_cast<ProbeSkinner *>(SkinManager::instance().findSkinner(control));
    }

    HWND parent_ = nullptr;
    HFONT skinFont_ = nullptr, ownFont_ = nullptr;
    ButtonDefinition *button_ = nullptr;
    SkinFontRecord savedFont_{};
    SkinGdiHandle savedHandle_ = nullptr;
};

TEST_F(ControlSkinnerTest, ExcludedControlKeepsItsOwnLookWhileItsSiblingsAreSkinned)
{
    HWND kept = makeChild(parent_, L"BUTTON", kExcludedId, BS_PUSHBUTTON, 10, 10);
    HWND skinned = makeChild(parent_, L"BUTTON", 1001, BS_PUSHBUTTON, 10, 50);
    ASSERT_EQ(skinApplyToFrame(parent_, L"Dialog"), 1);
    pump();
    EXPECT_EQ(probe(kept), nullptr);
    EXPECT_EQ(GetPropW(kept, kSkinObjectProperty), nullptr);
    ASSERT_NE(probe(skinned), nullptr);
    EXPECT_EQ(GetPropW(skinned, kSkinObjectProperty), probe(skinned));

    // The probe's colour is on the screen inside the skinned button and not in the other.
    UpdateWindow(parent_);
    HDC screen = GetDC(nullptr);
    RECT a, b;
    GetWindowRect(skinned, &a);
    GetWindowRect(kept, &b);
    EXPECT_EQ(GetPixel(screen, (a.left + a.right) / 2, (a.top + a.bottom) / 2), kProbeColor);
    EXPECT_NE(GetPixel(screen, (b.left + b.right) / 2, b.top + 3), kProbeColor);
    ReleaseDC(nullptr, screen);
}

TEST_F(ControlSkinnerTest, SkinFontAppliedOnceAndTheOwnFontComesBack)
{
    HWND own = makeChild(parent_, L"BUTTON", 1001, BS_PUSHBUTTON, 10, 10);
    HWND none = makeChild(parent_, L"BUTTON", 1003, BS_PUSHBUTTON, 10, 50);
    SendMessageW(own, WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_), FALSE);
    ASSERT_EQ(fontOf(none), nullptr);
    // Applied alone: the manager gives the definition before and after attaching, so two
    // skin fonts are posted before the control reads any.
    ASSERT_EQ(skinApplyToControl(own, L"Button", nullptr), 1);
    ASSERT_EQ(skinApplyToControl(none, L"Button", nullptr), 1);
    pump();
    EXPECT_EQ(fontOf(own), skinFont_);
    EXPECT_EQ(fontOf(none), skinFont_);
    ASSERT_NE(probe(own), nullptr);
    EXPECT_EQ(probe(own)->fontKeeper().ownFont(), reinterpret_cast<uintptr_t>(ownFont_));

    EXPECT_EQ(skinDetachWindow(own), 1);
    EXPECT_EQ(skinDetachWindow(none), 1);
    pump();
    EXPECT_EQ(fontOf(own), ownFont_);
    EXPECT_EQ(fontOf(none), nullptr);
}

TEST_F(ControlSkinnerTest, DetachBeforeTheQueueRanLeavesTheOwnFont)
{
    HWND own = makeChild(parent_, L"BUTTON", 1001, BS_PUSHBUTTON, 10, 10);
    SendMessageW(own, WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_), FALSE);
    ASSERT_EQ(skinApplyToControl(own, L"Button", nullptr), 1);
    EXPECT_EQ(skinDetachWindow(own), 1);
    pump();
    EXPECT_EQ(fontOf(own), ownFont_);
}

TEST_F(ControlSkinnerTest, ControlsWithoutTextNeverGetAFont)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    struct {
        const wchar_t *cls;
        const char *object;
    } controls[] = {{PROGRESS_CLASSW, "ProgressBar"}, {L"SCROLLBAR", "ScrollBar"}, {TRACKBAR_CLASSW, "Slider"},
                    {UPDOWN_CLASSW, "Spin"}};
    for (const auto &c : controls) {
        auto *style = dynamic_cast<TextStyleObject *>(SkinManager::instance().findObject(c.object));
        ASSERT_NE(style, nullptr) << c.object;
        const SkinFontRecord font = style->font;
        const SkinGdiHandle handle = style->fontHandle;
        style->font.hasFont = 1;
        style->fontHandle = skinFont_;
        HWND w = makeChild(parent_, c.cls, 1010, 0, 10, 100);
        FontCounter counter;
        fwAddSubclass(w, &FontCounter::proc, &counter);
        std::wstring name(c.object, c.object + std::strlen(c.object));
        EXPECT_EQ(skinApplyToControl(w, name.c_str(), nullptr), 1) << c.object;
        pump();
        skinDetachWindow(w);
        pump();
        EXPECT_EQ(counter.count, 0) << c.object;
        fwRemoveSubclass(w, &FontCounter::proc, &counter);
        DestroyWindow(w);
        style->font = font;
        style->fontHandle = handle;
    }
}

TEST_F(ControlSkinnerTest, RichEditDrawnFromTheContainersEditChild)
{
    ASSERT_NE(LoadLibraryW(L"riched32.dll"), nullptr);
    SkinObject *dialog = SkinManager::instance().findObject("Dialog");
    ASSERT_NE(dialog, nullptr);
    auto edit = std::make_unique<ScrollControlDefinition>(kSkinEdit);
    edit->setName("TestRichEditAsEdit");
    edit->controlId = 1020;
    SkinObject *child = edit.get();
    ASSERT_TRUE(dialog->addChild(std::move(edit)));
    HWND rich = makeChild(parent_, L"RICHEDIT", 1020, 0, 10, 10);
    ASSERT_NE(rich, nullptr);
    ASSERT_EQ(skinApplyToFrame(parent_, L"Dialog"), 1);
    ASSERT_NE(probe(rich), nullptr);
    EXPECT_EQ(probe(rich)->typeCode(), kSkinRichEdit);
    EXPECT_EQ(probe(rich)->definition(), child);
}

TEST_F(ControlSkinnerTest, EnteringAndLeavingRepaintOnceEachAndDestroyedControlsAreForgotten)
{
    HWND button = makeChild(parent_, L"BUTTON", 1001, BS_PUSHBUTTON, 10, 10);
    ASSERT_EQ(skinApplyToFrame(parent_, L"Dialog"), 1);
    pump();
    UpdateWindow(button);
    ProbeSkinner *p = probe(button);
    ASSERT_NE(p, nullptr);
    const int before = p->paints;
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_TRUE(p->hovering());
    EXPECT_EQ(p->paints, before + 1);
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(p->hovering());
    EXPECT_EQ(p->paints, before + 2);

    WindowSkinner *container = SkinManager::instance().findSkinner(parent_);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->childMap().count(button), 1u);
    const size_t skinned = SkinManager::instance().skinnedCount();
    DestroyWindow(button);
    EXPECT_EQ(container->childMap().count(button), 0u);
    EXPECT_EQ(SkinManager::instance().skinnedCount(), skinned - 1);
}

}  // namespace
