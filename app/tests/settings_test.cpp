#include "settings.h"
#include "lxapp.h"
#include "options.h"
#include "test_app.h"
#include <gtest/gtest.h>
#include <climits>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        clearTestSettings();
        setCurrentInterfaceLanguage(1);
    }
    void TearDown() override {
        clearTestSettings();
        setCurrentInterfaceLanguage(1);
    }
    static HKEY section() {
        HKEY k = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\WordmereTests\\Wordmere\\Settings", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &k, nullptr);
        return k;
    }
};

TEST(LocalizedStrings, IdShiftByLanguage) {
    struct {
        int id, language, expected;
    } cases[] = {
        {12500, 4, 12503}, {12500, 2, 12501}, {12500, 6, 12505}, {12500, 1, 12500},
        {12500, 7, 12500},   // languages beyond the six load English
        {10010, 4, 10010},   // registry names are never shifted
        {19991, 4, 19991},   // outside the grouped range
        {11000, 3, 11002},   {19990, 5, 19994},  {8001, 4, 8001},
        {57634, 4, 11103},   // the framework's copy prompt maps into the grouped range
        {61184, 1, 11020},   {59392, 2, 11131},
    };
    for (auto& c : cases) EXPECT_EQ(localizedStringId(c.id, c.language), c.expected) << c.id << "/" << c.language;
}

TEST(LocalizedStrings, ZeroUsesTheInterfaceLanguage) {
    setCurrentInterfaceLanguage(4);
    EXPECT_EQ(localizedStringId(12500, 0), 12503);
    EXPECT_EQ(loadLocalizedString(12030), L"Abbrechen");
    setCurrentInterfaceLanguage(0);
    EXPECT_EQ(localizedStringId(12500, 0), 0);
    EXPECT_EQ(loadLocalizedString(12500), L"");
    setCurrentInterfaceLanguage(7);
    EXPECT_EQ(loadLocalizedString(12030), L"Cancel");
    setCurrentInterfaceLanguage(1);
}

TEST(LocalizedStrings, QuotedTextsStandAsGiven) {
    EXPECT_EQ(loadLocalizedString(8001), L"Wordmere");
    EXPECT_EQ(loadLocalizedString(16010, 1),
              L"The file \"<FILE>\" could not be opened, either because it is an invalid dictionary file, or because "
              L"of a Windows system error.");
    EXPECT_EQ(loadLocalizedString(13510, 1), L"Contacting the update server...");
    EXPECT_EQ(loadLocalizedString(16500, 1), L"&About Wordmere...");
    EXPECT_EQ(loadRawString(10001), L"Settings");
    EXPECT_EQ(loadRawString(8007), L"dictionaries/*.lxd");
    EXPECT_EQ(lastLinePart(loadLocalizedString(11080, 1)), L"Exit");
    EXPECT_EQ(loadLocalizedString(424242), L"");
}

// Every interface string exists in all six languages, and every variant keeps the
// placeholders of the English text.
TEST(LocalizedStrings, EveryGroupIsCompleteWithItsPlaceholders) {
    const wchar_t* placeholders[] = {L"<FILE>", L"<FOLDER>", L"<VERSION>", L"<HOTKEY>", L"<LANGUAGE>",
                                     L"<SEARCHSTRING>", L"<NRESULTS>", L"<TEXT>"};
    int groups = 0;
    for (int id = 11000; id <= 19990; id += 10) {
        std::wstring en = loadRawString(id);
        if (en.empty()) continue;
        ++groups;
        for (int language = 2; language <= 6; ++language) {
            std::wstring t = loadLocalizedString(id, language);
            EXPECT_FALSE(t.empty()) << id << " has no text in language " << language;
            EXPECT_EQ(en.find(L'\n') != std::wstring::npos, t.find(L'\n') != std::wstring::npos)
                << id << " prompt/tip split differs in language " << language;
            for (const wchar_t* p : placeholders)
                EXPECT_EQ(en.find(p) != std::wstring::npos, t.find(p) != std::wstring::npos)
                    << id << " placeholder in language " << language;
        }
    }
    EXPECT_GT(groups, 100);
}

TEST(LanguageNames, DisplayNames) {
    EXPECT_EQ(languageDisplayName(0, 3), L"");
    EXPECT_EQ(languageDisplayName(1, 2), L"Anglais");
    EXPECT_EQ(languageDisplayName(1, 1), L"English");
    EXPECT_EQ(languageDisplayName(4, 4), L"Deutsch");
    EXPECT_EQ(languageDisplayName(11, 4), L"Niederländisch");
    EXPECT_EQ(languageDisplayName(255, 1), L"Thesaurus");
    EXPECT_EQ(languageDisplayName(99, 1), L"English");
}

