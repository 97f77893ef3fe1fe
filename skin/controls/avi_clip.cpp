#include "avi_clip.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr size_t kChunkHeader = 8;
constexpr size_t kStreamHeaderUsed = 36;   // up to and including the length
constexpr size_t kBitmapHeaderUsed = 20;   // up to and including the compression
constexpr uint32_t kPlainRgb = 0;          // BI_RGB
constexpr int32_t kLargestSide = 16384;
constexpr int kDeepestList = 4;

uint32_t readU32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t readU16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool isFourcc(const uint8_t *p, const char *fourcc) { return std::memcmp(p, fourcc, 4) == 0; }

// One chunk inside [offset, end): its id, where its data starts and how long it is.
struct Chunk {
    const uint8_t *id;
    size_t data;
    size_t size;
    size_t next;  // the next chunk, after the padding byte of an odd size
};

// False when the chunk header or its data runs past end.
bool readChunk(const uint8_t *bytes, size_t offset, size_t end, Chunk *chunk)
{
    if (end - offset < kChunkHeader)
        return false;
    size_t size = readU32(bytes + offset + 4);
    size_t data = offset + kChunkHeader;
    if (size > end - data)
        return false;
    chunk->id = bytes + offset;
    chunk->data = data;
    chunk->size = size;
    chunk->next = std::min(end, data + size + (size & 1));
    return true;
}

// Whether a LIST chunk is of the kind.
bool isList(const uint8_t *bytes, const Chunk &chunk, const char *kind)
{
    return isFourcc(chunk.id, "LIST") && chunk.size >= 4 && isFourcc(bytes + chunk.data, kind);
}

}  // namespace

uint32_t aviFramesPerSecond(uint32_t rate, uint32_t scale)
{
    if (rate == 0)
        return 0;
    return std::max<uint32_t>(1, rate / std::max<uint32_t>(1, scale));
}

uint32_t aviFramePeriodMs(uint32_t framesPerSecond)
{
    if (framesPerSecond == 0)
        return 0;
    return std::max<uint32_t>(1, 1000 / framesPerSecond);
}

AviClip::AviClip(const uint8_t *bytes, size_t size) : bytes_(bytes), size_(size)
{
    if (size < 12 || !isFourcc(bytes, "RIFF") || !isFourcc(bytes + 8, "AVI ")) {
        refusal_ = kAviNotRiffAvi;
        return;
    }
    size_t declared = readU32(bytes + 4);
    if (declared > size - kChunkHeader || declared < 4) {
        refusal_ = kAviTruncated;
        return;
    }
    size_t end = kChunkHeader + declared;
    for (size_t offset = 12; offset < end;) {
        Chunk chunk;
        if (!readChunk(bytes_, offset, end, &chunk)) {
            refusal_ = kAviTruncated;
            return;
        }
        if (isList(bytes_, chunk, "hdrl") && !readHeaderList(chunk.data + 4, chunk.data + chunk.size)) {
            refusal_ = kAviTruncated;
            return;
        }
        if (isList(bytes_, chunk, "movi"))
            readMovie(chunk.data + 4, chunk.data + chunk.size);
        offset = chunk.next;
    }
    refusal_ = checkStream();
}

bool AviClip::readHeaderList(size_t offset, size_t end)
{
    int32_t stream = 0;
    while (offset < end) {
        Chunk chunk;
        if (!readChunk(bytes_, offset, end, &chunk))
            return false;
        if (isList(bytes_, chunk, "strl")) {
            if (videoStream_ < 0) {
                if (!readStreamList(chunk.data + 4, chunk.data + chunk.size))
                    return false;
                if (haveVideo_)
                    videoStream_ = stream;
            }
            ++stream;
        }
        offset = chunk.next;
    }
    return true;
}

