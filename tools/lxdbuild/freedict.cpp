#include "freedict.h"

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <sstream>

bool freedictDecodeNumber(const std::string &text, uint64_t &value)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (text.empty() || text.size() > 8)   // eight digits are 48 bits: far beyond any file here
        return false;
    uint64_t v = 0;
    for (char c : text) {
        const char *p = c ? std::strchr(alphabet, c) : nullptr;
        if (!p)
            return false;
        v = v * 64 + static_cast<uint64_t>(p - alphabet);
    }
    value = v;
    return true;
}

bool freedictInflate(const std::string &compressed, std::string &out, std::string &error)
{
    out.clear();
    if (compressed.size() < 18 || static_cast<unsigned char>(compressed[0]) != 0x1F ||
        static_cast<unsigned char>(compressed[1]) != 0x8B) {
        error = "not gzip data";
        return false;
    }
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit2(&z, 15 + 16) != Z_OK) {
        error = "zlib could not start";
        return false;
    }
    const size_t total = compressed.size();
    size_t consumed = 0;
    char chunk[1 << 16];
    int rc = Z_OK;
    while (consumed < total) {
        // zlib counts in uInt; feed at most 1 GiB at a time.
        size_t feed = total - consumed;
        if (feed > (1u << 30))
            feed = 1u << 30;
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data() + consumed));
        z.avail_in = static_cast<uInt>(feed);
        do {
            z.next_out = reinterpret_cast<Bytef *>(chunk);
            z.avail_out = sizeof chunk;
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END) {
                inflateEnd(&z);
                error = rc == Z_BUF_ERROR ? "compressed data cut short" : "corrupt compressed data";
                out.clear();
                return false;
            }
            out.append(chunk, sizeof chunk - z.avail_out);
        } while (z.avail_out == 0 && rc != Z_STREAM_END);
        consumed += feed - z.avail_in;
        if (rc == Z_STREAM_END) {
            // Another member may follow (concatenated gzip); trailing zero padding is ignored.
            size_t rest = consumed;
            while (rest < total && compressed[rest] == 0)
                ++rest;
            if (rest >= total) {
                consumed = total;
                break;
            }
            consumed = rest;
            inflateReset(&z);
            rc = Z_OK;
        } else if (feed - z.avail_in == 0 && z.avail_out != 0) {
            break;   // no progress: input exhausted without the end of the stream
        }
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) {
        error = "compressed data cut short";
        out.clear();
        return false;
    }
    return true;
}

bool freedictReadFile(const std::string &path, std::string &content)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad())
        return false;
    content = ss.str();
    return true;
}

