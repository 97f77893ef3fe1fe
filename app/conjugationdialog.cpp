#include "conjugationdialog.h"
#include "dialogsupport.h"
#include "settings.h"
#include "themeapi.h"
#include "lxconjugationrecords.h"
#include "search/lxdatamanager.h"

namespace {
enum ConjugationString { kTitleString = 12620, kGoString = 16150, kUnknownVerbString = 12630 };
// What the conjugation text shows of each form: the persons' pronouns and the forms.
constexpr uint32_t kDisplayOptions = 9;
// Tab stops of the two texts, in dialog units.
constexpr int kConjugationTabStop = 56, kDetailsTabStop = 24;
// Languages whose verbs are explained in the help manual instead: Norwegian, Latin and
// Esperanto open their verb-model pages.
constexpr int kFirstHelpLanguage = LXNorwegian, kLastHelpLanguage = LXEsperanto, kFirstModelsTopic = 9542;
}  // namespace

// ----- the verb box ----------------------------------------------------------------------

LRESULT CVerbEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    bool shown = keys_ && keys_->suggestionsShown();
    switch (msg) {
    case WM_GETDLGCODE:
        if (shown) return FwWindow::handleMessage(msg, wp, lp) | DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
        if (!shown) break;
        switch (wp) {
        case VK_RETURN:
            keys_->takeSuggestion(false, false);
            return 0;
        case VK_TAB:
            keys_->takeSuggestion(true, GetKeyState(VK_SHIFT) < 0);
            return 0;
        case VK_ESCAPE:
            keys_->clearSuggestionSelection();
            return 0;
        case VK_UP:
            keys_->moveSuggestion(-1);
            return 0;
        case VK_DOWN:
            keys_->moveSuggestion(1);
            return 0;
        }
        break;
    case WM_CHAR:
        // The characters of the keys above (handled at key-down) would only beep.
        if (wp == L'\r' || wp == L'\t' || wp == 27) return 0;
        break;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}

bool CVerbEdit::onKillFocus(HWND next) {
    if (keys_) keys_->verbBoxLeft(next);
    return false;
}

// ----- the dialog ------------------------------------------------------------------------

CConjugationDialog::CConjugationDialog(int language, LXDataManager* dm)
    : FwDialog(kConjugationDialog), language_(language), dm_(dm) {}

CConjugationDialog::~CConjugationDialog() { verb_.detach(); }

bool CConjugationDialog::onInitDialog() {
    verb_.subclass(GetDlgItem(hwnd_, kVerbInput));
    verb_.setKeys(this);
    int conjugationStop = kConjugationTabStop, detailsStop = kDetailsTabStop;
    SendDlgItemMessageW(hwnd_, kConjugationText, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&conjugationStop));
    SendDlgItemMessageW(hwnd_, kVerbDetails, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&detailsStop));
    refresh();
    SetFocus(GetDlgItem(hwnd_, kVerbInput));
    return false;
}

void CConjugationDialog::refresh() {
    if (!hwnd_) return;
    SetWindowTextW(hwnd_, loadLocalizedString(kTitleString).c_str());
    setControlString(hwnd_, IDOK, kGoString);
    int chosen = fillConjugationLanguages(GetDlgItem(hwnd_, kVerbLanguage), dm_, language_);
    if (chosen) language_ = chosen;
}

void CConjugationDialog::show() { showModeless(hwnd_, kVerbInput); }

void CConjugationDialog::setLanguage(int code) {
    if (!hwnd_) return;
    HWND combo = GetDlgItem(hwnd_, kVerbLanguage);
    if (selectComboCode(combo, code))
        language_ = code;
    else
        selectComboCode(combo, language_);
}

void CConjugationDialog::setVerb(const std::wstring& text) {
    if (!hwnd_) return;
    settingVerb_ = true;
    setControlText(hwnd_, kVerbInput, text);
    settingVerb_ = false;
    showSuggestions(false);
    conjugate();
}

bool CConjugationDialog::suggestionsShown() const {
    return hwnd_ && IsWindowVisible(GetDlgItem(hwnd_, kSuggestionList));
}

void CConjugationDialog::showSuggestions(bool on) {
    HWND list = GetDlgItem(hwnd_, kSuggestionList), text = GetDlgItem(hwnd_, kConjugationText);
    if (on == (IsWindowVisible(list) != 0)) return;
    if (on) {
        // The list lies over the conjugation text, which must not paint over it meanwhile.
        SendMessageW(text, WM_SETREDRAW, FALSE, 0);
        SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    } else {
        ShowWindow(list, SW_HIDE);
        SendMessageW(text, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void CConjugationDialog::verbChanged() {
    if (settingVerb_) return;
    std::wstring text = controlText(hwnd_, kVerbInput);
    HWND list = GetDlgItem(hwnd_, kSuggestionList);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    if (text.empty() || !dm_) {
        showSuggestions(false);
        return;
    }
    lxstring typed;
    toEngineString(text, typed);
    LXList<lxstring> verbs;
    dm_->getMatchingVerbs(static_cast<LXLanguage>(language_), typed, verbs, true, kMaxSuggestions);
    for (auto it = verbs.begin(); !it.isAtEnd(); ++it)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fromEngineString(*it).c_str()));
    showSuggestions(SendMessageW(list, LB_GETCOUNT, 0, 0) > 0);
}

void CConjugationDialog::takeSuggestion(bool tab, bool backwards) {
    HWND list = GetDlgItem(hwnd_, kSuggestionList);
    LRESULT at = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (at != LB_ERR) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(at), 0);
        std::wstring verb(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&verb[0]));
        verb.resize(static_cast<size_t>(length > 0 ? length : 0));
        setVerb(verb);
    } else {
        showSuggestions(false);
        conjugate();
    }
    SendDlgItemMessageW(hwnd_, kVerbInput, EM_SETSEL, 0, -1);
    if (tab) SetFocus(GetDlgItem(hwnd_, backwards ? IDOK : kVerbLanguage));
}

