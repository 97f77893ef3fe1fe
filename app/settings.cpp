#include "settings.h"
#include "framework/fwapp.h"
#include "messagebox.h"
#include "options.h"
#include <algorithm>
#include <climits>

namespace {
int gInterfaceLanguage = 1;

// The framework's own prompt ids, mapped onto the grouped (translated) range.
const std::pair<int, int> kRemap[] = {
    {61184, 11020}, {61185, 11030}, {61186, 11040}, {61187, 11050}, {61190, 11060},
    {61202, 11070}, {57634, 11100}, {57635, 11110}, {57637, 11120}, {59392, 11130},
};

std::wstring section() { return loadRawString(kSettingsSection); }
}  // namespace

std::wstring getSettingString(int id) {
    FwApp* app = FwApp::instance();
    if (!app) return std::wstring();
    return app->getProfileString(section().c_str(), loadRawString(id).c_str(), L"");
}

int getSettingInt(int id) {
    FwApp* app = FwApp::instance();
    if (!app) return 0;
    return app->getProfileInt(section().c_str(), loadRawString(id).c_str(), 0);
}

bool setSettingString(int id, const std::wstring& text) {
    FwApp* app = FwApp::instance();
    std::wstring name = loadRawString(id);
    if (!app || name.empty()) return false;
    return app->writeProfileString(section().c_str(), name.c_str(), text);
}

bool setSettingInt(int id, int value) {
    FwApp* app = FwApp::instance();
    std::wstring name = loadRawString(id);
    if (!app || name.empty()) return false;
    return app->writeProfileInt(section().c_str(), name.c_str(), value);
}

std::wstring loadRawString(int id) {
    if (id <= 0 || id > 0xFFFF) return std::wstring();
    const wchar_t* text = nullptr;
    // With a zero buffer size the loader hands out a pointer into the resource itself,
    // so strings of any length come back whole.
    int n = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) return std::wstring();
    return std::wstring(text, static_cast<size_t>(n));
}

int localizedStringId(int id, int language) {
    for (const auto& p : kRemap)
        if (p.first == id) {
            id = p.second;
            break;
        }
    if (language == 0) language = gInterfaceLanguage;
    if (id < kFirstGroupedString || id > kLastGroupedString) return id;
    if (language == 0) return 0;
    // Each group holds English first, then French, Spanish, German, Italian, Portuguese.
    if (language >= LXFrench && language <= LXPortuguese) return id + language - LXEnglish;
    return id;
}

std::wstring loadLocalizedString(int id, int language) {
    return replaceAll(loadRawString(localizedStringId(id, language)), L"Lexifold", L"Wordmere");
}

std::wstring lastLinePart(const std::wstring& text) {
    size_t lf = text.rfind(L'\n');
    return lf == std::wstring::npos ? text : text.substr(lf + 1);
}

int currentInterfaceLanguage() { return gInterfaceLanguage; }
void setCurrentInterfaceLanguage(int code) { gInterfaceLanguage = code; }

void loadInterfaceLanguage() {
    if (appOption(kOptFixedInterfaceLanguage)) {
        gInterfaceLanguage = 1;
        return;
    }
    int code = languageFromDisplayName(getSettingString(kSetInterfaceLanguage), 1);
    gInterfaceLanguage = code == 0 ? 1 : code;
}

void storeInterfaceLanguage(int code) {
    gInterfaceLanguage = code;
    setSettingString(kSetInterfaceLanguage, languageDisplayName(code, 1));
}

namespace {
// The names of English to Dutch stand in groups of ten from this id; the thesaurus' apart.
constexpr int kFirstLanguageName = 12100, kThesaurusName = 16440;
int languageNameId(int code) { return kFirstLanguageName + kStringGroup * (code - LXEnglish); }
}  // namespace

std::wstring languageDisplayName(int code, int language) {
    if (code == LXLanguageNone) return std::wstring();
    int id = languageNameId(LXEnglish);
    if (code > LXEnglish && code <= LXDutch)
        id = languageNameId(code);
    else if (code == LXSynonyms)
        id = kThesaurusName;
    return loadLocalizedString(id, language);
}

int languageFromDisplayName(const std::wstring& text, int language) {
    if (text == L"Synonyms" || text == L"Thesaurus") return LXSynonyms;
    if (text.empty()) return LXEnglish;
    for (int code = LXEnglish; code <= LXDutch; ++code)
        if (text == loadLocalizedString(languageNameId(code), language)) return code;
    return LXLanguageNone;
}

std::wstring dictionaryTitle(int language1, int language2, int product) {
    if (language1 > language2) std::swap(language1, language2);
    if (product == kProductQuillet) return loadLocalizedString(16590);
    if (product == kProductEnglishDictionary) return loadLocalizedString(16580);
    std::wstring title;
    if (language1 == language2) {
        title = language1 == LXSynonyms ? loadLocalizedString(16570)
                                 : replaceAll(loadLocalizedString(16110), L"<LANGUAGE>",
                                              languageDisplayName(language1, 0));
    } else if (language2 == LXSynonyms) {
        title = loadLocalizedString(16570);
    } else {
        title = languageDisplayName(language1, 0) + L"-" + languageDisplayName(language2, 0);
    }
    if (product == kProductMedical) title += L" " + loadLocalizedString(16080);
    return title;
}

std::wstring directionalTitle(int from, int to, int product) {
    std::wstring title;
    if (to == LXSynonyms) {
        title = loadLocalizedString(16570);
    } else if (from == to) {
        if (product == kProductQuillet) return loadLocalizedString(16590);
        if (product == kProductEnglishDictionary) return loadLocalizedString(16580);
        title = replaceAll(loadLocalizedString(16110), L"<LANGUAGE>", languageDisplayName(from, 0));
    } else {
        title = languageDisplayName(from, 0) + L"->" + languageDisplayName(to, 0);
    }
    if (product == kProductMedical) title += L" " + loadLocalizedString(16080);
    return title;
}