namespace {

std::string trim(const std::string &s)
{
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r'))
        ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r'))
        --b;
    return s.substr(a, b - a);
}

// Single blanks between words.
std::string squeeze(const std::string &s)
{
    std::string out;
    bool blank = false;
    for (char c : s) {
        if (c == ' ' || c == '\t' || c == '\r') {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

bool startsWith(const std::string &s, const char *head)
{
    return s.compare(0, std::strlen(head), head) == 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "12." alone: the numbering of explanations, which carries nothing.
bool isBareNumber(const std::string &s)
{
    size_t i = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i > 0 && i + 1 == s.size() && s[i] == '.';
}

// "3. text": length of the "3. " prefix, else 0.
size_t numberedPrefix(const std::string &s)
{
    size_t i = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    if (i > 0 && i + 1 < s.size() && s[i] == '.' && s[i + 1] == ' ')
        return i + 2;
    return 0;
}

// The annotations after a headword: " /pron/", " <pos>" and " (ALT /pron/)" groups up
// to the end of the line. Fills the article only when the whole tail parses.
bool parseHeadwordTail(const std::string &line, size_t p, FreeDictArticle &a)
{
    std::vector<std::string> prons, alts, marks;
    while (p < line.size()) {
        if (line[p] == ' ') {
            ++p;
            continue;
        }
        char open = line[p];
        char close = open == '/' ? '/' : open == '<' ? '>' : open == '(' ? ')' : 0;
        if (!close)
            return false;
        size_t q = line.find(close, p + 1);
        if (q == std::string::npos)
            return false;
        std::string inner = trim(line.substr(p + 1, q - p - 1));
        if (open == '/') {
            if (!inner.empty())
                prons.push_back(inner);
        } else if (open == '<') {
            if (!inner.empty())
                marks.push_back(inner);
        } else {
            size_t slash = inner.find(" /");
            std::string alt = trim(slash == std::string::npos ? inner : inner.substr(0, slash));
            if (slash != std::string::npos) {
                size_t end = inner.find('/', slash + 2);
                if (end != std::string::npos && end > slash + 2)
                    prons.push_back(trim(inner.substr(slash + 2, end - slash - 2)));
            }
            if (!alt.empty())
                alts.push_back(alt);
        }
        p = q + 1;
    }
    a.pronunciations = prons;
    a.alternatives = alts;
    a.partOfSpeech.clear();
    for (size_t i = 0; i < marks.size(); ++i) {
        if (i)
            a.partOfSpeech += ", ";
        a.partOfSpeech += marks[i];
    }
    return true;
}

void parseHeadwordLine(const std::string &raw, FreeDictArticle &a)
{
    std::string line = trim(raw);
    // The headword ends at the first blank from which the rest is all annotations.
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (line[i] == ' ' && (line[i + 1] == '/' || line[i + 1] == '<' || line[i + 1] == '(') &&
            parseHeadwordTail(line, i, a)) {
            a.headword = trim(line.substr(0, i));
            return;
        }
    }
    a.headword = line;
}

// Removes "{" and "}" around cross-referenced words: "{a}, {b}" gives "a, b".
std::string unbrace(const std::string &s)
{
    std::string out;
    for (char c : s) {
        if (c != '{' && c != '}')
            out += c;
    }
    return squeeze(out);
}

FreeDictSense parseSense(const std::string &raw)
{
    FreeDictSense sense;
    std::string s = trim(raw);
    // dictd's rendering leaves the number of the next explanation at the end: "Biene 2."
    size_t e = s.size();
    if (e >= 3 && s[e - 1] == '.' && isDigit(s[e - 2])) {
        size_t d = e - 2;
        while (d > 0 && isDigit(s[d - 1]))
            --d;
        if (d > 0 && s[d - 1] == ' ')
            s = trim(s.substr(0, d - 1));
    }
    // Bracketed labels: short, not nested, not a bare sense reference such as [1].
    std::string rest;
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '[') {
            size_t q = s.find(']', i + 1);
            if (q != std::string::npos && q - i - 1 <= 30 && q > i + 1) {
                std::string inner = s.substr(i + 1, q - i - 1);
                bool ok = inner.find('[') == std::string::npos;
                bool digits = true;
                for (char c : inner)
                    digits = digits && isDigit(c);
                if (ok && !digits) {
                    sense.labels.push_back(trim(inner));
                    rest += ' ';
                    i = q + 1;
                    continue;
                }
            }
        }
        rest += s[i++];
    }
    // Part-of-speech marks: taken out only when the whole line shares one.
    std::vector<std::string> marks;
    std::string bare;
    for (size_t i = 0; i < rest.size();) {
        if (rest[i] == '<') {
            size_t q = rest.find('>', i + 1);
            if (q != std::string::npos && rest.find('<', i + 1) > q) {
                marks.push_back(trim(rest.substr(i + 1, q - i - 1)));
                bare += ' ';
                i = q + 1;
                continue;
            }
        }
        bare += rest[i++];
    }
    bool shared = !marks.empty();
    for (const std::string &m : marks)
        shared = shared && m == marks[0] && !m.empty();
    std::string text = squeeze(shared ? bare : rest);
    // A blank left in front of a comma by a removed mark: "Haus <neut> , Heim" reads "Haus, Heim".
    std::string tidy;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ',')
            continue;
        tidy += text[i];
    }
    sense.text = tidy;
    if (shared)
        sense.partOfSpeech = marks[0];
    if (sense.text.empty())
        sense.text = squeeze(s);
    return sense;
}

} // namespace

