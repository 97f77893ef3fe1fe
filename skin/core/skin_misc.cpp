// The application record, images, sounds, colour tables, property sets, shapes and image
// lists, and the class of each type code.
#include <cctype>
#include <cstring>

#include "imagefile.h"
#include "rasterimage.h"
#include "skin_definitions.h"
#include "skin_fields.h"

namespace {
constexpr int kPropertyNameLimit = 99;
// A skin's pictures are small: a picture that claims more pixels than this, or far more than
// its bytes could hold even run-length encoded, is not decoded.
constexpr uint64_t kMaxPicturePixels = 16u * 1024u * 1024u;
constexpr uint64_t kMaxPixelsPerByte = 256;

uint32_t littleEndian(const std::vector<uint8_t> &d, size_t at, size_t bytes)
{
    uint32_t v = 0;
    for (size_t i = 0; i < bytes && at + i < d.size(); ++i) {
        v |= static_cast<uint32_t>(d[at + i]) << (8 * i);
    }
    return v;
}

// The pixel count a BMP (with or without its file header) or TGA picture claims.
uint64_t claimedPixels(const std::vector<uint8_t> &d)
{
    constexpr size_t kFileHeader = 14;
    size_t info = d.size() >= 2 && d[0] == 'B' && d[1] == 'M' ? kFileHeader : 0;
    const uint32_t headerSize = littleEndian(d, info, 4);
    if (headerSize == 12) {  // OS/2: 16-bit sizes
        return uint64_t(littleEndian(d, info + 4, 2)) * littleEndian(d, info + 6, 2);
    }
    if (headerSize >= 40 && headerSize <= 124) {
        const int32_t w = static_cast<int32_t>(littleEndian(d, info + 4, 4));
        const int32_t h = static_cast<int32_t>(littleEndian(d, info + 8, 4));
        return uint64_t(w < 0 ? -int64_t(w) : w) * uint64_t(h < 0 ? -int64_t(h) : h);
    }
    return uint64_t(littleEndian(d, 12, 2)) * littleEndian(d, 14, 2);  // TGA
}

void setText(char (&field)[kSkinNameBytes], const char *text) { copySkinText(field, sizeof field, text); }

bool sameIgnoringCase(const char *a, const char *b)
{
    for (int i = 0; i < kPropertyNameLimit; ++i) {
        const int ca = std::toupper(static_cast<unsigned char>(a[i]));
        const int cb = std::toupper(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return false;
        }
        if (ca == 0) {
            return true;
        }
    }
    return true;
}
}  // namespace

ShapeWndDefinition::ShapeWndDefinition()
    : SkinObject(kSkinShapeWnd), picture(unsetSkinPicture()), rect1(makeSkinRect(0, 0, 0, 0)), rect2(makeSkinRect(0, 0, 0, 0))
{
}

void ShapeWndDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    visitPicture(v, "picture", picture);
    v.rect("rect1", rect1);
    v.rect("rect2", rect2);
    v.u8("opacity", opacity);
    v.color("shapeColor", shapeColor);
    v.i32("shapeFlag", shapeFlag);
}

ApplicationDefinition::ApplicationDefinition() : SkinObject(kSkinApplication)
{
    thirdColor = kSkinDefaultKeyColor;
    setText(toolName, "Glossvane Builder");
    setText(fileDescription, "Glossvane Skin File");
    setText(author, "");
    setText(contact, "");
    setText(web, "");
}

void ApplicationDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    v.text("toolName", toolName, sizeof toolName);
    v.text("fileDescription", fileDescription, sizeof fileDescription);
    v.text("author", author, sizeof author);
    v.i32("regions", regions);
    if (v.has(4)) {
        v.text("contact", contact, sizeof contact);
        v.text("web", web, sizeof web);
    }
}

ImageListDefinition::ImageListDefinition() : SkinObject(kSkinImageList), picture(unsetSkinPicture()) {}

void ImageListDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    v.i32("imageWidth", imageWidth);
    v.i32("imageHeight", imageHeight);
    v.i32("imageCount", imageCount);
    v.i32("unused", unused);
    visitPicture(v, "picture", picture);
}

ImageDefinition::ImageDefinition() : SkinObject(kSkinImage) {}

ImageDefinition::~ImageDefinition() = default;

void ImageDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    v.u32("dataLength", dataLength);
    v.i32("format", format);
    v.bytes("data", data, dataLength);
}

void ImageDefinition::finishRead()
{
    // A file that ends early holds fewer bytes than it announced.
    dataLength = static_cast<uint32_t>(data.size());
    image_.reset();
    const uint64_t pixels = claimedPixels(data);
    if (data.empty() || pixels > kMaxPicturePixels || pixels > kMaxPixelsPerByte * data.size()) {
        return;
    }
    ImageMemoryFile file(data.data(), dataLength);
    auto decoded = std::make_unique<RasterImage>();
    if (decoded->Decode(&file, format) && decoded->IsValid()) {
        image_ = std::move(decoded);
    }
}

