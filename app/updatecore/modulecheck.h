// Whether a downloaded file is a module the program can open, checked with a data manager of
// its own before the file takes an installed module's place.
#pragma once
#include "base/lxstring.h"
#include "search/lxdatamanager.h"
#include <cstdint>
#include <vector>

// A dictionary module the data manager adds with one of `products`, or (conjugation) a
// conjugation module it registers.
bool isUsableModuleFile(const lxstring& path, bool conjugation, const std::vector<uint32_t>& products,
                        LXConjugationEngineFactory factory = nullptr);
