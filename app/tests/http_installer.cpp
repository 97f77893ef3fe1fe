// The installer's way under Wine: served by the real test server, downloaded by the updater's
// task over WinInet, and started as the frame starts it, with "/VERYSILENT"; a truncated one
// is neither kept nor run.
#include "driver_time.h"
#include "http_env.h"
#include "updater.h"
#include "updater_http.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <chrono>
#include <thread>

namespace {

std::string fakeInstallerBytes() {
    std::string bytes;
    readBytes(fs::path(L"Z:" + widen(WORDMERE_FAKE_INSTALLER)).make_preferred(), bytes);
    return bytes;
}

TEST(Installer, RunsSilentlyOnlyWhenComplete) {
    ASSERT_FALSE(serverAddress().empty()) << "run through http_test.sh: WORDMERE_TEST_SERVER is unset";
    std::string exe = fakeInstallerBytes();
    ASSERT_GT(exe.size(), 1000u) << WORDMERE_FAKE_INSTALLER;
    writeBytes(servedFile("setup-1.0.10.exe"), exe);
    fs::path folder = freshFolder();
    WinInetTransport transport;
    std::atomic<bool> cancel{false};
    UpdaterState state;
    int result = -1;
    UpdaterReports reports;
    reports.result = [&](int code, int) { result = code; };

    state.installerAddress = serverAddress() + L"/cut/files/setup-1.0.10.exe";
    runInstallerDownload(state, folder.wstring(), transport, cancel, reports);
    EXPECT_EQ(result, kResultInstallerFailed);
    EXPECT_EQ(folderListing(folder), "");
    EXPECT_FALSE(runInstallerSilently(state.installerPath, nullptr));

    state.installerAddress = serverAddress() + L"/files/setup-1.0.10.exe";
    runInstallerDownload(state, folder.wstring(), transport, cancel, reports);
    ASSERT_EQ(result, kResultInstallerDownloaded);
    ASSERT_TRUE(runInstallerSilently(state.installerPath, nullptr));
    // The installer is a program start of its own: a minute or two under an emulated Wine.
    fs::path marker = fs::path(state.installerPath + L".marker");
    std::string line;
    const DWORD started = GetTickCount(), limit = scaledMs(60000);
    // The marker exists empty until the installer has written its line.
    while (!(readBytes(marker, line) && !line.empty()) && GetTickCount() - started < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_FALSE(line.empty()) << "the installer did not run within " << limit << " ms: "
                                         << fs::path(state.installerPath).string();
    std::wstring text(reinterpret_cast<const wchar_t*>(line.data()), line.size() / sizeof(wchar_t));
    EXPECT_NE(text.find(L"/VERYSILENT"), std::wstring::npos);
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace
