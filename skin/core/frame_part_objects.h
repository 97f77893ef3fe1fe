// The parts drawn on a skinned frame (Windows only): areas, caption buttons and caption texts,
// each laid out for the window's size, answering hit tests, taking the mouse, and (the
// caption texts) shaping the window region. The frame and dialog skinners paint them into
// their off-screen frame bitmap.
#ifndef WORDMERE_SKIN_CORE_FRAME_PART_OBJECTS_H
#define WORDMERE_SKIN_CORE_FRAME_PART_OBJECTS_H

#include <windows.h>

#include <memory>

#include "frame_parts.h"
#include "skin_definitions.h"
#include "window_skinner.h"

// The timers of caption buttons: this id plus the part's place in the part list.
constexpr UINT_PTR kCaptionButtonTimerBase = 0x5B00;
constexpr UINT kCaptionButtonTimerMs = 100;

class FramePart : public SkinPart {
public:
    // Places the part for a window of that size against the definition's reference size.
    virtual void layout(SkinSize window, SkinSize reference);
    // Whether the part is shown in the window's state and holds the point (window coordinates).
    bool hits(SkinPoint p) const;
    // The hit-test answer at the point, 0 when the part does not answer.
    virtual int32_t hitCode(SkinPoint p) const { return 0; }
    // A mouse message (WM_MOUSEMOVE .. WM_LBUTTONDBLCLK) at a point in window coordinates;
    // answers whether the part took it (the frame does nothing more with it).
    virtual bool mouse(UINT message, SkinPoint p);
    // This part's timer fired.
    virtual void onTimer() {}
    // Joins the part's region into the window region (caption texts only).
    virtual void combineRegion(HRGN region) {}
    virtual void setEnabledByStyle(uint32_t style) {}

    int32_t partId() const;
    bool shown() const;
    UINT_PTR timerId = 0;

protected:
    HWND window() const { return owner ? owner->window() : nullptr; }
    const AreaDefinition *area() const { return static_cast<const AreaDefinition *>(definition_); }
    void notify(UINT message, SkinPoint p) const;
    void repaint() const;
};

class CaptionButtonPart : public FramePart {
public:
    SkinObject *setSkin(SkinObject *definition) override;
    void paint(HDC dc) override;
    int32_t hitCode(SkinPoint p) const override;
    bool mouse(UINT message, SkinPoint p) override;
    void onTimer() override;
    void setEnabledByStyle(uint32_t style) override;
    const CaptionButtonModel &model() const { return model_; }

private:
    const CaptionButtonDefinition *button() const { return static_cast<const CaptionButtonDefinition *>(definition_); }
    void runAction();
    bool inHitArea(SkinPoint p) const;

    CaptionButtonModel model_;
    SkinResolvedPicture hitPicture_;
};

class CaptionTextPart : public FramePart {
public:
    void layout(SkinSize window, SkinSize reference) override;
    void paint(HDC dc) override;
    int32_t hitCode(SkinPoint p) const override;
    void combineRegion(HRGN region) override;

private:
    const CaptionStaticDefinition *text() const { return static_cast<const CaptionStaticDefinition *>(definition_); }
};

class AreaPart : public FramePart {
public:
    void paint(HDC dc) override;
};

// The maker the window skinner calls for each child definition of a frame.
std::unique_ptr<SkinPart> makeFramePart(WindowSkinner *owner, SkinObject *definition);

// A region of the picture fitted to a target rectangle by the picture's draw mode (moved,
// repeated or scaled); the target rectangle when the picture has no region. A new region.
HRGN fittedPictureRegion(const SkinResolvedPicture &resolved, int32_t mode, const RECT &target);

#endif
