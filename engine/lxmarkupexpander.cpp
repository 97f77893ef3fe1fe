#include "lxmarkupexpander.h"

#include <initializer_list>
#include <new>
#include <string>

#include "lxchar.h"
#include "lxdmiterator.h"

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

const char kDiamond[] = "\\SU\xE2\x8B\x84\\sU";   // the usage mark
const char kArrow[] = "\\SU\xE2\x86\x92\\sU";

lxstring utf8(const char *s)
{
    return lxstring(s, 0, 0);
}

// The code points of a string, for scanning by index (indexing a UTF-8 lxstring walks).
std::u32string codePoints(const lxstring &s)
{
    std::u32string out;
    out.reserve(static_cast<size_t>(s.length()));
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it)
        out += static_cast<char32_t>(*it);
    return out;
}

bool isLabelCode(uint32_t c)
{
    return c >= 43 && c <= 72 && c != 59;
}

bool hasAny(const LXDefinition &d, std::initializer_list<uint32_t> codes)
{
    for (uint32_t c : codes) {
        if (d.hasFeature(c))
            return true;
    }
    return false;
}

bool containsText(const lxstring &s, const char *needle)
{
    return !s.find(needle).isAtEnd();
}

// Replaces every occurrence of from that begins on a code boundary (never inside a
// backslash code), scanning forwards.
void replaceCodes(lxstring &s, const char *from, const char *to)
{
    lxstring pattern = utf8(from);
    lxstring with = utf8(to);
    int32_t plen = pattern.length();
    if (plen == 0 || !containsText(s, from))
        return;
    lxstring out(s.getEncoding(), s.getByteOrder());
    int32_t n = s.length();
    int32_t i = 0;
    // Code points are read once into an array: indexed access on UTF-8 walks.
    uint32_t *cps = new (std::nothrow) uint32_t[n > 0 ? n : 1];
    uint32_t *pcs = new (std::nothrow) uint32_t[plen];
    if (!cps || !pcs) {
        delete[] cps;
        delete[] pcs;
        return;
    }
    {
        int32_t k = 0;
        for (lxstring_iterator it = s.begin(); !it.isAtEnd() && k < n; ++it)
            cps[k++] = *it;
        k = 0;
        for (lxstring_iterator it = pattern.begin(); !it.isAtEnd() && k < plen; ++it)
            pcs[k++] = *it;
    }
    while (i < n) {
        bool match = i + plen <= n;
        for (int32_t k = 0; match && k < plen; ++k)
            match = cps[i + k] == pcs[k];
        if (match) {
            out += with;
            i += plen;
            continue;
        }
        int32_t len = 1;
        if (cps[i] == '\\') {
            len = 2;
            if (i + 1 >= n)
                len = 1;
            else {
                uint32_t k = cps[i + 1];
                if ((k == 'S' || k == 's' || k == 'T' || k == 'M' || k == 'm') && i + 2 < n)
                    len = 3;
            }
        }
        for (int32_t k = 0; k < len; ++k)
            out += cps[i + k];
        i += len;
    }
    delete[] cps;
    delete[] pcs;
    s = out;
}

class Writer {
public:
    explicit Writer(const LXMarkupExpander &e) : m_e(e), m_out(0, 0) {}

    lxstring &out() { return m_out; }
    void text(const char *s) { m_out += s; }
    void text(const lxstring &s) { m_out += s; }
    void cp(uint32_t c) { m_out += c; }
    bool endsInBlank() const { return m_out.length() > 0 && m_out[-1] == ' '; }
    void blank()
    {
        if (!endsInBlank())
            m_out += static_cast<uint32_t>(' ');
    }

    // "\M" c content "\m" c; codes outside the table (and 0, which would end a result
    // in the layout) show their content alone.
    void wrap(uint32_t code, const lxstring &content)
    {
        if (code == 0 || code >= LXMarkupExpander::kCodeCount) {
            m_out += content;
            return;
        }
        m_out += "\\M";
        m_out += code;
        m_out += content;
        m_out += "\\m";
        m_out += code;
    }

