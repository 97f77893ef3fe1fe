// The clip playback under Wine: the video library's decode of the three-frame resource clip
// against the pixel formula it was written with, a play of frames 0 to 2 once into a real window
// (probed there afterwards), stops that wait for the thread, and no temporary file left behind.
#include "clip_playback.h"

#include <gtest/gtest.h>

#include "wine_waits.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kClipWidth = 5, kClipHeight = 3;
const wchar_t *const kGoodClip = MAKEINTRESOURCEW(1);
const wchar_t *const kBrokenClip = MAKEINTRESOURCEW(2);

COLORREF expectedPixel(int frame, int x, int y)
{
    return RGB(50 * x + 10, 80 * y + 20, 100 * frame + 30);
}

// A plain window the clip is played into; it records the frames drawn, in order.
class ClipWindow : public ClipPlaybackTarget {
public:
    ClipWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = L"WordmereClipTest";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"WordmereClipTest", L"", WS_POPUP, 40, 40, 60, 40, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateWindow(window_);
    }
    ~ClipWindow() override { DestroyWindow(window_); }

    HWND clipWindow() override { return window_; }
    void drawClipFrame(HDC dc, int32_t frame) override
    {
        if (ClipPlayback *p = playback.load())
            p->drawFrame(dc, frame);
        std::lock_guard<std::mutex> lock(mutex_);
        drawn_.push_back(frame);
    }
    std::vector<int32_t> drawn()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return drawn_;
    }

    std::atomic<ClipPlayback *> playback{nullptr};

private:
    HWND window_;
    std::mutex mutex_;
    std::vector<int32_t> drawn_;
};

// Pumps this thread's messages until the playback ends or the time runs out.
bool waitForEnd(ClipPlayback &playback, int seconds)
{
    return pumpUntil([&] { return !playback.playing(); }, seconds * 1000);
}

TEST(ClipPlayback, TheLibraryDecodesTheResourceClipAsItWasWritten)
{
    ClipWindow window;
    ClipPlayback playback(window);
    ASSERT_TRUE(playback.player().available()) << "avifil32 or msvfw32 missing";
    std::set<std::wstring> before = temporaryClipFiles();
    ASSERT_TRUE(playback.open(GetModuleHandleW(nullptr), kGoodClip));
    // The video library may hold the clip's file open; it is gone at the latest with the clip.
    std::printf("clip file deleted while the clip is open: %s\n", temporaryClipFiles() == before ? "yes" : "no");
    EXPECT_EQ(playback.player().frameCount(), 3);
    EXPECT_EQ(playback.player().width(), kClipWidth);
    EXPECT_EQ(playback.player().height(), kClipHeight);
    EXPECT_EQ(playback.periodMs(), 100u);

    // Each frame drawn into a 32-bit DIB, every pixel checked.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kClipWidth;
    bi.bmiHeader.biHeight = -kClipHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_TRUE(playback.drawFrame(dc, frame)) << frame;
        GdiFlush();
        const uint32_t *pixels = static_cast<const uint32_t *>(bits);
        for (int y = 0; y < kClipHeight; ++y)
            for (int x = 0; x < kClipWidth; ++x) {
                COLORREF want = expectedPixel(frame, x, y);
                uint32_t got = pixels[y * kClipWidth + x] & 0xFFFFFF;
                uint32_t wantDib = GetRValue(want) << 16 | GetGValue(want) << 8 | GetBValue(want);
                EXPECT_EQ(got, wantDib) << "frame " << frame << " at " << x << "," << y;
            }
    }
    EXPECT_FALSE(playback.drawFrame(dc, 3));
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    playback.close();
    EXPECT_EQ(temporaryClipFiles(), before) << "the clip's temporary file is left behind";
    ASSERT_TRUE(playback.open(GetModuleHandleW(nullptr), kGoodClip));
}

TEST(ClipPlayback, ReplacingOrDestroyingAClipLeavesNoTemporaryFile)
{
    ClipWindow window;
    std::set<std::wstring> before = temporaryClipFiles();
    {
        ClipPlayback playback(window);
        ASSERT_TRUE(playback.open(GetModuleHandleW(nullptr), kGoodClip));
        ASSERT_TRUE(playback.open(GetModuleHandleW(nullptr), kGoodClip));  // replaces the first
        EXPECT_LE(temporaryClipFiles().size(), before.size() + 1);
    }
    EXPECT_EQ(temporaryClipFiles(), before);
}

