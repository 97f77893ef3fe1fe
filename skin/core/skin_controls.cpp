// The text-style record and the control classes' records.
#include <cstring>

#include "skin_definitions.h"
#include "skin_fields.h"
#include "system_colors.h"

namespace {
constexpr int32_t kDefaultWidth = 60;
constexpr int32_t kDefaultHeight = 30;
constexpr SkinColor kDefaultLineColor = 0x00808080;
constexpr int32_t kSysColorHighlight = 13;
constexpr int32_t kSysColorHighlightText = 14;
constexpr int32_t kSysColorGrayText = 17;

const char *const kButtonLookNames[kButtonLookCount] = {"normal", "pressed", "default", "focused", "hover", "disabled"};
const char *const kCheckLookNames[kCheckLookCount] = {"normal", "checked", "disabledBase", "disabledUnchecked",
                                                      "disabledChecked", "hotUnchecked", "hotChecked"};
const char *const kComboButtonNames[kComboButtonCount] = {"buttonNormal", "buttonHot", "buttonPressed", "buttonDisabled"};
const char *const kHorizontalGroupNames[kBarStateCount] = {"horizontalNormal", "horizontalPressed", "horizontalHot",
                                                           "horizontalDisabled"};
const char *const kVerticalGroupNames[kBarStateCount] = {"verticalNormal", "verticalPressed", "verticalHot",
                                                         "verticalDisabled"};
const char *const kTabLookNames[kTabLookCount] = {"normal", "highlighted", "selected", "disabled"};
const char *const kToolLookNames[kToolLookCount] = {"normal", "hot", "pressed", "disabled"};
const char *const kSpinNames[kSpinStateCount] = {"normal", "hot", "pressed", "disabled"};
const char *const kHorizontalSpinNames[kSpinStateCount] = {"horizontalNormal", "horizontalHot", "horizontalPressed",
                                                           "horizontalDisabled"};
const char *const kDateButtonNames[kDateButtonCount] = {"buttonNormal", "buttonPressed", "buttonDisabled"};
const char *const kCalendarButtonNames[kCalendarButtonCount] = {"previousNormal", "previousPressed", "previousDisabled",
                                                                "nextNormal",     "nextPressed",     "nextDisabled"};
const char *const kUnusedPictureNames[4] = {"unusedPicture1", "unusedPicture2", "unusedPicture3", "unusedPicture4"};
const char *const kUnusedValueNames[4] = {"unused1", "unused2", "unused3", "unused4"};

SkinLook defaultLook()
{
    SkinLook look;
    look.image = unsetSkinNineGrid();
    look.text = defaultSkinTextEffect();
    look.margins = makeSkinRect(0, 0, 0, 0);
    return look;
}

SkinCheckLook defaultCheckLook()
{
    SkinCheckLook look;
    look.background = unsetSkinNineGrid();
    look.tick = unsetSkinNineGrid();
    look.text = defaultSkinTextEffect();
    return look;
}

SkinBarGroup defaultBarGroup()
{
    SkinBarGroup group;
    group.firstArrow = group.lastArrow = group.track = unsetSkinPicture();
    group.thumbMargins = makeSkinRect(0, 0, 0, 0);
    group.thumb = unsetSkinNineGrid();
    return group;
}

void visitLook(SkinFieldVisitor &v, const char *name, SkinLook &look)
{
    v.beginGroup(name);
    visitNineGrid(v, "image", look.image);
    visitEffect(v, "text", look.text);
    v.rect("margins", look.margins);
    v.endGroup();
}

void visitCheckLook(SkinFieldVisitor &v, const char *name, SkinCheckLook &look)
{
    v.beginGroup(name);
    visitNineGrid(v, "background", look.background);
    visitNineGrid(v, "tick", look.tick);
    visitEffect(v, "text", look.text);
    v.endGroup();
}

void visitSpinPair(SkinFieldVisitor &v, const char *name, SkinSpinPair &pair)
{
    v.beginGroup(name);
    visitPicture(v, "first", pair.first);
    visitPicture(v, "second", pair.second);
    v.endGroup();
}

void visitBarGroup(SkinFieldVisitor &v, const char *name, SkinBarGroup &group)
{
    v.beginGroup(name);
    visitPicture(v, "firstArrow", group.firstArrow);
    visitPicture(v, "lastArrow", group.lastArrow);
    visitPicture(v, "track", group.track);
    v.rect("thumbMargins", group.thumbMargins);
    visitNineGrid(v, "thumb", group.thumb);
    v.endGroup();
}

template <size_t N>
void visitGrids(SkinFieldVisitor &v, const char *const (&names)[N], SkinNineGrid (&grids)[N])
{
    for (size_t i = 0; i < N; ++i) {
        visitNineGrid(v, names[i], grids[i]);
    }
}

template <size_t N>
void fillUnset(SkinNineGrid (&grids)[N])
{
    for (SkinNineGrid &g : grids) {
        g = unsetSkinNineGrid();
    }
}
}  // namespace

