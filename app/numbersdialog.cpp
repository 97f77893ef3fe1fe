#include "numbersdialog.h"
#include "dialogsupport.h"
#include "settings.h"
#include "lxnumbertranslator.h"

namespace {
enum NumbersString { kTitleString = 12500, kInstructionsString = 12510 };
constexpr wchar_t kBackspace = 8, kCtrlV = 22;
}  // namespace

LRESULT CDigitEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR) {
        wchar_t c = static_cast<wchar_t>(wp);
        if (c == kCtrlV) return SendMessageW(hwnd_, WM_PASTE, 0, 0);
        if (c != kBackspace && (c < L'0' || c > L'9')) return 0;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}

CNumbersDialog::CNumbersDialog(int language, LXDataManager* dm) : FwDialog(kNumbersDialog), language_(language), dm_(dm) {}

CNumbersDialog::~CNumbersDialog() { digits_.detach(); }

bool CNumbersDialog::onInitDialog() {
    digits_.subclass(GetDlgItem(hwnd_, kNumberInput));
    SendDlgItemMessageW(hwnd_, kNumberInput, EM_LIMITTEXT, kMaxNumberDigits, 0);
    refresh();
    return false;
}

void CNumbersDialog::refresh() {
    if (!hwnd_) return;
    SetWindowTextW(hwnd_, loadLocalizedString(kTitleString).c_str());
    setControlString(hwnd_, kNumberInstructions, kInstructionsString);
    int chosen = fillConjugationLanguages(GetDlgItem(hwnd_, kNumberLanguage), dm_, language_);
    if (chosen) language_ = chosen;
    translate();
    SetFocus(GetDlgItem(hwnd_, kNumberInput));
}

void CNumbersDialog::show() { showModeless(hwnd_, kNumberInput); }

void CNumbersDialog::translate() {
    std::wstring input = controlText(hwnd_, kNumberInput), digits;
    for (wchar_t c : input)
        if (c >= L'0' && c <= L'9') digits += c;
    lxstring in, out;
    toEngineString(digits, in);
    toEngineString(L"", out);
    LXNumberTranslator::numberToText(in, out, static_cast<LXLanguage>(language_));
    setControlText(hwnd_, kNumberWords, fromEngineString(out));
    fitEditScrollBar(GetDlgItem(hwnd_, kNumberWords));
}

bool CNumbersDialog::onCommand(int id, int code, HWND control) {
    switch (id) {
    case kNumberInput:
        if (code == EN_CHANGE) translate();
        return true;
    case kNumberLanguage:
        if (code == CBN_SELCHANGE) {
            language_ = static_cast<int>(selectedComboCode(control, language_));
            translate();
        }
        return true;
    case IDOK:
        return true;
    case IDCANCEL:
        ShowWindow(hwnd_, SW_HIDE);
        return true;
    }
    return false;
}

bool CNumbersDialog::onClose() {
    ShowWindow(hwnd_, SW_HIDE);
    return true;
}
