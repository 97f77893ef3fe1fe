// Little-endian numbers in byte arrays, as the BMP and TGA headers store them.
#ifndef WORDMERE_IMAGE_IMAGEBYTES_H
#define WORDMERE_IMAGE_IMAGEBYTES_H

#include <cstdint>

inline uint16_t imageGetLE16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t imageGetLE32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

inline void imagePutLE16(uint8_t *p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void imagePutLE32(uint8_t *p, uint32_t v)
{
    imagePutLE16(p, v);
    imagePutLE16(p + 2, v >> 16);
}

#endif
