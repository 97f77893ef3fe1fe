#include "lxview.h"
#include "addentriesdialog.h"
#include "conjugationdialog.h"
#include "dialogsupport.h"
#include "numbersdialog.h"
#include "webexamplesdialog.h"
#include "oletext.h"
#include "framework/fwcom.h"
#include "capturelibrary.h"
#include "lxapp.h"
#include "options.h"
#include "resource.h"
#include "settings.h"
#include "skin_interface.h"
#include "themeapi.h"
#include "resultlist/lxlistbox.h"
#include "search/lxdatamanager.h"
#include "search/lxdmiterator.h"
#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>
#include <algorithm>

namespace {
enum {
    kSearchCombo = 1001,
    kSearchEdit = 1002,
    kGo = 1003,
    kCancel = 1004,
    kModeButton = 1005,
    kLeftLanguage = 1006,
    kDictionaryButton = 1007,
    kRightLanguage = 1008,
    kConjugation = 1009,
    kOptionsButton = 1010,
    kWildcardButton = 1011,
    kMainList = 1012,
    kReverseList = 1013,
    kProgress = 1014,
    kHotKeyLine = 1015,
    kSplitter = 998,
    kViewId = 0xE900,  // the frame's first pane, as the class library numbers it
};
// The wildcards by their place after ID_WILDCARD_FIRST.
enum Wildcard { kWildcardLineStart, kWildcardLineEnd, kWildcardQuestionMark, kWildcardStar, kWildcardPlus,
                kWildcardWordEdge, kWildcardNotWordEdge };
const wchar_t* const kWildcardTexts[] = {L"^", L"$", L"?", L"*", L"+", L"\\b", L"\\B"};
// The product a list is emptied with: no module has it.
constexpr uint32_t kNoProduct = 1;
constexpr UINT_PTR kWaitTimer = 3;
constexpr UINT kWaitTimerMs = 250;

INT_PTR CALLBACK formProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG ? TRUE : FALSE; }

void show(HWND w, bool on) {
    if (w) ShowWindow(w, on ? SW_SHOWNA : SW_HIDE);
}
}  // namespace

// ----- small rules -------------------------------------------------------------------------

namespace {
// A dictionary command's digits: the languages in base 13, the thesaurus language as 12.
constexpr int kLanguageRadix = 13;
constexpr int kThesaurusDigit = 12;
constexpr int kProductWeight = kLanguageRadix * kLanguageRadix;
}  // namespace

int dictionaryCommandId(int language1, int language2, int product) {
    return kDictionaryCommandFirst + language1 + kLanguageRadix * (language2 == LXSynonyms ? kThesaurusDigit : language2) +
           kProductWeight * product;
}

bool decodeDictionaryCommand(int id, int& language1, int& language2, int& product) {
    if (id < kDictionaryCommandFirst || id > kDictionaryCommandLast) return false;
    int n = id - kDictionaryCommandFirst;
    language1 = n % kLanguageRadix;
    language2 = (n / kLanguageRadix) % kLanguageRadix;
    if (language2 == kThesaurusDigit) language2 = LXSynonyms;
    product = n / kProductWeight;
    return true;
}

std::wstring bareHeadword(const std::wstring& selected) {
    std::wstring word = selected.substr(0, selected.find_first_of(L"\r\n"));
    if (!word.empty() && word[0] == L'\u2192') word.erase(0, 1);
    word = word.substr(0, word.find_first_of(L"\t([{,;/"));
    size_t first = word.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::wstring();
    return word.substr(first, word.find_last_not_of(L' ') - first + 1);
}

bool differsByLastCharacter(const std::wstring& a, const std::wstring& b) {
    const std::wstring& shorter = a.size() < b.size() ? a : b;
    const std::wstring& longer = a.size() < b.size() ? b : a;
    return longer.size() == shorter.size() + 1 && longer.compare(0, shorter.size(), shorter) == 0;
}

HMENU contextMenuFor(int lang, uint32_t options) {
    int id = IDR_CONTEXT_ENGLISH;
    switch (lang) {
    case LXFrench: id = IDR_CONTEXT_FRENCH; break;
    case LXSpanish: id = IDR_CONTEXT_SPANISH; break;
    case LXGerman: id = IDR_CONTEXT_GERMAN; break;
    case LXItalian: id = IDR_CONTEXT_ITALIAN; break;
    case LXPortuguese: id = IDR_CONTEXT_PORTUGUESE; break;
    case LXDutch: id = IDR_CONTEXT_OTHER; break;
    }
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup) return menu;
    if (options & kOptFixedInterfaceLanguage) {
        // The interface-language sub-menu and the separator before it.
        for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
            if (GetSubMenu(popup, i)) {
                DeleteMenu(popup, i, MF_BYPOSITION);
                if (i > 0 && GetMenuItemID(popup, i - 1) == 0) DeleteMenu(popup, i - 1, MF_BYPOSITION);
                break;
            }
        }
    } else {
        DeleteMenu(popup, ID_LANG_ITALIAN, MF_BYCOMMAND);
        DeleteMenu(popup, ID_LANG_PORTUGUESE, MF_BYCOMMAND);
    }
    return menu;
}

int interfaceLanguageOfCommand(int id) { return (id - ID_LANG_ENGLISH) / ID_LANG_STEP + LXEnglish; }

bool sameProduct(uint32_t a, uint32_t b) {
    auto basic = [](uint32_t p) { return p == LXProductBasic || p == LXProductBasicToo; };
    return a == b || (basic(a) && basic(b));
}

int clampedMainListPercent(int stored) {
    constexpr int kUnset = 65, kLeast = 10, kMost = 90;
    if (stored == 0) return kUnset;
    return std::max(kLeast, std::min(stored, kMost));
}

// ----- drop target -------------------------------------------------------------------------

