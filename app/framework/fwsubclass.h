// Subclassing that shares a window with other subclassers. Each link is a callback with
// its own data; a link passes a message on with fwDefSubclassProc, which calls the link
// below it and, under the lowest link, the window procedure the window had before.
//
// Removing a link takes out that link and nothing else: links above and below it keep
// their messages, and so does a subclasser that replaced the window procedure directly
// (SetWindowLongPtr) on top of ours. The window procedure is given back only when no link
// is left and ours is still the window's current procedure; otherwise our procedure stays
// in place and passes everything through until it is on top again or the window dies.
#pragma once
#include <windows.h>

using FwSubclassProc = LRESULT (*)(HWND window, UINT msg, WPARAM wp, LPARAM lp, void* data);

// Adds a link on top of the window's links; false when the window is not valid or the same
// (proc, data) link is there already.
bool fwAddSubclass(HWND window, FwSubclassProc proc, void* data);
// Removes the (proc, data) link; false when there is none. Safe from inside the link's own
// callback: the link no longer gets messages once the calls in progress return.
bool fwRemoveSubclass(HWND window, FwSubclassProc proc, void* data);
// Whether the (proc, data) link is on the window.
bool fwHasSubclass(HWND window, FwSubclassProc proc, void* data);
// Passes a message on from inside a link's callback.
LRESULT fwDefSubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
// Calls what lies below the (proc, data) link with a message of the link's own, inside a
// callback or outside any (fwDefSubclassProc outside a callback reaches only DefWindowProc).
// A link no longer there passes the message on as fwDefSubclassProc would inside a call, and
// to the window's procedure outside one.
LRESULT fwCallBelow(HWND window, FwSubclassProc proc, void* data, UINT msg, WPARAM wp, LPARAM lp);
