// libFuzzer target: a conjugation module made from the input, opened and asked every
// kind of question. The first byte chooses how the input is used:
//   even: the input (after that byte) is the whole file;
//   odd:  the input holds the nine streams, each preceded by a 16-bit length, written
//         as a container (compressed when bit 1 is set), so the records themselves are
//         what gets mutated; bits 2 to 4 choose the language of the header made when
//         the input gives none (French, Spanish, Italian, Portuguese, English, German),
//         so each language's form builder and display rules run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "format/lxcompressor.h"
#include "lxconjugationwriter.h"
#include "lxconjugator.h"

namespace {

std::string path()
{
    static std::string p = "/tmp/lxc_fuzzer_" + std::to_string(getpid()) + ".lxc";
    return p;
}

void ask(LXConjugator &c)
{
    LXVerb verb;
    uint32_t position = 0;
    static const char *const words[] = {"", "a", "aimer", "être", "zz", "s'appeler", "parlons",
                                        "puedo", "pidió", "acercarse", "durmo", "pôr", "reajo",
                                        "went", "am walking", "could", "realising", "liest", "kommt an",
                                        "bin gegangen"};
    for (const char *w : words) {
        lxstring word(w, LXEncodingUtf8);
        c.findVerb(word, position, verb);
        LXList<lxstring> list;
        c.getMatchingVerbs(word, list, true, 5);
        LXList<LXStem> stems;
        c.getVerbStems(word, stems, 2);
        c.getModelStems(word, stems);
    }
    // The first verb of the list, whatever it is.
    c.readVerb(0, verb);
    if (verb.model == 0)
        verb.model = 1;
    LXList<int> tenses;
    c.getTenses(verb, tenses, true);
    lxstring text;
    for (uint32_t tense = 72; tense < 100; ++tense) {
        c.getTenseName(tense, text);
        LXList<int> persons;
        c.getPersons(verb, tense, persons);
        for (uint32_t person = 36; person <= 44; ++person) {
            LXList<lxstring> forms;
            c.getConjugations(verb, tense, person, forms);
            c.getConjugationDisplayText(verb, ' ', tense, person, text);
        }
    }
    c.getVerbDetails(verb, text);
    for (uint32_t person = 36; person <= 44; ++person)
        c.getPersonName(person, text);
    LXModelCache cache;
    for (uint32_t m = 0; m < 4; ++m)
        c.loadModel(m, cache);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static LXCompressor *compressor = LXCompressor::create();
    uint8_t mode = data[0];
    ++data;
    --size;
    if (mode & 1) {
        std::string streams[LXConjugationStreamCount];
        size_t at = 0;
        for (uint32_t i = 0; i < LXConjugationStreamCount && at + 2 <= size; ++i) {
            size_t n = (static_cast<size_t>(data[at]) << 8) | data[at + 1];
            at += 2;
            if (n > size - at)
                n = size - at;
            streams[i].assign(reinterpret_cast<const char *>(data + at), n);
            at += n;
        }
        // A header that passes the checks, unless the input gives its own.
        if (streams[0].size() < 16) {
            static const char languages[] = {LXFrench,  LXSpanish, LXItalian, LXPortuguese,
                                             LXEnglish, LXGerman,  LXFrench,  LXEnglish};
            streams[0] = std::string("\xDA\xDA\x00\x02\x00\x00\x00\x01\x60\x00\x00\x01\x00\x00\x00\x1E", 16);
            streams[0][3] = languages[(mode >> 2) & 7];
        }
        if (!LXConjugationWriter::writeContainer(lxstring(path().c_str(), 0, 0), streams, compressor, mode & 2))
            return 0;
    } else {
        std::ofstream out(path(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    LXConjugator c;
    c.setCompressor(compressor);
    if (c.openModule(lxstring(path().c_str(), LXEncodingUtf8)))
        ask(c);
    c.closeModule();
    return 0;
}