    // A feature in its own code, set off from what precedes it by a blank unless its
    // markup starts a block or brings its own blank.
    void feature(uint32_t code, const lxstring &content)
    {
        lxstring open = m_e.getOpening(code);
        bool ownSpace = open.length() > 0 && (open[0] == ' ' || (open[0] == '\\' && open[1] == 'T'));
        if (!ownSpace && m_out.length() > 0)
            blank();
        wrap(code, content);
    }

    void pronunciation(const lxstring &t)
    {
        lxstring_iterator at = t.find("\\M");
        if (at.isAtEnd()) {
            wrap(13, t);
            return;
        }
        wrap(13, t.substr(0, at.getCharIndex()));
        blank();
        m_out += t.substr(at.getCharIndex());
    }

    // Double brackets become code 40, single ones the given markup.
    void brackets(const lxstring &t, const char *open, const char *close)
    {
        std::u32string u = codePoints(t);
        size_t n = u.size();
        for (size_t i = 0; i < n; ++i) {
            uint32_t c = u[i];
            uint32_t next = i + 1 < n ? u[i + 1] : 0;
            if (c == '[' && next == '[') {
                m_out += "\\M(";
                ++i;
            } else if (c == ']' && next == ']') {
                m_out += "\\m(";
                ++i;
            } else if (c == '[') {
                m_out += open;
            } else if (c == ']') {
                m_out += close;
            } else {
                m_out += c;
            }
        }
    }

private:
    const LXMarkupExpander &m_e;
    lxstring m_out;
};

lxstring upper(const lxstring &s)
{
    lxstring u(s);
    u.toupper();
    return u;
}

lxstring marked(const lxstring &s, uint32_t letter, bool mark)
{
    if (!mark)
        return s;
    lxstring out(0, 0);
    LXMarkupExpander::markWords(s, letter, out);
    return out;
}

// The text with each "$$" replaced by the next comma-separated part of the part-of-speech
// name in the given code (the last "$$" takes the rest); the text between is word-marked.
lxstring fillPlaceholders(const lxstring &text, const lxstring &pos, uint32_t code, uint32_t letter, bool mark)
{
    std::u32string tx = codePoints(text);
    std::u32string ps = codePoints(pos);
    int32_t n = static_cast<int32_t>(tx.size());
    int32_t holes = 0;
    for (int32_t i = 0; i + 1 < n; ++i) {
        if (tx[i] == '$' && tx[i + 1] == '$') {
            ++holes;
            ++i;
        }
    }
    lxstring out(0, 0);
    lxstring segment(0, 0);
    int32_t pn = static_cast<int32_t>(ps.size());
    int32_t cursor = 0;
    int32_t seen = 0;
    for (int32_t i = 0; i < n; ++i) {
        uint32_t c = tx[i];
        if (c == '$' && i + 1 < n && tx[i + 1] == '$') {
            out += marked(segment, letter, mark);
            segment.clear();
            ++i;
            ++seen;
            lxstring part(0, 0);
            if (seen == holes) {
                part = pos.substr(cursor < pn ? cursor : pn);
                cursor = pn;
            } else {
                while (cursor < pn && ps[cursor] != ',')
                    part += static_cast<uint32_t>(ps[cursor++]);
                while (cursor < pn && (ps[cursor] == ',' || ps[cursor] == ' '))
                    ++cursor;
            }
            if (!part.empty()) {
                out += "\\M";
                out += code;
                out += part;
                out += "\\m";
                out += code;
            }
        } else {
            segment += c;
        }
    }
    out += marked(segment, letter, mark);
    return out;
}

} // namespace

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
            codes[c].opening = utf8(row.opening);
            codes[c].closing = utf8(row.closing);
            codes[c].display = row.display;
        }
    }
    m_codes = codes;
    return true;
}

lxstring LXMarkupExpander::getOpening(uint32_t code) const
{
    return m_codes && code < kCodeCount ? m_codes[code].opening : lxstring();
}

lxstring LXMarkupExpander::getClosing(uint32_t code) const
{
    return m_codes && code < kCodeCount ? m_codes[code].closing : lxstring();
}

