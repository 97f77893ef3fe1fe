// SkinManager: the engine's one registry of skinned windows. It owns the current skin and
// the skinner of every skinned window, turns window classes into type codes, attaches
// frame, dialog, toolbar and control skinners, and re-skins every window when another skin
// becomes current. Skins that were current once stay alive until the engine is reset, so
// objects the shell found in them never dangle.
#ifndef WORDMERE_SKIN_CORE_SKIN_MANAGER_H
#define WORDMERE_SKIN_CORE_SKIN_MANAGER_H

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

class SkinObject;
class SkinRepository;
class WindowSkinner;

// Makers of the skinners the manager attaches; each answers null when it cannot make one.
// Without makers registered, frames and dialogs get a plain WindowSkinner and controls and
// toolbars none.
struct SkinnerMakers {
    WindowSkinner *(*frame)() = nullptr;
    WindowSkinner *(*dialog)() = nullptr;
    WindowSkinner *(*control)(int32_t type, WindowSkinner *container) = nullptr;
    WindowSkinner *(*toolbar)() = nullptr;
};

class SkinManager {
public:
    static SkinManager &instance();

    void setMakers(const SkinnerMakers &makers);
    SkinnerMakers makers();
    // Replaces only the control maker (the other makers stay as they are).
    void setControlMaker(WindowSkinner *(*maker)(int32_t type, WindowSkinner *container));
    // The engine's popup-menu tracking behind skinShowPopupMenu (-1: the menu could not be
    // shown); none: the caller shows the platform's menu.
    using PopupTracker = int (*)(HMENU menu, UINT flags, int x, int y, HWND owner);
    void setPopupTracker(PopupTracker tracker);
    PopupTracker popupTracker();
    // The engine's menus for the items of skinned frames' menu bars; none: the bars show the
    // platform's menus. track shows the item's submenu below the item (screen rectangle) for
    // the frame and runs its loop until it ends (-1: it could not be shown); end ends the menu
    // the calling thread runs now without a command and without telling the frame (the bar
    // moves on to another item).
    struct MenuBarTracking {
        int (*track)(HMENU submenu, const RECT &item, HWND frame) = nullptr;
        void (*end)() = nullptr;
    };
    void setMenuBarTracking(const MenuBarTracking &tracking);
    MenuBarTracking menuBarTracking();
    // A control skinner of that type (null when none can be made).
    WindowSkinner *makeControlSkinner(int32_t type, WindowSkinner *container);

    int32_t classifyWindow(HWND window);
    WindowSkinner *findSkinner(HWND window);
    WindowSkinner *findFrameSkinner(HWND window);
    bool registerSkinner(WindowSkinner *skinner, HWND window);

    bool applyFrameSkin(HWND window, const char *name);
    bool applyDialogSkin(HWND window, const char *name);
    bool applyControlSkin(HWND window, const char *name, const char *container);
    bool skinToolbar(HWND window);
    // keep: the window is being destroyed; it only loses the skinner.
    bool detachWindow(HWND window, bool keep);

    // Takes the repository and makes it current; re-skins every window. False for none.
    bool makeCurrent(std::unique_ptr<SkinRepository> repository);
    SkinRepository *currentSkin();
    SkinObject *findObject(const char *name);
    // Every skinner detached and deleted, every skin deleted, an empty skin current.
    void reset();
    void deleteAllSkinners();
    size_t skinnedCount();

    // Windows told of every change of the skin.
    void watch(HWND window, UINT message);
    void unwatch(HWND window);

private:
    SkinManager();
    ~SkinManager();
    SkinObject *findObjectLocked(const char *name);
    // Enters the new skinner for the window, gives it the definition and attaches it; an
    // attach that fails takes the entry away and deletes the skinner. False for no skinner.
    bool attachNew(HWND window, WindowSkinner *skinner, SkinObject *definition);
    void sendToWatchers();

    std::recursive_mutex lock_;
    std::map<HWND, WindowSkinner *> windows_;
    std::unique_ptr<SkinRepository> current_;
    std::vector<std::unique_ptr<SkinRepository>> retired_;
    SkinnerMakers makers_;
    PopupTracker popupTracker_ = nullptr;
    MenuBarTracking menuBarTracking_;
    std::mutex watchLock_;
    std::map<HWND, UINT> watched_;
};

#endif
