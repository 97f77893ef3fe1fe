#include "verbiste.h"

#include <fstream>
#include <sstream>

const XmlNode *XmlNode::child(const std::string &n) const
{
    for (const auto &c : children) {
        if (c->name == n)
            return c.get();
    }
    return nullptr;
}

bool readFile(const std::string &path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

namespace {

class Parser {
public:
    explicit Parser(const std::string &t) : s(t), i(0) {}

    std::unique_ptr<XmlNode> document(std::string &error)
    {
        std::unique_ptr<XmlNode> root;
        while (i < s.size()) {
            if (s.compare(i, 1, "<") != 0) {
                ++i;
                continue;
            }
            if (skipMarkup())
                continue;
            if (root) {
                error = "more than one root element";
                return nullptr;
            }
            root = element(error);
            if (!root)
                return nullptr;
        }
        if (!root)
            error = "no root element";
        return root;
    }

private:
    // Comments, processing instructions and declarations (with an internal subset).
    bool skipMarkup()
    {
        if (s.compare(i, 4, "<!--") == 0) {
            size_t e = s.find("-->", i + 4);
            i = e == std::string::npos ? s.size() : e + 3;
            return true;
        }
        if (s.compare(i, 2, "<?") == 0) {
            size_t e = s.find("?>", i + 2);
            i = e == std::string::npos ? s.size() : e + 2;
            return true;
        }
        if (s.compare(i, 2, "<!") == 0) {
            int depth = 0;
            for (; i < s.size(); ++i) {
                if (s[i] == '[')
                    ++depth;
                else if (s[i] == ']')
                    --depth;
                else if (s[i] == '>' && depth <= 0) {
                    ++i;
                    break;
                }
            }
            return true;
        }
        return false;
    }

    static bool nameChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == ':' || c == '.';
    }

    void spaces()
    {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r'))
            ++i;
    }

    static std::string unescape(const std::string &t)
    {
        std::string out;
        for (size_t k = 0; k < t.size(); ++k) {
            if (t[k] == '&') {
                size_t e = t.find(';', k);
                if (e != std::string::npos) {
                    std::string ent = t.substr(k + 1, e - k - 1);
                    const char *r = ent == "amp" ? "&" : ent == "lt" ? "<" : ent == "gt" ? ">"
                                  : ent == "quot" ? "\"" : ent == "apos" ? "'" : nullptr;
                    if (r) {
                        out += r;
                        k = e;
                        continue;
                    }
                }
            }
            out += t[k];
        }
        return out;
    }

    std::unique_ptr<XmlNode> element(std::string &error)
    {
        auto node = std::make_unique<XmlNode>();
        ++i; // '<'
        size_t start = i;
        while (i < s.size() && nameChar(s[i]))
            ++i;
        node->name = s.substr(start, i - start);
        if (node->name.empty()) {
            error = "element without a name";
            return nullptr;
        }
        for (;;) {
            spaces();
            if (i >= s.size()) {
                error = "unterminated tag <" + node->name + ">";
                return nullptr;
            }
            if (s.compare(i, 2, "/>") == 0) {
                i += 2;
                return node;
            }
            if (s[i] == '>') {
                ++i;
                break;
            }
            size_t a = i;
            while (i < s.size() && nameChar(s[i]))
                ++i;
            std::string attr = s.substr(a, i - a);
            spaces();
            if (attr.empty() || i >= s.size() || s[i] != '=') {
                error = "bad attribute in <" + node->name + ">";
                return nullptr;
            }
            ++i;
            spaces();
            if (i >= s.size() || (s[i] != '"' && s[i] != '\'')) {
                error = "unquoted attribute in <" + node->name + ">";
                return nullptr;
            }
            char q = s[i++];
            size_t e = s.find(q, i);
            if (e == std::string::npos) {
                error = "unterminated attribute";
                return nullptr;
            }
            node->attributes[attr] = unescape(s.substr(i, e - i));
            i = e + 1;
        }
        // Content.
        for (;;) {
            if (i >= s.size()) {
                error = "element <" + node->name + "> not closed";
                return nullptr;
            }
            if (s[i] != '<') {
                size_t e = s.find('<', i);
                if (e == std::string::npos)
                    e = s.size();
                node->text += unescape(s.substr(i, e - i));
                i = e;
                continue;
            }
            if (s.compare(i, 2, "</") == 0) {
                size_t e = s.find('>', i);
                if (e == std::string::npos) {
                    error = "unterminated end tag";
                    return nullptr;
                }
                std::string closing = s.substr(i + 2, e - i - 2);
                while (!closing.empty() && (closing.back() == ' ' || closing.back() == '\t'))
                    closing.pop_back();
                if (closing != node->name) {
                    error = "<" + node->name + "> closed by </" + closing + ">";
                    return nullptr;
                }
                i = e + 1;
                return node;
            }
            if (skipMarkup())
                continue;
            auto c = element(error);
            if (!c)
                return nullptr;
            node->children.push_back(std::move(c));
        }
    }

    const std::string &s;
    size_t i;
};

std::string trimmed(const std::string &t)
{
    size_t a = t.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return std::string();
    size_t b = t.find_last_not_of(" \t\r\n");
    return t.substr(a, b - a + 1);
}

} // namespace

std::unique_ptr<XmlNode> parseXml(const std::string &text, std::string &error)
{
    Parser p(text);
    return p.document(error);
}

namespace {

// The document of an XML file; null, with the error, when it cannot be read or parsed.
std::unique_ptr<XmlNode> parseXmlFile(const std::string &path, std::string &error)
{
    std::string text;
    if (!readFile(path, text)) {
        error = "cannot read " + path;
        return nullptr;
    }
    return parseXml(text, error);
}

} // namespace

bool readTemplates(const std::string &path, std::vector<VerbisteTemplate> &templates, std::string &error)
{
    std::unique_ptr<XmlNode> root = parseXmlFile(path, error);
    if (!root)
        return false;
    for (const auto &t : root->children) {
        if (t->name != "template")
            continue;
        VerbisteTemplate tpl;
        tpl.name = t->attributes["name"];
        size_t colon = tpl.name.find(':');
        if (colon == std::string::npos) {
            error = "template without a colon: " + tpl.name;
            return false;
        }
        tpl.termination = tpl.name.substr(colon + 1);
        for (const auto &mood : t->children) {
            for (const auto &tense : mood->children) {
                std::vector<VerbisteSlot> slots;
                for (const auto &p : tense->children) {
                    if (p->name != "p")
                        continue;
                    VerbisteSlot slot;
                    for (const auto &ending : p->children) {
                        if (ending->name == "i")
                            slot.push_back(trimmed(ending->text));
                    }
                    slots.push_back(slot);
                }
                tpl.tenses[mood->name + "/" + tense->name] = slots;
            }
        }
        templates.push_back(tpl);
    }
    return true;
}

bool readVerbs(const std::string &path, std::vector<VerbisteVerb> &verbs, std::string &error)
{
    std::unique_ptr<XmlNode> root = parseXmlFile(path, error);
    if (!root)
        return false;
    for (const auto &v : root->children) {
        if (v->name != "v")
            continue;
        const XmlNode *i = v->child("i");
        const XmlNode *t = v->child("t");
        if (!i || !t)
            continue;
        VerbisteVerb verb;
        verb.infinitive = trimmed(i->text);
        verb.templateName = trimmed(t->text);
        verb.aspirateH = v->child("aspirate-h") != nullptr;
        verbs.push_back(verb);
    }
    return true;
}
