// The updater's HTTP protocol against a real server on 127.0.0.1: statuses, redirects,
// bodies cut short or announced wrongly, servers that stall, and what lands on the disk.
#include "http_env.h"
#include <gtest/gtest.h>
#include <iostream>
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

class UpdaterHttp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(serverAddress().empty()) << "run through http_test.sh: WORDMERE_TEST_SERVER is unset";
        body_ = patternBytes(50000);
        writeBytes(servedFile("ok.bin"), body_);
        folder_ = freshFolder();
        transport_ = makeTestTransport(30000);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::wstring url(const std::wstring& path) { return serverAddress() + path; }
    int download(const std::wstring& path, const fs::path& target, UpdaterProgress progress = nullptr) {
        return downloadUpdaterFile(url(path), target.wstring(), *transport_, cancel_, progress);
    }
    std::string body_;
    fs::path folder_;
    std::unique_ptr<HttpTransport> transport_;
    std::atomic<bool> cancel_{false};
};

// Each hostile answer leaves the installed file as it was and no temporary file behind.
TEST_F(UpdaterHttp, DownloadLandsOnlyWhenCompleteAndAnswered200) {
    struct {
        const wchar_t* path;
        int code;
    } cases[] = {
        {L"/files/ok.bin", kUpdaterOk},
        {L"/redirect/abs/files/ok.bin", kUpdaterOk},
        {L"/redirect/rel/files/ok.bin", kUpdaterOk},
        {L"/redirect/lower/files/ok.bin", kUpdaterOk},
        {L"/cut/files/ok.bin", kUpdaterIncomplete},
        {L"/huge/files/ok.bin", kUpdaterIncomplete},
        {L"/long/files/ok.bin", kUpdaterIncomplete},
        {L"/status/404/x", kUpdaterNotOk},
        {L"/status/500/x", kUpdaterNotOk},
        {L"/files/missing.bin", kUpdaterNotOk},
        {L"/status/401/x", kUpdaterUnauthorized},
        {L"/redirect/none/x", kUpdaterRedirectWithoutLocation},
        {L"/redirect/ftp/x", kUpdaterRedirectNotHttp},
        {L"/loop/x", kUpdaterRedirectFailed},
        {L"/redirect/abs/redirect/abs/files/ok.bin", kUpdaterRedirectFailed},
        {L"/redirect/abs/status/404/x", kUpdaterRedirectFailed},
    };
    const fs::path target = folder_ / "module.lxd";
    for (auto& c : cases) {
        writeBytes(target, "installed module");
        EXPECT_EQ(download(c.path, target), c.code) << c.path;
        std::string now;
        ASSERT_TRUE(readBytes(target, now));
        EXPECT_TRUE(now == (c.code == kUpdaterOk ? body_ : std::string("installed module"))) << c.path;
        EXPECT_EQ(folderListing(folder_), "module.lxd") << c.path;
    }
    EXPECT_EQ(download(L"x", target), kUpdaterNotHttp);
    EXPECT_EQ(downloadUpdaterFile(L"ftp://127.0.0.1/x", target.wstring(), *transport_, cancel_, nullptr),
              kUpdaterNotHttp);
    EXPECT_EQ(download(L"/files/ok.bin", folder_ / "no such folder" / "x.lxd"), kUpdaterCannotCreateFile);
}

TEST_F(UpdaterHttp, DownloadReportsProgressAgainstTheAnnouncedLength) {
    std::vector<std::pair<uint64_t, uint64_t>> steps;
    ASSERT_EQ(download(L"/slow/files/ok.bin", folder_ / "a.lxd", [&](uint64_t s, uint64_t t) { steps.push_back({s, t}); }),
              kUpdaterOk);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), std::make_pair(uint64_t{50000}, uint64_t{50000}));
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    // No read is larger than the read size, so a cancel takes effect within one read.
    for (size_t i = 1; i < steps.size(); ++i) EXPECT_LE(steps[i].first - steps[i - 1].first, kUpdaterReadSize);
}

