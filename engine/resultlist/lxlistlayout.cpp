// Layout of display markup into the result list's screen buffer, and the buffer's
// filling, scrolling, pruning and drawing.
#include <string>

#include "base/lxchar.h"
#include "base/lxutilities.h"
#include "resultlist/lxlistbox.h"
#include "resultlist/lxlistcells.h"
#include "resultlist/lxmarkupexpander.h"

namespace {

using lxlistcells::CellIt;
using lxlistcells::following;
using lxlistcells::previous;
using lxlistcells::sameNode;

std::u32string codePoints(const lxstring &s)
{
    std::u32string out;
    out.reserve(static_cast<size_t>(s.length()));
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it)
        out += static_cast<char32_t>(*it);
    return out;
}

bool startsWith(const lxstring &s, const char *prefix)
{
    lxstring_iterator it = s.begin();
    for (const char *p = prefix; *p; ++p, ++it) {
        if (it.isAtEnd() || *it != static_cast<uint32_t>(static_cast<unsigned char>(*p)))
            return false;
    }
    return true;
}

bool startsBlock(const lxstring &text)
{
    return startsWith(text, "\\TM") || startsWith(text, "\\TE");
}

} // namespace

void LXListBox::displayText(const LXDMIterator &position, lxstring &text) const
{
    text.clear();
    if (m_expander)
        m_expander->getDisplayText(position, text,
                                   m_searchType == StemSearch ? LXMarkupExpander::MarkWords | LXMarkupExpander::HeadwordBlock
                                                              : LXMarkupExpander::MarkWords);
}

bool LXListBox::addCharToScreenBuffer(CellIt &at, LXLCharInfo &cell, int32_t x, int32_t y, bool highlight)
{
    uint32_t c = cell.codePoint;
    if ((cell.style & LXLStyleSuperscript) && c >= '0' && c <= '9') {
        c = c == '1' ? 0xB9 : c == '2' ? 0xB2 : c == '3' ? 0xB3 : c + 0x2040;
        cell.style = (cell.style & ~static_cast<uint32_t>(LXLStyleSuperscript)) | LXLStyleUnicode;
    } else if ((cell.style & LXLStyleSubscript) && c >= '0' && c <= '9') {
        c += 0x2050;
        cell.style = (cell.style & ~static_cast<uint32_t>(LXLStyleSubscript)) | LXLStyleUnicode;
    }
    cell.codePoint = c;
    if (highlight) {
        if (cell.color == LXLColorAccent)
            cell.color = LXLColorAccentHighlight;
        else if (cell.color == LXLColorFrame)
            cell.color = LXLColorFrameHighlight;
    }
    if (getStyle() != cell.style)
        setStyle(cell.style);
    if (getColor() != cell.color)
        setColor(cell.color);
    cell.width = getCharWidth(c);
    cell.height = m_lineHeight;
    cell.x = x;
    cell.y = y;
    if (!m_buffer.insert(at, cell))
        return false;
    ++at;
    return true;
}

