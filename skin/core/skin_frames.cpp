// Bordered definitions (frames, popup menus, tooltips), areas, caption parts and the menu bar.
#include <cstring>

#include "skin_definitions.h"
#include "skin_fields.h"
#include "system_colors.h"

namespace {
constexpr SkinColor kDefaultActiveFill = 0x00FF0000;
constexpr SkinColor kDefaultInactiveFill = 0x00727200;
constexpr SkinColor kDefaultBackgroundFill = 0x00FFFFFF;
constexpr int32_t kDefaultFontHeight = -12;
constexpr int32_t kNormalWeight = 400;

const char *const kPictureNames[kFramePictureCount] = {
    "activeTopLeft",    "activeTop",      "activeTopRight",      "activeLeft",       "activeCentre",
    "activeRight",      "activeBottomLeft", "activeBottom",      "activeBottomRight", "inactiveTopLeft",
    "inactiveTop",      "inactiveTopRight", "inactiveLeft",      "inactiveCentre",   "inactiveRight",
    "inactiveBottomLeft", "inactiveBottom", "inactiveBottomRight",
};
const char *const kPieceNames[kPieceCount] = {"pieceTopLeft",    "pieceTop",    "pieceTopRight",
                                              "pieceLeft",       "pieceCentre", "pieceRight",
                                              "pieceBottomLeft", "pieceBottom", "pieceBottomRight"};
const char *const kMenuButtonNames[kMenuButtonCount] = {
    "minimizeNormal", "minimizeHot", "minimizePressed", "restoreNormal", "restoreHot", "restorePressed",
    "closeNormal",    "closeHot",    "closePressed",    "systemNormal",  "systemHot",  "systemPressed",
};

// The nine pieces of a picture of the given size whose frame is `left`, `top`, `right` and
// `bottom` wide, with the top-left and top-right corners `cornerWidth` wide.
void layPieces(SkinRect (&pieces)[kPieceCount], int32_t width, int32_t height, int32_t topLeftWidth,
               int32_t topRightLeft, int32_t border, int32_t top, int32_t bottom)
{
    const int32_t inner = height - bottom;
    pieces[kPieceTopLeft] = makeSkinRect(0, 0, topLeftWidth, top);
    pieces[kPieceTop] = makeSkinRect(topLeftWidth, 0, topRightLeft, top);
    pieces[kPieceTopRight] = makeSkinRect(topRightLeft, 0, width, top);
    pieces[kPieceLeft] = makeSkinRect(0, top, border, inner);
    pieces[kPieceCentre] = makeSkinRect(border, top, width - border, inner);
    pieces[kPieceRight] = makeSkinRect(width - border, top, width, inner);
    pieces[kPieceBottomLeft] = makeSkinRect(0, inner, border, height);
    pieces[kPieceBottom] = makeSkinRect(border, inner, width - border, height);
    pieces[kPieceBottomRight] = makeSkinRect(width - border, inner, width, height);
}
}  // namespace

BorderedDefinition::BorderedDefinition(int32_t type)
    : SkinObject(type),
      font(makeSkinFont("Arial", kDefaultFontHeight, kNormalWeight)),
      activeFill(kDefaultActiveFill),
      inactiveFill(kDefaultInactiveFill),
      backgroundFill(kDefaultBackgroundFill),
      effect(defaultSkinTextEffect()),
      iconicActive(unsetSkinNineGrid()),
      iconicInactive(unsetSkinNineGrid())
{
    for (SkinPicture &p : pictures) {
        p = unsetSkinPicture();
    }
    // The pieces of a 276 x 160 picture: corners 86 and 103 wide, a 30-pixel caption,
    // 10-pixel borders and a 12-pixel bottom.
    layPieces(pieces, 276, 160, 86, 173, 10, 30, 12);
}

BorderedDefinition::~BorderedDefinition() { BorderedDefinition::releaseResources(); }

void BorderedDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    for (int i = 0; i < kFramePictureCount; ++i) {
        visitPicture(v, kPictureNames[i], pictures[i]);
    }
    for (int i = 0; i < kPieceCount; ++i) {
        v.rect(kPieceNames[i], pieces[i]);
    }
    visitFont(v, "font", font);
    v.color("captionColor", captionColor);
    v.i32("unused", unused);
    v.color("activeFill", activeFill);
    v.color("inactiveFill", inactiveFill);
    v.color("backgroundFill", backgroundFill);
    if (v.has(3)) {
        visitEffect(v, "effect", effect);
        if (v.readingMinors(3, 8)) {
            effect = defaultSkinTextEffect();
        }
    }
    if (v.has(13)) {
        visitNineGrid(v, "iconicActive", iconicActive);
        visitNineGrid(v, "iconicInactive", iconicInactive);
    }
}

void BorderedDefinition::createResources()
{
    SkinObject::createResources();
    for (int i = 0; i < kFramePictureCount; ++i) {
        resolved[i].resolve(owner(), pictures[i]);
    }
}

void BorderedDefinition::releaseResources()
{
    for (SkinResolvedPicture &r : resolved) {
        r.reset();
    }
    SkinObject::releaseResources();
}

void stretchFramePieces(SkinRect *pieces, int32_t dx, int32_t dy)
{
    // The right column moves right; the top and bottom middles and the centre widen.
    for (int i : {kPieceTopRight, kPieceRight, kPieceBottomRight}) {
        pieces[i].left += dx;
        pieces[i].right += dx;
    }
    for (int i : {kPieceTop, kPieceCentre, kPieceBottom}) {
        pieces[i].right += dx;
    }
    // The bottom row moves down; the left and right middles and the centre grow.
    for (int i : {kPieceBottomLeft, kPieceBottom, kPieceBottomRight}) {
        pieces[i].top += dy;
        pieces[i].bottom += dy;
    }
    for (int i : {kPieceLeft, kPieceCentre, kPieceRight}) {
        pieces[i].bottom += dy;
    }
}

void BorderedDefinition::setRect(const SkinRect &target)
{
    const SkinRect &centre = pieces[kPieceCentre];
    stretchFramePieces(pieces, target.width() - centre.width(), target.height() - centre.height());
}

AreaDefinition::AreaDefinition(int32_t type) : SkinObject(type), picture(unsetSkinPicture())
{
    rect = makeSkinRect(1, 1, 21, 21);
    std::memset(tooltip, 0, sizeof tooltip);
}

void AreaDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    visitPicture(v, "picture", picture);
    if (!v.has(8)) {
        // Before rectangles joined the base record an area stored its own here.
        v.rect(nullptr, rect);
    }
    v.i32("anchor", anchor);
    v.i32("partId", partId);
    if (v.has(11)) {
        v.i32("visibility", visibility);
        v.text("tooltip", tooltip, sizeof tooltip);
    }
}

CaptionButtonDefinition::CaptionButtonDefinition()
    : AreaDefinition(kSkinCaptionButton), hover(unsetSkinPicture()), pressed(unsetSkinPicture()), disabled(unsetSkinPicture())
{
}

void CaptionButtonDefinition::visitFields(SkinFieldVisitor &v)
{
    AreaDefinition::visitFields(v);
    visitPicture(v, "hover", hover);
    visitPicture(v, "pressed", pressed);
    visitPicture(v, "disabled", disabled);
    v.i32("kind", kind);
    v.i32("toggle", toggle);
}

CaptionStaticDefinition::CaptionStaticDefinition()
    : AreaDefinition(kSkinCaptionStatic), font(defaultTextStyleFont()), effect(defaultSkinTextEffect())
{
    std::memset(text, 0, sizeof text);
}

CaptionStaticDefinition::~CaptionStaticDefinition() { CaptionStaticDefinition::releaseResources(); }

void CaptionStaticDefinition::visitFields(SkinFieldVisitor &v)
{
    AreaDefinition::visitFields(v);
    v.i32("kind", kind);
    v.i32("anchorLeft", anchorLeft);
    v.i32("anchorTop", anchorTop);
    v.i32("anchorRight", anchorRight);
    v.i32("anchorBottom", anchorBottom);
    v.i32("anchorUnused", anchorUnused);
    v.i32("combine", combine);
    visitFont(v, "font", font);
    visitEffect(v, "effect", effect);
    v.text("text", text, sizeof text);
    v.i32("alignH", alignH);
    v.i32("alignV", alignV);
}

void CaptionStaticDefinition::createResources()
{
    SkinObject::createResources();
    resolvedPicture.resolve(owner(), picture);
}

