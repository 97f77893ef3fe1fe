// Prints every form of a conjugation module for the comparison script, one per line:
// infinitive, tense, person and the forms joined by "," (an empty text for none),
// separated by tabs. Reflexive verbs are left out (the oracle knows none).
//
// usage: print_forms MODULE TENSE...
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugator.h"

namespace {

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: print_forms MODULE TENSE...\n");
        return 2;
    }
    std::vector<uint32_t> tenses;
    for (int i = 2; i < argc; ++i)
        tenses.push_back(static_cast<uint32_t>(std::atoi(argv[i])));
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator c;
    c.setCompressor(compressor);
    if (!c.openModule(lxstring(argv[1], LXEncodingUtf8))) {
        std::fprintf(stderr, "print_forms: cannot open %s\n", argv[1]);
        return 1;
    }
    uint32_t position = 0, next;
    LXVerb verb;
    while ((next = c.readVerb(position, verb)) > position && verb.model) {
        position = next;
        if (hasEntry(verb.entries, LXFeatureReflexive))
            continue;
        for (uint32_t tense : tenses) {
            for (uint32_t person = 37; person <= 42; ++person) {
                LXList<lxstring> forms;
                c.getConjugations(verb, tense, person, forms);
                std::string joined;
                for (LXList<lxstring>::iterator f = forms.begin(); !f.isAtEnd(); ++f)
                    joined += (joined.empty() ? "" : ",") + utf8(*f);
                std::printf("%s\t%u\t%u\t%s\n", utf8(verb.infinitive).c_str(), tense, person, joined.c_str());
            }
        }
    }
    c.closeModule();
    delete compressor;
    return 0;
}