bool LXMarkupExpander::isDisplayCode(uint32_t code) const
{
    return m_codes && code < kCodeCount && m_codes[code].display;
}

void LXMarkupExpander::markWords(const lxstring &text, uint32_t letter, lxstring &out)
{
    out.clear();
    std::u32string u = codePoints(text);
    size_t n = u.size();
    bool open = false;
    size_t i = 0;
    while (i < n) {
        uint32_t c = u[i];
        if (c == '\\') {
            if (open) {
                out += "\\s";
                out += letter;
                open = false;
            }
            size_t len = 2;
            if (i + 1 >= n) {
                len = 1;
            } else {
                uint32_t k = u[i + 1];
                if ((k == 'S' || k == 's' || k == 'T' || k == 'M' || k == 'm') && i + 2 < n)
                    len = 3;
            }
            for (size_t k = 0; k < len; ++k)
                out += static_cast<uint32_t>(u[i + k]);
            i += len;
            continue;
        }
        if (open && !lx_iswordchar(c)) {
            out += "\\s";
            out += letter;
            open = false;
        } else if (!open && lx_iswordchar(c) && !lx_isdigit(c) && c != '-' && c != '\'') {
            out += "\\S";
            out += letter;
            open = true;
        }
        out += c;
        ++i;
    }
    if (open) {
        out += "\\s";
        out += letter;
    }
}

