// Search patterns of any bytes into the regular-expression search over a small module:
// the rewriting, compiling, prefix ranges, matching and copying must never crash, hang
// or read out of bounds, whatever the options.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "format/lxcompressor.h"
#include "format/lxdwriter.h"
#include "model/lxtokenizer.h"
#include "search/lxdatamanager.h"
#include "search/lxdmiterator.h"
#include "testing/lxtest_terms.h"

namespace {

LXDataManager *manager()
{
    static LXDataManager *dm = nullptr;
    if (dm)
        return dm;
    dm = LXDataManager::create();
    const char *words[][2] = {
        {"abbey", "abbaye"},          {"able", "capable"},     {"a cappella", "a cappella"},
        {"café", "café"},             {"Café", "bistrot"},     {"résumé", "curriculum"},
        {"taxi cab", "taxi"},         {"hors-d'oeuvre", "x"},  {"ice cream", "glace"},
        {"manœuvre", "manœuvre"},     {"Straße", "rue"},       {"zzz", "ronflement"},
        {"x-ray", "radiographie"},    {"l'été", "summer"},     {"2nd", "deuxième"},
    };
    LXDWriter w(dm->getCompressor(), dm->getTokenizer(), LXEnglish, LXFrench);
    w.setSparseInterval(2);
    std::string why;
    for (auto &p : words) {
        w.addTerm(makeTerm(LXEnglish, p[0], {p[1]}), why);
        w.addTerm(makeTerm(LXFrench, p[1], {p[0]}), why);
    }
    // One file per process: fuzzing jobs of this and other checkouts run side by side.
    const char *tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/wordmere-regex-fuzz-" + std::to_string(getpid()) + ".lxd";
    w.write(path, why);
    dm->addDictionaryModule(lxstring(path.c_str(), LXEncodingUtf8));
    return dm;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 200)
        return 0;
    LXDataManager *dm = manager();
    LXDMRegexOptions o;
    o.posixSyntax = data[0] & 1;
    o.matchCase = (data[0] >> 1) & 1;
    o.wholeWords = (data[0] >> 2) & 1;
    o.ignoreAccents = (data[0] >> 3) & 1;
    o.searchDefinitions = (data[0] >> 4) & 1;
    LXLanguage language = (data[0] & 0x20) ? LXFrench : LXEnglish;
    std::string pattern(reinterpret_cast<const char *>(data + 1), size - 1);
    // The pattern as raw UTF-8 (the engine string stops at a 0 byte).
    lxstring p(pattern.c_str(), LXEncodingUtf8);

    LXDMIterator it;
    if (dm->initRegex(p, language, language == LXEnglish ? LXFrench : LXEnglish, 10, o, it)) {
        int steps = 0;
        for (; !it.isAtEnd() && steps < 64; ++it, ++steps) {
            if (it.isRegexMatch() && it.getMatchEnd() < it.getMatchStart())
                __builtin_trap();
        }
        LXDMIterator copy(it);
        --copy;
        copy.isRegexMatch();
    }
    return 0;
}
