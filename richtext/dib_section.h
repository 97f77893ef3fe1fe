// Small owners of GDI resources: a top-down 32-bit DIB section with pixel access in
// COLORREF terms, and a memory DC with an object selected into it for its lifetime.
#pragma once
#include <windows.h>

#include <cstdint>

class DibSection {
public:
    DibSection() = default;
    DibSection(int width, int height) { create(width, height); }
    ~DibSection() { reset(); }
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    // False (and no bitmap) for an empty size or when the section cannot be made.
    bool create(int width, int height);
    void reset();
    // Hands the bitmap over to the caller, who deletes it.
    HBITMAP release();

    HBITMAP handle() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixel access in COLORREF terms (0x00BBGGRR); the caller keeps x and y in range.
    COLORREF pixel(int x, int y) const { return fromDib(bits_[index(x, y)]); }
    void setPixel(int x, int y, COLORREF c) { bits_[index(x, y)] = toDib(c); }
    void fill(COLORREF c);
    // Finishes pending GDI drawing, before the pixels are read or written directly.
    void sync() const { GdiFlush(); }

    static COLORREF fromDib(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }
    static uint32_t toDib(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A DC compatible with the screen, with one object selected until it is destroyed.
class SelectingDC {
public:
    explicit SelectingDC(HGDIOBJ selected = nullptr, HDC like = nullptr);
    ~SelectingDC();
    SelectingDC(const SelectingDC&) = delete;
    SelectingDC& operator=(const SelectingDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};