bool LXListBox::addFormattedStringToScreenBuffer(CellIt &at, const lxstring &text, int32_t &x, int32_t &y,
                                                 bool selectCells, uint32_t maxLines)
{
    const std::u32string u = codePoints(text);
    const size_t n = u.size();

    // Where this text's cells begin: after the cell that precedes the insertion point.
    const bool fromHead = at.isAtBeginning();
    const CellIt before = previous(at);
    auto firstOfText = [&]() { return fromHead ? m_buffer.begin() : following(before); };

    LXList<uint32_t> styles;
    LXList<LXLColor> colours;
    m_style = 0;
    m_color = LXLColorText;
    int32_t lineStart = m_indentFirst;
    int32_t hanging = m_indentContinuation;
    uint32_t kind = LXLTextSource;
    uint32_t flags = 0;
    int32_t definition = 0;
    int32_t definitions = 0;
    uint32_t lines = 0;
    int32_t blocks = 0;
    bool hasBreak = false;
    CellIt breakAt;
    int32_t breakX = 0;
    uint32_t prev = 0;
    bool prevItalic = false;
    bool havePrev = false;
    CellIt prevCell;
    bool firstChar = true;
    int32_t charIndex = 0;

    auto newLine = [&]() {
        if (!at.isAtBeginning())
            y += m_lineHeight;
        hasBreak = false;
        prev = 0;
    };

    // Cuts the text at the line limit: the last word (at least four cells, with the
    // blanks before it) gives way to three full stops.
    auto truncate = [&]() {
        const CellIt first = firstOfText();
        int32_t count = 0;
        if (hasBreak) {
            for (CellIt it = breakAt; !sameNode(it, at); ++it)
                ++count;
        }
        if (count < 4)
            count = 4;
        CellIt start = at;
        for (int32_t k = 0; k < count && !sameNode(start, first); ++k)
            --start;
        while (!sameNode(start, first)) {
            CellIt p = previous(start);
            if (!lx_isspace(p->codePoint))
                break;
            start = p;
        }
        LXLCharInfo tmpl;
        int32_t dx;
        if (!sameNode(start, first)) {
            tmpl = *previous(start);
            dx = tmpl.x + tmpl.width;
        } else {
            tmpl = *start;
            dx = tmpl.x;
        }
        m_buffer.erase(start, at);
        for (int k = 0; k < 3; ++k) {
            LXLCharInfo dot;
            dot.codePoint = '.';
            dot.style = tmpl.style;
            dot.color = tmpl.color;
            dot.flags = tmpl.flags & LXLCellBoxed;
            dot.definition = tmpl.definition;
            if (!addCharToScreenBuffer(at, dot, dx, tmpl.y, false))
                break;
            dx += previous(at)->width;
        }
        x = dx;
        y = tmpl.y;
    };

    // Lays out one ordinary code point; false when the text was cut off.
    auto put = [&](uint32_t c) -> bool {
        const uint32_t style = styles.empty() ? 0 : *--styles.end();
        const LXLColor colour = colours.empty() ? static_cast<LXLColor>(LXLColorText) : *--colours.end();
        const bool italic = (style & LXLStyleItalic) != 0;
        if (italic != prevItalic && havePrev) {
            prevCell->width += 1;
            x += 1;
        }
        prevItalic = italic;
        LXLCharInfo cell;
        cell.codePoint = c;
        cell.textKind = lx_iswordchar(c) ? kind : static_cast<uint32_t>(LXLTextPlain);
        cell.style = style;
        cell.color = colour;
        cell.flags = flags;
        cell.definition = definition;
        if (selectCells && charIndex >= m_selStart && charIndex <= m_selEnd)
            cell.flags |= LXLCellSelected;
        ++charIndex;
        if (!addCharToScreenBuffer(at, cell, x, y, false))
            return true;
        CellIt cur = previous(at);
        if (lx_isspace(prev) && !firstChar) {
            hasBreak = true;
            breakAt = cur;
            breakX = x;
        }
        firstChar = false;
        prev = c;
        if (x + cur->width > m_rect.width) {
            if (maxLines && lines + 1 >= maxLines) {
                truncate();
                return false;
            }
            ++lines;
            if (hasBreak) {
                const int32_t d = lineStart + hanging - breakX;
                for (CellIt it = breakAt; !sameNode(it, at); ++it) {
                    it->x += d;
                    it->y += m_lineHeight;
                }
                x += d + cur->width;
            } else {
                // The overflowing cell stays, overhanging, at the end of its line.
                x = lineStart + hanging;
            }
            y += m_lineHeight;
            hasBreak = false;
        } else {
            x += cur->width;
        }
        havePrev = true;
        prevCell = cur;
        return true;
    };

    auto putText = [&](const char *s) -> bool {
        for (const char *p = s; *p; ++p) {
            if (!put(static_cast<unsigned char>(*p)))
                return false;
        }
        return true;
    };

    auto push = [&](uint32_t style, LXLColor colour) {
        styles.push_back(style);
        colours.push_back(colour);
        m_style = style;
        m_color = colour;
    };
    auto pop = [&]() {
        if (!styles.empty()) {
            LXListIterator<uint32_t> s = --styles.end();
            styles.erase(s);
        }
        if (!colours.empty()) {
            LXListIterator<LXLColor> c = --colours.end();
            colours.erase(c);
        }
        m_style = styles.empty() ? 0 : *--styles.end();
        m_color = colours.empty() ? static_cast<LXLColor>(LXLColorText) : *--colours.end();
    };

    for (size_t i = 0; i < n; ++i) {
        uint32_t c = u[i];
        if (c == '\\' && i + 1 < n) {
            const uint32_t k = u[i + 1];
            const uint32_t letter = i + 2 < n ? static_cast<uint32_t>(u[i + 2]) : 0;
            if (k == 'D') {
                flags &= ~static_cast<uint32_t>(LXLCellTarget);
                ++definitions;
                lxstring number(LXEncodingUtf8);
                number.appendFormat("%d.", definitions);
                std::u32string digits = codePoints(number);
                for (char32_t d : digits) {
                    if (!put(d))
                        return false;
                }
                ++i;
                continue;
            }
            if (k == 'n') {
                y += m_lineHeight;
                x = lineStart;
                hasBreak = false;
                prev = 0;
                ++i;
                continue;
            }
            if ((k == 'F' || k == 'S' || k == 's' || k == 'T') && i + 2 >= n) {
                ++i;       // a command without its argument at the very end
                continue;
            }
            if (k == 'F') {
                definition = letter >= '0' ? static_cast<int32_t>(letter - '0') : 0;
                i += 2;
                continue;
            }
            if (k == 'S') {
                i += 2;
                if (letter == '+')
                    continue;
                uint32_t style = styles.empty() ? 0 : *--styles.end();
                LXLColor colour = colours.empty() ? static_cast<LXLColor>(LXLColorText) : *--colours.end();
                switch (letter) {
                case 'k': colour = LXLColorText; break;
                case 'b': colour = LXLColorFrame; break;
                case 'r': colour = LXLColorAccent; break;
                case 'y': colour = LXLColorLabel; break;
                case 'p': colour = LXLColorAccentHighlight; break;
                case 'g': colour = LXLColorFrameHighlight; break;
                case 'l': colour = LXLColorSelection; break;
                case 'P': style = 0; break;
                case 'B': style |= LXLStyleBold; break;
                case 'I': style |= LXLStyleItalic; break;
                case 'L': style |= LXLStyleUnderline; break;
                case '^': style |= LXLStyleSuperscript; break;
                case '_': style |= LXLStyleSubscript; break;
                case '-': style |= LXLStyleSmaller; break;
                case '<': style |= LXLStyleSmallest; break;
                case 'U': style |= LXLStyleUnicode; break;
                case 'S': kind = LXLTextSource; break;
                case 'T': kind = LXLTextTranslation; break;
                case 'W':
                case 'X': flags |= LXLCellTarget; break;
                case 'x': flags |= LXLCellBoxed; break;
                default: break;
                }
                push(style, colour);
                continue;
            }
            if (k == 's') {
                i += 2;
                if (letter == '+')
                    continue;
                switch (letter) {
                case 'x': flags &= ~static_cast<uint32_t>(LXLCellBoxed); break;
                case 'S':
                case 'T': kind = LXLTextPlain; break;
                case 'W':
                case 'X': flags &= ~static_cast<uint32_t>(LXLCellTarget); break;
                default: break;
                }
                pop();
                continue;
            }
            if (k == 'T') {
                i += 2;
                if (letter != 'M' && letter != 'B' && letter != 'E' && letter != 'P' && letter != 'C')
                    continue;
                if (++blocks > 1) {
                    ++lines;
                    if (maxLines && lines >= maxLines)
                        return true;
                }
                switch (letter) {
                case 'M':
                    newLine();
                    x = lineStart = m_indentFirst;
                    hanging = m_indentContinuation;
                    definitions = 0;
                    break;
                case 'B':
                    newLine();
                    x = lineStart = m_indentTranslation;
                    hanging = 0;
                    break;
                case 'E':
                    newLine();
                    x = lineStart = m_indentTranslation;
                    hanging = m_indentContinuation;
                    definitions = 0;
                    break;
                case 'P':
                    newLine();
                    x = lineStart = m_indentTranslation;
                    hanging = m_indentContinuation;
                    break;
                case 'C':
                    lineStart = m_indentTranslation;
                    hanging = m_indentContinuation;
                    break;
                }
                kind = LXLTextSource;
                continue;
            }
            // Any other backslash is shown as a character; what follows is read normally.
        }
        if (c == '\n' || c == '\r') {
            y += m_lineHeight;
            x = lineStart;
            hasBreak = false;
            prev = 0;
            continue;
        }
        if (c == 0x222B) {
            if (!putText("[sh]"))
                return false;
            continue;
        }
        if (!put(c))
            return false;
    }
    return true;
}

