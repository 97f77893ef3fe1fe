#include "resultlist/lxmarkupexpander.h"

#include <initializer_list>
#include <new>
#include <string>

#include "base/lxchar.h"
#include "search/lxdmiterator.h"

namespace {

struct CodeRow {
    uint32_t first;
    uint32_t last;
    const char *opening;
    const char *closing;
    bool display;
};

// Opening and closing markup of the codes (UTF-8); rows cover code ranges.
const CodeRow kCodeRows[] = {
    {1, 1, "\\SB\\Sb\\SS", "\\sS\\sb\\sB", false},
    {2, 2, "\\sS\\SL", "\\sL\\SS", false},
    {4, 4, "\\SP\\Sy\\S<", "\\s<\\sy\\sP", false},
    {5, 5, "\\SP\\SI\\Sy\\S<", "\\s<\\sy\\sI\\sP", false},
    {6, 6, "\\Sp\\ST", "\\sT\\sp", false},
    {8, 8, "\\Sk\\ST", "\\sT\\sk", false},
    {13, 13, " \\S-\\Sy\\SU/", "/\\sU\\sy\\s-", false},
    {14, 14, "\\Sk[", "]\\sk", false},
    {15, 15, "\\Sy[", "]\\sy", false},
    {17, 17, "\\SkSYN:\\sk \\Sb", "\\sb", false},
    {32, 32, "\\Sx", "\\Sx", false},
    {34, 34, "\\Sk,\\sk \\SB\\Sb\\SS", "\\sS\\sb\\sB", true},
    {36, 36, "\\Sk", "\\sk", false},
    {39, 39, "\\Sk,\\sk \\SB\\Sb\\SS", "\\sS\\sb\\sB", false},
    {40, 40, " \\Sb", "\\sb", false},
    {43, 48, "\\SI", "\\sI", false},
    {49, 49, "+ \\SI", "\\sI", false},
    {50, 51, "\\SI", "\\sI", false},
    {52, 52, "\\SIalso:\\sI\\SB", "\\sB", false},
    {53, 58, "\\SI", "\\sI", false},
    {59, 59, "", "\\Sy\xC2\xAE\\sy", false},
    {75, 75, "\\Sk(\\SB=", "\\sB)\\sk", true},
    {76, 76, "\\SU\xE2\x89\x88\\sU", "", true},
    {77, 77, "\\SI", "\\sI", true},
    {78, 78, "\\Sk= \\SB", "\\sB\\sk", true},
    {79, 81, "\\Sk\\SU\xE2\x86\x92\\sU \\SB", "\\sB\\sk", true},
    {85, 85, "\\Sb", "\\sb", false},
    {86, 86, "\\Sy\\SI", "\\sI\\sy", true},
    {87, 87, "\\Sk;\\sk \\Sy\\SIlike\\sI\\sy ", "", true},
    {89, 89, "\\SIAlso:\\sI \\SB", "\\sB", true},
    {92, 92, "\\SIAlso called:\\sI \\SB", "\\sB", true},
    {98, 98, "\\Sk\\SL\\ST", "\\sT\\sL\\sk", true},
    {99, 99, "\\SkOPPOSITES\\sk \\SL", "\\sL", true},
    {103, 103, "\\Sb\\SL", "\\sL\\sb\n", true},
    {105, 105, "\\Sy\\SU\xE2\x8B\x84\\sU\\sy ", ":\\sk", true},
    {106, 106, "\\Sy\\SU\xE2\x8B\x84\\sU\\sy \\SkSee note at \\SB", "\\sB\\sk", true},
    {107, 107, "\\SB", "\\sB", true},
    {108, 108, "\\SU\xE2\x86\x92\\sU \\SB", "\\sB \\Sy\\SIetc\\sI\\sy", true},
    {111, 111, "\\TE\\Sy\\SU\xE2\x8B\x84\\sU\\sy \\Sb", "\\sb", true},
    {113, 113, " / ", "", true},
    {116, 116, "\\SP\\Sy\\S-(\\SI", "\\sI)\\s-\\sy\\sP", false},
    {117, 117, "\\SP\\Sy(\\SI", "\\sI)\\sy\\sP", false},
};

// Markup codes of the expander's own, beside the feature codes (which wrap their features).
enum MarkupCode : uint32_t {
    kCodeHeadword = 1,
    kCodePartOfSpeechFirst = 4,     // at the first term of a headword
    kCodePartOfSpeech = 5,          // at the further terms
    kCodeUserDefinition = 6,        // a definition the user added, without a flagged feature
    kCodeDefinition = 8             // a published one
};

// A definition's field character is '0' + its number while that stays below the backslash.
const int32_t kMaxFieldNumber = '\\' - '0' - 1;

const char kDiamond[] = "\\SU\xE2\x8B\x84\\sU";   // the usage mark
const char kArrow[] = "\\SU\xE2\x86\x92\\sU";

typedef std::u32string Text;

// The code points of a string (indexing a UTF-8 lxstring walks from its start).
Text codePoints(const lxstring &s)
{
    Text out;
    out.reserve(static_cast<size_t>(s.length()));
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it)
        out += static_cast<char32_t>(*it);
    return out;
}

