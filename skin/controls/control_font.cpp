#include "control_font.h"

bool ControlFontKeeper::beginSkinFont(Handle font)
{
    skinFonts_.insert(font);
    if (state_ != State::kNothing) {
        return false;
    }
    state_ = State::kReadPending;
    return true;
}

void ControlFontKeeper::onOwnFontRead(Handle current)
{
    // Only the read that was asked for counts; a stray one never replaces what was kept.
    if (state_ == State::kReadPending) {
        own_ = current;
        state_ = State::kRead;
    }
}

bool ControlFontKeeper::takeOwnFont(Handle *font)
{
    const bool had = state_ == State::kRead;
    if (had && font != nullptr) {
        *font = own_;
    }
    state_ = State::kNothing;
    own_ = 0;
    skinFonts_.clear();
    return had;
}
