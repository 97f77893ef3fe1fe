#include "resync_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace resync_message;

constexpr uint32_t kPageDown = 0x22, kUp = 0x26, kDelete = 0x2E, kLetterA = 0x41;

TEST(ResyncRules, KeysThatMoveTheContentPostAResynchronisation)
{
    struct Case {
        int32_t control;
        uint32_t message, key;
        ResyncAction action;
    } cases[] = {
        {kResyncListBox, kKeyDown, kPageDown, kResyncPost}, {kResyncListBox, kKeyUp, kUp, kResyncPost},
        {kResyncTreeView, kKeyDown, kDelete, kResyncPost},  {kResyncListView, kKeyUp, kPageDown, kResyncPost},
        {kResyncEdit, kKeyDown, kUp, kResyncPost},          {kResyncEdit, kKeyDown, kDelete, kResyncPost},
        // An edit pages with its caret lines, not with these keys; letters move nothing anywhere.
        {kResyncEdit, kKeyDown, kPageDown, kResyncNothing}, {kResyncListBox, kKeyDown, kLetterA, kResyncNothing},
        {kResyncEdit, kKeyUp, kLetterA, kResyncNothing},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(resyncActionFor(c.control, c.message, c.key), c.action) << c.control << " " << c.message << " " << c.key;
    }
}

TEST(ResyncRules, ScrollingResynchronisesItsOwnBarAtOnce)
{
    for (int32_t control : {kResyncListBox, kResyncTreeView, kResyncListView, kResyncEdit}) {
        EXPECT_EQ(resyncActionFor(control, kHScroll, 0), kResyncHorizontal) << control;
        EXPECT_EQ(resyncActionFor(control, kVScroll, 0), kResyncVertical) << control;
        EXPECT_EQ(resyncActionFor(control, kMouseWheel, 0), kResyncVertical) << control;
    }
    // A list view in list style scrolls sideways with the wheel.
    EXPECT_EQ(resyncActionFor(kResyncListView, kMouseWheel, 0, 0, false, true), kResyncHorizontal);
}

TEST(ResyncRules, EachControlsOwnMessages)
{
    struct Case {
        int32_t control;
        uint32_t message;
        ResyncAction action;
    } cases[] = {
        {kResyncListBox, 0x0180, kResyncPost},      // LB_ADDSTRING
        {kResyncListBox, 0x019B, kResyncPost},      // LB_SELITEMRANGE
        {kResyncListBox, 0x0184, kResyncNothing},   // LB_RESETCONTENT is not among them
        {kResyncListBox, kChar, kResyncNothing},
        {kResyncTreeView, 0x1132, kResyncPost},     // TVM_INSERTITEMW
        {kResyncTreeView, kLButtonDown, kResyncPost},
        {kResyncListBox, kLButtonDown, kResyncNothing},
        {kResyncListView, 0x104D, kResyncPost},     // LVM_INSERTITEMW
        {kResyncListView, 0x1132, kResyncNothing},  // a tree view's insert means nothing here
        {kResyncEdit, kChar, kResyncPost},          {kResyncEdit, kSetText, kResyncPost},
        {kResyncEdit, kPaste, kResyncPost},         {kResyncEdit, kUndo, kResyncPost},
        {kResyncListBox, kSetText, kResyncNothing}, {kResyncEdit, 0x0180, kResyncNothing},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(resyncActionFor(c.control, c.message, 0), c.action) << c.control << " " << std::hex << c.message;
    }
    for (int32_t control : {kResyncListBox, kResyncTreeView, kResyncListView, kResyncEdit}) {
        EXPECT_EQ(resyncActionFor(control, kLButtonDblClk, 0), kResyncPost) << control;
    }
    // A list view follows a released capture and a style change that changed something.
    EXPECT_EQ(resyncActionFor(kResyncListView, kNotify, 0, kReleasedCapture), kResyncPost);
    EXPECT_EQ(resyncActionFor(kResyncListView, kNotify, 0, -2), kResyncNothing);
    EXPECT_EQ(resyncActionFor(kResyncListView, kStyleChanged, 0, 0, true), kResyncPost);
    EXPECT_EQ(resyncActionFor(kResyncListView, kStyleChanged, 0, 0, false), kResyncNothing);
}

}  // namespace