// Appends UTF-8 text (the markup literals of this file).
void appendUtf8(Text &out, const char *s)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(s);
    while (*p) {
        uint32_t c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more)
            c &= 0x3F >> more;
        for (; more > 0 && (*p & 0xC0) == 0x80; --more)
            c = (c << 6) | (*p++ & 0x3F);
        out += static_cast<char32_t>(c);
    }
}

Text utf8Text(const char *s)
{
    Text t;
    appendUtf8(t, s);
    return t;
}

// An lxstring in UTF-8 from code points, encoded in one go as the engine's UTF-8 does.
lxstring toLxstring(const Text &t)
{
    std::string bytes;
    bytes.reserve(t.size() + 8);
    for (char32_t ch : t) {
        uint32_t c = static_cast<uint32_t>(ch);
        if (c == 0)
            continue;
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        int n = c < 0x800 ? 2 : c < 0x10000 ? 3 : c < 0x200000 ? 4 : c < 0x4000000 ? 5 : 6;
        static const unsigned char lead[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
        unsigned char buf[6];
        for (int k = n - 1; k > 0; --k) {
            buf[k] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            c >>= 6;
        }
        buf[0] = static_cast<unsigned char>(lead[n] | c);
        bytes.append(reinterpret_cast<char *>(buf), static_cast<size_t>(n));
    }
    return lxstring(bytes.c_str(), LXEncodingUtf8);
}

bool hasAny(const LXDefinition &d, std::initializer_list<uint32_t> codes)
{
    for (uint32_t c : codes) {
        if (d.hasFeature(c))
            return true;
    }
    return false;
}

size_t codeLength(const Text &u, size_t i)
{
    if (i + 1 >= u.size())
        return 1;
    char32_t k = u[i + 1];
    if ((k == 'S' || k == 's' || k == 'T' || k == 'M' || k == 'm') && i + 2 < u.size())
        return 3;
    return 2;
}

// Replaces every occurrence of from that begins on a code boundary (never inside a
// backslash code), scanning forwards.
void replaceCodes(Text &s, const char *from, const char *to)
{
    const Text pattern = utf8Text(from);
    if (pattern.empty() || s.find(pattern) == Text::npos)
        return;
    const Text with = utf8Text(to);
    Text out;
    out.reserve(s.size());
    size_t i = 0, n = s.size();
    while (i < n) {
        if (s.compare(i, pattern.size(), pattern) == 0) {
            out += with;
            i += pattern.size();
            continue;
        }
        size_t len = s[i] == '\\' ? codeLength(s, i) : 1;
        out.append(s, i, len);
        i += len;
    }
    s.swap(out);
}

void markText(const Text &u, uint32_t letter, Text &out)
{
    out.reserve(out.size() + u.size() + 8);
    const size_t n = u.size();
    bool open = false;
    size_t i = 0;
    while (i < n) {
        const uint32_t c = u[i];
        if (c == '\\') {
            if (open) {
                out += U"\\s";
                out += static_cast<char32_t>(letter);
                open = false;
            }
            size_t len = codeLength(u, i);
            out.append(u, i, len);
            i += len;
            continue;
        }
        if (open && !lx_iswordchar(c)) {
            out += U"\\s";
            out += static_cast<char32_t>(letter);
            open = false;
        } else if (!open && lx_iswordchar(c) && !lx_isdigit(c) && c != '-' && c != '\'') {
            out += U"\\S";
            out += static_cast<char32_t>(letter);
            open = true;
        }
        out += static_cast<char32_t>(c);
        ++i;
    }
    if (open) {
        out += U"\\s";
        out += static_cast<char32_t>(letter);
    }
}

Text marked(const lxstring &s, uint32_t letter, bool mark)
{
    Text u = codePoints(s);
    if (!mark)
        return u;
    Text out;
    markText(u, letter, out);
    return out;
}

Text upper(const lxstring &s)
{
    lxstring u(s);
    u.toupper();
    return codePoints(u);
}

void wrapInto(Text &out, uint32_t code, const Text &content)
{
    if (code == 0 || code >= LXMarkupExpander::kCodeCount) {
        out += content;
        return;
    }
    out += U"\\M";
    out += static_cast<char32_t>(code);
    out += content;
    out += U"\\m";
    out += static_cast<char32_t>(code);
}

// The text with each "$$" replaced by the next comma-separated part of the part-of-speech
// name in the given code (the last "$$" takes the rest); the text between is word-marked.
Text fillPlaceholders(const lxstring &text, const lxstring &pos, uint32_t code, uint32_t letter, bool mark)
{
    const Text tx = codePoints(text);
    const Text ps = codePoints(pos);
    const size_t n = tx.size();
    size_t holes = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (tx[i] == '$' && tx[i + 1] == '$') {
            ++holes;
            ++i;
        }
    }
    Text out, segment;
    const size_t pn = ps.size();
    size_t cursor = 0, seen = 0;
    auto flush = [&]() {
        if (mark)
            markText(segment, letter, out);
        else
            out += segment;
        segment.clear();
    };
    for (size_t i = 0; i < n; ++i) {
        if (tx[i] == '$' && i + 1 < n && tx[i + 1] == '$') {
            flush();
            ++i;
            ++seen;
            Text part;
            if (seen == holes) {
                part = ps.substr(cursor < pn ? cursor : pn);
                cursor = pn;
            } else {
                while (cursor < pn && ps[cursor] != ',')
                    part += ps[cursor++];
                while (cursor < pn && (ps[cursor] == ',' || ps[cursor] == ' '))
                    ++cursor;
            }
            if (!part.empty())
                wrapInto(out, code, part);
        } else {
            segment += tx[i];
        }
    }
    flush();
    return out;
}

} // namespace

