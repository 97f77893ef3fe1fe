// The Windows renderer of the result-list model: the twelve drawing operations in GDI on
// the (class-owned, so persistent) device context of the host list window.
#pragma once
#include <windows.h>
#include "resultlist/lxlistbox.h"
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

class JListBox;

class LXWinListBox : public LXListBox {
public:
    LXWinListBox(JListBox* host, LXDataManager* dm, const LXLRectangle& rect);
    ~LXWinListBox() override;

    void getScrollBarInfo(int32_t& value, int32_t& min, int32_t& max, int32_t& page) override;
    void setStyle(uint32_t flags) override;
    uint32_t getStyle() override { return style_; }
    void setColor(LXLColor color) override;
    LXLColor getColor() override { return colorType_; }
    void setScrollBarInfo(int32_t value, int32_t min, int32_t max, int32_t page) override;
    void eraseBackground() override;
    void fillRect(const LXLRectangle& rect, LXLColor color) override;
    void frameRect(const LXLRectangle& rect, LXLColor color) override;
    int32_t getCharWidth(uint32_t codePoint) override;
    void drawString(const lxstring& text, int32_t x, int32_t y, int background) override;

    // Size in tenths of a point and face of the result font; rebuilds the layout.
    void setFont(int tenths, const std::wstring& face);
    // The font of style 0 (the view uses it for its own controls).
    HFONT font();
    int fontSize() const { return size_; }
    const std::wstring& faceName() const { return face_; }
    int baseline() const { return baseline_; }
    COLORREF textColor() const { return textColor_; }

    static COLORREF paletteColor(LXLColor type);
    // The font a style gives: size in tenths of a point after the size flags, face and
    // the LOGFONT members the flags set.
    static int styledSize(uint32_t style, int tenths);
    static LOGFONTW styledFont(uint32_t style, int tenths, const std::wstring& face);
    static RECT toRect(const LXLRectangle& r) { return RECT{r.left, r.top, r.left + r.width, r.top + r.height}; }

private:
    HWND window() const;
    HFONT createPointFont(const LOGFONTW& lf) const;
    void dropFonts();
    void paintRect(const LXLRectangle& rect, LXLColor color, bool frameOnly);

    JListBox* host_;
    uint32_t style_ = 0;
    // A style's font with its ascent, measured when the font first draws (-1 before).
    struct StyledFont {
        HFONT font;
        int ascent;
    };
    HFONT font_ = nullptr;                        // the current style's, one of fonts_
    StyledFont* current_ = nullptr;               // the current style's entry of fonts_
    std::map<uint32_t, StyledFont> fonts_;        // by style, for the current size and face
    std::unordered_map<uint64_t, int32_t> widths_;  // by style and code point
    int size_ = 80;
    std::wstring face_ = L"Verdana";
    int baseline_ = 0;
    LXLColor colorType_ = 1;
    COLORREF textColor_ = 0;
};
