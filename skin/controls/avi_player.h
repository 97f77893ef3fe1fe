// AviPlayer: the system's video library (avifil32 and msvfw32, bound at run time by name, so a
// system without them leaves animations unskinned) opening a clip file and drawing its frames.
// Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_AVI_PLAYER_H
#define WORDMERE_SKIN_CONTROLS_AVI_PLAYER_H

#include <windows.h>

#include <vfw.h>

#include <cstdint>

class AviPlayer {
public:
    AviPlayer();
    ~AviPlayer();
    AviPlayer(const AviPlayer &) = delete;
    AviPlayer &operator=(const AviPlayer &) = delete;

    // Both libraries were found with every entry point used.
    bool available() const { return available_; }
    // Opens a clip read-only and finds its first video stream; the previous clip is closed.
    // False (and no clip) when it cannot be opened, has no video stream or a rate of 0.
    bool open(const wchar_t *path);
    void close();
    bool isOpen() const { return stream_ != nullptr; }

    // Frames of the stream; -1 without a clip.
    int32_t frameCount() const;
    // rate / scale of the clip, at least 1; 0 without a clip.
    uint32_t framesPerSecond() const;
    int32_t width() const { return isOpen() ? static_cast<int32_t>(info_.dwWidth) : 0; }
    int32_t height() const { return isOpen() ? static_cast<int32_t>(info_.dwHeight) : 0; }

    // Draws a frame at 0,0 in the clip's size; false for a frame the clip does not give.
    bool drawFrame(HDC dc, int32_t index);

private:
    bool bind();

    HMODULE avifil_ = nullptr;
    HMODULE msvfw_ = nullptr;
    bool available_ = false;
    PAVIFILE file_ = nullptr;
    PAVISTREAM stream_ = nullptr;
    AVIFILEINFOW info_{};
    HDRAWDIB drawDib_ = nullptr;

    decltype(&::AVIFileInit) fileInit_ = nullptr;
    decltype(&::AVIFileExit) fileExit_ = nullptr;
    decltype(&::AVIFileOpenW) fileOpen_ = nullptr;
    decltype(&::AVIFileInfoW) fileInfo_ = nullptr;
    decltype(&::AVIFileGetStream) getStream_ = nullptr;
    decltype(&::AVIFileRelease) fileRelease_ = nullptr;
    decltype(&::AVIStreamRelease) streamRelease_ = nullptr;
    decltype(&::AVIStreamStart) streamStart_ = nullptr;
    decltype(&::AVIStreamLength) streamLength_ = nullptr;
    decltype(&::AVIStreamGetFrameOpen) frameOpen_ = nullptr;
    decltype(&::AVIStreamGetFrame) getFrame_ = nullptr;
    decltype(&::AVIStreamGetFrameClose) frameClose_ = nullptr;
    decltype(&::DrawDibOpen) drawDibOpen_ = nullptr;
    decltype(&::DrawDibDraw) drawDibDraw_ = nullptr;
    decltype(&::DrawDibClose) drawDibClose_ = nullptr;
};

#endif