class LXMarkupWriter {
public:
    explicit LXMarkupWriter(const LXMarkupExpander &e) : m_e(e) { m_out.reserve(256); }

    Text &out() { return m_out; }
    void text(const char *s) { appendUtf8(m_out, s); }
    void text(const lxstring &s) { m_out += codePoints(s); }
    void text(const Text &s) { m_out += s; }
    void cp(uint32_t c) { m_out += static_cast<char32_t>(c); }
    bool endsInBlank() const { return !m_out.empty() && m_out.back() == ' '; }
    void blank()
    {
        if (!endsInBlank())
            m_out += U' ';
    }

    // "\M" c content "\m" c; codes outside the table (and 0, which would end a result
    // in the layout) show their content alone.
    void wrap(uint32_t code, const Text &content) { wrapInto(m_out, code, content); }

    // A feature in its own code, set off from what precedes it by a blank unless its
    // markup starts a block or brings its own blank.
    void feature(uint32_t code, const lxstring &content)
    {
        const Text *open = code < LXMarkupExpander::kCodeCount && m_e.m_codes ? &m_e.m_codes[code].opening : nullptr;
        bool ownSpace = open && !open->empty() && ((*open)[0] == ' ' || (open->size() > 1 && (*open)[0] == '\\' && (*open)[1] == 'T'));
        if (!ownSpace && !m_out.empty())
            blank();
        wrap(code, codePoints(content));
    }

    void pronunciation(const lxstring &t)
    {
        const Text u = codePoints(t);
        size_t at = u.find(U"\\M");
        if (at == Text::npos) {
            wrap(LXFeaturePronunciation, u);
            return;
        }
        wrap(LXFeaturePronunciation, u.substr(0, at));
        blank();
        m_out.append(u, at, Text::npos);
    }

