// Reading of the compiled morphological transducers of Debian's apertium packages: the
// paths of a transducer that match a pattern ("*<vblex><*>": every verb form) are listed
// by lttoolbox's lt-paradigm and parsed here into (lemma, tags, form) entries.
#ifndef WORDMERE_TOOLS_LXCBUILD_APERTIUM_H
#define WORDMERE_TOOLS_LXCBUILD_APERTIUM_H

#include <map>
#include <string>
#include <vector>

struct ParadigmEntry {
    std::string lemma;                  // "hablar", "acercarse"
    std::vector<std::string> tags;      // {"vblex", "pri", "p1", "sg"}
    std::string form;                   // "hablo"

    // True when the tags hold every one of the wanted tags (in any order).
    bool hasTags(const std::vector<std::string> &wanted) const;
};

// Parses one line of lt-paradigm's output, "lemma<tag1><tag2>:form"; backslash escapes
// are undone. False for a line of another shape.
bool parseParadigmLine(const std::string &line, ParadigmEntry &entry);

// Runs "lt-paradigm [-a] TRANSDUCER" over the patterns (one per line) and parses every
// line it prints. analyser: the transducer has the tags on its right side (an analyser);
// otherwise it is a generator. False with a message when lt-paradigm cannot be run, fails,
// or prints a line that does not parse.
bool listParadigms(const std::string &transducer, bool analyser, const std::vector<std::string> &patterns,
                   std::vector<ParadigmEntry> &entries, std::string &error);

// The entries grouped by lemma, in the order of first appearance within each lemma.
std::map<std::string, std::vector<ParadigmEntry>> groupByLemma(const std::vector<ParadigmEntry> &entries);

#endif
