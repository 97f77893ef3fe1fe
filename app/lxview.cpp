#include "lxview.h"
#include "lxapp.h"
#include "lxframe.h"
#include "options.h"
#include "resource.h"
#include "settings.h"

bool LXView::createView(LXFrame* frame) {
    frame_ = frame;
    return create(L"LXView", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, 0, 0, 0, 0,
                  frame->hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xE900)));
}

void LXView::initialUpdate() {
    // The stored dictionary is taken when the data manager offers it; with no dictionary at
    // all the view starts with no languages.
    int s = languageFromDisplayName(getSettingString(kSetSearchLanguage), 1);
    int t = languageFromDisplayName(getSettingString(kSetTranslationLanguage), 1);
    int p = getSettingInt(kSetProduct);
    if (p == 0) p = 10;
    LXDataManager* dm = dataManager();
    if (dm && dm->isLanguagePairAvailable(s, t)) {
        searchLanguage_ = s;
        translationLanguage_ = t;
        product_ = p;
    } else {
        searchLanguage_ = translationLanguage_ = 0;
        product_ = 10;
    }
    int mode = getSettingInt(kSetDisplayMode);
    mode_ = mode < 1 || mode > 3 ? 1 : mode;
    if (frame_) frame_->setHistoryButtons(false, false);
    refreshCaptions();
}

void LXView::selectDictionary(int s, int t, int product, bool radioOnly) {
    if (s == searchLanguage_ && t == translationLanguage_ && product == product_) return;
    if (s > 11 || (t > 11 && t != 255)) return;
    searchLanguage_ = s;
    translationLanguage_ = t;
    product_ = product;
    setSettingString(kSetSearchLanguage, languageDisplayName(s, 1));
    setSettingString(kSetTranslationLanguage, languageDisplayName(t, 1));
    setSettingInt(kSetProduct, product);
    if (mode_ != 3) search();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void LXView::search() {
    if (!appOption(0x40000) && mode_ != 3) mode_ = 1;
    // The result lists run the search once they exist.
}

void LXView::setSearchMode(int mode) {
    mode_ = mode;
    setSettingInt(kSetDisplayMode, mode);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool LXView::searchBoxHasFocus() const {
    HWND f = GetFocus();
    return f && (GetDlgCtrlID(f) == 1001 || GetDlgCtrlID(f) == 1002) && IsChild(hwnd_, f);
}

void LXView::refreshCaptions() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

bool LXView::onCommand(int id) {
    if (id >= ID_LANG_ENGLISH && id <= ID_LANG_PORTUGUESE) {
        if (frame_) frame_->applyInterfaceLanguage((id - ID_LANG_ENGLISH) / 10 + 1);
        return true;
    }
    return false;
}

bool LXView::onUpdateCommand(FwCmdUI& ui) {
    if (ui.id() >= ID_LANG_ENGLISH && ui.id() <= ID_LANG_PORTUGUESE) {
        ui.setCheck((ui.id() - ID_LANG_ENGLISH) / 10 + 1 == currentInterfaceLanguage());
        return true;
    }
    return false;
}

void LXView::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    std::wstring line = searchLanguage_ ? directionalTitle(searchLanguage_, translationLanguage_, product_)
                                        : applicationName() + L" " + currentVersionString();
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TextOutW(dc, 8, 8, line.c_str(), static_cast<int>(line.size()));
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

LRESULT LXView::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}
