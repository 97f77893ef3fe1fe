// LXDataManager: the engine's front end. The one object through which the shell
// registers module files, asks which languages are available, searches, reads module
// lists, adds and deletes user entries and reaches the conjugation engine. It owns every
// other engine object: the module set with its modules, the shared compressor, the
// tokenizer, the conjugation engine and the stem finder.
//
// Every operation of a manager that is not initialised answers the neutral value: code
// 7, false, an empty list or a cleared iterator.
#ifndef WORDMERE_ENGINE_LXDATAMANAGER_H
#define WORDMERE_ENGINE_LXDATAMANAGER_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"
#include "model/lxterm.h"
#include "search/lxconjugationengine.h"
#include "search/lxdmiterator.h"
#include "search/lxstemfinder.h"

class LXCompressor;
class LXD;
class LXDManager;
class LXTokenizer;
class LXVerb;
struct LXStem;

class LXDataManager {
public:
    // Codes of addDictionaryModule.
    enum {
        ModuleAdded = 0,
        ProductNotAccepted = 1,
        PairNotAccepted = 2,
        NotAModuleContainer = 3,     // the file begins with 0x0CC0D1C0
        OlderFormat = 4,             // a bare module of format 0x50..0x53, without a container
        NotAModule = 5,
        NotInitialised = 7
    };
    // The product accepted when no accepted product was registered.
    enum { DefaultProduct = LXProductDefault };

    // A manager that init has set up, or null. The factory makes the conjugation engine;
    // without one (or when it fails to make one) every conjugation call has the answer of
    // a missing engine.
    static LXDataManager *create(LXConjugationEngineFactory conjugationFactory = nullptr);
    LXDataManager();
    ~LXDataManager();
    LXDataManager(const LXDataManager &) = delete;
    LXDataManager &operator=(const LXDataManager &) = delete;

    // Creates the stem finder, the conjugation engine, the module set, the compressor and
    // the tokenizer; on any failure destroys what was made and answers false.
    bool init(LXConjugationEngineFactory conjugationFactory = nullptr);
    bool isInitialised() const { return m_modules != nullptr; }

    // Deletes every open module and empties the conjugation-module, accepted-pair and
    // accepted-product lists.
    void clear();
    void addAllowedLanguagePair(LXLanguage language1, LXLanguage language2);
    void addAllowedProduct(uint32_t product);

    LXCompressor *getCompressor() const { return m_compressor; }
    LXTokenizer *getTokenizer() const { return m_tokenizer; }
    LXDManager *getLXDManager() const { return m_modules; }
    LXConjugationEngine *getConjugationEngine() const { return m_conjugation; }
    void setPlatform(uint32_t platform) { m_platform = platform; }
    uint32_t getPlatform() const { return m_platform; }

    // Modules.
    int addDictionaryModule(const lxstring &path);
    bool addStemmingModule(const lxstring &path);
    // True whenever a temporary module could be made; the outputs are set only for a
    // valid module (versionWord = format word AND 0xFFF00000).
    bool getDictionaryModuleInfo(const lxstring &path, LXLanguage &language1, LXLanguage &language2,
                                 uint32_t &versionWord);
    bool getStemmingModuleInfo(const lxstring &path, LXLanguage &language, uint32_t &version);
    // Validates every open module again from its path and closes its file.
    void attachAllModules();
    void closeDictionary(LXLanguage language1, LXLanguage language2, uint32_t product);
    void closeAllDictionaries();
    uint32_t getNModules() const;
    bool isLanguageAvailable(LXLanguage language) const;
    bool isLanguagePairAvailable(LXLanguage language1, LXLanguage language2) const;
    bool isConjugationLanguageAvailable(LXLanguage language) const;
    void getConjugationLanguageList(LXList<LXLanguage> &list) const;
    void getDictionaryList(LXList<LXModuleType> &list) const;
    void getProductList(LXList<LXModuleType> &list) const;
    void getModuleList(LXList<LXModuleType> &list) const;
    void getConjugationModuleList(LXList<LXModuleType> &list);

    // Searching; the first language is the search language.
    void begin(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator);
    void end(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator);
    void find(const lxstring &text, LXLanguage language1, LXLanguage language2, uint32_t product,
              LXDMIterator &iterator);
    void find(const LXTerm &term, uint32_t product, LXDMIterator &iterator);
    bool initRegex(const lxstring &pattern, LXLanguage language1, LXLanguage language2, uint32_t product,
                   const LXDMRegexOptions &options, LXDMIterator &iterator);
    // The dictionary headwords the word may come from. Leaves the results untouched when
    // no conjugation module of the language opens.
    void getStems(LXStemResults &results, const lxstring &word, LXLanguage language, LXLanguage language2,
                  uint32_t product, int strategy);
    // Up to five near keys per module of the pair, each listed once.
    void getApproximateMatches(const lxstring &word, LXLanguage language1, LXLanguage language2,
                               uint32_t product, int32_t prefixLength, LXList<lxstring> &list);

