#include "search/lxdatamanager.h"

#include <memory>
#include <new>

#include "base/lxutilities.h"
#include "format/lxbinaryfile.h"
#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "format/lxfilesystem.h"
#include "model/lxtokenizer.h"
#include "search/lxdmanager.h"
#include "search/lxstemfinder.h"

namespace {

const uint32_t kModuleMagic = 0xC0C0FFEEu;
const uint32_t kNotModuleMagic = 0x0CC0D1C0u;
const uint32_t kVersionMask = 0xFFF00000u;
// Modules of these formats were files of their own, before the container.
const uint32_t kOldestFormat = 0x50;
const uint32_t kLastOlderFormat = 0x53;

bool pairOf(const LXD *module, LXLanguage a, LXLanguage b)
{
    return module->getLanguage1() == a && module->getLanguage2() == b;
}

} // namespace

LXDataManager::LXDataManager()
    : m_stemFinder(nullptr), m_conjugation(nullptr), m_modules(nullptr), m_compressor(nullptr),
      m_tokenizer(nullptr), m_platform(0), m_conjugationFactory(nullptr), m_additionsResult(AdditionsAdded)
{
}

LXDataManager *LXDataManager::create(LXConjugationEngineFactory conjugationFactory)
{
    LXDataManager *manager = new (std::nothrow) LXDataManager;
    if (!manager)
        return nullptr;
    if (!manager->init(conjugationFactory)) {
        delete manager;
        return nullptr;
    }
    return manager;
}

bool LXDataManager::init(LXConjugationEngineFactory conjugationFactory)
{
    destroy();
    m_conjugationFactory = conjugationFactory;
    m_stemFinder = new (std::nothrow) LXStemFinder;
    if (!m_stemFinder) {
        destroy();
        return false;
    }
    // The conjugation engine is optional: without a factory the conjugation calls have
    // the answers of a missing engine. A factory that fails is a failure like any other.
    if (conjugationFactory) {
        m_conjugation = conjugationFactory();
        if (!m_conjugation) {
            destroy();
            return false;
        }
    }
    m_modules = new (std::nothrow) LXDManager;
    m_compressor = m_modules ? LXCompressor::create() : nullptr;
    m_tokenizer = m_compressor ? LXTokenizer::create() : nullptr;
    if (!m_tokenizer) {
        destroy();
        return false;
    }
    m_stemFinder->setLinks(m_modules, m_conjugation, m_tokenizer);
    m_modules->setTokenizer(m_tokenizer);
    if (m_conjugation)
        m_conjugation->setCompressor(m_compressor);
    m_platform = 0;
    return true;
}

void LXDataManager::destroy()
{
    // Reverse order of creation. Modules and the conjugation engine borrow the compressor:
    // their files are closed before it goes.
    if (m_modules)
        m_modules->clear();
    if (m_conjugation)
        m_conjugation->closeModule();
    delete m_tokenizer;
    m_tokenizer = nullptr;
    delete m_compressor;
    m_compressor = nullptr;
    delete m_modules;
    m_modules = nullptr;
    delete m_conjugation;
    m_conjugation = nullptr;
    delete m_stemFinder;
    m_stemFinder = nullptr;
}

LXDataManager::~LXDataManager()
{
    destroy();
}

void LXDataManager::clear()
{
    if (m_modules)
        m_modules->clear();
    if (m_conjugation)
        m_conjugation->closeModule();
    m_conjugationModules.clear();
    m_allowedPairs.clear();
    m_allowedProducts.clear();
}

void LXDataManager::addAllowedLanguagePair(LXLanguage language1, LXLanguage language2)
{
    LXUtilities::sortLanguages(language1, language2);
    m_allowedPairs.push_back(LXPair<LXLanguage, LXLanguage>(language1, language2));
}

void LXDataManager::addAllowedProduct(uint32_t product)
{
    m_allowedProducts.add(product);
}

bool LXDataManager::pairAccepted(LXLanguage language1, LXLanguage language2) const
{
    if (m_allowedPairs.empty())
        return true;
    for (LXList<LXPair<LXLanguage, LXLanguage>>::const_iterator it = m_allowedPairs.begin(); !it.isAtEnd(); ++it) {
        if (it->first == language1 && it->second == language2)
            return true;
    }
    return false;
}

