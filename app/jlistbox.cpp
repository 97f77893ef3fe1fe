#include "jlistbox.h"
#include "lxwinlistbox.h"
#include "oletext.h"
#include "options.h"
#include "settings.h"
#include "skin_interface.h"
#include <algorithm>
#include <atomic>

namespace {
// The advanced-search worker's process-wide values, shared with the user-interface thread:
// the window it paces and the stop flag the view's Cancel sets.
std::atomic<HWND> gWorkerTarget{nullptr};
std::atomic<bool> gWorkerStop{false};
// Each advanced search has a number; a worker whose search was replaced by a newer one
// stops without a word, so its closing message cannot end the newer search's display.
std::atomic<long> gWorkerGeneration{0};

DWORD WINAPI regexWorker(void* arg) {
    const long generation = static_cast<long>(reinterpret_cast<INT_PTR>(arg));
    for (;;) {
        HWND target = gWorkerTarget;
        if (!target || gWorkerGeneration != generation) return 0;
        LRESULT more = SendMessageW(target, WM_REGEX_SEARCH_STEP, 0, 0);
        if (more == 0 || gWorkerStop) break;
        if (!gWorkerTarget) return 0;
    }
    if (gWorkerGeneration != generation) return 0;
    if (HWND target = gWorkerTarget) PostMessageW(target, WM_REGEX_SEARCH_DONE, 0, 0);
    gWorkerTarget = nullptr;
    return 0;
}
}  // namespace

HWND JListBox::workerTarget() { return gWorkerTarget; }

void JListBox::stopWorker() { gWorkerStop = true; }

JListBox::JListBox(bool popupMode) : popup_(popupMode) {}

JListBox::~JListBox() {
    destroy();
    model_.reset();
}

bool JListBox::create(HWND parent, int controlId, LXDataManager* dm, bool popupMode) {
    popup_ = popupMode;
    model_.reset(new LXWinListBox(this, dm, LXLRectangle()));
    if (!parent) {
        model_.reset();
        return false;
    }
    FwCreateParams p;
    p.className = L"JListBox";
    p.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP;
    p.exStyle = WS_EX_CLIENTEDGE;
    p.parent = parent;
    p.controlId = controlId;
    p.classStyle = CS_OWNDC | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    bool ok = FwWindow::create(p);
    background_ = kListBackground;
    if (ok) {
        HDC dc = GetDC(hwnd_);
        SetBkColor(dc, background_);
        ReleaseDC(hwnd_, dc);
        model_->setFont(model_->fontSize(), model_->faceName());
    }
    return ok;
}

// ----- operations --------------------------------------------------------------------------

void JListBox::search(const std::wstring& text, LXListBox::SearchType type) {
    if (!model_) return;
    const bool advanced = type == LXListBox::RegexSearch;
    if (advanced && text.empty()) return;
    if (type != model_->getSearchType()) model_->setSearchType(type);
    lxstring s;
    toEngineString(text, s);
    long generation = 0;
    if (advanced) {
        // Cleared here rather than in the worker: a Cancel that comes before the worker's
        // first step must still stop it.
        generation = ++gWorkerGeneration;
        gWorkerStop = false;
        gWorkerTarget = GetParent(hwnd_);
    }
    model_->find(s, model_->getSearchLanguage());
    if (advanced) {
        HANDLE t = CreateThread(nullptr, 0, regexWorker, reinterpret_cast<void*>(static_cast<INT_PTR>(generation)), 0,
                                nullptr);
        if (t)
            CloseHandle(t);
        else
            PostMessageW(GetParent(hwnd_), WM_REGEX_SEARCH_DONE, 0, 0);
        SetFocus(hwnd_);
    } else if (type == LXListBox::StemSearch) {
        SetFocus(hwnd_);
    }
}

void JListBox::setLanguages(int s, int t, int product, bool redraw) {
    if (!model_) return;
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    model_->setLanguages(static_cast<LXLanguage>(s), static_cast<LXLanguage>(t), static_cast<uint32_t>(product), redraw);
    SetCursor(old);
}

void JListBox::setSearchType(LXListBox::SearchType type) {
    if (model_ && model_->getSearchType() != type) model_->setSearchType(type);
}

LXListBox::SearchType JListBox::getSearchType() const {
    return model_ ? static_cast<LXListBox::SearchType>(model_->getSearchType()) : LXListBox::StemSearch;
}

void JListBox::setMaxLinesPerTerm(int n) {
    if (model_) model_->setMaxLinesPerTerm(static_cast<uint32_t>(n));
}

