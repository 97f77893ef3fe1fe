#include "hotkeywnd.h"
#include "accessibleword.h"
#include "capturelibrary.h"
#include "lxapp.h"
#include "lxframe.h"
#include "lxview.h"
#include "options.h"
#include "popuprules.h"
#include "resource.h"
#include "settings.h"
#include "skin_interface.h"
#include "search/lxdatamanager.h"
#include <shellapi.h>
#include <windowsx.h>
#include <algorithm>

const wchar_t kHotKeyWindowTitle[] = L"Wordmere Hotkey";

namespace {
CaptureLibrary* gLibrary = nullptr;

const wchar_t kOwnerTitle[] = L"wordmerehotkey";
const wchar_t kTraceFileName[] = L"/lxtrace.txt";
constexpr UINT kShowNotice = WM_USER + 0x20;  // a fallback's message, shown after the exchange
constexpr int kMessageNoWord = 16510, kMessageUpgradeViewer = 16520, kStringOther = 16100, kStringProductsPage = 9005;
constexpr int kDisplayModeBrowse = 2;
constexpr int kDefaultFontSize = 100;
constexpr int kMaxLinesPerTerm = 3;
constexpr int kHistoryLength = 20;
constexpr DWORD kSearchBoxStyle = 0x10210002;  // visible, vertical scroll bar, tab stop, drop-down

// The fixed layout of the pop-up's client area.
constexpr RECT kLogo{8, 1, 8 + 45, 1 + 60};
constexpr int kBoxLeft = 62, kBoxTop = 4, kBoxWidth = 192, kItemHeight = 16, kBoxItems = 10, kBoxExtra = 26;
constexpr RECT kLeftButton{61, 35, 61 + 85, 35 + 26};
constexpr RECT kRightButton{146, 35, 146 + 85, 35 + 26};
constexpr RECT kSelector{235, 35, 235 + 21, 35 + 26};
constexpr int kListLeft = 8, kListTop = 66, kListWidthLess = 26, kListHeightLess = 92;

void place(HWND w, const RECT& r) { MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE); }

popup::Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

popup::Rect workAreaAt(POINT p) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    HMONITOR m = MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST);
    if (m && GetMonitorInfoW(m, &mi)) return toRect(mi.rcWork);
    RECT desk;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desk, 0);
    return toRect(desk);
}

bool primaryButtonDown() {
    return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
}

bool skinningOn() { return !appOption(kOptSkinningOff); }
}  // namespace

void setCaptureLibrary(CaptureLibrary* library) { gLibrary = library; }
CaptureLibrary* captureLibrary() { return gLibrary; }

// The list tells the pop-up of an activated entry: the pop-up looks it up itself.
class CHotKeyWnd::ListOwner : public JListBoxOwner {
public:
    explicit ListOwner(CHotKeyWnd* w) : w_(w) {}
    void onListEntryActivated(int, const std::wstring& text, bool inTranslation) override {
        if (inTranslation)
            w_->lookUp(text, w_->translationLanguage_, w_->searchLanguage_, w_->product_);
        else
            w_->lookUp(text, w_->searchLanguage_, w_->translationLanguage_, w_->product_);
    }

private:
    CHotKeyWnd* w_;
};

CHotKeyWnd::CHotKeyWnd() : listOwner_(new ListOwner(this)) {}

CHotKeyWnd::~CHotKeyWnd() {
    destroy();
    owner_.destroy();
    if (logo_) DeleteObject(logo_);
    if (selectorIcon_) DestroyIcon(selectorIcon_);
}

// ----- creation ----------------------------------------------------------------------------