TextStyleObject::TextStyleObject(int32_t type)
    : SkinObject(type), font(defaultTextStyleFont()), frame(unsetSkinNineGrid()), textEffect(defaultSkinTextEffect())
{
}

void TextStyleObject::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    visitFont(v, "font", font);
    visitNineGrid(v, "frame", frame);
    if (v.readingMinors(4, 7)) {
        // Older files placed a rectangle here; it is read and discarded.
        SkinRect discarded = makeSkinRect(0, 0, 0, 0);
        v.rect(nullptr, discarded);
        rect = makeSkinRect(0, 0, kDefaultWidth, kDefaultHeight);
    }
    if (v.has(6)) {
        v.i32("style", style);
        if (v.readingMinors(6, 6)) {
            style = 0;
        }
    }
    if (v.has(8)) {
        v.i32("hasPosition", hasPosition);
    }
    if (v.has(10)) {
        v.i32("unused", unused);
    }
    if (v.has(18)) {
        visitEffect(v, "textEffect", textEffect);
        v.i32("hasTextEffect", hasTextEffect);
    }
}

ButtonDefinition::ButtonDefinition() : TextStyleObject(kSkinButton)
{
    for (SkinLook &look : looks) {
        look = defaultLook();
    }
    std::memset(unusedText, 0, sizeof unusedText);
}

void ButtonDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    for (int i = 0; i < kButtonLookCount; ++i) {
        visitLook(v, kButtonLookNames[i], looks[i]);
    }
    v.text("unusedText", unusedText, sizeof unusedText);
    v.i32("unused1", unused1);
    v.i32("unused2", unused2);
}

CheckBoxDefinition::CheckBoxDefinition(int32_t type) : TextStyleObject(type)
{
    for (SkinCheckLook &look : looks) {
        look = defaultCheckLook();
    }
    std::memset(pushLikeName, 0, sizeof pushLikeName);
    std::memset(unusedText, 0, sizeof unusedText);
}

void CheckBoxDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    for (int i = 0; i < kCheckLookCount; ++i) {
        visitCheckLook(v, kCheckLookNames[i], looks[i]);
    }
    v.text("pushLikeName", pushLikeName, sizeof pushLikeName);
    v.i32("transparent", transparent);
    if (v.has(17)) {
        v.text("unusedText", unusedText, sizeof unusedText);
    }
}

ComboBoxDefinition::ComboBoxDefinition(int32_t type)
    : TextStyleObject(type),
      disabledBgColor(skinPlatformSystemColor(kSysColorBtnFace)),
      disabledTextColor(skinPlatformSystemColor(kSysColorGrayText)),
      focusedBgColor(skinPlatformSystemColor(kSysColorHighlight)),
      focusedTextColor(skinPlatformSystemColor(kSysColorHighlightText))
{
    fillUnset(buttons);
}

void ComboBoxDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitGrids(v, kComboButtonNames, buttons);
    v.color("disabledBgColor", disabledBgColor);
    v.color("disabledTextColor", disabledTextColor);
    v.color("focusedBgColor", focusedBgColor);
    v.color("focusedTextColor", focusedTextColor);
}

ScrollControlDefinition::ScrollControlDefinition(int32_t type) : TextStyleObject(type), unusedPicture(unsetSkinPicture())
{
    bgColor = skinPlatformSystemColor(kSysColorWindow);
    textColor = skinPlatformSystemColor(kSysColorWindowText);
    thirdColor = skinPlatformSystemColor(kSysColorBtnFace);
}

void ScrollControlDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitPicture(v, "unusedPicture", unusedPicture);
    if (v.readingMinors(0, 10)) {
        bgColor = skinPlatformSystemColor(kSysColorWindow);
        textColor = skinPlatformSystemColor(kSysColorWindowText);
        thirdColor = skinPlatformSystemColor(kSysColorBtnFace);
    }
}

