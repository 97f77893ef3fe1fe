// The process-wide option word: its bits choose layout, menu and feature variants.
#pragma once
#include <cstdint>

// As the program ships: bits 0x40, 0x400, 0x800, 0x2000, 0x4000, 0x80000, 0x400000 and
// 0x2000000 set.
constexpr uint32_t kAppOptionFlagsInitial = 0x02486C40;
extern uint32_t AppOptionFlags;

enum AppOptionBit : uint32_t {
    kOptSkinningOff = 0x1,                // no skin engine call anywhere
    kOptSkinningSettingHonoured = 0x2,    // "Skinning Disabled" decides kOptSkinningOff
    kOptNoModeButton = 0x20,              // the search box reaches the Go button
    kOptNoReverseList = 0x40,             // one result list only ...
    kOptNoTypingSearch = 0x40,            // ... and typing does not search (the same bit)
    kOptReducedFeatures = 0x80,           // no entries, numbers, conjugation, web and help commands
    kOptNoConjugation = 0x100,            // no conjugation button or dialog
    kOptNoWebExamples = 0x200,
    kOptNoWebTranslation = 0x400,
    kOptNoProductsPage = 0x800,
    kOptNoModuleDownload = 0x1000,        // and, like 0x2000, no "Other..." dictionary item
    kOptNoOtherItem = 0x2000,
    kOptNoDictionaryButton = 0x8000,
    kOptPosixOption = 0x10000,            // the options menu offers POSIX syntax
    kOptNoUpdateCheck = 0x20000,
    kOptBrowseMode = 0x40000,             // Browse mode is offered and kept
    kOptNoStatusBar = 0x80000,
    kOptShowHotkey = 0x100000,            // the hot-key line on the main view
    kOptShowHotkeySettingHonoured = 0x200000,
    kOptNoOptionsDescription = 0x400000,
    kOptNoUserEntries = 0x800000,
    kOptFixedInterfaceLanguage = 0x1000000,
    kOptDirectionalDictionaryMenu = 0x2000000,  // each direction of a pair is its own item
    kOptTrayMode = 0x4000000,
    kOptNoApproximateSuggestions = 0x8000000,
};

inline bool appOption(uint32_t bit) { return (AppOptionFlags & bit) != 0; }
