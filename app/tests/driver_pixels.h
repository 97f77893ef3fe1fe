// Pixels for the driver's checks: a BMP file the build drew (the skin's pictures) and a copy of
// a rectangle of the screen.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

// A 24-bit BMP file's pixels (row 0 the top), read from its bytes.
struct BmpPixels {
    int width = 0, height = 0;
    std::vector<unsigned char> bytes;
    size_t offset = 0, stride = 0;
    bool read(const std::wstring& file) {
        FILE* f = _wfopen(file.c_str(), L"rb");
        if (!f) return false;
        unsigned char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
        fclose(f);
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24) return false;
        offset = bytes[10] | bytes[11] << 8 | bytes[12] << 16;
        width = bytes[18] | bytes[19] << 8;
        height = bytes[22] | bytes[23] << 8;
        stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
        return bytes.size() >= offset + stride * height;
    }
    COLORREF at(int x, int row) const {
        const unsigned char* p = bytes.data() + offset + stride * (height - 1 - row) + x * 3;
        return RGB(p[2], p[1], p[0]);
    }
};

// The screen's pixels inside a rectangle of the screen, copied once.
struct ScreenPixels {
    RECT rect{};
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    explicit ScreenPixels(const RECT& r) : rect(r), width(r.right - r.left), height(r.bottom - r.top) {
        if (width <= 0 || height <= 0) return;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        for (int i = 0; i < width * height; ++i) pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
        SelectObject(memory, old);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The share (in percent) of the pixels of rows [top, bottom) that have the colour.
    int share(COLORREF c, int top = 0, int bottom = -1) const {
        if (bottom < 0) bottom = height;
        int n = 0, all = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width; ++x, ++all) n += at(x, y) == c;
        return all ? 100 * n / all : 0;
    }
    // In screen coordinates; CLR_INVALID outside the rectangle.
    COLORREF onScreen(int x, int y) const {
        if (x < rect.left || y < rect.top || x >= rect.right || y >= rect.bottom || pixels.empty()) return CLR_INVALID;
        return at(x - rect.left, y - rect.top);
    }
    int count(COLORREF c) const {
        int n = 0;
        for (COLORREF p : pixels) n += p == c;
        return n;
    }
    // The pixels as a 24-bit BMP file.
    bool save(const std::wstring& file) const {
        FILE* f = _wfopen(file.c_str(), L"wb");
        if (!f) return false;
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3), size = 54 + stride * height;
        unsigned char head[54] = {'B', 'M'};
        auto put32 = [&](int at, size_t v) {
            for (int i = 0; i < 4; ++i) head[at + i] = static_cast<unsigned char>(v >> (8 * i));
        };
        put32(2, size);
        put32(10, 54);
        put32(14, 40);
        put32(18, width);
        put32(22, height);
        head[26] = 1;
        head[28] = 24;
        fwrite(head, 1, sizeof head, f);
        std::vector<unsigned char> row(stride, 0);
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF c = at(x, y);
                row[x * 3] = GetBValue(c);
                row[x * 3 + 1] = GetGValue(c);
                row[x * 3 + 2] = GetRValue(c);
            }
            fwrite(row.data(), 1, stride, f);
        }
        return fclose(f) == 0;
    }
};