void JListBox::setFont(int tenths, const std::wstring& face) {
    if (model_) model_->setFont(tenths, face);
}

HFONT JListBox::font() { return model_ ? model_->font() : nullptr; }

void JListBox::setCaptions(int lang, bool withCaption0) {
    if (!model_) return;
    static const struct {
        int index, id;
    } captions[] = {{2, 16270}, {3, 16490}, {4, 16400}, {5, 16430}, {6, 16420}, {7, 16410}};
    lxstring s;
    for (auto& c : captions) {
        toEngineString(loadLocalizedString(c.id, lang), s);
        model_->setCaption(c.index, s);
    }
    if (withCaption0) {
        toEngineString(loadLocalizedString(16250, lang), s);
        model_->setCaption(0, s);
    }
}

bool JListBox::deleteSelectedDefinition() { return model_ && model_->deleteSelectedDefinition(); }

bool JListBox::isSelectedDefinitionModifiable() { return model_ ? model_->isSelectedDefinitionModifiable() : true; }

int JListBox::getSelectionLanguage() {
    if (!model_) return 0;
    return model_->isSelectionInATranslation() ? model_->getTranslationLanguage() : model_->getSearchLanguage();
}

std::wstring JListBox::visibleText() const {
    std::wstring text;
    if (!model_) return text;
    LXListConstIterator<LXLCharInfo> it = model_->getTopVisibleChar(), last = model_->getLastVisibleChar();
    bool first = true;
    int32_t y = 0;
    for (; !it.isAtEnd(); ++it) {
        const LXLCharInfo& cell = *it;
        if (!first && cell.y != y) text += L'\n';
        first = false;
        y = cell.y;
        if (cell.codePoint != 0) {  // a result's end
            wchar_t units[2];
            text.append(units, static_cast<size_t>(utf16Units(cell.codePoint, units)));
        }
        if (it == last) break;
    }
    return text;
}

bool JListBox::isSelectionInATranslation() { return model_ && model_->isSelectionInATranslation(); }

std::wstring JListBox::getSelectedText() {
    if (!model_) return std::wstring();
    lxstring s;
    model_->getSelectedString(s);
    return fromEngineString(s);
}

void JListBox::selectTopResult() {
    if (!model_) return;
    model_->selectTopResult();
    notifySelection();
}

void JListBox::suspendPainting() { paintingSuspended_ = true; }

void JListBox::resumePainting() {
    paintingSuspended_ = false;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void JListBox::applyBackground() {
    if (!hwnd_) return;
    HDC dc = GetDC(hwnd_);
    SetBkColor(dc, background_);
    ReleaseDC(hwnd_, dc);
    if (model_) model_->refresh();
}

void JListBox::refresh() {
    if (model_) model_->refresh();
}

void JListBox::setRegexOptions(const LXDMRegexOptions& o) {
    if (model_) model_->setRegexOptions(o);
}

bool JListBox::continueRegexSearch() { return model_ && model_->continueRegexSearch(); }

void JListBox::cancelRegexSearch() {
    if (model_) model_->cancelRegexSearch();
    refresh();
}

bool JListBox::regexSearchPosition(uint32_t& minimum, uint32_t& maximum, uint32_t& position) {
    if (!model_) return false;
    model_->getRegexSearchPosition(minimum, maximum, position);
    return true;
}

void JListBox::enableApproximateSearch(bool on) {
    if (model_) model_->enableApproximateSearch(on);
}

void JListBox::showClipboardError(const wchar_t* text) { showMessage(text); }

void JListBox::copyToClipboard() {
    if (!model_) return;
    if (!OpenClipboard(hwnd_)) {
        showClipboardError(L"Cannot open the Clipboard");
        return;
    }
    if (!EmptyClipboard()) {
        CloseClipboard();
        showClipboardError(L"Cannot empty the Clipboard");
        return;
    }
    std::wstring text = getSelectedText();
    SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL g = GlobalAlloc(GMEM_FIXED, bytes);
    bool ok = false;
    if (g) {
        memcpy(reinterpret_cast<void*>(g), text.c_str(), bytes);
        ok = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
        if (!ok) GlobalFree(g);  // still ours when the clipboard did not take it
    }
    CloseClipboard();
    if (!ok) showClipboardError(L"Unable to set Clipboard data");
}

// ----- notifications -----------------------------------------------------------------------

void JListBox::notifySelection() {
    if (popup_ || !owner_ || !model_) return;
    owner_->onListSelectionChanged(GetDlgCtrlID(hwnd_), getSelectedText(), model_->isSelectionInATranslation());
}

void JListBox::activateEntry() {
    if (!model_ || !owner_) return;
    std::wstring text = getSelectedText();
    if (text.empty()) return;
    // The pop-up window's owner looks the text up itself; the main view's starts a search.
    owner_->onListEntryActivated(GetDlgCtrlID(hwnd_), text, model_->isSelectionInATranslation());
}

// ----- painting, scrolling, keys, mouse ----------------------------------------------------

bool JListBox::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    HBRUSH b = CreateSolidBrush(background_);
    FillRect(dc, &r, b);
    DeleteObject(b);
    if (!paintingSuspended_ && model_) model_->draw(true);
    EndPaint(hwnd_, &ps);
    return true;
}

