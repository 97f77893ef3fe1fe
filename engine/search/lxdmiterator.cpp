#include "search/lxdmiterator.h"

#include <new>
#include <string>

#include <boost/regex.hpp>

#include "base/lxchar.h"
#include "base/lxutilities.h"
#include "format/lxd.h"
#include "model/lxtokenizer.h"

namespace {

enum : uint8_t { EndOfRun = 0x00, EndOfTerm = 0x03 };

bool sameKey(const lxstring &a, const lxstring &b)
{
    return a.compare(b, false, false, LXLanguageNone) == 0;
}

bool sameKeyIgnoringCaseAndAccents(const lxstring &a, const lxstring &b)
{
    return a.compare(b, true, true, LXLanguageNone) == 0;
}

bool hasBlank(const lxstring &s)
{
    return !s.find(uint32_t(' ')).isAtEnd();
}

// Code-point index of needle in s, or -1 (exact code points).
int32_t indexOf(const lxstring &s, const lxstring &needle)
{
    lxstring_iterator it = s.find(needle);
    return it.isAtEnd() ? -1 : it.getCharIndex();
}

// Case and accent folding for matching. Only the 8-bit range has mappings; code points
// above it are kept as they are (lx_tolower would cut them to 8 bits).
uint32_t lowerChar(uint32_t c)
{
    return c < 256 ? lx_tolower(c) : c;
}

uint32_t baseChar(uint32_t c)
{
    return c < 256 ? lx_base(c) : c;
}

std::wstring toWide(const lxstring &s)
{
    std::wstring w;
    w.reserve(s.length());
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it) {
        uint32_t c = *it;
        // Where wchar_t has 16 bits, characters beyond it match only as a placeholder.
        if (sizeof(wchar_t) < 4 && c > 0xFFFF)
            c = 0xFFFD;
        w.push_back(static_cast<wchar_t>(c));
    }
    return w;
}

lxstring fromCodePoints(const std::u32string &s)
{
    lxstring out(LXEncodingUtf8);
    for (char32_t c : s)
        out += static_cast<uint32_t>(c);
    return out;
}

std::u32string codePoints(const lxstring &s)
{
    std::u32string out;
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it)
        out.push_back(static_cast<char32_t>(*it));
    return out;
}

// The search pattern's rewriting: every character outside escapes (after a backslash)
// and bracket expressions goes through `outside`, which appends its replacement; those
// two are left alone, so "\*" and "[.]" keep their meaning.
template <class Replace>
std::u32string rewriteOutsideBrackets(const std::u32string &p, Replace outside)
{
    std::u32string out;
    bool inBracket = false;
    for (size_t i = 0; i < p.size(); ++i) {
        char32_t c = p[i];
        if (c == U'\\' && i + 1 < p.size()) {
            out.push_back(c);
            out.push_back(p[++i]);
            continue;
        }
        if (inBracket) {
            if (c == U']')
                inBracket = false;
            out.push_back(c);
            continue;
        }
        if (c == U'[') {
            inBracket = true;
            out.push_back(c);
            if (i + 1 < p.size() && p[i + 1] == U'^')
                out.push_back(p[++i]);
            if (i + 1 < p.size() && p[i + 1] == U']')
                out.push_back(p[++i]);
            continue;
        }
        outside(out, c);
    }
    return out;
}

std::u32string rewriteWildcards(const std::u32string &p)
{
    return rewriteOutsideBrackets(p, [](std::u32string &out, char32_t c) {
        if (c == U'*')
            out += U".*";
        else if (c == U'+')
            out += U".+";
        else if (c == U'?')
            out += U".";
        else
            out.push_back(c);
    });
}

std::u32string dotsWithinWords(const std::u32string &p)
{
    return rewriteOutsideBrackets(p, [](std::u32string &out, char32_t c) {
        if (c == U'.')
            out += U"[^ ]";
        else
            out.push_back(c);
    });
}

} // namespace

// ---------------------------------------------------------------------------------------
// LXDIterator

LXDIterator::LXDIterator()
    : m_module(nullptr), m_headwordPosition(0), m_rangeStart(0), m_rangeEnd(0), m_termPosition(0),
      m_headwordTermStart(0), m_nextTermPosition(0)
{
}

