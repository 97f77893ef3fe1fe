#include "verbmarks.h"

#include "freedict.h"
#include "lxconjugationrecords.h"
#include "lxconjugator.h"

const char *const kInferredVerbMark = "v";

namespace {

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

} // namespace

bool readVerbLists(const std::vector<std::string> &modules, LXCompressor *compressor, VerbLists &lists,
                   std::string &error)
{
    for (const std::string &path : modules) {
        LXConjugator conjugator;
        conjugator.setCompressor(compressor);
        if (!conjugator.openModule(lxstring(path.c_str(), LXEncodingUtf8))) {
            error = path + ": not a conjugation module that can be opened";
            return false;
        }
        std::set<std::string> &verbs = lists[conjugator.getLanguage()];
        LXVerb verb;
        for (uint32_t position = 0;;) {
            uint32_t next = conjugator.readVerb(position, verb);
            if (next <= position)
                break;
            if (!verb.infinitive.empty())
                verbs.insert(utf8(verb.infinitive));
            position = next;
        }
        conjugator.closeModule();
    }
    return true;
}

void markInferredVerb(FreeDictArticle &article, LXLanguage language, const VerbLists &lists)
{
    if (!article.partOfSpeech.empty())
        return;
    auto verbs = lists.find(language);
    if (verbs != lists.end() && verbs->second.count(article.headword))
        article.partOfSpeech = kInferredVerbMark;
}