bool LXListBox::isSelectedTerm(const LXDMIterator &term) const
{
    return m_hasSelectedTerm && term.getPosition() == m_selectedPosition && term.getTermOffset() == m_selectedOffset;
}

void LXListBox::addTermToScreenBuffer(const LXDMIterator &term, const lxstring &text, CellIt &at, int32_t &x,
                                      int32_t &y)
{
    const bool fromHead = at.isAtBeginning();
    const CellIt before = previous(at);
    addFormattedStringToScreenBuffer(at, text, x, y, isSelectedTerm(term),
                                     m_searchType == StemSearch ? m_maxLinesPerTerm : 0);
    LXLCharInfo end;
    end.codePoint = 0;
    end.style = m_style;
    end.color = m_color;
    addCharToScreenBuffer(at, end, x, y, false);
    CellIt first = fromHead ? m_buffer.begin() : following(before);
    if (!first.isAtEnd() && !sameNode(first, at))
        first->flags |= LXLCellFirst;
}

void LXListBox::appendStringToScreenBuffer(const lxstring &text, int32_t &x, int32_t &y)
{
    CellIt at = m_buffer.end();
    addFormattedStringToScreenBuffer(at, text, x, y, false, 0);
    LXLCharInfo end;
    end.codePoint = 0;
    end.style = m_style;
    end.color = m_color;
    addCharToScreenBuffer(at, end, x, y, false);
}