void LXDIterator::detach()
{
    m_module = nullptr;
    m_term.clear();
    m_headwordPosition = m_rangeStart = m_rangeEnd = 0;
    m_termPosition = m_headwordTermStart = m_nextTermPosition = 0;
}

LXLanguage LXDIterator::directionLanguage() const
{
    if (!m_module)
        return LXLanguageNone;
    return m_headwordPosition < m_module->getDirection2Start() && m_rangeStart < m_module->getDirection2Start()
               ? m_module->getLanguage1()
               : m_module->getLanguage2();
}

void LXDIterator::readCurrent()
{
    m_nextTermPosition = m_module->readTerm(m_term, m_headwordPosition, m_termPosition);
}

void LXDIterator::enterHeadword(uint32_t position)
{
    if (position >= m_rangeEnd) {
        m_headwordPosition = m_rangeEnd;
        m_term.clear();
        m_termPosition = m_headwordTermStart = m_nextTermPosition = m_module->getTermsSize();
        return;
    }
    m_headwordPosition = position;
    m_termPosition = m_headwordTermStart = m_module->readIndexOffset(position);
    readCurrent();
}

uint32_t LXDIterator::nextRecord(uint32_t position) const
{
    lxstring key;
    uint32_t next = m_module->readIndexKey(position, key);
    // A record that reads as nothing (damaged) must still move the walk on.
    return next > position ? next : m_rangeEnd;
}

bool LXDIterator::begin(LXD *module, LXLanguage language)
{
    if (!module || !module->open()) {
        detach();
        return false;
    }
    m_module = module;
    module->getDirectionRange(language, m_rangeStart, m_rangeEnd);
    enterHeadword(m_rangeStart);
    return true;
}

bool LXDIterator::end(LXD *module, LXLanguage language)
{
    if (!module || !module->open()) {
        detach();
        return false;
    }
    m_module = module;
    module->getDirectionRange(language, m_rangeStart, m_rangeEnd);
    enterHeadword(m_rangeEnd);
    return true;
}

bool LXDIterator::find(LXD *module, const LXTerm &term)
{
    if (!module || !module->open())
        return false;
    lxstring key, fold = LXUtilities::foldedKey(term.getSearchKey());
    uint32_t start = 0, end = 0, position = 0;
    module->findHeadword(fold, term.getLanguage(), key, start, end, position);
    m_module = module;
    m_rangeStart = start;
    m_rangeEnd = end;
    if (position < start || position > end)
        position = end;
    if (position < end && !lx_sameText(key, term.getSearchKey())) {
        // Keys that differ only by case or accents lie together: prefer the one equal to
        // the term's key, first in its very text (a ligature collates as its two letters,
        // so "manœuvre" and "manoeuvre" compare equal), then under the comparison.
        uint32_t first = position;
        while (first > start) {
            lxstring k;
            uint32_t previous = module->indexRecordStart(first - 1, start);
            module->readIndexKey(previous, k);
            if (previous >= first || !sameKeyIgnoringCaseAndAccents(k, fold))
                break;
            first = previous;
        }
        uint32_t exact = end, equal = end;
        for (uint32_t p = first; p < end;) {
            lxstring k;
            uint32_t next = module->readIndexKey(p, k);
            if (!sameKeyIgnoringCaseAndAccents(k, fold) || next <= p)
                break;
            if (lx_sameText(k, term.getSearchKey())) {
                exact = p;
                break;
            }
            if (equal == end && k.compare(term.getSearchKey(), term.getLanguage()) == 0)
                equal = p;
            p = next;
        }
        if (exact < end)
            position = exact;
        else if (equal < end)
            position = equal;
    }
    enterHeadword(position);
    return true;
}

bool LXDIterator::find(LXD *module, const lxstring &text, LXLanguage language)
{
    if (!module)
        return false;
    LXTerm term;
    term.setLanguage(language);
    term.setHeadword(text);
    LXTokenizer *tokenizer = module->getTokenizer();
    term.setSearchKey(tokenizer ? tokenizer->searchKey(text, language) : text);
    return find(module, term);
}

