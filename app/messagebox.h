// The shell's own message box (dialog 2100): a text and up to three buttons whose captions
// are given; an empty caption hides its button. Results: 1 yes, 129 no, 2 cancel.
#pragma once
#include "framework/fwdialog.h"
#include <string>

enum { kMessageBoxDialog = 2100, kMessageBoxText = 2101, kMessageBoxNo = 129 };

class CYesNoMessageBox : public FwDialog {
public:
    CYesNoMessageBox(const std::wstring& yes, const std::wstring& no, const std::wstring& cancel, HWND parent,
                     bool centreOnPointer, bool topmost);
    void setText(const std::wstring& t) { text_ = t; }
    void setTitle(const std::wstring& t) { title_ = t; }
    INT_PTR runModal() { return FwDialog::runModal(parent_); }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    std::wstring yes_, no_, cancel_, text_, title_;
    HWND parent_;
    bool centre_, topmost_;
};