void LXListBox::setString(const lxstring &text)
{
    clearScreenBuffer();
    int32_t x = 0, y = 0;
    appendStringToScreenBuffer(text, x, y);
    m_topVisible = m_buffer.begin();
    setLastVisibleChar();
}

void LXListBox::clearScreenBuffer()
{
    m_buffer.clear();
    m_topVisible = m_buffer.end();
    m_lastVisible = m_buffer.end();
    m_pressed = m_buffer.end();
}

void LXListBox::layoutOne(const LXDMIterator &position, const lxstring &text, int32_t &x, int32_t &y)
{
    CellIt at = m_buffer.end();
    addTermToScreenBuffer(position, text, at, x, y);
}

void LXListBox::ensureDisplayText(LXListIterator<LXDMIterator> &position, LXListIterator<lxstring> &text)
{
    if (text.isAtEnd()) {
        lxstring t;
        displayText(*position, t);
        m_texts.push_back(t);
        text = --m_texts.end();
    }
}

void LXListBox::fillScreenBuffer()
{
    clearScreenBuffer();
    int32_t x = 0, y = 0;
    if (m_searchType == Browse) {
        LXListIterator<LXDMIterator> p = m_positions.begin();
        LXListIterator<lxstring> t = m_texts.begin();
        bool laidOut = false;
        // At least one result is laid out, so that a list without height keeps its results.
        while (!p.isAtEnd() && (y < m_rect.height || !laidOut)) {
            ensureDisplayText(p, t);
            layoutOne(*p, *t, x, y);
            laidOut = true;
            ++p;
            ++t;
        }
        // Without a line height (no font yet) nothing would ever fill the screen: the
        // results at hand are all that is laid out.
        if (p.isAtEnd()) {
            if (!m_positions.empty() && y < m_rect.height && m_lineHeight > 0) {
                LXDMIterator next = *--m_positions.end();
                // Texts beyond the positions are dropped so the lists stay parallel.
                if (!t.isAtEnd())
                    m_texts.erase(t, m_texts.end());
                while (y < m_rect.height && appendResultAfter(next, x, y)) {
                }
            }
        } else {
            m_positions.erase(p, m_positions.end());
            m_texts.erase(t, m_texts.end());
        }
    } else {
        LXListIterator<LXDMIterator> p = m_positions.begin();
        LXListIterator<lxstring> t = m_texts.begin();
        for (; !p.isAtEnd(); ++p, ++t) {
            ensureDisplayText(p, t);
            layoutOne(*p, *t, x, y);
        }
        if (m_searchType == RegexSearch) {
            lxstring status("\\TE\\Sl", LXEncodingUtf8);
            if (m_regexIterator.isAtEnd()) {
                status += m_captions[CaptionRegexFinished];
            } else if (m_nRegexMatches >= kMaxRegexMatches) {
                lxstring c = m_captions[CaptionRegexLimit];
                LXUtilities::replaceAll(c, "<NRESULTS>", std::to_string(kMaxRegexMatches).c_str());
                status += c;
            } else if (m_regexCancelled) {
                status += m_captions[CaptionRegexCancelled];
            } else {
                status += m_captions[CaptionRegexRunning];
            }
            status += "\\sl";
            appendStringToScreenBuffer(status, x, y);
        }
    }
    if (bufferEmpty()) {
        lxstring empty("\\TM", LXEncodingUtf8);
        empty += m_captions[CaptionEmpty];
        appendStringToScreenBuffer(empty, x, y);
    }
    m_topVisible = m_buffer.begin();
    setLastVisibleChar();
}

