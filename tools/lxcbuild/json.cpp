#include "json.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Nesting deeper than this is refused rather than followed down the stack.
const int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(const std::string &d) : m_d(d) {}

    bool document(JsonValue &v, std::string &error)
    {
        bool ok = value(v, 0);
        skipSpace();
        if (ok && m_at != m_d.size())
            ok = false;
        if (!ok)
            error = "JSON not understood at byte " + std::to_string(m_at);
        return ok;
    }

private:
    void skipSpace()
    {
        while (m_at < m_d.size() && (m_d[m_at] == ' ' || m_d[m_at] == '\n' || m_d[m_at] == '\r' || m_d[m_at] == '\t'))
            ++m_at;
    }
    bool literal(const char *word)
    {
        std::string w(word);
        if (m_d.compare(m_at, w.size(), w) != 0)
            return false;
        m_at += w.size();
        return true;
    }
    static void appendUtf8(std::string &out, unsigned long c)
    {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    // Exactly four hexadecimal digits: no sign, space or "0x" slips through.
    bool hex4(unsigned long &c)
    {
        if (m_at + 4 > m_d.size())
            return false;
        c = 0;
        for (size_t i = 0; i < 4; ++i) {
            int d = hexDigit(m_d[m_at + i]);
            if (d < 0)
                return false;
            c = c * 16 + static_cast<unsigned long>(d);
        }
        m_at += 4;
        return true;
    }
    static int hexDigit(char h)
    {
        if (h >= '0' && h <= '9')
            return h - '0';
        if (h >= 'a' && h <= 'f')
            return h - 'a' + 10;
        if (h >= 'A' && h <= 'F')
            return h - 'A' + 10;
        return -1;
    }
    bool string(std::string &out)
    {
        if (m_at >= m_d.size() || m_d[m_at] != '"')
            return false;
        ++m_at;
        while (m_at < m_d.size()) {
            char c = m_d[m_at++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_d.size())
                return false;
            char e = m_d[m_at++];
            switch (e) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned long c1;
                if (!hex4(c1))
                    return false;
                if (c1 >= 0xD800 && c1 < 0xDC00 && literal("\\u")) {
                    unsigned long c2;
                    if (!hex4(c2) || c2 < 0xDC00 || c2 > 0xDFFF)
                        return false;
                    c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
                }
                appendUtf8(out, c1);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }
    // After a member or an item: a comma means another follows, the closing bracket ends the list.
    bool nextOrClose(char close, bool &more)
    {
        skipSpace();
        if (m_at >= m_d.size())
            return false;
        more = m_d[m_at] == ',';
        return m_d[m_at++] == (more ? ',' : close);
    }
    // An opening bracket already seen: true (and consumed) when the list closes at once.
    bool closesAtOnce(char close)
    {
        ++m_at;
        skipSpace();
        if (m_at < m_d.size() && m_d[m_at] == close) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool object(JsonValue &v, int depth)
    {
        v.kind = JsonValue::Object;
        if (closesAtOnce('}'))
            return true;
        for (bool more = true; more;) {
            skipSpace();
            std::string name;
            if (!string(name))
                return false;
            skipSpace();
            if (m_at >= m_d.size() || m_d[m_at++] != ':')
                return false;
            v.members.emplace_back(name, JsonValue());
            if (!value(v.members.back().second, depth + 1) || !nextOrClose('}', more))
                return false;
        }
        return true;
    }
    bool array(JsonValue &v, int depth)
    {
        v.kind = JsonValue::Array;
        if (closesAtOnce(']'))
            return true;
        for (bool more = true; more;) {
            v.items.emplace_back();
            if (!value(v.items.back(), depth + 1) || !nextOrClose(']', more))
                return false;
        }
        return true;
    }
    bool value(JsonValue &v, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        skipSpace();
        if (m_at >= m_d.size())
            return false;
        char c = m_d[m_at];
        if (c == '{')
            return object(v, depth);
        if (c == '[')
            return array(v, depth);
        if (c == '"') {
            v.kind = JsonValue::String;
            return string(v.text);
        }
        if (literal("true")) {
            v.kind = JsonValue::Bool;
            v.boolean = true;
            return true;
        }
        if (literal("false")) {
            v.kind = JsonValue::Bool;
            return true;
        }
        if (literal("null"))
            return true;
        const char *start = m_d.c_str() + m_at;
        char *end = nullptr;
        v.number = std::strtod(start, &end);
        if (end == start)
            return false;
        v.kind = JsonValue::Number;
        m_at += static_cast<size_t>(end - start);
        return true;
    }

    const std::string &m_d;
    size_t m_at = 0;
};

} // namespace

const JsonValue *JsonValue::find(const std::string &name) const
{
    for (const auto &m : members) {
        if (m.first == name)
            return &m.second;
    }
    return nullptr;
}

std::vector<std::string> JsonValue::strings() const
{
    std::vector<std::string> out;
    if (kind == String)
        out.push_back(text);
    for (const JsonValue &i : items) {
        if (i.kind == String)
            out.push_back(i.text);
    }
    return out;
}

bool parseJson(const std::string &document, JsonValue &value, std::string &error)
{
    value = JsonValue();
    return Parser(document).document(value, error);
}

bool readJsonFile(const std::string &path, JsonValue &value, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path + " (scripts/setup.sh installs the npm data packages into .deps/npm)";
        return false;
    }
    std::stringstream s;
    s << in.rdbuf();
    if (!parseJson(s.str(), value, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
