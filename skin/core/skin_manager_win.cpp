// The skin manager (Windows).
#ifdef _WIN32
#include <windows.h>

#include <cstring>

#include "skin_classes.h"
#include "skin_definitions.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "skin_version.h"
#include "window_skinner.h"

namespace {

constexpr int kClassNameChars = 100;
using Lock = std::lock_guard<std::recursive_mutex>;

bool isFrameKind(int32_t type) { return type == kSkinFrameWnd || type == kSkinShapeWnd || type == kSkinUnnamedFrame; }

WindowSkinner *plainSkinner() { return new WindowSkinner(); }

}  // namespace

SkinManager &SkinManager::instance()
{
    // Made on first use and never destroyed: windows may still go after the program's
    // static objects, and their skinners look the manager up.
    static SkinManager *manager = new SkinManager();
    return *manager;
}

SkinManager::SkinManager() : current_(std::make_unique<SkinRepository>()) {}

SkinManager::~SkinManager()
{
    deleteAllSkinners();
}

void SkinManager::setMakers(const SkinnerMakers &makers)
{
    Lock hold(lock_);
    makers_ = makers;
}

SkinnerMakers SkinManager::makers()
{
    Lock hold(lock_);
    return makers_;
}

void SkinManager::setControlMaker(WindowSkinner *(*maker)(int32_t type, WindowSkinner *container))
{
    Lock hold(lock_);
    makers_.control = maker;
}

void SkinManager::setPopupTracker(PopupTracker tracker)
{
    Lock hold(lock_);
    popupTracker_ = tracker;
}

SkinManager::PopupTracker SkinManager::popupTracker()
{
    Lock hold(lock_);
    return popupTracker_;
}

void SkinManager::setMenuBarTracking(const MenuBarTracking &tracking)
{
    Lock hold(lock_);
    menuBarTracking_ = tracking;
}

SkinManager::MenuBarTracking SkinManager::menuBarTracking()
{
    Lock hold(lock_);
    return menuBarTracking_;
}

WindowSkinner *SkinManager::makeControlSkinner(int32_t type, WindowSkinner *container)
{
    Lock hold(lock_);
    return makers_.control ? makers_.control(type, container) : nullptr;
}

