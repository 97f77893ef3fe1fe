#include "lxdoc.h"
#include "search/lxdatamanager.h"
#include "settings.h"
#include <algorithm>

std::vector<std::wstring> listFolder(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    // "*.lxd" also matches "x.lxdata" on Windows through the short 8.3 names; keep only
    // names whose extension is exactly the pattern's.
    std::wstring ext;
    size_t star = pattern.rfind(L"*.");
    if (star != std::wstring::npos && pattern.find_first_of(L"/\\*?", star + 1) == std::wstring::npos)
        ext = pattern.substr(star + 1);
    auto hasExt = [&](const std::wstring& name) {
        return ext.empty() || (name.size() > ext.size() &&
                               CompareStringOrdinal(name.c_str() + name.size() - ext.size(), -1, ext.c_str(), -1,
                                                    TRUE) == CSTR_EQUAL);
    };
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && hasExt(fd.cFileName)) names.emplace_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    // Case-insensitive by the system's own rule, as names compare on this file system.
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        int c = CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE);
        return c == CSTR_LESS_THAN || (c == CSTR_EQUAL && a < b);
    });
    return names;
}

bool LXDoc::onOpenDocument(const std::wstring&) {
    loadModules();
    return true;
}

namespace {
void reportUnopened(const std::wstring& name) {
    showMessage(replaceAll(loadLocalizedString(16010), L"<FILE>", name));
}

std::wstring folderOf(const std::wstring& pattern) {
    size_t cut = pattern.find_last_of(L"/\\");
    return cut == std::wstring::npos ? std::wstring() : pattern.substr(0, cut + 1);
}
}  // namespace

const std::vector<uint32_t>& acceptedModuleProducts() {
    static const std::vector<uint32_t> products = {10, 8, 9};
    return products;
}

void LXDoc::loadModules() {
    LXDataManager* dm = dataManager_;
    if (!dm) return;
    dm->clear();
    dm->setPlatform(3);
    for (uint32_t product : acceptedModuleProducts()) dm->addAllowedProduct(product);

    std::wstring pattern = dataFolder_ + L"/" + loadRawString(8007);
    std::wstring folder = folderOf(pattern);
    lxstring path;
    for (const std::wstring& name : listFolder(pattern)) {
        toEngineString(folder + name, path);
        if (dm->addDictionaryModule(path) != LXDataManager::ModuleAdded) reportUnopened(name);
    }

    pattern = dataFolder_ + L"/" + loadRawString(8008);
    folder = folderOf(pattern);
    for (const std::wstring& name : listFolder(pattern)) {
        toEngineString(folder + name, path);
        if (!dm->addStemmingModule(path)) reportUnopened(name);
    }
}
