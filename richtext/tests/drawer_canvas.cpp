#include "drawer_canvas.h"

#include <gtest/gtest.h>

RunMetrics measureRun(HDC dc, const FontSpec& font, const std::wstring& text) {
    HFONT f = CreateFontW(font.height, 0, 0, 0, font.weight, font.italic, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                          font.face);
    HGDIOBJ old = SelectObject(dc, f);
    RunMetrics m;
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &m.extent);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    m.ascent = tm.tmAscent;
    m.descent = m.extent.cy - tm.tmAscent;
    m.cellHeight = tm.tmHeight;
    SelectObject(dc, old);
    DeleteObject(f);
    return m;
}


RECT linkRectOf(const RichTextDrawer& drawer, int n) {
    for (const LinkArea& a : drawer.linkAreas())
        if (a.link == n) return a.rect;
    ADD_FAILURE() << "no area for link " << n;
    return RECT{};
}
