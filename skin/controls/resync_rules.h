// When a scrolled control's skinned bars are brought back in step with the control's own on
// Windows 98 and Me, where list boxes, edits, tree views and list views move their bars
// without calling the intercepted functions: after which messages a resynchronisation is
// posted, and after which one bar is resynchronised at once. Message numbers carry the
// platform's values so the rules build and are tested everywhere.
#ifndef WORDMERE_SKIN_CONTROLS_RESYNC_RULES_H
#define WORDMERE_SKIN_CONTROLS_RESYNC_RULES_H

#include <cstdint>

enum ResyncControl : int32_t { kResyncListBox, kResyncTreeView, kResyncListView, kResyncEdit };

enum ResyncAction : int32_t {
    kResyncNothing = 0,
    kResyncPost,        // post the resynchronisation message after the control handled it
    kResyncHorizontal,  // resynchronise the horizontal bar at once
    kResyncVertical,    // resynchronise the vertical bar at once
};

namespace resync_message {
constexpr uint32_t kSetText = 0x000C, kNotify = 0x004E, kStyleChanged = 0x007D;
constexpr uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kChar = 0x0102;
constexpr uint32_t kHScroll = 0x0114, kVScroll = 0x0115;
constexpr uint32_t kLButtonDown = 0x0201, kLButtonDblClk = 0x0203, kMouseWheel = 0x020A;
constexpr uint32_t kCut = 0x0300, kPaste = 0x0302, kClear = 0x0303, kUndo = 0x0304;
constexpr int32_t kReleasedCapture = -16;  // NM_RELEASEDCAPTURE
}  // namespace resync_message

// What follows the message in a control of that kind. notifyCode is the code of a WM_NOTIFY,
// styleChanged whether a WM_STYLECHANGED changed the value; listStyle is LVS_LIST for a list
// view (its wheel moves the horizontal bar).
ResyncAction resyncActionFor(int32_t control, uint32_t message, uint32_t wp, int32_t notifyCode = 0,
                             bool styleChanged = false, bool listStyle = false);

#endif
