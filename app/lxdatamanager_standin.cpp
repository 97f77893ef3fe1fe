#include "lxdatamanager_standin.h"
#include <windows.h>
#include <algorithm>

LXDataManager* LXDataManager::create() {
    return new LXDataManager();
}

void LXDataManager::clear() {
    products_.clear();
    pairs_.clear();
}

void LXDataManager::addAllowedProduct(uint32_t product) {
    if (std::find(products_.begin(), products_.end(), product) == products_.end()) products_.push_back(product);
}

void LXDataManager::addAllowedLanguagePair(int language1, int language2) {
    pairs_.emplace_back(std::min(language1, language2), std::max(language1, language2));
}

int LXDataManager::addDictionaryModule(const std::wstring& path) {
    // The engine's answer for a file it cannot validate, decided by the first four
    // big-endian 32-bit values of the file.
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 5;
    unsigned char head[16] = {};
    DWORD got = 0;
    BOOL ok = ReadFile(f, head, sizeof head, &got, nullptr);
    CloseHandle(f);
    if (!ok || got < 4) return 5;
    auto be = [&](int i) {
        return (uint32_t(head[4 * i]) << 24) | (uint32_t(head[4 * i + 1]) << 16) | (uint32_t(head[4 * i + 2]) << 8) |
               uint32_t(head[4 * i + 3]);
    };
    if (got >= 12 && be(0) == 0xC0C0FFEEu) {
        uint32_t top = be(2) >> 24;
        if (top >= 0x50 && top <= 0x53) return 4;
    }
    if (be(0) == 0x0CC0D1C0u) return 3;
    return 5;
}

bool LXDataManager::addStemmingModule(const std::wstring&) {
    return false;
}
