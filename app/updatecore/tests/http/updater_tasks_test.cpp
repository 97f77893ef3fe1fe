// The updater's tasks end to end against the real test server: what each posts, what it
// leaves for the frame, and what it leaves on the disk for hostile lists and answers.
#include "http_env.h"
#include "updatertasks.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::pair<uint64_t, uint64_t>> progress;
    std::vector<std::wstring> texts;
    std::vector<std::pair<int, int>> results;
    UpdaterReports reports() {
        UpdaterReports r;
        r.progress = [this](uint64_t p, uint64_t t) { progress.push_back({p, t}); };
        r.text = [this](const std::wstring& s) { texts.push_back(s); };
        r.result = [this](int c, int i) { results.push_back({c, i}); };
        return r;
    }
};

// Versions as the program compares them: only the pairs the cases use.
int compareForTest(const std::wstring& running, const std::wstring& published) {
    if (published == L"1.0.10") return -1;
    if (published == L"1.0.9b3") return 1;
    return 0;
}

class UpdaterTasks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(serverAddress().empty()) << "run through http_test.sh: WORDMERE_TEST_SERVER is unset";
        data_ = freshFolder();
        modules_ = data_ / "dictionaries";
        fs::create_directory(modules_);
        writeBytes(modules_ / "en-fr.lxd", "installed en-fr");
        transport_ = makeTestTransport(30000);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(data_, ec);
    }
    std::wstring url(const std::wstring& path) { return serverAddress() + path; }
    void download(const std::vector<std::wstring>& paths) {
        state_.downloadList.clear();
        for (auto& p : paths) state_.downloadList.push_back(url(p));
        runModuleDownload(state_, data_.wstring(), modules_.wstring(), L"Downloading <FILE>", *transport_, cancel_,
                          rec_.reports());
    }
    fs::path data_, modules_;
    std::unique_ptr<HttpTransport> transport_;
    std::atomic<bool> cancel_{false};
    UpdaterState state_;
    Recorder rec_;
};

TEST_F(UpdaterTasks, VersionCheckAsksOnlyForANewerCompleteAnswer) {
    auto version = [](const std::string& v, const std::string& url) {
        return "<plist><dict><key>InstallerURL</key><string>" + url + "</string><key>VersionString</key><string>" +
               v + "</string></dict></plist>";
    };
    struct {
        std::string body;
        const wchar_t* path;
        int result;
    } cases[] = {
        {version("1.0.10", "http://h/setup.exe"), L"/files/v1.xml", kResultUpdateAvailable},
        {version("1.0.9b3", "http://h/setup.exe"), L"/files/v2.xml", kResultUpToDate},
        {version("1.0.10", ""), L"/files/v3.xml", kResultUpToDate},
        {"<plist><dict><key>InstallerURL</key><string>http://h/s.exe</string></dict></plist>", L"/files/v4.xml",
         kResultUpToDate},
        {"", L"/status/404/version.xml", kResultUpToDate},
        {"", L"/redirect/abs/files/v1.xml", kResultUpdateAvailable},
    };
    int n = 0;
    for (auto& c : cases) {
        if (!c.body.empty()) writeBytes(servedFile("v" + std::to_string(++n) + ".xml"), c.body);
    }
    for (auto& c : cases) {
        Recorder rec;
        runVersionCheck(state_, url(c.path), L"1.0.9", compareForTest, *transport_, cancel_, rec.reports());
        EXPECT_EQ(rec.results, (std::vector<std::pair<int, int>>{{c.result, 0}})) << c.path;
        EXPECT_EQ(rec.progress, (std::vector<std::pair<uint64_t, uint64_t>>{{0, 100}, {50, 100}, {100, 100}}));
    }
    EXPECT_EQ(state_.installerAddress, L"http://h/setup.exe");
    EXPECT_EQ(state_.latestVersion, L"1.0.10");
}

TEST_F(UpdaterTasks, ModuleListNeedsA200Answer) {
    writeBytes(servedFile("modules.xml"), "<plist><array><dict><key>URL</key><string>x</string></dict></array></plist>");
    runModuleListFetch(state_, url(L"/files/modules.xml"), *transport_, cancel_, rec_.reports());
    for (const wchar_t* bad : {L"/status/404/modules.xml", L"/status/500/modules.xml", L"/cut/files/modules.xml"})
        runModuleListFetch(state_, url(bad), *transport_, cancel_, rec_.reports());
    EXPECT_EQ(rec_.results, (std::vector<std::pair<int, int>>{{5, 0}, {6, 0}, {6, 0}, {6, 0}}));
}

