#include "frame_geometry.h"

#include <algorithm>
#include <limits>

namespace {

// Added to the top corners' width and piece 0's height for the size a skin enlarges a window to.
constexpr int32_t kMinimumExtraWidth = 10;
constexpr int32_t kMinimumExtraHeight = 5;
constexpr SkinSize kMinimumWithoutSkin{10, 10};
// Added to both minimum tracking dimensions.
constexpr int32_t kTrackExtra = 2;

// Caption-text kinds as hit codes.
enum CaptionTextHit : int32_t {
    kTextCaption = 1,
    kTextLeft = 2,
    kTextTopLeft = 3,
    kTextTop = 4,
    kTextTopRight = 5,
    kTextRight = 6,
    kTextBottomRight = 7,
    kTextBottom = 8,
    kTextBottomLeft = 9,
    kTextCaptionToo = 10,
};

bool inTopLeftGrip(const SkinRect &r, SkinPoint p) { return p.x < r.left + kSizingGrip && p.y < r.top + kSizingGrip; }
bool inTopRightGrip(const SkinRect &r, SkinPoint p) { return p.x >= r.right - kSizingGrip && p.y < r.top + kSizingGrip; }
bool inBottomLeftGrip(const SkinRect &r, SkinPoint p)
{
    return p.x < r.left + kSizingGrip && p.y >= r.bottom - kSizingGrip;
}
bool inBottomRightGrip(const SkinRect &r, SkinPoint p)
{
    return p.x >= r.right - kSizingGrip && p.y >= r.bottom - kSizingGrip;
}

// Step 3 of the frame's hit test over the pieces alone: sizing edges and corners, caption,
// client; `outside` where no piece holds the point.
int32_t pieceHitCode(const FramePieces &pieces, SkinPoint p, int32_t outside)
{
    const auto in = [&](int i) { return skinRectContains(pieces[i], p); };
    if (in(kPieceTopLeft)) return inTopLeftGrip(pieces[kPieceTopLeft], p) ? kHitTopLeft : kHitCaption;
    if (in(kPieceTop)) return p.y < pieces[kPieceTop].top + kSizingGrip ? kHitTop : kHitCaption;
    if (in(kPieceTopRight)) return inTopRightGrip(pieces[kPieceTopRight], p) ? kHitTopRight : kHitCaption;
    if (in(kPieceRight)) return kHitRight;
    if (in(kPieceLeft)) return kHitLeft;
    if (in(kPieceBottomRight)) return inBottomRightGrip(pieces[kPieceBottomRight], p) ? kHitBottomRight : kHitBottom;
    if (in(kPieceBottomLeft)) return inBottomLeftGrip(pieces[kPieceBottomLeft], p) ? kHitBottomLeft : kHitBottom;
    if (in(kPieceBottom)) return kHitBottom;
    if (in(kPieceCentre)) return kHitClient;
    return outside;
}

// A window that cannot be sized is moved by its top edge and corners and answers nowhere on
// the other sizing places.
int32_t withoutSizing(int32_t code)
{
    switch (code) {
    case kHitTopLeft:
    case kHitTop:
    case kHitTopRight:
        return kHitCaption;
    case kHitLeft:
    case kHitRight:
    case kHitBottom:
    case kHitBottomLeft:
    case kHitBottomRight:
        return kHitNowhere;
    default:
        return code;
    }
}

bool inTopPieces(const FramePieces &pieces, SkinPoint p)
{
    return skinRectContains(pieces[kPieceTopLeft], p) || skinRectContains(pieces[kPieceTop], p) ||
           skinRectContains(pieces[kPieceTopRight], p);
}

}  // namespace