void CConjugationDialog::moveSuggestion(int delta) {
    HWND list = GetDlgItem(hwnd_, kSuggestionList);
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int at = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    if (count <= 0 || (at < 0 && delta < 0)) return;
    int next = at < 0 ? 0 : at + delta;
    if (next < 0) next = 0;
    if (next >= count) next = count - 1;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
}

void CConjugationDialog::clearSuggestionSelection() {
    SendDlgItemMessageW(hwnd_, kSuggestionList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void CConjugationDialog::verbBoxLeft(HWND next) {
    if (next != GetDlgItem(hwnd_, kSuggestionList)) showSuggestions(false);
}

void CConjugationDialog::languageChanged() {
    HWND combo = GetDlgItem(hwnd_, kVerbLanguage);
    int code = static_cast<int>(selectedComboCode(combo, language_));
    if (code >= kFirstHelpLanguage && code <= kLastHelpLanguage) {
        openHelpTopic(kFirstModelsTopic + code - kFirstHelpLanguage);
        selectComboCode(combo, language_);
        return;
    }
    language_ = code;
    tense_ = kDefaultTense;
    showSuggestions(false);
    conjugate();
}

namespace {
bool findVerb(LXDataManager* dm, int language, const std::wstring& text, LXVerb& verb) {
    if (!dm || text.empty()) return false;
    lxstring infinitive;
    toEngineString(text, infinitive);
    return dm->getVerb(static_cast<LXLanguage>(language), infinitive, verb);
}
}  // namespace

void CConjugationDialog::conjugate() {
    language_ = static_cast<int>(selectedComboCode(GetDlgItem(hwnd_, kVerbLanguage), language_));
    std::wstring text = trimmed(controlText(hwnd_, kVerbInput));
    HWND tenses = GetDlgItem(hwnd_, kTenseList);
    LXVerb verb;
    if (!findVerb(dm_, language_, text, verb)) {
        showTexts(text.empty() ? std::wstring() : loadLocalizedString(kUnknownVerbString), std::wstring());
        return;
    }
    LXLanguage language = static_cast<LXLanguage>(language_);
    SendMessageW(tenses, CB_RESETCONTENT, 0, 0);
    LXList<int> codes;
    dm_->getTenses(language, verb, codes, false);
    for (auto it = codes.begin(); !it.isAtEnd(); ++it) {
        lxstring name;
        dm_->getTenseName(language, static_cast<uint32_t>(*it), name);
        addComboEntry(tenses, fromEngineString(name), *it);
    }
    selectComboCode(tenses, tense_);
    showTense();
}

void CConjugationDialog::showTense() {
    std::wstring text = trimmed(controlText(hwnd_, kVerbInput));
    LXVerb verb;
    if (!findVerb(dm_, language_, text, verb)) return;
    LXLanguage language = static_cast<LXLanguage>(language_);
    tense_ = static_cast<int>(selectedComboCode(GetDlgItem(hwnd_, kTenseList), kDefaultTense));
    std::wstring forms;
    LXList<int> persons;
    dm_->getPersons(language, verb, static_cast<uint32_t>(tense_), persons);
    for (auto it = persons.begin(); !it.isAtEnd(); ++it) {
        lxstring line;
        dm_->getConjugationDisplayText(language, verb, kDisplayOptions, static_cast<uint32_t>(tense_),
                                       static_cast<uint32_t>(*it), line);
        forms += fromEngineString(line) + L"\r\n";
    }
    lxstring details;
    dm_->getVerbDetails(language, verb, details);
    showTexts(forms, replaceAll(replaceAll(fromEngineString(details), L"\r\n", L"\n"), L"\n", L"\r\n"));
}

void CConjugationDialog::showTexts(const std::wstring& conjugation, const std::wstring& details) {
    setControlText(hwnd_, kConjugationText, conjugation);
    setControlText(hwnd_, kVerbDetails, details);
    fitEditScrollBar(GetDlgItem(hwnd_, kConjugationText));
    fitEditScrollBar(GetDlgItem(hwnd_, kVerbDetails));
}

bool CConjugationDialog::onCommand(int id, int code, HWND control) {
    switch (id) {
    case kVerbInput:
        if (code == EN_CHANGE) verbChanged();
        return true;
    case kVerbLanguage:
        if (code == CBN_SELCHANGE) languageChanged();
        return true;
    case kTenseList:
        if (code == CBN_SELCHANGE) showTense();
        return true;
    case kSuggestionList:
        if (code == LBN_DBLCLK) takeSuggestion(false, false);
        if (code == LBN_KILLFOCUS && GetFocus() != verb_.hwnd()) showSuggestions(false);
        return true;
    case IDOK:
        if (suggestionsShown())
            takeSuggestion(false, false);
        else
            conjugate();
        return true;
    case IDCANCEL:
        showSuggestions(false);
        ShowWindow(hwnd_, SW_HIDE);
        return true;
    }
    return false;
}

bool CConjugationDialog::onClose() {
    showSuggestions(false);
    ShowWindow(hwnd_, SW_HIDE);
    return true;
}
