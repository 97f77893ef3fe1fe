// Mutated user-additions files through the data manager's adoption of a file it did not
// register, then open, add, delete and a rewrite of what is read. Besides not crashing, each
// write keeps its promise: a change that answers true leaves a file that validates and reads
// back with the change made; one that answers false leaves the old file byte for byte.
//
// Input: an input that starts with the container magic is the file itself; any other input
// is a list of (offset, byte) changes to a small valid additions file (see applyChanges).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "format/lxd.h"
#include "search/lxdatamanager.h"
#include "testing/lxfuzz_module.h"

namespace {

const uint32_t kProduct = 10;

LXDataManager *manager()
{
    static LXDataManager *dm = LXDataManager::create();
    return dm;
}

// A folder of this process's own for the additions file.
const std::string &folder()
{
    static const std::string dir = [] {
        const std::string d = fuzzScratchPath("additions_fuzz", "");
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

std::string additionsPath()
{
    return folder() + "/english-french-additions.lxd";
}

std::string fileBytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool addPair(LXDataManager *dm, const char *headword, const char *pos, const char *translation)
{
    return dm->addTerm(u8(headword), u8(pos), 2, u8(translation), u8(pos), 2, LXEnglish, LXFrench, kProduct,
                       u8(folder().c_str()));
}

// An additions file with entries in both directions, expressions, several parts of speech
// and a bare headword entry, as the data manager writes it.
const std::string &seedFile()
{
    static std::string bytes;
    if (!bytes.empty())
        return bytes;
    LXDataManager *dm = manager();
    std::filesystem::remove(additionsPath());
    dm->clear();
    addPair(dm, "teapot", "n", "théière");
    addPair(dm, "tea cosy", "n", "couvre théière");
    addPair(dm, "kettle", "n", "bouilloire électrique");
    addPair(dm, "run", "v", "courir");
    addPair(dm, "run", "v", "fuir");
    addPair(dm, "naïve", "adj", "naïf");
    dm->clear();
    bytes = fileBytes(additionsPath());
    return bytes;
}

// The English headwords with a definition of the given text that the file holds.
bool holds(const std::string &path, const char *headword, const char *translation)
{
    LXDataManager *dm = manager();
    LXD module(dm->getCompressor(), dm->getTokenizer());
    if (!module.validate(u8(path.c_str())) || !module.open())
        return false;
    LXList<LXTerm> terms;
    module.readAllTerms(terms);
    const lxstring h = u8(headword), t = u8(translation);
    for (LXList<LXTerm>::const_iterator term = terms.begin(); !term.isAtEnd(); ++term) {
        if (term->getLanguage() != LXEnglish || !lx_sameText(term->getHeadword(), h))
            continue;
        for (LXList<LXDefinition>::const_iterator d = term->getDefinitions().begin(); !d.isAtEnd(); ++d) {
            if (lx_sameText(d->getText(), t))
                return true;
        }
    }
    return false;
}

// A broken promise is a finding.
void require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// A change through the data manager: true means the change is in a valid file, false that
// the file is as it was.
void addThroughManager(const char *headword, const char *translation)
{
    LXDataManager *dm = manager();
    const std::string before = fileBytes(additionsPath());
    if (addPair(dm, headword, "n", translation)) {
        dm->closeAllDictionaries();
        require(holds(additionsPath(), headword, translation));
    } else {
        dm->closeAllDictionaries();
        require(fileBytes(additionsPath()) == before);
    }
}

// Deletes the term's definition straight on the module, then rewrites what it reads.
void deleteAndRewrite(const char *headword, const char *translation)
{
    LXDataManager *dm = manager();
    const std::string path = additionsPath();
    LXD module(dm->getCompressor(), dm->getTokenizer());
    if (!module.validate(u8(path.c_str())) || !module.isAdditions() || !module.open())
        return;
    LXTerm gone;
    gone.setLanguage(LXEnglish);
    gone.setTranslationLanguage(LXFrench);
    gone.setHeadword(u8(headword));
    gone.setPartOfSpeechName(u8("n"));
    gone.setPartOfSpeechCode(2);
    LXDefinition d;
    d.setText(u8(translation));
    d.setPartOfSpeechName(u8("n"));
    d.setPartOfSpeechCode(2);
    gone.addDefinition(d);
    std::string before = fileBytes(path);
    if (module.deleteDefinition(gone)) {
        module.close();
        require(!holds(path, headword, translation));
    } else if (module.getLastWriteResult() != LXD::Written) {
        module.close();
        require(fileBytes(path) == before);
    }

    // Whatever the module reads, written back as it is.
    if (!module.open())
        return;
    LXList<LXTerm> terms;
    module.readAllTerms(terms);
    LXList<LXPair<lxstring, uint32_t>> parts;
    LXHashTable<lxstring, uint32_t> index;
    index.resize(31);
    uint32_t n = 0;
    LXList<LXPair<lxstring, uint32_t>> read;
    module.getPartsOfSpeech(read, LXEnglish);
    for (LXList<LXPair<lxstring, uint32_t>>::const_iterator p = read.begin(); !p.isAtEnd() && n < 200; ++p, ++n) {
        parts.push_back(*p);
        index.add(p->first, n);
    }
    before = fileBytes(path);
    if (!module.rewrite(terms, parts, index)) {
        module.close();
        require(fileBytes(path) == before);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LXDataManager *dm = manager();
    if (!dm)
        return 0;
    std::string file;
    if (size >= 4 && data[0] == 0x05 && data[1] == 0xE9 && data[2] == 0xF1 && data[3] == 0x7E) {
        file.assign(reinterpret_cast<const char *>(data), size);
    } else {
        file = seedFile();
        if (file.empty())
            __builtin_trap();   // the seed must be written
        applyChanges(file, data, size);
    }
    dm->clear();
    writeBytes(additionsPath(), file);
    // The manager finds the file unregistered: it adopts it only when it is the pair's
    // additions module, and otherwise leaves it alone.
    const std::string before = fileBytes(additionsPath());
    if (!addPair(dm, "cup", "n", "tasse")) {
        dm->closeAllDictionaries();
        require(fileBytes(additionsPath()) == before);
        return 0;
    }
    dm->closeAllDictionaries();
    require(holds(additionsPath(), "cup", "tasse"));
    addThroughManager("saucer", "soucoupe");
    addThroughManager("tea cosy", "cache théière");
    deleteAndRewrite("teapot", "théière");
    deleteAndRewrite("cup", "tasse");
    return 0;
}
