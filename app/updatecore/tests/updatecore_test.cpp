#include "httpaddress.h"
#include "modulelist.h"
#include "plist.h"
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

const wchar_t kVersionFile[] =
    L"<?xml version=\"1.0\"?>\n<plist><dict>\n"
    L"  <key> InstallerURL </key>\n  <string> http://h/windows/setup.exe\r\n</string>\n"
    L"  <key>VersionString</key><string>1.0.10</string>\n"
    L"</dict></plist>\n";

TEST(PlistValue, ReadsTrimmedValuesOfNamedKeys) {
    std::wstring v;
    EXPECT_TRUE(readPlistValue(kVersionFile, L"InstallerURL", L"string", v));
    EXPECT_EQ(v, L"http://h/windows/setup.exe");
    EXPECT_TRUE(readPlistValue(kVersionFile, L"VersionString", L"string", v));
    EXPECT_EQ(v, L"1.0.10");
    v = L"stale";
    EXPECT_FALSE(readPlistValue(kVersionFile, L"Missing", L"string", v));
    EXPECT_EQ(v, L"");
}

// A key whose own element is missing or of another type must not take the element of a
// later key.
TEST(PlistValue, NeverTakesTheElementOfALaterKey) {
    struct {
        const wchar_t* text;
        bool found;
        const wchar_t* value;
    } cases[] = {
        {L"<key>VersionString</key><key>Other</key><string>9.9</string>", true, L""},
        {L"<key>VersionString</key><integer>3</integer><key>X</key><string>9.9</string>", true, L""},
        {L"<key>VersionString</key><string>1.0<key>X</key></string>", true, L""},
        {L"<key>VersionString</key>\n<string>2.0</string><key>X</key>", true, L"2.0"},
        {L"<key>VersionString</key>", true, L""},
        {L"<key>VersionString", false, L""},
        {L"</key><key>VersionString</key><string>1</string>", true, L"1"},
        {L"<key>versionstring</key><string>1</string>", false, L""},
        {L"", false, L""},
    };
    for (auto& c : cases) {
        std::wstring v = L"x";
        EXPECT_EQ(readPlistValue(c.text, L"VersionString", L"string", v), c.found) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(PlistElement, WalksElementsAndStopsAtTheEnd) {
    std::wstring text = L"<dict>a</dict> <dict> b </dict><dict>unclosed";
    std::wstring e;
    int pos = readPlistElement(0, text, L"dict", e);
    EXPECT_EQ(e, L"a");
    EXPECT_EQ(pos, 14);
    pos = readPlistElement(pos, text, L"dict", e);
    EXPECT_EQ(e, L" b ");
    EXPECT_EQ(readPlistElement(pos, text, L"dict", e), -1);
    EXPECT_EQ(e, L"");
    EXPECT_EQ(readPlistElement(-1, text, L"dict", e), -1);
    EXPECT_EQ(readPlistElement(static_cast<int>(text.size()) + 1, text, L"dict", e), -1);
}

int englishCode(const std::wstring& name) {
    static const std::map<std::wstring, int> codes = {
        {L"English", 1}, {L"French", 2}, {L"Spanish", 3}, {L"German", 4}, {L"Italian", 5}, {L"Portuguese", 6}};
    auto it = codes.find(name);
    return it == codes.end() ? 0 : it->second;
}

std::wstring entry(const std::wstring& url, const std::wstring& type, const std::wstring& l1, const std::wstring& l2,
                   const std::wstring& product, const std::wstring& size, const std::wstring& download) {
    return L"<dict><key>URL</key><string>" + url + L"</string><key>type</key><string>" + type +
           L"</string><key>language1</key><string>" + l1 + L"</string><key>language2</key><string>" + l2 +
           L"</string><key>product</key><integer>" + product + L"</integer><key>uncompressedsize</key><integer>" +
           size + L"</integer><key>downloadsize</key><integer>" + download + L"</integer></dict>\n";
}

TEST(ModuleList, ParsesEveryDictElement) {
    std::wstring text = L"<plist><array>\n" +
                        entry(L"http://h/m/fr-en.lxd", L"dictionary", L"French", L"English", L"10", L"1000", L"800") +
                        entry(L"http://h/m/fr.lxc", L"stemming", L"French", L"", L"10", L" 77 ", L"x9") +
                        L"</array></plist>";
    auto list = parseModuleList(text);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].url, L"http://h/m/fr-en.lxd");
    EXPECT_FALSE(list[0].isConjugation());
    EXPECT_EQ(list[0].product, 10);
    EXPECT_EQ(list[0].uncompressedSize, 1000u);
    EXPECT_EQ(list[0].downloadSize, 800u);
    EXPECT_TRUE(list[1].isConjugation());
    EXPECT_EQ(list[1].uncompressedSize, 77u);
    EXPECT_EQ(list[1].downloadSize, 0u);  // malformed
    EXPECT_TRUE(parseModuleList(L"<html><body>404 Not Found</body></html>").empty());
    EXPECT_EQ(parseListInteger(L"99999999999999999999999"), UINT64_MAX);
    EXPECT_EQ(parseListInteger(L"-5"), 0u);
}