LXDIterator &LXDIterator::operator++()
{
    if (!m_module || isAtEnd() || !m_module->open())
        return *this;
    uint32_t next = m_nextTermPosition;
    if (next <= m_termPosition || next >= m_module->getTermsSize() || m_module->readTermsByte(next) == EndOfRun) {
        enterHeadword(nextRecord(m_headwordPosition));
        return *this;
    }
    m_termPosition = next;
    readCurrent();
    return *this;
}

LXDIterator &LXDIterator::operator--()
{
    if (!m_module || isAtBeginning() || !m_module->open())
        return *this;
    if (!isAtEnd() && m_termPosition > m_headwordTermStart) {
        // The byte before this term is the 0x03 that closes the previous one; that one
        // starts after the 0x03 before it, or at the headword's first term.
        uint32_t p = m_termPosition - 1;
        uint32_t start = m_headwordTermStart;
        while (p > m_headwordTermStart) {
            if (m_module->readTermsByte(p - 1) == EndOfTerm) {
                start = p;
                break;
            }
            --p;
        }
        m_termPosition = start;
        readCurrent();
        return *this;
    }
    if (m_headwordPosition <= m_rangeStart)
        return *this;
    uint32_t record = m_module->indexRecordStart(m_headwordPosition - 1, m_rangeStart);
    m_headwordPosition = record;
    m_termPosition = m_headwordTermStart = m_module->readIndexOffset(record);
    // The last term of the run: the last position after a 0x03 that does not end the run.
    uint32_t size = m_module->getTermsSize();
    uint32_t last = m_headwordTermStart;
    for (uint32_t q = m_headwordTermStart; q < size; ++q) {
        uint8_t b = m_module->readTermsByte(q);
        if (b == EndOfRun)
            break;
        if (b == EndOfTerm && q + 1 < size && m_module->readTermsByte(q + 1) != EndOfRun)
            last = q + 1;
    }
    m_termPosition = last;
    readCurrent();
    return *this;
}

void LXDIterator::stepForward()
{
    if (!m_module || isAtEnd() || !m_module->open())
        return;
    enterHeadword(nextRecord(m_headwordPosition));
}

void LXDIterator::moveToEnd()
{
    if (!m_module || !m_module->open())
        return;
    enterHeadword(m_rangeEnd);
}

void LXDIterator::move(uint32_t numerator, uint32_t denominator)
{
    if (!m_module || denominator == 0 || !m_module->open())
        return;
    uint64_t span = m_rangeEnd - m_rangeStart;
    uint64_t offset = span * numerator / denominator;
    if (offset >= span) {
        enterHeadword(m_rangeEnd);
        return;
    }
    uint32_t target = m_rangeStart + static_cast<uint32_t>(offset);
    enterHeadword(m_module->indexRecordStart(target, m_rangeStart));
}

bool LXDIterator::setRange(uint32_t start, uint32_t end, uint32_t position, LXLanguage language)
{
    if (!m_module || start > position || position > end || !m_module->open())
        return false;
    uint32_t directionStart = 0, directionEnd = 0;
    m_module->getDirectionRange(language, directionStart, directionEnd);
    if (start < directionStart || end > directionEnd)
        return false;
    m_rangeStart = start;
    m_rangeEnd = end;
    enterHeadword(position >= end ? end : m_module->indexRecordStart(position, start));
    return true;
}

bool LXDIterator::isAtBeginning() const
{
    return m_headwordPosition <= m_rangeStart && isAtFirstTermOfHeadword();
}

bool LXDIterator::isAtLastTermOfHeadword() const
{
    if (!m_module || isAtEnd())
        return false;
    return m_nextTermPosition <= m_termPosition || m_nextTermPosition >= m_module->getTermsSize() ||
           m_module->readTermsByte(m_nextTermPosition) == EndOfRun;
}

// ---------------------------------------------------------------------------------------
// LXDMRegexOptions

bool operator==(const LXDMRegexOptions &a, const LXDMRegexOptions &b)
{
    return a.posixSyntax == b.posixSyntax && a.matchCase == b.matchCase && a.wholeWords == b.wholeWords &&
           a.ignoreAccents == b.ignoreAccents && a.searchDefinitions == b.searchDefinitions;
}

bool operator!=(const LXDMRegexOptions &a, const LXDMRegexOptions &b)
{
    return !(a == b);
}

// ---------------------------------------------------------------------------------------
// LXDMIterator

