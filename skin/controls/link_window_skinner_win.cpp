// The link window skinner (Windows): the control's own drawing, less its window colour, over
// the skin background of its Static definition.
#ifdef _WIN32
#include <windows.h>

#include "control_paint.h"
#include "date_link_skinners.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

StaticDefinition *linkDefinition(SkinObject *definition) { return dynamic_cast<StaticDefinition *>(definition); }

}  // namespace

LinkWindowSkinner::LinkWindowSkinner(WindowSkinner *container) : ControlSkinner(kSkinLinkWnd, container) {}

void LinkWindowSkinner::paint(HDC dc)
{
    StaticDefinition *def = linkDefinition(definition_);
    if (def == nullptr)
        return;
    RECT client;
    GetClientRect(window_, &client);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    MemoryDC own(dc, client.right, client.bottom);
    if (!own.isValid())
        return;
    skinFillRect(own.dc(), client, window);
    callPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own.dc()), PRF_CLIENT);
    if (def->transparent != 0) {
        skinPaintParentBackground(window_, dc);
    } else {
        skinDrawNineGrid(def->owner(), dc, client, def->frame, def->bgColor, kSkinFill, false);
    }
    skinTransparentBlitDC(dc, 0, 0, client.right, client.bottom, own.dc(), 0, 0, client.right, client.bottom, window);
}

void LinkWindowSkinner::onPaint()
{
    if (linkDefinition(definition_) == nullptr) {
        callPrevious(WM_PAINT, 0, 0);
        return;
    }
    // The base paints into the second off-screen DC and copies the result to the window.
    ControlSkinner::onPaint();
}

LRESULT LinkWindowSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_PAINT) {
        onPaint();
        return 1;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

#endif
