// The result list window: owns one renderer-model (LXWinListBox) and turns paint, size,
// scroll, wheel, key and mouse messages into calls of the model; offers search, captions,
// fonts, clipboard copy and dragging of the selected entry. The same class serves the main
// list, the reverse list and the list of the pop-up window (pop-up mode, which sends its
// parent none of the view's notifications).
#pragma once
#include "framework/fwwindow.h"
#include "resultlist/lxlistbox.h"
#include <memory>
#include <string>

class LXWinListBox;
class LXDataManager;
struct LXDMRegexOptions;

// Messages between the advanced-search worker and the view.
constexpr UINT WM_REGEX_SEARCH_DONE = 0x80C8;
constexpr UINT WM_REGEX_SEARCH_STEP = 0x80C9;
constexpr COLORREF kListBackground = RGB(255, 255, 255);
// What the skin engine sends a list when the skin changes.
constexpr UINT WM_LIST_SKIN_CHANGED = 0x8035;

// What a list tells the window that owns it (the main view); the pop-up window needs none.
class JListBoxOwner {
public:
    virtual ~JListBoxOwner() = default;
    virtual void onListSelectionChanged(int controlId, const std::wstring& text, bool inTranslation) {}
    virtual void onListContextMenu(int controlId, POINT inOwner) {}
    virtual void onListEntryActivated(int controlId, const std::wstring& text, bool inTranslation) {}
    virtual void onListRecordHistory(const std::wstring& text) {}
};

class JListBox : public FwWindow {
public:
    explicit JListBox(bool popupMode = false);
    ~JListBox() override;

    // Creates the child window and its model; without a parent no model is made.
    bool create(HWND parent, int controlId, LXDataManager* dm, bool popupMode);
    void setOwner(JListBoxOwner* owner) { owner_ = owner; }
    LXWinListBox* model() const { return model_.get(); }
    bool popupMode() const { return popup_; }

    // Searches the text with the given search type (the advanced search goes on in steps).
    void search(const std::wstring& text, LXListBox::SearchType type);
    void setLanguages(int searchLanguage, int translationLanguage, int product, bool redraw);
    void setSearchType(LXListBox::SearchType type);
    // The model's type; stem search without a model.
    LXListBox::SearchType getSearchType() const;
    void setMaxLinesPerTerm(int n);
    void setFont(int tenthsOfPoint, const std::wstring& face);
    HFONT font();
    void setCaptions(int interfaceLanguage, bool withCaption0);
    bool deleteSelectedDefinition();
    bool isSelectedDefinitionModifiable();
    int getSelectionLanguage();
    std::wstring getSelectedText();
    // The text of the cells in view (also the window's text, WM_GETTEXT).
    std::wstring visibleText() const;
    bool isSelectionInATranslation();
    void selectTopResult();
    void copyToClipboard();
    void suspendPainting();
    void resumePainting();
    void applyBackground();
    void refresh();
    void setRegexOptions(const LXDMRegexOptions& options);
    bool continueRegexSearch();
    void cancelRegexSearch();
    bool regexSearchPosition(uint32_t& minimum, uint32_t& maximum, uint32_t& position);
    void enableApproximateSearch(bool on);

    bool preTranslateMessage(MSG& msg) override;

    // The advanced-search worker's two shared values.
    static HWND workerTarget();
    static void stopWorker();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    int onCreate(CREATESTRUCTW& cs) override;
    void onDestroy() override;
    bool onPaint() override;
    bool onEraseBackground(HDC) override { return true; }
    bool onSize(UINT kind, int cx, int cy) override;
    bool onVScroll(int code, HWND bar) override;
    bool onMouseWheel(int delta, UINT keys, POINT at) override;
    bool onKeyDown(UINT key, UINT flags) override;
    bool onGetDlgCode(LRESULT& code) override;
    bool onLButtonDown(POINT at, UINT keys) override;
    bool onMouseMove(POINT at, UINT keys) override;
    bool onLButtonUp(POINT at, UINT keys) override;
    bool onCaptureChanged(HWND newCapture) override;
    bool onLButtonDblClk(POINT at, UINT keys) override;
    bool onRButtonDown(POINT at, UINT keys) override;
    bool onSetFocus(HWND previous) override;

private:
    void onScroll(int code);
    void notifySelection();
    void activateEntry();
    void penUp(int x, int y);
    void showClipboardError(const wchar_t* text);
    void beginDragWatch();
    void dragSelection();

    std::unique_ptr<LXWinListBox> model_;
    JListBoxOwner* owner_ = nullptr;
    bool paintingSuspended_ = false;
    bool penDown_ = false;
    bool dragWatch_ = false;  // pressed inside the selected entry: a drag starts on leaving it
    RECT dragStart_{};
    bool popup_ = false;
    COLORREF background_ = kListBackground;
};
