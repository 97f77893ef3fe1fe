// The result-list model: settings, searches, scroll bar, drawing, pointer and keyboard
// input and the selection. The layout itself is in lxlistlayout.cpp.
#include "resultlist/lxlistbox.h"

#include "base/lxchar.h"
#include "base/lxutilities.h"
#include "model/lxstem.h"
#include "resultlist/lxlistcells.h"
#include "resultlist/lxmarkupexpander.h"
#include "search/lxdatamanager.h"
#include <string>

namespace {

using lxlistcells::CellIt;
using lxlistcells::following;
using lxlistcells::previous;
using lxlistcells::sameNode;

// The first cell of the target run (a marked word) that holds cell, on cell's line: the
// cell Up and Down click.
CellIt targetRunStart(CellIt cell)
{
    while (!cell.isAtBeginning() && (previous(cell)->flags & LXLCellTarget) && previous(cell)->y == cell->y)
        --cell;
    return cell;
}

// The caption with "<SEARCHSTRING>" (or another placeholder) standing for a marked word.
lxstring withWord(const lxstring &caption, const char *placeholder, const lxstring &word)
{
    lxstring c(caption);
    c.setEncoding(LXEncodingUtf8);
    lxstring w("\\SW", LXEncodingUtf8);
    lxstring u(word);
    u.setEncoding(LXEncodingUtf8);
    w += u;
    w += "\\sW";
    LXUtilities::replaceAll(c, placeholder, w.c_str());
    return c;
}

// The word of a text made as marker + withWord(caption, "<SEARCHSTRING>", word); false when
// the text was not made from that caption.
bool wordOfCaptionText(const lxstring &text, const char *marker, const lxstring &caption, lxstring &word)
{
    const std::string c(caption.c_str(), static_cast<size_t>(caption.size()));
    const size_t at = c.find("<SEARCHSTRING>");
    if (at == std::string::npos)
        return false;
    const std::string head = std::string(marker) + c.substr(0, at) + "\\SW";
    const std::string tail = "\\sW" + c.substr(at + sizeof "<SEARCHSTRING>" - 1);
    lxstring u(text);
    u.setEncoding(LXEncodingUtf8);
    const std::string t(u.c_str(), static_cast<size_t>(u.size()));
    if (t.size() < head.size() + tail.size() || t.compare(0, head.size(), head) != 0 ||
        t.compare(t.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    word = lxstring(t.substr(head.size(), t.size() - head.size() - tail.size()).c_str(), LXEncodingUtf8);
    return true;
}

bool sameIgnoringCaseAndAccents(const lxstring &a, const lxstring &b)
{
    return a.compare(b, true, true, LXLanguageNone) == 0;
}

// Whether a term filed under the key of the term at position has the word as its headword.
// Within one key, terms are ordered by part of speech before headword, so the word itself
// may come after others filed under it: the prefix "water" + U+2010 and "water" + U+2010 +
// "colour" come before the verb "water", "abaisser" before "s'abaisser".
bool keyHoldsHeadword(LXDMIterator position, const lxstring &word)
{
    const lxstring key = (*position).getSearchKey();
    for (; !position.isAtEnd() && sameIgnoringCaseAndAccents((*position).getSearchKey(), key); ++position) {
        if (sameIgnoringCaseAndAccents((*position).getHeadword(), word))
            return true;
    }
    return false;
}

int32_t indexOf(const LXList<LXLCharInfo> &list, const LXListConstIterator<LXLCharInfo> &it)
{
    if (it.isAtEnd())
        return -1;
    int32_t i = 0;
    for (LXListConstIterator<LXLCharInfo> c = list.begin(); !c.isAtEnd(); ++c, ++i) {
        if (c.getNode() == it.getNode())
            return i;
    }
    return -1;
}

CellIt cellAt(LXList<LXLCharInfo> &list, int32_t index)
{
    CellIt it = list.begin();
    if (index < 0)
        return list.end();
    for (int32_t i = 0; i < index && !it.isAtEnd(); ++i)
        ++it;
    return it;
}

} // namespace

struct LXListBox::Hit {
    CellIt cell;
    CellIt resultStart;
    int32_t counter = 0;
    int32_t kind = HitOnCell;
    int32_t result = -1;
    int32_t definition = 0;
};

LXListBox::LXListBox()
{
    m_expander = LXMarkupExpander::shared();
    clear();
}

LXListBox::LXListBox(LXDataManager *dataManager, const LXLRectangle &rect)
{
    m_expander = LXMarkupExpander::shared();
    clear();
    m_dataManager = dataManager;
    m_rect = rect;
}

LXListBox::LXListBox(const LXListBox &other)
{
    m_expander = LXMarkupExpander::shared();
    clear();
    copyFrom(other);
}

LXListBox &LXListBox::operator=(const LXListBox &other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

LXListBox::~LXListBox() {}

void LXListBox::copyFrom(const LXListBox &o)
{
    m_rect = o.m_rect;
    m_lineHeight = o.m_lineHeight;
    m_style = o.m_style;
    m_color = o.m_color;
    for (int i = 0; i < kCaptionCount; ++i)
        m_captions[i] = o.m_captions[i];
    m_searchType = o.m_searchType;
    m_dataManager = o.m_dataManager;
    m_searchLanguage = o.m_searchLanguage;
    m_translationLanguage = o.m_translationLanguage;
    m_product = o.m_product;
    m_maxLinesPerTerm = o.m_maxLinesPerTerm;
    m_verbStemStrategy = o.m_verbStemStrategy;
    m_approximate = o.m_approximate;
    m_approxPrefix = o.m_approxPrefix;
    m_searchString = o.m_searchString;
    m_texts = o.m_texts;
    m_positions = o.m_positions;
    m_nRegexMatches = o.m_nRegexMatches;
    m_regexOptions = o.m_regexOptions;
    m_regexIterator = o.m_regexIterator;
    m_regexCancelled = o.m_regexCancelled;
    m_buffer = o.m_buffer;
    // The iterators refer to the corresponding cells of this buffer.
    m_topVisible = cellAt(m_buffer, indexOf(o.m_buffer, o.m_topVisible));
    m_lastVisible = cellAt(m_buffer, indexOf(o.m_buffer, o.m_lastVisible));
    m_pressed = cellAt(m_buffer, indexOf(o.m_buffer, o.m_pressed));
    m_scrollValue = o.m_scrollValue;
    m_scrollMin = o.m_scrollMin;
    m_scrollMax = o.m_scrollMax;
    m_scrollPage = o.m_scrollPage;
    m_selectedTerm = o.m_selectedTerm;
    m_hasSelectedTerm = o.m_hasSelectedTerm;
    m_selectedPosition = o.m_selectedPosition;
    m_selectedOffset = o.m_selectedOffset;
    m_selectedDefinition = o.m_selectedDefinition;
    m_selStart = o.m_selStart;
    m_selEnd = o.m_selEnd;
    m_pressedKind = o.m_pressedKind;
    m_penDown = o.m_penDown;
    m_indentFirst = o.m_indentFirst;
    m_indentContinuation = o.m_indentContinuation;
    m_indentTranslation = o.m_indentTranslation;
}

void LXListBox::clear()
{
    m_rect = LXLRectangle();
    m_lineHeight = 0;
    m_style = 0;
    m_color = LXLColorText;
    for (int i = 0; i < kCaptionCount; ++i)
        m_captions[i] = lxstring(LXEncodingUtf8);
    m_searchType = StemSearch;
    m_dataManager = nullptr;
    m_searchLanguage = LXLanguageNone;
    m_translationLanguage = LXLanguageNone;
    m_product = LXDataManager::DefaultProduct;
    m_maxLinesPerTerm = 1;
    m_verbStemStrategy = LXStemOnePerVerb;
    m_approximate = true;
    m_approxPrefix = kDefaultApproxPrefix;
    m_searchString = lxstring(LXEncodingUtf8);
    m_texts.clear();
    m_positions.clear();
    m_nRegexMatches = 0;
    m_regexOptions = LXDMRegexOptions();
    m_regexIterator.clear();
    m_regexCancelled = false;
    clearScreenBuffer();
    m_scrollValue = m_scrollMin = m_scrollMax = m_scrollPage = 0;
    m_selectedTerm.clear();
    m_hasSelectedTerm = false;
    m_selectedPosition = 0;
    m_selectedOffset = 0;
    m_selectedDefinition = -1;
    m_selStart = 0;
    m_selEnd = -1;
    m_pressedKind = HitOnCell;
    m_penDown = false;
    m_indentFirst = kDefaultIndentFirst;
    m_indentContinuation = kDefaultIndentContinuation;
    m_indentTranslation = kDefaultIndentTranslation;
}

// ---- Settings ----

void LXListBox::setRect(const LXLRectangle &rect)
{
    if (rect == m_rect)
        return;
    m_rect = rect;
    clearSelection();
    fillScreenBuffer();
}

void LXListBox::setLineHeight(int32_t h)
{
    if (h == m_lineHeight)
        return;
    m_lineHeight = h;
    // Cells laid out before keep their old height until the buffer is refilled.
    m_lastVisible = m_buffer.end();
    setLastVisibleChar();
}

void LXListBox::setIndents(int32_t first, int32_t continuation, int32_t translation)
{
    m_indentFirst = first;
    m_indentContinuation = continuation;
    m_indentTranslation = translation;
}

LXLanguage LXListBox::getOtherLanguage(LXLanguage language) const
{
    return language == m_searchLanguage ? m_translationLanguage : m_searchLanguage;
}

void LXListBox::setCaption(int32_t index, const lxstring &text)
{
    if (index < 0 || index >= kCaptionCount)
        return;
    const lxstring old = m_captions[index];
    m_captions[index] = text;
    m_captions[index].setEncoding(LXEncodingUtf8);
    // The not-found line and the suggestions are texts of the results, made from their
    // captions when the search ran: a new caption (another interface language) remakes them,
    // so that the list does not keep the old language's words beside the new.
    const char *marker = index == CaptionNotFound ? "\\TM" : index == CaptionSuggestion ? "\\TE" : nullptr;
    if (!marker || old == m_captions[index] || m_searchType != StemSearch)
        return;
    bool remade = false;
    for (LXListIterator<lxstring> t = m_texts.begin(); !t.isAtEnd(); ++t) {
        lxstring word;
        if (!wordOfCaptionText(*t, marker, old, word))
            continue;
        *t = lxstring(marker, LXEncodingUtf8) + withWord(m_captions[index], "<SEARCHSTRING>", word);
        remade = true;
    }
    if (remade)
        fillScreenBuffer();
}

const lxstring &LXListBox::getCaption(int32_t index) const
{
    static const lxstring none;
    return index >= 0 && index < kCaptionCount ? m_captions[index] : none;
}

void LXListBox::getRegexSearchPosition(uint32_t &min, uint32_t &max, uint32_t &position) const
{
    min = m_regexIterator.getMinPosition();
    max = m_regexIterator.getMaxPosition();
    position = m_regexIterator.getPosition();
}

void LXListBox::setLanguages(LXLanguage search, LXLanguage translation, uint32_t product, bool redraw)
{
    if (!m_dataManager)
        return;
    if (search == LXSynonyms) {
        search = translation;
        translation = LXSynonyms;
    }
    if (search == m_searchLanguage && translation == m_translationLanguage && product == m_product)
        return;
    m_searchLanguage = search;
    m_translationLanguage = translation;
    m_product = product;
    clearScreenBuffer();
    m_positions.clear();
    m_texts.clear();
    clearSelection();
    if (redraw) {
        resetScrollBar();
        draw(true);
    }
}

uint32_t LXListBox::getResultCount() const
{
    uint32_t n = 0;
    for (LXListConstIterator<LXDMIterator> p = m_positions.begin(); !p.isAtEnd(); ++p)
        ++n;
    return n;
}

// ---- Searching ----

void LXListBox::browseFind(const lxstring &text, LXDMIterator &position)
{
    LXLanguage lang = m_searchLanguage;
    m_dataManager->find(text, lang, getOtherLanguage(lang), m_product, position);
    if (position.isAtEnd())
        --position;
}

void LXListBox::find(const lxstring &text, LXLanguage language)
{
    if (!m_dataManager)
        return;
    m_positions.clear();
    m_texts.clear();
    m_searchString = text;
    m_searchString.setEncoding(LXEncodingUtf8);
    const LXLanguage other = getOtherLanguage(language);

    if (m_searchType == Browse) {
        LXDMIterator it;
        m_dataManager->find(m_searchString, language, other, m_product, it);
        if (it.isAtEnd())
            --it;
        if (!it.isAtEnd()) {
            m_positions.push_back(it);
            lxstring t;
            displayText(it, t);
            m_texts.push_back(t);
        }
    } else if (m_searchType == RegexSearch) {
        m_regexIterator.clear();
        m_nRegexMatches = 0;
        m_regexCancelled = false;
        // A pattern that does not compile matches nothing: the search ends at once
        // instead of stepping through the whole dictionary.
        if (!m_searchString.empty() &&
            !m_dataManager->initRegex(m_searchString, language, other, m_product, m_regexOptions, m_regexIterator))
            m_regexIterator.clear();
    } else if (!m_searchString.empty()) {
        LXStemResults stems;
        m_dataManager->getStems(stems, m_searchString, language, other, m_product, m_verbStemStrategy);
        if (!stems.empty()) {
            showStems(stems);
        } else if (!showNotFound(language, other)) {
            // The word is a headword after all (the stems found no module): browse there.
            m_searchType = Browse;
            find(text, language);
            return;
        }
    }
    clearScreenBuffer();
    clearSelection();
    fillScreenBuffer();
}

void LXListBox::showStems(const LXStemResults &stems)
{
    uint32_t headwords = 0;
    const LXTerm *previous = nullptr;
    for (LXStemResults::const_iterator r = stems.begin(); !r.isAtEnd(); ++r) {
        const LXDMIterator &position = (*r).second;
        if (!previous || (*position).getHeadword() != previous->getHeadword())
            ++headwords;
        previous = &*position;
        m_positions.push_back(position);
        lxstring t;
        displayText(position, t);
        m_texts.push_back(t);
    }
    if (headwords != 1)
        return;
    // One headword: browse its entries from the first.
    m_searchType = Browse;
    LXDMIterator first = (*stems.begin()).second;
    while (!first.isAtBeginning() && !first.isAtFirstTermOfHeadword())
        --first;
    m_positions.clear();
    m_texts.clear();
    m_positions.push_back(first);
    lxstring t;
    displayText(first, t);
    m_texts.push_back(t);
}

bool LXListBox::showNotFound(LXLanguage language, LXLanguage other)
{
    LXDMIterator it;
    m_dataManager->find(m_searchString, language, other, m_product, it);
    if (it.isAtEnd())
        --it;
    if (it.isAtEnd())
        return true;
    if (keyHoldsHeadword(it, m_searchString))
        return false;
    m_positions.push_back(it);
    m_texts.push_back(lxstring("\\TM", LXEncodingUtf8) + withWord(m_captions[CaptionNotFound], "<SEARCHSTRING>", m_searchString));
    if (!m_approximate)
        return true;
    LXList<lxstring> matches;
    m_dataManager->getApproximateMatches(m_searchString, language, other, m_product, m_approxPrefix, matches);
    for (LXListIterator<lxstring> m = matches.begin(); !m.isAtEnd(); ++m) {
        LXDMIterator p;
        m_dataManager->find(*m, language, other, m_product, p);
        if (p.isAtEnd())
            --p;
        m_positions.push_back(p);
        m_texts.push_back(lxstring("\\TE", LXEncodingUtf8) + withWord(m_captions[CaptionSuggestion], "<SEARCHSTRING>", *m));
    }
    return true;
}

bool LXListBox::continueRegexSearch()
{
    if (m_searchType != RegexSearch || m_regexIterator.isAtEnd() || m_nRegexMatches >= kMaxRegexMatches)
        return false;
    if (m_regexIterator.isRegexMatch()) {
        lxstring t;
        displayText(m_regexIterator, t);
        m_positions.push_back(m_regexIterator);
        m_texts.push_back(t);
        ++m_nRegexMatches;
        fillScreenBuffer();
        resetScrollBar();
        draw(true);
    }
    ++m_regexIterator;
    if (!m_regexIterator.isAtEnd())
        return true;
    fillScreenBuffer();
    resetScrollBar();
    draw(true);
    return false;
}

void LXListBox::cancelRegexSearch()
{
    m_regexCancelled = true;
    fillScreenBuffer();
}

void LXListBox::closeRegexSearch()
{
    fillScreenBuffer();
}

// ---- Scrolling ----

bool LXListBox::handleScrollEvent(int type, uint32_t position)
{
    if (!m_dataManager || type < LXLEventLineUp || type > LXLEventThumb)
        return false;
    const int32_t lh = m_lineHeight;
    int32_t page = lh > 0 ? m_rect.height / lh - 1 : 0;
    if (page < 1)
        page = 1;
    switch (type) {
    case LXLEventLineUp:
    case LXLEventStepUp:
        scrollScreenBuffer(-lh);
        break;
    case LXLEventLineDown:
    case LXLEventStepDown:
        scrollScreenBuffer(lh);
        break;
    case LXLEventPageUp:
        scrollScreenBuffer(-lh * page);
        break;
    case LXLEventPageDown:
        scrollScreenBuffer(lh * page);
        break;
    case LXLEventThumb:
        if (m_searchType == Browse) {
            int32_t value = 0, min = 0, max = 0, pg = 0;
            getScrollBarInfo(value, min, max, pg);
            m_positions.clear();
            m_texts.clear();
            LXDMIterator it;
            m_dataManager->begin(m_searchLanguage, m_translationLanguage, m_product, it);
            const int64_t range = static_cast<int64_t>(max) - min + 1;
            const int64_t offset = static_cast<int64_t>(position) - min;
            if (range > 0 && offset >= 0)
                it.move(static_cast<uint32_t>(offset), static_cast<uint32_t>(range));
            if (it.isAtEnd())
                --it;
            if (!it.isAtEnd()) {
                m_positions.push_back(it);
                lxstring t;
                displayText(it, t);
                m_texts.push_back(t);
            }
            fillScreenBuffer();
        } else if (!bufferEmpty()) {
            CellIt it = m_buffer.begin();
            CellIt lineStart = it;
            uint32_t line = 0;
            int32_t y = it->y;
            for (; !it.isAtEnd() && line < position; ++it) {
                if (it->y != y) {
                    y = it->y;
                    ++line;
                    lineStart = it;
                }
            }
            m_topVisible = lineStart;
            setLastVisibleChar();
        }
        break;
    }
    return true;
}

void LXListBox::scaleScrollRange(uint32_t min, uint32_t max, uint32_t value, int32_t &scaledValue,
                                 int32_t &scaledMax, uint32_t &step)
{
    const uint32_t span = max > min ? max - min : 0;
    step = span / kMaxScrollSteps + 1;
    scaledValue = static_cast<int32_t>((value > min ? value - min : 0) / step);
    scaledMax = static_cast<int32_t>(span / step);
}

void LXListBox::resetScrollBar()
{
    if (!m_dataManager || m_positions.empty())
        return;
    uint32_t min = 0, max = 0, value = 0;
    if (m_searchType == Browse) {
        // The result that holds the top visible cell, else the last result.
        uint32_t index = 0;
        if (!m_topVisible.isAtEnd()) {
            for (CellIt c = m_buffer.begin(); !sameNode(c, m_topVisible); ++c) {
                if (c->codePoint == 0)
                    ++index;
            }
        }
        LXListIterator<LXDMIterator> p = m_positions.begin();
        for (uint32_t k = 0; k < index && !p.isAtEnd(); ++k)
            ++p;
        if (p.isAtEnd() || m_topVisible.isAtEnd())
            p = --m_positions.end();
        max = p->getMaxPosition();
        min = p->getMinPosition();
        value = p->getPosition();
    } else if (m_lineHeight > 0 && !bufferEmpty()) {
        const int32_t last = (--m_buffer.end())->y;
        max = last > 0 ? static_cast<uint32_t>(last / m_lineHeight) : 0;
        min = 0;
        const int32_t top = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
        value = top > 0 ? static_cast<uint32_t>(top / m_lineHeight) : 0;
    }
    int32_t scaledValue = 0, scaledMax = 0;
    uint32_t step = 1;
    scaleScrollRange(min, max, value, scaledValue, scaledMax, step);
    const int32_t page = m_lineHeight > 0 ? m_rect.height / m_lineHeight : 8;
    m_scrollMin = 0;
    if (scaledMax > 0) {
        m_scrollValue = scaledValue;
        m_scrollMax = scaledMax;
        m_scrollPage = page;
        setScrollBarInfo(scaledValue, 0, scaledMax, page);
    } else {
        m_scrollValue = 0;
        m_scrollMax = 0;
        m_scrollPage = 1;
        setScrollBarInfo(0, 0, 0, 1);
    }
}

// ---- Drawing ----

void LXListBox::draw(bool erase)
{
    if (erase)
        eraseBackground();
    if (!m_dataManager)
        return;
    highlightSelectedTerm(LXLColorSelection);
    CellIt selectedResult;
    bool haveSelected = false;
    if (m_searchType == StemSearch) {
        CellIt sel = selectedCell();
        if (!sel.isAtEnd()) {
            selectedResult = resultStartOf(sel);
            haveSelected = true;
        }
    }
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    CellIt it = m_topVisible;
    bool firstTerm = true;
    while (!it.isAtEnd() && it->y - topY < m_rect.height) {
        CellIt start = firstTerm ? resultStartOf(it) : it;
        firstTerm = false;
        const bool highlighted = haveSelected && sameNode(start, selectedResult);
        drawTerm(it, highlighted ? LXLColorSelection : LXLColorBackground);
    }
    if (m_searchType != StemSearch)
        redrawSelection(LXLColorSelection);
    setColor(LXLColorText);
    setStyle(0);
    drawBoxes();
}

void LXListBox::refresh()
{
    resetScrollBar();
    draw(true);
}

void LXListBox::rebuild()
{
    fillScreenBuffer();
    resetScrollBar();
    draw(true);
}

// ---- Hit test and pointer input ----

bool LXListBox::inRect(int32_t x, int32_t y) const
{
    return x >= m_rect.left && x < m_rect.left + m_rect.width && y >= m_rect.top && y < m_rect.top + m_rect.height;
}

bool LXListBox::hitTest(int32_t x, int32_t y, Hit &hit) const
{
    if (!m_dataManager || m_positions.empty() || m_buffer.begin().isAtEnd())
        return false;
    LXListBox *self = const_cast<LXListBox *>(this);
    const int32_t bx = x - m_rect.left;
    const int32_t by = y - m_rect.top + (m_topVisible.isAtEnd() ? 0 : m_topVisible->y);
    int32_t result = 0, counter = 0;
    CellIt start = self->m_buffer.begin();
    CellIt prevStart = start;
    int32_t prevCount = 0;
    for (CellIt it = self->m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (it->codePoint == 0) {
            prevCount = counter;
            prevStart = start;
            ++result;
            counter = 0;
            start = it;
            ++start;
            continue;
        }
        if (by < it->y || (bx < it->x + it->width && by < it->y + it->height)) {
            const HitKind kind = bx < it->x ? HitLeftOfCell : (by >= it->y ? HitOnCell : HitAboveCell);
            hit.kind = kind;
            if (kind == HitAboveCell && !it.isAtBeginning()) {
                CellIt before = previous(it);
                hit.cell = before;
                if (before->codePoint == 0) {
                    // Past the end of the previous result's last line.
                    hit.result = result - 1;
                    hit.resultStart = prevStart;
                    hit.counter = prevCount;
                } else {
                    hit.result = result;
                    hit.resultStart = start;
                    hit.counter = counter > 0 ? counter - 1 : 0;
                }
                hit.definition = before->definition;
            } else {
                hit.cell = it;
                hit.result = result;
                hit.resultStart = start;
                hit.counter = counter;
                hit.definition = it->definition;
            }
            return hit.result >= 0 && static_cast<uint32_t>(hit.result) < getResultCount();
        }
        ++counter;
    }
    return false;
}

bool LXListBox::pointToCharPosition(int32_t x, int32_t y, LXDMIterator &position, int32_t &definition, CellIt &cell,
                                    CellIt &resultStart, int32_t &counter, int32_t &kind)
{
    Hit h;
    if (!hitTest(x, y, h)) {
        m_selectedTerm.clear();
        m_hasSelectedTerm = false;
        m_selectedPosition = m_selectedOffset = 0;
        position.clear();
        definition = 0;
        cell = m_buffer.end();
        resultStart = m_buffer.end();
        counter = 0;
        kind = HitOnCell;
        return false;
    }
    LXListIterator<LXDMIterator> p = m_positions.begin();
    for (int32_t k = 0; k < h.result && !p.isAtEnd(); ++k)
        ++p;
    position = *p;
    m_selectedTerm = *p;
    m_hasSelectedTerm = true;
    m_selectedPosition = p->getPosition();
    m_selectedOffset = p->getTermOffset();
    definition = h.definition;
    cell = h.cell;
    resultStart = h.resultStart;
    counter = h.counter;
    kind = h.kind;
    return true;
}

int32_t LXListBox::indexInResult(CellIt cell)
{
    int32_t n = 0;
    for (CellIt it = resultStartOf(cell); !it.isAtEnd() && !sameNode(it, cell); ++it)
        ++n;
    return n;
}

void LXListBox::setSelectionRange(CellIt first, CellIt last)
{
    for (CellIt it = m_buffer.begin(); !it.isAtEnd(); ++it)
        it->flags &= ~static_cast<uint32_t>(LXLCellSelected);
    if (first.isAtEnd() || last.isAtEnd())
        return;
    for (CellIt it = first;; ++it) {
        if (it->codePoint != 0)
            it->flags |= LXLCellSelected;
        if (sameNode(it, last) || it.isAtEnd())
            break;
    }
    m_selStart = indexInResult(first);
    m_selEnd = indexInResult(last);
}

bool LXListBox::onPenDown(int32_t x, int32_t y)
{
    if (!inRect(x, y))
        return false;
    redrawSelection(LXLColorBackground);
    m_penDown = true;
    clearSelection();
    LXDMIterator position;
    int32_t definition = 0, counter = 0, kind = 0;
    CellIt cell, start;
    if (!pointToCharPosition(x, y, position, definition, cell, start, counter, kind))
        return true;
    m_selectedDefinition = definition;
    m_pressed = cell;
    m_pressedKind = kind;
    m_selStart = kind == HitAboveCell ? 0 : counter;
    m_selEnd = m_selStart - 1;
    if (m_searchType == StemSearch) {
        // The click target at or after the hit in its result (else its first one) is
        // selected, which highlights the whole result.
        CellIt end = resultEndOf(cell);
        CellIt target = cell;
        while (!sameNode(target, end) && !(target->flags & LXLCellTarget))
            ++target;
        if (sameNode(target, end)) {
            target = start;
            while (!sameNode(target, end) && !(target->flags & LXLCellTarget))
                ++target;
        }
        if (!sameNode(target, end)) {
            // The whole run, also when the hit lies inside it.
            while (!sameNode(target, start) && (previous(target)->flags & LXLCellTarget))
                --target;
            CellIt last = target;
            for (CellIt it = target; !sameNode(it, end) && (it->flags & LXLCellTarget); ++it)
                last = it;
            setSelectionRange(target, last);
            redrawSelection(LXLColorSelection);
        }
    }
    return true;
}

bool LXListBox::onPenMove(int32_t x, int32_t y)
{
    if (!inRect(x, y) || !m_penDown)
        return false;
    if (m_searchType == StemSearch || m_pressed.isAtEnd())
        return true;
    Hit h;
    if (!hitTest(x, y, h))
        return true;
    const CellIt start = resultStartOf(m_pressed);
    const CellIt end = resultEndOf(m_pressed);
    CellIt first = m_pressed, last = h.cell;
    const bool forwards = h.cell->y > m_pressed->y || (h.cell->y == m_pressed->y && h.cell->x >= m_pressed->x);
    if (!forwards) {
        first = h.cell;
        last = m_pressed;
    }
    if (!sameNode(resultStartOf(h.cell), start) || h.cell->codePoint == 0) {
        // Never beyond the pressed cell's result.
        if (forwards)
            last = previous(end);
        else
            first = start;
    }
    bool inside = false;
    for (CellIt it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (sameNode(it, first))
            inside = true;
        const bool selected = inside && it->codePoint != 0;
        const bool was = (it->flags & LXLCellSelected) != 0;
        if (selected != was) {
            if (selected)
                it->flags |= LXLCellSelected;
            else
                it->flags &= ~static_cast<uint32_t>(LXLCellSelected);
            redrawCell(*it, selected);
        }
        if (sameNode(it, last))
            inside = false;
    }
    m_selStart = indexInResult(first);
    m_selEnd = indexInResult(last);
    return true;
}

bool LXListBox::onPenUp(int32_t x, int32_t y)
{
    // The pen is up wherever it comes up, so a later move does not drag on.
    m_penDown = false;
    if (!inRect(x, y))
        return false;
    if (m_searchType == StemSearch || m_pressed.isAtEnd())
        return true;
    Hit h;
    if (!hitTest(x, y, h) || !sameNode(h.cell, m_pressed) || h.kind != HitOnCell || m_pressedKind == HitLeftOfCell ||
        m_pressedKind == HitAboveCell)
        return true;
    // The word under the pointer, without its leading hyphens; a character that is no
    // word character is selected alone.
    const CellIt start = resultStartOf(m_pressed);
    const bool word = lx_iswordchar(m_pressed->codePoint);
    CellIt first = m_pressed;
    while (word && !sameNode(first, start)) {
        CellIt p = previous(first);
        if (!lx_iswordchar(p->codePoint))
            break;
        first = p;
    }
    bool pastPressed = false;
    while (!first.isAtEnd() && first->codePoint == '-') {
        if (sameNode(first, m_pressed))
            pastPressed = true;
        ++first;
    }
    CellIt last = m_pressed;
    for (CellIt n = last; word && !n.isAtEnd();) {
        ++n;
        if (n.isAtEnd() || n->codePoint == 0 || !lx_iswordchar(n->codePoint))
            break;
        last = n;
    }
    if (first.isAtEnd() || first->codePoint == 0 || (pastPressed && sameNode(first, following(last))))
        return true;
    redrawSelection(LXLColorBackground);
    setSelectionRange(first, last);
    redrawSelection(LXLColorSelection);
    return true;
}

void LXListBox::clickAt(int32_t x, int32_t y)
{
    onPenDown(x, y);
    onPenUp(x, y);
}

void LXListBox::selectTopResult()
{
    if (m_searchType == StemSearch) {
        clickAt(m_rect.left + 1, m_rect.top + 1);
    } else if (!m_topVisible.isAtEnd()) {
        clickAt(m_rect.left + m_topVisible->x + 3, m_rect.top + 3);
    }
}

// ---- Keyboard navigation ----

bool LXListBox::scrollToCell(const LXLCharInfo &cell)
{
    bool scrolled = false;
    const LXLCharInfo *c = &cell;
    for (int k = 0; k < 10000 && !m_topVisible.isAtEnd(); ++k) {
        const int32_t sy = c->y - m_topVisible->y;
        bool moved;
        if (sy < 0)
            moved = scrollScreenBuffer(-m_lineHeight);
        else if (sy + c->height > m_rect.height && sy > 0)
            moved = scrollScreenBuffer(m_lineHeight);
        else
            break;
        if (!moved)
            break;
        scrolled = true;
    }
    return scrolled;
}

void LXListBox::clickCell(const LXLCharInfo &cell, int32_t dx, int32_t dy)
{
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    clickAt(m_rect.left + cell.x + dx, m_rect.top + cell.y - topY + dy);
}

// Moving the selection by key: the cell is scrolled into view, then clicked. True when
// the list scrolled.
bool LXListBox::scrollToAndClick(const LXLCharInfo &cell)
{
    const bool scrolled = scrollToCell(cell);
    clickCell(cell, 1, 1);
    return scrolled;
}

bool LXListBox::goRight()
{
    if (selectedCell().isAtEnd())
        return false;
    bool scrolled = false;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        CellIt it = selectedCell();
        if (it.isAtEnd())
            return scrolled;
        while (!it.isAtEnd() && (it->flags & LXLCellSelected))
            ++it;
        if (m_searchType == StemSearch) {
            it = resultEndOf(it);
            if (!it.isAtEnd())
                ++it;
        }
        while (!it.isAtEnd() && !(it->flags & LXLCellTarget))
            ++it;
        if (!it.isAtEnd()) {
            // The list node stays put while scrolling down prunes only above it.
            return scrollToAndClick(*it) || scrolled;
        }
        if (m_searchType != Browse || !scrollScreenBuffer(m_lineHeight))
            return scrolled;
        scrolled = true;
    }
    return scrolled;
}

bool LXListBox::goLeft()
{
    if (selectedCell().isAtEnd())
        return false;
    bool scrolled = false;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        CellIt sel = selectedCell();
        if (sel.isAtEnd())
            return scrolled;
        CellIt found;
        bool haveFound = false;
        if (m_searchType == StemSearch) {
            CellIt start = resultStartOf(sel);
            if (!start.isAtBeginning()) {
                CellIt prevStart = resultStartOf(previous(start));
                for (CellIt it = prevStart; !sameNode(it, start); ++it) {
                    if (it->flags & LXLCellTarget) {
                        found = it;
                        haveFound = true;
                        break;
                    }
                }
            }
        } else {
            CellIt it = sel;
            while (!it.isAtBeginning()) {
                --it;
                if ((it->flags & LXLCellTarget) && !(it->flags & LXLCellSelected)) {
                    while (!it.isAtBeginning() && (previous(it)->flags & LXLCellTarget))
                        --it;
                    found = it;
                    haveFound = true;
                    break;
                }
            }
        }
        if (haveFound) {
            return scrollToAndClick(*found) || scrolled;
        }
        if (m_searchType != Browse || !scrollScreenBuffer(-m_lineHeight))
            return scrolled;
        scrolled = true;
    }
    return scrolled;
}

bool LXListBox::goUp()
{
    if (selectedCell().isAtEnd())
        return false;
    bool scrolled = false;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        CellIt sel = selectedCell();
        if (sel.isAtEnd())
            return scrolled;
        const int32_t sx = sel->x;
        // Lines above the selected one, nearest first, until one holds a click target.
        CellIt lineStart = sel;
        while (!lineStart.isAtBeginning() && previous(lineStart)->y == sel->y)
            --lineStart;
        CellIt found;
        bool haveFound = false;
        while (!lineStart.isAtBeginning() && !haveFound) {
            CellIt end = lineStart;
            CellIt it = previous(lineStart);
            const int32_t ly = it->y;
            while (!it.isAtBeginning() && previous(it)->y == ly)
                --it;
            lineStart = it;
            CellIt lastTarget;
            bool haveLast = false;
            for (; !sameNode(it, end); ++it) {
                if (!(it->flags & LXLCellTarget))
                    continue;
                if (it->x >= sx) {
                    found = it;
                    haveFound = true;
                    break;
                }
                lastTarget = it;
                haveLast = true;
            }
            if (!haveFound && haveLast) {
                found = lastTarget;
                haveFound = true;
            }
        }
        if (haveFound) {
            found = targetRunStart(found);
            return scrollToAndClick(*found) || scrolled;
        }
        if (!scrollScreenBuffer(-m_lineHeight))
            return scrolled;
        scrolled = true;
    }
    return scrolled;
}

