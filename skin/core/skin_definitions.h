// The classes of skin objects, one per type code (skin/FORMAT.md gives every field's bytes,
// default and meaning). Fields are public: the skinners read them as they paint.
#ifndef WORDMERE_SKIN_CORE_SKIN_DEFINITIONS_H
#define WORDMERE_SKIN_CORE_SKIN_DEFINITIONS_H

#include <memory>
#include <string>
#include <vector>

#include "skin_gdi.h"
#include "skin_object.h"

class RasterImage;

// A picture reference resolved against the repository: the cut-out and, when the skin's
// Application object asks for regions, its key-colour region.
struct SkinResolvedPicture {
    SkinResolvedPicture();
    ~SkinResolvedPicture();
    SkinResolvedPicture(const SkinResolvedPicture &) = delete;
    SkinResolvedPicture &operator=(const SkinResolvedPicture &) = delete;

    // Cuts the reference's source out of its image; nothing for a missing image or an unset
    // reference.
    void resolve(const SkinRepository *owner, const SkinPicture &reference);
    void reset();
    bool isResolved() const { return cutOut != nullptr; }

    int32_t width = 0;
    int32_t height = 0;
    SkinGdiHandle region = nullptr;
    std::unique_ptr<RasterImage> cutOut;
};

// ---- text style and the control classes

class TextStyleObject : public SkinObject {
public:
    explicit TextStyleObject(int32_t type);
    ~TextStyleObject() override;
    void setValue(int32_t value) override { style = value; }
    void createResources() override;
    void releaseResources() override;
    void visitFields(SkinFieldVisitor &v) override;

    bool hasFontSet() const { return font.hasFont != 0; }
    bool hasPositionSet() const { return hasPosition != 0; }

    SkinFontRecord font;
    SkinNineGrid frame;
    int32_t style = 0;
    int32_t hasPosition = 0;
    int32_t unused = 0;
    SkinTextEffect textEffect;
    int32_t hasTextEffect = 0;
    // The font made by createResources (HFONT on Windows).
    SkinGdiHandle fontHandle = nullptr;
};

// A look of a button or tab: image, text style, content margins.
struct SkinLook {
    SkinNineGrid image;
    SkinTextEffect text;
    SkinRect margins;
};
// A look of a check box or radio button: background, tick, text style.
struct SkinCheckLook {
    SkinNineGrid background;
    SkinNineGrid tick;
    SkinTextEffect text;
};
// The two buttons of an up-down control in one state.
struct SkinSpinPair {
    SkinPicture first;
    SkinPicture second;
};
// One state group of a scroll bar.
struct SkinBarGroup {
    SkinPicture firstArrow;
    SkinPicture lastArrow;
    SkinPicture track;
    SkinRect thumbMargins;
    SkinNineGrid thumb;
};

enum ButtonLookIndex { kButtonNormal, kButtonPressed, kButtonDefault, kButtonFocused, kButtonHover, kButtonDisabled, kButtonLookCount };

class ButtonDefinition : public TextStyleObject {
public:
    ButtonDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinLook looks[kButtonLookCount];
    char unusedText[kSkinShortTextBytes];
    int32_t unused1 = 0;
    int32_t unused2 = 0;
};

enum CheckLookIndex {
    kCheckNormal, kCheckChecked, kCheckDisabledBase, kCheckDisabledUnchecked, kCheckDisabledChecked,
    kCheckHotUnchecked, kCheckHotChecked, kCheckLookCount
};

class CheckBoxDefinition : public TextStyleObject {
public:
    explicit CheckBoxDefinition(int32_t type = kSkinCheckBox);
    void visitFields(SkinFieldVisitor &v) override;
    SkinCheckLook looks[kCheckLookCount];
    char pushLikeName[kSkinShortTextBytes];
    int32_t transparent = 0;
    char unusedText[kSkinShortTextBytes];
};

class RadioDefinition : public CheckBoxDefinition {
public:
    RadioDefinition() : CheckBoxDefinition(kSkinRadio) {}
};

enum ComboButtonIndex { kComboButtonNormal, kComboButtonHot, kComboButtonPressed, kComboButtonDisabled, kComboButtonCount };

class ComboBoxDefinition : public TextStyleObject {
public:
    explicit ComboBoxDefinition(int32_t type = kSkinComboBox);
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid buttons[kComboButtonCount];
    SkinColor disabledBgColor = 0;
    SkinColor disabledTextColor = 0;
    SkinColor focusedBgColor = 0;
    SkinColor focusedTextColor = 0;
};

