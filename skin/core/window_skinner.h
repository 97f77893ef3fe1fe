// SkinPart and WindowSkinner: the objects drawn on a skinned window and the skinner attached
// to one window. A skinner joins the window's subclass links (fwsubclass.h), so detaching it
// never cuts out a subclasser that came after it; it keeps its definition, its parts and the
// skinners of its child controls, and routes a few messages to them. Frame, dialog and
// control skinners derive from it.
#ifndef WORDMERE_SKIN_CORE_WINDOW_SKINNER_H
#define WORDMERE_SKIN_CORE_WINDOW_SKINNER_H

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin_object.h"

class WindowSkinner;

// The engine's private window messages.
enum SkinPrivateMessage : UINT {
    WM_SKIN_END_POPUP_MENU = 6027,
    WM_SKIN_CONTROL_DESTROYED = 6035,
    WM_SKIN_MENU_RELAY = 6036,
    WM_SKIN_PAINT_BACKGROUND = 6037,
    WM_SKIN_SAVE_FONT = 6038,
    // Posted to a skinned frame by its menu bar: show the submenu of item wParam.
    WM_SKIN_OPEN_MENU_BAR_ITEM = 6039,
    // Posted to a skinned frame or dialog: show its system menu.
    WM_SKIN_SHOW_SYSTEM_MENU = 6040,
    // Asked of a skinned frame (by the menu bar of its MDI frame): its real style.
    WM_SKIN_REAL_STYLE = 6041,
    WM_SKIN_QUERY_EXCLUDE = WM_APP + 1000,
};
// The default message a watched window gets on every change of the skin.
constexpr UINT kSkinChangedMessage = 3024;
// Notifications of frame parts to their window (wParam the part id).
enum SkinPartNotification : UINT {
    kPartMouseMove = 3025, kPartLButtonDown, kPartRButtonDown, kPartLButtonUp, kPartRButtonUp,
    kPartLButtonDblClk, kPartLeft, kPartTooltipText,
};
// The window property that holds a window's skinner.
extern const wchar_t kSkinObjectProperty[];

class SkinPart {
public:
    SkinPart() = default;
    virtual ~SkinPart() = default;
    SkinPart(const SkinPart &) = delete;
    SkinPart &operator=(const SkinPart &) = delete;

    virtual void paint(HDC dc) = 0;
    // Replaces the definition; answers the previous one.
    virtual SkinObject *setSkin(SkinObject *definition);
    virtual std::wstring tooltipText(int x, int y);
    virtual void setTooltipText(const wchar_t *text);

    SkinObject *definition() const { return definition_; }
    RECT rect{0, 0, 0, 0};
    bool visible = true;
    int32_t state = 1;
    WindowSkinner *owner = nullptr;

protected:
    std::wstring tooltip_;
    SkinObject *definition_ = nullptr;
};

class WindowSkinner : public SkinPart {
public:
    WindowSkinner();
    ~WindowSkinner() override;

    void paint(HDC dc) override;
    SkinObject *setSkin(SkinObject *definition) override;

    // Skins the window's children, joins its subclass links, sets "OBJECT" and redraws.
    virtual bool attach(HWND window);
    // Unskins the children, leaves the links, takes away the region and "OBJECT".
    virtual void detach();
    // The window is being destroyed: leave it without repainting anything.
    void release();
    // 0: the manager detaches this skinner when a new skin has no object for it.
    virtual bool keepWithoutSkin() { return false; }
    virtual LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp);
    virtual void onShowWindow(bool shown, int status) {}
    virtual LRESULT onMenuRelay(WPARAM wp, LPARAM lp) { return 0; }
    virtual void eraseBackground(HDC dc, int flag) {}
    virtual void drawFrame(HDC dc, bool active) {}
    virtual RECT clientMargins() { return RECT{0, 0, 0, 0}; }
    virtual void drawExtra(HDC dc) {}
    // The window's region from the skin's pieces; null when the skin asks for none.
    virtual HRGN windowRegion() { return nullptr; }
    // The type code of what this skinner skins (its definition's type, 0 without one).
    virtual int32_t typeCode() const;
    // Sends the window WM_NCPAINT for a rectangle in window coordinates.
    void repaintNonClient(const RECT &rect);

    // Skins one child window (its descendants first); true when it is a control type.
    bool skinChild(HWND child, SkinObject *container);
    void skinChildren(HWND window, SkinObject *container);
    void unskinChildren(HWND window);
    // The first child of the container in name order of that type and control id.
    static SkinObject *findControlObject(SkinObject *container, int32_t controlId, int32_t type);
    LRESULT ctlColorStatic(HDC dc, HWND control);

    HWND window() const { return window_; }
    bool isDestroyed() const { return destroyed_; }
    // Passes a message to the window's procedure below this skinner.
    LRESULT callPrevious(UINT message, WPARAM wp, LPARAM lp);
    const std::map<HWND, WindowSkinner *> &childMap() const { return children_; }
    WindowSkinner *container() const { return container_; }
    void setContainer(WindowSkinner *container) { container_ = container; }
    // A child skinner that goes tells its container here.
    void forgetChild(HWND child);
    void forgetSkinner(const WindowSkinner *child);
    const std::vector<std::unique_ptr<SkinPart>> &parts() const { return parts_; }
    bool drawsCaptionText() const { return captionText_; }
    bool usesRegion() const { return regionFlag_; }
    COLORREF keyColor() const { return keyColor_; }

protected:
    virtual void onNcDestroy();

    HWND window_ = nullptr;
    bool attached_ = false;
    bool destroyed_ = false;
    bool captionText_ = true;
    bool regionFlag_ = false;
    COLORREF keyColor_ = 0x00FF00FF;
    HRGN region_ = nullptr;
    RECT textRect_{0, 0, 0, 0};
    std::vector<std::unique_ptr<SkinPart>> parts_;
    std::map<HWND, WindowSkinner *> children_;  // not owned: the manager owns them
    WindowSkinner *container_ = nullptr;

private:
    static LRESULT subclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp, void *data);
    void buildParts();
};

// Makers the skinner subclasses register: of the part for a child definition of a skin
// (caption buttons, areas, caption texts), null for none.
using SkinPartMaker = std::unique_ptr<SkinPart> (*)(WindowSkinner *owner, SkinObject *definition);
void setSkinPartMaker(SkinPartMaker maker);

#endif