class LXViewDropTarget : public FwComObject<IDropTarget> {
public:
    explicit LXViewDropTarget(LXView* view) : FwComObject(IID_IDropTarget), view_(view) {}
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
        accepted_ = view_ && view_->dragEnter(textOf(data));
        return over(pt, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override { return over(pt, effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        if (view_) view_->dragLeave();
        accepted_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL pt, DWORD* effect) override {
        HRESULT r = over(pt, effect);
        if (accepted_ && *effect != DROPEFFECT_NONE && view_) view_->drop(POINT{pt.x, pt.y});
        else if (view_) view_->dragLeave();
        accepted_ = false;
        return r;
    }
    void detach() { view_ = nullptr; }

private:
    HRESULT over(POINTL pt, DWORD* effect) {
        bool ok = accepted_ && view_ && view_->dragOver(POINT{pt.x, pt.y});
        *effect = ok ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    static std::wstring textOf(IDataObject* data) {
        if (!data) return std::wstring();
        FORMATETC fmt{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM med{};
        std::wstring text;
        if (SUCCEEDED(data->GetData(&fmt, &med))) {
            // The block's size bounds the text, whether or not it carries its terminating null.
            text = textOfGlobal(med.hGlobal);
            ReleaseStgMedium(&med);
            return text;
        }
        fmt.cfFormat = CF_TEXT;
        if (SUCCEEDED(data->GetData(&fmt, &med))) {
            SIZE_T bytes = GlobalSize(med.hGlobal);
            if (auto* p = static_cast<const char*>(GlobalLock(med.hGlobal))) {
                size_t n = 0;
                while (n < bytes && p[n]) ++n;
                int w = MultiByteToWideChar(CP_ACP, 0, p, static_cast<int>(n), nullptr, 0);
                if (w > 0) {
                    text.resize(static_cast<size_t>(w));
                    MultiByteToWideChar(CP_ACP, 0, p, static_cast<int>(n), &text[0], w);
                }
                GlobalUnlock(med.hGlobal);
            }
            ReleaseStgMedium(&med);
        }
        return text;
    }
    LXView* view_;
    bool accepted_ = false;
};

// ----- creation ----------------------------------------------------------------------------

LXView::LXView() = default;

LXView::~LXView() {
    if (waitTimer_ && hwnd_) KillTimer(hwnd_, waitTimer_);
    waitTimer_ = 0;
    if (regexRunning_) JListBox::stopWorker();
    destroyDialogs();
    hotKey_.reset();
    // The window goes while this object is whole, so its clean-up (onDestroy) runs.
    destroy();
    mainList_.reset();
    reverseList_.reset();
    releaseDropTarget();
}

void LXView::releaseDropTarget() {
    if (!dropTarget_) return;
    dropTarget_->detach();
    dropTarget_->Release();
    dropTarget_ = nullptr;
}

LXViewHost* LXView::host() const {
    return hwnd_ ? dynamic_cast<LXViewHost*>(FwWindow::fromHandle(GetParent(hwnd_))) : nullptr;
}

HWND LXView::ownerWindow() const {
    LXViewHost* h = host();
    return h ? h->hostWindow() : hwnd_;
}

bool LXView::createView(HWND frame, LXDataManager* dm) {
    dataManager_ = dm;
    HWND h = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAINVIEW), frame, formProc, 0);
    if (!h) return false;
    SetWindowLongPtrW(h, GWLP_ID, kViewId);
    subclass(h, true);
    combo_.subclass(GetDlgItem(h, kSearchCombo));
    dictButton_.subclass(GetDlgItem(h, kDictionaryButton));
    // The combo's edit asks for its colours when first drawn; ask now so it is ours from the start.
    if (HWND edit = FindWindowExW(combo_.hwnd(), nullptr, L"Edit", nullptr)) {
        HDC dc = GetDC(edit);
        SendMessageW(combo_.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
        ReleaseDC(edit, dc);
    }
    if (!appOption(kOptSkinningOff)) {
        skinApplyToDialog(h, L"Dialog");
        skinAttachScrollBars(h, 3);
    }
    dropTarget_ = new LXViewDropTarget(this);
    RegisterDragDrop(h, dropTarget_);
    ShowWindow(h, SW_SHOW);
    return true;
}

HWND LXView::searchEdit() const {
    if (combo_.editWindow()) return combo_.editWindow();
    return combo_.hwnd() ? FindWindowExW(combo_.hwnd(), nullptr, L"Edit", nullptr) : nullptr;
}

void LXView::initialUpdate() {
    // The stored dictionary when the data manager has it (pair in either order, the product
    // exactly or 0 and 2 as one); else the first dictionary; with none, no languages.
    int s = languageFromDisplayName(getSettingString(kSetSearchLanguage), 1);
    int t = languageFromDisplayName(getSettingString(kSetTranslationLanguage), 1);
    int p = getSettingInt(kSetProduct);
    if (p == 0) p = LXProductDefault;
    int chosenS = 0, chosenT = 0, chosenP = LXProductDefault;
    if (LXDataManager* dm = dataManager_) {
        LXList<LXModuleType> list;
        dm->getDictionaryList(list);
        bool found = false;
        for (auto it = list.begin(); it != list.end(); ++it) {
            const LXModuleType& m = *it;
            bool pair = (m.language1 == s && m.language2 == t) || (m.language1 == t && m.language2 == s);
            bool prod = sameProduct(m.product, static_cast<uint32_t>(p));
            if (pair && prod) {
                chosenS = s;
                chosenT = t;
                chosenP = p;
                found = true;
                break;
            }
        }
        if (!found && list.begin() != list.end()) {
            const LXModuleType& m = *list.begin();
            chosenS = m.language1;
            chosenT = m.language2;
            chosenP = static_cast<int>(m.product);
        }
    }
    selectDictionary(chosenS, chosenT, chosenP, false);

    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DICTMENU), IMAGE_ICON,
                                               16, 16, LR_DEFAULTCOLOR));
    SendMessageW(dictButton_.hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    if (!appOption(kOptSkinningOff)) {
        skinApplyToControl(GetDlgItem(hwnd_, kLeftLanguage), L"LeftLanguageRadio", L"Dialog");
        skinApplyToControl(GetDlgItem(hwnd_, kRightLanguage), L"RightLanguageRadio", L"Dialog");
        skinApplyToControl(dictButton_.hwnd(), L"LanguageSelector", L"Dialog");
    }
    matchCase_ = getSettingInt(kSetMatchCase) != 0;
    posix_ = getSettingInt(kSetUsePosix) != 0;
    wholeWords_ = getSettingInt(kSetMatchWordFragments) == 0;
    ignoreAccents_ = getSettingInt(kSetMatchAccents) == 0;

    LXDataManager* dm = dataManager_;
    mainList_.reset(new JListBox(false));
    mainList_->create(hwnd_, kMainList, dm, false);
    mainList_->setOwner(this);
    mainList_->setMaxLinesPerTerm(2);
    mainList_->enableApproximateSearch(!appOption(kOptNoApproximateSuggestions));
    if (!appOption(kOptNoReverseList)) {
        reverseList_.reset(new JListBox(false));
        reverseList_->create(hwnd_, kReverseList, dm, false);
        reverseList_->setOwner(this);
    }
    RECT none{0, 0, 0, 0};
    splitter_.create(WS_CHILD | WS_VISIBLE | WS_CAPTION, none, hwnd_, kSplitter, true);
    splitter_.setMinPaneSize(30);

    fontFace_ = getSettingString(kSetFont);
    if (fontFace_.empty()) {
        fontFace_ = loadRawString(8002);
        setSettingString(kSetFont, fontFace_);
    }
    fontSize_ = getSettingInt(kSetFontSize);
    if (fontSize_ == 0) {
        fontSize_ = 90;
        setSettingInt(kSetFontSize, fontSize_);
    }
    mainListPercent_ = clampedMainListPercent(getSettingInt(kSetMainListPercent));
    mainList_->setFont(fontSize_, fontFace_);
    applyRegexOptions();
    mainList_->setLanguages(searchLanguage_, translationLanguage_, product_, false);
    if (reverseList_) {
        reverseList_->setFont(fontSize_, fontFace_);
        reverseList_->setLanguages(LXLanguageNone, LXLanguageNone, LXProductDefault, false);
    }
    // One pop-up look-up window per session owns the capture library: a copy that finds
    // another's waits until it is gone.
    if (FindWindowW(nullptr, kHotKeyWindowTitle))
        waitTimer_ = SetTimer(hwnd_, kWaitTimer, kWaitTimerMs, nullptr);
    else
        createHotKeyWindow();

    createDialogs();
    tooltips_.create(hwnd_);
    SetFocus(searchEdit());
    if (LXViewHost* h = host()) h->showHistoryButtons(false, false);
    refreshCaptions();
    updateControls();
    setSearchMode(searchModeOf(getSettingInt(kSetDisplayMode)));
}

// ----- searching ---------------------------------------------------------------------------

std::wstring LXView::searchText() const { return combo_.hwnd() ? fwWindowText(combo_.hwnd()) : std::wstring(); }

void LXView::clearSearchText() {
    if (combo_.hwnd()) SetWindowTextW(combo_.hwnd(), L"");
}

bool LXView::searchBoxHasFocus() const {
    HWND f = GetFocus();
    return f && (f == combo_.hwnd() || IsChild(combo_.hwnd(), f));
}

void LXView::selectAllSearchText() {
    if (combo_.hwnd()) SendMessageW(combo_.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

LXListBox::SearchType LXView::listSearchType() const {
    return mainList_ ? mainList_->getSearchType() : LXListBox::StemSearch;
}

void LXView::emptyReverseList() {
    if (!reverseList_) return;
    reverseList_->setLanguages(LXLanguageNone, LXLanguageNone, kNoProduct, true);
    reverseList_->refresh();
}

void LXView::search() {
    if (!appOption(kOptBrowseMode) && mode_ != SearchMode::Advanced) mode_ = SearchMode::Standard;
    std::wstring text = searchText();
    if (mainList_ && mainList_->model() && !regexRunning_) {
        LXListBox::SearchType type = browseOnce_ ? LXListBox::Browse : searchTypeOfMode(mode_);
        if (type == 3 && !text.empty()) {
            // Shown before the worker's first step arrives.
            HWND progress = GetDlgItem(hwnd_, kProgress);
            SendMessageW(progress, PBM_SETRANGE32, 0, 1000);
            SendMessageW(progress, PBM_SETPOS, 0, 0);
            show(GetDlgItem(hwnd_, kCancel), true);
            show(progress, true);
            regexRunning_ = true;
            stepCounter_ = 0;
        }
        mainList_->search(text, type);
        if (type != 3) mainList_->refresh();
        if (type == 2) mainList_->selectTopResult();
    }
    if (browseOnce_ || mode_ != SearchMode::Standard) emptyReverseList();
    recordHistory(nullptr);
    browseOnce_ = false;
}

void LXView::selectLanguagePair(int s, int t) {
    selectDictionary(s, t, LXProductDefault, true);
    search();
}

void LXView::pasteIntoSearchBox() {
    bool focused = searchBoxHasFocus();
    clearSearchText();
    if (focused) SendMessageW(combo_.hwnd(), WM_PASTE, 0, 0);
}

void LXView::setSearchTextAndSearch(const std::wstring& text) {
    if (!combo_.hwnd()) return;
    SetWindowTextW(combo_.hwnd(), text.c_str());
    SetFocus(searchEdit());
    selectAllSearchText();
    if (mode_ != SearchMode::Advanced || browseOnce_) search();
}

void LXView::selectDictionary(int s, int t, int product, bool radioOnly) {
    if (s == searchLanguage_ && t == translationLanguage_ && product == product_) return;
    if (s > LXDutch || (t > LXDutch && t != LXSynonyms)) return;
    searchLanguage_ = s;
    translationLanguage_ = t;
    product_ = product;
    setSettingString(kSetSearchLanguage, languageDisplayName(s, 1));
    setSettingString(kSetTranslationLanguage, languageDisplayName(t, 1));
    setSettingInt(kSetProduct, product);
    if (mainList_) {
        mainList_->setLanguages(s, t, product, false);
        if (mode_ == SearchMode::Advanced) {
            mainList_->refresh();
        } else {
            search();
            if (radioOnly) InvalidateRect(mainList_->hwnd(), nullptr, TRUE);
        }
    }
    if (radioOnly) {
        int other = t == LXSynonyms ? s : t;
        int low = std::min(s, other), high = std::max(s, other);
        bool right = s == high && s != low;
        Button_SetCheck(GetDlgItem(hwnd_, kLeftLanguage), right ? BST_UNCHECKED : BST_CHECKED);
        Button_SetCheck(GetDlgItem(hwnd_, kRightLanguage), right ? BST_CHECKED : BST_UNCHECKED);
    }
}

void LXView::chooseLanguageButton(bool right) {
    int a = searchLanguage_, b = translationLanguage_;
    if (a == LXLanguageNone || b == LXLanguageNone || a == b || b == LXSynonyms) return;
    int low = std::min(a, b), high = std::max(a, b);
    int s = right ? high : low, t = right ? low : high;
    selectDictionary(s, t, product_, true);
}

void LXView::switchLanguages() {
    int a = searchLanguage_, b = translationLanguage_;
    if (a == LXLanguageNone || b == LXLanguageNone || a == b || b == LXSynonyms) return;
    chooseLanguageButton(a < b);
}

void LXView::nextDictionary() {
    LXDataManager* dm = dataManager_;
    if (!dm) return;
    LXList<LXModuleType> list;
    dm->getDictionaryList(list);
    if (list.begin() == list.end()) return;
    auto it = list.begin();
    for (; it != list.end(); ++it) {
        const LXModuleType& m = *it;
        int l1 = std::min(searchLanguage_, translationLanguage_), l2 = std::max(searchLanguage_, translationLanguage_);
        if (m.language1 == l1 && m.language2 == l2 && static_cast<int>(m.product) == product_) break;
    }
    if (it != list.end()) ++it;
    if (it == list.end()) it = list.begin();
    const LXModuleType& m = *it;
    selectDictionary(m.language1, m.language2, static_cast<int>(m.product), true);
    updateControls();
}

// ----- history -----------------------------------------------------------------------------

void LXView::recordHistory(const std::wstring* given) {
    HWND cb = combo_.hwnd();
    if (!cb) return;
    SearchHistoryItem item;
    item.searchLanguage = searchLanguage_;
    item.translationLanguage = translationLanguage_;
    item.product = product_;
    item.text = given ? *given : searchText();
    item.searchType = listSearchType();
    int count = static_cast<int>(SendMessageW(cb, CB_GETCOUNT, 0, 0));
    auto* newest = count > 0 ? reinterpret_cast<SearchHistoryItem*>(SendMessageW(cb, CB_GETITEMDATA, 0, 0)) : nullptr;
    if (reinterpret_cast<LRESULT>(newest) == CB_ERR) newest = nullptr;
    int selected = static_cast<int>(SendMessageW(cb, CB_GETCURSEL, 0, 0));
    if (selected != CB_ERR && !given) {
        // An entry counts as selected only while the box still shows its text; a text typed
        // over it (the box keeps its list selection then) is a new search.
        auto* shown = reinterpret_cast<SearchHistoryItem*>(SendMessageW(cb, CB_GETITEMDATA, selected, 0));
        if (!shown || reinterpret_cast<LRESULT>(shown) == CB_ERR || shown->text != searchText()) selected = CB_ERR;
    }
    auto sameDictionary = [&](const SearchHistoryItem& h) {
        return h.searchLanguage == item.searchLanguage && h.translationLanguage == item.translationLanguage &&
               h.product == item.product;
    };
    if (given && mode_ == SearchMode::Browse && newest && sameDictionary(*newest) && newest->searchType == item.searchType &&
        differsByLastCharacter(newest->text, item.text)) {
        // Picking "ab" then "abc" in Browse mode keeps one entry.
        *newest = item;
        SendMessageW(cb, CB_DELETESTRING, 0, 0);
        SendMessageW(cb, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
        SendMessageW(cb, CB_SETITEMDATA, 0, reinterpret_cast<LPARAM>(newest));
    } else if (!item.text.empty() &&
               (given || selected == CB_ERR || (selected == 0 && newest && !sameDictionary(*newest)))) {
        bool equal = newest && newest->text == item.text && sameDictionary(*newest) &&
                     newest->searchType == item.searchType;
        if (!equal) {
            std::wstring keep = searchText();
            auto* copy = new SearchHistoryItem(item);
            SendMessageW(cb, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(copy->text.c_str()));
            SendMessageW(cb, CB_SETITEMDATA, 0, reinterpret_cast<LPARAM>(copy));
            SendMessageW(cb, CB_SETCURSEL, 0, 0);
            // Selecting the entry puts its text in the edit; the typed text stays.
            if (keep != copy->text) SetWindowTextW(cb, keep.c_str());
        }
    }
    restoreEditSelection();
    updateHistoryButtons();
}

void LXView::restoreEditSelection() {
    LXSearchTextEdit& e = combo_.edit();
    if (e.hwnd()) SendMessageW(e.hwnd(), EM_SETSEL, e.selStart, e.selEnd);
}

void LXView::updateHistoryButtons() {
    LXViewHost* h = host();
    if (!h || !combo_.hwnd()) return;
    int count = static_cast<int>(SendMessageW(combo_.hwnd(), CB_GETCOUNT, 0, 0));
    int sel = static_cast<int>(SendMessageW(combo_.hwnd(), CB_GETCURSEL, 0, 0));
    if (sel == CB_ERR) sel = -1;
    // Older entries lie below the selected one (newest first).
    bool older = sel + 1 < count, newer = sel > 0;
    h->showHistoryButtons(newer, older);
}

void LXView::applyHistoryItem(const SearchHistoryItem& item, bool setText) {
    if (item.searchLanguage != searchLanguage_ || item.translationLanguage != translationLanguage_ ||
        item.product != product_ || item.searchType != listSearchType()) {
        selectDictionary(item.searchLanguage, item.translationLanguage, item.product, true);
        updateControls();
    }
    if (setText) SetWindowTextW(combo_.hwnd(), item.text.c_str());
    selectAllSearchText();
    SetFocus(searchEdit());
    if (item.searchType == LXListBox::Browse) browseOnce_ = true;
}

void LXView::stepHistory(int delta) {
    HWND cb = combo_.hwnd();
    if (!cb) return;
    int count = static_cast<int>(SendMessageW(cb, CB_GETCOUNT, 0, 0));
    int sel = static_cast<int>(SendMessageW(cb, CB_GETCURSEL, 0, 0));
    // The toolbar's Back (-1) goes to older entries, which lie further down the list.
    int target = sel == CB_ERR ? (delta < 0 ? 0 : -1) : sel - delta;
    if (target < 0 || target >= count) return;
    SendMessageW(cb, CB_SETCURSEL, target, 0);
    auto* item = reinterpret_cast<SearchHistoryItem*>(SendMessageW(cb, CB_GETITEMDATA, target, 0));
    if (!item || reinterpret_cast<LRESULT>(item) == CB_ERR) return;
    SearchHistoryItem copy = *item;
    applyHistoryItem(copy, true);
    search();
}

void LXView::historyPicked() {
    HWND cb = combo_.hwnd();
    int sel = static_cast<int>(SendMessageW(cb, CB_GETCURSEL, 0, 0));
    if (sel == CB_ERR) return;
    auto* item = reinterpret_cast<SearchHistoryItem*>(SendMessageW(cb, CB_GETITEMDATA, sel, 0));
    if (!item || reinterpret_cast<LRESULT>(item) == CB_ERR) return;
    SearchHistoryItem copy = *item;
    applyHistoryItem(copy, false);
    PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kGo, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, kGo)));
}

void LXView::clearHistory() {
    HWND cb = combo_.hwnd();
    if (!cb) return;
    int count = static_cast<int>(SendMessageW(cb, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        auto* item = reinterpret_cast<SearchHistoryItem*>(SendMessageW(cb, CB_GETITEMDATA, i, 0));
        if (item && reinterpret_cast<LRESULT>(item) != CB_ERR) delete item;
    }
    std::wstring keep = searchText();
    SendMessageW(cb, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(cb, keep.c_str());
    if (LXViewHost* h = host()) h->showHistoryButtons(false, false);
}

// ----- modes and menus ---------------------------------------------------------------------

void LXView::setModeCaption() {
    static const int ids[] = {14500, 14520, 14540};  // Standard, Browse, Advanced
    SetDlgItemTextW(hwnd_, kModeButton, loadLocalizedString(ids[static_cast<int>(mode_) - 1]).c_str());
}

void LXView::setSearchMode(SearchMode mode) {
    mode_ = mode;
    LXListBox::SearchType type = searchTypeOfMode(mode);
    if (mainList_ && type != listSearchType()) {
        if (regexRunning_) cancelRegexSearch();
        mainList_->search(type == LXListBox::RegexSearch ? std::wstring() : searchText(), type);
        mainList_->refresh();
        emptyReverseList();
    }
    setSettingInt(kSetDisplayMode, static_cast<int>(mode));
    updateControls();
    setModeCaption();
    layout();
}

void LXView::showModeMenu() {
    HMENU m = CreatePopupMenu();
    AppendMenuW(m, MF_STRING | (mode_ == SearchMode::Standard ? MF_CHECKED : 0), ID_MODE_STANDARD,
                loadLocalizedString(14400).c_str());
    if (appOption(kOptBrowseMode))
        AppendMenuW(m, MF_STRING | (mode_ == SearchMode::Browse ? MF_CHECKED : 0), ID_MODE_BROWSE,
                    loadLocalizedString(14420).c_str());
    AppendMenuW(m, MF_STRING | (mode_ == SearchMode::Advanced ? MF_CHECKED : 0), ID_MODE_ADVANCED,
                loadLocalizedString(14440).c_str());
    RECT r;
    GetWindowRect(GetDlgItem(hwnd_, kModeButton), &r);
    TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, hwnd_, nullptr);
    DestroyMenu(m);
}

void LXView::showOptionsMenu() {
    HMENU m = CreatePopupMenu();
    AppendMenuW(m, MF_STRING | (matchCase_ ? MF_CHECKED : 0), ID_REGEX_MATCH_CASE, loadLocalizedString(14210).c_str());
    AppendMenuW(m, MF_STRING | (wholeWords_ ? MF_CHECKED : 0), ID_REGEX_WHOLE_WORDS, loadLocalizedString(14330).c_str());
    AppendMenuW(m, MF_STRING | (ignoreAccents_ ? MF_CHECKED : 0), ID_REGEX_IGNORE_ACCENTS, loadLocalizedString(14340).c_str());
    if (appOption(kOptPosixOption))
        AppendMenuW(m, MF_STRING | (posix_ ? MF_CHECKED : 0), ID_REGEX_POSIX, loadLocalizedString(14220).c_str());
    RECT r;
    GetWindowRect(GetDlgItem(hwnd_, kOptionsButton), &r);
    TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, hwnd_, nullptr);
    DestroyMenu(m);
}

void LXView::showWildcardMenu() {
    HMENU m = CreatePopupMenu();
    AppendMenuW(m, MF_STRING, ID_WILDCARD_FIRST + kWildcardQuestionMark, loadLocalizedString(14160).c_str());
    AppendMenuW(m, MF_STRING, ID_WILDCARD_FIRST + kWildcardStar, loadLocalizedString(14170).c_str());
    AppendMenuW(m, MF_STRING, ID_WILDCARD_FIRST + kWildcardPlus, loadLocalizedString(14180).c_str());
    RECT r;
    GetWindowRect(GetDlgItem(hwnd_, kWildcardButton), &r);
    TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, hwnd_, nullptr);
    DestroyMenu(m);
}