bool LXDataManager::productAccepted(uint32_t product) const
{
    if (m_allowedProducts.empty())
        return product == DefaultProduct;
    for (LXList<uint32_t>::const_iterator it = m_allowedProducts.begin(); !it.isAtEnd(); ++it) {
        if (*it == product)
            return true;
    }
    return false;
}

int LXDataManager::addDictionaryModule(const lxstring &path)
{
    if (!m_modules)
        return NotInitialised;
    LXD *module = new (std::nothrow) LXD(m_compressor, m_tokenizer);
    if (!module)
        return NotAModule;
    if (module->validate(path)) {
        bool pair = pairAccepted(module->getLanguage1(), module->getLanguage2());
        bool product = productAccepted(module->getProduct());
        if (pair && product) {
            if (m_modules->insert(module))
                return ModuleAdded;
            delete module;   // no memory for the list node
            return NotAModule;
        }
        delete module;
        return !pair ? PairNotAccepted : ProductNotAccepted;
    }
    delete module;

    LXBinaryFile file;
    unsigned char head[16];
    if (!file.open(path, LXBinaryFile::ModeRead) || file.read(head, sizeof head) != sizeof head)
        return NotAModule;
    uint32_t first = LXUtilities::readInt32FromBuffer(head);
    uint32_t third = LXUtilities::readInt32FromBuffer(head + 8);
    uint32_t format = third >> LXD::kVersionShift;
    if (first == kModuleMagic && format >= kOldestFormat && format <= kLastOlderFormat)
        return OlderFormat;
    if (first == kNotModuleMagic)
        return NotAModuleContainer;
    return NotAModule;
}

bool LXDataManager::addStemmingModule(const lxstring &path)
{
    if (!m_modules || !m_conjugation || !m_conjugation->openModule(path))
        return false;
    m_conjugationModules.push_back(LXPair<lxstring, LXLanguage>(path, m_conjugation->getLanguage()));
    return true;
}

bool LXDataManager::getDictionaryModuleInfo(const lxstring &path, LXLanguage &language1, LXLanguage &language2,
                                            uint32_t &versionWord)
{
    if (!m_modules)
        return false;
    LXD module(m_compressor, m_tokenizer);
    if (module.validate(path)) {
        language1 = module.getLanguage1();
        language2 = module.getLanguage2();
        versionWord = module.getFormatWord() & kVersionMask;
    }
    return true;
}

bool LXDataManager::getStemmingModuleInfo(const lxstring &path, LXLanguage &language, uint32_t &version)
{
    if (!m_modules || !m_conjugationFactory)
        return false;
    LXConjugationEngine *engine = m_conjugationFactory();
    if (!engine)
        return false;
    engine->setCompressor(m_compressor);
    bool valid = engine->validateModule(path);
    if (valid) {
        language = engine->getLanguage();
        version = engine->getFormatWord();
    }
    delete engine;
    return valid;
}

void LXDataManager::attachAllModules()
{
    if (!m_modules)
        return;
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        LXD *module = *it;
        lxstring path = module->getPath();
        module->validate(path);
        module->close();
    }
}

void LXDataManager::closeDictionary(LXLanguage language1, LXLanguage language2, uint32_t product)
{
    if (m_modules)
        m_modules->closeModules(language1, language2, product);
}

void LXDataManager::closeAllDictionaries()
{
    if (m_conjugation)
        m_conjugation->closeModule();
    if (m_modules)
        m_modules->closeAll();
}

uint32_t LXDataManager::getNModules() const
{
    return m_modules ? m_modules->size() : 0;
}

bool LXDataManager::isLanguageAvailable(LXLanguage language) const
{
    if (!m_modules)
        return false;
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        if ((*it)->getLanguage1() == language || (*it)->getLanguage2() == language)
            return true;
    }
    return false;
}

bool LXDataManager::isLanguagePairAvailable(LXLanguage language1, LXLanguage language2) const
{
    if (!m_modules)
        return false;
    LXUtilities::sortLanguages(language1, language2);
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        if (pairOf(*it, language1, language2))
            return true;
    }
    return false;
}