bool skinRectContains(const SkinRect &rect, SkinPoint point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

FramePieces designPieces(const BorderedDefinition &definition)
{
    FramePieces pieces;
    std::copy(std::begin(definition.pieces), std::end(definition.pieces), pieces.begin());
    return pieces;
}

FramePieces layoutFramePieces(const FramePieces &design, int32_t width, int32_t height)
{
    FramePieces p = design;
    stretchFramePieces(p.data(), width - design[kPieceBottomRight].right, height - design[kPieceBottomRight].bottom);
    return p;
}

FrameBorders frameBorders(const FramePieces &design, bool rightToLeft)
{
    FrameBorders b;
    b.left = design[kPieceLeft].width();
    b.right = design[kPieceRight].width();
    if (rightToLeft) std::swap(b.left, b.right);
    b.top = design[kPieceTopLeft].height();
    b.bottom = design[kPieceBottomLeft].height();
    return b;
}

SkinRect frameClientRect(const SkinRect &window, const FrameBorders &borders,
                         const std::function<int32_t(int32_t)> &menuBarHeightForWidth)
{
    SkinRect client{window.left + borders.left, window.top + borders.top, window.right - borders.right,
                    window.bottom - borders.bottom};
    if (menuBarHeightForWidth) client.top += menuBarHeightForWidth(client.width());
    // A window smaller than its borders keeps an empty client area inside its rectangle.
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

bool isResizableStyle(uint32_t style)
{
    if (!(style & frame_style::kThickFrame)) return false;
    return !((style & frame_style::kDialogFrame) && (style & frame_style::kModalFrame));
}

bool isFramedDialogStyle(uint32_t style)
{
    return (style & frame_style::kDialogFrame) != 0 || (style & frame_style::kModalFrame) != 0;
}

bool drawsCaptionText(uint32_t style) { return (style & frame_style::kCaption) == frame_style::kCaption; }

int32_t frameHitTest(const FramePieces &pieces, SkinPoint point, const SkinRect &menuBar, int32_t partAnswer,
                     FrameHitState state)
{
    if (skinRectContains(menuBar, point)) return kHitMenu;
    if (state.maximized) {
        if (partAnswer == kHitCaption || inTopPieces(pieces, point)) return kHitCaption;
        return skinRectContains(pieces[kPieceCentre], point) ? kHitClient : kHitNowhere;
    }
    const int32_t code = partAnswer != kHitNowhere ? partAnswer : pieceHitCode(pieces, point, kHitError);
    return state.resizable ? code : withoutSizing(code);
}

int32_t dialogHitTest(const FramePieces &pieces, SkinPoint point, int32_t partAnswer, FrameHitState state)
{
    if (partAnswer == kHitCaption) return kHitCaption;
    if (skinRectContains(pieces[kPieceCentre], point)) return kHitClient;
    if (!state.resizable || state.maximized) return inTopPieces(pieces, point) ? kHitCaption : kHitNowhere;
    return pieceHitCode(pieces, point, kHitNowhere);
}

SkinSize frameMinimumSize(const BorderedDefinition *definition)
{
    if (!definition) return kMinimumWithoutSkin;
    const SkinRect *p = definition->pieces;
    return SkinSize{p[kPieceTopLeft].width() + p[kPieceTopRight].width() + kMinimumExtraWidth,
                    p[kPieceTopLeft].height() + kMinimumExtraHeight};
}

SkinSize frameMinimumTrackSize(const FramePieces &p)
{
    const int32_t bottom = p[kPieceBottomLeft].width() + p[kPieceBottomRight].width();
    const int32_t top = p[kPieceTopLeft].width() + p[kPieceTopRight].width();
    return SkinSize{std::max(bottom, top) + kTrackExtra,
                    p[kPieceTopLeft].height() + p[kPieceBottomLeft].height() + kTrackExtra};
}

FrameMinMax frameMinMax(const FramePieces &design, const SkinRect &workArea)
{
    constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();
    return FrameMinMax{SkinSize{workArea.width(), workArea.height()}, SkinPoint{workArea.left, workArea.top},
                       frameMinimumTrackSize(design), SkinSize{kUnbounded, kUnbounded}};
}

FrameMinMax mdiChildMinMax(const FramePieces &design, SkinSize parentClient)
{
    const FrameBorders b = frameBorders(design, false);
    FrameMinMax m = frameMinMax(design, SkinRect{0, 0, 0, 0});
    m.maxSize = SkinSize{parentClient.width + b.left + b.right, parentClient.height + b.top + b.bottom};
    m.maxPosition = SkinPoint{-b.left, -b.top};
    return m;
}

FrameMinMax mergeMinMax(const FrameMinMax &ours, const FrameMinMax &theirs)
{
    FrameMinMax m = ours;
    m.maxSize.width = std::min(ours.maxSize.width, theirs.maxSize.width);
    m.maxSize.height = std::min(ours.maxSize.height, theirs.maxSize.height);
    m.maxTrack.width = std::min(ours.maxTrack.width, theirs.maxTrack.width);
    m.maxTrack.height = std::min(ours.maxTrack.height, theirs.maxTrack.height);
    m.minTrack.width = std::max(ours.minTrack.width, theirs.minTrack.width);
    m.minTrack.height = std::max(ours.minTrack.height, theirs.minTrack.height);
    return m;
}

SkinRect layoutCaptionText(const CaptionStaticDefinition &part, SkinSize window, SkinSize reference)
{
    SkinRect r = part.rect;
    const int32_t dx = window.width - reference.width;
    const int32_t dy = window.height - reference.height;
    if (part.anchorRight) {
        r.right += dx;
        if (!part.anchorLeft) r.left += dx;
    }
    if (part.anchorBottom) {
        r.bottom += dy;
        if (!part.anchorTop) r.top += dy;
    }
    return r;
}

int32_t captionTextHitCode(int32_t kind)
{
    switch (kind) {
    case kTextCaption:
    case kTextCaptionToo: return kHitCaption;
    case kTextLeft: return kHitLeft;
    case kTextTopLeft: return kHitTopLeft;
    case kTextTop: return kHitTop;
    case kTextTopRight: return kHitTopRight;
    case kTextRight: return kHitRight;
    case kTextBottomRight: return kHitBottomRight;
    case kTextBottom: return kHitBottom;
    case kTextBottomLeft: return kHitBottomLeft;
    default: return kHitNowhere;
    }
}

CaptionAction captionButtonAction(int32_t kind, bool zoomed, bool iconic)
{
    switch (kind) {
    case kCaptionClose: return CaptionAction::Close;
    case kCaptionIcon:
    case kCaptionSystemMenu: return CaptionAction::SystemMenu;
    case kCaptionMaximize: return zoomed ? CaptionAction::Restore : CaptionAction::Maximize;
    case kCaptionMinimize: return iconic ? CaptionAction::Restore : CaptionAction::Minimize;
    default: return CaptionAction::Command;
    }
}

bool captionButtonEnabled(int32_t kind, uint32_t style)
{
    switch (kind) {
    case kCaptionClose:
    case kCaptionSystemMenu: return (style & frame_style::kSystemMenu) != 0;
    case kCaptionMaximize: return (style & frame_style::kMaximizeBox) != 0;
    case kCaptionMinimize: return (style & frame_style::kMinimizeBox) != 0;
    default: return true;
    }
}