void LXListBox::setLastVisibleChar()
{
    if (m_topVisible.isAtEnd()) {
        m_lastVisible = m_buffer.end();
        return;
    }
    const int32_t limit = m_topVisible->y + m_rect.height;
    // Cells lie in reading order, one line high: when the last visible cell found before
    // still fits below the top, every cell from the top to it does, and the walk can
    // start there.
    CellIt from = m_topVisible;
    if (!m_lastVisible.isAtEnd() && m_lastVisible.getList() == &m_buffer && m_lastVisible->y >= m_topVisible->y &&
        m_lastVisible->y + m_lastVisible->height <= limit)
        from = m_lastVisible;
    for (CellIt it = from; !it.isAtEnd(); ++it) {
        if (it->y + it->height > limit) {
            m_lastVisible = sameNode(it, m_topVisible) ? it : previous(it);
            return;
        }
    }
    m_lastVisible = m_buffer.end();
}

bool LXListBox::scrollScreenBuffer(int32_t pixels)
{
    if (m_positions.empty() || m_topVisible.isAtEnd() || bufferEmpty())
        return false;
    int32_t target = m_topVisible->y + pixels;
    const int32_t lastY = (--m_buffer.end())->y;
    if (target > lastY)
        target = lastY;
    if (target == m_topVisible->y)
        return false;
    const bool moved = target < m_topVisible->y ? scrollUp(target) : scrollDown(target);
    setLastVisibleChar();
    return moved;
}

