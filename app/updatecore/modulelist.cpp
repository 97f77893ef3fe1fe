#include "modulelist.h"
#include "plist.h"
#include <algorithm>
#include <limits>

uint64_t parseListInteger(const std::wstring& text) {
    std::wstring t = trimPlistText(text);
    if (t.empty()) return 0;
    uint64_t v = 0;
    const uint64_t max = std::numeric_limits<uint64_t>::max();
    for (wchar_t c : t) {
        if (c < L'0' || c > L'9') return 0;
        unsigned d = static_cast<unsigned>(c - L'0');
        if (v > (max - d) / 10) return max;
        v = v * 10 + d;
    }
    return v;
}

std::vector<ServedModule> parseModuleList(const std::wstring& text) {
    std::vector<ServedModule> out;
    std::wstring element, value;
    int pos = 0;
    while ((pos = readPlistElement(pos, text, L"dict", element)) >= 0) {
        ServedModule m;
        readPlistValue(element, L"URL", L"string", m.url);
        readPlistValue(element, L"type", L"string", m.type);
        readPlistValue(element, L"language1", L"string", m.language1);
        readPlistValue(element, L"language2", L"string", m.language2);
        readPlistValue(element, L"product", L"integer", value);
        uint64_t product = parseListInteger(value);
        m.product = product > static_cast<uint64_t>(std::numeric_limits<int>::max()) ? 0 : static_cast<int>(product);
        readPlistValue(element, L"uncompressedsize", L"integer", value);
        m.uncompressedSize = parseListInteger(value);
        readPlistValue(element, L"downloadsize", L"integer", value);
        m.downloadSize = parseListInteger(value);
        out.push_back(m);
    }
    return out;
}

bool sameModuleProduct(int a, int b) {
    auto norm = [](int p) { return p == 2 ? 0 : p; };
    return norm(a) == norm(b);
}

namespace {
uint64_t addSizes(uint64_t a, uint64_t b) {
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

ModuleRow dictionaryRow(const ServedModule& m, int l1, int l2, const std::vector<InstalledModule>& installed) {
    ModuleRow row;
    row.language1 = std::min(l1, l2);
    row.language2 = std::max(l1, l2);
    row.product = m.product;
    row.moduleUrl = m.url;
    row.downloadSize = m.downloadSize;
    row.uncompressedSize = m.uncompressedSize;
    uint64_t sum = 0;
    for (const InstalledModule& i : installed) {
        if (i.language1 == row.language1 && i.language2 == row.language2 && sameModuleProduct(i.product, m.product)) {
            row.installed = true;
            sum = addSizes(sum, i.size);
        }
    }
    if (row.installed && sum == m.uncompressedSize) {
        row.upToDate = true;
        row.moduleUrl.clear();
    }
    return row;
}
}  // namespace

std::vector<ModuleRow> buildModuleRows(const std::vector<ServedModule>& served,
                                       const std::vector<InstalledModule>& dictionaries,
                                       const std::vector<InstalledModule>& conjugations,
                                       const LanguageCodeOf& languageCode) {
    std::vector<ModuleRow> rows;
    struct Conjugation {
        int language;
        const ServedModule* module;
    };
    std::vector<Conjugation> outdated;
    for (const ServedModule& m : served) {
        int l1 = languageCode(m.language1), l2 = languageCode(m.language2);
        if (m.isConjugation()) {
            const InstalledModule* have = nullptr;
            for (const InstalledModule& c : conjugations)
                if (c.language1 == l1) {
                    have = &c;
                    break;
                }
            if (!have || have->size != m.uncompressedSize) outdated.push_back({l1, &m});
            continue;
        }
        rows.push_back(dictionaryRow(m, l1, l2, dictionaries));
    }
    for (const Conjugation& c : outdated) {
        for (ModuleRow& row : rows) {
            std::wstring* slot = nullptr;
            if (row.language1 == c.language)
                slot = &row.conjugationUrl1;
            else if (row.language2 == c.language && row.language2 != row.language1)
                slot = &row.conjugationUrl2;
            if (!slot) continue;
            *slot = c.module->url;
            row.upToDate = false;
            row.downloadSize = addSizes(row.downloadSize, c.module->downloadSize);
            row.uncompressedSize = addSizes(row.uncompressedSize, c.module->uncompressedSize);
        }
    }
    return rows;
}

std::vector<std::wstring> downloadListOf(const std::vector<ModuleRow>& rows, const std::vector<bool>& checked) {
    std::vector<std::wstring> list;
    auto add = [&](const std::wstring& url) {
        if (!url.empty() && std::find(list.begin(), list.end(), url) == list.end()) list.push_back(url);
    };
    for (size_t i = 0; i < rows.size() && i < checked.size(); ++i) {
        if (!checked[i]) continue;
        add(rows[i].moduleUrl);
        add(rows[i].conjugationUrl1);
        add(rows[i].conjugationUrl2);
    }
    return list;
}
