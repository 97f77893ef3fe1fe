#include "format/lxcompressor.h"

#include <cstring>
#include <new>

namespace {
// Small blocks compress well enough with a small window and little memory.
const int kLevel = 3;
const int kWindowBits = 13;
const int kMemLevel = 7;
} // namespace

LXCompressor::LXCompressor() : m_lastResult(Z_OK), m_decompressCount(0)
{
    std::memset(&m_deflate, 0, sizeof m_deflate);
    std::memset(&m_inflate, 0, sizeof m_inflate);
}

LXCompressor *LXCompressor::create()
{
    LXCompressor *c = new (std::nothrow) LXCompressor();
    if (!c)
        return nullptr;
    c->m_lastResult = deflateInit2(&c->m_deflate, kLevel, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY);
    if (c->m_lastResult != Z_OK) {
        // Nothing to end: neither state was set up.
        std::memset(&c->m_deflate, 0, sizeof c->m_deflate);
        delete c;
        return nullptr;
    }
    // Default window (15 bits) inflates the 13-bit streams as well.
    c->m_lastResult = inflateInit(&c->m_inflate);
    if (c->m_lastResult != Z_OK) {
        std::memset(&c->m_inflate, 0, sizeof c->m_inflate);
        delete c;
        return nullptr;
    }
    return c;
}

LXCompressor::~LXCompressor()
{
    if (m_deflate.state)
        deflateEnd(&m_deflate);
    if (m_inflate.state)
        inflateEnd(&m_inflate);
}

uint32_t LXCompressor::compress(const uint8_t *input, uint32_t inputLength, uint8_t *output, uint32_t outputCapacity)
{
    if ((!input && inputLength) || !output)
        return 0;
    m_lastResult = deflateReset(&m_deflate);
    if (m_lastResult != Z_OK)
        return 0;
    m_deflate.next_in = const_cast<Bytef *>(input);
    m_deflate.avail_in = inputLength;
    m_deflate.next_out = output;
    m_deflate.avail_out = outputCapacity;
    m_lastResult = deflate(&m_deflate, Z_FINISH);
    if (m_lastResult != Z_STREAM_END)
        return 0;
    return static_cast<uint32_t>(m_deflate.total_out);
}

uint32_t LXCompressor::decompress(const uint8_t *input, uint32_t inputLength, uint8_t *output, uint32_t outputCapacity)
{
    if (!input || !output)
        return 0;
    ++m_decompressCount;
    m_lastResult = inflateReset(&m_inflate);
    if (m_lastResult != Z_OK)
        return 0;
    m_inflate.next_in = const_cast<Bytef *>(input);
    m_inflate.avail_in = inputLength;
    m_inflate.next_out = output;
    m_inflate.avail_out = outputCapacity;
    m_lastResult = inflate(&m_inflate, Z_FINISH);
    // Input left over means the caller's idea of where the stream ends is wrong.
    if (m_lastResult != Z_STREAM_END || m_inflate.avail_in != 0)
        return 0;
    return static_cast<uint32_t>(m_inflate.total_out);
}
