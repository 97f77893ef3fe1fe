// STAND-IN for the engine's data manager, until the engine is linked into the program.
// It offers the calls the shell makes, with the engine's neutral answers: it accepts the
// set-up calls, knows no module, and so refuses every file a module scan offers it (with
// the refusal codes the engine gives for files it cannot validate). Paths are wide strings
// here; the engine takes its own string type, converted at the call sites when it arrives.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class LXDataManager {
public:
    static LXDataManager* create();
    ~LXDataManager() = default;

    void clear();
    void setPlatform(uint32_t platform) { platform_ = platform; }
    uint32_t getPlatform() const { return platform_; }
    void addAllowedProduct(uint32_t product);
    void addAllowedLanguagePair(int language1, int language2);

    // 0 added; 1..5 refused (see the engine); this stand-in answers 3, 4 or 5 by the file's head.
    int addDictionaryModule(const std::wstring& path);
    bool addStemmingModule(const std::wstring& path);
    void closeAllDictionaries() {}
    int getNModules() const { return 0; }
    bool isLanguageAvailable(int) const { return false; }
    bool isLanguagePairAvailable(int, int) const { return false; }

    const std::vector<uint32_t>& allowedProducts() const { return products_; }

private:
    LXDataManager() = default;
    uint32_t platform_ = 0;
    std::vector<uint32_t> products_;
    std::vector<std::pair<int, int>> pairs_;
};
