// Images in rich text: the bmp, icon and ilst tags. Images come from the resource module,
// another module, a file, or a handle given by number; a handle is used only when it names
// a bitmap or icon of this process (checked through GDI and USER, never dereferenced) or
// the drawer's own image list. Numbers are decimal ("010" is ten); a handle may also be
// written in hexadecimal after "0x". Images the drawer loads are freed once placed.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "css_scanner.h"
#include "dib_section.h"
#include "layout_pass.h"
#include "rich_text_drawer.h"

using richtext::MarkupTag;

// An image a tag names, freed on destruction when the drawer loaded it.
struct LayoutPass::Image {
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    bool owned = false;
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() {
        if (!owned) return;
        if (bitmap) DeleteObject(bitmap);
        if (icon) DestroyIcon(icon);
    }
    bool empty() const { return !bitmap && !icon; }
};

namespace {

using Image = LayoutPass::Image;

constexpr COLORREF kDefaultMask = 0xFF00FF;  // magenta marks transparent pixels
constexpr int kMaxResourceId = 0xFFFF;

int resourceId(const std::wstring* v) {
    if (!v) return 0;
    const int id = richtext::readDecimal(*v);
    return id > 0 && id <= kMaxResourceId ? id : 0;
}

HANDLE loadFromModule(HMODULE module, int id, UINT type, SIZE size) {
    if (!id) return nullptr;
    return LoadImageW(module, MAKEINTRESOURCEW(id), type, size.cx, size.cy, type == IMAGE_BITMAP ? LR_CREATEDIBSECTION : 0);
}

HANDLE loadFromOtherModule(const MarkupTag& t, UINT type, SIZE size) {
    const int id = resourceId(t.attribute(L"iddll"));
    const std::wstring* file = t.attribute(L"srcdll");
    if (!id || !file || file->empty()) return nullptr;
    HMODULE module = LoadLibraryExW(file->c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return nullptr;
    HANDLE image = loadFromModule(module, id, type, size);
    FreeLibrary(module);
    return image;
}

HANDLE loadFromFile(const std::wstring* file, UINT type, SIZE size) {
    if (!file || file->empty()) return nullptr;
    return LoadImageW(nullptr, file->c_str(), type, size.cx, size.cy,
                      LR_LOADFROMFILE | (type == IMAGE_BITMAP ? LR_CREATEDIBSECTION : 0));
}

HANDLE handleValue(const std::wstring* v) {
    return v ? reinterpret_cast<HANDLE>(static_cast<uintptr_t>(richtext::readCNumber(*v))) : nullptr;
}

bool isBitmap(HANDLE h) { return h && GetObjectType(h) == OBJ_BITMAP; }

bool isIcon(HANDLE h) {
    ICONINFO info{};
    if (!h || !GetIconInfo(static_cast<HICON>(h), &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

// Loads the image of a tag: the resource module, another module, a file, then a handle.
void loadImage(const MarkupTag& t, HMODULE resources, UINT type, SIZE size, Image& out) {
    HANDLE h = loadFromModule(resources, resourceId(t.attribute(L"idres")), type, size);
    if (!h) h = loadFromOtherModule(t, type, size);
    if (!h) h = loadFromFile(t.attribute(L"file"), type, size);
    out.owned = h != nullptr;
    if (!h) {
        HANDLE given = handleValue(t.attribute(L"handle"));
        if (type == IMAGE_BITMAP ? isBitmap(given) : isIcon(given)) h = given;
    }
    if (type == IMAGE_BITMAP) out.bitmap = static_cast<HBITMAP>(h);
    else out.icon = static_cast<HICON>(h);
}

bool hasBitmapSource(const MarkupTag& t) {
    return t.attribute(L"idres") || t.attribute(L"iddll") || t.attribute(L"file") || t.attribute(L"handle");
}

}  // namespace

HBITMAP LayoutPass::loadNamedBitmap(const std::wstring& name) {
    constexpr SIZE kNatural{0, 0};
    const int id = resourceId(&name);
    HANDLE h = id ? loadFromModule(drawer_.resourceModule_, id, IMAGE_BITMAP, kNatural) : loadFromFile(&name, IMAGE_BITMAP, kNatural);
    return static_cast<HBITMAP>(h);
}

unsigned LayoutPass::imageStyle(const std::wstring* letters) const {
    unsigned flags = 0;
    if (!letters) return flags;
    const ShadowSettings& shadow = drawer_.shadow_;
    const bool canShadow = shadow.offsetX != 0 || shadow.offsetY != 0;
    for (wchar_t c : richtext::asciiLower(*letters)) {
        if (c == L'g') flags |= kImageGrey;
        else if (c == L'd') flags |= kImageDarker;
        else if (c == L'l') flags |= kImageLighter;
        else if (c == L's' && canShadow) flags |= drawer_.shadowBlurred_ ? kImageSoftShadow : kImageHardShadow;
    }
    return flags;
}

int LayoutPass::imageDimension(const std::wstring* value, int natural) {
    if (!value) return natural;
    int d;
    if (!value->empty() && value->back() == L'%')
        d = MulDiv(natural, std::clamp(richtext::readDecimal(*value), 0, kMaxShare), 100);
    else
        d = StyleSheet::lengthValue(dc_, *value, natural);
    return std::clamp(d, 0, kMaxImageSide);
}

void LayoutPass::imageTag(Flow& f, const MarkupTag& t) {
    const SIZE iconSize{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    Image image;
    SIZE natural{0, 0};
    if (t.name == L"bmp") {
        loadImage(t, drawer_.resourceModule_, IMAGE_BITMAP, {0, 0}, image);
        natural = DrawingHelpers::bitmapSize(image.bitmap);
    } else if (t.name == L"icon") {
        loadImage(t, drawer_.resourceModule_, IMAGE_ICON, iconSize, image);
        natural = iconSize;
    } else if (!gridImage(t, image, natural)) {
        return;
    }
    if (image.empty() || natural.cx <= 0 || natural.cy <= 0) return;  // a source that cannot be loaded is skipped
    const SIZE size{imageDimension(t.attribute(L"width"), natural.cx), imageDimension(t.attribute(L"height"), natural.cy)};
    const unsigned style = imageStyle(t.attribute(L"style"));
    const std::wstring* hot = t.attribute(L"hotstyle");
    const std::wstring* mask = t.attribute(L"mask");
    placeImage(f, size, style, hot ? imageStyle(hot) : style, image.bitmap, image.icon,
               mask ? drawer_.sheet_.colourValue(*mask, kDefaultMask) : kDefaultMask);
}

// One image of a grid: a cell of cx x cy cut out of a bitmap, or an image of the drawer's
// image list. A cell size of 0 (or less), or an index outside the grid, ignores the tag.
bool LayoutPass::gridImage(const MarkupTag& t, Image& image, SIZE& natural) {
    const std::wstring* indexValue = t.attribute(L"index");
    const int index = indexValue ? richtext::readDecimal(*indexValue) : 0;
    if (index < 0) return false;
    const HANDLE given = handleValue(t.attribute(L"handle"));
    const bool ownList = drawer_.imageList_ && given == static_cast<HANDLE>(drawer_.imageList_);
    if (hasBitmapSource(t) && !ownList) {
        const std::wstring* cxValue = t.attribute(L"cx");
        const std::wstring* cyValue = t.attribute(L"cy");
        const int cx = cxValue ? richtext::readDecimal(*cxValue) : 0, cy = cyValue ? richtext::readDecimal(*cyValue) : 0;
        if (cx <= 0 || cy <= 0 || cx > kMaxImageSide || cy > kMaxImageSide) return false;
        Image sheet;
        loadImage(t, drawer_.resourceModule_, IMAGE_BITMAP, {0, 0}, sheet);
        const SIZE whole = DrawingHelpers::bitmapSize(sheet.bitmap);
        const int perRow = whole.cx / cx, rows = whole.cy / cy;
        if (index >= static_cast<long long>(perRow) * rows) return false;
        DibSection cell(cx, cy);
        if (!cell.handle()) return false;
        {
            SelectingDC to(cell.handle()), from(sheet.bitmap);
            BitBlt(to, 0, 0, cx, cy, from, (index % perRow) * cx, (index / perRow) * cy, SRCCOPY);
        }
        image.bitmap = cell.release();
        image.owned = true;
        natural = {cx, cy};
        return true;
    }
    HIMAGELIST list = drawer_.imageList_;
    if (!list || index >= ImageList_GetImageCount(list)) return false;
    image.icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    image.owned = true;
    natural = drawer_.imageListSize_;
    return true;
}

void LayoutPass::placeImage(Flow& f, SIZE size, unsigned style, unsigned hotStyle, HBITMAP bitmap, HICON icon,
                            COLORREF mask) {
    const bool hovered = style_.linkIndex >= 0 && style_.linkIndex == drawer_.hoveredLink_;
    const unsigned flags = hovered ? hotStyle : style;
    const ShadowSettings& shadow = drawer_.shadow_;
    const bool shadowed = (flags & kImageShadowFlags) != 0;
    const SIZE drawn{size.cx + (shadowed ? shadow.offsetX : 0), size.cy + (shadowed ? shadow.offsetY : 0)};
    Line& l = f.line;
    l.hasContent = true;
    if (measuring()) {
        l.ascent = std::max<int>(l.ascent, drawn.cy);
        f.penX += drawn.cx;
        return;
    }
    const int y = l.top + verticalOffset(l, drawn.cy, drawn.cy);
    if (bitmap) DrawingHelpers::drawBitmap(dc_, f.penX, y, size.cx, size.cy, bitmap, true, mask, flags, shadowed, shadow);
    else DrawingHelpers::drawIcon(dc_, f.penX, y, size.cx, size.cy, icon, flags, shadowed, shadow);
    recordLink({f.penX, y, f.penX + drawn.cx, y + drawn.cy});
    f.penX += drawn.cx;
}
