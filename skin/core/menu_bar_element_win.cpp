// The skinned frame's menu bar on a real window (Windows).
#ifdef _WIN32
#include "menu_bar_element.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "frame_nonclient.h"
#include "menu_entries.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_repository.h"

namespace {

constexpr UINT kItemTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
constexpr UINT kPopupFlags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON;

// The bar whose submenu the thread shows now (one menu loop runs at a time on a thread).
thread_local MenuBarElement *gTracking = nullptr;

// Set in a WM_SYSCHAR's lParam while Alt is held.
constexpr LPARAM kAltHeld = 1 << 29;

// The bars of the process's skinned frames, and one keyboard hook per thread that has any:
// Alt and a character typed in a child window of a frame never reach the frame itself.
struct BarRegistry {
    std::recursive_mutex lock;
    std::vector<MenuBarElement *> bars;
    struct ThreadHook {
        DWORD thread;
        HHOOK hook;
        int bars;
    };
    std::vector<ThreadHook> hooks;
};

BarRegistry &barRegistry()
{
    static BarRegistry *registry = new BarRegistry;  // lives as long as the process
    return *registry;
}

RECT toRect(const SkinRect &r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The first of each MDI button's three pictures (normal, hot, pressed) in the MenuBar object.
int firstPicture(MdiButtonIndex button)
{
    switch (button) {
    case kMdiSystemIcon: return kMenuSystemNormal;
    case kMdiMinimize: return kMenuMinimizeNormal;
    case kMdiRestore: return kMenuRestoreNormal;
    default: return kMenuCloseNormal;
    }
}

// The system's own glyph of a button, for a skin without its pictures.
UINT captionGlyph(MdiButtonIndex button)
{
    switch (button) {
    case kMdiMinimize: return DFCS_CAPTIONMIN;
    case kMdiRestore: return DFCS_CAPTIONRESTORE;
    default: return DFCS_CAPTIONCLOSE;
    }
}

// Whether an item of the shown submenu is highlighted and opens a submenu of its own.
bool highlightOpensSubmenu(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) && GetSubMenu(menu, i)) return true;
    }
    return false;
}

}  // namespace

MenuBarElement::MenuBarElement(HWND frame) : frame_(frame), model_(*this)
{
    thread_ = frame ? GetWindowThreadProcessId(frame, nullptr) : 0;
    if (thread_ == 0) return;
    BarRegistry &registry = barRegistry();
    std::lock_guard<std::recursive_mutex> hold(registry.lock);
    registry.bars.push_back(this);
    for (BarRegistry::ThreadHook &h : registry.hooks) {
        if (h.thread == thread_) {
            ++h.bars;
            return;
        }
    }
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &MenuBarElement::childKeys, nullptr, thread_);
    if (hook) registry.hooks.push_back(BarRegistry::ThreadHook{thread_, hook, 1});
}

