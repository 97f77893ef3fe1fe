// Opens arbitrary bytes as a container and reads every stream through each load mode;
// then writes the bytes as a compressed and a plain stream and reads them back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <unistd.h>

#include "base/lxstring.h"
#include "format/lxcompressor.h"
#include "format/lxstreamfile.h"

namespace {

LXCompressor *compressor()
{
    static LXCompressor *c = LXCompressor::create();
    return c;
}

std::string scratchPath(const char *what)
{
    const char *dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/wm_streamfile_fuzz_" + std::to_string(getpid()) + what;
}

void readAll(LXStreamFile &f)
{
    for (uint32_t s = 0; s < f.getStreamCount() && s < 64; ++s) {
        const uint32_t size = f.getStreamSize(static_cast<int32_t>(s));
        // Spread the reads over the stream, a few past its end as well.
        const uint32_t step = size / 512 + 1;
        volatile uint32_t sink = 0;
        for (uint64_t p = 0; p < uint64_t(size) + 8; p += step)
            sink += f.readInt32(static_cast<int32_t>(s), static_cast<uint32_t>(p));
        uint32_t pos = 0;
        lxstring text;
        for (int i = 0; i < 8 && pos < size; ++i)
            f.readString(text, static_cast<int32_t>(s), pos, i & 1);
        uint32_t cp = 0;
        pos = size > 3 ? size - 3 : 0;
        f.readCodePoint(static_cast<int32_t>(s), pos, size, cp);
        (void)sink;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || !compressor())
        return 0;
    static const std::string path = scratchPath(".lxs");
    static const std::string out = scratchPath("-out.lxs");
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        // Odd first byte: the rest follows the magic, so the fuzzer starts inside the format.
        if (data[0] & 1)
            f.write("\x05\xE9\xF1\x7E", 4);
        f.write(reinterpret_cast<const char *>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    const lxstring name(path.c_str(), LXEncodingUtf8);
    LXStreamFile f(compressor());
    static const int whole[4] = {LXStream::WholeStream, LXStream::WholeStream,
                                  LXStream::WholeStream, LXStream::WholeStream};
    static const int cached[4] = {LXStream::BlockCache, LXStream::BlockCache,
                                   LXStream::NotLoaded, LXStream::BlockCache};
    static const int oneSlot[4] = {1, 1, 1, 1};
    static const int fourSlots[4] = {4, 4, 4, 4};
    if (f.open(name, LXStreamFile::ModeRead, 4, whole, nullptr))
        readAll(f);
    if (f.open(name, LXStreamFile::ModeRead, 4, cached, oneSlot))
        readAll(f);
    if (f.open(name, LXStreamFile::ModeRead, 4, cached, fourSlots))
        readAll(f);
    f.close();

    // Round trip: the same bytes written plain and compressed must read back unchanged.
    const lxstring outName(out.c_str(), LXEncodingUtf8);
    LXStreamFile w(compressor());
    if (!w.open(outName, LXStreamFile::ModeWrite, 2))
        return 0;
    for (int32_t s = 0; s < 2; ++s) {
        uint32_t pos = 0;
        for (size_t i = 0; i < size; ++i)
            w.writeByte(s, pos, data[i]);
    }
    w.setCompressed(1, true);
    if (!w.write())
        abort();
    w.close();
    static const int modes[2] = {LXStream::WholeStream, LXStream::BlockCache};
    static const int slots[2] = {1, 1};
    if (!w.open(outName, LXStreamFile::ModeRead, 2, modes, slots))
        abort();
    for (int32_t s = 0; s < 2; ++s) {
        if (w.getStreamSize(s) != size)
            abort();
        for (size_t i = 0; i < size; ++i) {
            if (w.readByte(s, static_cast<uint32_t>(i)) != data[i])
                abort();
        }
    }
    return 0;
}