bool LXListBox::scrollUp(int32_t target)
{
    const CellIt start = m_topVisible;
    for (;;) {
        // Back line by line while the top lies below the target.
        while (m_topVisible->y > target && !m_topVisible.isAtBeginning()) {
            CellIt p = previous(m_topVisible);
            const int32_t ly = p->y;
            while (!p.isAtBeginning() && previous(p)->y == ly)
                --p;
            m_topVisible = p;
        }
        if (m_topVisible->y <= target || m_searchType != Browse)
            break;
        const int32_t before = m_topVisible->y;
        fetchPreceding();
        const int32_t shift = m_topVisible->y - before;
        if (shift <= 0)
            break;
        target += shift;
    }
    if (m_searchType == Browse) {
        setLastVisibleChar();
        pruneScreenBuffer(true);
    }
    return !sameNode(start, m_topVisible);
}

void LXListBox::fetchPreceding()
{
    if (m_positions.empty())
        return;
    LXDMIterator it = *m_positions.begin();
    LXList<LXDMIterator> positions;
    LXList<lxstring> texts;
    while (!it.isAtBeginning()) {
        const uint32_t p = it.getPosition(), o = it.getTermOffset();
        --it;
        if (it.getPosition() == p && it.getTermOffset() == o)
            break;
        lxstring text;
        displayText(it, text);
        positions.push_front(it);
        texts.push_front(text);
        if (startsBlock(text))
            break;
    }
    if (positions.empty())
        return;
    CellIt at = m_buffer.begin();
    int32_t x = 0, y = 0;
    LXListIterator<LXDMIterator> p = positions.begin();
    LXListIterator<lxstring> t = texts.begin();
    for (; !p.isAtEnd(); ++p, ++t)
        addTermToScreenBuffer(*p, *t, at, x, y);
    // The older cells continue below the last new line, as if laid out in one go.
    const int32_t shift = previous(at)->y + m_lineHeight;
    for (CellIt it = at; !it.isAtEnd(); ++it)
        it->y += shift;
    for (p = --positions.end(), t = --texts.end();; --p, --t) {
        m_positions.push_front(*p);
        m_texts.push_front(*t);
        if (p.isAtBeginning())
            break;
    }
}

bool LXListBox::scrollDown(int32_t target)
{
    const CellIt start = m_topVisible;
    while (!m_topVisible.isAtEnd() && m_topVisible->y < target)
        ++m_topVisible;
    if (m_topVisible.isAtEnd())
        m_topVisible = --m_buffer.end();
    if (m_searchType == Browse) {
        appendFollowing();
        pruneScreenBuffer(false);
    }
    return !sameNode(start, m_topVisible);
}

void LXListBox::appendFollowing()
{
    if (m_positions.empty() || bufferEmpty() || m_lineHeight <= 0)
        return;
    for (;;) {
        const LXLCharInfo &last = *--m_buffer.end();
        if (last.y + last.height > m_topVisible->y + m_rect.height)
            break;
        LXDMIterator next = *--m_positions.end();
        int32_t x = last.x, y = last.y;
        if (!appendResultAfter(next, x, y))
            break;
    }
}

// Steps next on to the following result and, when there is one, stores it with its
// display text and lays it out at x, y. False at the end of the results.
bool LXListBox::appendResultAfter(LXDMIterator &next, int32_t &x, int32_t &y)
{
    if (next.isAtEnd())
        return false;
    ++next;
    if (next.isAtEnd())
        return false;
    lxstring text;
    displayText(next, text);
    m_positions.push_back(next);
    m_texts.push_back(text);
    layoutOne(next, text, x, y);
    return true;
}

