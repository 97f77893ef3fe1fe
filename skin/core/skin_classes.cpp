#include "skin_classes.h"

#include <cstring>

namespace {

struct ClassEntry {
    const char *name;
    int32_t code;
};

const ClassEntry kClassMap[] = {
    {"msctls_statusbar32", kSkinStatusBar},
    {"ToolbarWindow32", kSkinToolBar},
    {"AfxControlBar42", kSkinControlBar}, {"AfxControlBar42d", kSkinControlBar},
    {"AfxControlBar42u", kSkinControlBar}, {"AfxControlBar42ud", kSkinControlBar},
    {"AfxControlBar42s", kSkinControlBar}, {"AfxControlBar42sd", kSkinControlBar},
    {"AfxControlBar42su", kSkinControlBar}, {"AfxControlBar42sud", kSkinControlBar},
    {"AfxControlBar70", kSkinControlBar}, {"AfxControlBar70d", kSkinControlBar},
    {"AfxControlBar70u", kSkinControlBar}, {"AfxControlBar70ud", kSkinControlBar},
    {"AfxControlBar70s", kSkinControlBar}, {"AfxControlBar70sd", kSkinControlBar},
    {"AfxControlBar70su", kSkinControlBar}, {"AfxControlBar70sud", kSkinControlBar},
    {"Static", kSkinStatic},
    {"Button", kSkinButton},
    {"GroupBox", kSkinGroupBox},
    {"Radio", kSkinRadio},
    {"CheckBox", kSkinCheckBox},
    {"ScrollBar", kSkinScrollBar},
    {"msctls_progress32", kSkinProgressBar},
    {"msctls_updown32", kSkinSpin},
    {"msctls_trackbar32", kSkinSlider},
    {"ComboBox", kSkinComboBox},
    {"SysTabControl32", kSkinTab},
    {"Edit", kSkinEdit},
    {"SysListView32", kSkinListView},
    {"ListBox", kSkinListBox},
    {"SysTreeView32", kSkinTreeView},
    {"RICHEDIT", kSkinRichEdit},
    {"SysIPAddress32", kSkinScrollControl},
    {"SysHeader32", kSkinHeader},
    {"ReBarWindow32", kSkinRebar},
    {"SysAnimate32", kSkinAnimate},
    {"Link Window", kSkinLinkWnd},
    {"SysMonthCal32", kSkinMonthCalendar},
    {"SysDateTimePick32", kSkinDateTime},
};

constexpr uint32_t kComboSimpleBit = 0x1;
constexpr uint32_t kComboDropDownBit = 0x2;

// Visibility codes of a part.
enum PartVisibility : int32_t {
    kShownAlways = 0, kShownIconic, kShownNotIconic, kShownZoomed, kShownNotZoomed,
    kShownActive, kShownInactive, kShownEnabled, kShownDisabled, kShownRestored,
};

// Anchor codes of a part.
enum PartAnchor : int32_t { kAnchorBottom = 2, kAnchorRight = 4, kAnchorBottomRight = 5, kAnchorRightAlt = 6, kAnchorBottomAlt = 8 };

}  // namespace

int32_t skinClassCode(const char *className)
{
    if (className == nullptr) {
        return kSkinNone;
    }
    for (const ClassEntry &e : kClassMap) {
        if (std::strcmp(e.name, className) == 0) {
            return e.code;
        }
    }
    return kSkinNone;
}

const char *skinButtonKind(uint32_t style)
{
    const bool b0 = (style & 0x1) != 0, b1 = (style & 0x2) != 0, b2 = (style & 0x4) != 0, b3 = (style & 0x8) != 0;
    if (b0 && b1 && b2) {
        return "GroupBox";
    }
    if (b1 || (b0 && b2)) {
        return "CheckBox";
    }
    if (b2 || (b0 && b3)) {
        return "Radio";
    }
    return "Button";
}

int32_t skinClassifyClass(const char *className, uint32_t style, uint32_t comboStyle)
{
    if (className == nullptr) {
        return kSkinNone;
    }
    if (std::strcmp(className, "Button") == 0) {
        return skinClassCode(skinButtonKind(style));
    }
    if (std::strcmp(className, "ComboLBox") == 0) {
        const bool simple = (comboStyle & kComboSimpleBit) != 0 && (comboStyle & kComboDropDownBit) == 0;
        return simple ? kSkinListBox : kSkinNone;
    }
    return skinClassCode(className);
}

bool skinPartShown(int32_t visibility, const SkinWindowState &s)
{
    switch (visibility) {
    case kShownAlways: return true;
    case kShownIconic: return s.iconic;
    case kShownNotIconic: return !s.iconic;
    case kShownZoomed: return s.zoomed;
    case kShownNotZoomed: return !s.zoomed;
    case kShownActive: return s.active;
    case kShownInactive: return !s.active;
    case kShownEnabled: return s.enabled;
    case kShownDisabled: return !s.enabled;
    case kShownRestored: return !s.zoomed && !s.iconic;
    default: return false;
    }
}

SkinRect skinPlacePart(const SkinRect &design, int32_t anchor, int32_t width, int32_t height, int32_t referenceWidth,
                       int32_t referenceHeight)
{
    int32_t dx = 0, dy = 0;
    if (anchor == kAnchorBottom || anchor == kAnchorBottomAlt || anchor == kAnchorBottomRight) {
        dy = height - referenceHeight;
    }
    if (anchor == kAnchorRight || anchor == kAnchorRightAlt || anchor == kAnchorBottomRight) {
        dx = width - referenceWidth;
    }
    return makeSkinRect(design.left + dx, design.top + dy, design.right + dx, design.bottom + dy);
}