bool freedictParseArticle(const std::string &text, FreeDictArticle &a)
{
    a = FreeDictArticle();
    std::vector<std::string> lines;
    {
        size_t p = 0;
        while (p <= text.size()) {
            size_t q = text.find('\n', p);
            if (q == std::string::npos)
                q = text.size();
            lines.push_back(text.substr(p, q - p));
            p = q + 1;
        }
    }
    size_t first = 0;
    while (first < lines.size() && trim(lines[first]).empty())
        ++first;
    if (first == lines.size())
        return false;
    parseHeadwordLine(lines[first], a);
    if (a.headword.empty())
        return false;

    bool afterExample = false;
    for (size_t i = first + 1; i < lines.size(); ++i) {
        const std::string &raw = lines[i];
        std::string s = trim(raw);
        if (s.empty()) {
            afterExample = false;
            continue;
        }
        size_t indent = raw.find_first_not_of(" \t");
        if (isBareNumber(s))
            continue;
        if (indent >= 1) {
            struct { const char *head; FreeDictNoteKind kind; } heads[] = {
                {"Synonyms:", FreeDictSynonyms}, {"Synonym:", FreeDictSynonyms},
                {"Antonyms:", FreeDictAntonyms}, {"Antonym:", FreeDictAntonyms},
                {"see:", FreeDictSeeAlso},       {"Note:", FreeDictNote},
            };
            bool done = false;
            for (auto &h : heads) {
                if (startsWith(s, h.head)) {
                    std::string body = unbrace(s.substr(std::strlen(h.head)));
                    if (!body.empty())
                        a.notes.emplace_back(h.kind, body);
                    done = true;
                    break;
                }
            }
            if (done) {
                afterExample = false;
                continue;
            }
            if (indent >= 2 && s[0] == '"') {
                a.notes.emplace_back(FreeDictExample, squeeze(s));
                afterExample = true;
                continue;
            }
            if (afterExample && !a.notes.empty()) {
                // The translation of an example, on the line under it.
                a.notes.back().second += " - " + squeeze(s);
                afterExample = false;
                continue;
            }
        }
        afterExample = false;
        size_t num = indent == 0 ? numberedPrefix(s) : 0;
        if (num) {
            a.senses.push_back(parseSense(s.substr(num)));
        } else if (a.senses.empty()) {
            a.senses.push_back(parseSense(s));
        } else {
            a.senses.back().glosses.push_back(squeeze(s));
        }
    }
    return true;
}

bool FreeDictDatabase::open(const std::string &base, std::string &error)
{
    m_lines.clear();
    m_data.clear();
    m_indexPath = base + ".index";
    std::string index;
    if (!freedictReadFile(m_indexPath, index)) {
        error = m_indexPath + ": cannot be read";
        return false;
    }
    m_dataPath = base + ".dict.dz";
    std::string raw;
    if (freedictReadFile(m_dataPath, raw)) {
        std::string why;
        if (!freedictInflate(raw, m_data, why)) {
            error = m_dataPath + ": " + why;
            return false;
        }
    } else {
        m_dataPath = base + ".dict";
        if (!freedictReadFile(m_dataPath, m_data)) {
            error = base + ".dict.dz: cannot be read";
            return false;
        }
    }

    uint32_t lineNo = 0;
    size_t p = 0;
    while (p < index.size()) {
        size_t q = index.find('\n', p);
        if (q == std::string::npos)
            q = index.size();
        std::string line = index.substr(p, q - p);
        p = q + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        size_t t1 = line.find('\t');
        size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
        FreeDictIndexLine l;
        l.line = lineNo;
        std::string where = m_indexPath + ":" + std::to_string(lineNo) + ": ";
        if (t2 == std::string::npos || line.find('\t', t2 + 1) != std::string::npos ||
            !freedictDecodeNumber(line.substr(t1 + 1, t2 - t1 - 1), l.offset) ||
            !freedictDecodeNumber(line.substr(t2 + 1), l.length)) {
            error = where + "not a line of headword, offset and length";
            m_lines.clear();
            return false;
        }
        l.headword = line.substr(0, t1);
        if (l.offset > m_data.size() || l.length > m_data.size() - l.offset) {
            error = where + "article at " + std::to_string(l.offset) + "+" + std::to_string(l.length) +
                    " lies beyond the " + std::to_string(m_data.size()) + " bytes of " + m_dataPath;
            m_lines.clear();
            return false;
        }
        // dictd's own pseudo-entries (00-database-info and the like) are no headwords.
        if (startsWith(l.headword, "00database") || startsWith(l.headword, "00-database"))
            continue;
        m_lines.push_back(l);
    }
    return true;
}

std::string FreeDictDatabase::article(const FreeDictIndexLine &line) const
{
    if (line.offset > m_data.size() || line.length > m_data.size() - line.offset)
        return std::string();
    return m_data.substr(static_cast<size_t>(line.offset), static_cast<size_t>(line.length));
}