void LXView::showDictionaryMenu() {
    LXDataManager* dm = dataManager_;
    HMENU m = CreatePopupMenu();
    if (dm) {
        LXList<LXModuleType> list;
        dm->getDictionaryList(list);
        bool directional = appOption(kOptDirectionalDictionaryMenu);
        for (auto it = list.begin(); it != list.end(); ++it) {
            const LXModuleType& d = *it;
            int l1 = d.language1, l2 = d.language2, p = static_cast<int>(d.product);
            int cur1 = std::min(searchLanguage_, translationLanguage_), cur2 = std::max(searchLanguage_, translationLanguage_);
            if (!directional) {
                bool current = l1 == cur1 && l2 == cur2 && p == product_;
                AppendMenuW(m, MF_STRING | (current ? MF_CHECKED : 0), dictionaryCommandId(l1, l2, p),
                            dictionaryTitle(l1, l2, p).c_str());
                continue;
            }
            bool current = searchLanguage_ == l1 && translationLanguage_ == l2 && p == product_;
            AppendMenuW(m, MF_STRING | (current ? MF_CHECKED : 0), dictionaryCommandId(l1, l2, p),
                        directionalTitle(l1, l2, p).c_str());
            if (l1 != l2 && l2 != LXSynonyms) {
                current = searchLanguage_ == l2 && translationLanguage_ == l1 && p == product_;
                AppendMenuW(m, MF_STRING | (current ? MF_CHECKED : 0), dictionaryCommandId(l2, l1, p),
                            directionalTitle(l2, l1, p).c_str());
            }
        }
    }
    if (!appOption(kOptNoModuleDownload) && !appOption(kOptNoOtherItem))
        AppendMenuW(m, MF_STRING, kDictionaryCommandFirst, loadLocalizedString(16100).c_str());
    RECT r;
    GetWindowRect(dictButton_.hwnd(), &r);
    TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, r.right, r.top, 0, hwnd_, nullptr);
    DestroyMenu(m);
}

