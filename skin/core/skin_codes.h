// Type codes of skin objects, their type names, the loader's error codes and the sizes of
// the fixed fields of a skin file.
#ifndef WORDMERE_SKIN_CORE_SKIN_CODES_H
#define WORDMERE_SKIN_CORE_SKIN_CODES_H

#include <cstddef>
#include <cstdint>

enum SkinTypeCode : int32_t {
    kSkinNone = 0,
    kSkinFrameWnd = 1,
    kSkinShapeWnd = 2,
    kSkinCaptionButton = 3,
    kSkinButton = 4,
    kSkinCheckBox = 5,
    kSkinComboBox = 6,
    kSkinEdit = 7,
    kSkinGroupBox = 8,
    kSkinListBox = 9,
    kSkinProgressBar = 10,
    kSkinRadio = 11,
    kSkinScrollBar = 12,
    kSkinSlider = 13,
    kSkinStatic = 14,
    kSkinStatusBar = 15,
    kSkinTab = 16,
    kSkinPopupMenu = 17,
    kSkinImage = 18,
    kSkinVoice = 19,
    kSkinMenuBar = 20,
    kSkinMenuItem = 21,
    kSkinArea = 22,
    kSkinToolBar = 23,
    kSkinControlBar = 24,
    kSkinApplication = 25,
    kSkinScrollControl = 26,
    kSkinSpin = 27,
    kSkinListView = 28,
    kSkinTreeView = 29,
    kSkinRichEdit = 30,
    kSkinDateTime = 31,
    kSkinIPAddress = 32,
    kSkinComboBoxEx = 33,
    kSkinHotKey = 34,
    kSkinMonthCalendar = 35,
    kSkinRebar = 36,
    kSkinHeader = 37,
    kSkinCaptionStatic = 38,
    kSkinImageList = 39,
    kSkinAnimate = 40,
    kSkinLinkWnd = 41,
    kSkinTooltip = 42,
    kSkinTooltipAnchor = 43,
    kSkinSysColorTable = 44,
    kSkinUnnamedFrame = 45,
    kSkinPropertySet = 100,
};

// The type names of codes 0 to 44; look-up by type tries an object of that name first.
constexpr int32_t kSkinTypeNameCount = 45;
// The name of a type code, or null for a code outside 0..44.
const char *skinTypeName(int32_t code);

// Error codes of a load.
enum SkinLoadError : int32_t {
    kSkinLoadOk = 0,
    kSkinFileUnreadable = 4,
    kSkinExpansionFailed = 5,
    kSkinShortHeader = 6,
    kSkinBadSignature = 7,
};

// Fixed sizes of the file.
constexpr size_t kSkinNameBytes = 51;        // names and most texts: 50 characters and a terminator
constexpr size_t kSkinShortTextBytes = 50;   // the 50-byte texts of the button classes
constexpr size_t kSkinLabelBytes = 31;       // a property's label
constexpr size_t kSkinFaceBytes = 32;        // a font's face name
constexpr size_t kSkinHeaderBytes = 188;
constexpr size_t kSkinSignatureBytes = 19;
constexpr size_t kSkinAuthorBytes = 154;
constexpr size_t kSkinHeaderMajorOffset = 20;
constexpr size_t kSkinHeaderMinorOffset = 21;
constexpr size_t kSkinHeaderAuthorOffset = 22;
constexpr size_t kSkinHeaderCountOffset = 176;
extern const char kSkinSignature[kSkinSignatureBytes + 1];

constexpr uint8_t kSkinMajorVersion = 1;
constexpr uint8_t kSkinMinorVersion = 18;

// Limits against hostile files.
constexpr uint32_t kSkinMaxExpandedBytes = 64u * 1024u * 1024u;
constexpr int kSkinMaxNesting = 32;
// The growth step of every memory stream the engine makes.
constexpr uint32_t kSkinStreamGrowth = 10240;

// The colour treated as transparent by default, and the property kind of a colour.
constexpr uint32_t kSkinDefaultKeyColor = 0x00FF00FF;
constexpr int32_t kSkinPropertyColor = 2;
constexpr int32_t kSkinPropertyAny = 1;

#endif
