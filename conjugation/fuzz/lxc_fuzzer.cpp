// libFuzzer target: a conjugation module made from the input, opened and asked every
// kind of question. The first byte chooses how the input is used:
//   bit 0 clear, bit 1 set, bits 5 to 7 clear: a sample module of the build (bits 2 to 4:
//         French, Spanish, Italian, Portuguese, English, German) with the input's changes:
//         each four bytes a 24-bit offset and the byte to put there; no changes asks the
//         module as built (the seeds in fuzz/seeds/lxc_fuzzer do that for each module). A
//         run on a sample module takes a good part of a second, so only these mode bytes
//         choose it;
//   any other even byte: the input (after that byte) is the whole file;
//   odd:  the input holds the nine streams, each preceded by a 16-bit length, written
//         as a container (compressed when bit 1 is set), so the records themselves are
//         what gets mutated; bits 2 to 4 choose the language of the header made when
//         the input gives none (French, Spanish, Italian, Portuguese, English, German),
//         so each language's form builder and display rules run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "format/lxcompressor.h"
#include "lxconjugationwriter.h"
#include "lxconjugator.h"

#ifndef WORDMERE_CONJUGATION_MODULES
#define WORDMERE_CONJUGATION_MODULES ""
#endif

namespace {

// The bytes of a sample module, read once; empty when the build has none.
const std::string &sampleModule(unsigned which)
{
    static const char *const names[] = {"fr", "es", "it", "pt", "en", "de", "de", "fr"};
    static std::string bytes[8];
    static bool read[8];
    which &= 7;
    if (!read[which]) {
        read[which] = true;
        std::ifstream in(std::string(WORDMERE_CONJUGATION_MODULES) + "/" + names[which] + ".lxc", std::ios::binary);
        bytes[which].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return bytes[which];
}

std::string path()
{
    static std::string p = "/tmp/lxc_fuzzer_" + std::to_string(getpid()) + ".lxc";
    return p;
}

// Every question; a sample module (large) gets the stem searches of a few words only, so
// that a run on it takes milliseconds, not a tenth of a second.
void ask(LXConjugator &c, bool large)
{
    LXVerb verb;
    uint32_t position = 0;
    static const char *const words[] = {"", "a", "aimer", "être", "zz", "s'appeler", "parlons",
                                        "puedo", "pidió", "acercarse", "durmo", "pôr", "reajo",
                                        "went", "am walking", "could", "realising", "liest", "kommt an",
                                        "bin gegangen", "sein", "ankommen", "werden", "go"};
    int tables = 0, searches = 0;
    for (const char *w : words) {
        lxstring word(w, LXEncodingUtf8);
        // The first verbs found get whole tables: the carrier verbs and a separable verb
        // of a German module, whatever a module holds.
        if (c.findVerb(word, position, verb) && tables++ < 4) {
            lxstring text;
            for (uint32_t tense = 73; tense <= 89; ++tense) {
                for (uint32_t person = 37; person <= 43; ++person)
                    c.getConjugationDisplayText(verb, ' ', tense, person, text);
            }
            c.getVerbDetails(verb, text);
        }
        LXList<lxstring> list;
        c.getMatchingVerbs(word, list, true, 5);
        LXList<LXStem> stems;
        if (!large || ++searches % 6 == 0)
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
    } else if ((mode & 0xE3) == 2) {
        std::string file = sampleModule(mode >> 2);
        if (file.empty())
            return 0;
        for (size_t i = 0; i + 4 <= size; i += 4) {
            size_t at = (size_t(data[i]) << 16 | size_t(data[i + 1]) << 8 | data[i + 2]) % file.size();
            file[at] = static_cast<char>(data[i + 3]);
        }
        std::ofstream out(path(), std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    } else {
        std::ofstream out(path(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    LXConjugator c;
    c.setCompressor(compressor);
    if (c.openModule(lxstring(path().c_str(), LXEncodingUtf8)))
        ask(c, (mode & 0xE3) == 2);
    c.closeModule();
    return 0;
}
