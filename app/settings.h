// The settings store (one registry section, value names from the string table), the
// localised string loader, and the small text helpers every window of the shell shares.
#pragma once
#include <windows.h>
#include <string>
#include "base/lxlanguage.h"
#include "base/lxstring.h"
#include <utility>

// Value names of the settings; each is the id of the string holding the name.
enum SettingId {
    kSettingsSection = 10001,
    kSetWindowTop = 10002,
    kSetWindowLeft = 10003,
    kSetWindowHeight = 10004,
    kSetWindowWidth = 10005,
    kSetSearchLanguage = 10008,
    kSetTranslationLanguage = 10009,
    kSetInterfaceLanguage = 10010,
    kSetProduct = 10011,
    kSetFont = 10024,
    kSetFontSize = 10025,
    kSetMaximize = 10037,
    kSetTopmost = 10038,
    kSetHideToolbar = 10039,
    kSetShowReverse = 10040,
    kSetMatchWordFragments = 10048,
    kSetMatchCase = 10049,
    kSetMatchAccents = 10050,
    kSetUsePosix = 10051,
    kSetDisplayMode = 10055,
    kSetLastUpdate = 10056,
    kSetUseBetaUpdater = 10057,
    kSetHotkey = 10058,
    kSetHotkeyDisabled = 10059,
    kSetMainListPercent = 10061,
    kSetShowHotkey = 10063,
    kSetSkinningDisabled = 10064,
};

// Interface strings stand in groups of ten ids, one for each interface language, within
// this range; the other ids exist once.
constexpr int kFirstGroupedString = 11000, kLastGroupedString = 19990, kStringGroup = 10;

// Products whose dictionaries have titles of their own.
constexpr int kProductMedical = 2, kProductQuillet = 8, kProductEnglishDictionary = 9;

std::wstring getSettingString(int id);
int getSettingInt(int id);
bool setSettingString(int id, const std::wstring& text);
bool setSettingInt(int id, int value);

// The string-table entry as it stands (no language shift); empty when missing.
std::wstring loadRawString(int id);
int localizedStringId(int id, int language = 0);
std::wstring loadLocalizedString(int id, int language = 0);
// The part after the last line feed (menu and toolbar prompts carry "prompt\ntip").
std::wstring lastLinePart(const std::wstring& text);

int currentInterfaceLanguage();
void setCurrentInterfaceLanguage(int code);
void loadInterfaceLanguage();
void storeInterfaceLanguage(int code);

std::wstring languageDisplayName(int code, int language);
int languageFromDisplayName(const std::wstring& text, int language);
std::wstring dictionaryTitle(int language1, int language2, int product);
std::wstring directionalTitle(int from, int to, int product);
std::pair<std::wstring, std::wstring> splitDictionaryTitle(int language1, int language2, int product);

std::wstring applicationName();
std::wstring currentVersionString();
struct VersionNumber {
    int major = 0, minor = 0, patch = 0, beta = 0;
};
VersionNumber parseVersion(const std::wstring& text);
std::wstring formatVersion(const VersionNumber& v);
int compareVersions(const std::wstring& a, const std::wstring& b);

int hotKeyMethodIndex();
int hotKeyMethodStringId(int index);

// The shell's UTF-16 text into an engine string, keeping the engine string's own encoding
// and byte order; and back.
void toEngineString(const std::wstring& text, lxstring& out);
std::wstring fromEngineString(const lxstring& s);

// A code point as UTF-16, one unit or a surrogate pair (U+FFFD past U+10FFFF); the
// number of units written.
int utf16Units(uint32_t codePoint, wchar_t units[2]);
inline bool isLeadSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

std::wstring replaceAll(std::wstring text, const std::wstring& what, const std::wstring& with);
std::wstring trimRightChars(const std::wstring& text, const std::wstring& set);
void fitEditScrollBar(HWND edit);

int showMessage(const std::wstring& text, bool centreOnCursor = false, bool topmost = false);
int showMessageId(int id, bool centreOnCursor = false, bool topmost = false);
