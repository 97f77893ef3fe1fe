// The module list of the update server and the table the module download dialog shows:
// which served modules are installed, up to date or updatable, and what to download.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ServedModule {
    std::wstring url, type, language1, language2;
    int product = 0;
    uint64_t uncompressedSize = 0, downloadSize = 0;
    // A type naming "stemming" is a conjugation module.
    bool isConjugation() const { return type.find(L"stemming") != std::wstring::npos; }
};

// Every element of type "dict" of the list, in order; an element's missing or malformed
// integer counts as 0.
std::vector<ServedModule> parseModuleList(const std::wstring& text);
// A decimal integer as the list writes it (blanks around it allowed); 0 for anything else,
// the largest value for digits beyond it.
uint64_t parseListInteger(const std::wstring& text);

// An installed module: its pair (ascending for dictionaries; a conjugation module has its
// language as language1), product and size in bytes.
struct InstalledModule {
    int language1 = 0, language2 = 0, product = 0;
    uint64_t size = 0;
};

struct ModuleRow {
    int language1 = 0, language2 = 0, product = 0;
    bool upToDate = false, installed = false;
    std::wstring moduleUrl, conjugationUrl1, conjugationUrl2;
    uint64_t downloadSize = 0, uncompressedSize = 0;
    // Checked at first: installed and not up to date.
    bool checkedAtFirst() const { return installed && !upToDate; }
};

// A language's English name to its code; 0 for a name it does not know.
using LanguageCodeOf = std::function<int(const std::wstring&)>;

std::vector<ModuleRow> buildModuleRows(const std::vector<ServedModule>& served,
                                       const std::vector<InstalledModule>& dictionaries,
                                       const std::vector<InstalledModule>& conjugations,
                                       const LanguageCodeOf& languageCode);
// The addresses of the checked rows (module, then its conjugation modules), each once.
std::vector<std::wstring> downloadListOf(const std::vector<ModuleRow>& rows, const std::vector<bool>& checked);
// Products 0 and 2 count as one product.
bool sameModuleProduct(int a, int b);
