// The document of the single-document program: opening it (re)loads every dictionary and
// conjugation module of the data folder into the data manager.
#pragma once
#include "framework/fwframe.h"
#include <cstdint>
#include <string>
#include <vector>

class LXDataManager;

class LXDoc : public FwDocument {
public:
    // The modules are loaded into `dm` from the "dictionaries" folder below `dataFolder`.
    LXDoc(LXDataManager* dm, const std::wstring& dataFolder) : dataManager_(dm), dataFolder_(dataFolder) {}
    // The path is a placeholder; opening always succeeds.
    bool onOpenDocument(const std::wstring& path) override;
    void loadModules();

private:
    LXDataManager* dataManager_;
    std::wstring dataFolder_;
};

// The products whose modules the program opens.
const std::vector<uint32_t>& acceptedModuleProducts();

// The files of a folder matching a pattern ("dir/*.lxd"), sorted by name so every file
// system gives the same order; names only, without the folder.
std::vector<std::wstring> listFolder(const std::wstring& pattern);
