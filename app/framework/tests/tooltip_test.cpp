// The tooltip control over a window's controls: texts added, changed and removed, and a
// control's own subclassers untouched by the tooltip's relaying.
#include "fwsubclass.h"
#include "fwtooltip.h"
#include "fwwindow.h"
#include <gtest/gtest.h>
#include <string>

namespace {

LRESULT countingLink(HWND w, UINT msg, WPARAM wp, LPARAM lp, void* data) {
    if (msg == WM_MOUSEMOVE) ++*static_cast<int*>(data);
    return fwDefSubclassProc(w, msg, wp, lp);
}

TEST(ToolTip, TextsPerControl) {
    FwWindow owner;
    FwCreateParams p;
    p.className = L"FwToolTipTestOwner";
    p.style = WS_OVERLAPPEDWINDOW;
    p.width = 300;
    p.height = 200;
    ASSERT_TRUE(owner.create(p));
    HWND a = CreateWindowExW(0, L"BUTTON", L"A", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, owner.hwnd(), nullptr, nullptr,
                             nullptr);
    HWND b = CreateWindowExW(0, L"BUTTON", L"B", WS_CHILD | WS_VISIBLE, 0, 30, 80, 20, owner.hwnd(), nullptr, nullptr,
                             nullptr);
    int moves = 0;
    ASSERT_TRUE(fwAddSubclass(a, countingLink, &moves));

    FwToolTip tips;
    EXPECT_FALSE(tips.setText(a, L"before creation"));
    ASSERT_TRUE(tips.create(owner.hwnd()));
    EXPECT_TRUE(tips.setText(a, L"First control"));
    EXPECT_TRUE(tips.setText(b, L"Second \u00E9l\u00E9ment"));
    EXPECT_EQ(tips.toolCount(), 2);
    EXPECT_EQ(tips.text(a), L"First control");
    EXPECT_EQ(tips.text(b), L"Second \u00E9l\u00E9ment");

    EXPECT_TRUE(tips.setText(a, L"Changed"));  // a second text replaces the first
    EXPECT_EQ(tips.toolCount(), 2);
    EXPECT_EQ(tips.text(a), L"Changed");
    EXPECT_TRUE(tips.setText(b, L""));
    EXPECT_EQ(tips.toolCount(), 1);
    EXPECT_EQ(tips.text(b), L"");

    // The control's own subclass link still sees its mouse messages.
    SendMessageW(a, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(moves, 1);
    EXPECT_TRUE(fwRemoveSubclass(a, countingLink, &moves));
    tips.destroy();
    EXPECT_EQ(tips.toolCount(), 0);
    owner.destroy();
}

}  // namespace