void CaptionStaticDefinition::releaseResources()
{
    resolvedPicture.reset();
    SkinObject::releaseResources();
}

MenuBarDefinition::MenuBarDefinition()
    : AreaDefinition(kSkinMenuBar),
      font(makeSkinFont("Arial", kDefaultFontHeight, kNormalWeight)),
      normalText(defaultSkinTextEffect()),
      disabledText(defaultSkinTextEffect()),
      hotText(defaultSkinTextEffect()),
      hotItem(unsetSkinNineGrid()),
      openText(defaultSkinTextEffect()),
      openItem(unsetSkinNineGrid()),
      background(unsetSkinNineGrid())
{
    setName("MenuBar");
    for (SkinPicture &p : buttons) {
        p = unsetSkinPicture();
    }
}

void MenuBarDefinition::visitFields(SkinFieldVisitor &v)
{
    AreaDefinition::visitFields(v);
    visitFont(v, "font", font);
    visitEffect(v, "normalText", normalText);
    visitEffect(v, "disabledText", disabledText);
    visitEffect(v, "hotText", hotText);
    v.color("hotFill", hotFill);
    visitNineGrid(v, "hotItem", hotItem);
    visitEffect(v, "openText", openText);
    v.color("openFill", openFill);
    visitNineGrid(v, "openItem", openItem);
    if (v.has(2)) {
        for (int i = 0; i < kMenuButtonCount; ++i) {
            visitPicture(v, kMenuButtonNames[i], buttons[i]);
        }
    }
    if (v.has(3)) {
        visitNineGrid(v, "background", background);
    }
}

FrameWndDefinition::FrameWndDefinition() : BorderedDefinition(kSkinFrameWnd), mdiClient(unsetSkinPicture()) {}

void FrameWndDefinition::visitFields(SkinFieldVisitor &v)
{
    BorderedDefinition::visitFields(v);
    v.i32("menuBarType", menuBarType);
    menuBarType = kSkinMenuBar;
    v.embedded("menuBar", menuBar);
    if (v.has(6)) {
        v.i32("paintBackground", paintBackground);
        visitPicture(v, "mdiClient", mdiClient);
    }
}

void FrameWndDefinition::setOwner(SkinRepository *owner)
{
    BorderedDefinition::setOwner(owner);
    menuBar.setOwner(owner);
}

void FrameWndDefinition::createResources()
{
    BorderedDefinition::createResources();
    menuBar.createResources();
}

void FrameWndDefinition::releaseResources()
{
    menuBar.releaseResources();
    BorderedDefinition::releaseResources();
}

PopupMenuDefinition::PopupMenuDefinition()
    : BorderedDefinition(kSkinPopupMenu),
      normalText(defaultSkinTextEffect()),
      hotText(defaultSkinTextEffect()),
      disabledText(defaultSkinTextEffect()),
      highlight(unsetSkinNineGrid()),
      separator(unsetSkinNineGrid()),
      check(unsetSkinPicture()),
      arrow(unsetSkinPicture())
{
}

void PopupMenuDefinition::visitFields(SkinFieldVisitor &v)
{
    BorderedDefinition::visitFields(v);
    visitEffect(v, "normalText", normalText);
    visitEffect(v, "hotText", hotText);
    visitEffect(v, "disabledText", disabledText);
    v.color("hotFill", hotFill);
    v.i32("unused", unused);
    visitNineGrid(v, "highlight", highlight);
    visitNineGrid(v, "separator", separator);
    visitPicture(v, "check", check);
    if (v.has(3)) {
        visitPicture(v, "arrow", arrow);
    }
}

TooltipDefinition::TooltipDefinition() : BorderedDefinition(kSkinTooltip)
{
    // The pieces of a 278 x 152 picture with one-pixel borders.
    layPieces(pieces, 278, 152, 1, 277, 1, 1, 1);
    activeFill = 0;
    inactiveFill = 0;
    backgroundFill = skinPlatformSystemColor(kSysColorInfoBk);
}

void TooltipDefinition::visitFields(SkinFieldVisitor &v)
{
    BorderedDefinition::visitFields(v);
    v.i32("showDelay", showDelay);
    v.i32("hideDelay", hideDelay);
    v.i32("placement", placement);
    v.sizedText("styleSheet", styleSheet);
}