TEST_F(UpdaterTasks, ModulesLandInTheModuleFolder) {
    std::string a = patternBytes(30000), b = patternBytes(7000);
    writeBytes(servedFile("en-fr.lxd"), a);
    writeBytes(servedFile("fr.lxc"), b);
    download({L"/files/en-fr.lxd", L"/redirect/abs/files/fr.lxc"});
    EXPECT_EQ(rec_.results, (std::vector<std::pair<int, int>>{{kResultModulesDownloaded, 0}}));
    EXPECT_EQ(rec_.texts, (std::vector<std::wstring>{L"Downloading en-fr.lxd...", L"Downloading fr.lxc..."}));
    EXPECT_EQ(rec_.progress, (std::vector<std::pair<uint64_t, uint64_t>>{{0, 200}, {100, 200}, {200, 200}}));
    std::string got;
    ASSERT_TRUE(readBytes(modules_ / "en-fr.lxd", got));
    EXPECT_TRUE(got == a);
    ASSERT_TRUE(readBytes(modules_ / "fr.lxc", got));
    EXPECT_TRUE(got == b);
    EXPECT_EQ(state_.downloaded.size(), 2u);
    EXPECT_EQ(folderListing(data_), "dictionaries");
}

// A hostile entry after a good one: the good one lands, the hostile one fails with its index,
// nothing is written outside the folders and the installed module is kept.
TEST_F(UpdaterTasks, HostileEntriesFailWithTheirIndexAndWriteNothing) {
    std::string good = patternBytes(5000);
    writeBytes(servedFile("de-en.lxd"), good);
    writeBytes(servedFile("en-fr.lxd"), patternBytes(9000));
    const wchar_t* hostile[] = {
        L"/files/..",           L"/files/a\\..\\b.lxd", L"/files/c:evil.lxd", L"/files/CON.lxd",
        L"/files/nul",          L"/files/",             L"/files/a%5c.lxd\\x", L"/cut/files/en-fr.lxd",
        L"/huge/files/en-fr.lxd", L"/long/files/en-fr.lxd", L"/status/404/en-fr.lxd", L"/status/500/en-fr.lxd",
        L"/loop/en-fr.lxd",
    };
    for (const wchar_t* h : hostile) {
        rec_ = Recorder();
        download({L"/files/de-en.lxd", h});
        EXPECT_EQ(rec_.results, (std::vector<std::pair<int, int>>{{kResultModuleDownloadFailed, 1}})) << h;
        EXPECT_EQ(folderListing(data_), "dictionaries") << h;
        EXPECT_EQ(folderListing(modules_), "de-en.lxd,en-fr.lxd") << h;
        std::string kept;
        ASSERT_TRUE(readBytes(modules_ / "en-fr.lxd", kept));
        EXPECT_EQ(kept, "installed en-fr") << h;
    }
}

TEST_F(UpdaterTasks, CancelMidDownloadLeavesNoPartialFile) {
    writeBytes(servedFile("big.lxd"), patternBytes(300000));
    UpdaterReports r = rec_.reports();
    r.bytes = [this](uint64_t sum, uint64_t) {
        if (sum > 20000) cancel_ = true;
    };
    state_.downloadList = {url(L"/slow/files/big.lxd")};
    runModuleDownload(state_, data_.wstring(), modules_.wstring(), L"<FILE>", *transport_, cancel_, r);
    EXPECT_EQ(rec_.results, (std::vector<std::pair<int, int>>{{kResultModuleDownloadFailed, 0}}));
    EXPECT_EQ(folderListing(modules_), "en-fr.lxd");
}