void JListBox::onScroll(int code) {
    if (!model_) return;
    int type = 0;
    uint32_t position = 0;
    switch (code) {
    case SB_LINEUP: type = LXLEventLineUp; break;
    case SB_LINEDOWN: type = LXLEventLineDown; break;
    case SB_PAGEUP: type = LXLEventPageUp; break;
    case SB_PAGEDOWN: type = LXLEventPageDown; break;
    case SB_THUMBTRACK: {
        // The 32-bit track position, not the 16 bits of the message.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd_, SB_VERT, &si);
        type = LXLEventThumb;
        position = static_cast<uint32_t>(std::max(si.nTrackPos, 0));
        break;
    }
    case SB_TOP: type = LXLEventThumb; break;
    case SB_BOTTOM: {
        int32_t v, mn, mx, pg;
        model_->getScrollBarInfo(v, mn, mx, pg);
        type = LXLEventThumb;
        position = static_cast<uint32_t>(std::max(mx, 0));
        break;
    }
    default: return;
    }
    model_->handleScrollEvent(type, position);
    model_->refresh();
}

bool JListBox::preTranslateMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.hwnd != hwnd_ || !model_) return false;
    bool (LXListBox::*move)() = nullptr;
    switch (msg.wParam) {
    case VK_RETURN:
        SendMessageW(hwnd_, WM_KEYDOWN, msg.wParam, msg.lParam);
        return true;
    case VK_PRIOR:
        model_->handleScrollEvent(LXLEventPageUp, 0);
        model_->refresh();
        return true;
    case VK_NEXT:
        model_->handleScrollEvent(LXLEventPageDown, 0);
        model_->refresh();
        return true;
    case VK_END: move = &LXListBox::goToBottom; break;
    case VK_HOME: move = &LXListBox::goToTop; break;
    case VK_LEFT: move = &LXListBox::goLeft; break;
    case VK_UP: move = &LXListBox::goUp; break;
    case VK_RIGHT: move = &LXListBox::goRight; break;
    case VK_DOWN: move = &LXListBox::goDown; break;
    default: return false;
    }
    std::wstring before = getSelectedText();
    bool scrolled = (model_.get()->*move)();
    if (scrolled) model_->refresh();
    // The selection may move without the view scrolling; the parent hears of every move.
    if (scrolled || getSelectedText() != before) notifySelection();
    return true;
}

bool JListBox::onKeyDown(UINT key, UINT) {
    if (!model_) return true;
    switch (key) {
    case VK_RETURN: {
        std::wstring text = getSelectedText();
        if (text.empty()) return true;
        if (model_->getSearchType() == LXListBox::StemSearch) {
            model_->browseToSelectedStem();
            model_->refresh();
            if (!popup_ && owner_) owner_->onListRecordHistory(text);
        } else {
            activateEntry();
        }
        return true;
    }
    case VK_PRIOR: onScroll(SB_PAGEUP); return true;
    case VK_NEXT: onScroll(SB_PAGEDOWN); return true;
    case VK_HOME: onScroll(SB_TOP); return true;
    case VK_END: onScroll(SB_BOTTOM); return true;
    case VK_UP: onScroll(SB_LINEUP); return true;
    case VK_DOWN: onScroll(SB_LINEDOWN); return true;
    }
    return true;
}

void JListBox::beginDragWatch() {
    LXLRectangle sel;
    model_->getSelectedRect(sel);
    RECT start = LXWinListBox::toRect(sel);
    if (IsRectEmpty(&start)) GetClientRect(hwnd_, &start);
    dragStart_ = start;
    dragWatch_ = true;
    SetCapture(hwnd_);
}

void JListBox::dragSelection() {
    std::wstring text = getSelectedText();
    if (text.empty()) return;
    IDataObject* data = createTextDataObject(text);
    IDropSource* source = createDropSource();
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
    source->Release();
    data->Release();
}