void LXView::chooseDictionaryCommand(int id) {
    int l1, l2, p;
    if (!decodeDictionaryCommand(id, l1, l2, p)) return;
    if (l1 == 0 && l2 == 0) {
        if (LXViewHost* h = host()) h->runCommand(ID_DOWNLOAD_MODULES);
        return;
    }
    switchDictionary(l1, l2, p);
}

void LXView::followPopupPair(int s, int t, int product) { switchDictionary(s, t, product); }

void LXView::createHotKeyWindow() {
    // The capture library needs Windows 2000 or later (an NT system of version 5 on).
    const DWORD version = GetVersion();
    constexpr DWORD kNotNt = 0x80000000;
    if (hotKey_ || (version & kNotNt) || LOBYTE(LOWORD(version)) < 5) return;
    hotKey_.reset(new CHotKeyWnd);
    auto fontOf = [](HWND w) { return w ? reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)) : nullptr; };
    if (!hotKey_->createPopup(hwnd_, dataManager_, captureLibrary(), fontOf(combo_.hwnd()),
                              fontOf(GetDlgItem(hwnd_, kLeftLanguage))))
        hotKey_.reset();
}

void LXView::switchDictionary(int l1, int l2, int p) {
    LXListBox::SearchType type = listSearchType();
    selectDictionary(l1, l2, p, true);
    if (mainList_) {
        mainList_->search(type == LXListBox::RegexSearch ? std::wstring() : searchText(), type);
        mainList_->refresh();
    }
    emptyReverseList();
    refreshCaptions();
    updateControls();
}

