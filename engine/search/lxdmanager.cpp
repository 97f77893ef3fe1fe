#include "search/lxdmanager.h"

#include "base/lxutilities.h"
#include "format/lxd.h"
#include "model/lxtokenizer.h"

bool lx_productsMatch(uint32_t a, uint32_t b)
{
    return a == b || (a == LXProductBasic && b == LXProductBasicToo) || (a == LXProductBasicToo && b == LXProductBasic);
}

namespace {

bool hasBlank(const lxstring &s)
{
    return !s.find(uint32_t(' ')).isAtEnd();
}

} // namespace

LXDManager::LXDManager() : m_tokenizer(nullptr) {}

LXDManager::~LXDManager()
{
    clear();
}

bool LXDManager::insert(LXD *module)
{
    if (!module)
        return false;
    LXList<LXD *>::iterator at = m_modules.begin();
    for (LXList<LXD *>::iterator it = m_modules.begin(); !it.isAtEnd(); ++it) {
        if (*it == module)
            return false;
    }
    while (!at.isAtEnd() && (*at)->getPriority() <= module->getPriority())
        ++at;
    return m_modules.insert(at, module);
}

LXD *LXDManager::operator[](uint32_t index) const
{
    uint32_t i = 0;
    for (LXList<LXD *>::const_iterator it = m_modules.begin(); !it.isAtEnd(); ++it, ++i) {
        if (i == index)
            return *it;
    }
    return nullptr;
}

uint32_t LXDManager::getModuleNumber(const LXD *module) const
{
    uint32_t n = 1;
    for (LXList<LXD *>::const_iterator it = m_modules.begin(); !it.isAtEnd(); ++it, ++n) {
        if (*it == module)
            return n;
    }
    return 0;
}

LXD *LXDManager::removeAt(uint32_t index)
{
    uint32_t i = 0;
    for (LXList<LXD *>::iterator it = m_modules.begin(); !it.isAtEnd(); ++it, ++i) {
        if (i == index) {
            LXD *module = *it;
            m_modules.erase(it);
            return module;
        }
    }
    return nullptr;
}

void LXDManager::erase(uint32_t index)
{
    delete removeAt(index);
}

void LXDManager::clear()
{
    for (LXList<LXD *>::iterator it = m_modules.begin(); !it.isAtEnd(); ++it)
        delete *it;
    m_modules.clear();
}

void LXDManager::setUp(Start start, LXLanguage language1, LXLanguage language2, uint32_t product, const LXTerm *term,
                       LXDMIterator &iterator)
{
    iterator.clear();
    LXLanguage a = language1, b = language2;
    LXUtilities::sortLanguages(a, b);
    for (LXList<LXD *>::iterator it = m_modules.begin(); !it.isAtEnd(); ++it) {
        LXD *module = *it;
        if (module->getLanguage1() != a || module->getLanguage2() != b ||
            !lx_productsMatch(module->getProduct(), product)) {
            module->close();
            continue;
        }
        if (!module->open())
            continue;
        LXDIterator one;
        bool attached = false;
        switch (start) {
        case AtBegin:
            attached = one.begin(module, language1);
            break;
        case AtEnd:
            attached = one.end(module, language1);
            break;
        case AtTerm:
            attached = one.find(module, *term);
            break;
        }
        if (attached)
            iterator.addIterator(one);
    }
}

void LXDManager::begin(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator)
{
    setUp(AtBegin, language1, language2, product, nullptr, iterator);
    iterator.adjust();
}

void LXDManager::end(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator)
{
    setUp(AtEnd, language1, language2, product, nullptr, iterator);
    iterator.adjust();
}

void LXDManager::find(const lxstring &text, LXLanguage language1, LXLanguage language2, uint32_t product,
                      LXDMIterator &iterator)
{
    if (text.empty()) {
        begin(language1, language2, product, iterator);
        return;
    }
    LXTerm term;
    term.setLanguage(language1);
    term.setTranslationLanguage(language2);
    term.setHeadword(text);
    // The key under which the text's headword is indexed: the tokenizer's first key, as
    // for every stored headword (for one word, the word itself).
    term.setSearchKey(m_tokenizer ? m_tokenizer->searchKey(text, language1) : text);
    term.setPartOfSpeechCode(LXPartOfSpeechAny);   // a typed text asks for any part of speech
    find(term, product, iterator);
}

void LXDManager::find(const LXTerm &term, uint32_t product, LXDMIterator &iterator)
{
    setUp(AtTerm, term.getLanguage(), term.getTranslationLanguage(), product, &term, iterator);
    iterator.adjust();
    if (hasBlank(term.getHeadword()))
        iterator.positionOnExpression(term);
}

bool LXDManager::initRegex(const lxstring &pattern, LXLanguage language1, LXLanguage language2, uint32_t product,
                           const LXDMRegexOptions &options, LXDMIterator &iterator)
{
    setUp(AtBegin, language1, language2, product, nullptr, iterator);
    return iterator.initRegexSearch(pattern, language1, options, m_tokenizer);
}

void LXDManager::closeModules(LXLanguage language1, LXLanguage language2, uint32_t product)
{
    LXLanguage a = language1, b = language2;
    LXUtilities::sortLanguages(a, b);
    for (LXList<LXD *>::iterator it = m_modules.begin(); !it.isAtEnd(); ++it) {
        LXD *module = *it;
        if (module->getLanguage1() == a && module->getLanguage2() == b &&
            lx_productsMatch(module->getProduct(), product))
            module->close();
    }
}

void LXDManager::closeAll()
{
    for (LXList<LXD *>::iterator it = m_modules.begin(); !it.isAtEnd(); ++it)
        (*it)->close();
}