int32_t SkinManager::classifyWindow(HWND window)
{
    wchar_t wide[kClassNameChars] = L"";
    if (GetClassNameW(window, wide, kClassNameChars) == 0) {
        return kSkinNone;
    }
    char name[kClassNameChars * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
    const uint32_t style = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
    uint32_t comboStyle = 0;
    if (std::strcmp(name, "ComboLBox") == 0) {
        HWND combo = GetParent(window);
        // A drop-down list belongs to the desktop; its combo box is its owner.
        if (combo == nullptr || combo == GetDesktopWindow()) combo = GetWindow(window, GW_OWNER);
        comboStyle = combo ? static_cast<uint32_t>(GetWindowLongW(combo, GWL_STYLE)) : 0;
    }
    return skinClassifyClass(name, style, comboStyle);
}

WindowSkinner *SkinManager::findSkinner(HWND window)
{
    Lock hold(lock_);
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second;
}

WindowSkinner *SkinManager::findFrameSkinner(HWND window)
{
    Lock hold(lock_);
    for (HWND w = window; w != nullptr; w = GetParent(w)) {
        auto found = windows_.find(w);
        if (found != windows_.end()) {
            SkinObject *definition = found->second->definition();
            if (definition == nullptr || isFrameKind(definition->type())) {
                return found->second;
            }
            continue;
        }
        const LONG style = GetWindowLongW(w, GWL_STYLE), exStyle = GetWindowLongW(w, GWL_EXSTYLE);
        if ((style & WS_CHILD) == 0 || (exStyle & WS_EX_MDICHILD) != 0) {
            return nullptr;
        }
    }
    return nullptr;
}

bool SkinManager::registerSkinner(WindowSkinner *skinner, HWND window)
{
    Lock hold(lock_);
    return windows_.emplace(window, skinner).second;
}

bool SkinManager::applyFrameSkin(HWND window, const char *name)
{
    HWND top = nullptr;
    {
        Lock hold(lock_);
        if (window == nullptr || windows_.count(window) != 0) {
            return false;
        }
        SkinObject *object = name ? findObjectLocked(name) : current_->findObjectByType(kSkinFrameWnd);
        if (object == nullptr || object->type() != kSkinFrameWnd) {
            return false;
        }
        if (!attachNew(window, makers_.frame ? makers_.frame() : plainSkinner(), object)) {
            return false;
        }
        top = GetAncestor(window, GA_ROOT);
    }
    SendMessageW(top ? top : window, WM_SYSCOLORCHANGE, 0, 0);
    return true;
}

bool SkinManager::applyDialogSkin(HWND window, const char *name)
{
    Lock hold(lock_);
    if (window == nullptr || name == nullptr || windows_.count(window) != 0) {
        return false;
    }
    SkinObject *object = findObjectLocked(name);
    if (object == nullptr) {
        return false;
    }
    return attachNew(window, makers_.dialog ? makers_.dialog() : plainSkinner(), object);
}

bool SkinManager::applyControlSkin(HWND window, const char *name, const char *container)
{
    Lock hold(lock_);
    if (window == nullptr || name == nullptr) {
        return false;
    }
    SkinObject *object = nullptr;
    if (container != nullptr) {
        SkinObject *outer = findObjectLocked(container);
        object = outer ? outer->findChild(name) : nullptr;
    } else {
        object = findObjectLocked(name);
    }
    if (object == nullptr) {
        return false;
    }
    auto found = windows_.find(window);
    if (found == windows_.end()) {
        WindowSkinner *skinner = makers_.control ? makers_.control(object->type(), nullptr) : nullptr;
        if (!attachNew(window, skinner, object)) {
            return false;
        }
        skinner->setSkin(object);
        return true;
    }
    WindowSkinner *skinner = found->second;
    const int32_t have = skinner->typeCode();
    if (object->type() == have || ((have == kSkinCheckBox || have == kSkinRadio) && object->type() == kSkinButton)) {
        skinner->setSkin(object);
        return true;
    }
    return false;
}

bool SkinManager::skinToolbar(HWND window)
{
    Lock hold(lock_);
    if (makers_.toolbar == nullptr || windows_.count(window) != 0) {
        return false;
    }
    SkinObject *object = current_->findObjectByType(kSkinToolBar);
    if (object == nullptr) {
        return false;
    }
    return attachNew(window, makers_.toolbar(), object);
}

bool SkinManager::detachWindow(HWND window, bool keep)
{
    Lock hold(lock_);
    auto found = windows_.find(window);
    if (found == windows_.end()) {
        return false;
    }
    WindowSkinner *skinner = found->second;
    windows_.erase(found);
    if (keep) {
        skinner->release();
    } else {
        skinner->detach();
    }
    delete skinner;
    return true;
}

bool SkinManager::attachNew(HWND window, WindowSkinner *skinner, SkinObject *definition)
{
    if (skinner == nullptr) {
        return false;
    }
    windows_[window] = skinner;
    skinner->setSkin(definition);
    if (!skinner->attach(window)) {
        windows_.erase(window);
        delete skinner;
        return false;
    }
    return true;
}

SkinObject *SkinManager::findObjectLocked(const char *name) { return name ? current_->findObject(name) : nullptr; }

SkinObject *SkinManager::findObject(const char *name)
{
    Lock hold(lock_);
    return findObjectLocked(name);
}

SkinRepository *SkinManager::currentSkin()
{
    Lock hold(lock_);
    return current_.get();
}

size_t SkinManager::skinnedCount()
{
    Lock hold(lock_);
    return windows_.size();
}

bool SkinManager::makeCurrent(std::unique_ptr<SkinRepository> repository)
{
    if (!repository) {
        return false;
    }
    std::vector<HWND> topLevel;
    bool locked = false;
    {
        Lock hold(lock_);
        const bool hadSkin = !windows_.empty() || !current_->objects().empty();
        locked = hadSkin && LockWindowUpdate(GetDesktopWindow()) != FALSE;
        // The old skin stays alive (retired) until reset: objects found in it, open menus
        // and tooltips and brushes handed out never point into freed memory.
        retired_.push_back(std::move(current_));
        current_ = std::move(repository);
        std::vector<HWND> orphans;
        for (auto &entry : windows_) {
            WindowSkinner *skinner = entry.second;
            SkinObject *old = skinner->definition();
            SkinObject *replacement = nullptr;
            if (old != nullptr) {
                replacement = current_->findObject(old->name());
                if (replacement == nullptr) replacement = current_->findObjectByType(old->type());
            }
            if (GetParent(entry.first) == nullptr) topLevel.push_back(entry.first);
            if (replacement == nullptr && !skinner->keepWithoutSkin()) {
                orphans.push_back(entry.first);
            } else {
                skinner->setSkin(replacement);
            }
        }
        for (HWND w : orphans) {
            detachWindow(w, false);
        }
        for (auto it = windows_.begin(); it != windows_.end();) {
            if (it->second->window() != it->first) {
                delete it->second;
                it = windows_.erase(it);
            } else {
                ++it;
            }
        }
        setSkinFileVersion(current_->majorVersion(), current_->minorVersion());
    }
    // Messages go out with the lock free.
    for (HWND w : topLevel) {
        if (IsWindow(w)) SendMessageW(w, WM_SYSCOLORCHANGE, 0, 0);
    }
    sendToWatchers();
    if (locked) {
        LockWindowUpdate(nullptr);
    }
    return true;
}

void SkinManager::deleteAllSkinners()
{
    Lock hold(lock_);
    std::map<HWND, WindowSkinner *> all;
    all.swap(windows_);
    for (auto &entry : all) {
        entry.second->setContainer(nullptr);
    }
    for (auto &entry : all) {
        delete entry.second;
    }
}

void SkinManager::reset()
{
    Lock hold(lock_);
    // Containers first take their children with them; whatever remains goes one by one.
    while (!windows_.empty()) {
        detachWindow(windows_.begin()->first, false);
    }
    deleteAllSkinners();
    current_ = std::make_unique<SkinRepository>();
    retired_.clear();
    std::lock_guard<std::mutex> watchHold(watchLock_);
    watched_.clear();
}

void SkinManager::watch(HWND window, UINT message)
{
    {
        std::lock_guard<std::mutex> hold(watchLock_);
        watched_[window] = message;
    }
    SendMessageW(window, message, 0, 0);
}

void SkinManager::unwatch(HWND window)
{
    std::lock_guard<std::mutex> hold(watchLock_);
    watched_.erase(window);
}

void SkinManager::sendToWatchers()
{
    std::map<HWND, UINT> copy;
    {
        std::lock_guard<std::mutex> hold(watchLock_);
        copy = watched_;
    }
    for (auto &entry : copy) {
        if (IsWindow(entry.first)) SendMessageW(entry.first, entry.second, 0, 0);
    }
}

#endif
