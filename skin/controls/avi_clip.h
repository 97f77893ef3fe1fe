// Reading an animation clip: a RIFF AVI file with one uncompressed video stream (24 or 32 bits
// a pixel, rows bottom-up or top-down), as animation controls play them. The animation skinner
// checks a clip with it before the system's video library opens it, so a corrupt or unplayable
// clip is refused with a reason; its frames are also read here for the tests. Every length
// read from the file is checked against the bytes that are there.
#ifndef WORDMERE_SKIN_CONTROLS_AVI_CLIP_H
#define WORDMERE_SKIN_CONTROLS_AVI_CLIP_H

#include <cstddef>
#include <cstdint>
#include <vector>

enum AviRefusal : int32_t {
    kAviReadable = 0,
    kAviNotRiffAvi = 1,      // no "RIFF" ... "AVI " header
    kAviTruncated = 2,       // a chunk runs past the end of the bytes
    kAviNoVideoStream = 3,   // no stream of type "vids" with a format
    kAviCompressed = 4,      // a compression or a pixel depth other than plain 24 or 32 bits
    kAviBadSize = 5,         // a zero or oversized width or height
    kAviZeroRate = 6,        // a rate of 0: no frame period
    kAviNoFrames = 7,        // no frame data of the stream
    kAviShortFrame = 8,      // a frame with fewer bytes than its rows need
};

// What the clip's stream header and format say.
struct AviStreamInfo {
    uint32_t scale = 0;
    uint32_t rate = 0;
    uint32_t length = 0;  // frames, as the header says
    int32_t width = 0;
    int32_t height = 0;   // always positive; bottomUp tells the row order
    bool bottomUp = true;
    uint16_t bitCount = 0;
};

// Frames per second of a stream: rate / scale (a scale of 0 counts as 1), at least 1; 0 when
// the rate is 0, which has no period.
uint32_t aviFramesPerSecond(uint32_t rate, uint32_t scale);

// The wait between two frames in milliseconds (at least 1); 0 for 0 frames per second.
uint32_t aviFramePeriodMs(uint32_t framesPerSecond);

class AviClip {
public:
    // Reads the clip's headers and finds its frames; refusal() says why it cannot be played.
    AviClip(const uint8_t *bytes, size_t size);

    AviRefusal refusal() const { return refusal_; }
    bool readable() const { return refusal_ == kAviReadable; }
    const AviStreamInfo &info() const { return info_; }
    int32_t frameCount() const { return static_cast<int32_t>(frames_.size()); }
    uint32_t framePeriodMs() const { return aviFramePeriodMs(aviFramesPerSecond(info_.rate, info_.scale)); }

    // The pixels of a frame as 0xRRGGBB, row by row from the top; empty for a frame outside
    // the clip.
    std::vector<uint32_t> framePixels(int32_t index) const;

private:
    struct Span {
        size_t offset;
        size_t size;
    };

    bool readHeaderList(size_t offset, size_t end);
    bool readStreamList(size_t offset, size_t end);
    void readMovie(size_t offset, size_t end);
    AviRefusal checkStream() const;
    size_t rowBytes() const;

    const uint8_t *bytes_;
    size_t size_;
    AviRefusal refusal_ = kAviReadable;
    bool haveVideo_ = false;
    bool haveFormat_ = false;
    uint32_t compression_ = 0;
    int32_t videoStream_ = -1;
    AviStreamInfo info_;
    std::vector<Span> frames_;
};

#endif
