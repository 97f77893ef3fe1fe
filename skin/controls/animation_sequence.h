// Which frames an animation control shows: the range and repeat count one play asks for, and
// the frame after each period. Platform-neutral; the animation skinner's playback thread draws
// the current frame, then advances until the sequence reports its end.
#ifndef WORDMERE_SKIN_CONTROLS_ANIMATION_SEQUENCE_H
#define WORDMERE_SKIN_CONTROLS_ANIMATION_SEQUENCE_H

#include <cstdint>

constexpr int32_t kRepeatForever = -1;
constexpr int32_t kToLastFrame = -1;

class AnimationSequence {
public:
    // A newly opened clip: from frame 0 to its last, repeated forever, showing frame 0.
    void open(int32_t frameCount);

    // One play: repeat count, and the packed range of the play message (the start frame in the
    // low word, 0 when its top bit is set; the end frame in the high word as a signed value,
    // -1 for the last, limited to the last frame). Every play counts its repetitions afresh.
    // False when the clip has no frames to play.
    bool play(int32_t repeat, uint32_t packedRange);

    // To the next frame; true when the play has ended (its last repetition shown to the end
    // frame, which stays the current one).
    bool advance();

    int32_t frameCount() const { return frameCount_; }
    int32_t currentFrame() const { return currentFrame_; }
    int32_t fromFrame() const { return fromFrame_; }
    int32_t lastFrame() const;
    int32_t repeat() const { return repeat_; }
    int32_t repeatsDone() const { return repeatsDone_; }

private:
    int32_t frameCount_ = 0;
    int32_t repeat_ = kRepeatForever;
    int32_t repeatsDone_ = 0;
    int32_t fromFrame_ = 0;
    int32_t toFrame_ = kToLastFrame;
    int32_t currentFrame_ = 0;
};

#endif
