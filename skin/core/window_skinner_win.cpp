// The window skinner base and skin parts (Windows).
#ifdef _WIN32
#include <windows.h>

#include "fwsubclass.h"
#include "skin_definitions.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "window_skinner.h"

const wchar_t kSkinObjectProperty[] = L"OBJECT";

namespace {

// Edits and rich edits share one skinner, whose type code is the rich edit's.
bool isEditSkinner(int32_t typeCode) { return typeCode == kSkinEdit || typeCode == kSkinRichEdit; }
SkinPartMaker gPartMaker = nullptr;

constexpr UINT kRedrawFlags = RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE;
constexpr UINT kFrameChangedFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
}  // namespace

void setSkinPartMaker(SkinPartMaker maker) { gPartMaker = maker; }

// ---- SkinPart

SkinObject *SkinPart::setSkin(SkinObject *definition)
{
    SkinObject *previous = definition_;
    definition_ = definition;
    return previous;
}

std::wstring SkinPart::tooltipText(int, int) { return tooltip_; }

void SkinPart::setTooltipText(const wchar_t *text) { tooltip_ = text ? text : L""; }

// ---- WindowSkinner

WindowSkinner::WindowSkinner() = default;

WindowSkinner::~WindowSkinner()
{
    // Neither the container nor the children may keep a pointer to a deleted skinner.
    if (container_ != nullptr) {
        container_->forgetSkinner(this);
    }
    for (auto &entry : children_) {
        if (entry.second->container_ == this) {
            entry.second->container_ = nullptr;
        }
    }
    if (region_ != nullptr) {
        DeleteObject(region_);
    }
}

void WindowSkinner::paint(HDC dc)
{
    drawFrame(dc, false);
    eraseBackground(dc, 0);
}

int32_t WindowSkinner::typeCode() const { return definition_ ? definition_->type() : 0; }

void WindowSkinner::repaintNonClient(const RECT &rect)
{
    if (window_ == nullptr) {
        return;
    }
    RECT w{};
    GetWindowRect(window_, &w);
    HRGN region = CreateRectRgn(rect.left + w.left, rect.top + w.top, rect.right + w.left, rect.bottom + w.top);
    SendMessageW(window_, WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
    DeleteObject(region);
}

void WindowSkinner::buildParts()
{
    parts_.clear();
    if (definition_ == nullptr) {
        return;
    }
    for (auto &entry : definition_->children()) {
        SkinObject *child = entry.second.get();
        if (child->type() == kSkinCaptionStatic && static_cast<CaptionStaticDefinition *>(child)->kind ==
                                                        CaptionStaticDefinition::kWindowText) {
            captionText_ = false;
        }
        if (gPartMaker == nullptr) {
            continue;
        }
        std::unique_ptr<SkinPart> part = gPartMaker(this, child);
        if (part) {
            part->owner = this;
            part->setSkin(child);
            parts_.push_back(std::move(part));
        }
    }
}

SkinObject *WindowSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = SkinPart::setSkin(definition);
    parts_.clear();
    if (definition != nullptr) {
        const ApplicationDefinition *app = definition->owner() ? definition->owner()->application() : nullptr;
        regionFlag_ = app != nullptr && app->regions != 0;
        keyColor_ = app != nullptr ? app->skinKeyColor() : 0x00FF00FF;
        captionText_ = true;
        buildParts();
    }
    SetRectEmpty(&textRect_);
    if (window_ != nullptr) {
        skinChildren(window_, definition);
    }
    return previous;
}

bool WindowSkinner::attach(HWND window)
{
    if (window == nullptr || !IsWindow(window) || attached_) {
        return false;
    }
    window_ = window;
    skinChildren(window, definition_);
    SetPropW(window, kSkinObjectProperty, this);
    if (!fwAddSubclass(window, &WindowSkinner::subclassProc, this)) {
        RemovePropW(window, kSkinObjectProperty);
        window_ = nullptr;
        return false;
    }
    attached_ = true;
    if (definition_ != nullptr) {
        RedrawWindow(window, nullptr, nullptr, kRedrawFlags);
    }
    SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
    return true;
}

void WindowSkinner::detach()
{
    if (window_ == nullptr) {
        return;
    }
    HWND window = window_;
    unskinChildren(window);
    // Children the walk did not reach (no longer children of the window) go too.
    while (!children_.empty()) {
        HWND child = children_.begin()->first;
        children_.erase(children_.begin());
        SkinManager::instance().detachWindow(child, false);
    }
    if (!attached_) {
        window_ = nullptr;
        return;
    }
    if (!destroyed_ && region_ != nullptr) {
        SetWindowRgn(window, nullptr, FALSE);
        DeleteObject(region_);
        region_ = nullptr;
    }
    fwRemoveSubclass(window, &WindowSkinner::subclassProc, this);
    attached_ = false;
    if (!destroyed_) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    }
    if (GetPropW(window, kSkinObjectProperty) == this) {
        RemovePropW(window, kSkinObjectProperty);
    }
    window_ = nullptr;
}