TEST_F(UpdaterHttp, TextNeeds200AndIsDecodedWhole) {
    // A two-byte character across the first 1023-byte read, and a three-byte one across the second.
    std::string split = std::string(1022, 'a') + "\xC3\xA9" + std::string(1021, 'b') + "\xE2\x82\xAC" + "end";
    writeBytes(servedFile("split.xml"), split);
    writeBytes(servedFile("broken.xml"), "ab\xC3(");
    std::wstring text;
    ASSERT_EQ(fetchUpdaterText(url(L"/files/split.xml"), *transport_, cancel_, text), kUpdaterOk);
    ASSERT_EQ(text.size(), 1022u + 1 + 1021 + 1 + 3);
    EXPECT_EQ(text[1022], 0xE9);
    EXPECT_EQ(text[2044], 0x20AC);
    struct {
        const wchar_t* path;
        int code;
    } failures[] = {
        {L"/files/broken.xml", kUpdaterBadText},        {L"/status/404/x", kUpdaterNotOk},
        {L"/status/500/x", kUpdaterNotOk},              {L"/cut/files/split.xml", kUpdaterIncomplete},
        {L"/huge/files/split.xml", kUpdaterIncomplete}, {L"/status/401/x", kUpdaterUnauthorized},
        {L"/loop/x", kUpdaterRedirectFailed},
    };
    for (auto& f : failures) {
        text = L"stale";
        EXPECT_EQ(fetchUpdaterText(url(f.path), *transport_, cancel_, text), f.code) << f.path;
        EXPECT_EQ(text, L"") << f.path;
    }
}

TEST_F(UpdaterHttp, SendsTheUpdaterHeaders) {
    std::wstring text;
    writeBytes(servedFile("headers.xml"), "x");
    ASSERT_EQ(fetchUpdaterText(url(L"/files/headers.xml?probe=1"), *transport_, cancel_, text), kUpdaterOk);
    std::string log;
    ASSERT_TRUE(readBytes(serverRoot().parent_path() / "requests.log", log));
    size_t at = log.find("GET /files/headers.xml?probe=1 ");
    ASSERT_NE(at, std::string::npos) << log;
    std::string request = log.substr(at, log.find("\n\n", at) - at);
    EXPECT_NE(request.find("\nUser-Agent: Lexifold Updater\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\nAccept: text/*\n"), std::string::npos) << request;
}

// A server that takes the request and never answers, or stalls in the body: the time-out ends
// the wait, and so does a cancel, with nothing left on the disk. Where a closed request goes on
// waiting (WinInet under Wine) the cancel takes effect when the request's own time-out ends the
// wait; the program's task is over for the user at once all the same.
TEST_F(UpdaterHttp, StalledServersEndByTimeOutOrCancel) {
    auto quick = makeTestTransport(1000);
    std::wstring text;
    EXPECT_EQ(fetchUpdaterText(url(L"/hang/x"), *quick, cancel_, text), kUpdaterNetworkError);

    const int slowness = slownessFactor();
    const std::chrono::milliseconds timeout(1000 * slowness), cancelAfter(700 * slowness);
    // How long a wait may last past its end: the program start-up of a thread, the emulation.
    const std::chrono::milliseconds margin(2000 * slowness);
    const std::chrono::milliseconds cancelTakes = testTransportCancelsAtOnce() ? std::chrono::milliseconds(0) : timeout;
    if (cancelTakes.count() > 0) std::cout << "[ info ] a cancel here ends a blocked wait by its time-out only\n";
    writeBytes(servedFile("big.bin"), patternBytes(400000));
    struct {
        const wchar_t* path;
        bool cancel;
        int code;
    } cases[] = {
        {L"/stall/files/big.bin", false, kUpdaterNetworkError},
        {L"/hang/x", false, kUpdaterNetworkError},
        {L"/stall/files/big.bin", true, kUpdaterCancelled},
        {L"/hang/x", true, kUpdaterCancelled},
    };
    for (auto& c : cases) {
        auto slow = makeTestTransport(static_cast<int>(timeout.count()));
        std::atomic<bool> cancel{false};
        const fs::path target = folder_ / "big.lxd";
        std::wstring address = url(c.path);
        const auto began = std::chrono::steady_clock::now();
        AsideTask worker([&] { return downloadUpdaterFile(address, target.wstring(), *slow, cancel, nullptr); });
        std::chrono::milliseconds limit = timeout + margin;
        if (c.cancel) {
            std::this_thread::sleep_for(cancelAfter);
            cancel = true;
            slow->abort();
            limit = cancelTakes + margin;
        }
        const auto from = c.cancel ? std::chrono::steady_clock::now() : began;
        const bool ended = worker.waitFor(limit);
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - from);
        const std::string what = std::string(address.begin(), address.end()) + (c.cancel ? " cancelled" : " left waiting");
        std::cout << "[ info ] " << what << ": ended after " << took.count() << " ms\n";
        EXPECT_TRUE(ended) << what << ": still waiting after " << took.count() << " ms";
        if (!ended) continue;  // the worker goes with the server's end of the connection
        EXPECT_EQ(worker.result(), c.code) << what;
        EXPECT_EQ(folderListing(folder_), "") << what;
    }
}

}  // namespace
