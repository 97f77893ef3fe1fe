// A renderer of the result-list model for tests: fixed, known character widths, every
// drawing call recorded, and the screen buffer printed as text lines.
#ifndef WORDMERE_ENGINE_TESTS_TESTRENDERER_H
#define WORDMERE_ENGINE_TESTS_TESTRENDERER_H

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "resultlist/lxlistbox.h"

inline std::string testUtf8(const lxstring &s)
{
    lxstring u(s);
    u.setEncoding(LXEncodingUtf8);
    return std::string(u.c_str(), static_cast<size_t>(u.size()));
}

inline std::string testUtf8(uint32_t cp)
{
    lxstring u(LXEncodingUtf8);
    u += cp;
    return testUtf8(u);
}

class TestRenderer : public LXListBox {
public:
    struct Call {
        std::string op;             // "drawString", "fillRect", "frameRect", "setScrollBarInfo", ...
        std::string text;           // drawString's text (UTF-8)
        int32_t a = 0, b = 0, c = 0, d = 0;   // x, y / rectangle top, left, width, height / scroll values
        uint32_t style = 0;
        LXLColor color = 0;
        int background = 0;
    };

    // Every code point is charWidth pixels wide, 0 for code point 0; the line height is
    // lineHeight.
    explicit TestRenderer(LXDataManager *dm = nullptr, const LXLRectangle &rect = LXLRectangle(0, 0, 200, 100),
                          int32_t charWidth = 6, int32_t lineHeight = 10)
        : LXListBox(dm, rect), m_charWidth(charWidth)
    {
        setLineHeight(lineHeight);
        m_scroll[0] = m_scroll[1] = m_scroll[2] = m_scroll[3] = 0;
    }

    // Widths of particular code points (the rest keep charWidth).
    std::map<uint32_t, int32_t> widths;
    std::vector<Call> calls;

    void getScrollBarInfo(int32_t &value, int32_t &min, int32_t &max, int32_t &page) override
    {
        value = m_scroll[0];
        min = m_scroll[1];
        max = m_scroll[2];
        page = m_scroll[3];
    }
    void setStyle(uint32_t flags) override
    {
        m_currentStyle = flags;
        record("setStyle").style = flags;
    }
    uint32_t getStyle() override { return m_currentStyle; }
    void setColor(LXLColor color) override
    {
        m_currentColor = color;
        record("setColor").color = color;
    }
    LXLColor getColor() override { return m_currentColor; }
    void setScrollBarInfo(int32_t value, int32_t min, int32_t max, int32_t page) override
    {
        m_scroll[0] = value;
        m_scroll[1] = min;
        m_scroll[2] = max;
        m_scroll[3] = page;
        Call &c = record("setScrollBarInfo");
        c.a = value;
        c.b = min;
        c.c = max;
        c.d = page;
    }
    void eraseBackground() override { record("eraseBackground"); }
    void fillRect(const LXLRectangle &r, LXLColor color) override { rectCall("fillRect", r, color); }
    void frameRect(const LXLRectangle &r, LXLColor color) override { rectCall("frameRect", r, color); }
    int32_t getCharWidth(uint32_t cp) override
    {
        if (cp == 0)
            return 0;
        auto it = widths.find(cp);
        return it == widths.end() ? m_charWidth : it->second;
    }
    void drawString(const lxstring &text, int32_t x, int32_t y, int background) override
    {
        Call &c = record("drawString");
        c.text = testUtf8(text);
        c.a = x;
        c.b = y;
        c.style = m_currentStyle;
        c.color = m_currentColor;
        c.background = background;
    }

    std::vector<Call> callsOf(const std::string &op) const
    {
        std::vector<Call> out;
        for (const Call &c : calls) {
            if (c.op == op)
                out.push_back(c);
        }
        return out;
    }

    // The buffer as text: one line per distinct y, "x:" then the line's characters;
    // terminating cells show as "*" when ends is set. From the top visible line only,
    // and only lines inside the rectangle, when visibleOnly is set.
    std::vector<std::string> lines(bool ends = false, bool visibleOnly = false) const
    {
        std::vector<std::string> out;
        const LXList<LXLCharInfo> &buffer = getScreenBuffer();
        LXListConstIterator<LXLCharInfo> it = visibleOnly ? getTopVisibleChar() : buffer.begin();
        const int32_t topY = it.isAtEnd() ? 0 : it->y;
        bool started = false;
        int32_t y = 0;
        std::string line;
        for (; !it.isAtEnd(); ++it) {
            if (visibleOnly && it->y - topY + it->height > getRect().height)
                break;
            if (it->codePoint == 0 && !ends)
                continue;
            if (!started || it->y != y) {
                if (started)
                    out.push_back(line);
                line = std::to_string(it->x) + ":";
                y = it->y;
                started = true;
            }
            line += it->codePoint == 0 ? std::string("*") : testUtf8(it->codePoint);
        }
        if (started)
            out.push_back(line);
        return out;
    }

    std::string text(bool ends = false, bool visibleOnly = false) const
    {
        std::string s;
        for (const std::string &l : lines(ends, visibleOnly))
            s += l + "\n";
        return s;
    }

    // The cells in buffer order.
    std::vector<LXLCharInfo> cells() const
    {
        std::vector<LXLCharInfo> out;
        for (LXListConstIterator<LXLCharInfo> it = getScreenBuffer().begin(); !it.isAtEnd(); ++it)
            out.push_back(*it);
        return out;
    }

    // Screen coordinates of the middle of the nth cell of the first run of cells that spells
    // text, searched from the top of the buffer. False when no run spells it.
    bool locate(const std::string &text, int32_t &x, int32_t &y, int which = 0) const
    {
        std::vector<LXLCharInfo> all = cells();
        lxstring t(text.c_str(), LXEncodingUtf8);
        std::vector<uint32_t> want;
        for (lxstring_iterator it = t.begin(); !it.isAtEnd(); ++it)
            want.push_back(*it);
        const int32_t topY = getTopVisibleChar().isAtEnd() ? 0 : getTopVisibleChar()->y;
        for (size_t i = 0; i + want.size() <= all.size(); ++i) {
            bool ok = true;
            for (size_t k = 0; ok && k < want.size(); ++k)
                ok = all[i + k].codePoint == want[k];
            if (!ok)
                continue;
            const LXLCharInfo &c = all[i + static_cast<size_t>(which)];
            x = c.x + c.width / 2;
            y = c.y - topY + c.height / 2;
            return true;
        }
        return false;
    }

    // Lays a text out on an empty buffer, as one result would be.
    void layout(const std::string &utf8, uint32_t maxLines = 0)
    {
        clearScreenBuffer();
        LXListIterator<LXLCharInfo> at = const_cast<LXList<LXLCharInfo> &>(getScreenBuffer()).end();
        int32_t x = 0, y = 0;
        addFormattedStringToScreenBuffer(at, lxstring(utf8.c_str(), LXEncodingUtf8), x, y, false, maxLines);
    }

private:
    Call &record(const char *op)
    {
        calls.emplace_back();
        calls.back().op = op;
        return calls.back();
    }
    void rectCall(const char *op, const LXLRectangle &r, LXLColor color)
    {
        Call &c = record(op);
        c.a = r.top;
        c.b = r.left;
        c.c = r.width;
        c.d = r.height;
        c.color = color;
    }

    int32_t m_charWidth;
    uint32_t m_currentStyle = 0;
    LXLColor m_currentColor = 1;
    int32_t m_scroll[4];
};

#endif
