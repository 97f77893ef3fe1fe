// The main view: the form of dialog template 1000 that fills the main frame: the search box
// with its history, the search-mode button, the two language buttons of the selected
// dictionary, the dictionary menu button, the advanced-search buttons and progress bar, the
// main result list and the reverse list with a splitter between them, and the hot-key line.
// It turns typing, keys, clicks, menu commands and dropped text into searches on the lists
// and paces the advanced (regular-expression) search.
#pragma once
#include "framework/fwframe.h"
#include "framework/fwtooltip.h"
#include "framework/fwwindow.h"
#include "frameview.h"
#include "hotkeywnd.h"
#include "imagebutton.h"
#include "jlistbox.h"
#include "searchmode.h"
#include "searchtextcombo.h"
#include "splitterbar.h"
#include "viewhost.h"
#include <cstdint>
#include <memory>
#include <string>

class LXDataManager;
class LXViewDropTarget;
class CConjugationDialog;
class CNumbersDialog;

// One entry of the search history, kept as the item data of the search box's list.
struct SearchHistoryItem {
    int searchLanguage = 0, translationLanguage = 0, product = LXProductDefault;
    std::wstring text;
    LXListBox::SearchType searchType = LXListBox::StemSearch;
};

// Dictionary command ids and their decoding: the first id plus language1, 13 times language2
// (12 standing for the thesaurus language) and 169 times the product. The first id itself
// (no languages) is the module download.
constexpr int kDictionaryCommandFirst = 20000, kDictionaryCommandLast = 24999;
int dictionaryCommandId(int language1, int language2, int product);
bool decodeDictionaryCommand(int id, int& language1, int& language2, int& product);
// Whether two history texts differ by one character added or removed at the end.
bool differsByLastCharacter(const std::wstring& a, const std::wstring& b);
// The lists' context menu for an interface language (its first sub-menu is shown), with the
// option word's deletions applied.
HMENU contextMenuFor(int interfaceLanguage, uint32_t options);
// The interface language of commands 11320 (English) .. 11370 (Portuguese).
int interfaceLanguageOfCommand(int id);
// The headword of a selected result as a verb to conjugate: its first line without the
// stem arrow, cut before any note, part of speech or second form.
std::wstring bareHeadword(const std::wstring& selected);
// Whether two product codes name one product (0 and 2 do).
bool sameProduct(uint32_t a, uint32_t b);
// The main list's share of the list area, in per cent, from the stored setting.
int clampedMainListPercent(int stored);

