#include "dib_section.h"

namespace {
constexpr WORD kBitsPerPixel = 32;
}

bool DibSection::create(int width, int height) {
    reset();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) {
        reset();
        return false;
    }
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void DibSection::reset() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

HBITMAP DibSection::release() {
    HBITMAP b = bitmap_;
    bitmap_ = nullptr;
    reset();
    return b;
}

void DibSection::fill(COLORREF c) {
    GdiFlush();
    const uint32_t p = toDib(c);
    for (size_t i = 0, n = static_cast<size_t>(width_) * height_; i < n; ++i) bits_[i] = p;
}

SelectingDC::SelectingDC(HGDIOBJ selected, HDC like) : dc_(CreateCompatibleDC(like)) {
    if (dc_ && selected) previous_ = SelectObject(dc_, selected);
}

SelectingDC::~SelectingDC() {
    if (!dc_) return;
    if (previous_) SelectObject(dc_, previous_);
    DeleteDC(dc_);
}
