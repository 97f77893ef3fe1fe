#include "skin_codes.h"

const char kSkinSignature[kSkinSignatureBytes + 1] = "GLOSSVANE_SKIN_FILE";

namespace {
const char *const kTypeNames[kSkinTypeNameCount] = {
    "NONE",          "FrameWnd",  "ShapeWnd",      "CaptionButton", "Button",   "CheckBox",      "ComboBox",
    "Edit",          "GroupBox",  "ListBox",       "ProgressBar",   "Radio",    "ScrollBar",     "Slider",
    "Static",        "StatusBar", "Tab",           "PopupMenu",     "Image",    "Voice",         "MenuBar",
    "MenuItem",      "Area",      "ToolBar",       "ControlBar",    "Application", "ScrollControl", "Spin",
    "ListView",      "TreeView",  "RichEdit",      "DateTime",      "IPAddress", "ComboBoxEx",   "HotKey",
    "MonthCalendar", "Rebar",     "Header",        "CaptionStatic", "ImageList", "Animate",      "LinkWnd",
    "Tooltip",       "TooltipAnchor", "SysColorTable",
};
}  // namespace

const char *skinTypeName(int32_t code)
{
    if (code < 0 || code >= kSkinTypeNameCount) {
        return nullptr;
    }
    return kTypeNames[code];
}
