// Mutated dictionary modules through validate, open, findHeadword, readTerm and the
// other readers. An input that starts with the container magic is the file itself;
// any other input is a list of (offset, byte) changes to a small valid module, so most
// runs reach past the header into the index and term records.
#include <cstdint>
#include <string>

#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "model/lxtokenizer.h"
#include "testing/lxfuzz_module.h"

namespace {

LXCompressor *compressor()
{
    static LXCompressor *c = LXCompressor::create();
    return c;
}

LXTokenizer *tokenizer()
{
    static LXTokenizer *t = LXTokenizer::create();
    return t;
}

std::string scratchPath(const char *what)
{
    return fuzzScratchPath("lxd_fuzz", what);
}

// A module of a few dozen terms in both directions, written once.
const std::string &seedModule()
{
    static std::string bytes;
    if (!bytes.empty())
        return bytes;
    LXDWriter w(compressor(), tokenizer(), LXEnglish, LXFrench);
    w.setSparseInterval(3);
    std::string why;
    const char *words[] = {"abbey", "able", "to run", "run out", "house", "hose", "Straße", "zoo", "x-ray",
                           "one's own", "naïve", "2nd", "give up", "to give up", "œuvre"};
    int n = 0;
    for (const char *word : words) {
        for (LXLanguage lang : {LXEnglish, LXFrench}) {
            LXTerm t;
            t.setLanguage(lang);
            t.setHeadword(u8(word));
            t.setPartOfSpeechName(u8(n % 3 == 0 ? "v" : n % 3 == 1 ? "n, masc" : ""));
            t.setPartOfSpeechCode(n % 3 == 0 ? 6 : n % 3 == 1 ? 2 : 1);
            t.addFeature(LXFeaturePronunciation, u8("ˈwɜːd"));
            LXDefinition d;
            d.setText(u8("translation"));
            d.addFeature(LXFeatureLabel, u8("jur."));
            t.addDefinition(d);
            w.addTerm(t, why);
            ++n;
        }
    }
    bytes = writtenModule(w, scratchPath("-seed.lxd"));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!compressor() || !tokenizer())
        return 0;
    static const std::string path = scratchPath(".lxd");
    std::string file;
    if (size >= 4 && data[0] == 0x05 && data[1] == 0xE9 && data[2] == 0xF1 && data[3] == 0x7E) {
        file.assign(reinterpret_cast<const char *>(data), size);
    } else {
        file = seedModule();
        if (file.empty())
            return 0;
        applyChanges(file, data, size);
    }
    writeBytes(path, file);

    LXD d(compressor(), tokenizer());
    if (!d.validate(u8(path.c_str())) || !d.open())
        return 0;
    const char *probes[] = {"", "a", "run", "RUN", "house", "Strasse", "zzz", "\xC3\xBF", "2nd"};
    for (const char *p : probes) {
        for (LXLanguage lang : {d.getLanguage1(), d.getLanguage2()}) {
            lxstring key;
            uint32_t rs = 0, re = 0, h = 0;
            d.findHeadword(u8(p), lang, key, rs, re, h);
            // Every term of the run found, as the module iterator would read them.
            uint32_t t = d.readIndexOffset(h);
            for (int k = 0; k < 64 && d.readTermsByte(t) != 0; ++k) {
                LXTerm term;
                uint32_t next = d.readTerm(term, h, t);
                if (next <= t)
                    break;
                t = next;
            }
            LXList<lxstring> near;
            d.getApproximateMatches(u8(p), lang, 0, near);
        }
    }
    LXList<LXTerm> all;
    d.readAllTerms(all);
    LXList<LXPair<lxstring, uint32_t>> pos;
    d.getPartsOfSpeech(pos, d.getLanguage1());
    return 0;
}
