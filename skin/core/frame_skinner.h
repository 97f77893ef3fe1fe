// The skinners of top-level windows (Windows only). Both take over the non-client area: its
// size, hit tests and min/max answers from the skin's nine frame pieces (frame_nonclient.h),
// the borders and caption painted off-screen in the active or inactive look, the window
// region from the skin's key colour, the caption parts (frame_part_objects.h) and the client
// background from the skin. The frame skinner also draws and runs the window's menu in a
// skinned menu bar and skins the MDI client window; the dialog skinner gives the frame
// treatment only to dialogs that have a frame.
#ifndef WORDMERE_SKIN_CORE_FRAME_SKINNER_H
#define WORDMERE_SKIN_CORE_FRAME_SKINNER_H

#include <windows.h>

#include <memory>

#include "frame_nonclient.h"
#include "menu_bar_element.h"
#include "skin_draw.h"
#include "window_skinner.h"

// Sent by an MDI child frame to its MDI client when it goes (lParam its rectangle).
constexpr UINT WM_SKIN_MDI_CHILD_GONE = 6028;
// A popup menu relays a click (6024, 6025) or a pointer move (6026) to its frame.
constexpr UINT WM_SKIN_RELAY_CLICK = 6024;
constexpr UINT WM_SKIN_RELAY_CLICK_ALT = 6025;
constexpr UINT WM_SKIN_RELAY_MOVE = 6026;

class FramePart;

// What the frame and dialog skinners share.
class FramedSkinner : public WindowSkinner {
public:
    FramedSkinner();
    ~FramedSkinner() override;

    SkinObject *setSkin(SkinObject *definition) override;
    void drawFrame(HDC dc, bool active) override;
    void eraseBackground(HDC dc, int flag) override;
    RECT clientMargins() override;
    HRGN windowRegion() override;
    virtual void drawCaptionText(HDC dc, bool active);

    // The look painted now: active or inactive.
    bool activeLook() const { return active_; }
    // Something the frame shows changed: the next non-client paint composes it again.
    void markFrameDirty() { frameDirty_ = true; }
    uint32_t realStyle() const { return realStyle_; }
    const FrameNonClient *nonClient() const { return nonClient_.get(); }

protected:
    const BorderedDefinition *bordered() const;
    // The non-client answers for the current definition and style (the menu bar for frames).
    void rebuildNonClient(MenuBarModel *menuBar, FrameNonClient::Kind kind);
    // The parts placed for the window's current size.
    void layoutParts();
    FramePart *framePart(size_t index) const;
    int32_t partHitAnswer(SkinPoint p) const;
    // Gives the parts a mouse message; true when one of them took it.
    bool partsMouse(UINT message, SkinPoint p);
    // While a part holds the pointer (a caption button pressed), the release and the moves
    // come to the client area: they go to the parts, in window coordinates.
    bool onCapturedMouse(UINT message, LPARAM clientPoint, LRESULT &result);
    SkinPoint windowPoint(LPARAM screen) const;
    SkinSize windowSize() const;
    // The style the default procedure is shown for messages on which it would draw a frame.
    uint32_t shownStyle() const;
    // The current style without WS_SYSMENU: the default procedure then draws no caption buttons.
    uint32_t styleWithoutSystemMenu() const;
    LRESULT callWithStyle(UINT message, WPARAM wp, LPARAM lp, uint32_t style);
    // Messages on which the default procedure draws nothing: passed on, then the frame repainted.
    LRESULT callThenRepaintFrame(UINT message, WPARAM wp, LPARAM lp);
    // The window resized so that its client area keeps `client` under the skin's borders.
    void keepClientArea(SIZE client);
    void redrawAll();

    LRESULT onNcPaint(WPARAM wp);
    LRESULT onNcActivate(WPARAM wp, LPARAM lp);
    LRESULT onNcHitTest(LPARAM lp);
    LRESULT onGetMinMaxInfo(WPARAM wp, LPARAM lp);
    LRESULT onEraseBackground(HDC dc);
    LRESULT onPaintBackground(HDC childDC, HWND child);
    LRESULT onSetText(UINT message, WPARAM wp, LPARAM lp);
    LRESULT onNcLButtonDown(WPARAM wp, LPARAM lp);
    LRESULT onNcLButtonUp(WPARAM wp, LPARAM lp);
    LRESULT onNcLButtonDblClk(WPARAM wp, LPARAM lp);
    LRESULT onNcMouseMove(WPARAM wp, LPARAM lp);
    LRESULT onPartTimer(WPARAM id);
    void showSystemMenu();
    // The client background from the skin (picture 4 over the third colour).
    void buildBackground();
    void dropBackground();
    virtual bool paintsBackground() const { return true; }
    virtual MenuBarElement *menuBar() { return nullptr; }
    bool isFramedTreatment() const;

    std::unique_ptr<FrameNonClient> nonClient_;
    uint32_t realStyle_ = 0;
    bool active_ = false;
    SkinSize laidOut_{-1, -1};
    std::unique_ptr<MemoryDC> background_;
    bool backgroundRepaint_ = false;
    uint32_t lastCaptionUp_ = 0;
    bool partCapture_ = false;
    // The composed frame, copied again as long as nothing it shows has changed.
    std::unique_ptr<MemoryDC> frameCache_;
    bool frameDirty_ = true;
    bool cachedActive_ = false;
    uint32_t cachedMenuVersion_ = 0;
};

class FrameSkinner : public FramedSkinner {
public:
    FrameSkinner();
    ~FrameSkinner() override;
    bool attach(HWND window) override;
    void detach() override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    MenuBarElement *menuBar() override { return menuBar_.get(); }

protected:
    // A key the bar's open menu did not use goes to the bar.
    LRESULT onMenuRelay(WPARAM wp, LPARAM lp) override;

private:
    bool paintsBackground() const override;
    void adoptWindowMenu();
    void rebuildFrameNonClient();
    void skinMdiClient();
    bool isMdiChild() const;

    std::unique_ptr<MenuBarElement> menuBar_;
    HMENU originalMenu_ = nullptr;
    HWND mdiClient_ = nullptr;
    // Set once the menu goes back to the window (detach, destruction).
    bool givingMenuBack_ = false;
};

class DialogSkinner : public FramedSkinner {
public:
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
};

// Paints an MDI client's background from its frame's definition.
class MdiClientSkinner : public WindowSkinner {
public:
    explicit MdiClientSkinner(const FrameWndDefinition *frame) : frame_(frame) {}
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    bool keepWithoutSkin() override { return true; }
    void setFrame(const FrameWndDefinition *frame) { frame_ = frame; }

private:
    const FrameWndDefinition *frame_;
};

// Registers the frame and dialog skinners and the frame parts with the skin engine.
void skinRegisterFrameSkinners();

#endif
