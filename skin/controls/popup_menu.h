// SkinPopupMenu: a popup menu drawn and tracked by the skin engine instead of the platform. A
// window of class "GlossvanePopupMenuWnd" draws the items of an HMENU from the skin's
// PopupMenu object (system colours without one); track() runs the menu's own message loop and
// delivers the chosen command as the platform would (WM_COMMAND, WM_SYSCOMMAND, or the id as
// the answer with TPM_RETURNCMD). Submenus are further SkinPopupMenu windows chained to their
// parent; the top menu holds the mouse capture and the keyboard goes to the deepest menu.
#ifndef WORDMERE_SKIN_CONTROLS_POPUP_MENU_H
#define WORDMERE_SKIN_CONTROLS_POPUP_MENU_H

#include <windows.h>

#include <memory>
#include <vector>

#include "frame_geometry.h"
#include "popup_menu_model.h"

class PopupMenuDefinition;

// The menus' private messages.
enum PopupMenuMessage : UINT {
    WM_SKIN_MENU_CLICK_OUTSIDE = 6024,
    WM_SKIN_MENU_RCLICK_OUTSIDE = 6025,
    WM_SKIN_MENU_OVER_NOTHING = 6026,
    WM_SKIN_CLOSE_SUBMENU = 6032,
    WM_SKIN_MENU_CHOSEN = 6033,
};
extern const wchar_t kPopupMenuClass[];

class SkinPopupMenu {
public:
    enum Mode { kMenuBarMode = 0, kSystemMode = 1, kPopupMode = 2, kReturnMode = 3 };

    SkinPopupMenu(HWND owner, SkinPopupMenu *parent, Mode mode);
    ~SkinPopupMenu();
    SkinPopupMenu(const SkinPopupMenu &) = delete;
    SkinPopupMenu &operator=(const SkinPopupMenu &) = delete;

    // The modal tracking: the command id in TPM_RETURNCMD mode (0 for none), else 1, or 0
    // after Escape or when the loop ended by WM_QUIT (which is posted again); -1 when the menu
    // window could not be made.
    static int track(HMENU menu, UINT flags, int x, int y, HWND owner, bool systemMenu);
    // The menu of an item of a skinned frame's menu bar (the frame's menu-bar mode): shown below
    // the item (screen rectangle) and tracked until it ends; the frame gets the clicks and moves
    // outside the menus and the keys the menu does not use. 1 when it ended (0 after Escape or
    // WM_QUIT), -1 when it could not be shown.
    static int trackMenuBarItem(HMENU submenu, const RECT &item, HWND frame);
    // Ends the menu this thread tracks without a command and without telling its owner.
    static void endCurrent();

    HWND window() const { return window_; }
    const std::vector<MenuItem> &items() const { return items_; }
    int hotIndex() const { return hot_; }
    const MenuBand &band() const { return band_; }
    SkinPopupMenu *submenu() const { return sub_.get(); }
    // The menu being tracked on this thread (its top menu); null when none.
    static SkinPopupMenu *current();

private:
    // The current skin's PopupMenu object; null for none (the built-in look).
    static PopupMenuDefinition *skinDefinition();
    // The top menu's modal loop, once it is shown.
    int runLoop();
    bool create();
    void load(HMENU menu);
    void setDefinition(PopupMenuDefinition *definition);
    SIZE measure();
    void show(const SkinRect &screen);
    void close();
    // While the top menu is shown, the owner's top-level window keeps its active caption: a
    // link on it answers the deactivation of its non-client area.
    void keepOwnerCaption();
    void releaseOwnerCaption();

    static LRESULT CALLBACK classProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp);
    // The client area is drawn in two layers: the pictures and fills first, mirrored as a
    // whole in a right-to-left menu, then the texts on top, which keep their reading direction.
    enum class Layer { kPictures, kTexts };
    void paintClient(HDC windowDC);
    void paint(HDC dc, const RECT &client, Layer layer);
    void paintItem(HDC dc, int index, const RECT &row, Layer layer);
    // The frame pieces in the non-client area around the items.
    void paintFrame();
    RECT innerRect() const;
    RECT itemRect(int index) const;

    SkinPopupMenu *top();
    SkinPopupMenu *deepest();
    // The menu of the chain under the screen point, the deepest first; null for none.
    SkinPopupMenu *menuAt(POINT screen);
    void onPointerMove(POINT screen);
    void onButtonDown(POINT screen, bool right);
    void onKey(WPARAM key);
    void onAltKey(WPARAM key);
    void setHot(int index, bool byMouse);
    void openSubmenu(int index, bool selectFirst);
    void closeSubmenu();
    // Chooses the item: opens its submenu, or ends the chain with its command.
    void choose(int index, bool openSubmenus);
    // Ends the whole chain (from any menu of it).
    void finish(bool withCommand, uint32_t command, bool escaped);
    void forwardKey(WPARAM key, LPARAM data);

    HWND owner_;
    SkinPopupMenu *parent_;
    Mode mode_;
    HWND window_ = nullptr;
    HWND captionWindow_ = nullptr;
    HMENU menu_ = nullptr;
    std::vector<MenuItem> items_;
    std::unique_ptr<SkinPopupMenu> sub_;
    int subIndex_ = -1;
    int hot_ = -1;
    MenuBand band_;
    int32_t itemHeight_ = 18;
    PopupMenuDefinition *definition_ = nullptr;
    std::unique_ptr<PopupMenuDefinition> builtIn_;
    FramePieces design_{};
    // The frame's widths on the screen's left, top, right and bottom (the design's left and
    // right pieces swap sides in a right-to-left menu).
    FrameBorders borders_{1, 1, 1, 1};
    bool rightToLeft_ = false;
    HFONT font_ = nullptr;
    bool ownsFont_ = false;
    // Kept by the top menu.
    POINT pointerAtShow_{0, 0};
    bool pointerMoved_ = false;
    bool done_ = false;
    bool escaped_ = false;
    bool hasResult_ = false;
    uint32_t result_ = 0;
};

// The tracking behind skinShowPopupMenu, and the menus of skinned frames' menu bars.
int skinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);
int skinTrackMenuBarItem(HMENU submenu, const RECT &item, HWND frame);
void skinEndMenuBarItem();

#endif