bool LXListBox::goDown()
{
    if (selectedCell().isAtEnd())
        return false;
    bool scrolled = false;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        CellIt sel = selectedCell();
        if (sel.isAtEnd())
            return scrolled;
        const int32_t sx = sel->x;
        CellIt it = sel;
        if (m_searchType == StemSearch) {
            it = resultEndOf(it);
        } else {
            while (!it.isAtEnd() && it->y == sel->y)
                ++it;
        }
        CellIt found;
        bool haveFound = false;
        while (!it.isAtEnd() && !haveFound) {
            const int32_t ly = it->y;
            CellIt firstTarget;
            bool haveFirst = false;
            for (; !it.isAtEnd() && it->y == ly; ++it) {
                if (!(it->flags & LXLCellTarget))
                    continue;
                if (!haveFirst) {
                    firstTarget = it;
                    haveFirst = true;
                }
                if (it->x <= sx) {
                    found = it;
                    haveFound = true;
                }
            }
            if (!haveFound && haveFirst) {
                found = firstTarget;
                haveFound = true;
            }
        }
        if (haveFound) {
            found = targetRunStart(found);
            return scrollToAndClick(*found) || scrolled;
        }
        if (m_searchType == StemSearch || !scrollScreenBuffer(m_lineHeight))
            return scrolled;
        scrolled = true;
    }
    return scrolled;
}

