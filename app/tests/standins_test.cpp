// The skin engine the program links answers every call made before start-up with code 19 and
// finds nothing (the shell then keeps the platform's look); the data manager the program links refuses
// the files a module scan may meet with the codes the scan reports.
#include "search/lxdatamanager.h"
#include "settings.h"
#include "skin_interface.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(SkinEngine, EveryCallBeforeStartUpAnswersNotStarted) {
    EXPECT_EQ(skinOpenResource(GetModuleHandleW(nullptr), L"SKIN", L"GLOSSVANE"), 0);
    EXPECT_EQ(skinApplyToFrame(nullptr, L"MainFrame"), 0);
    EXPECT_EQ(skinSetDefaultDialog(L"Dialog"), 0);
    EXPECT_EQ(skinShowPopupMenu(nullptr, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(skinLastError(), 19u);
    EXPECT_EQ(skinFindObject(L"Splitter"), nullptr);
    COLORREF c = 0x123456;
    EXPECT_EQ(skinObjectColor(nullptr, L"BGColor", &c), 0);
    EXPECT_EQ(c, 0x123456u);
}

// The refusal codes the engine gives for files it cannot take, by their first bytes.
TEST(DataManager, RefusesEveryFileByItsHead) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring path = std::wstring(tmp) + L"wordmere-refusals-" + std::to_wstring(GetCurrentProcessId()) + L".lxd";
    struct {
        std::vector<unsigned char> head;
        int code;
    } cases[] = {
        {{0x0C, 0xC0, 0xD1, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 3},
        {{0xC0, 0xC0, 0xFF, 0xEE, 0, 0, 0, 1, 0x52, 0, 0, 0, 0, 0, 0, 0}, 4},
        {{0xC0, 0xC0, 0xFF, 0xEE, 0, 0, 0, 1, 0x54, 0, 0, 0}, 5},
        {{0xC0, 0xC0, 0xFF, 0xEE, 0, 0}, 5},
        {{'t', 'e', 'x', 't'}, 5},
        {{}, 5},
    };
    LXDataManager* dm = LXDataManager::create();
    ASSERT_TRUE(dm);
    dm->addAllowedProduct(10);
    lxstring enginePath;
    toEngineString(path, enginePath);
    for (auto& c : cases) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        if (!c.head.empty()) WriteFile(f, c.head.data(), static_cast<DWORD>(c.head.size()), &n, nullptr);
        CloseHandle(f);
        EXPECT_EQ(dm->addDictionaryModule(enginePath), c.code) << c.head.size();
    }
    DeleteFileW(path.c_str());
    EXPECT_EQ(dm->addDictionaryModule(enginePath), 5);  // missing
    EXPECT_FALSE(dm->addStemmingModule(enginePath));
    EXPECT_EQ(dm->getNModules(), 0u);
    EXPECT_FALSE(dm->isLanguagePairAvailable(LXEnglish, LXFrench));
    delete dm;
}

}  // namespace