// Reads a stream's header and format when it is a video stream; false when a chunk is cut.
bool AviClip::readStreamList(size_t offset, size_t end)
{
    bool video = false;
    while (offset < end) {
        Chunk chunk;
        if (!readChunk(bytes_, offset, end, &chunk))
            return false;
        const uint8_t *data = bytes_ + chunk.data;
        if (isFourcc(chunk.id, "strh") && chunk.size >= kStreamHeaderUsed && isFourcc(data, "vids")) {
            video = true;
            info_.scale = readU32(data + 20);
            info_.rate = readU32(data + 24);
            info_.length = readU32(data + 32);
        } else if (video && isFourcc(chunk.id, "strf") && chunk.size >= kBitmapHeaderUsed) {
            int32_t height = static_cast<int32_t>(readU32(data + 8));
            info_.width = static_cast<int32_t>(readU32(data + 4));
            info_.bottomUp = height > 0;
            info_.height = height == INT32_MIN ? 0 : (height < 0 ? -height : height);
            info_.bitCount = readU16(data + 14);
            compression_ = readU32(data + 16);
            haveFormat_ = true;
        }
        offset = chunk.next;
    }
    haveVideo_ = video;
    return true;
}

// Collects the video stream's frame chunks ("NNdb" or "NNdc"), also inside "rec " lists. A cut
// chunk ends the list: the frames before it still count.
void AviClip::readMovie(size_t offset, size_t end)
{
    struct Level {
        size_t offset, end;
    };
    std::vector<Level> levels{{offset, end}};
    // The stream number in two decimal digits, then "db" (plain frames) or "dc" (compressed).
    char plain[5] = {static_cast<char>('0' + videoStream_ / 10 % 10), static_cast<char>('0' + videoStream_ % 10), 'd',
                     'b', 0};
    char packed[5] = {plain[0], plain[1], 'd', 'c', 0};
    while (!levels.empty()) {
        Level &level = levels.back();
        Chunk chunk;
        if (level.offset >= level.end || !readChunk(bytes_, level.offset, level.end, &chunk)) {
            levels.pop_back();
            continue;
        }
        level.offset = chunk.next;
        if (isList(bytes_, chunk, "rec ")) {
            if (levels.size() < kDeepestList)
                levels.push_back({chunk.data + 4, chunk.data + chunk.size});
            continue;
        }
        bool ours = videoStream_ >= 0 && (isFourcc(chunk.id, plain) || isFourcc(chunk.id, packed));
        if (ours)
            frames_.push_back({chunk.data, chunk.size});
    }
}

size_t AviClip::rowBytes() const
{
    return ((static_cast<size_t>(info_.width) * info_.bitCount + 31) / 32) * 4;
}

AviRefusal AviClip::checkStream() const
{
    if (videoStream_ < 0 || !haveFormat_)
        return kAviNoVideoStream;
    if (compression_ != kPlainRgb || (info_.bitCount != 24 && info_.bitCount != 32))
        return kAviCompressed;
    if (info_.width <= 0 || info_.height <= 0 || info_.width > kLargestSide || info_.height > kLargestSide)
        return kAviBadSize;
    if (info_.rate == 0)
        return kAviZeroRate;
    if (frames_.empty())
        return kAviNoFrames;
    size_t needed = rowBytes() * static_cast<size_t>(info_.height);
    for (const Span &frame : frames_)
        if (frame.size < needed)
            return kAviShortFrame;
    return kAviReadable;
}

std::vector<uint32_t> AviClip::framePixels(int32_t index) const
{
    std::vector<uint32_t> pixels;
    if (!readable() || index < 0 || index >= frameCount())
        return pixels;
    const uint8_t *frame = bytes_ + frames_[static_cast<size_t>(index)].offset;
    size_t stride = rowBytes();
    size_t pixelBytes = info_.bitCount / 8;
    pixels.reserve(static_cast<size_t>(info_.width) * info_.height);
    for (int32_t y = 0; y < info_.height; ++y) {
        int32_t fileRow = info_.bottomUp ? info_.height - 1 - y : y;
        const uint8_t *row = frame + static_cast<size_t>(fileRow) * stride;
        for (int32_t x = 0; x < info_.width; ++x) {
            const uint8_t *p = row + static_cast<size_t>(x) * pixelBytes;
            pixels.push_back(static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0]);
        }
    }
    return pixels;
}