void LXView::applyRegexOptions() {
    if (!mainList_) return;
    LXDMRegexOptions o;
    o.posixSyntax = posix_ ? 1 : 0;
    o.matchCase = matchCase_ ? 1 : 0;
    o.wholeWords = wholeWords_ ? 1 : 0;
    o.ignoreAccents = ignoreAccents_ ? 1 : 0;
    mainList_->setRegexOptions(o);
}

void LXView::toggleRegexOption(int id) {
    switch (id) {
    case ID_REGEX_MATCH_CASE:
        matchCase_ = !matchCase_;
        setSettingInt(kSetMatchCase, matchCase_);
        break;
    case ID_REGEX_POSIX:
        posix_ = !posix_;
        setSettingInt(kSetUsePosix, posix_);
        break;
    case ID_REGEX_WHOLE_WORDS:
        wholeWords_ = !wholeWords_;
        setSettingInt(kSetMatchWordFragments, !wholeWords_);
        break;
    case ID_REGEX_IGNORE_ACCENTS:
        ignoreAccents_ = !ignoreAccents_;
        setSettingInt(kSetMatchAccents, !ignoreAccents_);
        break;
    default:
        return;
    }
    applyRegexOptions();
    SetFocus(searchEdit());
}

void LXView::insertWildcard(int id) {
    if (id < ID_WILDCARD_FIRST || id > ID_WILDCARD_LAST || !searchEdit()) return;
    HWND e = searchEdit();
    SetFocus(e);
    restoreEditSelection();
    SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kWildcardTexts[id - ID_WILDCARD_FIRST]));
    DWORD start = 0, end = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SendMessageW(e, EM_SETSEL, end, end);
}

// ----- advanced search pacing --------------------------------------------------------------

void LXView::onRegexStep(LRESULT& result) {
    result = 0;
    if (!mainList_ || !mainList_->model()) return;
    result = mainList_->continueRegexSearch() ? 1 : 0;
    if (++stepCounter_ > 200) {
        stepCounter_ = 0;
        uint32_t lo = 0, hi = 0, pos = 0;
        if (mainList_->regexSearchPosition(lo, hi, pos)) {
            HWND progress = GetDlgItem(hwnd_, kProgress);
            SendMessageW(progress, PBM_SETRANGE32, lo, hi);
            SendMessageW(progress, PBM_SETPOS, pos, 0);
        }
    }
}

void LXView::endRegexSearch() {
    regexRunning_ = false;
    // The progress bar first: whoever sees Cancel gone sees the search's display gone.
    show(GetDlgItem(hwnd_, kProgress), false);
    show(GetDlgItem(hwnd_, kCancel), false);
}

void LXView::cancelRegexSearch() {
    JListBox::stopWorker();
    endRegexSearch();
    if (mainList_) mainList_->cancelRegexSearch();
}

// ----- layout ------------------------------------------------------------------------------

int LXView::controlHeightOfGo() {
    if (goHeight_ == 0) {
        RECT r{};
        if (HWND go = GetDlgItem(hwnd_, kGo)) GetClientRect(go, &r);
        goHeight_ = r.bottom > 0 ? r.bottom : 20;
    }
    return goHeight_;
}

void LXView::layout() {
    if (!hwnd_) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    int W = client.right, H = client.bottom;
    HWND go = GetDlgItem(hwnd_, kGo), cb = combo_.hwnd();
    int e = controlHeightOfGo();
    int d;
    if (cb) {
        RECT r;
        GetWindowRect(cb, &r);
        d = r.bottom - r.top - 4;
    } else {
        d = 20;
    }
    d = std::max(d, e);
    d = std::min(d, go ? 30 : 20);

    int c = std::max(appOption(kOptNoModeButton) ? W - 48 : W - 156, 80);
    if (cb) {
        int item = static_cast<int>(SendMessageW(cb, CB_GETITEMHEIGHT, 0, 0));
        MoveWindow(cb, 4, 5, c, d + 10 * std::max(item, 1) + 2, TRUE);
    }
    MoveWindow(go, c + 8, 5, 36, d, TRUE);
    MoveWindow(GetDlgItem(hwnd_, kModeButton), c + 56, 5, 96, d, TRUE);

    int y2 = d + 9;
    MoveWindow(GetDlgItem(hwnd_, kLeftLanguage), 4, y2, 85, e, TRUE);
    MoveWindow(GetDlgItem(hwnd_, kRightLanguage), 89, y2, 85, e, TRUE);
    HWND dict = dictButton_.hwnd();
    int h = 178;
    if (dict) {
        MoveWindow(dict, 178, y2, 21, e, TRUE);
        show(dict, !appOption(kOptNoDictionaryButton));
        h = appOption(kOptNoDictionaryButton) ? 182 : 199;
    }
    HWND conj = GetDlgItem(hwnd_, kConjugation);
    MoveWindow(conj, std::max(h + 4, W - 100), y2, 96, e, TRUE);
    show(conj, !appOption(kOptNoConjugation));

    int y3 = d + e + 13;
    MoveWindow(GetDlgItem(hwnd_, kWildcardButton), 4, y3, 80, e, TRUE);
    MoveWindow(GetDlgItem(hwnd_, kOptionsButton), 88, y3, 80, e, TRUE);
    MoveWindow(GetDlgItem(hwnd_, kProgress), 172, y3 + (e - 8) / 2, std::max(W - 86 - 172, 0), 8, TRUE);
    MoveWindow(GetDlgItem(hwnd_, kCancel), W - 74, y3, 70, e, TRUE);

    bool hotkeyLine = appOption(kOptShowHotkey);
    int y0 = y3 + (mode_ == SearchMode::Advanced ? e + 2 : 0);
    int bottom = H - 2 - (hotkeyLine ? e - 1 : 0);
    int listHeight = std::max(bottom - y0, 0);
    bool reverse = reverseList_ && reverseList_->hwnd() && getSettingInt(kSetShowReverse) != 0;
    if (mainList_ && mainList_->hwnd()) {
        if (reverse) {
            int mainH = listHeight * mainListPercent_ / 100;
            MoveWindow(mainList_->hwnd(), 0, y0, W, mainH, TRUE);
            MoveWindow(reverseList_->hwnd(), 0, y0 + mainH + 2, W, std::max(listHeight - mainH - 2, 0), TRUE);
            show(reverseList_->hwnd(), true);
            if (splitter_.hwnd()) {
                splitter_.setPanes(mainList_->hwnd(), reverseList_->hwnd());
                show(splitter_.hwnd(), true);
            }
        } else {
            MoveWindow(mainList_->hwnd(), 0, y0, W, listHeight, TRUE);
            if (reverseList_) show(reverseList_->hwnd(), false);
            show(splitter_.hwnd(), false);
        }
    }
    HWND line = GetDlgItem(hwnd_, kHotKeyLine);
    MoveWindow(line, 4, bottom + 1, std::max(W - 8, 0), std::max(e - 3, 0), TRUE);
    show(line, hotkeyLine);
}