void LXMarkupExpander::convert(const lxstring &in, lxstring &display) const
{
    display.clear();
    int32_t n = in.length();
    // Read once: indexed access on a UTF-8 string walks from the start.
    uint32_t *cps = new (std::nothrow) uint32_t[n > 0 ? n : 1];
    if (!cps)
        return;
    {
        int32_t k = 0;
        for (lxstring_iterator it = in.begin(); !it.isAtEnd() && k < n; ++it)
            cps[k++] = *it;
    }
    for (int32_t i = 0; i < n; ++i) {
        uint32_t c = cps[i];
        if (c == '\\' && i + 1 < n) {
            uint32_t k = cps[i + 1];
            if ((k == 'M' || k == 'm') && i + 2 < n && cps[i + 2] < kCodeCount && m_codes) {
                uint32_t code = cps[i + 2];
                if (k == 'M') {
                    if (code == 59 && !(display.length() > 0 && display[-1] == ' '))
                        display += static_cast<uint32_t>(' ');
                    display += m_codes[code].opening;
                } else {
                    display += m_codes[code].closing;
                }
                i += 2;
                continue;
            }
            // Any other code passes unchanged; the character after "\F", "\M" or "\m"
            // (a field digit or a code character) is never a brace to convert.
            display += c;
            display += k;
            ++i;
            if ((k == 'F' || k == 'M' || k == 'm') && i + 1 < n) {
                display += cps[i + 1];
                ++i;
            }
            continue;
        }
        if (c == '{')
            display += "\\SI";
        else if (c == '}')
            display += "\\sI";
        else
            display += c;
    }
    delete[] cps;
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
    Writer w(*this);
    const bool mark = (flags & MarkWords) != 0;
    const bool forced = (flags & HeadwordBlock) != 0;
    const lxstring &pos = term.getPartOfSpeechName();
    const uint32_t posCode = first ? 4 : 5;

    // Headword block, or the start of a further term of the headword.
    bool usedTE = false;
    if (first || forced) {
        w.text("\\TM\\F0");
        if (term.hasFeature(32))
            w.text("\\M ");
        if (forced)
            w.text(kArrow);
        w.wrap(1, marked(term.getHeadword(), 'W', mark));
    } else if (!pos.empty()) {
        w.text("\\TE\\F0");
        usedTE = true;
    } else if (term.hasFeature(32)) {
        w.text("\\TB\\F0");
    } else if (term.hasFeature(15)) {
        w.text("\\TC\\F0 ");
    } else {
        w.text("\\F0");
    }

    // Part of speech.
    if (!pos.empty()) {
        if (!usedTE)
            w.cp(' ');
        lxstring like;
        if (term.getFeature(87, like)) {
            lxstring c = utf8("(") + upper(pos) + utf8(": \\SIlike\\sI \\SB") + like + utf8("\\sB)");
            w.wrap(4, c);
        } else {
            w.wrap(4, upper(pos));
        }
    }

    // Feature 117, the pronunciations, feature 40.
    const LXFeatureList &features = term.getFeatures();
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if (f->first == 117)
            w.feature(117, f->second);
    }
    if (!forced) {
        bool firstPron = true;
        for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
            if (f->first != 13)
                continue;
            if (!firstPron)
                w.cp(',');
            w.pronunciation(f->second);
            firstPron = false;
        }
    }
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if (f->first == 40)
            w.brackets(f->second, ", \\Sy\\SI", "\\sI\\sy");
    }

    // The other features of the term: inline labels in groups, usages, the rest in their codes.
    const bool synonyms = term.getTranslationLanguage() == LXSynonyms;
    bool group = false;
    uint32_t prevLabel = 0;
    bool firstUsage = true;
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        uint32_t c = f->first;
        if (c == 13 || c == 40 || c == 87 || c == 108 || c == 117)
            continue;
        if (isLabelCode(c)) {
            if (group && !(synonyms || c == 45 || prevLabel == 45)) {
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
        if (c == 85) {
            if (firstUsage) {
                w.text("\\TP\\Sy");
                if (!term.hasFeature(112))
                    w.text(kDiamond);
                w.text("\\sy ");
                firstUsage = false;
            } else {
                w.text("\\Sk,\\sk ");
            }
            w.wrap(85, fillPlaceholders(f->second, pos, posCode, 'W', mark));
            continue;
        }
        w.feature(c, f->second);
    }
    if (group)
        w.text(")\\s-\\sy");

    // Definitions.
    const LXList<LXDefinition> &defs = term.getDefinitions();
    int32_t number = 0;
    int32_t count73 = 0;
    int32_t count74 = 0;
    bool teDone = false;
    bool any109 = false;
    bool prevHadText = false;
    bool prevHad75 = false;
    bool prevHad86 = false;
    bool prevWroteLabel = false;
    bool anyText = false;
    bool textSince73 = true;
    const bool term37 = term.hasFeature(37);
    for (LXList<LXDefinition>::const_iterator di = defs.begin(); !di.isAtEnd(); ++di) {
        const LXDefinition &d = *di;
        ++number;
        bool wroteLabel = false;
        bool wrote107 = false;
        const bool hasText = !d.getText().empty();

        if (!teDone && (term37 || last) && hasAny(d, {80, 79, 115, 108})) {
            w.text("\\TE");
            teDone = true;
        }
        // The field character is the definition's number as a digit from "0"; numbers
        // whose character would be a backslash or beyond keep the previous field.
        if (number <= 43) {
            w.text("\\F");
            w.cp(static_cast<uint32_t>(48 + number));
        }
        if (d.hasFeature(114))
            w.text("\\TC");
        if (d.hasFeature(109) && any109 && !prevWroteLabel)
            w.cp(';');
        if (d.hasFeature(86) && prevHad86)
            w.cp(';');
        if (d.hasFeature(73)) {
            w.text("\\SB\\Sb\\S<");
            if (!textSince73)
                w.cp(' ');
            w.text(term37 ? "\\TP\\D\\s<\\sb\\sB" : " \\D\\s<\\sb\\sB");
            ++count73;
            textSince73 = false;
        }
        if (d.hasFeature(74)) {
            w.text("\\SB\\Sb\\S< \\P\\s<\\sb\\sB");
            ++count74;
        }
        if (d.hasFeature(107)) {
            for (LXFeatureList::const_iterator f = d.getFeatures().begin(); !f.isAtEnd(); ++f) {
                if (!isLabelCode(f->first))
                    continue;
                w.text(" \\SI\\Sy");
                w.text(f->second);
                w.text(":\\sy\\sI");
                wrote107 = true;
            }
        }
        if (d.hasFeature(115)) {
            LXLanguage from = term.getLanguage(), to = term.getTranslationLanguage();
            if ((from == LXFrench || from == LXSpanish) && to == LXEnglish)
                w.text("\\SU\xE2\x86\x92\\sU \\Skbox\\sk");
            else if (from == LXEnglish && to == LXFrench)
                w.text("\\SU\xE2\x86\x92\\sU \\Skencadr\xC3\xA9\\sk");
            else if (from == LXEnglish && to == LXSpanish)
                w.text("\\SU\xE2\x86\x92\\sU \\Skrecuadro\\sk");
        }

        // The text with its part of speech, in the definition's flagged code.
        uint32_t code = d.getOriginNumber() == 100 ? 6 : 8;
        for (LXFeatureList::const_iterator f = d.getFeatures().begin(); !f.isAtEnd(); ++f) {
            if (isDisplayCode(f->first)) {
                code = f->first;
                break;
            }
        }
        const lxstring &dpos = d.getPartOfSpeechName();
        lxstring body(0, 0);
        if (containsText(d.getText(), "$$")) {
            body = fillPlaceholders(d.getText(), dpos, posCode, 'X', mark);
        } else {
            body = marked(d.getText(), 'X', mark);
            if (d.hasFeature(114)) {
                body += static_cast<uint32_t>(' ');
            } else if (!dpos.empty()) {
                if (!body.empty())
                    body += static_cast<uint32_t>(' ');
                body += "\\M";
                body += posCode;
                body += first ? upper(dpos) : dpos;
                body += "\\m";
                body += posCode;
            }
        }
        if (!body.empty()) {
            bool comma = hasText && prevHadText && !prevHad75 && !wrote107 &&
                         !hasAny(d, {73, 74, 86, 111, 99, 87, 109, 113});
            if (comma)
                w.cp(',');
            if (!hasAny(d, {114, 34, 87, 113}))
                w.blank();
            w.wrap(code, body);
        }
        if (hasText) {
            anyText = true;
            textSince73 = true;
        }

        // The definition's own features.
        bool usage = false;
        bool dgroup = false;
        uint32_t dprev = 0;
        const bool has107 = d.hasFeature(107);
        for (LXFeatureList::const_iterator f = d.getFeatures().begin(); !f.isAtEnd(); ++f) {
            uint32_t c = f->first;
            if (f->second.empty() && c != 59)
                continue;
            if (c == 87 || c == 108 || c == 117)
                continue;
            if (isLabelCode(c)) {
                if (has107)
                    continue;
                if (dgroup && !(synonyms || c == 45 || dprev == 45)) {
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
            if (c == 13) {
                w.pronunciation(f->second);
            } else if (c == 40) {
                w.cp(' ');
                w.brackets(f->second, "\\Sk\\SI", "\\sI\\sk");
            } else if (c == 85) {
                if (!usage) {
                    if (anyText)
                        w.text("\\TP");
                    w.text("\\Sy");
                    if (!d.hasFeature(112))
                        w.text(kDiamond);
                    w.text("\\sy ");
                    usage = true;
                } else {
                    w.text("\\Sk,\\sk ");
                }
                w.wrap(85, f->second);
                count74 = 0;
            } else {
                w.feature(c, f->second);
            }
        }
        if (dgroup)
            w.text(")\\s-\\sy");
        if (d.hasFeature(114)) {
            w.cp(' ');
            w.wrap(5, dpos);
        }

        prevHadText = hasText;
        prevHad75 = d.hasFeature(75);
        prevHad86 = d.hasFeature(86);
        prevWroteLabel = wroteLabel;
        if (d.hasFeature(109))
            any109 = true;
    }

    lxstring &t = w.out();
    if (last && !forced)
        t += static_cast<uint32_t>(10);
    if (count73 < 2) {
        replaceCodes(t, "\\TP\\D", "\\TP\\SP\\Sy\\SU\xE2\x8B\x84\\sU\\sy\\sP");
        replaceCodes(t, "  \\D", "");
        replaceCodes(t, " \\D", "");
        replaceCodes(t, "\\D", "");
    }
    replaceCodes(t, " \\P", count74 > 1 ? " \\D" : "");
    convert(t, text);
}