// Installed sizes that add up to the served size make the row up to date; one byte less
// offers the update; an outdated conjugation module joins the rows of its language.
TEST(ModuleTable, UpToDateRuleAndConjugationMerge) {
    std::wstring text = entry(L"http://h/en-fr.lxd", L"dictionary", L"French", L"English", L"10", L"1500", L"900") +
                        entry(L"http://h/en-de.lxd", L"dictionary", L"English", L"German", L"10", L"2000", L"1000") +
                        entry(L"http://h/en-es.lxd", L"dictionary", L"English", L"Spanish", L"2", L"300", L"100") +
                        entry(L"http://h/fr.lxc", L"stemming", L"French", L"", L"10", L"50", L"40") +
                        entry(L"http://h/de.lxc", L"stemming", L"German", L"", L"10", L"60", L"30") +
                        entry(L"http://h/it.lxc", L"stemming", L"Italian", L"", L"10", L"60", L"30");
    std::vector<InstalledModule> dicts = {{1, 2, 10, 1000}, {1, 2, 10, 500}, {1, 4, 10, 1999}, {1, 3, 0, 300}};
    std::vector<InstalledModule> conj = {{2, 0, 10, 50}, {4, 0, 10, 61}};
    auto rows = buildModuleRows(parseModuleList(text), dicts, conj, englishCode);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].language1, 1);
    EXPECT_EQ(rows[0].language2, 2);
    EXPECT_TRUE(rows[0].installed);
    EXPECT_TRUE(rows[0].upToDate);
    EXPECT_EQ(rows[0].moduleUrl, L"");
    EXPECT_FALSE(rows[0].checkedAtFirst());

    EXPECT_TRUE(rows[1].installed);
    EXPECT_FALSE(rows[1].upToDate);
    EXPECT_TRUE(rows[1].checkedAtFirst());
    EXPECT_EQ(rows[1].moduleUrl, L"http://h/en-de.lxd");
    EXPECT_EQ(rows[1].conjugationUrl2, L"http://h/de.lxc");  // German is installed with another size
    EXPECT_EQ(rows[1].downloadSize, 1030u);
    EXPECT_EQ(rows[1].uncompressedSize, 2060u);

    EXPECT_TRUE(rows[2].installed);  // products 0 and 2 are one product
    EXPECT_TRUE(rows[2].upToDate);

    std::vector<bool> checked = {true, true, true};
    rows[0].conjugationUrl1 = L"http://h/de.lxc";
    EXPECT_EQ(downloadListOf(rows, checked), (std::vector<std::wstring>{L"http://h/de.lxc", L"http://h/en-de.lxd"}));
}