struct LXDMIterator::Regex {
    boost::wregex expression;
};

LXDMIterator::LXDMIterator()
    : m_regexActive(false), m_matchOnHeadword(false), m_compileFlags(0), m_regex(nullptr), m_matchStart(0),
      m_matchEnd(0), m_prefixRestricted(false), m_pattern(LXEncodingUtf8), m_expression(LXEncodingUtf8),
      m_prefix(LXEncodingUtf8), m_bound(LXEncodingUtf8), m_regexLanguage(LXLanguageNone), m_tokenizer(nullptr)
{
}

LXDMIterator::LXDMIterator(const LXDMIterator &other)
    : m_term(other.m_term), m_iterators(other.m_iterators), m_regexActive(other.m_regexActive),
      m_matchOnHeadword(other.m_matchOnHeadword), m_options(other.m_options), m_compileFlags(other.m_compileFlags),
      m_regex(nullptr), m_matchStart(other.m_matchStart), m_matchEnd(other.m_matchEnd),
      m_prefixRestricted(other.m_prefixRestricted), m_pattern(other.m_pattern), m_expression(other.m_expression),
      m_prefix(other.m_prefix), m_bound(other.m_bound), m_regexLanguage(other.m_regexLanguage),
      m_tokenizer(other.m_tokenizer)
{
    if (other.m_regex && !compileRegex())
        m_regexActive = false;
}

LXDMIterator &LXDMIterator::operator=(const LXDMIterator &other)
{
    if (this == &other)
        return *this;
    freeRegex();
    m_term = other.m_term;
    m_iterators = other.m_iterators;
    m_stepBacks.clear();
    m_regexActive = other.m_regexActive;
    m_matchOnHeadword = other.m_matchOnHeadword;
    m_options = other.m_options;
    m_compileFlags = other.m_compileFlags;
    m_matchStart = other.m_matchStart;
    m_matchEnd = other.m_matchEnd;
    m_prefixRestricted = other.m_prefixRestricted;
    m_pattern = other.m_pattern;
    m_expression = other.m_expression;
    m_prefix = other.m_prefix;
    m_bound = other.m_bound;
    m_regexLanguage = other.m_regexLanguage;
    m_tokenizer = other.m_tokenizer;
    if (other.m_regex && !compileRegex())
        m_regexActive = false;
    return *this;
}

LXDMIterator::~LXDMIterator()
{
    freeRegex();
}

void LXDMIterator::freeRegex()
{
    delete m_regex;
    m_regex = nullptr;
}

void LXDMIterator::clear()
{
    m_term.clear();
    m_iterators.clear();
    m_stepBacks.clear();
    freeRegex();
    m_regexActive = false;
    m_matchOnHeadword = false;
    m_options = LXDMRegexOptions();
    m_compileFlags = 0;
    m_matchStart = m_matchEnd = 0;
    m_prefixRestricted = false;
    m_pattern.clear();
    m_expression.clear();
    m_prefix.clear();
    m_bound.clear();
    m_regexLanguage = LXLanguageNone;
    m_tokenizer = nullptr;
}

void LXDMIterator::addIterator(const LXDIterator &iterator)
{
    if (iterator.isAttached())
        m_iterators.push_back(iterator);
}

LXD *LXDMIterator::getLXD() const
{
    return m_iterators.empty() ? nullptr : m_iterators.begin()->getLXD();
}

bool LXDMIterator::isAtEnd() const
{
    return m_iterators.empty() || m_iterators.begin()->isAtEnd();
}

bool LXDMIterator::isAtBeginning() const
{
    for (LXList<LXDIterator>::const_iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
        if (!it->isAtBeginning())
            return false;
    }
    return true;
}

bool LXDMIterator::isAtFirstTermOfHeadword() const
{
    if (m_iterators.empty())
        return false;
    for (LXList<LXDIterator>::const_iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
        if (!it->isAtEnd() && !sameKey((**it).getSearchKey(), m_term.getSearchKey()))
            break;
        if (!it->isAtFirstTermOfHeadword())
            return false;
    }
    return true;
}

