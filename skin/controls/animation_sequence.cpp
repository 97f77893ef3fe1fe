#include "animation_sequence.h"

#include <algorithm>

void AnimationSequence::open(int32_t frameCount)
{
    frameCount_ = std::max(0, frameCount);
    repeat_ = kRepeatForever;
    repeatsDone_ = 0;
    fromFrame_ = 0;
    toFrame_ = kToLastFrame;
    currentFrame_ = 0;
}

int32_t AnimationSequence::lastFrame() const
{
    return toFrame_ == kToLastFrame ? frameCount_ - 1 : toFrame_;
}

bool AnimationSequence::play(int32_t repeat, uint32_t packedRange)
{
    if (frameCount_ <= 0)
        return false;
    uint16_t from = static_cast<uint16_t>(packedRange & 0xFFFFu);
    int16_t to = static_cast<int16_t>(packedRange >> 16);
    repeat_ = repeat;
    repeatsDone_ = 0;
    fromFrame_ = (from & 0x8000u) ? 0 : from;
    // Any end before the start of the clip plays to its last frame; an end beyond it stops there.
    toFrame_ = to < 0 ? kToLastFrame : std::min<int32_t>(to, frameCount_ - 1);
    if (toFrame_ == frameCount_ - 1)
        toFrame_ = kToLastFrame;
    fromFrame_ = std::min(fromFrame_, lastFrame());
    currentFrame_ = fromFrame_;
    return true;
}

bool AnimationSequence::advance()
{
    int32_t last = lastFrame();
    if (++currentFrame_ <= last)
        return false;
    if (repeat_ != kRepeatForever && ++repeatsDone_ >= repeat_) {
        currentFrame_ = last;
        return true;
    }
    currentFrame_ = fromFrame_;
    return false;
}