SysColorTableDefinition::SysColorTableDefinition() : SkinObject(kSkinSysColorTable) {}

SysColorTableDefinition::~SysColorTableDefinition() { SysColorTableDefinition::releaseResources(); }

void SysColorTableDefinition::visitFields(SkinFieldVisitor &v)
{
    visitBase(v);
    v.beginGroup("colors");
    for (int i = 0; i < kColorCount; ++i) {
        v.color(std::to_string(i).c_str(), colors[i]);
    }
    v.endGroup();
}

SkinColor SysColorTableDefinition::colorFor(int32_t index) const
{
    return colors[index >= 0 && index < kSystemColors ? index : 0];
}

SkinGdiHandle SysColorTableDefinition::brushFor(int32_t index) const
{
    return brushes[index >= 0 && index < kSystemColors ? index : 0];
}

void SysColorTableDefinition::createResources()
{
    SkinObject::createResources();
    for (int i = 0; i < kSystemColors; ++i) {
        if (brushes[i] == nullptr) {
            brushes[i] = skinCreateSolidBrush(colors[i]);
        }
    }
}

void SysColorTableDefinition::releaseResources()
{
    for (SkinGdiHandle &brush : brushes) {
        skinDeleteGdiObject(brush);
        brush = nullptr;
    }
    SkinObject::releaseResources();
}

PropertySetDefinition::PropertySetDefinition() : TextStyleObject(kSkinPropertySet)
{
    std::memset(category, 0, sizeof category);
}

void PropertySetDefinition::visitFields(SkinFieldVisitor &v)
{
    TextStyleObject::visitFields(v);
    v.text("category", category, sizeof category);
    v.properties(properties);
}

const SkinProperty *PropertySetDefinition::findProperty(const char *name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    for (const SkinProperty &property : properties) {
        if (sameIgnoringCase(property.name, name)) {
            return &property;
        }
    }
    return nullptr;
}

std::unique_ptr<SkinObject> createSkinObject(int32_t type)
{
    switch (type) {
    case kSkinFrameWnd: return std::make_unique<FrameWndDefinition>();
    case kSkinShapeWnd: return std::make_unique<ShapeWndDefinition>();
    case kSkinCaptionButton: return std::make_unique<CaptionButtonDefinition>();
    case kSkinButton: return std::make_unique<ButtonDefinition>();
    case kSkinCheckBox: return std::make_unique<CheckBoxDefinition>();
    case kSkinComboBox:
    case kSkinComboBoxEx: return std::make_unique<ComboBoxDefinition>(type);
    case kSkinEdit:
    case kSkinListBox:
    case kSkinScrollControl:
    case kSkinListView:
    case kSkinRichEdit: return std::make_unique<ScrollControlDefinition>(type);
    case kSkinGroupBox: return std::make_unique<GroupBoxDefinition>();
    case kSkinProgressBar: return std::make_unique<ProgressBarDefinition>();
    case kSkinRadio: return std::make_unique<RadioDefinition>();
    case kSkinScrollBar: return std::make_unique<ScrollBarDefinition>();
    case kSkinSlider: return std::make_unique<SliderDefinition>();
    case kSkinStatic: return std::make_unique<StaticDefinition>();
    case kSkinStatusBar: return std::make_unique<StatusBarDefinition>();
    case kSkinTab: return std::make_unique<TabDefinition>();
    case kSkinPopupMenu: return std::make_unique<PopupMenuDefinition>();
    case kSkinImage: return std::make_unique<ImageDefinition>();
    case kSkinVoice: return std::make_unique<VoiceDefinition>();
    case kSkinMenuBar: return std::make_unique<MenuBarDefinition>();
    case kSkinArea: return std::make_unique<AreaDefinition>();
    case kSkinToolBar: return std::make_unique<ToolBarDefinition>();
    case kSkinControlBar: return std::make_unique<ControlBarDefinition>();
    case kSkinApplication: return std::make_unique<ApplicationDefinition>();
    case kSkinSpin: return std::make_unique<SpinDefinition>();
    case kSkinTreeView: return std::make_unique<TreeViewDefinition>();
    case kSkinDateTime: return std::make_unique<DateTimeDefinition>();
    case kSkinMonthCalendar: return std::make_unique<MonthCalendarDefinition>();
    case kSkinRebar: return std::make_unique<RebarDefinition>();
    case kSkinHeader: return std::make_unique<HeaderDefinition>();
    case kSkinCaptionStatic: return std::make_unique<CaptionStaticDefinition>();
    case kSkinImageList: return std::make_unique<ImageListDefinition>();
    case kSkinAnimate: return std::make_unique<AnimateDefinition>();
    case kSkinTooltip: return std::make_unique<TooltipDefinition>();
    case kSkinSysColorTable: return std::make_unique<SysColorTableDefinition>();
    case kSkinUnnamedFrame: return std::make_unique<UnnamedFrameDefinition>();
    case kSkinPropertySet: return std::make_unique<PropertySetDefinition>();
    default: return nullptr;
    }
}
