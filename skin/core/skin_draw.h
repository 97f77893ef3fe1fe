// The skin engine's drawing helpers on Windows: text conversion, rectangle and coordinate
// helpers with right-to-left mirroring and monitor work areas, regions (from a picture by
// key colour, scaled, tiled), pictures drawn from picture references and nine-grids, keyed
// pictures, transparent blits, styled text and a memory device context.
#ifndef WORDMERE_SKIN_CORE_SKIN_DRAW_H
#define WORDMERE_SKIN_CORE_SKIN_DRAW_H

#include <windows.h>

#include <string>

#include "skin_types.h"

class RasterImage;
class SkinRepository;

// A wide text and, on demand, its 8-bit form in the system ANSI code page. Null is empty.
class TextConverter {
public:
    explicit TextConverter(const wchar_t *text);
    explicit TextConverter(const char *text);
    const wchar_t *wide() const { return wide_.c_str(); }
    size_t length() const { return wide_.size(); }
    // The 8-bit form, made again from the wide text at each call.
    const char *narrow();

private:
    std::wstring wide_;
    std::string narrow_;
};

// A device context compatible with another, with a compatible bitmap of the given size
// selected; it restores and deletes both when it goes.
class MemoryDC {
public:
    MemoryDC(HDC compatible, int width, int height);
    ~MemoryDC();
    MemoryDC(const MemoryDC &) = delete;
    MemoryDC &operator=(const MemoryDC &) = delete;
    bool isValid() const { return dc_ != nullptr && bitmap_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Deselects the bitmap and hands it over (the caller deletes it); the DC keeps no bitmap.
    HBITMAP releaseBitmap();

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int width_;
    int height_;
};

// Rectangles and coordinates.
void skinFillRect(HDC dc, const RECT &rect, COLORREF color);
void skinTriangle(HDC dc, const POINT points[3], COLORREF color);
void skinScreenToClient(HWND window, RECT &rect);
void skinClientToScreen(HWND window, RECT &rect);
bool skinIsRightToLeft(HWND window);
// For a right-to-left window x and rect are mirrored within its window rectangle.
int skinMirrorX(HWND window, int x);
void skinMirrorRect(HWND window, RECT &rect);
RECT skinMonitorRect(HWND window, const RECT *nearRect, bool workArea);
RECT skinKeepInside(const RECT &bounds, const RECT &rect);
void skinColorToBytes(COLORREF color, uint8_t bytes[3]);
COLORREF skinBytesToColor(const uint8_t bytes[3]);
RECT toRECT(const SkinRect &r);
SkinRect toSkinRect(const RECT &r);

// Text.
HFONT skinFontFromRecord(const SkinFontRecord &font);
// DrawTextW with a transparent background: the shadow first (when the effect asks for it),
// offset by the effect's offsets, then the text in the effect's colour.
void skinStyledText(HDC dc, const SkinTextEffect &effect, const RECT &rect, const wchar_t *text, int length, UINT format);

// Regions.
// The pixels of the picture that differ from key, as a region; none without a valid picture.
HRGN skinRegionFromPicture(const RasterImage &picture, COLORREF key);
// The region scaled by the factors, then moved by (x, y); a new region.
HRGN skinScaledRegion(HRGN region, float scaleX, float scaleY, int x, int y);
// Copies of the region every tile width and height from target's top-left corner, cut to
// target; a new region (empty for an empty tile or target).
HRGN skinTiledRegion(HRGN region, int tileWidth, int tileHeight, const RECT &target);

// Pictures. fill: 0 never fill, 1 fill with color whenever the picture cannot be drawn;
// any other non-zero value fills only for an unset reference.
enum SkinFillFlag : int { kSkinNoFill = 0, kSkinFill = 1 };
bool skinDrawPicture(const SkinRepository *repository, HDC dc, const RECT &target, const SkinPicture &picture,
                     COLORREF color, int fill, bool mirror);
bool skinDrawNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                      COLORREF color, int fill, bool mirror);
// Drawn into a bitmap of the target's size filled with color, then put on dc with color as
// the transparent key.
void skinDrawKeyedPicture(const SkinRepository *repository, HDC dc, const RECT &target, const SkinPicture &picture,
                          COLORREF color);
void skinDrawKeyedNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                           COLORREF color, bool mirror = false);
// Copies the source to dc except where it has the key colour.
bool skinTransparentBlit(HDC dc, int x, int y, int width, int height, HBITMAP source, int sourceX, int sourceY,
                         COLORREF key, HPALETTE palette = nullptr);
// The same from a device context; the source is stretched when its size differs.
bool skinTransparentBlitDC(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, COLORREF key, HPALETTE palette = nullptr);

// The window's small icon (its own, then its class's small and large ones); null for none.
HICON skinWindowSmallIcon(HWND window);
// The window's system menu tracked at the pointer (2 pixels to its right), its restore,
// move, size, minimise and maximise items enabled by the window's state and by `style` (the
// window's real style); the chosen command is posted to the window as WM_SYSCOMMAND.
void skinShowSystemMenu(HWND window, uint32_t style);

#endif