class LXView : public FwWindow,
               public FwCommandTarget,
               public JListBoxOwner,
               public LXFrameView,
               public HotKeyViewLink {
public:
    LXView();
    ~LXView() override;
    // The view fills `frame`, a window whose object is an LXViewHost; the lists search the
    // modules of `dm`.
    bool createView(HWND frame, LXDataManager* dm);
    void initialUpdate();

    int product() const { return product_; }
    void selectDictionary(int search, int translation, int product, bool radioOnly);
    void search();
    void setSearchTextAndSearch(const std::wstring& text);
    void recordHistory(const std::wstring* given);
    SearchMode searchMode() const { return mode_; }
    void clearSearchText();
    bool searchBoxHasFocus() const;
    void redrawLists();
    void relayoutLists();
    bool regexSearchRunning() const { return regexRunning_; }
    JListBox* mainList() const { return mainList_.get(); }
    JListBox* reverseList() const { return reverseList_.get(); }
    HWND searchEdit() const;
    bool reverseShown() const;

    bool onRoutedCommand(int id) override;
    bool onUpdateCommandUI(FwCmdUI& ui) override;
    bool preTranslateMessage(MSG& msg) override;

    // LXFrameView
    int searchLanguage() const override { return searchLanguage_; }
    int translationLanguage() const override { return translationLanguage_; }
    void selectLanguagePair(int searchLanguage, int translationLanguage) override;
    std::wstring searchText() const override;
    void pasteIntoSearchBox() override;
    void stepHistory(int delta) override;
    void setSearchMode(SearchMode mode) override;
    void suspendListPainting(bool suspend) override;
    void refreshCaptions() override;
    void refreshAfterModuleChange() override;

    // JListBoxOwner
    void onListSelectionChanged(int controlId, const std::wstring& text, bool inTranslation) override;
    void onListContextMenu(int controlId, POINT inOwner) override;
    void onListEntryActivated(int controlId, const std::wstring& text, bool inTranslation) override;
    void onListRecordHistory(const std::wstring& text) override { recordHistory(&text); }

    // HotKeyViewLink: a pair chosen in the pop-up look-up window.
    void followPopupPair(int searchLanguage, int translationLanguage, int product) override;
    CHotKeyWnd* hotKeyWindow() const { return hotKey_.get(); }

    // Drag and drop onto the view (the drop target calls these).
    bool dragEnter(const std::wstring& text);
    bool dragOver(POINT screen);
    void dragLeave();
    void drop(POINT screen);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onDestroy() override;
    bool onSize(UINT kind, int cx, int cy) override;
    bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;
    bool onRButtonDown(POINT at, UINT keys) override;
    bool onTimer(UINT_PTR id) override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void layout();
    void updateControls();
    void onControlCommand(int id, int code);
    void onSplitterMoved();
    void onRegexStep(LRESULT& result);
    void endRegexSearch();
    void cancelRegexSearch();
    void showModeMenu();
    void showOptionsMenu();
    void showWildcardMenu();
    void showDictionaryMenu();
    void chooseDictionaryCommand(int id);
    void switchDictionary(int language1, int language2, int product);
    void createHotKeyWindow();
    void chooseLanguageButton(bool right);
    void switchLanguages();
    void nextDictionary();
    void clearHistory();
    void historyPicked();
    void applyHistoryItem(const SearchHistoryItem& item, bool setText);
    void updateHistoryButtons();
    void restoreEditSelection();
    void insertWildcard(int id);
    void toggleRegexOption(int id);
    void applyRegexOptions();
    void chooseFont();
    void releaseDropTarget();
    void copy();
    void emptyReverseList();
    void showContextMenu(POINT screen);
    int targetLanguageAt(POINT screen, bool& accepted);
    int controlHeightOfGo();
    void setModeCaption();
    LXListBox::SearchType listSearchType() const;
    void selectAllSearchText();
    void updateTooltips();
    void createDialogs();
    void destroyDialogs();
    void openConjugation();
    void openNumbers();
    void addEntries();

    // The window holding the view, while its object is alive.
    LXViewHost* host() const;
    HWND ownerWindow() const;

    LXDataManager* dataManager_ = nullptr;
    int searchLanguage_ = 0, translationLanguage_ = 0, product_ = LXProductDefault;
    SearchMode mode_ = SearchMode::Standard;
    bool browseOnce_ = false;
    bool posix_ = false, matchCase_ = false, wholeWords_ = true, ignoreAccents_ = true;
    std::unique_ptr<JListBox> mainList_, reverseList_;
    std::unique_ptr<CHotKeyWnd> hotKey_;
    CSplitterBar splitter_;
    LXSearchTextComboBox combo_;
    CImageButtonWithStyle dictButton_;
    UINT_PTR waitTimer_ = 0;
    int statusLanguage_ = -1;
    std::wstring draggedText_;
    std::wstring fontFace_;
    int fontSize_ = 90;
    int mainListPercent_ = 65;
    bool regexRunning_ = false;
    int stepCounter_ = 0;
    int goHeight_ = 0;
    bool paintingSuspended_ = false;
    LXViewDropTarget* dropTarget_ = nullptr;
    FwToolTip tooltips_;
    std::unique_ptr<CConjugationDialog> conjugationDialog_;
    std::unique_ptr<CNumbersDialog> numbersDialog_;
};

// The string of a view control's tooltip text; 0 for a control without one.
int viewTooltipString(int controlId);