bool LXDMIterator::isAtLastTermOfHeadword() const
{
    if (m_iterators.empty() || !m_iterators.begin()->isAtLastTermOfHeadword())
        return false;
    LXList<LXDIterator>::const_iterator it = m_iterators.begin();
    for (++it; !it.isAtEnd(); ++it) {
        if (!it->isAtEnd() && sameKey((**it).getSearchKey(), m_term.getSearchKey()))
            return false;
    }
    return true;
}

bool LXDMIterator::isDefinitionModifiable(int32_t n) const
{
    if (n < 0)
        return false;
    uint32_t index = n == 0 ? 0 : static_cast<uint32_t>(n - 1);
    const LXList<LXDefinition> &definitions = m_term.getDefinitions();
    LXList<LXDefinition>::const_iterator it = definitions.begin();
    for (uint32_t i = 0; i < index && !it.isAtEnd(); ++i)
        ++it;
    return !it.isAtEnd() && it->getOriginNumber() == LXOriginUserAdded;
}

bool LXDMIterator::deleteDefinition(int32_t n)
{
    if (!isDefinitionModifiable(n))
        return false;
    LXD *additions = nullptr;
    for (LXList<LXDIterator>::iterator it = m_iterators.begin(); !it.isAtEnd() && !additions; ++it) {
        if (it->getLXD() && it->getLXD()->isAdditions())
            additions = it->getLXD();
    }
    if (!additions)
        return false;
    // The term with only that definition, and no features.
    LXTerm one = m_term;
    one.getFeatures().clear();
    one.getDefinitions().clear();
    LXList<LXDefinition>::const_iterator d = m_term.getDefinitions().begin();
    for (int32_t i = 1; i < n && !d.isAtEnd(); ++i)
        ++d;
    one.addDefinition(*d);
    return additions->deleteDefinition(one);
}

void LXDMIterator::adjust()
{
    if (m_iterators.empty())
        return;
    LXList<LXDIterator>::iterator best = m_iterators.end();
    for (LXList<LXDIterator>::iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
        if (it->isAtEnd())
            continue;
        if (best.isAtEnd() || **it < **best)
            best = it;
    }
    if (!best.isAtEnd() && !best.isAtBeginning()) {
        LXListNode<LXDIterator> *node = m_iterators.removeNode(best);
        m_iterators.insertNode(m_iterators.begin(), node);
    }
    synchronize();
}

void LXDMIterator::synchronize()
{
    if (isAtEnd()) {
        m_term.clear();
        return;
    }
    LXList<LXDIterator>::iterator it = m_iterators.begin();
    m_term = **it;
    for (++it; !it.isAtEnd(); ++it) {
        if (!it->isAtEnd() && m_term.canBeMergedWith(**it))
            m_term.merge(**it);
    }
}

LXDMIterator &LXDMIterator::operator++()
{
    if (isAtEnd())
        return *this;
    LXList<LXDIterator>::iterator front = m_iterators.begin();
    LXList<LXDIterator>::iterator it = front;
    for (++it; !it.isAtEnd(); ++it) {
        if (!it->isAtEnd() && **it == **front)
            ++*it;
    }
    ++*front;
    adjust();
    return *this;
}

LXDMIterator LXDMIterator::operator++(int)
{
    LXDMIterator old(*this);
    ++*this;
    return old;
}

void LXDMIterator::stepForward()
{
    if (isAtEnd())
        return;
    LXList<LXDIterator>::iterator front = m_iterators.begin();
    LXList<LXDIterator>::iterator it = front;
    for (++it; !it.isAtEnd(); ++it) {
        if (!it->isAtEnd() && sameKey((**it).getSearchKey(), (**front).getSearchKey()))
            it->stepForward();
    }
    front->stepForward();
    adjust();
}

const LXDIterator *LXDMIterator::stepBack(const LXDIterator &iterator)
{
    LXList<StepBack>::iterator s = m_stepBacks.begin();
    while (!s.isAtEnd()) {
        if (s->module != iterator.getLXD()) {
            ++s;
            continue;
        }
        if (s->headwordPosition == iterator.getHeadwordPosition() && s->termPosition == iterator.getTermPosition() &&
            s->rangeStart == iterator.getRangeStart() && s->rangeEnd == iterator.getRangeEnd())
            return &s->before;
        m_stepBacks.erase(s);   // the module has moved since
        break;
    }
    StepBack back{iterator.getLXD(), iterator.getHeadwordPosition(), iterator.getTermPosition(),
                  iterator.getRangeStart(), iterator.getRangeEnd(), iterator};
    --back.before;
    m_stepBacks.push_front(back);
    if (m_stepBacks.empty() || m_stepBacks.begin()->module != iterator.getLXD())
        return nullptr;
    return &m_stepBacks.begin()->before;
}