bool LXListBox::goToTop()
{
    if (!m_dataManager)
        return false;
    clearSelection();
    if (m_searchType == Browse) {
        m_positions.clear();
        m_texts.clear();
        LXDMIterator it;
        m_dataManager->begin(m_searchLanguage, m_translationLanguage, m_product, it);
        if (!it.isAtEnd()) {
            lxstring t;
            displayText(it, t);
            m_positions.push_back(it);
            m_texts.push_back(t);
        }
        fillScreenBuffer();
    } else {
        m_topVisible = m_buffer.begin();
        setLastVisibleChar();
    }
    if (!m_topVisible.isAtEnd())
        clickCell(*m_topVisible, 2, 2);
    return true;
}

bool LXListBox::goToBottom()
{
    if (!m_dataManager)
        return false;
    clearSelection();
    if (m_searchType == Browse) {
        m_positions.clear();
        m_texts.clear();
        LXDMIterator it;
        m_dataManager->end(m_searchLanguage, m_translationLanguage, m_product, it);
        --it;
        if (!it.isAtEnd()) {
            lxstring t;
            displayText(it, t);
            m_positions.push_back(it);
            m_texts.push_back(t);
        }
        fillScreenBuffer();
        if (!m_topVisible.isAtEnd())
            clickCell(*m_topVisible, 2, 2);
        return true;
    }
    CellIt lastResult = m_buffer.end();
    for (CellIt it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (it->flags & LXLCellFirst)
            lastResult = it;
    }
    if (lastResult.isAtEnd())
        return true;
    bool visible = !m_topVisible.isAtEnd() && lastResult->y >= m_topVisible->y &&
                   lastResult->y + lastResult->height <= m_topVisible->y + m_rect.height;
    if (!visible) {
        m_topVisible = lastResult;
        setLastVisibleChar();
    }
    clickCell(*lastResult, 2, 2);
    return true;
}

