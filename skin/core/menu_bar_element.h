// The skinned frame's menu bar on a real window (Windows only): it holds the window's menu,
// feeds the model (menu_bar_model.h) with its measured entries, paints the bar off-screen from
// the skin's MenuBar object and carries out the model's actions. A submenu is shown from a
// message the bar posts to its frame, so that no mouse or keyboard handler of the bar waits
// inside a menu loop. With the skinned controls installed it is the engine's popup menu in the
// menu bar's mode: the menu relays to the frame the pointer moving over the bar, clicks outside
// it and the arrows and Alt keys it does not use, and the bar moves to its other items from
// them. Without them it is the system's menu (TrackPopupMenuEx), whose message filter does the
// same. Alt and a mnemonic typed in any child window of the frame reach the bar through a
// keyboard hook on the frame's thread.
#ifndef WORDMERE_SKIN_CORE_MENU_BAR_ELEMENT_H
#define WORDMERE_SKIN_CORE_MENU_BAR_ELEMENT_H

#include <windows.h>

#include <memory>

#include "menu_bar_model.h"
#include "skin_definitions.h"
#include "window_skinner.h"

constexpr UINT_PTR kMenuBarHoverTimer = 0x5A00;
constexpr UINT kMenuBarHoverMs = 100;

class MenuBarElement : public MenuBarActions {
public:
    explicit MenuBarElement(HWND frame);
    ~MenuBarElement() override;
    MenuBarElement(const MenuBarElement &) = delete;
    MenuBarElement &operator=(const MenuBarElement &) = delete;

    // Takes the menu (not owned: it goes back to the window); null for none.
    void setMenu(HMENU menu);
    HMENU menu() const { return menu_; }
    void setSkin(const MenuBarDefinition *definition);
    MenuBarModel &model() { return model_; }
    // Counts the changes of what the bar shows (its menu, skin and item states).
    uint32_t version() const { return version_; }
    const MenuBarModel &model() const { return model_; }

    // Paints the bar (its rectangle in the model, window coordinates) into dc.
    void paint(HDC dc);
    // The frame's messages for the bar: answers whether it took the message.
    bool onMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT &result);
    // A point of the pointer in window coordinates (mirrored for right-to-left frames).
    SkinPoint windowPoint(POINT screen) const;
    // The active child of the frame's MDI client when it is maximised; null otherwise.
    HWND maximisedMdiChild() const;
    // Whether the bar shows the MDI buttons: the active MDI child is maximised and its real
    // style (asked of its skinner) has a system menu.
    bool mdiButtonsWanted() const;

    // A click relayed by the bar's menu after it closed (screen point): on the item whose menu
    // it closed it leaves that item hot and answers true; otherwise the frame handles it.
    bool takeRelayedClick(POINT screen);
    // A key the bar's menu did not use (Left, Right, or Alt and a key): answers whether the bar
    // took it.
    bool onMenuKey(WPARAM key, LPARAM data);

    // MenuBarActions
    void initMenu() override;
    bool openPopup(size_t item) override;
    void closePopup(size_t item) override;
    void runCommand(uint32_t commandId) override;
    void setHoverTimer(bool running) override;
    void repaint() override;
    void openChildSystemMenu() override;
    void mdiButtonReleased(MdiButtonIndex button) override;

private:
    void readEntries();
    void paintMdiButtons(HDC dc);
    // After a button changed the child's state: the frame lays its bar out again.
    void frameChanged();
    void track(size_t item);
    // False when the bar went while the menu ran.
    bool trackWithSystemMenu(HMENU submenu, const RECT &onScreen);
    RECT itemOnScreen(const SkinRect &item) const;
    static LRESULT CALLBACK messageFilter(int code, WPARAM wp, LPARAM lp);
    // Alt and a character typed in a child window of a skinned frame: the frame's bar opens
    // the item of that mnemonic, and the character goes no further.
    static LRESULT CALLBACK childKeys(int code, WPARAM wp, LPARAM lp);
    bool filter(const MSG &message);

    HWND frame_;
    DWORD thread_ = 0;
    HMENU menu_ = nullptr;
    const MenuBarDefinition *definition_ = nullptr;
    MenuBarModel model_;
    HHOOK filterHook_ = nullptr;
    int32_t tracking_ = -1;
    bool engineTracking_ = false;
    // False once the bar is gone: a frame destroyed while its menu runs deletes the bar under
    // the menu's loop.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // The item whose engine menu ended last, until the click that ended it arrives.
    int32_t relayedClickItem_ = -1;
    uint32_t version_ = 0;
};

#endif
