#include "animation_sequence.h"
#include "avi_clip.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> readClip(const char *name = "three_frames.avi")
{
    std::string path = std::string(WORDMERE_CONTROLS_FIXTURES) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path << " is missing: the build writes it with skin/controls/tests/make_clip.py";
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The offset of the first occurrence of a four-character code (the chunk's id).
size_t find(const std::vector<uint8_t> &bytes, const char *fourcc)
{
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (std::memcmp(bytes.data() + i, fourcc, 4) == 0)
            return i;
    ADD_FAILURE() << fourcc << " not in the clip";
    return 0;
}

void putU32(std::vector<uint8_t> &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

AviRefusal refusalOf(const std::vector<uint8_t> &bytes) { return AviClip(bytes.data(), bytes.size()).refusal(); }

TEST(AviClip, ReadsTheThreeFrameClipPixelForPixel)
{
    std::vector<uint8_t> bytes = readClip();
    AviClip clip(bytes.data(), bytes.size());
    ASSERT_TRUE(clip.readable()) << clip.refusal();
    EXPECT_EQ(clip.frameCount(), 3);
    EXPECT_EQ(clip.info().width, 5);
    EXPECT_EQ(clip.info().height, 3);
    EXPECT_EQ(clip.info().rate, 10u);
    EXPECT_EQ(clip.info().scale, 1u);
    EXPECT_EQ(clip.framePeriodMs(), 100u);
    for (int32_t k = 0; k < 3; ++k) {
        std::vector<uint32_t> pixels = clip.framePixels(k);
        ASSERT_EQ(pixels.size(), 15u);
        for (uint32_t y = 0; y < 3; ++y)
            for (uint32_t x = 0; x < 5; ++x) {
                uint32_t expected = (50 * x + 10) << 16 | (80 * y + 20) << 8 | (100 * k + 30);
                EXPECT_EQ(pixels[y * 5 + x], expected) << "frame " << k << " at " << x << "," << y;
            }
    }
    EXPECT_TRUE(clip.framePixels(3).empty());
    EXPECT_TRUE(clip.framePixels(-1).empty());
}

TEST(AviClip, RefusesDamagedOrUnplayableClipsWithTheirReason)
{
    std::vector<uint8_t> good = readClip();
    ASSERT_FALSE(good.empty());
    size_t strh = find(good, "strh") + 8;
    size_t strf = find(good, "strf") + 8;
    size_t firstFrame = find(good, "00db");
    struct Case {
        const char *what;
        void (*damage)(std::vector<uint8_t> &, size_t strh, size_t strf, size_t frame);
        AviRefusal refusal;
    } cases[] = {
        {"a wave file", [](auto &b, size_t, size_t, size_t) { std::memcpy(b.data() + 8, "WAVE", 4); }, kAviNotRiffAvi},
        {"cut in the middle", [](auto &b, size_t, size_t, size_t) { b.resize(b.size() / 2); }, kAviTruncated},
        {"a chunk longer than the file",
         [](auto &b, size_t, size_t strf, size_t) { putU32(b, strf - 4, 0x7FFFFFF0u); }, kAviTruncated},
        {"an audio stream only", [](auto &b, size_t strh, size_t, size_t) { std::memcpy(b.data() + strh, "auds", 4); },
         kAviNoVideoStream},
        {"run-length compressed", [](auto &b, size_t, size_t strf, size_t) { putU32(b, strf + 16, 1); }, kAviCompressed},
        {"8 bits a pixel", [](auto &b, size_t, size_t strf, size_t) { b[strf + 14] = 8; }, kAviCompressed},
        {"no width", [](auto &b, size_t, size_t strf, size_t) { putU32(b, strf + 4, 0); }, kAviBadSize},
        {"a rate of 0", [](auto &b, size_t strh, size_t, size_t) { putU32(b, strh + 24, 0); }, kAviZeroRate},
        {"frames of another stream",
         [](auto &b, size_t, size_t, size_t frame) {
             for (size_t i = frame; i + 4 <= b.size(); ++i)
                 if (std::memcmp(b.data() + i, "00db", 4) == 0)
                     b[i + 1] = '1';
         },
         kAviNoFrames},
        {"a frame one row short",
         [](auto &b, size_t, size_t strf, size_t) { putU32(b, strf + 8, 4); }, kAviShortFrame},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> bytes = good;
        c.damage(bytes, strh, strf, firstFrame);
        EXPECT_EQ(refusalOf(bytes), c.refusal) << c.what;
    }
    EXPECT_EQ(refusalOf(readClip("broken.avi")), kAviTruncated);
    for (size_t size : {0, 4, 11, 12, 20})
        EXPECT_NE(refusalOf(std::vector<uint8_t>(good.begin(), good.begin() + size)), kAviReadable) << size;
}

TEST(AviClip, FramePeriodHasAtLeastOneFramePerSecondAndNoneForARateOfZero)
{
    struct Case {
        uint32_t rate, scale, fps, period;
    } cases[] = {
        {10, 1, 10, 100},   {15, 1, 15, 66},   {30000, 1001, 29, 34}, {1, 2, 1, 1000}, // below 1 fps
        {10, 0, 10, 100},   // a scale of 0 counts as 1
        {0, 1, 0, 0},       {0, 0, 0, 0},      {5000, 1, 5000, 1},    // never a period of 0 ms
    };
    for (const Case &c : cases) {
        EXPECT_EQ(aviFramesPerSecond(c.rate, c.scale), c.fps) << c.rate << "/" << c.scale;
        EXPECT_EQ(aviFramePeriodMs(aviFramesPerSecond(c.rate, c.scale)), c.period) << c.rate << "/" << c.scale;
    }
}

uint32_t range(int32_t from, int32_t to) { return (static_cast<uint32_t>(from) & 0xFFFFu) | static_cast<uint32_t>(to) << 16; }

// The frames a play shows, drawing before each advance as the playback thread does, up to limit.
std::vector<int32_t> framesShown(AnimationSequence &s, size_t limit)
{
    std::vector<int32_t> shown;
    do
        shown.push_back(s.currentFrame());
    while (!s.advance() && shown.size() < limit);
    return shown;
}

TEST(AnimationSequence, PlaysTheRangeAsOftenAsAskedAndStopsOnTheEndFrame)
{
    AnimationSequence s;
    s.open(3);
    ASSERT_TRUE(s.play(1, range(0, 2)));
    EXPECT_EQ(framesShown(s, 20), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(s.currentFrame(), 2);

    ASSERT_TRUE(s.play(2, range(1, -1)));
    EXPECT_EQ(framesShown(s, 20), (std::vector<int32_t>{1, 2, 1, 2}));

    // A second play counts its repetitions afresh.
    ASSERT_TRUE(s.play(2, range(1, -1)));
    EXPECT_EQ(framesShown(s, 20), (std::vector<int32_t>{1, 2, 1, 2}));

    ASSERT_TRUE(s.play(kRepeatForever, range(0, 1)));
    EXPECT_EQ(framesShown(s, 7), (std::vector<int32_t>{0, 1, 0, 1, 0, 1, 0}));
}

TEST(AnimationSequence, StartAndEndFramesAreKeptInsideTheClip)
{
    struct Case {
        int32_t from, to;
        std::vector<int32_t> shown;
    } cases[] = {
        {-1, 2, {0, 1, 2}},        // top bit of the start set: from 0
        {0, 40, {0, 1, 2}},        // beyond the clip: to its last frame
        {1, -5, {1, 2}},           // a negative end: to the last frame
        {7, 1, {1}},               // a start after the end: the end frame alone
        {2, 2, {2}},
    };
    for (const Case &c : cases) {
        AnimationSequence s;
        s.open(3);
        ASSERT_TRUE(s.play(1, range(c.from, c.to)));
        EXPECT_EQ(framesShown(s, 20), c.shown) << c.from << ".." << c.to;
    }
    AnimationSequence empty;
    empty.open(0);
    EXPECT_FALSE(empty.play(1, range(0, -1)));
}

}  // namespace