void LXListBox::browseToSelectedStem()
{
    if (!m_dataManager)
        return;
    m_searchType = Browse;
    LXDMIterator position;
    bool have = false;
    CellIt sel = selectedCell();
    if (!sel.isAtEnd()) {
        uint32_t index = 0;
        for (CellIt c = m_buffer.begin(); !sameNode(c, sel); ++c) {
            if (c->codePoint == 0)
                ++index;
        }
        LXListIterator<LXDMIterator> p = m_positions.begin();
        for (uint32_t k = 0; k < index && !p.isAtEnd(); ++k)
            ++p;
        if (!p.isAtEnd()) {
            position = *p;
            while (!position.isAtBeginning() && !position.isAtFirstTermOfHeadword())
                --position;
            have = true;
        }
    }
    if (!have) {
        lxstring s(LXEncodingUtf8);
        getSelectedString(s);
        if (s.empty())
            return;
        m_searchString = s;
        browseFind(s, position);
    }
    m_positions.clear();
    m_texts.clear();
    if (!position.isAtEnd()) {
        lxstring t;
        displayText(position, t);
        m_positions.push_back(position);
        m_texts.push_back(t);
    }
    clearScreenBuffer();
    clearSelection();
    fillScreenBuffer();
    selectTopResult();
}

// ---- Selection ----

