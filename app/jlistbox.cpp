#include "jlistbox.h"
#include "lxwinlistbox.h"
#include "oletext.h"
#include "options.h"
#include "settings.h"
#include "skin_interface.h"
#include <windowsx.h>
#include <algorithm>

namespace {
// The advanced-search worker's two process-wide values: the window it paces and the stop
// flag the view's Cancel sets.
volatile HWND gWorkerTarget = nullptr;
volatile LONG gWorkerStop = 0;
// Each advanced search has a number; a worker whose search was replaced by a newer one
// stops without a word, so its closing message cannot end the newer search's display.
volatile LONG gWorkerGeneration = 0;

DWORD WINAPI regexWorker(void* arg) {
    const LONG generation = static_cast<LONG>(reinterpret_cast<INT_PTR>(arg));
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

int wheelDelta(WPARAM wp) { return GET_WHEEL_DELTA_WPARAM(wp); }
}  // namespace

HWND JListBox::workerTarget() { return gWorkerTarget; }

void JListBox::stopWorker() { InterlockedExchange(&gWorkerStop, 1); }

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
    bool ok = FwWindow::create(L"JListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 0, 0,
                               0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), nullptr,
                               CS_OWNDC | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    background_ = 0xFFFFFF;
    if (ok) {
        HDC dc = GetDC(hwnd_);
        SetBkColor(dc, background_);
        ReleaseDC(hwnd_, dc);
        model_->setFont(model_->fontSize(), model_->faceName());
    }
    return ok;
}

// ----- operations --------------------------------------------------------------------------

void JListBox::search(const std::wstring& text, int mode) {
    if (!model_) return;
    if (mode == 3 && text.empty()) return;
    if (mode != 0 && mode != model_->getSearchType()) model_->setSearchType(mode);
    lxstring s;
    toEngineString(text, s);
    LONG generation = 0;
    if (mode == 3) {
        // Cleared here rather than in the worker: a Cancel that comes before the worker's
        // first step must still stop it.
        generation = InterlockedIncrement(&gWorkerGeneration);
        InterlockedExchange(&gWorkerStop, 0);
        gWorkerTarget = GetParent(hwnd_);
    }
    model_->find(s, model_->getSearchLanguage());
    if (mode == 3) {
        HANDLE t = CreateThread(nullptr, 0, regexWorker, reinterpret_cast<void*>(static_cast<INT_PTR>(generation)), 0,
                                nullptr);
        if (t)
            CloseHandle(t);
        else
            PostMessageW(GetParent(hwnd_), WM_REGEX_SEARCH_DONE, 0, 0);
        SetFocus(hwnd_);
    } else if (mode == 2) {
        SetFocus(hwnd_);
    }
}

void JListBox::setLanguages(int s, int t, int product, bool redraw) {
    if (!model_) return;
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    model_->setLanguages(static_cast<LXLanguage>(s), static_cast<LXLanguage>(t), static_cast<uint32_t>(product), redraw);
    SetCursor(old);
}

void JListBox::setSearchType(int type) {
    if (model_ && model_->getSearchType() != type) model_->setSearchType(type);
}

int JListBox::getSearchType() const { return model_ ? model_->getSearchType() : 2; }

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
        uint32_t cp = cell.codePoint;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            text += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else if (cp != 0) {
            text += static_cast<wchar_t>(cp);
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

void JListBox::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    HBRUSH b = CreateSolidBrush(background_);
    FillRect(dc, &r, b);
    DeleteObject(b);
    if (!paintingSuspended_ && model_) model_->draw(true);
    EndPaint(hwnd_, &ps);
}

void JListBox::onScroll(int code, int) {
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

void JListBox::onKeyDown(WPARAM key) {
    if (!model_) return;
    switch (key) {
    case VK_RETURN: {
        std::wstring text = getSelectedText();
        if (text.empty()) return;
        if (model_->getSearchType() == LXListBox::StemSearch) {
            model_->browseToSelectedStem();
            model_->refresh();
            if (!popup_ && owner_) owner_->onListRecordHistory(text);
        } else {
            activateEntry();
        }
        return;
    }
    case VK_PRIOR: onScroll(SB_PAGEUP, 0); return;
    case VK_NEXT: onScroll(SB_PAGEDOWN, 0); return;
    case VK_HOME: onScroll(SB_TOP, 0); return;
    case VK_END: onScroll(SB_BOTTOM, 0); return;
    case VK_UP: onScroll(SB_LINEUP, 0); return;
    case VK_DOWN: onScroll(SB_LINEDOWN, 0); return;
    }
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

void JListBox::onLButtonDown(int x, int y) {
    SetFocus(hwnd_);
    if (!model_) return;
    LXLRectangle sel;
    model_->getSelectedRect(sel);
    bool inSelection = sel.width > 0 && sel.height > 0 && x >= sel.left && x < sel.left + sel.width &&
                       y >= sel.top && y < sel.top + sel.height;
    if (inSelection && model_->getSearchType() != LXListBox::StemSearch) {
        // Only movement out of the entry starts the drag; a release inside it is a plain click.
        beginDragWatch();
        return;
    }
    SetCapture(hwnd_);
    penDown_ = true;
    model_->onPenDown(x, y);
}

void JListBox::onLButtonUp(int x, int y) {
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

LRESULT JListBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = defaultProc(msg, wp, lp);
        if (r != -1 && !appOption(kOptSkinningOff)) {
            skinWatchWindow(hwnd_, 0x8035);
            skinAttachScrollBars(hwnd_, 1);
        }
        return r;
    }
    case WM_DESTROY:
        if (!appOption(kOptSkinningOff)) {
            skinDetachScrollBars(hwnd_);
            skinUnwatchWindow(hwnd_);
        }
        break;
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (model_) {
            int cx = LOWORD(lp), cy = HIWORD(lp);
            model_->setRect(LXLRectangle(0, 0, std::max(cx, 6), std::max(cy, 10)));
            model_->refresh();
        }
        return 0;
    case WM_VSCROLL:
        // Only the window's own bar; a scroll-bar control's messages are not ours.
        if (lp == 0) onScroll(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_MOUSEWHEEL:
        if (wheelDelta(wp) > 0)
            onScroll(SB_LINEUP, 0);
        else if (wheelDelta(wp) < 0)
            onScroll(SB_LINEDOWN, 0);
        return 0;
    case WM_KEYDOWN:
        onKeyDown(wp);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
        onLButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_MOUSEMOVE:
        if (dragWatch_) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (!PtInRect(&dragStart_, p)) {
                dragWatch_ = false;
                if (GetCapture() == hwnd_) ReleaseCapture();
                dragSelection();
            }
            return 0;
        }
        if (model_ && !model_->onPenMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))) return 0;
        break;
    case WM_LBUTTONUP:
        if (dragWatch_) {
            dragWatch_ = false;
            if (GetCapture() == hwnd_) ReleaseCapture();
            return 0;
        }
        if (penDown_ || GetCapture() == hwnd_) {
            onLButtonUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        // A lost capture ends the press; the model keeps what it has selected so far.
        if (reinterpret_cast<HWND>(lp) != hwnd_) penDown_ = dragWatch_ = false;
        break;
    case WM_LBUTTONDBLCLK:
        if (!getSelectedText().empty()) activateEntry();
        return 0;
    case WM_RBUTTONDOWN:
        if (!popup_ && owner_) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            MapWindowPoints(hwnd_, GetParent(hwnd_), &p, 1);
            owner_->onListContextMenu(GetDlgCtrlID(hwnd_), p);
        }
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
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