bool LXDataManager::isConjugationLanguageAvailable(LXLanguage language) const
{
    for (LXList<LXPair<lxstring, LXLanguage>>::const_iterator it = m_conjugationModules.begin(); !it.isAtEnd();
         ++it) {
        if (it->second == language)
            return true;
    }
    return false;
}

void LXDataManager::getConjugationLanguageList(LXList<LXLanguage> &list) const
{
    list.clear();
    for (LXList<LXPair<lxstring, LXLanguage>>::const_iterator it = m_conjugationModules.begin(); !it.isAtEnd();
         ++it)
        list.push_back(it->second);
}

namespace {

LXModuleType typeOf(LXD *module, bool versions)
{
    LXModuleType t;
    t.language1 = module->getLanguage1();
    t.language2 = module->getLanguage2();
    t.product = module->getProduct();
    t.versionWord = versions ? module->getFormatWord() & kVersionMask : 0;
    t.moduleVersion = versions ? module->getModuleVersion() : 0;
    t.path = module->getPath();
    return t;
}

} // namespace

void LXDataManager::getDictionaryList(LXList<LXModuleType> &list) const
{
    list.clear();
    if (!m_modules)
        return;
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        LXModuleType t = typeOf(*it, false);
        bool present = false;
        for (LXList<LXModuleType>::iterator e = list.begin(); !e.isAtEnd(); ++e) {
            if (e->language1 == t.language1 && e->language2 == t.language2 &&
                lx_productsMatch(e->product, t.product)) {
                if (e->product == LXProductBasic && t.product == LXProductBasicToo)
                    e->product = LXProductBasicToo;
                present = true;
                break;
            }
        }
        if (!present)
            list.push_back(t);
    }
}

void LXDataManager::getProductList(LXList<LXModuleType> &list) const
{
    list.clear();
    if (!m_modules)
        return;
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        // LXModuleType's equality is exactly (languages, product).
        list.add(typeOf(*it, true));
    }
}

void LXDataManager::getModuleList(LXList<LXModuleType> &list) const
{
    list.clear();
    if (!m_modules)
        return;
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        if (!(*it)->isAdditions())
            list.push_back(typeOf(*it, true));
    }
}

void LXDataManager::getConjugationModuleList(LXList<LXModuleType> &list)
{
    list.clear();
    if (!m_conjugation)
        return;
    for (LXList<LXPair<lxstring, LXLanguage>>::iterator it = m_conjugationModules.begin(); !it.isAtEnd(); ++it) {
        if (!m_conjugation->openModule(it->first))
            continue;
        LXModuleType t;
        t.language1 = t.language2 = m_conjugation->getLanguage();
        t.product = DefaultProduct;
        t.versionWord = m_conjugation->getFormatWord() & kVersionMask;
        t.moduleVersion = m_conjugation->getHeaderWord();
        t.path = it->first;
        list.push_back(t);
    }
}

// Searching.

void LXDataManager::begin(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator)
{
    iterator.clear();
    if (m_modules)
        m_modules->begin(language1, language2, product, iterator);
}

void LXDataManager::end(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator)
{
    iterator.clear();
    if (m_modules)
        m_modules->end(language1, language2, product, iterator);
}

void LXDataManager::find(const lxstring &text, LXLanguage language1, LXLanguage language2, uint32_t product,
                         LXDMIterator &iterator)
{
    iterator.clear();
    if (m_modules)
        m_modules->find(text, language1, language2, product, iterator);
}

void LXDataManager::find(const LXTerm &term, uint32_t product, LXDMIterator &iterator)
{
    iterator.clear();
    if (m_modules)
        m_modules->find(term, product, iterator);
}

bool LXDataManager::initRegex(const lxstring &pattern, LXLanguage language1, LXLanguage language2,
                              uint32_t product, const LXDMRegexOptions &options, LXDMIterator &iterator)
{
    iterator.clear();
    return m_modules && m_modules->initRegex(pattern, language1, language2, product, options, iterator);
}

void LXDataManager::getStems(LXStemResults &results, const lxstring &word, LXLanguage language,
                             LXLanguage language2, uint32_t product, int strategy)
{
    if (!m_modules || !m_stemFinder || !openConjugator(language))
        return;
    m_stemFinder->getStems(results, word, language, language2, product, strategy);
}