bool JListBox::onLButtonDown(POINT at, UINT) {
    const int x = at.x, y = at.y;
    SetFocus(hwnd_);
    if (!model_) return true;
    LXLRectangle sel;
    model_->getSelectedRect(sel);
    bool inSelection = sel.width > 0 && sel.height > 0 && x >= sel.left && x < sel.left + sel.width &&
                       y >= sel.top && y < sel.top + sel.height;
    if (inSelection && model_->getSearchType() != LXListBox::StemSearch) {
        // Only movement out of the entry starts the drag; a release inside it is a plain click.
        beginDragWatch();
        return true;
    }
    SetCapture(hwnd_);
    penDown_ = true;
    model_->onPenDown(x, y);
    return true;
}

void JListBox::penUp(int x, int y) {
    // Read before releasing: the release's WM_CAPTURECHANGED clears the flag.
    bool wasDown = penDown_;
    penDown_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (!model_ || !wasDown || !model_->onPenUp(x, y)) return;
    if (model_->getSearchType() == LXListBox::StemSearch) {
        std::wstring text = getSelectedText();
        model_->browseToSelectedStem();
        model_->refresh();
        notifySelection();
        if (!popup_ && owner_) owner_->onListRecordHistory(text);
    } else {
        notifySelection();
    }
}

int JListBox::onCreate(CREATESTRUCTW&) {
    if (!appOption(kOptSkinningOff)) {
        skinWatchWindow(hwnd_, WM_LIST_SKIN_CHANGED);
        skinAttachScrollBars(hwnd_, 1);
    }
    return 0;
}

void JListBox::onDestroy() {
    if (!appOption(kOptSkinningOff)) {
        skinDetachScrollBars(hwnd_);
        skinUnwatchWindow(hwnd_);
    }
}

bool JListBox::onSize(UINT, int cx, int cy) {
    if (model_) {
        model_->setRect(LXLRectangle(0, 0, std::max(cx, 6), std::max(cy, 10)));
        model_->refresh();
    }
    return true;
}

bool JListBox::onVScroll(int code, HWND bar) {
    // Only the window's own bar; a scroll-bar control's messages are not ours.
    if (!bar) onScroll(code);
    return true;
}

bool JListBox::onMouseWheel(int delta, UINT, POINT) {
    if (delta > 0)
        onScroll(SB_LINEUP);
    else if (delta < 0)
        onScroll(SB_LINEDOWN);
    return true;
}

bool JListBox::onGetDlgCode(LRESULT& code) {
    code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return true;
}

bool JListBox::onMouseMove(POINT at, UINT) {
    if (dragWatch_) {
        if (!PtInRect(&dragStart_, at)) {
            dragWatch_ = false;
            if (GetCapture() == hwnd_) ReleaseCapture();
            dragSelection();
        }
        return true;
    }
    return model_ && !model_->onPenMove(at.x, at.y);
}

bool JListBox::onLButtonUp(POINT at, UINT) {
    if (dragWatch_) {
        dragWatch_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        return true;
    }
    if (penDown_ || GetCapture() == hwnd_) {
        penUp(at.x, at.y);
        return true;
    }
    return false;
}

bool JListBox::onCaptureChanged(HWND newCapture) {
    // A lost capture ends the press; the model keeps what it has selected so far.
    if (newCapture != hwnd_) penDown_ = dragWatch_ = false;
    return false;
}

bool JListBox::onLButtonDblClk(POINT, UINT) {
    if (!getSelectedText().empty()) activateEntry();
    return true;
}

bool JListBox::onRButtonDown(POINT at, UINT) {
    if (!popup_ && owner_) {
        MapWindowPoints(hwnd_, GetParent(hwnd_), &at, 1);
        owner_->onListContextMenu(GetDlgCtrlID(hwnd_), at);
    }
    return true;
}

bool JListBox::onSetFocus(HWND) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    return false;
}

LRESULT JListBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(visibleText().size());
    case WM_GETTEXT: {
        // The window's text is what it shows, for accessibility tools and test drivers.
        std::wstring text = visibleText();
        if (wp == 0 || !lp) return 0;
        size_t n = std::min<size_t>(text.size(), static_cast<size_t>(wp) - 1);
        text.copy(reinterpret_cast<wchar_t*>(lp), n);
        reinterpret_cast<wchar_t*>(lp)[n] = 0;
        return static_cast<LRESULT>(n);
    }
    }
    return FwWindow::handleMessage(msg, wp, lp);
}