TreeViewDefinition::TreeViewDefinition()
    : ScrollControlDefinition(kSkinTreeView),
      unusedGrid1(unsetSkinNineGrid()),
      unusedGrid2(unsetSkinNineGrid()),
      lineColor(kDefaultLineColor),
      unusedBlock1(makeSkinRect(0, 0, 0, 0)),
      unusedBlock2(makeSkinRect(0, 0, 0, 0))
{
    for (SkinPicture &p : unusedPictures) {
        p = unsetSkinPicture();
    }
}

void TreeViewDefinition::visitFields(SkinFieldVisitor &v)
{
    ScrollControlDefinition::visitFields(v);
    if (v.has(12)) {
        visitNineGrid(v, "unusedGrid1", unusedGrid1);
        visitNineGrid(v, "unusedGrid2", unusedGrid2);
        v.color("lineColor", lineColor);
        v.i32("unused1", unused1);
        v.rect("unusedBlock1", unusedBlock1);
        v.rect("unusedBlock2", unusedBlock2);
    }
    if (v.has(15)) {
        for (int i = 0; i < 4; ++i) {
            visitPicture(v, kUnusedPictureNames[i], unusedPictures[i]);
        }
        v.i32("unused2", unused2);
    }
}

GroupBoxDefinition::GroupBoxDefinition()
    : TextStyleObject(kSkinGroupBox),
      captionImage(unsetSkinNineGrid()),
      captionColor(skinPlatformSystemColor(kSysColorBtnFace)),
      captionMargins(makeSkinRect(0, 0, 0, 0))
{
}

void GroupBoxDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitNineGrid(v, "captionImage", captionImage);
    v.color("captionColor", captionColor);
    v.rect("captionMargins", captionMargins);
    v.i32("captionTransparent", captionTransparent);
}

ProgressBarDefinition::ProgressBarDefinition()
    : TextStyleObject(kSkinProgressBar), bar(unsetSkinNineGrid()), barColor(skinPlatformSystemColor(kSysColorHighlight))
{
}

void ProgressBarDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitNineGrid(v, "bar", bar);
    v.color("barColor", barColor);
    v.i32("drawMode", drawMode);
    v.i32("unused", unused);
}

ScrollBarDefinition::ScrollBarDefinition() : TextStyleObject(kSkinScrollBar), sizeBox(unsetSkinPicture())
{
    for (int i = 0; i < kBarStateCount; ++i) {
        horizontal[i] = vertical[i] = defaultBarGroup();
    }
}

void ScrollBarDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    for (int i = 0; i < kBarStateCount; ++i) {
        visitBarGroup(v, kHorizontalGroupNames[i], horizontal[i]);
    }
    visitPicture(v, "sizeBox", sizeBox);
    v.i32("previewMin", previewMin);
    v.i32("previewMax", previewMax);
    v.i32("previewPage", previewPage);
    v.i32("previewLine", previewLine);
    v.i32("previewPos", previewPos);
    hasVertical = v.has(12);
    if (hasVertical) {
        for (int i = 0; i < kBarStateCount; ++i) {
            visitBarGroup(v, kVerticalGroupNames[i], vertical[i]);
        }
    }
}

SliderDefinition::SliderDefinition()
    : TextStyleObject(kSkinSlider), channel(unsetSkinNineGrid()), thumb(unsetSkinNineGrid()), unusedGrid(unsetSkinNineGrid())
{
}

void SliderDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitNineGrid(v, "channel", channel);
    v.i32("transparent", transparent);
    for (int i = 0; i < 4; ++i) {
        v.i32(kUnusedValueNames[i], unused[i]);
    }
    visitNineGrid(v, "thumb", thumb);
    if (v.has(9)) {
        v.i32("unused5", unused5);
    }
    visitNineGrid(v, "unusedGrid", unusedGrid);
}

StaticDefinition::StaticDefinition()
    : TextStyleObject(kSkinStatic), enabledText(defaultSkinTextEffect()), disabledText(defaultSkinTextEffect())
{
    std::memset(unusedText, 0, sizeof unusedText);
}

void StaticDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    v.i32("transparent", transparent);
    visitEffect(v, "enabledText", enabledText);
    v.text("unusedText", unusedText, sizeof unusedText);
    if (v.has(16)) {
        visitEffect(v, "disabledText", disabledText);
    }
}

StatusBarDefinition::StatusBarDefinition()
    : TextStyleObject(kSkinStatusBar), panel(unsetSkinNineGrid()), unusedPicture(unsetSkinPicture())
{
}

void StatusBarDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitNineGrid(v, "panel", panel);
    visitPicture(v, "unusedPicture", unusedPicture);
}

TabDefinition::TabDefinition() : TextStyleObject(kSkinTab), page(unsetSkinNineGrid())
{
    for (SkinLook &look : looks) {
        look = defaultLook();
    }
}

void TabDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    for (int i = 0; i < kTabLookCount; ++i) {
        visitLook(v, kTabLookNames[i], looks[i]);
    }
    visitNineGrid(v, "page", page);
    if (v.has(9)) {
        v.i32("transparent", transparent);
    }
}

ToolBarDefinition::ToolBarDefinition(int32_t type) : TextStyleObject(type), unusedGrid(unsetSkinNineGrid())
{
    fillUnset(buttons);
}

void ToolBarDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitGrids(v, kToolLookNames, buttons);
    visitNineGrid(v, "unusedGrid", unusedGrid);
}

SpinDefinition::SpinDefinition() : TextStyleObject(kSkinSpin)
{
    for (int i = 0; i < kSpinStateCount; ++i) {
        vertical[i].first = vertical[i].second = horizontal[i].first = horizontal[i].second = unsetSkinPicture();
    }
}

void SpinDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    for (int i = 0; i < kSpinStateCount; ++i) {
        visitSpinPair(v, kSpinNames[i], vertical[i]);
    }
    hasHorizontal = v.has(13);
    if (hasHorizontal) {
        for (int i = 0; i < kSpinStateCount; ++i) {
            visitSpinPair(v, kHorizontalSpinNames[i], horizontal[i]);
        }
    }
}

DateTimeDefinition::DateTimeDefinition()
    : TextStyleObject(kSkinDateTime),
      field(unsetSkinPicture()),
      fieldText(defaultSkinTextEffect()),
      disabledField(unsetSkinPicture()),
      disabledFieldText(defaultSkinTextEffect()),
      disabledBgColor(skinPlatformSystemColor(kSysColorBtnFace))
{
    fillUnset(buttons);
}

void DateTimeDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitGrids(v, kDateButtonNames, buttons);
    visitPicture(v, "field", field);
    visitEffect(v, "fieldText", fieldText);
    visitPicture(v, "disabledField", disabledField);
    visitEffect(v, "disabledFieldText", disabledFieldText);
    v.color("disabledBgColor", disabledBgColor);
}

MonthCalendarDefinition::MonthCalendarDefinition()
    : TextStyleObject(kSkinMonthCalendar),
      monthBgColor(skinPlatformSystemColor(kSysColorWindow)),
      titleBgColor(skinPlatformSystemColor(kSysColorHighlight)),
      titleTextColor(skinPlatformSystemColor(kSysColorHighlightText)),
      trailingTextColor(skinPlatformSystemColor(kSysColorGrayText))
{
    fillUnset(buttons);
}

void MonthCalendarDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitGrids(v, kCalendarButtonNames, buttons);
    v.color("monthBgColor", monthBgColor);
    v.color("titleBgColor", titleBgColor);
    v.color("titleTextColor", titleTextColor);
    v.color("trailingTextColor", trailingTextColor);
}

RebarDefinition::RebarDefinition()
    : TextStyleObject(kSkinRebar), band(unsetSkinNineGrid()), unusedBlock(makeSkinRect(0, 0, 0, 0))
{
}

void RebarDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitNineGrid(v, "band", band);
    v.rect("unusedBlock", unusedBlock);
}

HeaderDefinition::HeaderDefinition()
    : TextStyleObject(kSkinHeader), textMargins(makeSkinRect(0, 0, 0, 0)), item(unsetSkinNineGrid())
{
}

void HeaderDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    v.rect("textMargins", textMargins);
    visitNineGrid(v, "item", item);
}

AnimateDefinition::AnimateDefinition() : TextStyleObject(kSkinAnimate), background(unsetSkinPicture()) {}

void AnimateDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    visitPicture(v, "background", background);
}
