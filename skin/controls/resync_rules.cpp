#include "resync_rules.h"

#include <algorithm>
#include <iterator>

namespace {

using namespace resync_message;

constexpr uint32_t kPageUp = 0x21, kPageDown = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kDown = 0x28,
                   kDelete = 0x2E;

// The list box's messages that move its items (LB_ADDSTRING ... LB_SELITEMRANGE).
constexpr uint32_t kListMessages[] = {0x0180, 0x0181, 0x0182, 0x0183, 0x0185, 0x0186,
                                      0x018C, 0x018D, 0x0194, 0x0196, 0x019B};
// TVM_DELETEITEM, TVM_EXPAND, TVM_SETINDENT, TVM_SETIMAGELIST, TVM_SELECTITEM, TVM_SORTCHILDREN,
// TVM_ENSUREVISIBLE, 0x111A, 0x111B, TVM_INSERTITEMW, TVM_SETITEMW.
constexpr uint32_t kTreeMessages[] = {0x1101, 0x1102, 0x1107, 0x1109, 0x110B, 0x1113,
                                      0x1114, 0x111A, 0x111B, 0x1132, 0x113F};
// LVM_DELETEITEM, LVM_DELETEALLITEMS, LVM_SETITEMPOSITION, LVM_ENSUREVISIBLE, 0x101C,
// LVM_SETCOLUMNWIDTH, LVM_SETICONSPACING, LVM_SETCOLUMNORDERARRAY, LVM_SETITEMW,
// LVM_INSERTITEMW, LVM_FINDITEMW, LVM_SETCOLUMNW, LVM_INSERTCOLUMNW.
constexpr uint32_t kListViewMessages[] = {0x1008, 0x1009, 0x100F, 0x1013, 0x101C, 0x101E, 0x1035,
                                          0x103A, 0x104C, 0x104D, 0x1053, 0x1060, 0x1061};
constexpr uint32_t kEditMessages[] = {kSetText, kChar, kLButtonDblClk, kCut, kPaste, kClear, kUndo};

template <size_t N>
bool among(const uint32_t (&list)[N], uint32_t message)
{
    return std::find(std::begin(list), std::end(list), message) != std::end(list);
}

bool movingKey(uint32_t key, bool withPages)
{
    if (key == kPageUp || key == kPageDown) return withPages;
    return key == kEnd || key == kHome || (key >= kLeft && key <= kDown) || key == kDelete;
}

}  // namespace

ResyncAction resyncActionFor(int32_t control, uint32_t message, uint32_t wp, int32_t notifyCode, bool styleChanged,
                             bool listStyle)
{
    if (message == kKeyDown || message == kKeyUp) {
        return movingKey(wp, control != kResyncEdit) ? kResyncPost : kResyncNothing;
    }
    if (message == kHScroll) {
        return kResyncHorizontal;
    }
    if (message == kVScroll) {
        return kResyncVertical;
    }
    if (message == kMouseWheel) {
        return control == kResyncListView && listStyle ? kResyncHorizontal : kResyncVertical;
    }
    if (message == kLButtonDblClk) {
        return kResyncPost;
    }
    switch (control) {
    case kResyncListBox:
        return among(kListMessages, message) ? kResyncPost : kResyncNothing;
    case kResyncTreeView:
        return message == kLButtonDown || among(kTreeMessages, message) ? kResyncPost : kResyncNothing;
    case kResyncListView:
        if (message == kNotify) return notifyCode == kReleasedCapture ? kResyncPost : kResyncNothing;
        if (message == kStyleChanged) return styleChanged ? kResyncPost : kResyncNothing;
        return among(kListViewMessages, message) ? kResyncPost : kResyncNothing;
    case kResyncEdit:
        return among(kEditMessages, message) ? kResyncPost : kResyncNothing;
    default:
        return kResyncNothing;
    }
}