void LXListBox::clearSelection()
{
    m_selStart = 0;
    m_selEnd = -1;
    m_selectedTerm.clear();
    m_hasSelectedTerm = false;
    m_selectedPosition = 0;
    m_selectedOffset = 0;
    m_selectedDefinition = -1;
    m_pressed = m_buffer.end();
    m_pressedKind = HitOnCell;
    for (CellIt it = m_buffer.begin(); !it.isAtEnd(); ++it)
        it->flags &= ~static_cast<uint32_t>(LXLCellSelected);
}

void LXListBox::getSelectedString(lxstring &s) const
{
    s.clear();
    for (LXListConstIterator<LXLCharInfo> it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if ((it->flags & LXLCellSelected) && it->codePoint != 0)
            s += it->codePoint;
    }
}

lxstring LXListBox::getVisibleString() const
{
    lxstring s(LXEncodingUtf8);
    LXListConstIterator<LXLCharInfo> it = m_topVisible;
    for (; !it.isAtEnd(); ++it) {
        if (it->codePoint != 0)
            s += it->codePoint;
        if (it.getNode() == m_lastVisible.getNode())
            break;
    }
    return s;
}

lxstring LXListBox::getTopVisibleLine() const
{
    lxstring s(LXEncodingUtf8);
    if (m_topVisible.isAtEnd())
        return s;
    const int32_t y = m_topVisible->y;
    for (LXListConstIterator<LXLCharInfo> it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (it->y == y && it->codePoint != 0)
            s += it->codePoint;
        else if (it->y > y)
            break;
    }
    return s;
}