class ScrollControlDefinition : public TextStyleObject {
public:
    explicit ScrollControlDefinition(int32_t type);
    void visitFields(SkinFieldVisitor &v) override;
    // The read-only background of an edit control.
    SkinColor readOnlyBgColor() const { return thirdColor; }
    SkinPicture unusedPicture;
};

class TreeViewDefinition : public ScrollControlDefinition {
public:
    TreeViewDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid unusedGrid1;
    SkinNineGrid unusedGrid2;
    SkinColor lineColor;
    int32_t unused1 = 0;
    SkinRect unusedBlock1;
    SkinRect unusedBlock2;
    SkinPicture unusedPictures[4];
    int32_t unused2 = 0;
};

class GroupBoxDefinition : public TextStyleObject {
public:
    GroupBoxDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid captionImage;
    SkinColor captionColor;
    SkinRect captionMargins;
    int32_t captionTransparent = 0;
};

enum ProgressDrawMode { kProgressStretch = 0, kProgressReveal = 1, kProgressBlocks = 2 };

class ProgressBarDefinition : public TextStyleObject {
public:
    ProgressBarDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid bar;
    SkinColor barColor;
    int32_t drawMode = kProgressStretch;
    int32_t unused = 0;
};

enum BarStateIndex { kBarNormal, kBarPressed, kBarHot, kBarDisabled, kBarStateCount };

class ScrollBarDefinition : public TextStyleObject {
public:
    ScrollBarDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    // The button size of skinned scroll bars: the height of the first arrow's source in the
    // normal horizontal group; the minimum thumb: the width of that group's thumb source.
    int32_t buttonSize() const { return horizontal[kBarNormal].firstArrow.source.height(); }
    int32_t minThumbSize() const { return horizontal[kBarNormal].thumb.source.width(); }
    SkinBarGroup horizontal[kBarStateCount];
    SkinPicture sizeBox;
    int32_t previewMin = 0;
    int32_t previewMax = 100;
    int32_t previewPage = 10;
    int32_t previewLine = 1;
    int32_t previewPos = 10;
    SkinBarGroup vertical[kBarStateCount];
    // Whether the file had the vertical groups (minor 12 and later); else draw from horizontal.
    bool hasVertical = true;
};

class SliderDefinition : public TextStyleObject {
public:
    SliderDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid channel;
    int32_t transparent = 0;
    int32_t unused[4] = {};
    SkinNineGrid thumb;
    int32_t unused5 = 0;
    SkinNineGrid unusedGrid;
};

class StaticDefinition : public TextStyleObject {
public:
    StaticDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    int32_t transparent = 0;
    SkinTextEffect enabledText;
    char unusedText[kSkinNameBytes];
    SkinTextEffect disabledText;
};

class StatusBarDefinition : public TextStyleObject {
public:
    StatusBarDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid panel;
    SkinPicture unusedPicture;
};

enum TabLookIndex { kTabNormal, kTabHighlighted, kTabSelected, kTabDisabled, kTabLookCount };

class TabDefinition : public TextStyleObject {
public:
    TabDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinLook looks[kTabLookCount];
    SkinNineGrid page;
    int32_t transparent = 0;
};

enum ToolButtonIndex { kToolNormal, kToolHot, kToolPressed, kToolDisabled, kToolLookCount };

class ToolBarDefinition : public TextStyleObject {
public:
    explicit ToolBarDefinition(int32_t type = kSkinToolBar);
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid buttons[kToolLookCount];
    SkinNineGrid unusedGrid;
};

class ControlBarDefinition : public TextStyleObject {
public:
    ControlBarDefinition() : TextStyleObject(kSkinControlBar) {}
};

enum SpinStateIndex { kSpinNormal, kSpinHot, kSpinPressed, kSpinDisabled, kSpinStateCount };

class SpinDefinition : public TextStyleObject {
public:
    SpinDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinSpinPair vertical[kSpinStateCount];
    SkinSpinPair horizontal[kSpinStateCount];
    // Whether the file had the horizontal set (minor 13 and later).
    bool hasHorizontal = true;
};

enum DateButtonIndex { kDateButtonNormal, kDateButtonPressed, kDateButtonDisabled, kDateButtonCount };

class DateTimeDefinition : public TextStyleObject {
public:
    DateTimeDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid buttons[kDateButtonCount];
    SkinPicture field;
    SkinTextEffect fieldText;
    SkinPicture disabledField;
    SkinTextEffect disabledFieldText;
    SkinColor disabledBgColor;
};

