#include "fwdialog.h"

namespace {
const wchar_t kDialogProp[] = L"FwDialogObject";
}

FwDialog::~FwDialog() {
    HWND window = hwnd_;
    if (!window) return;
    // Unbound first: the destruction below must not reach this half-destroyed object.
    RemovePropW(window, kDialogProp);
    hwnd_ = nullptr;
    if (!modal_ && IsWindow(window)) DestroyWindow(window);
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

void FwDialog::setResult(LRESULT result) {
    if (hwnd_) SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
}

void FwDialog::endDialog(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

INT_PTR FwDialog::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (!dispatchTyped(msg, wp, lp, result)) return handleMessage(msg, wp, lp);
    // A dialog procedure answers TRUE for a handled message; the message's own answer
    // (a notification's, a cursor's) goes through DWLP_MSGRESULT.
    if (msg == WM_NOTIFY || msg == WM_SETCURSOR || msg == WM_GETDLGCODE) setResult(result);
    return TRUE;
}

INT_PTR CALLBACK FwDialog::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<FwDialog*>(GetPropW(hwnd, kDialogProp));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<FwDialog*>(lp);
        if (!self) return FALSE;
        SetPropW(hwnd, kDialogProp, self);
        self->hwnd_ = hwnd;
        return self->onInitDialog() ? TRUE : FALSE;
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kDialogProp);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return self->dispatch(msg, wp, lp);
}
