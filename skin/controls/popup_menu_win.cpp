// The skinned popup menus (Windows).
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <memory>

#include "fwsubclass.h"
#include "popup_menu.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "window_skinner.h"

const wchar_t kPopupMenuClass[] = L"GlossvanePopupMenuWnd";

namespace {

constexpr UINT_PTR kSubmenuTimer = 1001;
constexpr UINT kSubmenuDelay = 500;
constexpr int kMenuTextChars = 256;
constexpr int kCheckSquare = 6;
constexpr int kArrowHeight = 8, kArrowWidth = 4, kArrowInset = 4;
constexpr WPARAM kMenuClosed = 0xFFFF0000;
constexpr LPARAM kAltContext = 0x20000000;
constexpr DWORD kMenuExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
const wchar_t kThisProperty[] = L"this";
// The menus' pictures are keyed with the skin's usual magenta.
constexpr COLORREF kMenuKey = 0x00FF00FF;

// A picture's cut-out of that source size centred in the square.
RECT centredIn(const RECT &square, const SkinRect &source)
{
    const int x = square.left + (square.right - square.left - source.width()) / 2;
    const int y = square.top + (square.bottom - square.top - source.height()) / 2;
    return RECT{x, y, x + source.width(), y + source.height()};
}

// A rectangle mirrored within a width.
RECT mirroredIn(const RECT &r, int width) { return RECT{width - r.right, r.top, width - r.left, r.bottom}; }

// Copies a width x height image turned round left to right, one column at a time.
void mirrorColumns(HDC target, HDC source, int width, int height)
{
    for (int x = 0; x < width; ++x) BitBlt(target, width - 1 - x, 0, 1, height, source, x, 0, SRCCOPY);
}

// Copies an image to a window's DC in its unmirrored device coordinates: a right-to-left
// window's DC is mirrored, and copying through it would turn the image round once more. The
// part `left` (device coordinates too) keeps what the DC shows there.
void copyUnmirrored(HDC dc, int width, int height, HDC source, const RECT *left = nullptr)
{
    const DWORD layout = GetLayout(dc);
    const bool mirrored = layout != GDI_ERROR && layout != 0;
    if (mirrored) SetLayout(dc, 0);
    if (left != nullptr) ExcludeClipRect(dc, left->left, left->top, left->right, left->bottom);
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    if (mirrored) SetLayout(dc, layout);
}

// A memory DC for a window's image, in plain left-to-right coordinates.
std::unique_ptr<MemoryDC> imageFor(HDC windowDC, int width, int height)
{
    auto memory = std::make_unique<MemoryDC>(windowDC, width, height);
    if (!memory->isValid()) return nullptr;
    SetLayout(memory->dc(), 0);
    return memory;
}

thread_local SkinPopupMenu *gTracked = nullptr;

bool registerClass()
{
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS | CS_CLASSDC;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPopupMenuClass;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per object below
    registered = RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

SkinRect workAreaAt(POINT at)
{
    MONITORINFO info{sizeof info};
    if (GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info)) return toSkinRect(info.rcWork);
    return SkinRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

POINT screenPoint(HWND window, LPARAM lp)
{
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(window, &p);
    return p;
}

// The owner window's procedure before the caption link, kept while a menu is shown.
const wchar_t kOwnerProcProperty[] = L"SKIN_WNDPROC";

// The top-level window of a window: up through its parents while it is a child.
HWND topLevelOf(HWND window)
{
    HWND w = window;
    while (w != nullptr && (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(w);
        if (parent == nullptr) break;
        w = parent;
    }
    return w;
}

LRESULT keepCaptionProc(HWND window, UINT message, WPARAM wp, LPARAM lp, void *)
{
    if (message == WM_NCACTIVATE && wp == FALSE) {
        return TRUE;
    }
    return fwDefSubclassProc(window, message, wp, lp);
}

}  // namespace

SkinPopupMenu::SkinPopupMenu(HWND owner, SkinPopupMenu *parent, Mode mode) : owner_(owner), parent_(parent), mode_(mode) {}

SkinPopupMenu::~SkinPopupMenu()
{
    close();
    if (ownsFont_ && font_ != nullptr) DeleteObject(font_);
}

SkinPopupMenu *SkinPopupMenu::current() { return gTracked; }

SkinPopupMenu *SkinPopupMenu::top()
{
    SkinPopupMenu *m = this;
    while (m->parent_ != nullptr) m = m->parent_;
    return m;
}

SkinPopupMenu *SkinPopupMenu::deepest()
{
    SkinPopupMenu *m = this;
    while (m->sub_) m = m->sub_.get();
    return m;
}

SkinPopupMenu *SkinPopupMenu::menuAt(POINT screen)
{
    if (sub_) {
        if (SkinPopupMenu *inner = sub_->menuAt(screen)) return inner;
    }
    RECT r;
    return window_ != nullptr && GetWindowRect(window_, &r) && PtInRect(&r, screen) ? this : nullptr;
}

bool SkinPopupMenu::create()
{
    if (!registerClass()) return false;
    HWND ownerOfWindow = parent_ != nullptr ? parent_->window_ : owner_;
    DWORD exStyle = kMenuExStyle;
    rightToLeft_ = ownerOfWindow != nullptr && (GetWindowLongW(ownerOfWindow, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    if (rightToLeft_) exStyle |= WS_EX_LAYOUTRTL;
    window_ = CreateWindowExW(exStyle, kPopupMenuClass, L"", WS_POPUP, 0, 0, 100, 100, ownerOfWindow, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return false;
    SetPropW(window_, kThisProperty, this);
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinPopupMenu::classProc));
    return true;
}

void SkinPopupMenu::keepOwnerCaption()
{
    if (parent_ != nullptr || captionWindow_ != nullptr) return;
    HWND top = topLevelOf(owner_);
    if (top == nullptr || !IsWindow(top)) return;
    const LONG_PTR before = GetWindowLongPtrW(top, GWLP_WNDPROC);
    if (!fwAddSubclass(top, &keepCaptionProc, this)) return;
    SetPropW(top, kOwnerProcProperty, reinterpret_cast<HANDLE>(before));
    captionWindow_ = top;
}

void SkinPopupMenu::releaseOwnerCaption()
{
    if (captionWindow_ == nullptr) return;
    if (IsWindow(captionWindow_)) {
        fwRemoveSubclass(captionWindow_, &keepCaptionProc, this);
        RemovePropW(captionWindow_, kOwnerProcProperty);
    }
    captionWindow_ = nullptr;
}

void SkinPopupMenu::close()
{
    releaseOwnerCaption();
    closeSubmenu();
    if (window_ == nullptr) return;
    KillTimer(window_, kSubmenuTimer);
    if (GetCapture() == window_) ReleaseCapture();
    RemovePropW(window_, kThisProperty);
    HWND w = window_;
    window_ = nullptr;
    DestroyWindow(w);
}

void SkinPopupMenu::load(HMENU menu)
{
    menu_ = menu;
    items_.clear();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItem item;
        wchar_t text[kMenuTextChars] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, kMenuTextChars, MF_BYPOSITION);
        item.text = text;
        item.position = i;
        item.commandId = GetMenuItemID(menu, i);
        item.hasSubmenu = GetSubMenu(menu, i) != nullptr;
        const UINT raw = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        // A submenu's state carries its item count in the high byte.
        item.state = item.hasSubmenu ? ((raw & 0xFF) | menu_state::kPopup) : raw;
        item.mnemonic = menuMnemonic(item.text);
        items_.push_back(item);
    }
    hot_ = -1;
}

void SkinPopupMenu::setDefinition(PopupMenuDefinition *definition)
{
    if (definition == nullptr) {
        if (!builtIn_) builtIn_ = std::make_unique<PopupMenuDefinition>();
        definition = builtIn_.get();
    }
    definition_ = definition;
    design_ = designPieces(*definition);
    borders_ = frameBorders(design_, rightToLeft_);
    if (ownsFont_ && font_ != nullptr) DeleteObject(font_);
    font_ = skinFontFromRecord(definition->font);
    ownsFont_ = font_ != nullptr;
    if (font_ == nullptr) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE SkinPopupMenu::measure()
{
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE test{0, 0};
    GetTextExtentPoint32W(dc, L"TEST", 4, &test);
    const SkinRect &margins = definition_->highlight.margins;
    itemHeight_ = menuItemHeight(test.cy, 0, margins.top, margins.bottom);
    SIZE blank{0, 0};
    GetTextExtentPoint32W(dc, L" ", 1, &blank);
    std::vector<int32_t> widths;
    std::vector<bool> tabs;
    for (const MenuItem &item : items_) {
        RECT r{0, 0, 0, 0};
        std::wstring shown = item.text;
        std::replace(shown.begin(), shown.end(), L'\t', L' ');
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        widths.push_back(r.right - r.left);
        tabs.push_back(item.text.find(L'\t') != std::wstring::npos);
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    const MenuMetrics metrics{borders_.left, borders_.top, borders_.right, borders_.bottom, margins.left, margins.right,
                              itemHeight_};
    const SkinRect size = menuWindowSize(widths, blank.cx, tabs, metrics);
    return SIZE{size.width(), size.height()};
}

void SkinPopupMenu::show(const SkinRect &screen)
{
    // The frame's widths are known now: the non-client area is measured again.
    SetWindowPos(window_, HWND_TOPMOST, screen.left, screen.top, screen.width(), screen.height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    const RECT inner = innerRect();
    band_.layout(static_cast<int32_t>(items_.size()), itemHeight_, inner.bottom - inner.top);
    for (MenuItem &item : items_) item.hot = false;
    hot_ = -1;
    if (parent_ == nullptr) {
        GetCursorPos(&pointerAtShow_);
        pointerMoved_ = false;
        keepOwnerCaption();
        SetCapture(window_);
    }
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

RECT SkinPopupMenu::innerRect() const
{
    RECT client;
    GetClientRect(window_, &client);
    return client;
}

RECT SkinPopupMenu::itemRect(int index) const
{
    const RECT inner = innerRect();
    const int top = inner.top + band_.itemTop(index);
    return RECT{inner.left, top, inner.right, top + itemHeight_};
}

// ---- drawing

void SkinPopupMenu::paintFrame()
{
    RECT window;
    GetWindowRect(window_, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    HDC dc = GetWindowDC(window_);
    if (dc == nullptr) return;
    std::unique_ptr<MemoryDC> frame = imageFor(dc, width, height);
    if (frame) {
        const SkinRepository *skin = definition_->owner();
        const RECT all{0, 0, width, height};
        skinFillRect(frame->dc(), all, definition_->backgroundFill);
        const FramePieces pieces = layoutFramePieces(design_, width, height);
        for (int i = 0; i < kPieceCount; ++i) {
            if (!pieces[i].isEmpty() && definition_->pictures[i].isSet()) {
                skinDrawPicture(skin, frame->dc(), toRECT(pieces[i]), definition_->pictures[i],
                                definition_->backgroundFill, kSkinNoFill, false);
            }
        }
        HDC image = frame->dc();
        std::unique_ptr<MemoryDC> turned;
        if (rightToLeft_ && (turned = imageFor(dc, width, height))) {
            mirrorColumns(turned->dc(), frame->dc(), width, height);
            image = turned->dc();
        }
        // Only the border strips: the client area is the items'.
        const RECT client{borders_.left, borders_.top, width - borders_.right, height - borders_.bottom};
        copyUnmirrored(dc, width, height, image, &client);
    }
    ReleaseDC(window_, dc);
}

void SkinPopupMenu::paintClient(HDC windowDC)
{
    if (definition_ == nullptr) return;
    RECT client;
    GetClientRect(window_, &client);
    std::unique_ptr<MemoryDC> pictures = imageFor(windowDC, client.right, client.bottom);
    if (!pictures) return;
    paint(pictures->dc(), client, Layer::kPictures);
    HDC image = pictures->dc();
    std::unique_ptr<MemoryDC> turned;
    if (rightToLeft_) {
        turned = imageFor(windowDC, client.right, client.bottom);
        if (!turned) return;
        mirrorColumns(turned->dc(), pictures->dc(), client.right, client.bottom);
        image = turned->dc();
    }
    paint(image, client, Layer::kTexts);
    copyUnmirrored(windowDC, client.right, client.bottom, image);
}

void SkinPopupMenu::paint(HDC dc, const RECT &client, Layer layer)
{
    if (layer == Layer::kPictures) skinFillRect(dc, client, definition_->backgroundFill);
    const RECT inner = innerRect();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inner.left, inner.top + band_.upArrowHeight(), inner.right,
                      inner.bottom - band_.downArrowHeight());
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    for (int i = band_.firstVisible(); i < band_.firstVisible() + band_.visibleCount(); ++i) {
        paintItem(dc, i, itemRect(i), layer);
    }
    SelectObject(dc, oldFont);
    RestoreDC(dc, saved);
    if (layer == Layer::kPictures && band_.scrolling()) {
        const COLORREF arrow = definition_->normalText.textColor();
        const int cx = (inner.left + inner.right) / 2;
        const int upMid = inner.top + band_.upArrowHeight() / 2;
        const int downMid = inner.bottom - band_.downArrowHeight() / 2;
        const POINT up[3] = {{cx - 4, upMid + 2}, {cx + 4, upMid + 2}, {cx, upMid - 2}};
        const POINT down[3] = {{cx - 4, downMid - 2}, {cx + 4, downMid - 2}, {cx, downMid + 2}};
        skinTriangle(dc, up, arrow);
        skinTriangle(dc, down, arrow);
    }
}

void SkinPopupMenu::paintItem(HDC dc, int index, const RECT &row, Layer layer)
{
    const MenuItem &item = items_[static_cast<size_t>(index)];
    const SkinRepository *skin = definition_->owner();
    if (item.separator()) {
        if (layer != Layer::kPictures) return;
        const SkinNineGrid &image = definition_->separator;
        if (!image.isSet()) {
            RECT line{row.left, (row.top + row.bottom) / 2, row.right, (row.top + row.bottom) / 2 + 2};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            return;
        }
        RECT at = row;
        const int h = image.source.height();
        if (h < row.bottom - row.top) {
            at.top = row.top + (row.bottom - row.top - h) / 2;
            at.bottom = at.top + h;
        }
        skinDrawKeyedNineGrid(skin, dc, at, image, kMenuKey);
        return;
    }
    const bool hot = index == hot_;
    const SkinRect &m = definition_->highlight.margins;
    const SkinTextEffect &effect =
        !item.enabled() ? definition_->disabledText : hot ? definition_->hotText : definition_->normalText;
    if (layer == Layer::kTexts) {
        RECT text{row.left + m.left + itemHeight_ + 1, row.top + m.top, row.right - m.right - itemHeight_,
                  row.bottom - m.bottom};
        UINT nameSide = DT_LEFT, shortcutSide = DT_RIGHT, reading = 0;
        if (rightToLeft_) {
            // The pictures were turned round: the text goes to the mirrored place, read from
            // the right.
            RECT client;
            GetClientRect(window_, &client);
            text = mirroredIn(text, client.right);
            nameSide = DT_RIGHT;
            shortcutSide = DT_LEFT;
            reading = DT_RTLREADING;
        }
        const MenuTextParts parts = splitMenuText(item.text);
        skinStyledText(dc, effect, text, parts.name.c_str(), static_cast<int>(parts.name.size()),
                       DT_SINGLELINE | DT_VCENTER | nameSide | reading);
        if (!parts.shortcut.empty()) {
            skinStyledText(dc, effect, text, parts.shortcut.c_str(), static_cast<int>(parts.shortcut.size()),
                           DT_SINGLELINE | DT_VCENTER | shortcutSide | reading);
        }
        return;
    }
    if (hot) {
        if (definition_->highlight.isSet()) {
            skinDrawKeyedNineGrid(skin, dc, row, definition_->highlight, kMenuKey);
        } else {
            skinFillRect(dc, row, definition_->hotFill);
        }
    }
    const RECT left{row.left, row.top, row.left + itemHeight_, row.bottom};
    if (item.checked()) {
        const SkinPicture &check = definition_->check;
        if (check.isSet()) {
            skinDrawKeyedPicture(skin, dc, centredIn(left, check.source), check, kMenuKey);
        } else {
            const int x = left.left + (itemHeight_ - kCheckSquare) / 2, y = left.top + (itemHeight_ - kCheckSquare) / 2;
            skinFillRect(dc, RECT{x, y, x + kCheckSquare, y + kCheckSquare}, 0);
        }
    }
    if (item.hasSubmenu) {
        const SkinPicture &arrow = definition_->arrow;
        const RECT right{row.right - itemHeight_, row.top, row.right, row.bottom};
        if (arrow.isSet()) {
            skinDrawKeyedPicture(skin, dc, centredIn(right, arrow.source), arrow, kMenuKey);
        } else {
            const int tip = row.right - m.right - kArrowInset, mid = (row.top + row.bottom) / 2;
            const POINT points[3] = {{tip - kArrowWidth, mid - kArrowHeight / 2}, {tip - kArrowWidth, mid + kArrowHeight / 2},
                                     {tip, mid}};
            skinTriangle(dc, points, effect.textColor());
        }
    }
}

// ---- behaviour

void SkinPopupMenu::setHot(int index, bool byMouse)
{
    if (index == hot_) return;
    if (hot_ >= 0 && hot_ < static_cast<int>(items_.size())) items_[static_cast<size_t>(hot_)].hot = false;
    hot_ = index;
    if (index >= 0) {
        MenuItem &item = items_[static_cast<size_t>(index)];
        item.hot = true;
        band_.ensureVisible(index);
        const UINT id = item.hasSubmenu ? static_cast<UINT>(item.position) : item.commandId;
        UINT flags = MF_HILITE | (item.hasSubmenu ? MF_POPUP : 0) | (byMouse ? MF_MOUSESELECT : 0);
        SendMessageW(owner_, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(menu_));
    }
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

void SkinPopupMenu::openSubmenu(int index, bool selectFirst)
{
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const MenuItem &item = items_[static_cast<size_t>(index)];
    if (!item.hasSubmenu || !item.enabled()) return;
    if (sub_ && subIndex_ == index) return;
    closeSubmenu();
    HMENU submenu = GetSubMenu(menu_, item.position);
    SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), static_cast<LPARAM>(item.position));
    auto child = std::make_unique<SkinPopupMenu>(owner_, this, mode_);
    if (!child->create()) return;
    child->load(submenu);
    child->setDefinition(definition_ == builtIn_.get() ? nullptr : definition_);
    const SIZE size = child->measure();
    RECT row = itemRect(index);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT *>(&row), 2);
    const SkinRect area = workAreaAt(POINT{row.right, row.top});
    const bool rtl = (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    child->show(placeSubmenu(toSkinRect(row), size.cx, size.cy, area, rtl));
    sub_ = std::move(child);
    subIndex_ = index;
    if (selectFirst) sub_->setHot(nextMenuItem(sub_->items_, -1, +1), false);
}

void SkinPopupMenu::closeSubmenu()
{
    if (!sub_) return;
    sub_->close();
    sub_.reset();
    subIndex_ = -1;
}

void SkinPopupMenu::finish(bool withCommand, uint32_t command, bool escaped)
{
    SkinPopupMenu *t = top();
    if (t->done_) return;
    SendMessageW(owner_, WM_MENUSELECT, kMenuClosed, 0);
    for (SkinPopupMenu *m = t; m != nullptr; m = m->sub_.get()) {
        if (m->window_ != nullptr) ShowWindow(m->window_, SW_HIDE);
    }
    t->releaseOwnerCaption();
    t->done_ = true;
    t->escaped_ = escaped;
    PostMessageW(owner_, WM_SKIN_END_POPUP_MENU, 0, 0);
    if (!withCommand) return;
    switch (mode_) {
    case kSystemMode:
        PostMessageW(owner_, WM_SYSCOMMAND, command, 0);
        break;
    case kReturnMode:
        t->hasResult_ = true;
        t->result_ = command;
        break;
    default:
        PostMessageW(owner_, WM_COMMAND, command, 0);
        break;
    }
}

void SkinPopupMenu::choose(int index, bool openSubmenus)
{
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const MenuItem &item = items_[static_cast<size_t>(index)];
    if (item.hasSubmenu) {
        if (openSubmenus) openSubmenu(index, true);
        return;
    }
    if (!item.givesCommand()) return;
    finish(true, item.commandId, false);
}

void SkinPopupMenu::forwardKey(WPARAM key, LPARAM data) { PostMessageW(owner_, WM_SKIN_MENU_RELAY, key, data); }

void SkinPopupMenu::onPointerMove(POINT screen)
{
    // The system reports a move when a menu appears under a pointer that stands still; the
    // item under it is not highlighted until the pointer really moves (else the keyboard would
    // start from that item).
    if (!pointerMoved_) {
        if (screen.x == pointerAtShow_.x && screen.y == pointerAtShow_.y) return;
        pointerMoved_ = true;
    }
    SkinPopupMenu *target = menuAt(screen);
    if (target == nullptr) {
        SkinPopupMenu *last = deepest();
        if (last->hot_ >= 0 && !last->sub_) last->setHot(-1, true);
        if (mode_ == kMenuBarMode) PostMessageW(owner_, WM_SKIN_MENU_OVER_NOTHING, 0, MAKELPARAM(screen.x, screen.y));
        return;
    }
    POINT local = screen;
    ScreenToClient(target->window_, &local);
    const RECT inner = target->innerRect();
    const int index = target->band_.itemAt(local.y - inner.top);
    if (index < 0 || index == target->hot_) return;
    KillTimer(target->window_, kSubmenuTimer);
    if (target->sub_ && target->subIndex_ != index) target->closeSubmenu();
    target->setHot(index, true);
    if (target->items_[static_cast<size_t>(index)].hasSubmenu) SetTimer(target->window_, kSubmenuTimer, kSubmenuDelay, nullptr);
}

void SkinPopupMenu::onButtonDown(POINT screen, bool right)
{
    SkinPopupMenu *target = menuAt(screen);
    if (target == nullptr) {
        finish(false, 0, false);
        if (mode_ == kMenuBarMode) {
            PostMessageW(owner_, right ? WM_SKIN_MENU_RCLICK_OUTSIDE : WM_SKIN_MENU_CLICK_OUTSIDE, 0,
                         MAKELPARAM(screen.x, screen.y));
        } else {
            PostMessageW(owner_, WM_NCLBUTTONDOWN, HTNOWHERE, MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    POINT local = screen;
    ScreenToClient(target->window_, &local);
    const RECT inner = target->innerRect();
    const int y = local.y - inner.top;
    if (target->band_.inUpArrow(y)) {
        if (target->band_.scrollUp()) InvalidateRect(target->window_, nullptr, FALSE);
        return;
    }
    if (target->band_.inDownArrow(y)) {
        if (target->band_.scrollDown()) InvalidateRect(target->window_, nullptr, FALSE);
        return;
    }
    target->choose(target->band_.itemAt(y), false);
}

void SkinPopupMenu::onKey(WPARAM key)
{
    switch (key) {
    case VK_RETURN:
        if (hot_ >= 0 && items_[static_cast<size_t>(hot_)].enabled()) choose(hot_, true);
        return;
    case VK_ESCAPE:
    case VK_LEFT:
        if (parent_ != nullptr) {
            SendMessageW(owner_, WM_MENUSELECT, kMenuClosed, 0);
            // The parent closes this window once this message is done.
            PostMessageW(parent_->window_, WM_SKIN_CLOSE_SUBMENU, 0, 0);
        } else if (key == VK_ESCAPE) {
            finish(false, 0, true);
        } else {
            forwardKey(key, 0);
        }
        return;
    case VK_UP:
    case VK_DOWN:
        setHot(nextMenuItem(items_, hot_, key == VK_DOWN ? +1 : -1), false);
        return;
    case VK_RIGHT:
        if (hot_ >= 0 && items_[static_cast<size_t>(hot_)].hasSubmenu && items_[static_cast<size_t>(hot_)].enabled()) {
            openSubmenu(hot_, true);
        } else {
            forwardKey(key, 0);
        }
        return;
    default: {
        const int found = findMnemonicItem(items_, static_cast<wchar_t>(key), true);
        if (found >= 0) {
            setHot(found, false);
            choose(found, true);
        }
        return;
    }
    }
}

void SkinPopupMenu::onAltKey(WPARAM key)
{
    const int found = findMnemonicItem(items_, static_cast<wchar_t>(key), false);
    if (found >= 0) {
        if (items_[static_cast<size_t>(found)].enabled()) choose(found, true);
        return;
    }
    if (mode_ == kPopupMode) {
        finish(false, 0, false);
    } else {
        forwardKey(key, kAltContext);
    }
}

LRESULT CALLBACK SkinPopupMenu::classProc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    auto *self = static_cast<SkinPopupMenu *>(GetPropW(window, kThisProperty));
    if (self == nullptr || self->window_ != window) return DefWindowProcW(window, message, wp, lp);
    return self->windowProc(message, wp, lp);
}

LRESULT SkinPopupMenu::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        paintClient(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_NCCALCSIZE: {
        // The frame pieces around the items (borders_ already has the sides of the screen).
        RECT *r = reinterpret_cast<RECT *>(lp);
        r->left += borders_.left;
        r->top += borders_.top;
        r->right = std::max(r->left, r->right - borders_.right);
        r->bottom = std::max(r->top, r->bottom - borders_.bottom);
        return 0;
    }
    case WM_NCPAINT:
        if (definition_ != nullptr) paintFrame();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        top()->onPointerMove(screenPoint(window_, lp));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        top()->onButtonDown(screenPoint(window_, lp), message == WM_RBUTTONDOWN);
        return 0;
    case WM_KEYDOWN:
        onKey(wp);
        return 0;
    case WM_SYSKEYDOWN:
        if ((lp & kAltContext) != 0 && wp != VK_MENU) onAltKey(wp);
        // Never to the default procedure: Alt or F10 let go there would ask the window under
        // the menu for its menu bar (SC_KEYMENU) while this menu runs.
        return 0;
    case WM_SYSKEYUP:
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        return 0;
    case WM_TIMER:
        if (wp == kSubmenuTimer) {
            KillTimer(window_, kSubmenuTimer);
            openSubmenu(hot_, false);
            return 0;
        }
        break;
    case WM_SKIN_CLOSE_SUBMENU:
        closeSubmenu();
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the menu ends as when it loses the activation.
        if (parent_ == nullptr && !done_ && reinterpret_cast<HWND>(lp) != window_) finish(false, 0, false);
        return 0;
    case WM_CANCELMODE:
        finish(false, 0, false);
        return 0;
    case WM_DESTROY: {
        // Destroyed from outside (its owner went): the window is no longer ours, and the loop
        // ends instead of waiting on for input to a menu that is gone.
        SkinPopupMenu *t = top();
        KillTimer(window_, kSubmenuTimer);
        RemovePropW(window_, kThisProperty);
        const LRESULT r = DefWindowProcW(window_, message, wp, lp);
        window_ = nullptr;
        if (!t->done_) {
            t->releaseOwnerCaption();
            t->done_ = true;
        }
        return r;
    }
    case WM_NCDESTROY:
        releaseOwnerCaption();
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        return SendMessageW(owner_, message, wp, lp);
    default:
        break;
    }
    return DefWindowProcW(window_, message, wp, lp);
}

PopupMenuDefinition *SkinPopupMenu::skinDefinition()
{
    SkinRepository *skin = SkinManager::instance().currentSkin();
    SkinObject *object = skin ? skin->findObjectByType(kSkinPopupMenu) : nullptr;
    return object != nullptr && object->type() == kSkinPopupMenu ? static_cast<PopupMenuDefinition *>(object) : nullptr;
}

int SkinPopupMenu::track(HMENU menu, UINT flags, int x, int y, HWND owner, bool systemMenu)
{
    if (menu == nullptr || !IsMenu(menu) || gTracked != nullptr) return -1;
    const Mode mode = systemMenu ? kSystemMode : (flags & track_flags::kReturnCommand) != 0 ? kReturnMode : kPopupMode;
    SkinPopupMenu top(owner, nullptr, mode);
    SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), systemMenu ? 0x10000 : 0);
    if (!top.create()) return -1;
    top.load(menu);
    top.setDefinition(skinDefinition());
    const SIZE size = top.measure();
    const bool rtl = owner != nullptr && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    top.show(placePopupMenu(x, y, size.cx, size.cy, flags, workAreaAt(POINT{x, y}), rtl));
    return top.runLoop();
}

int SkinPopupMenu::trackMenuBarItem(HMENU submenu, const RECT &item, HWND frame)
{
    if (submenu == nullptr || !IsMenu(submenu) || gTracked != nullptr) return -1;
    SkinPopupMenu top(frame, nullptr, kMenuBarMode);
    if (!top.create()) return -1;
    top.load(submenu);
    top.setDefinition(skinDefinition());
    const SIZE size = top.measure();
    const bool rtl = frame != nullptr && (GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    top.show(placeMenuBarPopup(toSkinRect(item), size.cx, size.cy, workAreaAt(POINT{item.left, item.bottom}), rtl));
    return top.runLoop();
}

void SkinPopupMenu::endCurrent()
{
    SkinPopupMenu *t = gTracked;
    if (t == nullptr || t->done_) return;
    for (SkinPopupMenu *m = t; m != nullptr; m = m->sub_.get()) {
        if (m->window_ != nullptr) ShowWindow(m->window_, SW_HIDE);
    }
    t->releaseOwnerCaption();
    t->done_ = true;
}

int SkinPopupMenu::runLoop()
{
    const bool systemMenu = mode_ == kSystemMode;
    gTracked = this;
    bool quit = false;
    while (!done_) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the quit belongs to the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            quit = true;
            break;
        }
        if (got == -1) {
            quit = true;
            break;
        }
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_LEFT) &&
            deepest()->parent_ != nullptr) {
            // Escape or Left in a submenu closes that submenu only (here, outside its window's
            // own procedure, which it destroys).
            SendMessageW(owner_, WM_MENUSELECT, kMenuClosed, 0);
            deepest()->parent_->closeSubmenu();
            continue;
        }
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            // The keyboard drives the deepest open menu, wherever the focus is.
            msg.hwnd = deepest()->window_;
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (systemMenu) {
                finish(false, 0, false);
                DispatchMessageW(&msg);
                gTracked = nullptr;
                return 0;
            }
            break;
        default:
            break;
        }
        DispatchMessageW(&msg);
    }
    gTracked = nullptr;
    close();
    if (mode_ == kReturnMode) return hasResult_ ? static_cast<int>(result_) : 0;
    return quit || escaped_ ? 0 : 1;
}

int skinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    return SkinPopupMenu::track(menu, flags, x, y, owner, false);
}

int skinTrackMenuBarItem(HMENU submenu, const RECT &item, HWND frame)
{
    return SkinPopupMenu::trackMenuBarItem(submenu, item, frame);
}

void skinEndMenuBarItem() { SkinPopupMenu::endCurrent(); }

#endif
