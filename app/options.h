// The process-wide option word: its bits choose layout, menu and feature variants.
#pragma once
#include <cstdint>

constexpr uint32_t kAppOptionFlagsInitial = 0x02486C40;
extern uint32_t AppOptionFlags;

enum AppOptionBit : uint32_t {
    kOptSkinningOff = 0x1,
    kOptSkinningSettingHonoured = 0x2,
    kOptNoReverseList = 0x40,
    kOptReducedFeatures = 0x80,
    kOptNoWebExamples = 0x200,
    kOptNoWebTranslation = 0x400,
    kOptNoProductsPage = 0x800,
    kOptNoModuleDownload = 0x1000,
    kOptNoOtherItem = 0x2000,
    kOptNoUpdateCheck = 0x20000,
    kOptNoStatusBar = 0x80000,
    kOptShowHotkey = 0x100000,
    kOptShowHotkeySettingHonoured = 0x200000,
    kOptNoUserEntries = 0x800000,
    kOptFixedInterfaceLanguage = 0x1000000,
    kOptTrayMode = 0x4000000,
};

inline bool appOption(uint32_t bit) { return (AppOptionFlags & bit) != 0; }