void LXDataManager::getApproximateMatches(const lxstring &word, LXLanguage language1, LXLanguage language2,
                                          uint32_t product, int32_t prefixLength, LXList<lxstring> &list)
{
    list.clear();
    if (!m_modules)
        return;
    LXLanguage a = language1, b = language2;
    LXUtilities::sortLanguages(a, b);
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        LXD *module = *it;
        if (!pairOf(module, a, b) || !lx_productsMatch(module->getProduct(), product))
            continue;
        LXList<lxstring> found;
        module->getApproximateMatches(word, language1, prefixLength, found);
        for (LXList<lxstring>::iterator f = found.begin(); !f.isAtEnd(); ++f)
            list.add(*f);
    }
}

// User additions.

namespace {


bool hasBlank(const lxstring &s)
{
    return !s.find(static_cast<uint32_t>(' ')).isAtEnd();
}

// User text as stored: code points below 0x20 (record markers among them) as blanks, no
// blanks around it.
lxstring userText(const lxstring &text)
{
    lxstring clean(LXEncodingUtf8);
    for (lxstring_iterator i = text.begin(); !i.isAtEnd(); ++i)
        clean += *i < 0x20 ? static_cast<uint32_t>(' ') : *i;
    LXUtilities::trim(clean);
    return clean;
}

LXTerm userTerm(const lxstring &headword, const lxstring &pos, uint32_t posCode, const lxstring &translation,
                const lxstring &translationPos, uint32_t translationPosCode, LXLanguage language,
                LXLanguage translationLanguage, LXTokenizer *tokenizer)
{
    LXTerm t;
    t.setLanguage(language);
    t.setTranslationLanguage(translationLanguage);
    t.setHeadword(headword);
    t.setSearchKey(tokenizer->searchKey(headword, language));
    t.setPartOfSpeechName(pos);
    t.setPartOfSpeechCode(posCode);
    LXDefinition d;
    d.setText(translation);
    d.setPartOfSpeechName(translationPos);
    d.setPartOfSpeechCode(translationPosCode);
    d.setOriginNumber(LXOriginUserAdded);
    d.getFeatures().push_back(LXFeature(LXFeatureUserAdded, lxstring(LXEncodingUtf8)));
    t.addDefinition(d);
    return t;
}

LXDataManager::AdditionsResult resultOf(LXD::WriteResult r)
{
    switch (r) {
    case LXD::Written: return LXDataManager::AdditionsAdded;
    case LXD::TooManyPartsOfSpeech: return LXDataManager::AdditionsTooManyPartsOfSpeech;
    case LXD::TermNotStorable: return LXDataManager::AdditionsNotStorable;
    default: return LXDataManager::AdditionsNotWritten;
    }
}

} // namespace

bool LXDataManager::additionsFailed(AdditionsResult result)
{
    m_additionsResult = result;
    return false;
}

lxstring LXDataManager::additionsFileName(LXLanguage language1, LXLanguage language2, uint32_t product)
{
    LXUtilities::sortLanguages(language1, language2);
    lxstring name(LXEncodingUtf8), second(0, 0);
    if (product == LXProductOwnAdditions) {
        name = lxstring("quillet", LXEncodingUtf8);
    } else {
        if (language1 == LXSynonyms)
            return lxstring(LXEncodingUtf8);
        LXUtilities::languageToEnglishString(language1, name);
        if (language2 != language1) {
            if (language2 == LXSynonyms)
                second = lxstring("synonyms", LXEncodingUtf8);
            else
                LXUtilities::languageToEnglishString(language2, second);
            if (second.empty())
                return lxstring(LXEncodingUtf8);
            name += "-";
            name += second;
        }
        if (name.empty() || name[0] == '-')
            return lxstring(LXEncodingUtf8);
    }
    name += "-additions.lxd";
    name.tolower();
    return name;
}

