// LXDManager: the set of open dictionary modules, in ascending priority, and the set-up
// of searches over the modules of one language pair and product. It owns its modules.
//
// A search closes the files of the modules of other pairs, so only the current pair's
// modules keep open files and block caches.
#ifndef WORDMERE_ENGINE_LXDMANAGER_H
#define WORDMERE_ENGINE_LXDMANAGER_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxstring.h"
#include "model/lxterm.h"
#include "search/lxdmiterator.h"

class LXD;
class LXTokenizer;

// Products 0 and 2 count as one product wherever a module is matched against a product.
bool lx_productsMatch(uint32_t a, uint32_t b);

class LXDManager {
public:
    LXDManager();
    ~LXDManager();                   // deletes every module
    LXDManager(const LXDManager &) = delete;
    LXDManager &operator=(const LXDManager &) = delete;

    void setTokenizer(LXTokenizer *tokenizer) { m_tokenizer = tokenizer; }   // borrowed
    LXTokenizer *getTokenizer() const { return m_tokenizer; }

    // Takes the module: before the first module of greater priority (after those of equal
    // priority); a module already held is not inserted twice (false).
    bool insert(LXD *module);
    uint32_t size() const { return m_modules.size(); }
    // The module at index (0-based); null outside.
    LXD *operator[](uint32_t index) const;
    // 1-based place of a module in the list; 0 when not held.
    uint32_t getModuleNumber(const LXD *module) const;
    void erase(uint32_t index);      // deletes the module
    LXD *removeAt(uint32_t index);   // hands the module to the caller
    void clear();                    // deletes every module
    const LXList<LXD *> &getModules() const { return m_modules; }

    // Searches over the modules of the sorted pair whose product matches; the first
    // language given is the search language.
    void begin(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator);
    void end(LXLanguage language1, LXLanguage language2, uint32_t product, LXDMIterator &iterator);
    // An empty text behaves as begin.
    void find(const lxstring &text, LXLanguage language1, LXLanguage language2, uint32_t product,
              LXDMIterator &iterator);
    // The pair is the term's language and translation language.
    void find(const LXTerm &term, uint32_t product, LXDMIterator &iterator);
    bool initRegex(const lxstring &pattern, LXLanguage language1, LXLanguage language2, uint32_t product,
                   const LXDMRegexOptions &options, LXDMIterator &iterator);

    // Closes the files of the modules of the sorted pair whose product matches.
    void closeModules(LXLanguage language1, LXLanguage language2, uint32_t product);
    void closeAll();

private:
    enum Start { AtBegin, AtEnd, AtTerm };
    // Clears the iterator and adds one per-module iterator per matching module, closing
    // the files of the others.
    void setUp(Start start, LXLanguage language1, LXLanguage language2, uint32_t product, const LXTerm *term,
               LXDMIterator &iterator);

    LXList<LXD *> m_modules;
    LXTokenizer *m_tokenizer;
};

#endif
