// AnimateSkinner: the animation control's skinner. It takes playback away from the control:
// it answers the open, play and stop messages itself, plays the clip on a thread of its own
// (ClipPlayback) and draws each frame over the skin's background, or the parent's for a
// transparent animation, so clips sit cleanly on skinned windows. Without the system's video
// library the control stays unskinned. Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_ANIMATE_SKINNER_H
#define WORDMERE_SKIN_CONTROLS_ANIMATE_SKINNER_H

#include <windows.h>

#include <mutex>

#include "clip_playback.h"
#include "control_skinner.h"

class AnimateSkinner : public ControlSkinner, private ClipPlaybackTarget {
public:
    explicit AnimateSkinner(WindowSkinner *container);
    ~AnimateSkinner() override;

    bool attach(HWND window) override;
    void detach() override;
    void paint(HDC dc) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;

    bool playing() const { return playback_.playing(); }
    // The frame shown; read it only while not playing.
    int32_t currentFrame() const { return playback_.currentFrame(); }

private:
    HWND clipWindow() override { return window_; }
    // Runs on the playback thread too: it sends no message to any window.
    void drawClipFrame(HDC dc, int32_t frame) override;

    LRESULT open(HINSTANCE instance, const wchar_t *name);
    LRESULT play(int32_t repeat, uint32_t packedRange);
    void stop();
    void notifyParent(WORD code);
    // Keeps what lies behind the clip (skin or parent background) for the playback thread.
    void keepBackground();
    void dropBackground();

    ClipPlayback playback_{*this};
    int32_t controlId_ = 0;
    DWORD style_ = 0;
    std::mutex backgroundLock_;
    HBITMAP background_ = nullptr;
    int backgroundWidth_ = 0, backgroundHeight_ = 0;
};

#endif