LXD *LXDataManager::getAdditionsLXD(LXLanguage language1, LXLanguage language2, uint32_t product,
                                    const lxstring &directory)
{
    m_additionsResult = AdditionsAdded;
    if (!m_modules) {
        additionsFailed(AdditionsNotInitialised);
        return nullptr;
    }
    LXUtilities::sortLanguages(language1, language2);
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        if ((*it)->isAdditions() && pairOf(*it, language1, language2) &&
            lx_productsMatch((*it)->getProduct(), product))
            return *it;
    }
    const lxstring name = additionsFileName(language1, language2, product);
    if (name.empty()) {
        additionsFailed(AdditionsNoFileName);
        return nullptr;
    }
    // Only the file name is lower-cased: the folder is the caller's, as it is.
    lxstring path(directory);
    path.setEncoding(LXEncodingUtf8);
    if (!path.empty() && path[-1] != '/' && path[-1] != '\\')
        path += "/";
    path += name;

    std::unique_ptr<LXD> module(new (std::nothrow) LXD(m_compressor, m_tokenizer));
    if (!module) {
        additionsFailed(AdditionsCannotCreate);
        return nullptr;
    }
    if (LXFileSystem::exists(path)) {
        // A file no registered module stands for (one the module scan refused, say): its
        // entries are kept, and it is taken only when it is the module asked for.
        if (!module->validate(path) || !module->isAdditions() || !pairOf(module.get(), language1, language2) ||
            !lx_productsMatch(module->getProduct(), product)) {
            additionsFailed(AdditionsForeignFile);
            return nullptr;
        }
    } else if (!LXD::createAdditionsFile(path, language1, language2, product, m_compressor) ||
               !module->validate(path)) {
        additionsFailed(AdditionsCannotCreate);
        return nullptr;
    }
    if (!m_modules->insert(module.get())) {
        additionsFailed(AdditionsCannotCreate);
        return nullptr;
    }
    return module.release();
}

bool LXDataManager::addTerm(const lxstring &headword, const lxstring &partOfSpeechName, uint32_t partOfSpeechCode,
                            const lxstring &translation, const lxstring &translationPartOfSpeechName,
                            uint32_t translationPartOfSpeechCode, LXLanguage language,
                            LXLanguage translationLanguage, uint32_t product, const lxstring &directory)
{
    if (!m_modules || !m_tokenizer)
        return additionsFailed(AdditionsNotInitialised);
    const lxstring h = userText(headword), t = userText(translation);
    if (h.empty() || t.empty())
        return additionsFailed(AdditionsEmptyText);
    const bool singleHeadword = !hasBlank(h), expressionTranslation = hasBlank(t);

    LXList<LXTerm> terms;
    LXTerm forward = userTerm(h, partOfSpeechName, partOfSpeechCode, t, translationPartOfSpeechName,
                              translationPartOfSpeechCode, language, translationLanguage, m_tokenizer);
    if (!forward.getSearchKey().empty() && (singleHeadword || expressionTranslation))
        terms.insert(forward);
    // A thesaurus has one direction only: a reverse term would be dropped by the next rewrite.
    if (language != translationLanguage && translationLanguage != LXSynonyms && language != LXSynonyms) {
        LXTerm reverse = userTerm(t, translationPartOfSpeechName, translationPartOfSpeechCode, h, partOfSpeechName,
                                  partOfSpeechCode, translationLanguage, language, m_tokenizer);
        if (!reverse.getSearchKey().empty() && (!singleHeadword || !expressionTranslation))
            terms.insert(reverse);
    }
    if (terms.empty())
        return additionsFailed(AdditionsEmptyText);
    return addTerms(terms, product, directory);
}

bool LXDataManager::addTerms(const LXList<LXTerm> &terms, uint32_t product, const lxstring &directory)
{
    m_additionsResult = AdditionsAdded;
    if (!m_modules)
        return additionsFailed(AdditionsNotInitialised);
    if (terms.empty())
        return additionsFailed(AdditionsEmptyText);
    const LXTerm &first = *terms.begin();
    LXD *module = getAdditionsLXD(first.getLanguage(), first.getTranslationLanguage(), product, directory);
    if (!module)
        return false;
    if (!module->open())
        return additionsFailed(AdditionsNotWritten);
    // A headword the dictionary does not have yet gets a bare entry of its own beside the
    // user's term; all go into one rewrite.
    LXList<LXTerm> all;
    for (LXList<LXTerm>::const_iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        LXDMIterator it;
        find(t->getHeadword(), t->getLanguage(), t->getTranslationLanguage(), product, it);
        if (it.isAtEnd() || !lx_sameText((*it).getSearchKey(), t->getSearchKey())) {
            LXTerm bare;
            bare.setLanguage(t->getLanguage());
            bare.setTranslationLanguage(t->getTranslationLanguage());
            bare.setHeadword(t->getHeadword());
            bare.setSearchKey(t->getSearchKey());
            all.push_back(bare);
        }
        all.push_back(*t);
    }
    if (!module->addTerms(all))
        return additionsFailed(resultOf(module->getLastWriteResult()));
    return true;
}

