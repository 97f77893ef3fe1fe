// What a control skinner remembers of the font a control had before the skin gave it one.
// The skin's font is posted to the control behind a request to read the control's own font,
// so a font that the creator sets just after creation is the one kept. Only the first skin
// font of a skinning asks for that read: a second skin font posted before the first read is
// answered must not make the skin's font the "own" one, and an own font of none (the system
// font) is remembered as such, so detaching gives back exactly what was there.
#ifndef WORDMERE_SKIN_CONTROLS_CONTROL_FONT_H
#define WORDMERE_SKIN_CONTROLS_CONTROL_FONT_H

#include <cstdint>
#include <set>

class ControlFontKeeper {
public:
    using Handle = uintptr_t;

    // A skin font is about to be posted: true when a read of the control's own font must be
    // posted before it (the first skin font since the last restore).
    bool beginSkinFont(Handle font);
    // The posted read arrived with the control's font at that moment.
    void onOwnFontRead(Handle current);
    // Whether the font is one the skin posted since the last restore.
    bool isSkinFont(Handle font) const { return skinFonts_.count(font) != 0; }
    // The own font to give back, when it was read; the keeper forgets everything. A read that
    // was asked for and never answered gives nothing back: the control still has its own font.
    bool takeOwnFont(Handle *font);
    bool hasOwnFont() const { return state_ == State::kRead; }
    Handle ownFont() const { return own_; }

private:
    enum class State { kNothing, kReadPending, kRead };
    State state_ = State::kNothing;
    Handle own_ = 0;
    std::set<Handle> skinFonts_;
};

#endif