void LXListBox::pruneScreenBuffer(bool below)
{
    if (bufferEmpty())
        return;
    auto dropPressed = [&](CellIt from, CellIt to) {
        for (CellIt it = from; !it.isAtEnd() && !sameNode(it, to); ++it) {
            if (sameNode(it, m_pressed))
                m_pressed = m_buffer.end();
            if (sameNode(it, m_lastVisible))
                m_lastVisible = m_buffer.end();
        }
    };
    if (below) {
        if (!m_lastVisible.isAtEnd()) {
            CellIt it = following(m_lastVisible);
            while (!it.isAtEnd() && !(it->flags & LXLCellFirst))
                ++it;
            if (!it.isAtEnd()) {
                uint32_t results = 0;
                for (CellIt c = m_buffer.begin(); !sameNode(c, it); ++c) {
                    if (c->flags & LXLCellFirst)
                        ++results;
                }
                dropPressed(it, m_buffer.end());
                m_buffer.erase(it, m_buffer.end());
                LXListIterator<LXDMIterator> p = m_positions.begin();
                LXListIterator<lxstring> t = m_texts.begin();
                for (uint32_t k = 0; k < results && !p.isAtEnd(); ++k, ++p)
                    ++t;
                if (!p.isAtEnd())
                    m_positions.erase(p, m_positions.end());
                if (!t.isAtEnd())
                    m_texts.erase(t, m_texts.end());
            }
        }
    } else if (!m_topVisible.isAtEnd()) {
        // The nearest result at or before the top that starts a headword block or a message.
        uint32_t index = 0, boundaryIndex = 0;
        CellIt boundary = m_buffer.begin();
        LXListIterator<lxstring> t = m_texts.begin();
        for (CellIt c = m_buffer.begin();; ++c) {
            if (c->flags & LXLCellFirst) {
                if (!t.isAtEnd() && startsBlock(*t)) {
                    boundary = c;
                    boundaryIndex = index;
                }
                ++index;
                if (!t.isAtEnd())
                    ++t;
            }
            if (sameNode(c, m_topVisible))
                break;
        }
        if (boundaryIndex > 0) {
            dropPressed(m_buffer.begin(), boundary);
            m_buffer.erase(m_buffer.begin(), boundary);
            LXListIterator<LXDMIterator> p = m_positions.begin();
            LXListIterator<lxstring> tt = m_texts.begin();
            for (uint32_t k = 0; k < boundaryIndex; ++k) {
                if (!p.isAtEnd())
                    m_positions.erase(p);
                if (!tt.isAtEnd())
                    m_texts.erase(tt);
                p = m_positions.begin();
                tt = m_texts.begin();
            }
        }
    }
    const int32_t dy = m_buffer.begin()->y;
    if (dy != 0) {
        for (CellIt c = m_buffer.begin(); !c.isAtEnd(); ++c)
            c->y -= dy;
    }
}

void LXListBox::drawTerm(CellIt &at, int background)
{
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    while (!at.isAtEnd()) {
        if (at->codePoint == 0) {
            ++at;
            return;
        }
        CellIt first = at;
        lxstring run(LXEncodingUtf8);
        run += first->codePoint;
        ++at;
        while (!at.isAtEnd() && at->codePoint != 0 && at->y == first->y && at->style == first->style &&
               at->color == first->color) {
            run += at->codePoint;
            ++at;
        }
        const int32_t sy = first->y - topY;
        if (sy >= 0 && sy < m_rect.height) {
            if (getStyle() != first->style)
                setStyle(first->style);
            if (getColor() != first->color)
                setColor(first->color);
            drawString(run, m_rect.left + first->x, m_rect.top + sy, background);
        }
    }
}