bool CHotKeyWnd::createPopup(HWND view, LXDataManager* dm, CaptureLibrary* library, HFONT editFont, HFONT buttonFont) {
    view_ = view;
    dm_ = dm;
    library_ = library;
    if (library_) library_->setTraceFileName(dataFolder() + kTraceFileName);

    // The hidden owner keeps the pop-up off the task bar.
    FwCreateParams o;
    o.className = L"WordmereHotkeyOwner";
    o.title = kOwnerTitle;
    o.style = WS_OVERLAPPEDWINDOW;
    if (!owner_.create(o)) return false;

    FwCreateParams p;
    p.className = L"WordmereHotkey";
    p.title = kHotKeyWindowTitle;
    p.style = WS_POPUP | WS_BORDER | (skinningOn() ? WS_DLGFRAME : 0);
    p.exStyle = WS_EX_TOOLWINDOW;
    p.parent = owner_.hwnd();
    if (!create(p)) return false;

    createChildren(editFont, buttonFont);
    setUp();
    if (getSettingInt(kSetHotkeyDisabled) == 0) enableCapture();
    if (skinningOn()) {
        skinApplyToDialog(hwnd_, L"HotKeyDialog");
        skinApplyToControl(GetDlgItem(hwnd_, kHotKeyLeftLanguage), L"HotKeyLeftLanguageRadio", L"HotKeyDialog");
        skinApplyToControl(GetDlgItem(hwnd_, kHotKeyRightLanguage), L"HotKeyRightLanguageRadio", L"HotKeyDialog");
        skinApplyToControl(selector_.hwnd(), L"HotKeyLanguageSelector", L"HotKeyDialog");
    }
    return true;
}

void CHotKeyWnd::createChildren(HFONT editFont, HFONT buttonFont) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    auto child = [&](const wchar_t* cls, DWORD style, int id) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    };
    list_.reset(new JListBox(true));
    list_->create(hwnd_, kHotKeyList, dm_, true);
    list_->setOwner(listOwner_.get());
    list_->setMaxLinesPerTerm(kMaxLinesPerTerm);
    list_->setSearchType(LXListBox::StemSearch);

    HWND box = child(L"COMBOBOX", kSearchBoxStyle, kHotKeySearchBox);
    combo_.subclass(box);
    if (editFont) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(editFont), FALSE);

    const DWORD radio = WS_VISIBLE | BS_RADIOBUTTON | BS_CENTER | (skinningOn() ? 0 : BS_PUSHLIKE);
    for (int id : {kHotKeyLeftLanguage, kHotKeyRightLanguage}) {
        HWND b = child(L"BUTTON", radio, id);
        if (buttonFont) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), FALSE);
    }
    selector_.subclass(child(L"BUTTON", WS_VISIBLE | BS_PUSHBUTTON | BS_ICON, kHotKeyLanguageSelector));
    selectorIcon_ = static_cast<HICON>(
        LoadImageW(inst, MAKEINTRESOURCEW(IDI_DICTMENU), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    SendMessageW(selector_.hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(selectorIcon_));
    logo_ = static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(IDB_HOTKEY_LOGO), IMAGE_BITMAP, 0, 0, 0));
    child(L"BUTTON", WS_VISIBLE | BS_OWNERDRAW, kHotKeyLogo);
}

void CHotKeyWnd::setUp() {
    int s = languageFromDisplayName(getSettingString(kSetSearchLanguage), LXEnglish);
    int t = languageFromDisplayName(getSettingString(kSetTranslationLanguage), LXEnglish);
    int stored = getSettingInt(kSetProduct);
    if (stored == 0) stored = LXProductDefault;  // as the main view reads it
    int chosenS = 0, chosenT = 0, chosenP = stored;
    if (dm_) {
        LXList<LXModuleType> modules;
        dm_->getDictionaryList(modules);
        bool found = false;
        for (auto it = modules.begin(); it != modules.end() && !found; ++it) {
            const LXModuleType& m = *it;
            bool pair = (m.language1 == s && m.language2 == t) || (m.language1 == t && m.language2 == s);
            if (pair && sameProduct(m.product, static_cast<uint32_t>(stored))) {
                chosenS = s;
                chosenT = t;
                found = true;
            }
        }
        if (!found && modules.begin() != modules.end()) {
            const LXModuleType& m = *modules.begin();
            chosenS = m.language1;
            chosenT = m.language2;
            chosenP = static_cast<int>(m.product);
        }
    }
    selectPair(chosenS, chosenT, chosenP);

    std::wstring face = getSettingString(kSetFont);
    if (face.empty()) {
        face = loadRawString(8002);
        setSettingString(kSetFont, face);
    }
    int size = getSettingInt(kSetFontSize);
    if (size == 0) {
        size = kDefaultFontSize;
        setSettingInt(kSetFontSize, size);
    }
    list_->setFont(size, face);
    layout();
}