    // Double brackets become the note's code, single ones the given markup.
    void brackets(const lxstring &t, const char *open, const char *close)
    {
        const Text u = codePoints(t);
        const size_t n = u.size();
        for (size_t i = 0; i < n; ++i) {
            uint32_t c = u[i];
            uint32_t next = i + 1 < n ? u[i + 1] : 0;
            if (c == '[' && next == '[') {
                m_out += U"\\M(";
                ++i;
            } else if (c == ']' && next == ']') {
                m_out += U"\\m(";
                ++i;
            } else if (c == '[') {
                text(open);
            } else if (c == ']') {
                text(close);
            } else {
                m_out += static_cast<char32_t>(c);
            }
        }
    }

private:
    const LXMarkupExpander &m_e;
    Text m_out;
};

LXMarkupExpander::LXMarkupExpander() : m_codes(nullptr) {}

LXMarkupExpander::~LXMarkupExpander()
{
    delete[] m_codes;
}

const LXMarkupExpander *LXMarkupExpander::shared()
{
    static LXMarkupExpander expander;
    static bool ready = expander.init();
    return ready ? &expander : nullptr;
}

bool LXMarkupExpander::init()
{
    if (m_codes)
        return true;
    Code *codes = new (std::nothrow) Code[kCodeCount];
    if (!codes)
        return false;
    for (uint32_t i = 0; i < kCodeCount; ++i)
        codes[i].display = false;
    for (const CodeRow &row : kCodeRows) {
        for (uint32_t c = row.first; c <= row.last && c < kCodeCount; ++c) {
            codes[c].opening = utf8Text(row.opening);
            codes[c].closing = utf8Text(row.closing);
            codes[c].display = row.display;
        }
    }
    m_codes = codes;
    return true;
}

lxstring LXMarkupExpander::getOpening(uint32_t code) const
{
    return m_codes && code < kCodeCount ? toLxstring(m_codes[code].opening) : lxstring();
}

lxstring LXMarkupExpander::getClosing(uint32_t code) const
{
    return m_codes && code < kCodeCount ? toLxstring(m_codes[code].closing) : lxstring();
}

bool LXMarkupExpander::isDisplayCode(uint32_t code) const
{
    return m_codes && code < kCodeCount && m_codes[code].display;
}

void LXMarkupExpander::markWords(const lxstring &text, uint32_t letter, lxstring &out)
{
    Text t;
    markText(codePoints(text), letter, t);
    out = toLxstring(t);
}

void LXMarkupExpander::convert(const lxstring &in, lxstring &display) const
{
    Text out;
    convert(codePoints(in), out);
    display = toLxstring(out);
}

void LXMarkupExpander::convert(const Text &cps, Text &display) const
{
    display.clear();
    display.reserve(cps.size() * 2);
    const size_t n = cps.size();
    for (size_t i = 0; i < n; ++i) {
        const uint32_t c = cps[i];
        if (c == '\\' && i + 1 < n) {
            const uint32_t k = cps[i + 1];
            if ((k == 'M' || k == 'm') && i + 2 < n && cps[i + 2] < kCodeCount && m_codes) {
                const uint32_t code = cps[i + 2];
                if (k == 'M') {
                    if (code == LXFeatureTrademark && !(display.size() > 0 && display.back() == ' '))
                        display += U' ';
                    display += m_codes[code].opening;
                } else {
                    display += m_codes[code].closing;
                }
                i += 2;
                continue;
            }
            // Any other code passes unchanged; the character after "\F", "\M" or "\m"
            // (a field digit or a code character) is never a brace to convert.
            display += static_cast<char32_t>(c);
            display += static_cast<char32_t>(k);
            ++i;
            if ((k == 'F' || k == 'M' || k == 'm') && i + 1 < n) {
                display += cps[i + 1];
                ++i;
            }
            continue;
        }
        if (c == '{')
            display += U"\\SI";
        else if (c == '}')
            display += U"\\sI";
        else
            display += static_cast<char32_t>(c);
    }
}