std::pair<std::wstring, std::wstring> splitDictionaryTitle(int language1, int language2, int product) {
    std::wstring title = dictionaryTitle(language1, language2, product);
    size_t cut = title.find(L'-');
    if (cut == std::wstring::npos) cut = title.find(L' ');
    if (cut == std::wstring::npos) return {L"???", L"???"};
    return {title.substr(0, cut), title.substr(cut + 1)};
}

std::wstring applicationName() { return loadRawString(8001); }
std::wstring currentVersionString() { return L"1.0.9"; }

VersionNumber parseVersion(const std::wstring& text) {
    size_t start = text.find_last_of(L" \t\r\n");
    std::wstring t = start == std::wstring::npos ? text : text.substr(start + 1);
    size_t i = 0;
    auto number = [&]() {
        // Long digit runs saturate instead of overflowing.
        long long v = 0;
        while (i < t.size() && t[i] >= L'0' && t[i] <= L'9') {
            v = std::min<long long>(v * 10 + (t[i] - L'0'), INT_MAX);
            ++i;
        }
        return static_cast<int>(v);
    };
    auto skipNonDigits = [&]() {
        while (i < t.size() && !(t[i] >= L'0' && t[i] <= L'9')) ++i;
    };
    VersionNumber v;
    v.major = number();
    int* rest[] = {&v.minor, &v.patch, &v.beta};
    for (int* field : rest) {
        if (i < t.size()) ++i;
        skipNonDigits();
        *field = number();
    }
    return v;
}

std::wstring formatVersion(const VersionNumber& v) {
    wchar_t buf[64];
    if (v.beta != 0)
        wsprintfW(buf, L"%d.%d.%db%d", v.major, v.minor, v.patch, v.beta);
    else
        wsprintfW(buf, L"%d.%d.%d", v.major, v.minor, v.patch);
    return buf;
}

int compareVersions(const std::wstring& a, const std::wstring& b) {
    VersionNumber x = parseVersion(a), y = parseVersion(b);
    if (x.major != y.major) return x.major < y.major ? -1 : 1;
    if (x.minor != y.minor) return x.minor < y.minor ? -1 : 1;
    if (x.patch != y.patch) return x.patch < y.patch ? -1 : 1;
    if (x.beta > 0 && (x.beta < y.beta || y.beta == 0)) return -1;
    if (x.beta == y.beta) return 0;
    return 1;
}

int hotKeyMethodStringId(int index) {
    static const int ids[] = {13140, 13130, 13150, 13160, 13170, 13180};
    return index >= 0 && index < 6 ? ids[index] : ids[0];
}

int hotKeyMethodIndex() {
    std::wstring stored = getSettingString(kSetHotkey);
    for (int i = 0; i < 6; ++i)
        if (stored == loadLocalizedString(hotKeyMethodStringId(i), 1)) return i;
    return 0;
}

void toEngineString(const std::wstring& text, lxstring& out) {
    int encoding = out.getEncoding(), order = out.getByteOrder();
    out.clear();
    out.setEncoding(1);
    out.setByteOrder(1);
    out = reinterpret_cast<const char*>(text.c_str());
    out.setByteOrder(order);
    out.setEncoding(encoding);
}

std::wstring fromEngineString(const lxstring& s) {
    lxstring copy(s);
    copy.setEncoding(1);
    copy.setByteOrder(1);
    return std::wstring(reinterpret_cast<const wchar_t*>(copy.c_str()), static_cast<size_t>(copy.size()) / 2);
}

std::wstring replaceAll(std::wstring text, const std::wstring& what, const std::wstring& with) {
    if (what.empty()) return text;
    for (size_t p = text.find(what); p != std::wstring::npos; p = text.find(what, p + with.size()))
        text.replace(p, what.size(), with);
    return text;
}

std::wstring trimRightChars(const std::wstring& text, const std::wstring& set) {
    size_t end = text.find_last_not_of(set);
    return end == std::wstring::npos ? std::wstring() : text.substr(0, end + 1);
}

void fitEditScrollBar(HWND edit) {
    if (!edit) return;
    int lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    SIZE blank{};
    GetTextExtentPoint32W(dc, L" ", 1, &blank);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    RECT rc;
    GetClientRect(edit, &rc);
    ShowScrollBar(edit, SB_VERT, lines * blank.cy > rc.bottom - rc.top);
}

int showMessage(const std::wstring& text, bool centreOnCursor, bool topmost) {
    FwApp* app = FwApp::instance();
    CYesNoMessageBox box(loadLocalizedString(13590), L"", L"", app ? app->mainWindow() : nullptr, centreOnCursor,
                         topmost);
    box.setText(text);
    box.setTitle(applicationName());
    return static_cast<int>(box.runModal());
}

int showMessageId(int id, bool centreOnCursor, bool topmost) {
    return showMessage(loadLocalizedString(id), centreOnCursor, topmost);
}

int utf16Units(uint32_t cp, wchar_t units[2]) {
    constexpr uint32_t kFirstSupplementary = 0x10000, kLastCodePoint = 0x10FFFF, kReplacement = 0xFFFD;
    if (cp >= kFirstSupplementary && cp <= kLastCodePoint) {
        units[0] = static_cast<wchar_t>(0xD800 + ((cp - kFirstSupplementary) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((cp - kFirstSupplementary) & 0x3FF));
        return 2;
    }
    units[0] = static_cast<wchar_t>(cp > kLastCodePoint ? kReplacement : cp);
    return 1;
}