LXDMIterator &LXDMIterator::operator--()
{
    if (m_iterators.empty())
        return *this;
    // The term before each iterator that can step back; the greatest of them is the
    // previous merged term, and only the iterators holding it move back to it.
    LXList<LXDIterator>::iterator best = m_iterators.end();
    LXTerm previous;
    for (LXList<LXDIterator>::iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
        if (it->isAtBeginning())
            continue;
        const LXDIterator *before = stepBack(*it);
        if (before && (best.isAtEnd() || previous < **before)) {
            best = it;
            previous = **before;
        }
    }
    if (best.isAtEnd())
        return *this;   // at the beginning of every module
    for (LXList<LXDIterator>::iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
        if (it->isAtBeginning())
            continue;
        const LXDIterator *before = stepBack(*it);
        if (before && (it == best || **before == previous))
            *it = *before;
    }
    if (!best.isAtBeginning()) {
        LXListNode<LXDIterator> *node = m_iterators.removeNode(best);
        m_iterators.insertNode(m_iterators.begin(), node);
    }
    synchronize();
    return *this;
}

LXDMIterator LXDMIterator::operator--(int)
{
    LXDMIterator old(*this);
    --*this;
    return old;
}

void LXDMIterator::move(uint32_t numerator, uint32_t denominator)
{
    if (denominator == 0 || m_iterators.empty())
        return;
    LXList<LXDIterator>::iterator widest = m_iterators.begin();
    for (LXList<LXDIterator>::iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
        if (it->getRangeEnd() - it->getRangeStart() > widest->getRangeEnd() - widest->getRangeStart())
            widest = it;
    }
    if (!widest.isAtBeginning()) {
        LXListNode<LXDIterator> *node = m_iterators.removeNode(widest);
        m_iterators.insertNode(m_iterators.begin(), node);
    }
    LXList<LXDIterator>::iterator front = m_iterators.begin();
    front->move(numerator, denominator);
    LXList<LXDIterator>::iterator it = front;
    if (front->isAtEnd()) {
        for (++it; !it.isAtEnd(); ++it)
            it->moveToEnd();
        operator--();
        return;
    }
    LXTerm term = **front;
    for (++it; !it.isAtEnd(); ++it)
        it->find(it->getLXD(), term);
    // The others may stand on a smaller term of the same headword: the smallest leads.
    adjust();
}

uint32_t LXDMIterator::getPosition() const
{
    uint32_t sum = 0;
    for (LXList<LXDIterator>::const_iterator it = m_iterators.begin(); !it.isAtEnd(); ++it)
        sum += it->getHeadwordPosition();
    return sum;
}

uint32_t LXDMIterator::getMinPosition() const
{
    uint32_t sum = 0;
    for (LXList<LXDIterator>::const_iterator it = m_iterators.begin(); !it.isAtEnd(); ++it)
        sum += it->getRangeStart();
    return sum;
}

uint32_t LXDMIterator::getMaxPosition() const
{
    uint32_t sum = 0;
    for (LXList<LXDIterator>::const_iterator it = m_iterators.begin(); !it.isAtEnd(); ++it)
        sum += it->getRangeEnd();
    return sum;
}

uint32_t LXDMIterator::getTermOffset() const
{
    uint32_t sum = 0;
    for (LXList<LXDIterator>::const_iterator it = m_iterators.begin(); !it.isAtEnd(); ++it)
        sum += it->getTermPosition();
    return sum;
}