lxstring LXListBox::getScreenBufferString(const LXListConstIterator<LXLCharInfo> &from) const
{
    lxstring s(LXEncodingUtf8);
    for (LXListConstIterator<LXLCharInfo> it = from; !it.isAtEnd(); ++it)
        s += it->codePoint == 0 ? static_cast<uint32_t>('*') : it->codePoint;
    return s;
}

void LXListBox::getSelectedRect(LXLRectangle &rect) const
{
    rect = LXLRectangle();
    bool any = false;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    for (LXListConstIterator<LXLCharInfo> it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (!(it->flags & LXLCellSelected) || it->codePoint == 0)
            continue;
        if (!any) {
            left = it->x;
            top = it->y;
            right = it->x + it->width;
            bottom = it->y + it->height;
            any = true;
        } else {
            left = it->x < left ? it->x : left;
            top = it->y < top ? it->y : top;
            right = it->x + it->width > right ? it->x + it->width : right;
            bottom = it->y + it->height > bottom ? it->y + it->height : bottom;
        }
    }
    if (!any)
        return;
    const int32_t topY = m_topVisible.isAtEnd() ? 0 : m_topVisible->y;
    rect = LXLRectangle(m_rect.top + top - topY, m_rect.left + left, right - left, bottom - top);
}

bool LXListBox::isSelectionInATranslation() const
{
    if (m_searchLanguage == LXSynonyms || m_translationLanguage == LXSynonyms)
        return false;
    for (LXListConstIterator<LXLCharInfo> it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (it->flags & LXLCellSelected)
            return it->textKind == LXLTextTranslation;
    }
    return false;
}

void LXListBox::getSelectedDefinition(LXDMIterator &iterator, int32_t &number) const
{
    iterator = m_selectedTerm;
    number = -1;
    for (LXListConstIterator<LXLCharInfo> it = m_buffer.begin(); !it.isAtEnd(); ++it) {
        if (it->flags & LXLCellSelected) {
            number = it->definition;
            return;
        }
    }
}

bool LXListBox::isSelectedDefinitionModifiable() const
{
    LXDMIterator it;
    int32_t n = -1;
    getSelectedDefinition(it, n);
    return m_hasSelectedTerm && n >= 0 && m_selectedTerm.isDefinitionModifiable(n);
}

bool LXListBox::deleteSelectedDefinition()
{
    LXDMIterator it;
    int32_t n = -1;
    getSelectedDefinition(it, n);
    if (!m_hasSelectedTerm || n < 0)
        return false;
    return m_selectedTerm.deleteDefinition(n);
}