void CHotKeyWnd::layout() {
    place(GetDlgItem(hwnd_, kHotKeyLogo), kLogo);
    SendMessageW(combo_.hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kItemHeight);
    MoveWindow(combo_.hwnd(), kBoxLeft, kBoxTop, kBoxWidth, kBoxItems * kItemHeight + kBoxExtra, TRUE);
    place(GetDlgItem(hwnd_, kHotKeyLeftLanguage), kLeftButton);
    place(GetDlgItem(hwnd_, kHotKeyRightLanguage), kRightButton);
    place(selector_.hwnd(), kSelector);
    MoveWindow(list_->hwnd(), kListLeft, kListTop, popup::kPopupWidth - kListWidthLess,
               popup::kPopupHeight - kListHeightLess, TRUE);
}

// ----- the capture library -----------------------------------------------------------------

bool CHotKeyWnd::enableCapture() {
    if (armed_) return true;
    armed_ = library_ && library_->init(hwnd_);
    if (armed_) {
        applyActivationMethod();
        setSettingInt(kSetHotkeyDisabled, 0);
    }
    // A failed start leaves capture off for this session only: the setting is not turned
    // off, so the next start tries again.
    return armed_;
}

void CHotKeyWnd::disableCapture() {
    if (library_ && armed_) library_->disable();
    armed_ = false;
}

void CHotKeyWnd::applyActivationMethod() {
    if (!library_) return;
    popup::ActivationMethod m = popup::activationMethodFor(getSettingString(kSetHotkey));
    library_->setActivationMethod(m.virtualKey, m.button, true);
}

void CHotKeyWnd::beginCapture() {
    if (!library_) return;
    POINT p;
    GetCursorPos(&p);
    library_->begin(p);
}

void CHotKeyWnd::onTextCaptured() {
    wchar_t buffer[kCapturedTextCapacity] = L"";
    if (library_ && library_->copyCapturedText(buffer, kCapturedTextCapacity)) {
        showCapturedWord(popup::cutOutWord(buffer), true);
        return;
    }
    // The previous text stays.
    showCapturedWord(text_, false);
}

void CHotKeyWnd::showCapturedWord(const std::wstring& word, bool found) {
    if (found) {
        text_ = word;
        bool browse = getSettingInt(kSetDisplayMode) == kDisplayModeBrowse;
        searchAndRecord(browse ? LXListBox::Browse : LXListBox::StemSearch);
    }
    SetWindowTextW(combo_.hwnd(), text_.c_str());
    placeNearPointer();
    if (timer_) KillTimer(hwnd_, timer_);
    timer_ = SetTimer(hwnd_, kPointerTrackTimer, kPointerTrackMs, nullptr);
}

void CHotKeyWnd::onCaptureByAccessibility() {
    text_.clear();
    POINT p;
    GetCursorPos(&p);
    AccessibleWordResult r =
        findWordByAccessibility(p, [this] { return library_ ? library_->processFileName() : std::wstring(); });
    if (r.outcome == AccessibleWordResult::kFound) {
        showCapturedWord(popup::cutOutWord(r.word), true);
        return;
    }
    // After the library's exchange has ended, not inside it.
    PostMessageW(hwnd_, kShowNotice,
                 r.outcome == AccessibleWordResult::kViewerTooOld ? kMessageUpgradeViewer : kMessageNoWord, 0);
}