TEST(LanguageNames, FromDisplayNames) {
    struct {
        const wchar_t* text;
        int language, expected;
    } cases[] = {
        {L"Synonyms", 1, 255}, {L"Thesaurus", 4, 255}, {L"", 1, 1},       {L"English", 1, 1},
        {L"Allemand", 2, 4},   {L"allemand", 2, 0},    {L"German", 4, 0}, {L"Dutch", 1, 11},
        {L"Klingon", 1, 0},
    };
    for (auto& c : cases) EXPECT_EQ(languageFromDisplayName(c.text, c.language), c.expected) << c.text;
}

TEST(DictionaryTitles, TitlesOfPairs) {
    struct {
        int a, b, product;
        const wchar_t* title;
        const wchar_t* directional;
    } cases[] = {
        {1, 2, 10, L"English-French", L"English->French"},
        {2, 1, 10, L"English-French", L"French->English"},
        {1, 1, 10, L"English Definitions", L"English Definitions"},
        {255, 255, 10, L"English Thesaurus", L"English Thesaurus"},
        {1, 255, 10, L"English Thesaurus", L"English Thesaurus"},
        {1, 2, 2, L"English-French Medical", L"English->French Medical"},
        {1, 2, 8, L"Quillet Dictionary", L"English->French"},
        {3, 3, 8, L"Quillet Dictionary", L"Quillet Dictionary"},
        {4, 1, 9, L"English Dictionary", L"German->English"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(dictionaryTitle(c.a, c.b, c.product), c.title) << c.a << "," << c.b << "," << c.product;
        EXPECT_EQ(directionalTitle(c.a, c.b, c.product), c.directional) << c.a << "," << c.b << "," << c.product;
    }
    auto halves = splitDictionaryTitle(2, 1, 10);
    EXPECT_EQ(halves.first, L"English");
    EXPECT_EQ(halves.second, L"French");
    halves = splitDictionaryTitle(1, 1, 10);
    EXPECT_EQ(halves.first, L"English");
    EXPECT_EQ(halves.second, L"Definitions");
    setCurrentInterfaceLanguage(4);
    EXPECT_EQ(dictionaryTitle(4, 1, 10), L"Englisch-Deutsch");
    setCurrentInterfaceLanguage(1);
}

TEST(Versions, ParseAndCompare) {
    VersionNumber v = parseVersion(L"1.0.9b2");
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 0);
    EXPECT_EQ(v.patch, 9);
    EXPECT_EQ(v.beta, 2);
    EXPECT_EQ(formatVersion(v), L"1.0.9b2");
    EXPECT_EQ(formatVersion(parseVersion(L"Version 2.3.4")), L"2.3.4");
    struct {
        const wchar_t *a, *b;
        int expected;
    } cases[] = {
        {L"1.0.9", L"1.0.10", -1}, {L"1.0.9b1", L"1.0.9", -1},  {L"1.0.9", L"1.0.9b3", 1},
        {L"1.0.9b2", L"1.0.9b1", 1}, {L"Version 1.1.0", L"1.0.9", 1}, {L"1.0.9", L"1.0.9", 0},
        {L"1.0.9b2", L"1.0.9b2", 0}, {L"2.0.0", L"10.0.0", -1},   {L"", L"0.0.0", 0},
    };
    for (auto& c : cases) EXPECT_EQ(compareVersions(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    // Absurdly long numbers saturate instead of overflowing.
    EXPECT_EQ(parseVersion(L"99999999999999999999.1.1").major, INT_MAX);
    EXPECT_EQ(compareVersions(L"99999999999999999999.0.0", L"2147483646.0.0"), 1);
}

TEST(EngineStrings, RoundTripKeepsTheTargetEncoding) {
    const std::wstring texts[] = {L"", L"l'\u00E9t\u00E9 100%", L"\u65E5\u672C\u8A9E", L"Stra\u00DFe"};
    for (int encoding : {0, 1, 2}) {
        for (const std::wstring& t : texts) {
            lxstring s(encoding, 0);
            toEngineString(t, s);
            EXPECT_EQ(s.getEncoding(), encoding);
            EXPECT_EQ(s.getByteOrder(), 0);
            EXPECT_EQ(s.length(), static_cast<int32_t>(t.size()));
            EXPECT_EQ(fromEngineString(s), t) << encoding;
        }
    }
    lxstring utf8(0, 0);
    toEngineString(L"\u00E9", utf8);
    EXPECT_EQ(std::string(utf8.c_str()), "\xC3\xA9");
}

TEST(TextHelpers, TrimAndReplace) {
    EXPECT_EQ(trimRightChars(L"C:\\prog\\//", L"/\\"), L"C:\\prog");
    EXPECT_EQ(trimRightChars(L"////", L"/"), L"");
    EXPECT_EQ(trimRightChars(L"abc", L""), L"abc");
    EXPECT_EQ(replaceAll(L"<A><A>x", L"<A>", L"<A><A>"), L"<A><A><A><A>x");
    EXPECT_EQ(replaceAll(L"abc", L"", L"x"), L"abc");
}

TEST(DataFolder, FromTheProgramPath) {
    EXPECT_EQ(LXApp::dataFolderFromPath(L"C:\\Program Files\\Wordmere\\wordmere.exe"), L"C:\\Program Files\\Wordmere");
    EXPECT_EQ(LXApp::dataFolderFromPath(L"  Z:\\a/\\wordmere.exe"), L"Z:\\a");
    EXPECT_EQ(LXApp::dataFolderFromPath(L"wordmere.exe"), L"wordmere.exe");
}

TEST_F(Settings, RoundTripThroughTheRegistry) {
    EXPECT_EQ(getSettingString(kSetFont), L"");
    EXPECT_EQ(getSettingInt(kSetFontSize), 0);
    EXPECT_TRUE(setSettingString(kSetFont, L"Lucida Sans Unicode"));
    EXPECT_TRUE(setSettingInt(kSetFontSize, 95));
    EXPECT_TRUE(setSettingInt(kSetWindowLeft, -300));
    EXPECT_EQ(getSettingString(kSetFont), L"Lucida Sans Unicode");
    EXPECT_EQ(getSettingInt(kSetFontSize), 95);
    EXPECT_EQ(getSettingInt(kSetWindowLeft), -300);
    // The value names are the string-table texts.
    HKEY k = section();
    DWORD v = 0, size = sizeof v, type = 0;
    EXPECT_EQ(RegQueryValueExW(k, L"Font Size", nullptr, &type, reinterpret_cast<BYTE*>(&v), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(v, 95u);
    RegCloseKey(k);
}

TEST_F(Settings, ValuesOfTheWrongShapeReadAsDefaults) {
    HKEY k = section();
    // A number stored as text, a text stored as a number, a text without its terminator.
    RegSetValueExW(k, L"Font Size", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"90"), 6);
    DWORD n = 7;
    RegSetValueExW(k, L"Font", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
    RegSetValueExW(k, L"Hotkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"F11xyz"), 3 * sizeof(wchar_t));
    BYTE three[3] = {1, 2, 3};
    RegSetValueExW(k, L"Topmost", 0, REG_BINARY, three, 3);
    RegCloseKey(k);
    EXPECT_EQ(getSettingInt(kSetFontSize), 0);
    EXPECT_EQ(getSettingString(kSetFont), L"");
    EXPECT_EQ(getSettingString(kSetHotkey), L"F11");
    EXPECT_EQ(getSettingInt(kSetTopmost), 0);
    EXPECT_EQ(hotKeyMethodIndex(), 4);
}

TEST_F(Settings, HotKeyMethodIndex) {
    struct {
        const wchar_t* stored;
        int index;
    } cases[] = {{L"", 0}, {L"F11", 4}, {L"Alt + left-click", 1}, {L"F12", 5}, {L"f11", 0},
                 {L"Strg + Rechtsklick", 0}};
    for (auto& c : cases) {
        setSettingString(kSetHotkey, c.stored);
        EXPECT_EQ(hotKeyMethodIndex(), c.index) << c.stored;
    }
}

TEST_F(Settings, InterfaceLanguage) {
    struct {
        const wchar_t* stored;
        int language;
    } cases[] = {{L"", 1}, {L"German", 4}, {L"Portuguese", 6}, {L"Klingon", 1}, {L"Deutsch", 1}};
    for (auto& c : cases) {
        setSettingString(kSetInterfaceLanguage, c.stored);
        loadInterfaceLanguage();
        EXPECT_EQ(currentInterfaceLanguage(), c.language) << c.stored;
    }
    storeInterfaceLanguage(3);
    EXPECT_EQ(currentInterfaceLanguage(), 3);
    EXPECT_EQ(getSettingString(kSetInterfaceLanguage), L"Spanish");
    // A fixed interface language is not read from the settings.
    uint32_t saved = AppOptionFlags;
    AppOptionFlags |= kOptFixedInterfaceLanguage;
    setSettingString(kSetInterfaceLanguage, L"German");
    loadInterfaceLanguage();
    EXPECT_EQ(currentInterfaceLanguage(), 1);
    AppOptionFlags = saved;
}

}  // namespace