void LXDMIterator::positionOnExpression(const LXTerm &term)
{
    LXDMIterator start(*this);
    lxstring expression = LXUtilities::foldedKey(term.getHeadword());
    int32_t keyAt = indexOf(term.getHeadword(), term.getSearchKey());
    lxstring tail = expression.substr(keyAt < 0 ? 0 : keyAt);

    LXDMIterator containing, following;
    bool haveContaining = false, haveFollowing = false;
    while (!isAtEnd() && sameKeyIgnoringCaseAndAccents(m_term.getSearchKey(), term.getSearchKey())) {
        if (indexOf(m_term.getHeadword(), term.getHeadword()) >= 0 &&
            (term.getPartOfSpeechCode() == LXPartOfSpeechAny ||
             term.getPartOfSpeechCode() == m_term.getPartOfSpeechCode()))
            return;
        lxstring headword = LXUtilities::foldedKey(m_term.getHeadword());
        if (!haveContaining && indexOf(headword, expression) >= 0) {
            containing = *this;
            haveContaining = true;
        }
        if (!haveFollowing) {
            int32_t own = indexOf(m_term.getHeadword(), m_term.getSearchKey());
            if (headword.substr(own < 0 ? 0 : own).compare(tail, LXLanguageNone) > 0) {
                following = *this;
                haveFollowing = true;
            }
        }
        ++*this;
    }
    if (haveContaining)
        *this = containing;
    else if (haveFollowing)
        *this = following;
    else
        *this = start;
}

// ---------------------------------------------------------------------------------------
// Regular-expression search

bool LXDMIterator::compileRegex()
{
    freeRegex();
    Regex *r = new (std::nothrow) Regex;
    if (!r)
        return false;
    try {
        std::wstring text = toWide(m_expression);
        r->expression.assign(text, static_cast<boost::regex_constants::syntax_option_type>(m_compileFlags));
    } catch (...) {
        delete r;
        return false;
    }
    m_regex = r;
    return true;
}

lxstring LXDMIterator::foldForMatch(const lxstring &text) const
{
    // The pattern is folded to base letters with either option, so the text must be too.
    bool base = m_options.ignoreAccents || m_options.wholeWords;
    bool lower = !m_options.matchCase;
    lxstring out(LXEncodingUtf8);
    for (lxstring_iterator it = text.begin(); !it.isAtEnd(); ++it) {
        uint32_t c = *it;
        if (base)
            c = baseChar(c);
        if (lower)
            c = lowerChar(c);
        out += c;
    }
    return out;
}

bool LXDMIterator::searchText(const lxstring &text, uint32_t &start, uint32_t &end) const
{
    if (!m_regex)
        return false;
    std::wstring wide = toWide(foldForMatch(text));
    try {
        boost::wsmatch match;
        if (!boost::regex_search(wide, match, m_regex->expression))
            return false;
        start = static_cast<uint32_t>(match[0].first - wide.begin());
        end = static_cast<uint32_t>(match[0].second - wide.begin());
        return true;
    } catch (...) {
        // A pattern too costly for this text (the matcher's own limits): no match.
        return false;
    }
}

