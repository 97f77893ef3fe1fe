// Where the non-client parts of a skinned frame or dialog lie: the nine frame pieces laid out
// for a window size, the borders around the client area, the hit-test answer at a point, the
// minimum and tracking sizes, the placement and hit codes of caption texts and what a caption
// button does. Platform-neutral: window styles and hit codes carry the platform's values under
// names of their own, so the same tables run natively and against real windows under Wine.
#ifndef WORDMERE_SKIN_CORE_FRAME_GEOMETRY_H
#define WORDMERE_SKIN_CORE_FRAME_GEOMETRY_H

#include <array>
#include <cstdint>
#include <functional>

#include "skin_definitions.h"

// The window styles the skinners read (the platform's values).
namespace frame_style {
constexpr uint32_t kCaption = 0x00C00000;     // both bits: a full caption
constexpr uint32_t kDialogFrame = 0x00400000;
constexpr uint32_t kThickFrame = 0x00040000;
constexpr uint32_t kSystemMenu = 0x00080000;
constexpr uint32_t kMinimizeBox = 0x00020000;
constexpr uint32_t kMaximizeBox = 0x00010000;
constexpr uint32_t kModalFrame = 0x00000080;  // a dialog template's modal frame bit
}  // namespace frame_style

// The platform's hit-test answers.
enum FrameHitCode : int32_t {
    kHitError = -2,
    kHitNowhere = 0,
    kHitClient = 1,
    kHitCaption = 2,
    kHitMenu = 5,
    kHitLeft = 10,
    kHitRight = 11,
    kHitTop = 12,
    kHitTopLeft = 13,
    kHitTopRight = 14,
    kHitBottom = 15,
    kHitBottomLeft = 16,
    kHitBottomRight = 17,
};

// The side of the square in each corner, and the rows along the top, that size the window.
constexpr int32_t kSizingGrip = 5;

struct SkinPoint {
    int32_t x;
    int32_t y;
};

struct SkinSize {
    int32_t width;
    int32_t height;
    bool operator==(const SkinSize &o) const { return width == o.width && height == o.height; }
};

using FramePieces = std::array<SkinRect, kPieceCount>;

bool skinRectContains(const SkinRect &rect, SkinPoint point);

// The design pieces of a definition (the pieces of its reference picture).
FramePieces designPieces(const BorderedDefinition &definition);
// The pieces for a window of width × height: the corners keep their size, the right column and
// the bottom row move with the window's right and bottom edges, the edges and the centre grow.
FramePieces layoutFramePieces(const FramePieces &design, int32_t width, int32_t height);

// The widths of the four borders around the client area, before the menu bar: piece 3 on the
// left and piece 5 on the right (the other way round for a right-to-left window), the height of
// piece 0 at the top and of piece 6 at the bottom.
struct FrameBorders {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
FrameBorders frameBorders(const FramePieces &design, bool rightToLeft);

// The client rectangle of a window rectangle: less the borders, and at the top less the menu
// bar's height for the client width that the side borders leave.
SkinRect frameClientRect(const SkinRect &window, const FrameBorders &borders,
                         const std::function<int32_t(int32_t)> &menuBarHeightForWidth);

// A window can be sized when it has a thick frame, unless it is a dialog frame with the modal
// frame bit; a dialog is framed (gets the skin's border) with a dialog frame or the modal frame
// bit; caption text is drawn only with the full caption style.
bool isResizableStyle(uint32_t style);
bool isFramedDialogStyle(uint32_t style);
bool drawsCaptionText(uint32_t style);

struct FrameHitState {
    bool maximized;
    bool resizable;
};

// The frame's hit test at a point in window coordinates over the laid-out pieces. `menuBar` is
// the menu bar's rectangle (empty without a bar), `partAnswer` what the frame's parts answer at
// the point (0 when none does).
int32_t frameHitTest(const FramePieces &pieces, SkinPoint point, const SkinRect &menuBar, int32_t partAnswer,
                     FrameHitState state);
// The dialog's hit test: only a part's caption answer counts; a dialog that cannot be sized,
// or is maximised, is moved by its top pieces and answers nowhere on the others.
int32_t dialogHitTest(const FramePieces &pieces, SkinPoint point, int32_t partAnswer, FrameHitState state);

// The size a resizable window is enlarged to when a skin is applied: pieces 0 and 2 side by side
// plus 10, piece 0's height plus 5; 10 × 10 without a definition.
SkinSize frameMinimumSize(const BorderedDefinition *definition);
// The smallest size the window can be dragged to: the wider of the bottom corners and the top
// corners, plus 2; the heights of pieces 0 and 6, plus 2.
SkinSize frameMinimumTrackSize(const FramePieces &design);

// The fields of the platform's min/max information that the skinners answer.
struct FrameMinMax {
    SkinSize maxSize;
    SkinPoint maxPosition;
    SkinSize minTrack;
    SkinSize maxTrack;
};
// A top-level window: maximised over the work area; tracking from the skin's pieces; no
// maximum tracking size of its own (the largest value, so the window's answer holds).
FrameMinMax frameMinMax(const FramePieces &design, const SkinRect &workArea);
// An MDI child: maximised over its parent's client area with the borders outside it.
FrameMinMax mdiChildMinMax(const FramePieces &design, SkinSize parentClient);
// Ours after the window's own procedure answered `theirs`: its maximum sizes where smaller,
// its minimum tracking size where larger.
FrameMinMax mergeMinMax(const FrameMinMax &ours, const FrameMinMax &theirs);

// The rectangle of a caption-text part for a window of `window` size against the definition's
// reference size: anchored left and right it widens, right only it moves, likewise top and
// bottom; otherwise it keeps its design position.
SkinRect layoutCaptionText(const CaptionStaticDefinition &part, SkinSize window, SkinSize reference);
// What a point on a caption-text part answers, by its kind.
int32_t captionTextHitCode(int32_t kind);

// What releasing a caption button does.
enum class CaptionAction { Command, Close, SystemMenu, Maximize, Restore, Minimize };
CaptionAction captionButtonAction(int32_t kind, bool zoomed, bool iconic);
// Whether a caption button of that kind is enabled on a window of that style.
bool captionButtonEnabled(int32_t kind, uint32_t style);

#endif