void LXView::updateControls() {
    if (!hwnd_) return;
    if (mainList_) show(mainList_->hwnd(), true);
    if (reverseList_) show(reverseList_->hwnd(), getSettingInt(kSetShowReverse) != 0);
    show(GetDlgItem(hwnd_, kWildcardButton), mode_ == SearchMode::Advanced);
    show(GetDlgItem(hwnd_, kOptionsButton), mode_ == SearchMode::Advanced);
    if (!regexRunning_) {
        show(GetDlgItem(hwnd_, kCancel), false);
        show(GetDlgItem(hwnd_, kProgress), false);
    }
    int low = std::min(searchLanguage_, translationLanguage_), high = std::max(searchLanguage_, translationLanguage_);
    bool right = translationLanguage_ != LXSynonyms && searchLanguage_ == high && high != low;
    Button_SetCheck(GetDlgItem(hwnd_, kLeftLanguage), right ? BST_UNCHECKED : BST_CHECKED);
    Button_SetCheck(GetDlgItem(hwnd_, kRightLanguage), right ? BST_CHECKED : BST_UNCHECKED);
    auto halves = splitDictionaryTitle(searchLanguage_, translationLanguage_, product_);
    SetDlgItemTextW(hwnd_, kLeftLanguage, halves.first.c_str());
    SetDlgItemTextW(hwnd_, kRightLanguage, halves.second.c_str());
    if (appOption(kOptShowHotkey)) {
        std::wstring line = loadLocalizedString(13110) + L": " +
                            loadLocalizedString(hotKeyMethodStringId(hotKeyMethodIndex()));
        SetDlgItemTextW(hwnd_, kHotKeyLine, line.c_str());
    }
    layout();
}

