// Drawing helpers of the skin engine (Windows).
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "frame_geometry.h"
#include "key_region.h"
#include "rasterimage.h"
#include "skin_draw.h"
#include "skin_gdi.h"
#include "skin_geometry.h"
#include "skin_platform.h"
#include "skin_repository.h"

// ---- text

TextConverter::TextConverter(const wchar_t *text) : wide_(text ? text : L"") {}

TextConverter::TextConverter(const char *text)
{
    if (text == nullptr || *text == '\0') {
        return;
    }
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (needed > 1) {
        wide_.resize(static_cast<size_t>(needed));
        MultiByteToWideChar(CP_ACP, 0, text, -1, &wide_[0], needed);
        wide_.resize(static_cast<size_t>(needed - 1));
    }
}

const char *TextConverter::narrow()
{
    narrow_.clear();
    if (!wide_.empty()) {
        const int needed = WideCharToMultiByte(CP_ACP, 0, wide_.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (needed > 1) {
            narrow_.resize(static_cast<size_t>(needed));
            WideCharToMultiByte(CP_ACP, 0, wide_.c_str(), -1, &narrow_[0], needed, nullptr, nullptr);
            narrow_.resize(static_cast<size_t>(needed - 1));
        }
    }
    return narrow_.c_str();
}

// ---- memory device context

MemoryDC::MemoryDC(HDC compatible, int width, int height) : width_(width), height_(height)
{
    dc_ = CreateCompatibleDC(compatible);
    if (dc_ == nullptr || width <= 0 || height <= 0) {
        return;
    }
    // A bitmap compatible with a memory DC would be monochrome: take the screen's form then.
    HDC screen = compatible ? nullptr : GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(compatible ? compatible : screen, width, height);
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    if (bitmap_ != nullptr) {
        previous_ = SelectObject(dc_, bitmap_);
    }
}

MemoryDC::~MemoryDC()
{
    if (dc_ != nullptr && previous_ != nullptr) {
        SelectObject(dc_, previous_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

HBITMAP MemoryDC::releaseBitmap()
{
    if (dc_ != nullptr && previous_ != nullptr) {
        SelectObject(dc_, previous_);
        previous_ = nullptr;
    }
    HBITMAP out = bitmap_;
    bitmap_ = nullptr;
    return out;
}

// ---- rectangles and coordinates

RECT toRECT(const SkinRect &r) { return RECT{r.left, r.top, r.right, r.bottom}; }
SkinRect toSkinRect(const RECT &r) { return makeSkinRect(r.left, r.top, r.right, r.bottom); }

void skinFillRect(HDC dc, const RECT &rect, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void skinTriangle(HDC dc, const POINT points[3], COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Polygon(dc, points, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    DeleteObject(brush);
}

void skinScreenToClient(HWND window, RECT &rect)
{
    ScreenToClient(window, reinterpret_cast<POINT *>(&rect.left));
    ScreenToClient(window, reinterpret_cast<POINT *>(&rect.right));
}

void skinClientToScreen(HWND window, RECT &rect)
{
    ClientToScreen(window, reinterpret_cast<POINT *>(&rect.left));
    ClientToScreen(window, reinterpret_cast<POINT *>(&rect.right));
}

bool skinIsRightToLeft(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0; }

int skinMirrorX(HWND window, int x)
{
    if (!skinIsRightToLeft(window)) {
        return x;
    }
    RECT w;
    GetWindowRect(window, &w);
    return mirrorX(w.left, w.right, x);
}

void skinMirrorRect(HWND window, RECT &rect)
{
    if (!skinIsRightToLeft(window)) {
        return;
    }
    RECT w;
    GetWindowRect(window, &w);
    rect = toRECT(mirrorRect(w.left, w.right, toSkinRect(rect)));
}

RECT skinMonitorRect(HWND window, const RECT *nearRect, bool workArea)
{
    HMONITOR monitor = nearRect ? MonitorFromRect(nearRect, MONITOR_DEFAULTTONEAREST)
                            : MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return screen;
    }
    return workArea ? info.rcWork : info.rcMonitor;
}

RECT skinKeepInside(const RECT &bounds, const RECT &rect) { return toRECT(keepInside(toSkinRect(bounds), toSkinRect(rect))); }

void skinColorToBytes(COLORREF color, uint8_t bytes[3])
{
    bytes[0] = GetRValue(color);
    bytes[1] = GetGValue(color);
    bytes[2] = GetBValue(color);
}

COLORREF skinBytesToColor(const uint8_t bytes[3]) { return RGB(bytes[0], bytes[1], bytes[2]); }

// ---- text

HFONT skinFontFromRecord(const SkinFontRecord &font) { return static_cast<HFONT>(skinCreateFont(font)); }

void skinStyledText(HDC dc, const SkinTextEffect &effect, const RECT &rect, const wchar_t *text, int length, UINT format)
{
    if (text == nullptr) {
        return;
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(dc);
    if (effect.drawsShadow()) {
        RECT shadow = rect;
        OffsetRect(&shadow, effect.shadowX, effect.shadowY);
        SetTextColor(dc, effect.shadowColorRef());
        DrawTextW(dc, text, length, &shadow, format);
    }
    RECT place = rect;
    SetTextColor(dc, effect.textColor());
    DrawTextW(dc, text, length, &place, format);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

// ---- regions

HRGN skinRegionFromPicture(const RasterImage &picture, COLORREF key)
{
    if (!picture.IsValid()) {
        return nullptr;
    }
    return static_cast<HRGN>(skinCreateRegion(keyColorRuns(picture, key), picture.Width(), picture.Height()));
}

HRGN skinScaledRegion(HRGN region, float scaleX, float scaleY, int x, int y)
{
    if (region == nullptr) {
        return nullptr;
    }
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    if (bytes == 0) {
        return nullptr;
    }
    std::vector<uint8_t> buffer(bytes);
    RGNDATA *data = reinterpret_cast<RGNDATA *>(buffer.data());
    if (GetRegionData(region, bytes, data) != bytes) {
        return nullptr;
    }
    XFORM transform{scaleX, 0.0f, 0.0f, scaleY, 0.0f, 0.0f};
    HRGN scaled = ExtCreateRegion(&transform, bytes, data);
    if (scaled != nullptr) {
        OffsetRgn(scaled, x, y);
    }
    return scaled;
}

HRGN skinTiledRegion(HRGN region, int tileWidth, int tileHeight, const RECT &target)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    if (region == nullptr || result == nullptr) {
        return result;
    }
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    for (const SkinRect &tile : tileRects(tileWidth, tileHeight, toSkinRect(target))) {
        CombineRgn(copy, region, nullptr, RGN_COPY);
        OffsetRgn(copy, tile.left, tile.top);
        CombineRgn(result, result, copy, RGN_OR);
    }
    DeleteObject(copy);
    HRGN clip = CreateRectRgnIndirect(&target);
    CombineRgn(result, result, clip, RGN_AND);
    DeleteObject(clip);
    return result;
}

// ---- pictures

namespace {

// The source rectangle of the image cut out (mirrored when asked); null when it cannot be made.
std::unique_ptr<RasterImage> cutOut(RasterImage *image, const SkinRect &source, bool mirror)
{
    if (image == nullptr || !image->IsValid()) {
        return nullptr;
    }
    const SkinRect inside = intersectSkinRect(source, makeSkinRect(0, 0, image->Width(), image->Height()));
    if (inside.isEmpty()) {
        return nullptr;
    }
    auto piece = std::make_unique<RasterImage>();
    if (!image->Crop(inside.left, inside.top, inside.right, inside.bottom, piece.get())) {
        return nullptr;
    }
    if (mirror && !piece->Mirror()) {
        return nullptr;
    }
    return piece;
}

bool fillOr(HDC dc, const RECT &target, COLORREF color, bool fill)
{
    if (fill) {
        skinFillRect(dc, target, color);
    }
    return false;
}

// Draws one source rectangle of an image into target in a mode.
bool drawSource(RasterImage *image, HDC dc, const RECT &target, const SkinRect &source, int32_t mode, bool mirror)
{
    const int width = target.right - target.left, height = target.bottom - target.top;
    if (width <= 0 || height <= 0) {
        return true;
    }
    if (mode == kSkinPictureNatural) {
        SkinRect fits = source;
        fits.right = fits.left + std::min(source.width(), width);
        fits.bottom = fits.top + std::min(source.height(), height);
        auto piece = cutOut(image, fits, mirror);
        return piece && piece->Draw(dc, target.left, target.top) != 0;
    }
    auto piece = cutOut(image, source, mirror);
    if (!piece) {
        return false;
    }
    if (mode == kSkinPictureTiled) {
        for (const SkinRect &tile : tileRects(piece->Width(), piece->Height(), toSkinRect(target))) {
            const RECT clip = toRECT(tile);
            piece->Draw(dc, tile.left, tile.top, -1, -1, &clip);
        }
        return true;
    }
    const int shift = mirror && skinPlatformClass() == kPlatformWin2000 ? 1 : 0;
    return piece->Stretch(dc, target.left + shift, target.top, width, height) != 0;
}

RasterImage *imageOf(const SkinRepository *repository, const char *name)
{
    return repository ? repository->findImage(name) : nullptr;
}

}  // namespace

bool skinDrawPicture(const SkinRepository *repository, HDC dc, const RECT &target, const SkinPicture &picture,
                     COLORREF color, int fill, bool mirror)
{
    if (!picture.isSet() || repository == nullptr) {
        return fillOr(dc, target, color, fill != kSkinNoFill);
    }
    RasterImage *image = imageOf(repository, picture.image);
    if (image == nullptr) {
        return fillOr(dc, target, color, fill == kSkinFill);
    }
    if (!drawSource(image, dc, target, picture.source, picture.mode, mirror)) {
        return fillOr(dc, target, color, fill != kSkinNoFill);
    }
    return true;
}

bool skinDrawNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                      COLORREF color, int fill, bool mirror)
{
    if (!grid.isSet() || repository == nullptr) {
        return fillOr(dc, target, color, fill != kSkinNoFill);
    }
    RasterImage *image = imageOf(repository, grid.image);
    if (image == nullptr) {
        return fillOr(dc, target, color, fill == kSkinFill);
    }
    bool drawn = true;
    for (const SkinGridPiece &p : nineGridPieces(grid.source, grid.margins, grid.layout, toSkinRect(target))) {
        const RECT piece = toRECT(p.target);
        if (!drawSource(image, dc, piece, p.source, p.mode, mirror)) {
            fillOr(dc, piece, color, fill != kSkinNoFill);
            drawn = false;
        }
    }
    return drawn;
}

namespace {

template <typename Draw>
void drawKeyed(HDC dc, const RECT &target, COLORREF color, Draw draw)
{
    const int width = target.right - target.left, height = target.bottom - target.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    MemoryDC memory(dc, width, height);
    if (!memory.isValid()) {
        return;
    }
    const RECT local{0, 0, width, height};
    skinFillRect(memory.dc(), local, color);
    draw(memory.dc(), local);
    skinTransparentBlitDC(dc, target.left, target.top, width, height, memory.dc(), 0, 0, width, height, color);
}

}  // namespace

void skinDrawKeyedPicture(const SkinRepository *repository, HDC dc, const RECT &target, const SkinPicture &picture,
                          COLORREF color)
{
    drawKeyed(dc, target, color, [&](HDC memory, const RECT &local) {
        skinDrawPicture(repository, memory, local, picture, color, kSkinNoFill, false);
    });
}

void skinDrawKeyedNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                           COLORREF color, bool mirror)
{
    drawKeyed(dc, target, color, [&](HDC memory, const RECT &local) {
        skinDrawNineGrid(repository, memory, local, grid, color, kSkinNoFill, mirror);
    });
}

// ---- transparent blits

namespace {

void realise(HDC dc, HPALETTE palette)
{
    if (palette != nullptr && (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0) {
        SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
}

}  // namespace

bool skinTransparentBlitDC(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, COLORREF key, HPALETTE palette)
{
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || source == nullptr) {
        return false;
    }
    realise(dc, palette);
    // The mask: white where the source has the key, black elsewhere.
    HDC maskDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr);
    MemoryDC copy(dc, sourceWidth, sourceHeight);
    if (maskDc == nullptr || mask == nullptr || !copy.isValid()) {
        if (mask) DeleteObject(mask);
        if (maskDc) DeleteDC(maskDc);
        return false;
    }
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    const COLORREF oldBack = SetBkColor(source, key);
    BitBlt(maskDc, 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
    SetBkColor(source, oldBack);
    // The source copy blackened where the key was.
    BitBlt(copy.dc(), 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
    const COLORREF copyText = SetTextColor(copy.dc(), RGB(255, 255, 255));
    const COLORREF copyBack = SetBkColor(copy.dc(), RGB(0, 0, 0));
    BitBlt(copy.dc(), 0, 0, sourceWidth, sourceHeight, maskDc, 0, 0, SRCAND);
    SetTextColor(copy.dc(), copyText);
    SetBkColor(copy.dc(), copyBack);
    // Destination AND mask, then OR the blackened copy.
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    SetStretchBltMode(dc, COLORONCOLOR);
    if (width == sourceWidth && height == sourceHeight) {
        BitBlt(dc, x, y, width, height, maskDc, 0, 0, SRCAND);
        BitBlt(dc, x, y, width, height, copy.dc(), 0, 0, SRCPAINT);
    } else {
        StretchBlt(dc, x, y, width, height, maskDc, 0, 0, sourceWidth, sourceHeight, SRCAND);
        StretchBlt(dc, x, y, width, height, copy.dc(), 0, 0, sourceWidth, sourceHeight, SRCPAINT);
    }
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
    return true;
}

bool skinTransparentBlit(HDC dc, int x, int y, int width, int height, HBITMAP source, int sourceX, int sourceY,
                         COLORREF key, HPALETTE palette)
{
    if (source == nullptr) {
        return false;
    }
    HDC sourceDc = CreateCompatibleDC(dc);
    if (sourceDc == nullptr) {
        return false;
    }
    HGDIOBJ old = SelectObject(sourceDc, source);
    const bool done = skinTransparentBlitDC(dc, x, y, width, height, sourceDc, sourceX, sourceY, width, height, key, palette);
    SelectObject(sourceDc, old);
    DeleteDC(sourceDc);
    return done;
}

HICON skinWindowSmallIcon(HWND window)
{
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    return icon;
}

void skinShowSystemMenu(HWND window, uint32_t style)
{
    HMENU system = GetSystemMenu(window, FALSE);
    if (system == nullptr) return;
    const bool zoomed = IsZoomed(window) != FALSE, iconic = IsIconic(window) != FALSE;
    const auto enable = [&](UINT command, bool on) {
        EnableMenuItem(system, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, zoomed || iconic);
    enable(SC_MOVE, !zoomed && !iconic);
    enable(SC_SIZE, !zoomed && !iconic && isResizableStyle(style));
    enable(SC_MINIMIZE, !iconic && (style & WS_MINIMIZEBOX));
    enable(SC_MAXIMIZE, !zoomed && (style & WS_MAXIMIZEBOX));
    POINT at{};
    GetCursorPos(&at);
    const UINT command =
        static_cast<UINT>(TrackPopupMenu(system, TPM_RETURNCMD | TPM_LEFTBUTTON, at.x + 2, at.y, 0, window, nullptr));
    if (command != 0 && IsWindow(window)) PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

#endif
