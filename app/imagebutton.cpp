#include "imagebutton.h"
#include "themeapi.h"
#include <commctrl.h>
#include <vssym32.h>

int pushButtonThemeState(bool disabled, bool selected, bool hot, bool defaultButton) {
    if (disabled) return PBS_DISABLED;
    if (selected) return PBS_PRESSED;
    if (hot) return PBS_HOT;
    if (defaultButton) return PBS_DEFAULTED;
    return PBS_NORMAL;
}

RECT imageButtonPlacement(DWORD style, const RECT& rc, SIZE image) {
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x, y, ih = image.cy;
    DWORD horiz = style & BS_CENTER, vert = style & BS_VCENTER;
    if (image.cx > w || horiz == BS_LEFT)
        x = rc.left;
    else if (horiz == BS_RIGHT)
        x = rc.right - image.cx;
    else
        x = rc.left + (w - image.cx) / 2;
    if (vert == BS_TOP) {
        y = rc.top;
    } else {
        if (ih > h) ih = h;
        if (vert == BS_BOTTOM)
            y = rc.bottom - ih;
        else
            y = rc.top + (h - ih) / 2;
    }
    return RECT{x, y, x + image.cx, y + ih};
}

SIZE iconImageSize(HICON icon) {
    SIZE s{0, 0};
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii)) return s;
    BITMAP bm{};
    if (ii.hbmColor && GetObjectW(ii.hbmColor, sizeof bm, &bm)) {
        s = SIZE{bm.bmWidth, bm.bmHeight};
    } else if (ii.hbmMask && GetObjectW(ii.hbmMask, sizeof bm, &bm)) {
        s = SIZE{bm.bmWidth, bm.bmHeight / 2};
    }
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    return s;
}

bool CImageButtonWithStyle::onReflectedNotify(NMHDR& header, LRESULT& result) {
    if (header.code != static_cast<UINT>(NM_CUSTOMDRAW) || header.hwndFrom != hwnd_) return false;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(&header);
    result = CDRF_DODEFAULT;
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    CThemeApi& theme = CThemeApi::instance();
    if (!(style & (BS_BITMAP | BS_ICON)) || !theme.IsThemeActive() || !theme.IsAppThemed()) return true;
    if (cd->dwDrawStage != CDDS_PREERASE && cd->dwDrawStage != CDDS_PREPAINT) return true;

    HDC dc = cd->hdc;
    RECT rc = cd->rc;
    if (cd->dwDrawStage == CDDS_PREERASE) theme.DrawThemeParentBackground(hwnd_, dc, &rc);
    RECT content = rc;
    bool disabled = !IsWindowEnabled(hwnd_);
    if (HTHEME h = theme.OpenThemeData(hwnd_, L"BUTTON")) {
        int state = pushButtonThemeState(disabled, (cd->uItemState & CDIS_SELECTED) != 0,
                                         (cd->uItemState & CDIS_HOT) != 0, (style & 0xF) == BS_DEFPUSHBUTTON);
        theme.DrawThemeBackground(h, dc, BP_PUSHBUTTON, state, &rc, nullptr);
        theme.GetThemeBackgroundContentRect(h, dc, BP_PUSHBUTTON, state, &rc, &content);
        theme.CloseThemeData(h);
    }
    UINT flags = disabled ? DSS_DISABLED : DSS_NORMAL;
    if (style & BS_ICON) {
        HICON icon = reinterpret_cast<HICON>(SendMessageW(hwnd_, BM_GETIMAGE, IMAGE_ICON, 0));
        RECT at = imageButtonPlacement(style, content, iconImageSize(icon));
        if (icon)
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, at.left, at.top, at.right - at.left,
                       at.bottom - at.top, DST_ICON | flags);
    } else {
        HBITMAP bmp = reinterpret_cast<HBITMAP>(SendMessageW(hwnd_, BM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bm{};
        if (bmp && GetObjectW(bmp, sizeof bm, &bm)) {
            RECT at = imageButtonPlacement(style, content, SIZE{bm.bmWidth, bm.bmHeight});
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bmp), 0, at.left, at.top, at.right - at.left,
                       at.bottom - at.top, DST_BITMAP | flags);
        }
    }
    if (cd->uItemState & CDIS_FOCUS) DrawFocusRect(dc, &content);
    result = CDRF_SKIPDEFAULT;
    return true;
}