void CHotKeyWnd::showMessage(int id) { showMessageId(id, true, true); }

// ----- searching ---------------------------------------------------------------------------

void CHotKeyWnd::searchAndRecord(LXListBox::SearchType type) {
    list_->search(text_, type);
    list_->refresh();
    addToHistory(text_);
}

void CHotKeyWnd::lookUpTypedText(bool record) {
    text_ = popup::trimBlanks(fwWindowText(combo_.hwnd()));
    list_->search(text_, LXListBox::StemSearch);
    list_->refresh();
    if (record) addToHistory(text_);
}

void CHotKeyWnd::lookUp(const std::wstring& text, int s, int t, int product) {
    selectPair(s, t, product);
    text_ = popup::trimBlanks(text);
    SetWindowTextW(combo_.hwnd(), text_.c_str());
    searchAndRecord(LXListBox::StemSearch);
}

void CHotKeyWnd::addToHistory(const std::wstring& text) {
    HWND box = combo_.hwnd();
    if (text.empty() || !box) return;
    LRESULT at = SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (at != CB_ERR) SendMessageW(box, CB_DELETESTRING, static_cast<WPARAM>(at), 0);
    SendMessageW(box, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    while (SendMessageW(box, CB_GETCOUNT, 0, 0) > kHistoryLength)
        SendMessageW(box, CB_DELETESTRING, static_cast<WPARAM>(kHistoryLength), 0);
    SetWindowTextW(box, text.c_str());
}

// ----- placement and the pointer -----------------------------------------------------------

void CHotKeyWnd::placeNearPointer() {
    POINT p;
    GetCursorPos(&p);
    popup::Placement at = popup::placeNearPointer(p.x, p.y, workAreaAt(p));
    topMargin_ = at.topMargin;
    bottomMargin_ = at.bottomMargin;
    // Shown without activation: the program under the pointer keeps the focus, and the
    // window moves at once (an activated window waits for the window manager). It passes
    // through the topmost band on its way to the top of the others: Wine's X11 side raises a
    // window that is not activated only when no visible window lies above it, and the capture
    // library's topmost strip always does, which left the pop-up under the program in front.
    SetWindowPos(hwnd_, HWND_TOPMOST, at.window.left, at.window.top, at.window.right - at.window.left,
                 at.window.bottom - at.window.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(hwnd_);
}

void CHotKeyWnd::trackPointer() {
    POINT p;
    GetCursorPos(&p);
    RECT r;
    GetWindowRect(hwnd_, &r);
    const popup::Rect w = toRect(r);
    if (popup::pointerInside(w, p.x, p.y)) topMargin_ = bottomMargin_ = 0;
    if (popup::pointerWithinTolerance(w, p.x, p.y, topMargin_, bottomMargin_) || (dragged_ && primaryButtonDown()))
        return;  // the timer goes on
    KillTimer(hwnd_, timer_);
    timer_ = 0;
    dragged_ = false;
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

bool CHotKeyWnd::onTimer(UINT_PTR id) {
    if (id != kPointerTrackTimer) {
        timer_ = 0;
        return true;
    }
    trackPointer();
    return true;
}

// ----- languages ---------------------------------------------------------------------------

void CHotKeyWnd::selectPair(int first, int second, int product) {
    if (first == searchLanguage_ && second == translationLanguage_ && product == product_) return;
    searchLanguage_ = first;
    translationLanguage_ = second;
    product_ = product;
    setSettingString(kSetSearchLanguage, languageDisplayName(first, LXEnglish));
    setSettingString(kSetTranslationLanguage, languageDisplayName(second, LXEnglish));
    setSettingInt(kSetProduct, product);
    updateLanguageButtons();
    list_->setCaptions(currentInterfaceLanguage(), true);
    list_->setLanguages(first, second, product, false);
    text_ = popup::trimBlanks(text_);
    if (!IsWindowVisible(hwnd_)) return;
    searchAndRecord(LXListBox::StemSearch);
    if (auto* link = dynamic_cast<HotKeyViewLink*>(FwWindow::fromHandle(view_)))
        link->followPopupPair(first, second, product);
}

void CHotKeyWnd::updateLanguageButtons() {
    int other = translationLanguage_ == LXSynonyms ? searchLanguage_ : translationLanguage_;
    int low = std::min(searchLanguage_, other), high = std::max(searchLanguage_, other);
    auto halves = splitDictionaryTitle(low, translationLanguage_ == LXSynonyms ? LXSynonyms : high, product_);
    SetDlgItemTextW(hwnd_, kHotKeyLeftLanguage, halves.first.c_str());
    SetDlgItemTextW(hwnd_, kHotKeyRightLanguage, halves.second.c_str());
    bool right = searchLanguage_ == high && searchLanguage_ != low;
    Button_SetCheck(GetDlgItem(hwnd_, kHotKeyLeftLanguage), right ? BST_UNCHECKED : BST_CHECKED);
    Button_SetCheck(GetDlgItem(hwnd_, kHotKeyRightLanguage), right ? BST_CHECKED : BST_UNCHECKED);
}

void CHotKeyWnd::chooseLanguageButton(bool larger) {
    int a = searchLanguage_, b = translationLanguage_;
    if (a == LXLanguageNone || b == LXLanguageNone || a == b || b == LXSynonyms) return;
    int low = std::min(a, b), high = std::max(a, b);
    int want = larger ? high : low;
    if (a == want) return;
    selectPair(want, larger ? low : high, product_);
}

void CHotKeyWnd::showLanguageMenu() {
    HMENU m = CreatePopupMenu();
    if (dm_) {
        LXList<LXModuleType> modules;
        dm_->getDictionaryList(modules);
        const bool directional = appOption(kOptDirectionalDictionaryMenu);
        auto item = [&](int l1, int l2, int p, const std::wstring& title) {
            const int id = dictionaryCommandId(l1, l2, p);
            const bool current = id == dictionaryCommandId(searchLanguage_, translationLanguage_, product_);
            AppendMenuW(m, MF_STRING | (current ? MF_CHECKED : 0), id, title.c_str());
        };
        for (auto it = modules.begin(); it != modules.end(); ++it) {
            int l1 = it->language1, l2 = it->language2, p = static_cast<int>(it->product);
            if (!directional) {
                item(l1, l2, p, dictionaryTitle(l1, l2, p));
                continue;
            }
            item(l1, l2, p, directionalTitle(l1, l2, p));
            if (l1 != l2 && l2 != LXSynonyms) item(l2, l1, p, directionalTitle(l2, l1, p));
        }
    }
    if (!appOption(kOptNoModuleDownload) && !appOption(kOptNoOtherItem))
        AppendMenuW(m, MF_STRING, kDictionaryCommandFirst, loadLocalizedString(kStringOther).c_str());
    RECT r;
    GetWindowRect(selector_.hwnd(), &r);
    // The platform's menu when skinning is off or the skinned one could not be shown (a
    // skinned menu closed without a choice answers 0 with no error code).
    if (!skinningOn() ||
        (!skinShowPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, r.left - 5 * (r.right - r.left), r.top, hwnd_) &&
         skinLastError() != kSkinErrorNone))
        TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.top, 0, hwnd_, nullptr);
    DestroyMenu(m);
}

void CHotKeyWnd::chooseDictionaryCommand(int id) {
    int l1, l2, p;
    if (!decodeDictionaryCommand(id, l1, l2, p)) return;
    if (l1 != 0 || l2 != 0) {
        selectPair(l1, l2, p);
        return;
    }
    if (id == kDictionaryCommandFirst)
        ShellExecuteW(nullptr, L"open", loadRawString(kStringProductsPage).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CHotKeyWnd::refreshCaptions() {
    if (!hwnd_) return;
    updateLanguageButtons();
    list_->setCaptions(currentInterfaceLanguage(), true);
    list_->refresh();
}

// ----- messages ----------------------------------------------------------------------------

bool CHotKeyWnd::preTranslateMessage(MSG& msg) {
    if (!hwnd_) return false;
    if (msg.hwnd == hwnd_ && msg.message == WM_BEGIN_CAPTURE) {
        beginCapture();
        return true;
    }
    if (msg.hwnd == hwnd_ && msg.message == WM_LOOKUP_TYPED_TEXT) {
        lookUpTypedText(false);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
        // An open history list takes Enter as its choice.
        if (SendMessageW(combo_.hwnd(), CB_GETDROPPEDSTATE, 0, 0)) return false;
        lookUpTypedText(true);
        return true;
    }
    return false;
}

bool CHotKeyWnd::onCommand(int id, int code, HWND control) {
    switch (id) {
    case kHotKeyLeftLanguage: chooseLanguageButton(false); return true;
    case kHotKeyRightLanguage: chooseLanguageButton(true); return true;
    case kHotKeyLanguageSelector: showLanguageMenu(); return true;
    case kHotKeySearchBox:
        if (code == CBN_SELCHANGE) PostMessageW(hwnd_, WM_LOOKUP_TYPED_TEXT, 0, 0);
        return true;
    case ID_EDIT_COPY_CMD: list_->copyToClipboard(); return true;
    }
    if (id >= kDictionaryCommandFirst && id <= kDictionaryCommandLast) {
        chooseDictionaryCommand(id);
        return true;
    }
    return FwWindow::onCommand(id, code, control);
}

LRESULT CHotKeyWnd::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TEXT_CAPTURED:
        onTextCaptured();
        return 0;
    case WM_CAPTURE_BY_ACCESSIBILITY:
        onCaptureByAccessibility();
        return 0;
    // Reach the window directly when no pump of the program's pre-translates them.
    case WM_BEGIN_CAPTURE:
        beginCapture();
        return 0;
    case WM_LOOKUP_TYPED_TEXT:
        lookUpTypedText(false);
        return 0;
    case kShowNotice:
        showMessage(static_cast<int>(wp));
        return 0;
    case WM_HOTKEY_ENABLE: {
        if (wp == 1) {
            enableCapture();
            // Wanted on: a failed start is tried again at the next start.
            setSettingInt(kSetHotkeyDisabled, 0);
        } else {
            disableCapture();
            setSettingInt(kSetHotkeyDisabled, 1);
        }
        setUp();
        return 1;
    }
    case WM_HOTKEY_RELOAD:
        applyActivationMethod();
        return 1;
    case WM_MOVING:
        dragged_ = true;
        break;
    case WM_MOVE:
        if (!primaryButtonDown()) dragged_ = false;
        break;
    case WM_PAINT:
        if (!skinningOn()) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            HBRUSH b = CreateSolidBrush(GetBkColor(dc));
            FillRect(dc, &ps.rcPaint, b);
            DeleteObject(b);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (d && d->CtlID == kHotKeyLogo && logo_) {
            HDC mem = CreateCompatibleDC(d->hDC);
            HGDIOBJ old = SelectObject(mem, logo_);
            BitBlt(d->hDC, d->rcItem.left, d->rcItem.top, d->rcItem.right - d->rcItem.left,
                   d->rcItem.bottom - d->rcItem.top, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
            return TRUE;
        }
        break;
    }
    }
    return FwWindow::handleMessage(msg, wp, lp);
}

namespace {
// A notify message returns at once: a hung program cannot hold up our exit.
BOOL CALLBACK nudgeWindow(HWND w, LPARAM) {
    SendNotifyMessageW(w, WM_NULL, 0, 0);
    return TRUE;
}
}  // namespace

void CHotKeyWnd::onDestroy() {
    if (timer_) KillTimer(hwnd_, timer_);
    timer_ = 0;
    disableCapture();
    // Every program runs its message loop once more, so the system can release the
    // capture library from it.
    EnumWindows(nudgeWindow, 0);
}