bool LXDMIterator::initRegexSearch(const lxstring &pattern, LXLanguage language, const LXDMRegexOptions &options,
                                   LXTokenizer *tokenizer)
{
    if (pattern.empty()) {
        clear();
        return false;
    }
    freeRegex();
    m_regexActive = false;
    m_matchOnHeadword = false;
    m_matchStart = m_matchEnd = 0;
    m_prefixRestricted = false;
    m_prefix.clear();
    m_bound.clear();
    m_options = options;
    m_tokenizer = tokenizer;
    m_regexLanguage = language;
    m_pattern = pattern;
    m_pattern.setEncoding(LXEncodingUtf8);

    std::u32string p = codePoints(m_pattern);
    if (!options.posixSyntax)
        p = rewriteWildcards(p);
    if (options.ignoreAccents || options.wholeWords) {
        for (char32_t &c : p)
            c = static_cast<char32_t>(baseChar(c));
    }
    if (!options.matchCase) {
        // The text is lowered before matching; lowering the pattern's letters beyond ASCII
        // as well keeps case-free matching independent of the run-time locale. ASCII stays
        // as given, so escapes such as "\W" keep their meaning.
        for (char32_t &c : p) {
            if (c >= 128)
                c = static_cast<char32_t>(lowerChar(c));
        }
    }
    if (options.wholeWords)
        p = U"(\\<|^)" + dotsWithinWords(p) + U"(\\>|$)";
    m_expression = fromCodePoints(p);

    m_compileFlags = boost::regex_constants::extended;
    if (!options.matchCase)
        m_compileFlags |= boost::regex_constants::icase;
    if (!compileRegex())
        return false;
    m_regexActive = true;

    // Prefix restriction: a whole-word pattern that starts with letters can only match
    // keys that start with them.
    std::u32string given = codePoints(m_pattern);
    size_t i = 0;
    for (;;) {
        if (i < given.size() && given[i] == U'^')
            ++i;
        else if (i + 1 < given.size() && given[i] == U'\\' && given[i + 1] == U'<')
            i += 2;
        else
            break;
    }
    std::u32string prefix;
    size_t j = i;
    while (j < given.size() && lx_isalpha(baseChar(given[j]))) {
        prefix.push_back(static_cast<char32_t>(lx_toupper(baseChar(given[j]))));
        ++j;
    }
    // In the regular-expression syntax a quantifier after the run may drop its last letter,
    // and an alternation may start elsewhere: neither allows a prefix of those letters.
    if (options.posixSyntax && j < given.size() &&
        (given[j] == U'*' || given[j] == U'?' || given[j] == U'{' || given[j] == U'+') && !prefix.empty())
        prefix.pop_back();
    bool alternation = given.find(U'|') != std::u32string::npos;
    if (options.wholeWords && !prefix.empty() && !alternation) {
        m_prefixRestricted = true;
        m_prefix = fromCodePoints(prefix);
        // The bound: the prefix in lower case with its last letter increased. A last "z"
        // would give "{", which sorts before the letters: carry to the letter before it,
        // and without one there is no bound.
        std::u32string bound;
        for (char32_t c : prefix)
            bound.push_back(static_cast<char32_t>(lx_tolower(c)));
        while (!bound.empty() && bound.back() == U'z')
            bound.pop_back();
        if (!bound.empty())
            bound.back() = bound.back() + 1;
        m_bound = fromCodePoints(bound);

        for (LXList<LXDIterator>::iterator it = m_iterators.begin(); !it.isAtEnd(); ++it) {
            LXD *module = it->getLXD();
            if (!module || !module->open())
                continue;
            lxstring key;
            uint32_t start = 0, end = 0, from = 0, to = 0;
            module->findHeadword(m_prefix, language, key, start, end, from);
            if (m_bound.empty())
                to = end;
            else
                module->findHeadword(m_bound, language, key, start, end, to);
            if (from < start)
                from = start;
            if (to > end || to < from)
                to = to < from ? from : end;
            it->setRange(from, to, from, language);
        }
    }
    adjust();
    return true;
}

bool LXDMIterator::matchCountsForKey(const LXTerm &term, uint32_t start) const
{
    const lxstring &headword = term.getHeadword();
    LXList<LXPair<lxstring, uint32_t>> tokens;
    int32_t count = 0;
    m_tokenizer->makeKeyPositions(tokens, count, LXLanguageNone, headword);
    uint32_t tokenStart = 0;
    for (LXList<LXPair<lxstring, uint32_t>>::iterator it = tokens.begin(); !it.isAtEnd(); ++it) {
        if (it->second <= start && it->second >= tokenStart)
            tokenStart = it->second;
    }
    int32_t keyAt = indexOf(headword, term.getSearchKey());
    return keyAt >= 0 && static_cast<uint32_t>(keyAt) == tokenStart;
}

bool LXDMIterator::isRegexMatch()
{
    if (m_iterators.empty() || !m_regexActive || !m_regex || isAtEnd())
        return false;
    uint32_t start = 0, end = 0;
    if (searchText(m_term.getHeadword(), start, end)) {
        m_matchOnHeadword = true;
        m_matchStart = start;
        m_matchEnd = end;
        if (!hasBlank(m_term.getHeadword()) || m_prefixRestricted || !m_tokenizer ||
            matchCountsForKey(m_term, start))
            return true;
    }
    if (m_options.searchDefinitions) {
        const LXList<LXDefinition> &definitions = m_term.getDefinitions();
        for (LXList<LXDefinition>::const_iterator it = definitions.begin(); !it.isAtEnd(); ++it) {
            if (searchText(it->getText(), start, end)) {
                m_matchOnHeadword = false;
                m_matchStart = start;
                m_matchEnd = end;
                return true;
            }
        }
    }
    return false;
}