void LXListBox::drawBoxes()
{
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    CellIt it = m_buffer.begin();
    while (!it.isAtEnd()) {
        if (!(it->flags & LXLCellBoxed)) {
            ++it;
            continue;
        }
        const LXLCharInfo &first = *it;
        CellIt last = it;
        while (!it.isAtEnd() && (it->flags & LXLCellBoxed)) {
            last = it;
            ++it;
        }
        const int32_t bottom = last->y + last->height;
        if (bottom - topY < 0 || first.y - topY >= m_rect.height)
            continue;
        LXLRectangle r(m_rect.top + first.y - 1 - topY, m_rect.left + first.x - 2, m_rect.width - first.x,
                       bottom - first.y + 2);
        frameRect(r, LXLColorFrame);
    }
}

CellIt LXListBox::selectedCell()
{
    for (CellIt it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (it->flags & LXLCellSelected)
            return it;
    }
    return m_buffer.end();
}

CellIt LXListBox::resultStartOf(CellIt cell)
{
    if (cell.isAtEnd())
        return cell;
    while (!cell.isAtBeginning()) {
        CellIt p = previous(cell);
        if (p->codePoint == 0)
            break;
        cell = p;
    }
    return cell;
}

CellIt LXListBox::resultEndOf(CellIt cell)
{
    while (!cell.isAtEnd() && cell->codePoint != 0)
        ++cell;
    return cell;
}

int32_t LXListBox::highlightSelectedTerm(LXLColor color)
{
    if (m_searchType != StemSearch)
        return -1;
    CellIt sel = selectedCell();
    if (sel.isAtEnd())
        return -1;
    CellIt end = resultEndOf(sel);
    const int32_t bottom = end.isAtEnd() ? sel->y + m_lineHeight : end->y + end->height;
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    fillRect(LXLRectangle(m_rect.top + sel->y - topY, m_rect.left, m_rect.width + 1, bottom - sel->y), color);
    return sel->y;
}

void LXListBox::redrawSelection(int background)
{
    if (m_searchType == StemSearch) {
        CellIt sel = selectedCell();
        if (sel.isAtEnd())
            return;
        highlightSelectedTerm(static_cast<LXLColor>(background));
        CellIt at = resultStartOf(sel);
        drawTerm(at, background);
        return;
    }
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    CellIt it = m_topVisible;
    while (!it.isAtEnd()) {
        if (!(it->flags & LXLCellSelected) || it->codePoint == 0) {
            ++it;
            continue;
        }
        CellIt first = it;
        lxstring run(LXEncodingUtf8);
        int32_t width = 0;
        while (!it.isAtEnd() && (it->flags & LXLCellSelected) && it->codePoint != 0 && it->y == first->y &&
               it->style == first->style && it->color == first->color) {
            run += it->codePoint;
            width += it->width;
            ++it;
        }
        const int32_t sy = first->y - topY;
        if (sy >= m_rect.height)
            break;
        if (sy < 0)
            continue;
        const bool endsAtUnselected = !it.isAtEnd() && !(it->flags & LXLCellSelected);
        fillRect(LXLRectangle(m_rect.top + sy, m_rect.left + first->x, width + (endsAtUnselected ? 2 : 1),
                              m_lineHeight),
                 static_cast<LXLColor>(background));
        if (getStyle() != first->style)
            setStyle(first->style);
        if (getColor() != first->color)
            setColor(first->color);
        drawString(run, m_rect.left + first->x, m_rect.top + sy, background);
    }
}

void LXListBox::redrawCell(const LXLCharInfo &cell, bool selected)
{
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    const int32_t sy = cell.y - topY;
    if (sy < 0 || sy >= m_rect.height || cell.codePoint == 0)
        return;
    const int background = selected ? LXLColorSelection : LXLColorBackground;
    fillRect(LXLRectangle(m_rect.top + sy, m_rect.left + cell.x, cell.width + 1, cell.height),
             static_cast<LXLColor>(background));
    if (getStyle() != cell.style)
        setStyle(cell.style);
    if (getColor() != cell.color)
        setColor(cell.color);
    lxstring s(LXEncodingUtf8);
    s += cell.codePoint;
    drawString(s, m_rect.left + cell.x, m_rect.top + sy, background);
}
