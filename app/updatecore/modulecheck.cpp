#include "modulecheck.h"
#include <memory>

bool isUsableModuleFile(const lxstring& path, bool conjugation, const std::vector<uint32_t>& products,
                        LXConjugationEngineFactory factory) {
    std::unique_ptr<LXDataManager> dm(LXDataManager::create(factory));
    if (!dm) return false;
    for (uint32_t p : products) dm->addAllowedProduct(p);
    if (conjugation) return dm->addStemmingModule(path);
    return dm->addDictionaryModule(path) == LXDataManager::ModuleAdded;
}