enum CalendarButtonIndex {
    kCalendarPreviousNormal, kCalendarPreviousPressed, kCalendarPreviousDisabled,
    kCalendarNextNormal, kCalendarNextPressed, kCalendarNextDisabled, kCalendarButtonCount
};

class MonthCalendarDefinition : public TextStyleObject {
public:
    MonthCalendarDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid buttons[kCalendarButtonCount];
    SkinColor monthBgColor;
    SkinColor titleBgColor;
    SkinColor titleTextColor;
    SkinColor trailingTextColor;
};

class RebarDefinition : public TextStyleObject {
public:
    RebarDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinNineGrid band;
    SkinRect unusedBlock;
};

class HeaderDefinition : public TextStyleObject {
public:
    HeaderDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinRect textMargins;
    SkinNineGrid item;
};

class AnimateDefinition : public TextStyleObject {
public:
    AnimateDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinPicture background;
};

class PropertySetDefinition : public TextStyleObject {
public:
    PropertySetDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    const SkinProperty *findProperty(const char *name) const override;
    char category[kSkinNameBytes];
    std::vector<SkinProperty> properties;
};

// ---- frames, areas and the rest

enum FramePieceIndex {
    kPieceTopLeft, kPieceTop, kPieceTopRight, kPieceLeft, kPieceCentre, kPieceRight,
    kPieceBottomLeft, kPieceBottom, kPieceBottomRight, kPieceCount
};
constexpr int kFramePictureCount = 2 * kPieceCount;  // active pieces 0-8, inactive 9-17
constexpr int kInactivePictures = kPieceCount;

// Grows the nine pieces of a frame by dx and dy: the corners keep their size, the right column
// and the bottom row move, the edges and the centre grow.
void stretchFramePieces(SkinRect *pieces, int32_t dx, int32_t dy);

class BorderedDefinition : public SkinObject {
public:
    explicit BorderedDefinition(int32_t type);
    ~BorderedDefinition() override;
    void createResources() override;
    void releaseResources() override;
    // Makes the centre piece as large as rect and moves the other pieces with it.
    void setRect(const SkinRect &rect) override;
    void visitFields(SkinFieldVisitor &v) override;
    // The reference size: right and bottom of the bottom-right piece.
    int32_t referenceWidth() const { return pieces[kPieceBottomRight].right; }
    int32_t referenceHeight() const { return pieces[kPieceBottomRight].bottom; }

    SkinPicture pictures[kFramePictureCount];
    SkinRect pieces[kPieceCount];
    SkinFontRecord font;
    SkinColor captionColor = 0;
    int32_t unused = 0;
    SkinColor activeFill;
    SkinColor inactiveFill;
    SkinColor backgroundFill;
    SkinTextEffect effect;
    SkinNineGrid iconicActive;
    SkinNineGrid iconicInactive;
    SkinResolvedPicture resolved[kFramePictureCount];
};

class UnnamedFrameDefinition : public BorderedDefinition {
public:
    UnnamedFrameDefinition() : BorderedDefinition(kSkinUnnamedFrame) {}
};

class AreaDefinition : public SkinObject {
public:
    explicit AreaDefinition(int32_t type = kSkinArea);
    void visitFields(SkinFieldVisitor &v) override;
    SkinPicture picture;
    int32_t anchor = 0;
    int32_t partId = 1000;
    int32_t visibility = 0;
    char tooltip[kSkinNameBytes];
};

enum CaptionButtonKind { kCaptionCommand = 0, kCaptionClose = 1, kCaptionIcon = 2, kCaptionMaximize = 3, kCaptionMinimize = 4, kCaptionSystemMenu = 5 };

class CaptionButtonDefinition : public AreaDefinition {
public:
    CaptionButtonDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinPicture hover;
    SkinPicture pressed;
    SkinPicture disabled;
    int32_t kind = kCaptionCommand;
    int32_t toggle = 0;
};

class CaptionStaticDefinition : public AreaDefinition {
public:
    CaptionStaticDefinition();
    ~CaptionStaticDefinition() override;
    void createResources() override;
    void releaseResources() override;
    void visitFields(SkinFieldVisitor &v) override;
    static constexpr int32_t kWindowText = 1;
    static constexpr int32_t kOwnerDrawn = 11;
    int32_t kind = 0;
    int32_t anchorLeft = 0;
    int32_t anchorTop = 0;
    int32_t anchorRight = 0;
    int32_t anchorBottom = 0;
    int32_t anchorUnused = 0;
    int32_t combine = 2;
    SkinFontRecord font;
    SkinTextEffect effect;
    char text[kSkinNameBytes];
    int32_t alignH = 0;
    int32_t alignV = 1;
    SkinResolvedPicture resolvedPicture;
};

