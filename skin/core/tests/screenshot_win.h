// A screenshot of the whole display as the X server shows it, read pixel by pixel at places
// the Windows tests compute from window rectangles, and kept as a BMP artifact.
#ifndef WORDMERE_SKIN_CORE_TESTS_SCREENSHOT_WIN_H
#define WORDMERE_SKIN_CORE_TESTS_SCREENSHOT_WIN_H

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

class Screenshot {
public:
    Screenshot()
    {
        HDC screen = GetDC(nullptr);
        capture(screen, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        ReleaseDC(nullptr, screen);
    }
    // What another device context shows from its origin (a window's, for one).
    Screenshot(HDC source, int width, int height) { capture(source, width, height); }
    COLORREF at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    COLORREF at(POINT p) const { return at(p.x, p.y); }
    // Kept as a 24-bit BMP (folder/name.bmp) for whoever looks at the run.
    void save(const std::string &folder, const std::string &name) const
    {
        CreateDirectoryA(folder.c_str(), nullptr);
        FILE *f = std::fopen((folder + "/" + name + ".bmp").c_str(), "wb");
        if (!f) return;
        const uint32_t row = static_cast<uint32_t>((width_ * 3 + 3) & ~3);
        const uint32_t size = 54 + row * height_;
        uint8_t header[54] = {'B', 'M'};
        auto put = [&](int at, uint32_t v) { std::memcpy(header + at, &v, 4); };
        put(2, size);
        put(10, 54);
        put(14, 40);
        put(18, static_cast<uint32_t>(width_));
        put(22, static_cast<uint32_t>(height_));
        header[26] = 1;
        header[28] = 24;
        std::fwrite(header, 1, sizeof header, f);
        std::vector<uint8_t> line(row, 0);
        for (int y = height_ - 1; y >= 0; --y) {
            for (int x = 0; x < width_; ++x) {
                const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
                line[x * 3] = p & 0xFF;
                line[x * 3 + 1] = (p >> 8) & 0xFF;
                line[x * 3 + 2] = (p >> 16) & 0xFF;
            }
            std::fwrite(line.data(), 1, row, f);
        }
        std::fclose(f);
    }

private:
    void capture(HDC source, int width, int height)
    {
        width_ = width;
        height_ = height;
        pixels_.resize(static_cast<size_t>(width_) * height_);
        HDC memory = CreateCompatibleDC(source);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
        GdiFlush();
        std::memcpy(pixels_.data(), bits, pixels_.size() * 4);
        SelectObject(memory, old);
        DeleteObject(dib);
        DeleteDC(memory);
    }
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

// A colour as #RRGGBB, for messages.
inline std::string hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

#endif
