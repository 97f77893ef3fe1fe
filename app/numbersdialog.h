// The numbers dialog: a number typed in digits, written out in words in one of the
// languages of the installed conjugation modules. Modeless, made once by the main view;
// closing it only hides it.
#pragma once
#include "framework/fwdialog.h"
#include "framework/fwwindow.h"

class LXDataManager;

enum NumbersControl {
    kNumbersDialog = 1100,
    kNumberInput = 1101,
    kNumberWords = 1102,
    kNumberLanguage = 1103,
    kNumberInstructions = 1660,
};
constexpr int kMaxNumberDigits = 24;

// An edit that takes only digits and Backspace; Ctrl+V pastes (the paste is not filtered:
// the reader keeps the digits of what it finds).
class CDigitEdit : public FwWindow {
protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class CNumbersDialog : public FwDialog {
public:
    CNumbersDialog(int language, LXDataManager* dm);
    ~CNumbersDialog() override;
    bool create() { return createModeless(nullptr); }
    void show();
    // Languages and instructions again (interface language or modules changed).
    void refresh();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onClose() override;

private:
    void translate();

    int language_;
    LXDataManager* dm_;
    CDigitEdit digits_;
};
