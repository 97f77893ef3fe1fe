// The pop-up look-up window "Wordmere Hotkey": the program's side of the capture library. It
// arms the library, takes its notifications, turns the captured text into a search word,
// looks it up in its own result list (pop-up mode) and stands next to the pointer until the
// pointer moves away. When nothing could be read and the window under the pointer is the
// PDF viewer's page view, it reads the word through Active Accessibility. The user can also
// type into its search box and change its language pair.
#pragma once
#include "framework/fwwindow.h"
#include "imagebutton.h"
#include "jlistbox.h"
#include "searchtextcombo.h"
#include <memory>
#include <string>

class CaptureLibrary;
class LXDataManager;

// Messages of the pop-up window (the capture library's three, its own search box's, and
// the options dialog's two).
enum HotKeyMessage : UINT {
    WM_TEXT_CAPTURED = 0x83F3,
    WM_BEGIN_CAPTURE = 0x83F4,
    WM_CAPTURE_BY_ACCESSIBILITY = 0x83F5,
    WM_LOOKUP_TYPED_TEXT = 0x83F6,
};

// The pop-up window's controls.
enum HotKeyControl {
    kHotKeySearchBox = 2301,
    kHotKeyLeftLanguage = 2302,
    kHotKeyRightLanguage = 2303,
    kHotKeyLanguageSelector = 2304,
    kHotKeyList = 2305,
    kHotKeyLogo = 2306,
};

extern const wchar_t kHotKeyWindowTitle[];
constexpr UINT_PTR kPointerTrackTimer = 1;
constexpr UINT kPointerTrackMs = 200;
constexpr int kCapturedTextCapacity = 512;

// What the pop-up asks of the main view: the view follows a pair chosen in the pop-up.
// The pop-up finds it as the object of the view's window, so it never calls a view that
// is gone.
class HotKeyViewLink {
public:
    virtual ~HotKeyViewLink() = default;
    virtual void followPopupPair(int searchLanguage, int translationLanguage, int product) = 0;
};

class CHotKeyWnd : public FwWindow {
public:
    CHotKeyWnd();
    ~CHotKeyWnd() override;
    // Creates the hidden owner, the pop-up and its children; arms capture unless "Hotkey
    // Disabled" is set. `view` is the main view's window; the fonts are the view's search
    // box's and language buttons'.
    bool createPopup(HWND view, LXDataManager* dm, CaptureLibrary* library, HFONT editFont, HFONT buttonFont);

    // Looks a text up with the given pair (the list's entry activation).
    void lookUp(const std::wstring& text, int searchLanguage, int translationLanguage, int product);
    void refreshCaptions();
    bool captureArmed() const { return armed_; }
    JListBox* list() const { return list_.get(); }

    bool preTranslateMessage(MSG& msg) override;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onDestroy() override;
    bool onTimer(UINT_PTR id) override;
    bool onCommand(int id, int code, HWND control) override;

private:
    class ListOwner;
    void createChildren(HFONT editFont, HFONT buttonFont);
    void setUp();
    void layout();
    bool enableCapture();
    void disableCapture();
    void applyActivationMethod();
    void onTextCaptured();
    void onCaptureByAccessibility();
    void showCapturedWord(const std::wstring& word, bool fromCapture);
    void lookUpTypedText(bool addToHistory);
    void beginCapture();
    void placeNearPointer();
    void trackPointer();
    void showLanguageMenu();
    void chooseDictionaryCommand(int id);
    void chooseLanguageButton(bool larger);
    void selectPair(int first, int second, int product);
    void updateLanguageButtons();
    void searchAndRecord(LXListBox::SearchType type);
    void addToHistory(const std::wstring& text);
    void showMessage(int id);
    HWND viewWindow() const { return view_; }

    LXDataManager* dm_ = nullptr;
    CaptureLibrary* library_ = nullptr;
    HWND view_ = nullptr;
    FwWindow owner_;
    std::unique_ptr<JListBox> list_;
    std::unique_ptr<ListOwner> listOwner_;
    LXSearchTextComboBox combo_;
    CImageButtonWithStyle selector_;
    HBITMAP logo_ = nullptr;
    HICON selectorIcon_ = nullptr;
    std::wstring text_;
    int searchLanguage_ = 0, translationLanguage_ = 0, product_ = 0;
    int topMargin_ = 0, bottomMargin_ = 0;
    bool dragged_ = false;
    UINT_PTR timer_ = 0;
    bool armed_ = false;
};