    // User additions: each change rewrites the pair's additions file safely (a failed
    // write keeps the old file and answers false). Why the last addition failed:
    enum AdditionsResult {
        AdditionsAdded = 0,
        AdditionsNotInitialised,
        AdditionsEmptyText,              // the headword or the translation holds nothing but blanks
        AdditionsNoFileName,             // a pair without a file name (two thesaurus languages)
        AdditionsForeignFile,            // the file of the additions name is not the pair's additions module
        AdditionsCannotCreate,
        AdditionsNotWritten,             // the file could not be written or replaced (full disk, locked file)
        AdditionsTooManyPartsOfSpeech,
        AdditionsNotStorable             // a term of another pair, or a feature a module cannot hold
    };
    AdditionsResult getLastAdditionsResult() const { return m_additionsResult; }
    // The file name (no folder) of the additions module of a pair and product: the
    // English language names, lower-cased, and "-additions.lxd"; empty when there is none.
    static lxstring additionsFileName(LXLanguage language1, LXLanguage language2, uint32_t product);
    // A headword and its translation, each with its part of speech; both directions when
    // the languages differ (a single word never gets an expression as its headword's
    // counterpart). Code points below 0x20 become blanks.
    bool addTerm(const lxstring &headword, const lxstring &partOfSpeechName, uint32_t partOfSpeechCode,
                 const lxstring &translation, const lxstring &translationPartOfSpeechName,
                 uint32_t translationPartOfSpeechCode, LXLanguage language, LXLanguage translationLanguage,
                 uint32_t product, const lxstring &directory);
    bool addTerms(const LXList<LXTerm> &terms, uint32_t product, const lxstring &directory);
    // The registered additions module of the pair and product, else the one in the
    // folder: an existing file of its name is taken only when it is that pair's additions
    // module (anything else is left untouched and null answered), a missing one is created.
    LXD *getAdditionsLXD(LXLanguage language1, LXLanguage language2, uint32_t product,
                         const lxstring &directory);
    void getAdditionsPartsOfSpeech(LXList<LXPair<lxstring, uint32_t>> &list, LXLanguage language,
                                   LXLanguage otherLanguage, uint32_t product);

    // Conjugation: each opens the first registered conjugation module of the language.
    // With no engine, no module or a failed opening a boolean call answers false and the
    // outputs stay as they are then (the calls marked "emptied" have emptied them first).
    bool getVerb(LXLanguage language, const lxstring &infinitive, LXVerb &verb);
    void getMatchingVerbs(LXLanguage language, const lxstring &text, LXList<lxstring> &list, bool clear,
                          uint32_t maxCount);
    bool getConjugation(LXLanguage language, const LXVerb &verb, uint32_t tense, uint32_t person,
                        lxstring &text);
    bool getConjugation(LXLanguage language, const LXVerb &verb, uint32_t tense, uint32_t person,
                        LXList<lxstring> &list);
    void getVerbDetails(LXLanguage language, const LXVerb &verb, lxstring &text);               // emptied
    void getTenses(LXLanguage language, const LXVerb &verb, LXList<int> &list, bool all);      // emptied
    void getTenseName(LXLanguage language, uint32_t tense, lxstring &text);                    // emptied
    void getPersons(LXLanguage language, const LXVerb &verb, uint32_t tense, LXList<int> &list); // emptied
    void getPersonName(LXLanguage language, uint32_t person, lxstring &text);                  // emptied
    void getEnglishPersonDescription(LXLanguage language, uint32_t person, lxstring &text);    // emptied
    void getConjugationDisplayText(LXLanguage language, const LXVerb &verb, uint32_t options, uint32_t tense,
                                   uint32_t person, lxstring &text);                           // emptied

private:
    // Opens the first registered conjugation module of the language.
    bool openConjugator(LXLanguage language);
    bool pairAccepted(LXLanguage language1, LXLanguage language2) const;
    bool productAccepted(uint32_t product) const;
    void destroy();
    bool additionsFailed(AdditionsResult result);

    LXList<LXPair<lxstring, LXLanguage>> m_conjugationModules;
    LXList<LXPair<LXLanguage, LXLanguage>> m_allowedPairs;
    LXList<uint32_t> m_allowedProducts;
    LXStemFinder *m_stemFinder;
    LXConjugationEngine *m_conjugation;
    LXDManager *m_modules;
    LXCompressor *m_compressor;
    LXTokenizer *m_tokenizer;
    uint32_t m_platform;
    LXConjugationEngineFactory m_conjugationFactory;
    AdditionsResult m_additionsResult;
};

#endif