TEST(ClipPlayback, PlaysFramesZeroToTwoOnceAndStopsOnTheLast)
{
    ClipWindow window;
    ClipPlayback playback(window);
    window.playback = &playback;
    ASSERT_TRUE(playback.open(GetModuleHandleW(nullptr), kGoodClip));
    ASSERT_TRUE(playback.play(1, MAKELONG(0, 2)));
    ASSERT_TRUE(waitForEnd(playback, 20));
    EXPECT_EQ(window.drawn(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(playback.currentFrame(), 2);
    EXPECT_FALSE(playback.stop()) << "a play that ended by itself has nothing to stop";

    // The last frame stays in the window: probe it at each pixel of the clip.
    HDC dc = GetDC(window.clipWindow());
    for (int y = 0; y < kClipHeight; ++y)
        for (int x = 0; x < kClipWidth; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), expectedPixel(2, x, y)) << x << "," << y;
    ReleaseDC(window.clipWindow(), dc);

    // A second play counts its repetitions afresh.
    ASSERT_TRUE(playback.play(1, MAKELONG(1, 2)));
    ASSERT_TRUE(waitForEnd(playback, 20));
    EXPECT_EQ(window.drawn(), (std::vector<int32_t>{0, 1, 2, 1, 2}));
}

TEST(ClipPlayback, AStopWaitsForTheThreadSoNothingDrawsAfterIt)
{
    ClipWindow window;
    {
        ClipPlayback playback(window);
        window.playback = &playback;
        ASSERT_TRUE(playback.open(GetModuleHandleW(nullptr), kGoodClip));
        EXPECT_FALSE(playback.stop()) << "nothing playing";
        ASSERT_TRUE(playback.play(kRepeatForever, MAKELONG(0, 0xFFFF)));
        std::this_thread::sleep_for(std::chrono::milliseconds(350 * timeScale()));
        EXPECT_TRUE(playback.playing());
        EXPECT_TRUE(playback.stop());
        size_t drawnAtStop = window.drawn().size();
        std::this_thread::sleep_for(std::chrono::milliseconds(300 * timeScale()));
        EXPECT_EQ(window.drawn().size(), drawnAtStop);
        // Destroyed while playing: the destructor waits as well.
        ASSERT_TRUE(playback.play(kRepeatForever, MAKELONG(0, 0xFFFF)));
        window.playback = nullptr;
    }
    size_t drawnAtEnd = window.drawn().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300 * timeScale()));
    EXPECT_EQ(window.drawn().size(), drawnAtEnd);
}

TEST(ClipPlayback, RefusesDamagedAndMissingClipsWithoutLeavingFiles)
{
    ClipWindow window;
    ClipPlayback playback(window);
    std::set<std::wstring> before = temporaryClipFiles();
    EXPECT_FALSE(playback.open(GetModuleHandleW(nullptr), kBrokenClip));
    EXPECT_FALSE(playback.open(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(99)));
    EXPECT_FALSE(playback.open(GetModuleHandleW(nullptr), L"Z:\\no\\such\\clip.avi"));
    EXPECT_FALSE(playback.play(1, MAKELONG(0, 2)));
    EXPECT_EQ(temporaryClipFiles(), before);
    // A clip file opened by its path plays as the resource does.
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    wchar_t path[MAX_PATH];
    ASSERT_NE(GetTempFileNameW(folder, L"CLP", 0, path), 0u);
    HRSRC found = FindResourceW(nullptr, kGoodClip, L"AVI");
    ASSERT_NE(found, nullptr);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, LockResource(LoadResource(nullptr, found)), SizeofResource(nullptr, found), &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(playback.open(GetModuleHandleW(nullptr), path));
    EXPECT_EQ(playback.player().frameCount(), 3);
    playback.close();
    EXPECT_TRUE(DeleteFileW(path)) << "a clip opened from its own file keeps that file";
}

}  // namespace
