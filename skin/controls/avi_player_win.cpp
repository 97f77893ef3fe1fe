#include "avi_player.h"

#include "avi_clip.h"

namespace {

template <typename F>
bool findEntry(HMODULE module, const char *name, F *entry)
{
    *entry = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module, name)));
    return *entry != nullptr;
}

constexpr DWORD kVideoStream = mmioFOURCC('v', 'i', 'd', 's');

}  // namespace

AviPlayer::AviPlayer()
{
    avifil_ = LoadLibraryW(L"avifil32.dll");
    msvfw_ = LoadLibraryW(L"msvfw32.dll");
    available_ = avifil_ && msvfw_ && bind();
    if (available_)
        fileInit_();
}

AviPlayer::~AviPlayer()
{
    close();
    if (available_)
        fileExit_();
    if (msvfw_)
        FreeLibrary(msvfw_);
    if (avifil_)
        FreeLibrary(avifil_);
}

bool AviPlayer::bind()
{
    return findEntry(avifil_, "AVIFileInit", &fileInit_) && findEntry(avifil_, "AVIFileExit", &fileExit_) &&
           findEntry(avifil_, "AVIFileOpenW", &fileOpen_) && findEntry(avifil_, "AVIFileInfoW", &fileInfo_) &&
           findEntry(avifil_, "AVIFileGetStream", &getStream_) && findEntry(avifil_, "AVIFileRelease", &fileRelease_) &&
           findEntry(avifil_, "AVIStreamRelease", &streamRelease_) &&
           findEntry(avifil_, "AVIStreamStart", &streamStart_) && findEntry(avifil_, "AVIStreamLength", &streamLength_) &&
           findEntry(avifil_, "AVIStreamGetFrameOpen", &frameOpen_) &&
           findEntry(avifil_, "AVIStreamGetFrame", &getFrame_) &&
           findEntry(avifil_, "AVIStreamGetFrameClose", &frameClose_) &&
           findEntry(msvfw_, "DrawDibOpen", &drawDibOpen_) && findEntry(msvfw_, "DrawDibDraw", &drawDibDraw_) &&
           findEntry(msvfw_, "DrawDibClose", &drawDibClose_);
}

bool AviPlayer::open(const wchar_t *path)
{
    close();
    if (!available_ || !path)
        return false;
    if (fileOpen_(&file_, path, OF_READ | OF_SHARE_DENY_WRITE, nullptr) != 0) {
        file_ = nullptr;
        return false;
    }
    bool ok = fileInfo_(file_, &info_, sizeof(info_)) == 0 &&
              getStream_(file_, &stream_, kVideoStream, 0) == 0 && stream_ != nullptr &&
              aviFramesPerSecond(info_.dwRate, info_.dwScale) != 0 && info_.dwWidth > 0 && info_.dwHeight > 0;
    if (!ok)
        close();
    return ok;
}

void AviPlayer::close()
{
    if (drawDib_) {
        drawDibClose_(drawDib_);
        drawDib_ = nullptr;
    }
    if (stream_) {
        streamRelease_(stream_);
        stream_ = nullptr;
    }
    if (file_) {
        fileRelease_(file_);
        file_ = nullptr;
    }
    info_ = AVIFILEINFOW{};
}

int32_t AviPlayer::frameCount() const
{
    return stream_ ? static_cast<int32_t>(streamLength_(stream_)) : -1;
}

uint32_t AviPlayer::framesPerSecond() const
{
    return stream_ ? aviFramesPerSecond(info_.dwRate, info_.dwScale) : 0;
}

bool AviPlayer::drawFrame(HDC dc, int32_t index)
{
    if (!stream_ || index < 0 || index >= frameCount())
        return false;
    PGETFRAME frames = frameOpen_(stream_, nullptr);
    if (!frames)
        return false;
    bool drawn = false;
    auto *header = static_cast<BITMAPINFOHEADER *>(getFrame_(frames, streamStart_(stream_) + index));
    if (header) {
        if (!drawDib_)
            drawDib_ = drawDibOpen_();
        DWORD colours = header->biClrUsed ? header->biClrUsed : (header->biBitCount <= 8 ? 1u << header->biBitCount : 0);
        BYTE *bits = reinterpret_cast<BYTE *>(header) + header->biSize + colours * sizeof(RGBQUAD);
        // The whole source is given by its size: a source of -1 x -1 draws nothing under Wine.
        int w = width(), h = height();
        drawn = drawDib_ && drawDibDraw_(drawDib_, dc, 0, 0, w, h, header, bits, 0, 0, w, h, 0);
    }
    frameClose_(frames);
    return drawn;
}
