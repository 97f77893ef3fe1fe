// Module texts are untrusted: any headword, part of speech, feature and definition text
// goes through the markup expander and the result-list layout, which must stay within
// bounds whatever the markup (unbalanced pushes and pops, codes at the end of a text,
// code characters beyond the table, line limits, a narrow list).
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/lxterm.h"
#include "resultlist/lxlistbox.h"
#include "resultlist/lxmarkupexpander.h"

namespace {

class FuzzRenderer : public LXListBox {
public:
    FuzzRenderer(int32_t width) : LXListBox(nullptr, LXLRectangle(0, 0, width, 60)) { setLineHeight(10); }
    void getScrollBarInfo(int32_t &v, int32_t &mn, int32_t &mx, int32_t &p) override { v = mn = mx = p = 0; }
    void setStyle(uint32_t f) override { m_style = f; }
    uint32_t getStyle() override { return m_style; }
    void setColor(LXLColor c) override { m_color = c; }
    LXLColor getColor() override { return m_color; }
    void setScrollBarInfo(int32_t, int32_t, int32_t, int32_t) override {}
    void eraseBackground() override {}
    void fillRect(const LXLRectangle &, LXLColor) override {}
    void frameRect(const LXLRectangle &, LXLColor) override {}
    int32_t getCharWidth(uint32_t cp) override { return cp ? static_cast<int32_t>(cp % 9) : 0; }
    void drawString(const lxstring &, int32_t, int32_t, int) override {}

private:
    uint32_t m_style = 0;
    LXLColor m_color = 1;
};

// Splits the input at 0xFF bytes into the parts of a term.
std::string part(const uint8_t *&p, const uint8_t *end)
{
    std::string s;
    while (p < end && *p != 0xFF)
        s += static_cast<char>(*p++);
    if (p < end)
        ++p;
    return s;
}

lxstring text(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const uint8_t *p = data + 4, *end = data + size;
    const uint32_t flags = data[0] & 3;
    const bool first = data[1] & 1, last = data[1] & 2;
    const uint32_t maxLines = data[2] % 4;
    const int32_t width = 1 + data[3];

    LXTerm t;
    t.setLanguage(static_cast<LXLanguage>(1 + data[1] % 3));
    t.setTranslationLanguage((data[1] & 4) ? LXSynonyms : LXEnglish);
    t.setHeadword(text(part(p, end)));
    t.setPartOfSpeechName(text(part(p, end)));
    while (p < end) {
        uint32_t code = *p++;
        if (p >= end)
            break;
        const bool definition = *p++ & 1;
        std::string s = part(p, end);
        if (definition) {
            LXDefinition d;
            d.setText(text(s));
            d.setPartOfSpeechName(text(part(p, end)));
            d.setOriginNumber(code & 1 ? 100 : 1);
            d.addFeature(code, text(part(p, end)));
            t.addDefinition(d);
        } else {
            t.addFeature(code, text(s));
        }
    }

    const LXMarkupExpander *e = LXMarkupExpander::shared();
    if (!e)
        return 0;
    lxstring display;
    e->expandTerm(t, first, last, flags, display);

    FuzzRenderer r(width);
    LXListIterator<LXLCharInfo> at = const_cast<LXList<LXLCharInfo> &>(r.getScreenBuffer()).end();
    int32_t x = 0, y = 0;
    r.addFormattedStringToScreenBuffer(at, display, x, y, false, maxLines);
    // The raw text as markup too, straight from the module.
    at = const_cast<LXList<LXLCharInfo> &>(r.getScreenBuffer()).end();
    r.addFormattedStringToScreenBuffer(at, text(std::string(reinterpret_cast<const char *>(data), size)), x, y,
                                       false, maxLines);
    r.drawBoxes();
    LXListIterator<LXLCharInfo> from = const_cast<LXList<LXLCharInfo> &>(r.getScreenBuffer()).begin();
    while (!from.isAtEnd())
        r.drawTerm(from, 0);
    return 0;
}