void LXDataManager::getAdditionsPartsOfSpeech(LXList<LXPair<lxstring, uint32_t>> &list, LXLanguage language,
                                              LXLanguage otherLanguage, uint32_t product)
{
    list.clear();
    if (!m_modules)
        return;
    LXLanguage a = language, b = otherLanguage;
    LXUtilities::sortLanguages(a, b);
    const LXList<LXD *> &modules = m_modules->getModules();
    for (LXList<LXD *>::const_iterator it = modules.begin(); !it.isAtEnd(); ++it) {
        if (!pairOf(*it, a, b) || !lx_productsMatch((*it)->getProduct(), product))
            continue;
        LXList<LXPair<lxstring, uint32_t>> parts;
        (*it)->getPartsOfSpeech(parts, language);
        for (LXList<LXPair<lxstring, uint32_t>>::iterator p = parts.begin(); !p.isAtEnd(); ++p)
            list.insert(*p);
    }
}

// Conjugation.

bool LXDataManager::openConjugator(LXLanguage language)
{
    if (!m_conjugation)
        return false;
    for (LXList<LXPair<lxstring, LXLanguage>>::iterator it = m_conjugationModules.begin(); !it.isAtEnd(); ++it) {
        if (it->second == language)
            return m_conjugation->openModule(it->first);
    }
    return false;
}

bool LXDataManager::getVerb(LXLanguage language, const lxstring &infinitive, LXVerb &verb)
{
    return openConjugator(language) && m_conjugation->findVerb(infinitive, verb);
}

void LXDataManager::getMatchingVerbs(LXLanguage language, const lxstring &text, LXList<lxstring> &list, bool clear,
                                     uint32_t maxCount)
{
    if (openConjugator(language))
        m_conjugation->getMatchingVerbs(text, list, clear, maxCount);
}

bool LXDataManager::getConjugation(LXLanguage language, const LXVerb &verb, uint32_t tense, uint32_t person,
                                   lxstring &text)
{
    return openConjugator(language) && m_conjugation->getConjugation(verb, tense, person, text);
}

bool LXDataManager::getConjugation(LXLanguage language, const LXVerb &verb, uint32_t tense, uint32_t person,
                                   LXList<lxstring> &list)
{
    return openConjugator(language) && m_conjugation->getConjugations(verb, tense, person, list);
}

void LXDataManager::getVerbDetails(LXLanguage language, const LXVerb &verb, lxstring &text)
{
    text.clear();
    if (openConjugator(language))
        m_conjugation->getVerbDetails(verb, text);
}

void LXDataManager::getTenses(LXLanguage language, const LXVerb &verb, LXList<int> &list, bool all)
{
    list.clear();
    if (openConjugator(language))
        m_conjugation->getTenses(verb, list, all);
}

void LXDataManager::getTenseName(LXLanguage language, uint32_t tense, lxstring &text)
{
    text.clear();
    if (openConjugator(language))
        m_conjugation->getTenseName(tense, text);
}

void LXDataManager::getPersons(LXLanguage language, const LXVerb &verb, uint32_t tense, LXList<int> &list)
{
    list.clear();
    if (openConjugator(language))
        m_conjugation->getPersons(verb, tense, list);
}

void LXDataManager::getPersonName(LXLanguage language, uint32_t person, lxstring &text)
{
    text.clear();
    if (openConjugator(language))
        m_conjugation->getPersonName(person, text);
}

void LXDataManager::getEnglishPersonDescription(LXLanguage language, uint32_t person, lxstring &text)
{
    text.clear();
    if (openConjugator(language))
        m_conjugation->getEnglishPersonDescription(person, text);
}

void LXDataManager::getConjugationDisplayText(LXLanguage language, const LXVerb &verb, uint32_t options,
                                              uint32_t tense, uint32_t person, lxstring &text)
{
    text.clear();
    if (openConjugator(language))
        m_conjugation->getConjugationDisplayText(verb, options, tense, person, text);
}