MenuBarElement::~MenuBarElement()
{
    if (thread_ != 0) {
        BarRegistry &registry = barRegistry();
        std::lock_guard<std::recursive_mutex> hold(registry.lock);
        registry.bars.erase(std::remove(registry.bars.begin(), registry.bars.end(), this), registry.bars.end());
        for (size_t i = 0; i < registry.hooks.size(); ++i) {
            if (registry.hooks[i].thread != thread_ || --registry.hooks[i].bars > 0) continue;
            UnhookWindowsHookEx(registry.hooks[i].hook);
            registry.hooks.erase(registry.hooks.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    *alive_ = false;
    if (tracking_ >= 0) closePopup(static_cast<size_t>(tracking_));
    if (filterHook_) UnhookWindowsHookEx(filterHook_);
    filterHook_ = nullptr;
    if (gTracking == this) gTracking = nullptr;
    KillTimer(frame_, kMenuBarHoverTimer);
}

void MenuBarElement::setMenu(HMENU menu)
{
    menu_ = menu;
    readEntries();
}

void MenuBarElement::setSkin(const MenuBarDefinition *definition)
{
    definition_ = definition;
    if (definition_) model_.setMetrics(menuBarMetrics(*definition_));
    readEntries();
}

void MenuBarElement::readEntries()
{
    ++version_;
    if (menu_ == nullptr || !IsMenu(menu_)) {
        model_.setEntries({});
        return;
    }
    HDC screen = GetDC(nullptr);
    HFONT font = definition_ ? skinFontFromRecord(definition_->font) : nullptr;
    model_.setEntries(readMenuBarEntries(menu_, screen, font));
    if (font) DeleteObject(font);
    ReleaseDC(nullptr, screen);
}

SkinPoint MenuBarElement::windowPoint(POINT screen) const { return frameWindowPoint(frame_, screen); }

void MenuBarElement::paint(HDC dc)
{
    const SkinRect bar = model_.barRect();
    if (definition_ == nullptr || bar.isEmpty()) return;
    const SkinRepository *repository = definition_->owner();
    if (menu_ && IsMenu(menu_)) refreshMenuBarEnabled(model_, menu_);
    skinDrawNineGrid(repository, dc, toRect(bar), definition_->background, definition_->bgColor, kSkinFill, false);
    HFONT font = skinFontFromRecord(definition_->font);
    HGDIOBJ previousFont = font ? SelectObject(dc, font) : nullptr;
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    for (const MenuBarModel::Item &item : model_.items()) {
        RECT r = toRect(item.rect);
        const SkinTextEffect *effect = &definition_->normalText;
        if (!item.entry.enabled) {
            effect = &definition_->disabledText;
        } else if (item.state == MenuItemState::Hot) {
            skinDrawNineGrid(repository, dc, r, definition_->hotItem, definition_->hotFill, kSkinFill, false);
            effect = &definition_->hotText;
        } else if (item.state == MenuItemState::Open) {
            skinDrawNineGrid(repository, dc, r, definition_->openItem, definition_->openFill, kSkinFill, false);
            effect = &definition_->openText;
        }
        SetTextColor(dc, effect->textColor());
        const std::wstring text(item.entry.text.begin(), item.entry.text.end());
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, kItemTextFormat);
    }
    SetBkMode(dc, previousMode);
    if (previousFont) SelectObject(dc, previousFont);
    if (font) DeleteObject(font);
    if (model_.mdiButtonsShown()) paintMdiButtons(dc);
}

void MenuBarElement::paintMdiButtons(HDC dc)
{
    const SkinRepository *repository = definition_->owner();
    HWND child = maximisedMdiChild();
    for (int b = 0; b < kMdiButtonCount; ++b) {
        const auto button = static_cast<MdiButtonIndex>(b);
        const RECT r = toRect(model_.mdiButtonRect(button));
        const MdiButtonState state = model_.mdiButtonState(button);
        skinFillRect(dc, r, GetSysColor(COLOR_BTNFACE));
        const int first = firstPicture(button);
        const SkinPicture *picture = &definition_->buttons[first + static_cast<int>(state)];
        if (!picture->isSet()) picture = &definition_->buttons[first];
        if (picture->isSet()) {
            skinDrawPicture(repository, dc, r, *picture, GetSysColor(COLOR_BTNFACE), kSkinNoFill, false);
        } else if (button == kMdiSystemIcon) {
            if (HICON icon = child ? skinWindowSmallIcon(child) : nullptr)
                DrawIconEx(dc, r.left, r.top, icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
        } else {
            RECT glyph = r;
            DrawFrameControl(dc, &glyph, DFC_CAPTION,
                             captionGlyph(button) | (state == MdiButtonState::Pressed ? DFCS_PUSHED : 0));
        }
    }
}

HWND MenuBarElement::maximisedMdiChild() const
{
    HWND client = FindWindowExW(frame_, nullptr, L"MDIClient", nullptr);
    if (client == nullptr) return nullptr;
    BOOL maximised = FALSE;
    HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    return child != nullptr && maximised ? child : nullptr;
}

bool MenuBarElement::mdiButtonsWanted() const
{
    HWND child = maximisedMdiChild();
    if (child == nullptr) return false;
    const auto style = static_cast<uint32_t>(SendMessageW(child, WM_SKIN_REAL_STYLE, 0, 0));
    return (style & WS_SYSMENU) != 0;
}

void MenuBarElement::frameChanged()
{
    ++version_;
    SetWindowPos(frame_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool MenuBarElement::onMessage(UINT message, WPARAM wp, LPARAM, LRESULT &result)
{
    result = 0;
    switch (message) {
    case WM_TIMER: {
        if (wp != kMenuBarHoverTimer) return false;
        POINT cursor{};
        GetCursorPos(&cursor);
        model_.hoverTick(windowPoint(cursor));
        return true;
    }
    case WM_SKIN_OPEN_MENU_BAR_ITEM:
        // Only when the item is still the open one: the pointer may have moved on meanwhile.
        if (model_.openItem() == static_cast<int32_t>(wp)) track(static_cast<size_t>(wp));
        return true;
    case WM_SYSCHAR:
        return model_.key(MenuBarKey::Character, static_cast<char16_t>(wp), true);

    case WM_SYSKEYDOWN:
        return wp == VK_F10 && model_.key(MenuBarKey::F10);
    default: return false;
    }
}

RECT MenuBarElement::itemOnScreen(const SkinRect &item) const
{
    RECT w{};
    GetWindowRect(frame_, &w);
    if (skinIsRightToLeft(frame_)) return RECT{w.right - item.right, w.top + item.top, w.right - item.left, w.top + item.bottom};
    return RECT{w.left + item.left, w.top + item.top, w.left + item.right, w.top + item.bottom};
}

void MenuBarElement::track(size_t item)
{
    const MenuBarModel::Item &entry = model_.items()[item];
    HMENU submenu = menu_ ? GetSubMenu(menu_, entry.position) : nullptr;
    if (submenu == nullptr) {
        model_.endMenuMode();
        return;
    }
    const RECT onScreen = itemOnScreen(entry.rect);
    tracking_ = static_cast<int32_t>(item);
    relayedClickItem_ = -1;
    const SkinManager::MenuBarTracking engine = SkinManager::instance().menuBarTracking();
    int shown = -1;
    if (engine.track != nullptr) {
        SendMessageW(frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), entry.position);
        // The frame may have changed or dropped its menu while it filled the submenu in.
        if (model_.openItem() != static_cast<int32_t>(item) || !IsMenu(submenu)) {
            tracking_ = -1;
            return;
        }
        engineTracking_ = true;
        const std::shared_ptr<bool> alive = alive_;
        shown = engine.track(submenu, onScreen, frame_);
        if (!*alive) return;
        engineTracking_ = false;
    }
    if (shown < 0 && !trackWithSystemMenu(submenu, onScreen)) return;
    tracking_ = -1;
    // Closed by a choice, Escape or a click elsewhere; not when the bar moved on to another item.
    if (model_.openItem() == static_cast<int32_t>(item)) {
        // A click that closed the menu reaches the frame after this; on this item it leaves
        // the item hot instead of opening it again.
        if (shown >= 0) relayedClickItem_ = static_cast<int32_t>(item);
        model_.endMenuMode();
    }
}

bool MenuBarElement::trackWithSystemMenu(HMENU submenu, const RECT &onScreen)
{
    const std::shared_ptr<bool> alive = alive_;
    UINT flags = kPopupFlags;
    int x = onScreen.left;
    if (skinIsRightToLeft(frame_)) {
        x = onScreen.right;
        flags = (flags & ~TPM_LEFTALIGN) | TPM_RIGHTALIGN;
    }
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    params.rcExclude = onScreen;
    MenuBarElement *outer = gTracking;
    gTracking = this;
    filterHook_ = SetWindowsHookExW(WH_MSGFILTER, &MenuBarElement::messageFilter, nullptr, GetCurrentThreadId());
    TrackPopupMenuEx(submenu, flags, x, onScreen.bottom, frame_, &params);
    gTracking = outer;
    if (!*alive) return false;
    if (filterHook_) UnhookWindowsHookEx(filterHook_);
    filterHook_ = nullptr;
    return true;
}

bool MenuBarElement::takeRelayedClick(POINT screen)
{
    const int32_t closed = relayedClickItem_;
    relayedClickItem_ = -1;
    const SkinPoint p = windowPoint(screen);
    if (closed < 0 || model_.inMenuMode() || model_.itemAt(p) != closed) return false;
    model_.pointerMove(p);
    return true;
}

bool MenuBarElement::onMenuKey(WPARAM key, LPARAM data)
{
    if ((data & kAltHeld) != 0) return model_.key(MenuBarKey::Character, static_cast<char16_t>(key), true);
    if (key == VK_LEFT || key == VK_RIGHT) return model_.key(key == VK_LEFT ? MenuBarKey::Left : MenuBarKey::Right);
    return false;
}

LRESULT CALLBACK MenuBarElement::childKeys(int code, WPARAM wp, LPARAM lp)
{
    auto *message = reinterpret_cast<MSG *>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && message->message == WM_SYSCHAR && (message->lParam & kAltHeld)) {
        HWND root = GetAncestor(message->hwnd, GA_ROOT);
        // The frame's own WM_SYSCHAR comes to its bar through the frame.
        if (root != nullptr && root != message->hwnd) {
            BarRegistry &registry = barRegistry();
            std::lock_guard<std::recursive_mutex> hold(registry.lock);
            for (MenuBarElement *bar : registry.bars) {
                if (bar->frame_ != root) continue;
                if (bar->model_.key(MenuBarKey::Character, static_cast<char16_t>(message->wParam), true))
                    message->message = WM_NULL;
                break;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK MenuBarElement::messageFilter(int code, WPARAM wp, LPARAM lp)
{
    if (code == MSGF_MENU && gTracking != nullptr && gTracking->filter(*reinterpret_cast<const MSG *>(lp))) return TRUE;
    return CallNextHookEx(nullptr, code, wp, lp);
}

bool MenuBarElement::filter(const MSG &message)
{
    switch (message.message) {
    case WM_MOUSEMOVE: {
        const SkinPoint p = windowPoint(message.pt);
        const int32_t at = model_.itemAt(p);
        if (at >= 0 && at != tracking_) model_.pointerMove(p);
        return false;
    }
    case WM_LBUTTONDOWN: {
        const SkinPoint p = windowPoint(message.pt);
        if (!skinRectContains(model_.barRect(), p)) return false;
        model_.buttonDown(p);
        return true;
    }
    case WM_KEYDOWN:
        if (message.wParam == VK_LEFT || (message.wParam == VK_RIGHT && !highlightOpensSubmenu(GetSubMenu(
                                                                              menu_, model_.items()[tracking_].position)))) {
            const int32_t before = model_.openItem();
            model_.key(message.wParam == VK_LEFT ? MenuBarKey::Left : MenuBarKey::Right);
            return model_.openItem() != before;
        }
        return false;
    default: return false;
    }
}

void MenuBarElement::initMenu() { SendMessageW(frame_, WM_INITMENU, reinterpret_cast<WPARAM>(menu_), 0); }

bool MenuBarElement::openPopup(size_t item)
{
    if (menu_ == nullptr || GetSubMenu(menu_, model_.items()[item].position) == nullptr) return false;
    return PostMessageW(frame_, WM_SKIN_OPEN_MENU_BAR_ITEM, item, 0) != FALSE;
}

void MenuBarElement::closePopup(size_t item)
{
    if (tracking_ != static_cast<int32_t>(item)) return;
    const SkinManager::MenuBarTracking engine = SkinManager::instance().menuBarTracking();
    if (engineTracking_ && engine.end != nullptr) {
        engine.end();
    } else {
        EndMenu();
    }
}

void MenuBarElement::runCommand(uint32_t commandId) { PostMessageW(frame_, WM_COMMAND, commandId, 0); }

void MenuBarElement::setHoverTimer(bool running)
{
    if (running) {
        SetTimer(frame_, kMenuBarHoverTimer, kMenuBarHoverMs, nullptr);
    } else {
        KillTimer(frame_, kMenuBarHoverTimer);
    }
}

void MenuBarElement::repaint()
{
    ++version_;
    RECT w{};
    GetWindowRect(frame_, &w);
    const SkinRect bar = model_.barRect();
    HRGN region = CreateRectRgn(w.left + bar.left, w.top + bar.top, w.left + bar.right, w.top + bar.bottom);
    SendMessageW(frame_, WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
    DeleteObject(region);
}

void MenuBarElement::openChildSystemMenu()
{
    HWND child = maximisedMdiChild();
    if (child == nullptr) return;
    repaint();
    const auto style = static_cast<uint32_t>(SendMessageW(child, WM_SKIN_REAL_STYLE, 0, 0));
    skinShowSystemMenu(child, style != 0 ? style : static_cast<uint32_t>(GetWindowLongW(child, GWL_STYLE)));
}

void MenuBarElement::mdiButtonReleased(MdiButtonIndex button)
{
    HWND child = maximisedMdiChild();
    if (child == nullptr) return;
    switch (button) {
    case kMdiMinimize: SendMessageW(child, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case kMdiRestore: SendMessageW(GetParent(child), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0); break;
    case kMdiClose: SendMessageW(child, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    default: return;
    }
    frameChanged();
}

#endif
