// Reading of the verb data that Debian's verbiste package installs: the conjugation
// templates (conjugation-xx.xml) and the verb list (verbs-xx.xml).
#ifndef WORDMERE_TOOLS_LXCBUILD_VERBISTE_H
#define WORDMERE_TOOLS_LXCBUILD_VERBISTE_H

#include <map>
#include <memory>
#include <string>
#include <vector>

// A small XML element tree: elements, attributes and text; comments, processing
// instructions and the document type declaration are skipped.
struct XmlNode {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;                               // character data directly inside
    std::vector<std::unique_ptr<XmlNode>> children;

    const XmlNode *child(const std::string &name) const;
};

// Null and a message when the text is not well formed.
std::unique_ptr<XmlNode> parseXml(const std::string &text, std::string &error);
bool readFile(const std::string &path, std::string &text);

// One person slot: its alternative endings (empty when the person does not exist).
typedef std::vector<std::string> VerbisteSlot;

struct VerbisteTemplate {
    std::string name;                               // "radical:termination"
    std::string termination;                        // after the colon
    // "mood/tense" (for instance "indicative/present") -> slots in order.
    std::map<std::string, std::vector<VerbisteSlot>> tenses;
};

struct VerbisteVerb {
    std::string infinitive;
    std::string templateName;
    bool aspirateH = false;
};

bool readTemplates(const std::string &path, std::vector<VerbisteTemplate> &templates, std::string &error);
bool readVerbs(const std::string &path, std::vector<VerbisteVerb> &verbs, std::string &error);

#endif
