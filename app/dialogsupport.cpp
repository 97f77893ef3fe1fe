#include "dialogsupport.h"
#include "settings.h"
#include "search/lxdatamanager.h"
#include <algorithm>

std::wstring controlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return std::wstring();
    int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], length + 1)));
    return text;
}

void showModeless(HWND dialog, int focusId) {
    if (!dialog) return;
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    SetFocus(GetDlgItem(dialog, focusId));
}

void setControlText(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

void setControlString(HWND dialog, int id, int stringId) { setControlText(dialog, id, loadLocalizedString(stringId)); }

std::wstring trimmed(const std::wstring& text) {
    const wchar_t* blanks = L" \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void addComboEntry(HWND combo, const std::wstring& text, LPARAM code) {
    LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), code);
}

bool selectComboCode(HWND combo, LPARAM code) {
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        if (SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == code) {
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    SendMessageW(combo, CB_SETCURSEL, n > 0 ? 0 : static_cast<WPARAM>(-1), 0);
    return false;
}

LPARAM selectedComboCode(HWND combo, LPARAM none) {
    LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return none;
    return SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
}

std::wstring selectedComboText(HWND combo) {
    LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return std::wstring();
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::vector<int> conjugationLanguages(LXDataManager* dm) {
    std::vector<int> languages;
    if (!dm) return languages;
    LXList<LXLanguage> list;
    dm->getConjugationLanguageList(list);
    for (auto it = list.begin(); !it.isAtEnd(); ++it) {
        int code = *it;
        if (!dm->isLanguageAvailable(*it)) continue;
        if (std::find(languages.begin(), languages.end(), code) == languages.end()) languages.push_back(code);
    }
    return languages;
}

int fillConjugationLanguages(HWND combo, LXDataManager* dm, int preferred) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int code : conjugationLanguages(dm)) addComboEntry(combo, languageDisplayName(code, 0), code);
    selectComboCode(combo, preferred);
    return static_cast<int>(selectedComboCode(combo, 0));
}