TEST_F(UpdaterTasks, InstallerDownloadReportsBothOutcomes) {
    std::string setup = patternBytes(20000);
    writeBytes(servedFile("setup-1.0.10.exe"), setup);
    struct {
        const wchar_t* path;
        int result;
    } cases[] = {
        {L"/cut/files/setup-1.0.10.exe", kResultInstallerFailed},
        {L"/status/404/setup.exe", kResultInstallerFailed},
        {L"/files/", kResultInstallerFailed},
        {L"/files/setup-1.0.10.exe", kResultInstallerDownloaded},
    };
    for (auto& c : cases) {
        Recorder rec;
        state_.installerAddress = url(c.path);
        runInstallerDownload(state_, data_.wstring(), *transport_, cancel_, rec.reports());
        EXPECT_EQ(rec.results, (std::vector<std::pair<int, int>>{{c.result, 0}})) << c.path;
        if (c.result == kResultInstallerFailed) {
            EXPECT_EQ(folderListing(data_), "dictionaries") << c.path;
            EXPECT_EQ(state_.installerPath, L"");
        }
    }
    EXPECT_EQ(fs::path(state_.installerPath), data_ / "setup-1.0.10.exe");
    std::string got;
    ASSERT_TRUE(readBytes(data_ / "setup-1.0.10.exe", got));
    EXPECT_TRUE(got == setup);
}

}  // namespace

#include "format/lxcompressor.h"
#include "format/lxdwriter.h"
#include "model/lxtokenizer.h"
#include "modulecheck.h"

namespace {

lxstring enginePath(const fs::path& p) { return lxstring(p.u8string().c_str(), LXEncodingUtf8); }

LXTerm term(LXLanguage language, const char* headword, const char* translation) {
    LXTerm t;
    t.setLanguage(language);
    t.setHeadword(lxstring(headword, LXEncodingUtf8));
    LXDefinition d;
    d.setText(lxstring(translation, LXEncodingUtf8));
    t.addDefinition(d);
    return t;
}

// The bytes of a small English-French module of product 10, as our module writer writes it.
std::string englishFrenchModule(const fs::path& scratch) {
    std::unique_ptr<LXCompressor> compressor(LXCompressor::create());
    std::unique_ptr<LXTokenizer> tokenizer(LXTokenizer::create());
    LXDWriter w(compressor.get(), tokenizer.get(), LXEnglish, LXFrench);
    w.setProduct(10);
    std::string why;
    for (auto& t : {term(LXEnglish, "house", "maison"), term(LXEnglish, "tree", "arbre"),
                    term(LXFrench, "maison", "house")})
        EXPECT_TRUE(w.addTerm(t, why)) << why;
    fs::path path = scratch / "written.lxd";
    EXPECT_TRUE(w.write(path.u8string(), why)) << why;
    std::string bytes;
    readBytes(path, bytes);
    fs::remove(path);
    return bytes;
}

// A served module lands only when it opens, and a look-up in its pair then finds its words;
// a complete file that is no module keeps the installed one.
TEST_F(UpdaterTasks, OnlyModulesThatOpenTakeTheirPlace) {
    writeBytes(servedFile("en-fr.lxd"), englishFrenchModule(data_));
    writeBytes(servedFile("de-en.lxd"), "<html>a portal's login page, served as the module</html>");
    writeBytes(modules_ / "de-en.lxd", "installed de-en");
    const std::vector<uint32_t> products = {10, 8, 9};
    ModuleAccept opens = [&](const std::wstring& temp, bool conjugation) {
        return isUsableModuleFile(enginePath(fs::path(temp)), conjugation, products);
    };
    state_.downloadList = {url(L"/files/en-fr.lxd"), url(L"/files/de-en.lxd")};
    runModuleDownload(state_, data_.wstring(), modules_.wstring(), L"<FILE>", *transport_, cancel_, rec_.reports(),
                      opens);
    EXPECT_EQ(rec_.results, (std::vector<std::pair<int, int>>{{kResultModuleDownloadFailed, 1}}));
    EXPECT_EQ(folderListing(modules_), "de-en.lxd,en-fr.lxd");
    std::string kept;
    ASSERT_TRUE(readBytes(modules_ / "de-en.lxd", kept));
    EXPECT_EQ(kept, "installed de-en");

    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    ASSERT_TRUE(dm);
    dm->addAllowedProduct(10);
    ASSERT_EQ(dm->addDictionaryModule(enginePath(modules_ / "en-fr.lxd")), LXDataManager::ModuleAdded);
    EXPECT_TRUE(dm->isLanguagePairAvailable(LXEnglish, LXFrench));
    LXDMIterator it;
    dm->find(lxstring("house", LXEncodingUtf8), LXEnglish, LXFrench, 10, it);
    ASSERT_FALSE(it.isAtEnd());
    lxstring headword = it->getHeadword();
    headword.setEncoding(LXEncodingUtf8);
    EXPECT_EQ(std::string(headword.c_str()), "house");
}

}  // namespace
