#include "addentriesdialog.h"
#include "dialogsupport.h"
#include "settings.h"
#include "base/lxutilities.h"
#include "search/lxdatamanager.h"

namespace {
enum AddEntriesString {
    kTitleString = 12800, kAddString = 12810, kKeywordString = 12820, kDefinitionString = 12830,
    kCancelString = 12030, kDictionariesFolderString = 8009
};
// The part of speech of a definition in a monolingual dictionary.
constexpr uint32_t kNoPartOfSpeech = 1;
}  // namespace

CAddEntriesDialog::CAddEntriesDialog(int language1, int language2, int product, LXDataManager* dm,
                                     const std::wstring& dataFolder)
    : FwDialog(kAddEntriesDialog), product_(product), dm_(dm), dataFolder_(dataFolder) {
    LXLanguage a = static_cast<LXLanguage>(language1), b = static_cast<LXLanguage>(language2);
    LXUtilities::sortLanguages(a, b);
    language1_ = a;
    language2_ = b;
}

bool CAddEntriesDialog::monolingual() const { return language1_ == language2_ || language2_ == LXSynonyms; }

void CAddEntriesDialog::fillPartsOfSpeech(int comboId, int language, int otherLanguage) {
    HWND combo = GetDlgItem(hwnd_, comboId);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (!dm_) return;
    LXList<LXPair<lxstring, uint32_t>> parts;
    dm_->getAdditionsPartsOfSpeech(parts, static_cast<LXLanguage>(language), static_cast<LXLanguage>(otherLanguage),
                                   static_cast<uint32_t>(product_));
    for (auto it = parts.begin(); !it.isAtEnd(); ++it)
        addComboEntry(combo, fromEngineString(it->first), static_cast<LPARAM>(it->second));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

bool CAddEntriesDialog::onInitDialog() {
    fillPartsOfSpeech(kAddFirstPartOfSpeech, language1_, language2_);
    if (monolingual()) {
        setControlString(hwnd_, kAddFirstLabel, kKeywordString);
        setControlString(hwnd_, kAddSecondLabel, kDefinitionString);
        ShowWindow(GetDlgItem(hwnd_, kAddSecondPartOfSpeech), SW_HIDE);
    } else {
        setControlText(hwnd_, kAddFirstLabel, languageDisplayName(language1_, 0));
        setControlText(hwnd_, kAddSecondLabel, languageDisplayName(language2_, 0));
        fillPartsOfSpeech(kAddSecondPartOfSpeech, language2_, language1_);
    }
    SetWindowTextW(hwnd_, loadLocalizedString(kTitleString).c_str());
    setControlString(hwnd_, IDOK, kAddString);
    setControlString(hwnd_, IDCANCEL, kCancelString);
    SetFocus(GetDlgItem(hwnd_, kAddFirstWord));
    return false;  // the focus is set
}

INT_PTR CAddEntriesDialog::add() {
    word1_ = trimmed(controlText(hwnd_, kAddFirstWord));
    word2_ = trimmed(controlText(hwnd_, kAddSecondWord));
    if (word1_.empty() || word2_.empty()) return kEntryNotAdded;
    if (!dm_) return kEntryRefused;
    HWND first = GetDlgItem(hwnd_, kAddFirstPartOfSpeech), second = GetDlgItem(hwnd_, kAddSecondPartOfSpeech);
    uint32_t code1 = static_cast<uint32_t>(selectedComboCode(first, kNoPartOfSpeech));
    uint32_t code2 = kNoPartOfSpeech;
    std::wstring part1 = selectedComboText(first), part2;
    if (!monolingual()) {
        code2 = static_cast<uint32_t>(selectedComboCode(second, kNoPartOfSpeech));
        part2 = selectedComboText(second);
    }
    lxstring w1, p1, w2, p2, folder;
    toEngineString(word1_, w1);
    toEngineString(part1, p1);
    toEngineString(word2_, w2);
    toEngineString(part2, p2);
    toEngineString(dataFolder_ + L"/" + loadRawString(kDictionariesFolderString), folder);
    bool added = dm_->addTerm(w1, p1, code1, w2, p2, code2, static_cast<LXLanguage>(language1_),
                              static_cast<LXLanguage>(language2_), static_cast<uint32_t>(product_), folder);
    return added ? kEntryAdded : kEntryRefused;
}

bool CAddEntriesDialog::onCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        endDialog(add());
        return true;
    }
    return FwDialog::onCommand(id, code, control);
}
