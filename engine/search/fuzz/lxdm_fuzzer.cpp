// Mutated dictionary modules through the data manager and the merging iterator:
// registration, walks in both directions, look-ups, proportional moves and a regular-
// expression scan. Two copies of the module are registered, so every step merges. A walk
// must end within as many steps as the module has bytes of index and terms (each step
// moves on), which catches a step that stands still.
//
// Input: each three bytes are a 16-bit offset into a small valid module and the byte to
// put there; a last lone byte cuts the file to that fraction of its length.
#include <cstdint>
#include <string>

#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "search/lxdatamanager.h"
#include "search/lxdmanager.h"
#include "testing/lxfuzz_module.h"

namespace {

LXDataManager *manager()
{
    static LXDataManager *dm = LXDataManager::create();
    return dm;
}

std::string scratchPath(const char *what)
{
    return fuzzScratchPath("lxdm_fuzz", what);
}

const std::string &seedModule()
{
    static std::string bytes;
    if (!bytes.empty())
        return bytes;
    LXDataManager *dm = manager();
    LXDWriter w(dm->getCompressor(), dm->getTokenizer(), LXEnglish, LXFrench);
    w.setSparseInterval(3);
    std::string why;
    const char *words[] = {"abbey", "able", "to run", "run", "run out", "house", "hose", "Straße", "zoo",
                           "x-ray", "naïve", "2nd", "give up", "œuvre", "ice cream"};
    int n = 0;
    for (const char *word : words) {
        for (LXLanguage lang : {LXEnglish, LXFrench}) {
            for (int pos = 0; pos < 2; ++pos, ++n) {
                LXTerm t;
                t.setLanguage(lang);
                t.setHeadword(u8(word));
                t.setPartOfSpeechName(u8(pos ? "v" : "n"));
                t.setPartOfSpeechCode(pos ? 6 : 2);
                LXDefinition d;
                d.setText(u8(n % 2 ? "one" : "two words"));
                t.addDefinition(d);
                w.addTerm(t, why);
            }
        }
    }
    bytes = writtenModule(w, scratchPath("-seed.lxd"));
    return bytes;
}

void walk(LXDataManager *dm, LXLanguage language, LXLanguage other, uint32_t bound)
{
    LXDMIterator it;
    dm->begin(language, other, 10, it);
    uint32_t steps = 0;
    for (; !it.isAtEnd(); ++it) {
        if (++steps > bound)
            __builtin_trap();   // a step that does not move on
        it.isAtFirstTermOfHeadword();
        it.isAtLastTermOfHeadword();
    }
    dm->end(language, other, 10, it);
    for (steps = 0; !it.isAtBeginning(); --it) {
        if (++steps > bound)
            __builtin_trap();
    }
    for (uint32_t n = 0; n <= 4; ++n) {
        dm->begin(language, other, 10, it);
        it.move(n, 4);
        it.stepForward();
        --it;
    }
    for (const char *p : {"", "run", "RUN", "ice cream", "to run", "zzz", "a b c"}) {
        dm->find(u8(p), language, other, 10, it);
        ++it;
        --it;
    }
    if (dm->initRegex(u8("*u*"), language, other, 10, LXDMRegexOptions(), it)) {
        for (steps = 0; !it.isAtEnd(); ++it) {
            if (++steps > bound)
                __builtin_trap();
            it.isRegexMatch();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LXDataManager *dm = manager();
    if (!dm)
        return 0;
    std::string file = seedModule();
    if (file.empty())
        return 0;
    applyChanges(file, data, size);
    static const std::string path = scratchPath(".lxd");
    writeBytes(path, file);
    dm->clear();
    dm->addDictionaryModule(u8(path.c_str()));
    dm->addDictionaryModule(u8(path.c_str()));
    if (dm->getNModules() == 0)
        return 0;
    LXD *module = (*dm->getLXDManager())[0];
    uint32_t bound = module->getIndexSize() + module->getTermsSize() + 2;
    walk(dm, module->getLanguage1(), module->getLanguage2(), 2 * bound);
    walk(dm, module->getLanguage2(), module->getLanguage1(), 2 * bound);
    return 0;
}