void LXView::refreshCaptions() {
    if (!hwnd_) return;
    SetDlgItemTextW(hwnd_, kConjugation, loadLocalizedString(12620).c_str());
    SetDlgItemTextW(hwnd_, kWildcardButton, loadLocalizedString(14110).c_str());
    SetDlgItemTextW(hwnd_, kOptionsButton, loadLocalizedString(14130).c_str());
    SetDlgItemTextW(hwnd_, kCancel, loadLocalizedString(12030).c_str());
    SetDlgItemTextW(hwnd_, kGo, loadLocalizedString(16150).c_str());
    setModeCaption();
    int lang = currentInterfaceLanguage();
    if (mainList_) mainList_->setCaptions(lang, true);
    if (reverseList_) reverseList_->setCaptions(lang, false);
    if (conjugationDialog_) conjugationDialog_->refresh();
    if (numbersDialog_) numbersDialog_->refresh();
    updateTooltips();
    if (hotKey_) hotKey_->refreshCaptions();
    updateControls();
    redrawLists();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// ----- tooltips ------------------------------------------------------------------------------

int viewTooltipString(int controlId) {
    static const struct {
        int control, text;
    } tips[] = {{kSearchCombo, 17010}, {kSearchEdit, 17010},   {kGo, 17020},           {kModeButton, 17030},
                {kLeftLanguage, 17040}, {kRightLanguage, 17040}, {kDictionaryButton, 17050}, {kConjugation, 17060},
                {kOptionsButton, 17070}, {kWildcardButton, 17080}, {kCancel, 17090},      {kHotKeyLine, 17100}};
    for (const auto& t : tips)
        if (t.control == controlId) return t.text;
    return 0;
}

void LXView::updateTooltips() {
    if (!tooltips_.hwnd()) return;
    const int controls[] = {kSearchCombo, kGo, kModeButton, kLeftLanguage, kRightLanguage, kDictionaryButton,
                            kConjugation, kOptionsButton, kWildcardButton, kCancel, kHotKeyLine};
    for (int id : controls) tooltips_.setText(GetDlgItem(hwnd_, id), loadLocalizedString(viewTooltipString(id)));
    // The pointer rests on the combo's edit, not on the combo.
    if (HWND edit = searchEdit()) tooltips_.setText(edit, loadLocalizedString(viewTooltipString(kSearchEdit)));
}

// ----- the dialogs ---------------------------------------------------------------------------

void LXView::createDialogs() {
    int language = searchLanguage_ ? searchLanguage_ : LXEnglish;
    if (!appOption(kOptNoConjugation)) {
        conjugationDialog_.reset(new CConjugationDialog(language, dataManager_));
        if (!conjugationDialog_->create()) conjugationDialog_.reset();
        else if (!appOption(kOptSkinningOff)) skinApplyToDialog(conjugationDialog_->hwnd(), L"Dialog");
    }
    numbersDialog_.reset(new CNumbersDialog(language, dataManager_));
    if (!numbersDialog_->create()) numbersDialog_.reset();
    else if (!appOption(kOptSkinningOff)) skinApplyToDialog(numbersDialog_->hwnd(), L"Dialog");
}

void LXView::destroyDialogs() {
    conjugationDialog_.reset();
    numbersDialog_.reset();
}

void LXView::openConjugation() {
    if (appOption(kOptNoConjugation) || appOption(kOptReducedFeatures) || !conjugationDialog_) return;
    if (!mainList_ || (!reverseList_ && !appOption(kOptNoReverseList))) return;
    JListBox* list = reverseList_ && GetFocus() == reverseList_->hwnd() ? reverseList_.get() : mainList_.get();
    std::wstring verb = bareHeadword(list->getSelectedText());
    int language = verb.empty() ? searchLanguage_ : list->getSelectionLanguage();
    if (verb.empty()) verb = trimmed(searchText());
    conjugationDialog_->setLanguage(language);
    conjugationDialog_->setVerb(verb);
    conjugationDialog_->show();
}

void LXView::openNumbers() {
    if (appOption(kOptReducedFeatures) || !numbersDialog_) return;
    numbersDialog_->show();
}

void LXView::addEntries() {
    if (!dataManager_ || !searchLanguage_) return;
    CAddEntriesDialog dialog(searchLanguage_, translationLanguage_, product_, dataManager_,
                             theApp() ? theApp()->dataFolder() : std::wstring());
    INT_PTR result = dialog.run(ownerWindow());
    if (result == kEntryRefused) {
        showMessageId(12840);
        return;
    }
    if (result != kEntryAdded) return;
    // The new entry is found at once: the word of the search language, browsed to.
    const std::wstring& word =
        dialog.monolingual() || searchLanguage_ == dialog.language1() ? dialog.firstWord() : dialog.secondWord();
    SendMessageW(combo_.hwnd(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(combo_.hwnd(), word.c_str());
    browseOnce_ = true;
    search();
    emptyReverseList();
}

void LXView::refreshAfterModuleChange() {
    refreshCaptions();
    if (mainList_) {
        mainList_->setLanguages(searchLanguage_, translationLanguage_, product_, true);
        mainList_->refresh();
    }
    if (reverseList_) reverseList_->refresh();
    updateControls();
}

void LXView::redrawLists() {
    if (mainList_ && mainList_->hwnd()) InvalidateRect(mainList_->hwnd(), nullptr, TRUE);
    if (reverseList_ && reverseList_->hwnd()) InvalidateRect(reverseList_->hwnd(), nullptr, TRUE);
}

void LXView::relayoutLists() { layout(); }

void LXView::suspendListPainting(bool suspend) {
    paintingSuspended_ = suspend;
    for (JListBox* l : {mainList_.get(), reverseList_.get()}) {
        if (!l) continue;
        if (suspend)
            l->suspendPainting();
        else
            l->resumePainting();
    }
}

// ----- list notifications ------------------------------------------------------------------

// Shown by the layout (its own style), whether or not the frame is on screen.
bool LXView::reverseShown() const {
    return reverseList_ && reverseList_->hwnd() && (GetWindowLongW(reverseList_->hwnd(), GWL_STYLE) & WS_VISIBLE);
}

void LXView::onListSelectionChanged(int controlId, const std::wstring& text, bool inTranslation) {
    // The reverse list translates the word picked in the main list back.
    if (controlId != kMainList || !reverseShown() || text.empty()) return;
    int s = inTranslation ? translationLanguage_ : searchLanguage_;
    int t = inTranslation ? searchLanguage_ : translationLanguage_;
    if (t == LXSynonyms) return;
    reverseList_->setLanguages(t, s, product_, false);
    reverseList_->search(text, LXListBox::StemSearch);
    reverseList_->refresh();
}

void LXView::onListContextMenu(int, POINT inOwner) {
    POINT screen = inOwner;
    ClientToScreen(hwnd_, &screen);
    showContextMenu(screen);
}

void LXView::onListEntryActivated(int, const std::wstring& text, bool inTranslation) {
    clearSearchText();
    if (inTranslation) switchLanguages();
    SendMessageW(combo_.hwnd(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(combo_.hwnd(), text.c_str());
    if (mode_ != SearchMode::Advanced) search();
}

void LXView::showContextMenu(POINT screen) {
    POINT client = screen;
    ScreenToClient(hwnd_, &client);
    HWND under = ChildWindowFromPointEx(hwnd_, client, CWP_SKIPINVISIBLE);
    if ((mainList_ && under == mainList_->hwnd()) || (reverseList_ && under == reverseList_->hwnd()))
        SetFocus(under);
    HMENU menu = contextMenuFor(currentInterfaceLanguage(), AppOptionFlags);
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup) {
        // Checks and greying as the frame's menus get them.
        for (int i = 0, n = GetMenuItemCount(popup); i < n; ++i) {
            HMENU sub = GetSubMenu(popup, i);
            HMENU m = sub ? sub : popup;
            int count = sub ? GetMenuItemCount(sub) : 1;
            for (int j = 0; j < count; ++j) {
                int index = sub ? j : i;
                int cmd = static_cast<int>(GetMenuItemID(m, index));
                if (cmd <= 0) continue;
                FwCmdUI ui(m, static_cast<UINT>(index), cmd);
                onUpdateCommandUI(ui);
            }
        }
        HWND owner = ownerWindow();
        // A skinned menu closed without a choice also answers 0, but leaves no error code.
        if (appOption(kOptSkinningOff) ||
            (!skinShowPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner) &&
             skinLastError() != kSkinErrorNone))
            TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    }
    DestroyMenu(menu);
}

// ----- edit commands, font -----------------------------------------------------------------

void LXView::copy() {
    HWND f = GetFocus();
    if (reverseList_ && reverseList_->hwnd() && f == reverseList_->hwnd())
        reverseList_->copyToClipboard();
    else if (searchBoxHasFocus())
        SendMessageW(searchEdit(), WM_COPY, 0, 0);
    else if (mainList_)
        mainList_->copyToClipboard();
}

void LXView::chooseFont() {
    if (!mainList_) return;
    LOGFONTW lf{};
    HDC dc = GetDC(hwnd_);
    lf.lfHeight = -MulDiv(fontSize_, GetDeviceCaps(dc, LOGPIXELSY), 720);
    ReleaseDC(hwnd_, dc);
    lstrcpynW(lf.lfFaceName, fontFace_.c_str(), LF_FACESIZE);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = ownerWindow();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&cf)) return;
    fontFace_ = lf.lfFaceName;
    fontSize_ = cf.iPointSize;  // tenths of a point
    if (fontSize_ <= 0) fontSize_ = 90;
    mainList_->setFont(fontSize_, fontFace_);
    if (reverseList_) reverseList_->setFont(fontSize_, fontFace_);
    setSettingString(kSetFont, fontFace_);
    setSettingInt(kSetFontSize, fontSize_);
    layout();
}

// ----- drag and drop onto the view ---------------------------------------------------------

bool LXView::dragEnter(const std::wstring& text) {
    draggedText_ = text;
    statusLanguage_ = -1;
    return !text.empty();
}

int LXView::targetLanguageAt(POINT screen, bool& accepted) {
    accepted = true;
    POINT p = screen;
    ScreenToClient(hwnd_, &p);
    HWND under = ChildWindowFromPointEx(hwnd_, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    int low = std::min(searchLanguage_, translationLanguage_), high = std::max(searchLanguage_, translationLanguage_);
    bool thesaurus = translationLanguage_ == LXSynonyms;
    if (under == GetDlgItem(hwnd_, kLeftLanguage)) return thesaurus ? searchLanguage_ : low;
    if (under == GetDlgItem(hwnd_, kRightLanguage)) return thesaurus ? searchLanguage_ : high;
    if (reverseList_ && under == reverseList_->hwnd()) return translationLanguage_;
    if (under == combo_.hwnd() || (mainList_ && under == mainList_->hwnd())) return searchLanguage_;
    accepted = false;
    return 0;
}

bool LXView::dragOver(POINT screen) {
    bool accepted = false;
    int lang = targetLanguageAt(screen, accepted);
    LXViewHost* h = host();
    if (!accepted) {
        if (statusLanguage_ != 0 && h) h->showIdlePrompt();
        statusLanguage_ = 0;
        return false;
    }
    if (lang != statusLanguage_ && h) {
        std::wstring text = replaceAll(loadLocalizedString(16040), L"<TEXT>", draggedText_);
        text = replaceAll(text, L"<RED>", languageDisplayName(lang, 0));
        h->showStatusText(text);
    }
    statusLanguage_ = lang;
    return true;
}

void LXView::dragLeave() {
    if (LXViewHost* h = host()) h->showIdlePrompt();
    statusLanguage_ = -1;
}

void LXView::drop(POINT screen) {
    bool accepted = false;
    int lang = targetLanguageAt(screen, accepted);
    if (accepted && lang != searchLanguage_ && lang == translationLanguage_) switchLanguages();
    setSearchTextAndSearch(draggedText_);
    if (LXViewHost* h = host()) h->showIdlePrompt();
    statusLanguage_ = -1;
}

// ----- commands ----------------------------------------------------------------------------

void LXView::onControlCommand(int id, int code) {
    switch (id) {
    case kSearchCombo:
    case kSearchEdit:
        if (code == CBN_EDITCHANGE) {
            // With the shipped option word typing never searches; Enter and Go do.
            if (appOption(kOptNoTypingSearch)) return;
            if (browseOnce_ || mode_ == SearchMode::Browse) search();
        } else if (code == CBN_SELCHANGE) {
            historyPicked();
        }
        return;
    case kGo:
        if (code == BN_CLICKED) search();
        return;
    case kCancel:
        if (code == BN_CLICKED) cancelRegexSearch();
        return;
    case kModeButton:
        if (code == BN_CLICKED) showModeMenu();
        return;
    case kOptionsButton:
        if (code == BN_CLICKED) showOptionsMenu();
        return;
    case kWildcardButton:
        if (code == BN_CLICKED) showWildcardMenu();
        return;
    case kDictionaryButton:
        if (code == BN_CLICKED) showDictionaryMenu();
        return;
    case kLeftLanguage:
    case kRightLanguage:
        if (code == BN_CLICKED) chooseLanguageButton(id == kRightLanguage);
        return;
    case kConjugation:
        if (code == BN_CLICKED) onRoutedCommand(ID_CONJUGATE);
        return;
    case kHotKeyLine:
        if (code == BN_CLICKED && host()) PostMessageW(host()->hostWindow(), WM_COMMAND, ID_PREFERENCES, 0);
        return;
    }
}

bool LXView::onRoutedCommand(int id) {
    if (id >= kDictionaryCommandFirst && id <= kDictionaryCommandLast) {
        chooseDictionaryCommand(id);
        return true;
    }
    if (id >= ID_HELP_TOPIC_FIRST && id <= ID_HELP_TOPIC_LAST) {
        if (!appOption(kOptReducedFeatures)) openHelpTopic(id);
        return true;
    }
    if (id >= ID_WILDCARD_FIRST && id <= ID_WILDCARD_LAST) {
        insertWildcard(id);
        return true;
    }
    if (id >= ID_REGEX_MATCH_CASE && id <= ID_REGEX_OPTION_LAST) {
        toggleRegexOption(id);
        return true;
    }
    if (id >= ID_LANG_ENGLISH && id <= ID_LANG_PORTUGUESE) {
        if (LXViewHost* h = host()) h->applyInterfaceLanguage(interfaceLanguageOfCommand(id));
        return true;
    }
    switch (id) {
    case ID_MODE_STANDARD:
    case ID_MODE_BROWSE:
    case ID_MODE_ADVANCED:
        setSearchMode(searchModeOfCommand(id));
        return true;
    case ID_SHOW_REVERSE:
        setSettingInt(kSetShowReverse, reverseList_ && reverseList_->hwnd() && !reverseShown());
        updateControls();
        return true;
    case ID_SWITCH_LANGUAGES:
        switchLanguages();
        return true;
    case ID_NEXT_MODULE:
        nextDictionary();
        return true;
    case ID_CLEAR_HISTORY:
        clearHistory();
        return true;
    case ID_FONT:
        chooseFont();
        return true;
    case ID_NO_ACTION:
        return true;
    case ID_CONJUGATE:
        openConjugation();
        return true;
    case ID_NUMBERS:
        openNumbers();
        return true;
    case ID_ADD_ENTRY:
        if (!appOption(kOptReducedFeatures)) addEntries();
        return true;
    case ID_DELETE_ENTRY: {
        JListBox* list = reverseList_ && GetFocus() == reverseList_->hwnd() ? reverseList_.get() : mainList_.get();
        if (!list) return true;
        if (!list->deleteSelectedDefinition()) {
            showMessageId(13010);
            return true;
        }
        setSearchTextAndSearch(std::wstring());
        return true;
    }
    case ID_WEB_EXAMPLES:
        if (!appOption(kOptReducedFeatures) && !appOption(kOptNoWebExamples)) {
            CWebExamplesDialog dialog;
            dialog.run(ownerWindow());
        }
        return true;
    case ID_WEB_TRANSLATE:
        if (!appOption(kOptReducedFeatures) && !appOption(kOptNoWebTranslation) && theApp())
            theApp()->openWithShell(loadRawString(9003));
        return true;
    case ID_MANUAL:
    case ID_HELP_TOPICS:
        openHelpTopic(ID_HELP_MANUAL_TOPIC);
        return true;
    case ID_WEBSITE:
        if (theApp()) theApp()->openWithShell(loadRawString(9002));
        return true;
    case ID_EDIT_COPY_CMD:
        copy();
        return true;
    case ID_EDIT_CUT_CMD:
        if (searchBoxHasFocus()) SendMessageW(searchEdit(), WM_CUT, 0, 0);
        return true;
    case ID_EDIT_PASTE_CMD:
        if (searchBoxHasFocus()) SendMessageW(searchEdit(), WM_PASTE, 0, 0);
        return true;
    }
    return false;
}

bool LXView::onUpdateCommandUI(FwCmdUI& ui) {
    int id = ui.id();
    if (id >= ID_LANG_ENGLISH && id <= ID_LANG_PORTUGUESE) {
        ui.setCheck(interfaceLanguageOfCommand(id) == currentInterfaceLanguage());
        return true;
    }
    if (id >= kDictionaryCommandFirst && id <= kDictionaryCommandLast) return false;
    auto editSelection = [&]() {
        DWORD s = 0, e = 0;
        if (HWND ed = searchEdit()) SendMessageW(ed, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        return s != e;
    };
    switch (id) {
    case ID_MODE_STANDARD:
    case ID_MODE_BROWSE:
    case ID_MODE_ADVANCED:
        ui.setCheck(mode_ == searchModeOfCommand(id));
        return true;
    case ID_SHOW_REVERSE:
        ui.enable(reverseList_ != nullptr);
        ui.setCheck(reverseShown());
        return true;
    case ID_SWITCH_LANGUAGES:
        ui.enable(searchLanguage_ && translationLanguage_ && searchLanguage_ != translationLanguage_ &&
                  translationLanguage_ != LXSynonyms);
        return true;
    case ID_EDIT_COPY_CMD:
        ui.enable(!searchBoxHasFocus() || editSelection());
        return true;
    case ID_EDIT_CUT_CMD:
        ui.enable(searchBoxHasFocus() && editSelection());
        return true;
    case ID_EDIT_PASTE_CMD:
        ui.enable(searchBoxHasFocus() && IsClipboardFormatAvailable(CF_UNICODETEXT));
        return true;
    case ID_DELETE_ENTRY: {
        JListBox* list = reverseList_ && GetFocus() == reverseList_->hwnd() ? reverseList_.get() : mainList_.get();
        ui.enable(list && list->isSelectedDefinitionModifiable());
        return true;
    }
    }
    return false;
}

// ----- keys --------------------------------------------------------------------------------

bool LXView::preTranslateMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) < 0) return false;
    HWND focus = GetFocus();
    HWND edit = searchEdit();
    bool inSearch = searchBoxHasFocus();
    if (msg.wParam == VK_TAB) {
        HWND cycle[3] = {edit, mainList_ ? mainList_->hwnd() : nullptr,
                         reverseShown() ? reverseList_->hwnd() : nullptr};
        int at = inSearch ? 0 : (focus && focus == cycle[1]) ? 1 : (focus && focus == cycle[2]) ? 2 : -1;
        if (at >= 0) {
            bool back = GetKeyState(VK_SHIFT) < 0;
            for (int step = 1; step <= 3; ++step) {
                int i = ((at + (back ? -step : step)) % 3 + 3) % 3;
                if (cycle[i]) {
                    SetFocus(cycle[i]);
                    if (i == 0) selectAllSearchText();
                    break;
                }
            }
        }
        return true;
    }
    if (msg.wParam == VK_RETURN) {
        // An open history list takes Enter as its choice.
        if (combo_.hwnd() && SendMessageW(combo_.hwnd(), CB_GETDROPPEDSTATE, 0, 0)) return false;
        SetFocus(edit);
        selectAllSearchText();
        search();
        return true;
    }
    if (!inSearch && edit) {
        SetFocus(edit);
        selectAllSearchText();
        msg.hwnd = edit;
    }
    return false;
}