TEST(HttpAddressTest, ParsesHttpAndHttpsOnly) {
    struct {
        const wchar_t* text;
        bool ok, secure;
        const wchar_t* host;
        int port;
        const wchar_t* object;
    } cases[] = {
        {L"http://127.0.0.1:8123/base/windows/version.xml", true, false, L"127.0.0.1", 8123, L"/base/windows/version.xml"},
        {L"HTTPS://update.example", true, true, L"update.example", 443, L"/"},
        {L"http://h?x=1#frag", true, false, L"h", 80, L"/?x=1"},
        {L"ftp://h/x", false, false, L"", 0, L""},
        {L"http://", false, false, L"", 0, L""},
        {L"http://h:0/", false, false, L"", 0, L""},
        {L"http://h:65536/", false, false, L"", 0, L""},
        {L"http://h:12a/", false, false, L"", 0, L""},
        {L"http://user@h/", false, false, L"", 0, L""},
        {L"http://h/a b", false, false, L"", 0, L""},
        {L"/relative", false, false, L"", 0, L""},
    };
    for (auto& c : cases) {
        HttpAddress a;
        ASSERT_EQ(parseHttpAddress(c.text, a), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(a.secure, c.secure) << c.text;
        EXPECT_EQ(a.host, c.host) << c.text;
        EXPECT_EQ(a.port, c.port) << c.text;
        EXPECT_EQ(a.object, c.object) << c.text;
    }
}

TEST(HttpAddressTest, ResolvesRedirectLocations) {
    const std::wstring base = L"http://127.0.0.1:8123/base/windows/version.xml?x=1";
    struct {
        const wchar_t* location;
        const wchar_t* resolved;
    } cases[] = {
        {L"http://other/x", L"http://other/x"},
        {L"ftp://other/x", L"ftp://other/x"},
        {L"//other/y", L"http://other/y"},
        {L"/top.xml", L"http://127.0.0.1:8123/top.xml"},
        {L"moved.xml", L"http://127.0.0.1:8123/base/windows/moved.xml"},
        {L"../up.xml", L"http://127.0.0.1:8123/base/up.xml"},
        {L"../../../../up.xml", L"http://127.0.0.1:8123/up.xml"},
        {L"./a/./b/../c.xml?q", L"http://127.0.0.1:8123/base/windows/a/c.xml?q"},
        {L"?y=2", L"http://127.0.0.1:8123/base/windows/version.xml?y=2"},
        {L"", L""},
    };
    for (auto& c : cases) EXPECT_EQ(resolveLocation(base, c.location), c.resolved) << c.location;
    EXPECT_EQ(resolveLocation(L"https://h/a/b", L"c"), L"https://h/a/c");
}

TEST(LocalFileName, RefusesNamesThatLeaveTheFolderOrNameDevices) {
    for (const wchar_t* ok : {L"en-fr.lxd", L"setup-1.0.10.exe", L"Fr_De 2.lxc", L"COM10.lxd", L"console.lxd"})
        EXPECT_TRUE(isSafeLocalFileName(ok)) << ok;
    for (const wchar_t* bad : {L"", L"..", L"..lxd", L"a..b", L"a\\b.lxd", L"c:x.lxd", L"a/b", L"CON", L"con.lxd",
                               L"Nul.txt", L"com1.lxd", L"LPT9", L"CONOUT$", L"aux .lxd", L"x.lxd.", L"x.lxd ",
                               L"a\tb", L"a\x01", L"a?b", L"a*b", L"a|b", L"a\"b", L"a<b>"})
        EXPECT_FALSE(isSafeLocalFileName(bad)) << bad;
    EXPECT_EQ(lastAddressPart(L"http://h/a/b/en-fr.lxd"), L"en-fr.lxd");
    EXPECT_EQ(lastAddressPart(L"http://h/a/"), L"");
    EXPECT_TRUE(isModuleFileName(L"EN-FR.LXD"));
    EXPECT_TRUE(isModuleFileName(L"fr.lxc"));
    EXPECT_FALSE(isModuleFileName(L"setup.exe"));
    EXPECT_FALSE(isModuleFileName(L".lxd"));
}

// The whole body is decoded at once, so a character split across network reads survives;
// broken UTF-8 is refused rather than turned into something else.
TEST(BodyDecoding, StrictWholeBody) {
    std::wstring out;
    ASSERT_TRUE(decodeUtf8Body("\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", out));
    EXPECT_EQ(out, (std::wstring{L'c', L'a', L'f', 0xE9, L' ', 0x20AC, L' ', 0xD83D, 0xDE00}));
    std::string split(1022, 'a');
    split += "\xC3\xA9";
    ASSERT_TRUE(decodeUtf8Body(split, out));
    EXPECT_EQ(out.size(), 1023u);
    EXPECT_EQ(out.back(), 0xE9);
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\x80"})
        EXPECT_FALSE(decodeUtf8Body(bad, out)) << bad;
    uint64_t n;
    EXPECT_TRUE(parseContentLength(L" 10000 ", n));
    EXPECT_EQ(n, 10000u);
    EXPECT_TRUE(parseContentLength(L"999999999999", n));
    EXPECT_EQ(n, 999999999999u);
    for (const wchar_t* bad : {L"", L"-1", L"1e5", L"12 34", L"99999999999999999999"})
        EXPECT_FALSE(parseContentLength(bad, n)) << bad;
}

}  // namespace

#include "updatertasks.h"

namespace {
TEST(UpdaterAddresses, BaseReplacesEverythingBeforeWindows) {
    const std::wstring a = L"https://update.wordmere.example/windows/modules.xml";
    EXPECT_EQ(rebasedUpdaterAddress(a, L"http://127.0.0.1:8123/base"), L"http://127.0.0.1:8123/base/windows/modules.xml");
    EXPECT_EQ(rebasedUpdaterAddress(a, L"http://127.0.0.1:8123/base/"), L"http://127.0.0.1:8123/base/windows/modules.xml");
    EXPECT_EQ(rebasedUpdaterAddress(a, L""), a);
    EXPECT_EQ(rebasedUpdaterAddress(L"http://h/other.xml", L"http://x"), L"http://h/other.xml");
    EXPECT_EQ(versionFileStringId(0), 9008);
    EXPECT_EQ(versionFileStringId(1), 9009);
    EXPECT_EQ(versionFileStringId(2), 9010);
    EXPECT_EQ(versionFileStringId(7), 9008);
    std::wstring path;
    EXPECT_TRUE(downloadTarget(L"http://h/a/en-fr.lxd", L"D", L"D/dictionaries", path));
    EXPECT_EQ(path, L"D/dictionaries/en-fr.lxd");
    EXPECT_TRUE(downloadTarget(L"http://h/setup.exe", L"D\\", L"D/dictionaries", path));
    EXPECT_EQ(path, L"D\\setup.exe");
    EXPECT_FALSE(downloadTarget(L"http://h/a/..", L"D", L"D", path));
    EXPECT_EQ(path, L"");
}
}  // namespace