void WindowSkinner::release()
{
    destroyed_ = true;
    if (window_ != nullptr && attached_) {
        fwRemoveSubclass(window_, &WindowSkinner::subclassProc, this);
        if (GetPropW(window_, kSkinObjectProperty) == this) {
            RemovePropW(window_, kSkinObjectProperty);
        }
    }
    attached_ = false;
    // The children are destroyed with the window; their own clean-up forgets them here.
    for (auto &entry : children_) {
        if (entry.second->container_ == this) {
            entry.second->container_ = nullptr;
        }
    }
    children_.clear();
    window_ = nullptr;
}

LRESULT WindowSkinner::callPrevious(UINT message, WPARAM wp, LPARAM lp)
{
    // Also called outside this window's messages (detaching, repainting on a skin change).
    return fwCallBelow(window_, &WindowSkinner::subclassProc, this, message, wp, lp);
}

LRESULT WindowSkinner::subclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp, void *data)
{
    auto *self = static_cast<WindowSkinner *>(data);
    if (self->window_ != window) {
        return fwDefSubclassProc(window, message, wp, lp);
    }
    return self->windowProc(message, wp, lp);
}

void WindowSkinner::onNcDestroy()
{
    destroyed_ = true;
    // The manager releases and deletes this skinner: nothing of it is touched afterwards.
    HWND window = window_;
    SkinManager::instance().detachWindow(window, true);
    fwDefSubclassProc(window, WM_NCDESTROY, 0, 0);
}

LRESULT WindowSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_SHOWWINDOW:
        onShowWindow(wp != 0, static_cast<int>(lp));
        return callPrevious(message, wp, lp);
    case WM_NCDESTROY:
        onNcDestroy();
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        auto found = children_.find(reinterpret_cast<HWND>(lp));
        const bool ours = found != children_.end() &&
                          (message == WM_CTLCOLOREDIT ? isEditSkinner(found->second->typeCode())
                                                      : found->second->typeCode() == kSkinListBox);
        if (ours) {
            return SendMessageW(found->first, message, wp, lp);
        }
        return callPrevious(message, wp, lp);
    }
    case WM_SKIN_CONTROL_DESTROYED:
        forgetChild(reinterpret_cast<HWND>(wp));
        return 0;
    case WM_SKIN_MENU_RELAY:
        return onMenuRelay(wp, lp);
    default:
        return callPrevious(message, wp, lp);
    }
}

void WindowSkinner::forgetChild(HWND child) { children_.erase(child); }

void WindowSkinner::forgetSkinner(const WindowSkinner *child)
{
    for (auto it = children_.begin(); it != children_.end();) {
        it = it->second == child ? children_.erase(it) : std::next(it);
    }
}

SkinObject *WindowSkinner::findControlObject(SkinObject *container, int32_t controlId, int32_t type)
{
    return container ? container->findChildByTypeAndId(type, controlId) : nullptr;
}

bool WindowSkinner::skinChild(HWND child, SkinObject *container)
{
    for (HWND grandchild = GetWindow(child, GW_CHILD); grandchild != nullptr; grandchild = GetWindow(grandchild, GW_HWNDNEXT)) {
        skinChild(grandchild, container);
    }
    SkinManager &manager = SkinManager::instance();
    const int32_t type = manager.classifyWindow(child);
    if (type == kSkinNone) {
        return false;
    }
    // A link window has a skinner of its own but is drawn from a Static definition.
    const int32_t code = type == kSkinLinkWnd ? kSkinStatic : type;
    SkinObject *object = findControlObject(container, GetDlgCtrlID(child), code);
    if (object == nullptr && manager.currentSkin() != nullptr) {
        object = manager.currentSkin()->findObjectByType(code);
    }
    auto known = children_.find(child);
    if (known == children_.end()) {
        if (object != nullptr) {
            WindowSkinner *skinner = manager.makeControlSkinner(type, this);
            if (skinner != nullptr) {
                if (manager.registerSkinner(skinner, child)) {
                    skinner->setSkin(object);
                    skinner->setContainer(this);
                    children_[child] = skinner;
                    // A control that stays unskinned (excluded by its parent, or a style the
                    // skinner leaves alone) keeps no skinner.
                    if (!skinner->attach(child)) {
                        children_.erase(child);
                        manager.detachWindow(child, false);
                    }
                } else {
                    delete skinner;
                }
            }
        }
        return true;
    }
    if (object != nullptr && known->second->window() == child) {
        known->second->setSkin(object);
    } else {
        children_.erase(known);
        if (object == nullptr) {
            manager.detachWindow(child, false);
        }
    }
    return true;
}

void WindowSkinner::skinChildren(HWND window, SkinObject *container)
{
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        skinChild(child, container);
    }
}

void WindowSkinner::unskinChildren(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        unskinChildren(child);
        children_.erase(child);
        SkinManager::instance().detachWindow(child, false);
    }
}

LRESULT WindowSkinner::ctlColorStatic(HDC dc, HWND control)
{
    WindowSkinner *skinner = SkinManager::instance().findSkinner(control);
    if (skinner == nullptr) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (skinner->typeCode() == kSkinStatic) {
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (isEditSkinner(skinner->typeCode())) {
        return SendMessageW(control, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    }
    return callPrevious(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

#endif