enum MenuBarButtonIndex {
    kMenuMinimizeNormal, kMenuMinimizeHot, kMenuMinimizePressed, kMenuRestoreNormal, kMenuRestoreHot, kMenuRestorePressed,
    kMenuCloseNormal, kMenuCloseHot, kMenuClosePressed, kMenuSystemNormal, kMenuSystemHot, kMenuSystemPressed, kMenuButtonCount
};

class MenuBarDefinition : public AreaDefinition {
public:
    MenuBarDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinFontRecord font;
    SkinTextEffect normalText;
    SkinTextEffect disabledText;
    SkinTextEffect hotText;
    SkinColor hotFill = 0;
    SkinNineGrid hotItem;
    SkinTextEffect openText;
    SkinColor openFill = 0;
    SkinNineGrid openItem;
    SkinPicture buttons[kMenuButtonCount];
    SkinNineGrid background;
};

class FrameWndDefinition : public BorderedDefinition {
public:
    FrameWndDefinition();
    void createResources() override;
    void releaseResources() override;
    void setOwner(SkinRepository *owner) override;
    void visitFields(SkinFieldVisitor &v) override;
    int32_t menuBarType = kSkinMenuBar;
    MenuBarDefinition menuBar;
    int32_t paintBackground = 0;
    SkinPicture mdiClient;
};

class PopupMenuDefinition : public BorderedDefinition {
public:
    PopupMenuDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinTextEffect normalText;
    SkinTextEffect hotText;
    SkinTextEffect disabledText;
    SkinColor hotFill = 0;
    int32_t unused = 0;
    SkinNineGrid highlight;
    SkinNineGrid separator;
    SkinPicture check;
    SkinPicture arrow;
};

class TooltipDefinition : public BorderedDefinition {
public:
    TooltipDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    int32_t showDelay = 1000;
    int32_t hideDelay = 8000;
    int32_t placement = 0;
    std::string styleSheet;
};

class ShapeWndDefinition : public SkinObject {
public:
    ShapeWndDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    SkinPicture picture;
    SkinRect rect1;
    SkinRect rect2;
    uint8_t opacity = 255;
    SkinColor shapeColor = 0x00FFFFFF;
    int32_t shapeFlag = 1;
};

class ApplicationDefinition : public SkinObject {
public:
    ApplicationDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    // The skin's key colour (its third colour).
    SkinColor skinKeyColor() const { return thirdColor; }
    char toolName[kSkinNameBytes];
    char fileDescription[kSkinNameBytes];
    char author[kSkinNameBytes];
    int32_t regions = 1;
    char contact[kSkinNameBytes];
    char web[kSkinNameBytes];
};

class ImageListDefinition : public SkinObject {
public:
    ImageListDefinition();
    void visitFields(SkinFieldVisitor &v) override;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    int32_t imageCount = 0;
    int32_t unused = 0;
    SkinPicture picture;
};

class ImageDefinition : public SkinObject {
public:
    ImageDefinition();
    ~ImageDefinition() override;
    // Decodes the picture as soon as the record is read.
    void finishRead() override;
    void visitFields(SkinFieldVisitor &v) override;
    // The decoded picture, or null when it could not be decoded.
    RasterImage *picture() const { return image_.get(); }
    uint32_t dataLength = 0;
    int32_t format = 1;
    std::vector<uint8_t> data;

private:
    std::unique_ptr<RasterImage> image_;
};

class VoiceDefinition : public SkinObject {
public:
    VoiceDefinition() : SkinObject(kSkinVoice) {}
};

class SysColorTableDefinition : public SkinObject {
public:
    static constexpr int32_t kColorCount = 100;
    static constexpr int32_t kSystemColors = 31;
    // The colour mode (the base value) that leaves the platform's colours alone.
    static constexpr int32_t kModeUnmapped = 1;
    SysColorTableDefinition();
    ~SysColorTableDefinition() override;
    void createResources() override;
    void releaseResources() override;
    void visitFields(SkinFieldVisitor &v) override;
    bool mapsSystemColors() const { return value != kModeUnmapped; }
    // The colour replacing system colour index (entry 0 for an index outside 0..30).
    SkinColor colorFor(int32_t index) const;
    SkinGdiHandle brushFor(int32_t index) const;
    SkinColor colors[kColorCount] = {};
    SkinGdiHandle brushes[kSystemColors] = {};
};

// Creates the class of a type code (null for codes without a class).
std::unique_ptr<SkinObject> createSkinObject(int32_t type);

#endif