// ----- messages ----------------------------------------------------------------------------

bool LXView::onSize(UINT, int, int) {
    layout();
    return true;
}

bool LXView::onSetCursor(HWND window, UINT, UINT) {
    if (window != hwnd_) return false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return true;
}

bool LXView::onRButtonDown(POINT p, UINT) {
    ClientToScreen(hwnd_, &p);
    showContextMenu(p);
    return true;
}

bool LXView::onTimer(UINT_PTR id) {
    if (id != kWaitTimer || !waitTimer_) return false;
    KillTimer(hwnd_, waitTimer_);
    waitTimer_ = 0;
    if (FindWindowW(nullptr, kHotKeyWindowTitle)) {
        waitTimer_ = SetTimer(hwnd_, kWaitTimer, kWaitTimerMs, nullptr);
        return true;
    }
    createHotKeyWindow();
    if (LXViewHost* h = host()) h->broadcastHotKeyQuestion();
    return true;
}

bool LXView::onCommand(int id, int code, HWND control) {
    if (control) {
        onControlCommand(id, code);
        return true;
    }
    // Menu commands of the view's own pop-up menus.
    if (LXViewHost* h = host())
        h->runCommand(id);
    else
        onRoutedCommand(id);
    return true;
}

void LXView::onSplitterMoved() {
    if (!mainList_ || !reverseList_ || !mainList_->hwnd() || !reverseList_->hwnd()) return;
    RECT a, b;
    GetWindowRect(mainList_->hwnd(), &a);
    GetWindowRect(reverseList_->hwnd(), &b);
    int total = (a.bottom - a.top) + (b.bottom - b.top);
    if (total <= 0) return;
    mainListPercent_ = clampedMainListPercent(std::max<int>(1, (a.bottom - a.top) * 100 / total));
    setSettingInt(kSetMainListPercent, mainListPercent_);
}

void LXView::onDestroy() {
    if (!appOption(kOptSkinningOff)) skinDetachScrollBars(hwnd_);
    destroyDialogs();
    tooltips_.destroy();
    RevokeDragDrop(hwnd_);
    releaseDropTarget();
    clearHistory();
}

LRESULT LXView::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_REGEX_SEARCH_STEP: {
        LRESULT r = 0;
        onRegexStep(r);
        return r;
    }
    case WM_REGEX_SEARCH_DONE:
        endRegexSearch();
        if (mainList_) mainList_->refresh();
        return 0;
    case WM_SPLITTER_MOVED:
        // The skin engine asks the same number whether to leave a control (lParam) unskinned:
        // the view keeps none of its controls out of the skin.
        if (lp != 0) return 0;
        onSplitterMoved();
        return 0;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}