void LXMarkupExpander::getDisplayText(const LXDMIterator &iterator, lxstring &text, uint32_t flags) const
{
    text.clear();
    if (iterator.isAtEnd())
        return;
    // Terms of other headwords can share a headword record (an expression filed under
    // one of its words, a variant spelling with the same key): such a term starts a
    // headword block of its own, or nothing on the screen would name it.
    bool first = iterator.isAtFirstTermOfHeadword();
    if (!first && !iterator.isAtBeginning()) {
        LXDMIterator previous(iterator);
        --previous;
        first = previous.isAtEnd() || !lx_sameText((*previous).getHeadword(), (*iterator).getHeadword());
    }
    expandTerm(*iterator, first, iterator.isAtLastTermOfHeadword(), flags, text);
}

void LXMarkupExpander::expandTerm(const LXTerm &term, bool first, bool last, uint32_t flags, lxstring &text) const
{
    LXMarkupWriter w(*this);
    const bool mark = (flags & MarkWords) != 0;
    const bool forced = (flags & HeadwordBlock) != 0;
    const lxstring &pos = term.getPartOfSpeechName();
    const uint32_t posCode = first ? kCodePartOfSpeechFirst : kCodePartOfSpeech;

    // Headword block, or the start of a further term of the headword.
    bool usedTE = false;
    if (first || forced) {
        w.text("\\TM\\F0");
        if (term.hasFeature(LXFeatureBoxedHeadword))
            w.text("\\M ");
        if (forced)
            w.text(kArrow);
        w.wrap(kCodeHeadword, marked(term.getHeadword(), 'W', mark));
    } else if (!pos.empty()) {
        w.text("\\TE\\F0");
        usedTE = true;
    } else if (term.hasFeature(LXFeatureBoxedHeadword)) {
        w.text("\\TB\\F0");
    } else if (term.hasFeature(LXFeatureSubEntry)) {
        w.text("\\TC\\F0 ");
    } else {
        w.text("\\F0");
    }

    // Part of speech.
    if (!pos.empty()) {
        if (!usedTE)
            w.cp(' ');
        lxstring like;
        if (term.getFeature(LXFeatureLike, like)) {
            Text c = U"(" + upper(pos) + utf8Text(": \\SIlike\\sI \\SB") + codePoints(like) + U"\\sB)";
            w.wrap(4, c);
        } else {
            w.wrap(4, upper(pos));
        }
    }

    // The parenthetical, the pronunciations, the note.
    const LXFeatureList &features = term.getFeatures();
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if (f->first == LXFeatureParenthetical)
            w.feature(LXFeatureParenthetical, f->second);
    }
    if (!forced) {
        bool firstPron = true;
        for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
            if (f->first != LXFeaturePronunciation)
                continue;
            if (!firstPron)
                w.cp(',');
            w.pronunciation(f->second);
            firstPron = false;
        }
    }
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if (f->first == LXFeatureNote)
            w.brackets(f->second, ", \\Sy\\SI", "\\sI\\sy");
    }

    // The other features of the term: inline labels in groups, usages, the rest in their codes.
    const bool synonyms = term.getTranslationLanguage() == LXSynonyms;
    bool group = false;
    uint32_t prevLabel = 0;
    bool firstUsage = true;
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        uint32_t c = f->first;
        if (c == LXFeaturePronunciation || c == LXFeatureNote || c == LXFeatureLike || c == LXFeatureSeeEtc ||
            c == LXFeatureParenthetical)
            continue;
        if (lx_isLabelFeature(c)) {
            if (group && !(synonyms || c == LXFeatureLabelJoined || prevLabel == LXFeatureLabelJoined)) {
                w.text(")\\s-\\sy");
                group = false;
            }
            w.cp(' ');
            if (!group) {
                w.text("\\Sy\\S-(");
                group = true;
            }
            w.wrap(c, marked(f->second, 'W', mark));
            prevLabel = c;
            continue;
        }
        if (group) {
            w.text(")\\s-\\sy");
            group = false;
        }
        if (c == LXFeatureUsage) {
            if (firstUsage) {
                w.text("\\TP\\Sy");
                if (!term.hasFeature(LXFeatureNoUsageMark))
                    w.text(kDiamond);
                w.text("\\sy ");
                firstUsage = false;
            } else {
                w.text("\\Sk,\\sk ");
            }
            w.wrap(LXFeatureUsage, fillPlaceholders(f->second, pos, posCode, 'W', mark));
            continue;
        }
        w.feature(c, f->second);
    }
    if (group)
        w.text(")\\s-\\sy");

    // Definitions.
    const LXList<LXDefinition> &defs = term.getDefinitions();
    int32_t number = 0;
    int32_t numberedSenses = 0;
    int32_t subSenses = 0;
    bool teDone = false;
    bool anySemicolonGroup = false;
    bool prevHadText = false;
    bool prevHadGloss = false;
    bool prevHadQualifier = false;
    bool prevWroteLabel = false;
    bool anyText = false;
    bool textSinceNumberedSense = true;
    const bool senseParagraphs = term.hasFeature(LXFeatureSenseParagraphs);
    for (LXList<LXDefinition>::const_iterator di = defs.begin(); !di.isAtEnd(); ++di) {
        const LXDefinition &d = *di;
        ++number;
        bool wroteLabel = false;
        bool wroteHeadingLabels = false;
        const bool hasText = !d.getText().empty();

        bool startsBlock = false;
        if (!teDone && (senseParagraphs || last) &&
            hasAny(d, {LXFeatureCrossReference, LXFeatureSeeAlso, LXFeatureBoxReference, LXFeatureSeeEtc})) {
            w.text("\\TE");
            teDone = true;
            startsBlock = true;
        }
        // The field character is the definition's number as a digit from "0"; numbers
        // whose character would be a backslash or beyond keep the previous field.
        if (number <= kMaxFieldNumber) {
            w.text("\\F");
            w.cp(static_cast<uint32_t>('0' + number));
        }
        if (d.hasFeature(LXFeatureInlineSense))
            w.text("\\TC");
        if (d.hasFeature(LXFeatureSemicolonGroup) && anySemicolonGroup && !prevWroteLabel)
            w.cp(';');
        if (d.hasFeature(LXFeatureQualifier) && prevHadQualifier)
            w.cp(';');
        if (d.hasFeature(LXFeatureNumberedSense)) {
            w.text("\\SB\\Sb\\S<");
            if (!textSinceNumberedSense)
                w.cp(' ');
            w.text(senseParagraphs ? "\\TP\\D\\s<\\sb\\sB" : " \\D\\s<\\sb\\sB");
            ++numberedSenses;
            textSinceNumberedSense = false;
        }
        if (d.hasFeature(LXFeatureSubSense)) {
            w.text("\\SB\\Sb\\S< \\P\\s<\\sb\\sB");
            ++subSenses;
        }
        if (d.hasFeature(LXFeatureLabelsAsHeadings)) {
            for (LXFeatureList::const_iterator f = d.getFeatures().begin(); !f.isAtEnd(); ++f) {
                if (!lx_isLabelFeature(f->first))
                    continue;
                w.text(" \\SI\\Sy");
                w.text(f->second);
                w.text(":\\sy\\sI");
                wroteHeadingLabels = true;
            }
        }
        if (d.hasFeature(LXFeatureBoxReference)) {
            LXLanguage from = term.getLanguage(), to = term.getTranslationLanguage();
            if ((from == LXFrench || from == LXSpanish) && to == LXEnglish)
                w.text("\\SU\xE2\x86\x92\\sU \\Skbox\\sk");
            else if (from == LXEnglish && to == LXFrench)
                w.text("\\SU\xE2\x86\x92\\sU \\Skencadr\xC3\xA9\\sk");
            else if (from == LXEnglish && to == LXSpanish)
                w.text("\\SU\xE2\x86\x92\\sU \\Skrecuadro\\sk");
        }

        // The text with its part of speech, in the definition's flagged code.
        uint32_t code = d.getOriginNumber() == LXOriginUserAdded ? kCodeUserDefinition : kCodeDefinition;
        for (LXFeatureList::const_iterator f = d.getFeatures().begin(); !f.isAtEnd(); ++f) {
            if (isDisplayCode(f->first)) {
                code = f->first;
                break;
            }
        }
        const lxstring &dpos = d.getPartOfSpeechName();
        Text body;
        if (!d.getText().find("$$").isAtEnd()) {
            body = fillPlaceholders(d.getText(), dpos, posCode, 'X', mark);
        } else {
            body = marked(d.getText(), 'X', mark);
            if (d.hasFeature(LXFeatureInlineSense)) {
                body += U' ';
            } else if (!dpos.empty()) {
                if (!body.empty())
                    body += U' ';
                wrapInto(body, posCode, first ? upper(dpos) : codePoints(dpos));
            }
        }
        if (!body.empty()) {
            // (Nor at the start of a block's line.)
            bool comma = hasText && prevHadText && !prevHadGloss && !wroteHeadingLabels && !startsBlock &&
                         !hasAny(d, {LXFeatureNumberedSense, LXFeatureSubSense, LXFeatureQualifier, LXFeatureExample,
                                     LXFeatureOpposites, LXFeatureLike, LXFeatureSemicolonGroup,
                                     LXFeatureSlashAlternative});
            if (comma)
                w.cp(',');
            if (!hasAny(d, {LXFeatureInlineSense, LXFeatureRunOn, LXFeatureLike, LXFeatureSlashAlternative}))
                w.blank();
            w.wrap(code, body);
        }
        if (hasText) {
            anyText = true;
            textSinceNumberedSense = true;
        }

        // The definition's own features.
        bool usage = false;
        bool dgroup = false;
        uint32_t dprev = 0;
        const bool labelsAsHeadings = d.hasFeature(LXFeatureLabelsAsHeadings);
        for (LXFeatureList::const_iterator f = d.getFeatures().begin(); !f.isAtEnd(); ++f) {
            uint32_t c = f->first;
            if (f->second.empty() && c != LXFeatureTrademark)
                continue;
            if (c == LXFeatureLike || c == LXFeatureSeeEtc || c == LXFeatureParenthetical)
                continue;
            if (lx_isLabelFeature(c)) {
                if (labelsAsHeadings)
                    continue;
                if (dgroup && !(synonyms || c == LXFeatureLabelJoined || dprev == LXFeatureLabelJoined)) {
                    w.text(")\\s-\\sy");
                    dgroup = false;
                }
                w.cp(' ');
                if (!dgroup) {
                    w.text("\\Sy\\S-(");
                    dgroup = true;
                }
                w.wrap(c, marked(f->second, 'W', mark));
                dprev = c;
                wroteLabel = true;
                continue;
            }
            if (dgroup) {
                w.text(")\\s-\\sy");
                dgroup = false;
            }
            if (c == LXFeaturePronunciation) {
                w.pronunciation(f->second);
            } else if (c == LXFeatureNote) {
                w.cp(' ');
                w.brackets(f->second, "\\Sk\\SI", "\\sI\\sk");
            } else if (c == LXFeatureUsage) {
                if (!usage) {
                    if (anyText)
                        w.text("\\TP");
                    w.text("\\Sy");
                    if (!d.hasFeature(LXFeatureNoUsageMark))
                        w.text(kDiamond);
                    w.text("\\sy ");
                    usage = true;
                } else {
                    w.text("\\Sk,\\sk ");
                }
                w.wrap(LXFeatureUsage, codePoints(f->second));
                subSenses = 0;
            } else {
                w.feature(c, f->second);
            }
        }
        if (dgroup)
            w.text(")\\s-\\sy");
        if (d.hasFeature(LXFeatureInlineSense)) {
            w.cp(' ');
            w.wrap(5, codePoints(dpos));
        }

        prevHadText = hasText;
        prevHadGloss = d.hasFeature(LXFeatureGloss);
        prevHadQualifier = d.hasFeature(LXFeatureQualifier);
        prevWroteLabel = wroteLabel;
        if (d.hasFeature(LXFeatureSemicolonGroup))
            anySemicolonGroup = true;
    }

    Text &t = w.out();
    if (last && !forced)
        t += U'\n';
    if (numberedSenses < 2) {
        replaceCodes(t, "\\TP\\D", "\\TP\\SP\\Sy\\SU\xE2\x8B\x84\\sU\\sy\\sP");
        replaceCodes(t, "  \\D", "");
        replaceCodes(t, " \\D", "");
        replaceCodes(t, "\\D", "");
    }
    replaceCodes(t, " \\P", subSenses > 1 ? " \\D" : "");
    Text display;
    convert(t, display);
    text = toLxstring(display);
}
