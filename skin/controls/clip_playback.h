// ClipPlayback: an animation clip played on a thread of its own into a window, as the skinned
// animation control plays it. Clips come from a file or from an "AVI" resource; a resource is
// checked, written to a temporary file of a unique name for the video library, and that file
// is deleted as soon as the library lets it go (at once, or when the clip is closed). A stop
// waits until the playback thread has ended, so nothing draws after it. Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_CLIP_PLAYBACK_H
#define WORDMERE_SKIN_CONTROLS_CLIP_PLAYBACK_H

#include <windows.h>

#include <atomic>
#include <string>

#include "animation_sequence.h"
#include "avi_player.h"

// What the playback draws into: the owner draws a frame (the player's picture placed on its
// background) into a DC of the window.
class ClipPlaybackTarget {
public:
    virtual ~ClipPlaybackTarget() = default;
    virtual HWND clipWindow() = 0;
    virtual void drawClipFrame(HDC dc, int32_t frame) = 0;
};

class ClipPlayback {
public:
    explicit ClipPlayback(ClipPlaybackTarget &target);
    ~ClipPlayback();
    ClipPlayback(const ClipPlayback &) = delete;
    ClipPlayback &operator=(const ClipPlayback &) = delete;

    AviPlayer &player() { return player_; }

    // Opens a clip: name a resource id (below 0x10000) of type "AVI" in module, or a string,
    // tried first as a file path and then as the name of an "AVI" resource. Stops any playback
    // and closes the previous clip first. False when nothing playable was found.
    bool open(HMODULE module, const wchar_t *name);
    void close();

    // Plays the clip (see AnimationSequence::play); true when a playback thread started.
    bool play(int32_t repeat, uint32_t packedRange);
    // Stops a running playback and waits for its thread; true when one was running.
    bool stop();
    bool playing() const { return playing_.load(); }

    // The frame shown; read it only while not playing.
    int32_t currentFrame() const { return sequence_.currentFrame(); }
    const AnimationSequence &sequence() const { return sequence_; }
    uint32_t periodMs() const;

    // Draws a frame of the clip at 0,0 in its own size (for the owner's drawClipFrame).
    bool drawFrame(HDC dc, int32_t frame) { return player_.drawFrame(dc, frame); }

private:
    static DWORD WINAPI threadMain(void *self);
    void run();
    bool openResource(HMODULE module, const wchar_t *name);
    // Waits for a thread that ended by itself and lets its handle go.
    void joinThread();
    void deleteTemporaryFile();

    ClipPlaybackTarget &target_;
    AviPlayer player_;
    AnimationSequence sequence_;
    HANDLE stopEvent_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> playing_{false};
    std::wstring temporaryFile_;  // still to delete once the library lets it go
};

#endif
