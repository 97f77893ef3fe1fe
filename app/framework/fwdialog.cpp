#include "fwdialog.h"
#include "fwwindow.h"

namespace {
const wchar_t kDialogProp[] = L"FwDialogObject";
}

FwDialog::~FwDialog() {
    if (hwnd_ && !modal_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

INT_PTR FwDialog::runModal(HWND parent) {
    modal_ = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                           &FwDialog::dialogProc, reinterpret_cast<LPARAM>(this));
}

bool FwDialog::createModeless(HWND parent) {
    modal_ = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                              &FwDialog::dialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool FwDialog::onCommand(int id, int, HWND) {
    if (id == IDOK || id == IDCANCEL) {
        endDialog(id);
        return true;
    }
    return false;
}

void FwDialog::endDialog(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

INT_PTR CALLBACK FwDialog::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<FwDialog*>(GetPropW(hwnd, kDialogProp));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<FwDialog*>(lp);
        SetPropW(hwnd, kDialogProp, self);
        self->hwnd_ = hwnd;
        return self->onInitDialog() ? TRUE : FALSE;
    }
    if (!self) return FALSE;
    INT_PTR r = FALSE;
    switch (msg) {
    case WM_COMMAND: {
        LRESULT reflected = 0;
        if (fwReflectNotification(msg, wp, lp, reflected)) return TRUE;
        r = self->onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
        break;
    }
    case WM_NCDESTROY:
        RemovePropW(hwnd, kDialogProp);
        self->hwnd_ = nullptr;
        return FALSE;
    default:
        r = self->handleMessage(msg, wp, lp);
    }
    return r;
}
