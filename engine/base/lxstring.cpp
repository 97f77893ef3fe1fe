// lxstring: storage, re-encoding, editing, searching, collation and streams.
//
// Every walk over the content is bounded by the byte length, so malformed text
// (a UTF-8 sequence cut short at the end, 0xFE/0xFF, stray continuation bytes, a
// partial unit left by append) never makes a read leave the content bytes.
#include "base/lxstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <utility>

namespace {

const int32_t kMaxCapacity = int32_t(1) << 30;

// Encodings outside 0..3 are stored as given but read and written one byte per
// character, like encoding 3.
int normEncoding(int e)
{
    return (e >= LXEncodingUtf8 && e <= LXEncodingBytes) ? e : LXEncodingBytes;
}

int unitOf(int e)
{
    return e == 1 ? 2 : e == 2 ? 4 : 1;
}

inline bool isCont(unsigned char b)
{
    return b >= 0x80 && b <= 0xBF;
}

int32_t utf8Length(uint32_t cp)
{
    if (cp < 0x80) return 1;
    if (cp < 0x800) return 2;
    if (cp <= 0xFFFF) return 3;
    if (cp <= 0x1FFFFF) return 4;
    if (cp <= 0x3FFFFFF) return 5;
    return 6;
}

int32_t encodedLength(uint32_t cp, int e)
{
    switch (normEncoding(e)) {
    case LXEncodingUtf8: return utf8Length(cp);
    case LXEncodingUnits16: return 2;
    case LXEncodingUnits32: return 4;
    default: return 1;
    }
}

// Writes cp at p (room for 6 bytes); answers the bytes written.
int32_t encodeCp(unsigned char *p, uint32_t cp, int e, int order)
{
    switch (normEncoding(e)) {
    case LXEncodingUtf8: {
        int32_t n = utf8Length(cp);
        if (n == 1) {
            p[0] = static_cast<unsigned char>(cp);
            return 1;
        }
        static const unsigned char leads[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
        for (int32_t k = n - 1; k > 0; --k) {
            p[k] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
            cp >>= 6;
        }
        // Six-byte form: one payload bit in the lead; bit 31 cannot be written.
        uint32_t leadBits = n == 6 ? (cp & 0x01) : cp;
        p[0] = static_cast<unsigned char>(leads[n] | leadBits);
        return n;
    }
    case LXEncodingUnits16:
        if (order == LXLeastSignificantFirst) {
            p[0] = static_cast<unsigned char>(cp);
            p[1] = static_cast<unsigned char>(cp >> 8);
        } else {
            p[0] = static_cast<unsigned char>(cp >> 8);
            p[1] = static_cast<unsigned char>(cp);
        }
        return 2;
    case LXEncodingUnits32:
        if (order == LXLeastSignificantFirst) {
            p[0] = static_cast<unsigned char>(cp);
            p[1] = static_cast<unsigned char>(cp >> 8);
            p[2] = static_cast<unsigned char>(cp >> 16);
            p[3] = static_cast<unsigned char>(cp >> 24);
        } else {
            p[0] = static_cast<unsigned char>(cp >> 24);
            p[1] = static_cast<unsigned char>(cp >> 16);
            p[2] = static_cast<unsigned char>(cp >> 8);
            p[3] = static_cast<unsigned char>(cp);
        }
        return 4;
    default:
        p[0] = static_cast<unsigned char>(cp);
        return 1;
    }
}

// Sequence length and payload bits of a UTF-8 lead byte. A stray continuation byte
// reads as a two-byte lead; 0xFE and 0xFF stand alone for code point 0 (n = 0).
int utf8Lead(unsigned char b, uint32_t &bits)
{
    if (b < 0x80) { bits = b; return 1; }
    if (b < 0xE0) { bits = b & 0x1F; return 2; }
    if (b < 0xF0) { bits = b & 0x0F; return 3; }
    if (b < 0xF8) { bits = b & 0x07; return 4; }
    if (b < 0xFC) { bits = b & 0x03; return 5; }
    if (b < 0xFE) { bits = b & 0x01; return 6; }
    bits = 0;
    return 0;
}

// Decodes the code point at p with avail content bytes from p on (avail >= 1). A UTF-8
// sequence ends early at the content end or at a byte that is no continuation byte (the
// start of the next code point, which the iteration visits anyway); the missing
// payload reads as zero bits. So every byte belongs to one code point only.
uint32_t decodeCp(const unsigned char *p, int32_t avail, int e, int order)
{
    switch (normEncoding(e)) {
    case LXEncodingUtf8: {
        uint32_t cp;
        int n = utf8Lead(p[0], cp);
        bool cut = false;
        for (int k = 1; k < n; ++k) {
            cut = cut || k >= avail || !isCont(p[k]);
            cp = (cp << 6) | (cut ? 0u : (p[k] & 0x3Fu));
        }
        return cp;
    }
    case LXEncodingUnits16:
        if (avail < 2) return 0;
        return order == LXLeastSignificantFirst ? (uint32_t(p[0]) | uint32_t(p[1]) << 8)
                          : (uint32_t(p[0]) << 8 | uint32_t(p[1]));
    case LXEncodingUnits32:
        if (avail < 4) return 0;
        return order == LXLeastSignificantFirst ? (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                             uint32_t(p[3]) << 24)
                          : (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 |
                             uint32_t(p[3]));
    default:
        return p[0];
    }
}

// Code points in n content bytes: non-continuation bytes in UTF-8, whole units otherwise.
int32_t countChars(const unsigned char *p, int32_t n, int e)
{
    switch (normEncoding(e)) {
    case LXEncodingUtf8: {
        int32_t c = 0;
        for (int32_t i = 0; i < n; ++i)
            if (!isCont(p[i])) ++c;
        return c;
    }
    case LXEncodingUnits16: return n / 2;
    case LXEncodingUnits32: return n / 4;
    default: return n;
    }
}

// Bytes of raw text up to its terminator (a zero unit of the encoding).
int32_t measureRaw(const char *bytes, int e)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes);
    int u = unitOf(e);
    int32_t n = 0;
    for (;;) {
        bool zero = true;
        for (int k = 0; k < u; ++k)
            if (p[n + k] != 0) { zero = false; break; }
        if (zero) return n;
        n += u;
    }
}

const unsigned char kEmpty[4] = {0, 0, 0, 0};

// A scratch block of raw bytes, released on scope exit. Used when a raw argument
// points into the string's own buffer, which a growth would free.
struct ScratchCopy {
    unsigned char *p = nullptr;
    ~ScratchCopy() { std::free(p); }
};

int rankDecision(bool thisDone, bool otherDone, uint32_t a, uint32_t b, LXLanguage lang)
{
    if (!thisDone && otherDone) return 1;
    if (thisDone) return otherDone ? 0 : -1;
    uint32_t r1 = lx_rank(a, lang), r2 = lx_rank(b, lang);
    return r1 > r2 ? 1 : (r1 == r2 ? 0 : -1);
}

} // namespace

// Delivers the code points of a string in order with the ligatures Æ æ ß Œ œ split in
// two: the walk of the collation and the hash, kept apart from the iterators for speed.
class lxstring_reader {
public:
    explicit lxstring_reader(const lxstring &s)
        : p(s.buffer), len(s.byteLength), pos(s.firstIndex()), enc(normEncoding(s.enc)),
          order(s.order)
    {
    }

    bool next(uint32_t &c)
    {
        if (pending) {
            c = pending;
            pending = 0;
            return true;
        }
        if (pos < 0) return false;
        uint32_t cp;
        if (enc == LXEncodingUtf8) {
            cp = p[pos] < 0x80 ? p[pos] : decodeCp(p + pos, len - pos, 0, 0);
            ++pos;
            while (pos < len && isCont(p[pos])) ++pos;
            if (pos >= len) pos = -1;
        } else {
            int u = unitOf(enc);
            cp = decodeCp(p + pos, len - pos, enc, order);
            pos += u;
            if (pos + u > len) pos = -1;
        }
        uint32_t second;
        if (cp >= 198 && lx_splitLigature(cp, c, second))
            pending = second;
        else
            c = cp;
        return true;
    }

private:
    const unsigned char *p;
    int32_t len;
    int32_t pos;
    int enc;
    int order;
    uint32_t pending = 0;
};

// ---------------------------------------------------------------------------
// Iterators

template <class Iterator>
Iterator &lxstring_position<Iterator>::operator+=(int32_t n)
{
    Iterator &it = static_cast<Iterator &>(*this);
    for (; n > 0; --n) ++it;
    for (; n < 0; ++n) --it;
    return it;
}

template <class Iterator>
Iterator &lxstring_position<Iterator>::operator-=(int32_t n)
{
    Iterator &it = static_cast<Iterator &>(*this);
    for (; n > 0; --n) --it;
    for (; n < 0; ++n) ++it;
    return it;
}

template <class Iterator>
uint32_t lxstring_position<Iterator>::operator*() const
{
    if (!str || charIdx == -1) return 0;
    return str->decodeAt(byteIdx);
}

template <class Iterator>
int32_t lxstring_position<Iterator>::getCharIndex() const
{
    if (charIdx == -1) return str ? str->charCount : 0;
    return charIdx;
}

template <class Iterator>
int32_t lxstring_position<Iterator>::getByteIndex() const
{
    if (charIdx == -1) return str ? str->byteLength : 0;
    return byteIdx;
}

template <class Iterator>
bool lxstring_position<Iterator>::isAtEnd() const
{
    return !str || charIdx == -1;
}

template <class Iterator>
void lxstring_position<Iterator>::moveToEnd()
{
    byteIdx = charIdx = -1;
}

template <class Iterator>
bool lxstring_position<Iterator>::operator==(const Iterator &o) const
{
    return byteIdx == o.byteIdx && charIdx == o.charIdx && str == o.str;
}

template <class Iterator>
bool lxstring_position<Iterator>::operator!=(const Iterator &o) const
{
    return !(*this == o);
}

template class lxstring_position<lxstring_iterator>;
template class lxstring_position<lxstring_reverse_iterator>;

lxstring_iterator::lxstring_iterator() : lxstring_position(nullptr, -1, -1) {}

lxstring_iterator::lxstring_iterator(const lxstring *s, int32_t byteIndex, int32_t charIndex)
    : lxstring_position(s, byteIndex, charIndex)
{
}

lxstring_iterator &lxstring_iterator::operator++()
{
    if (!str || charIdx == -1) return *this;
    int32_t n = str->nextIndex(byteIdx);
    if (n < 0) {
        byteIdx = charIdx = -1;
    } else {
        byteIdx = n;
        ++charIdx;
    }
    return *this;
}

lxstring_iterator lxstring_iterator::operator++(int)
{
    lxstring_iterator old = *this;
    ++*this;
    return old;
}

lxstring_iterator &lxstring_iterator::operator--()
{
    if (!str) return *this;
    if (charIdx == -1) {
        int32_t last = str->lastIndex();
        if (last >= 0) {
            byteIdx = last;
            charIdx = str->charCount > 0 ? str->charCount - 1 : 0;
        }
        return *this;
    }
    int32_t p = str->prevIndex(byteIdx);
    if (p >= 0) {
        byteIdx = p;
        if (charIdx > 0) --charIdx;
    }
    return *this;
}

lxstring_iterator lxstring_iterator::operator--(int)
{
    lxstring_iterator old = *this;
    --*this;
    return old;
}

bool lxstring_iterator::isAtBeginning() const
{
    return !str || charIdx == 0 || (charIdx == -1 && str->empty());
}

void lxstring_iterator::moveToBeginning()
{
    if (str) *this = str->begin();
}

bool lxstring_iterator::operator<(const lxstring_iterator &o) const
{
    return str == o.str && byteIdx < o.byteIdx;
}

lxstring_reverse_iterator::lxstring_reverse_iterator() : lxstring_position(nullptr, -1, -1) {}

lxstring_reverse_iterator::lxstring_reverse_iterator(const lxstring *s, int32_t byteIndex,
                                                     int32_t charIndex)
    : lxstring_position(s, byteIndex, charIndex)
{
}

lxstring_reverse_iterator &lxstring_reverse_iterator::operator++()
{
    if (!str || charIdx == -1) return *this;
    int32_t p = str->prevIndex(byteIdx);
    if (p < 0) {
        byteIdx = charIdx = -1;
    } else {
        byteIdx = p;
        if (charIdx > 0) --charIdx;
    }
    return *this;
}

lxstring_reverse_iterator lxstring_reverse_iterator::operator++(int)
{
    lxstring_reverse_iterator old = *this;
    ++*this;
    return old;
}

lxstring_reverse_iterator &lxstring_reverse_iterator::operator--()
{
    if (!str) return *this;
    if (charIdx == -1) {
        int32_t first = str->firstIndex();
        if (first >= 0) {
            byteIdx = first;
            charIdx = 0;
        }
        return *this;
    }
    int32_t n = str->nextIndex(byteIdx);
    if (n >= 0) {
        byteIdx = n;
        ++charIdx;
    }
    return *this;
}

lxstring_reverse_iterator lxstring_reverse_iterator::operator--(int)
{
    lxstring_reverse_iterator old = *this;
    --*this;
    return old;
}

bool lxstring_reverse_iterator::isAtBeginning() const
{
    return !str || charIdx >= str->charCount - 1;
}

void lxstring_reverse_iterator::moveToBeginning()
{
    if (str) *this = str->rbegin();
}

lxstring_reverse_iterator::operator lxstring_iterator() const
{
    return lxstring_iterator(str, byteIdx, charIdx);
}

bool lxstring_reverse_iterator::operator<(const lxstring_reverse_iterator &o) const
{
    return str == o.str && byteIdx > o.byteIdx;
}

// ---------------------------------------------------------------------------
// Positions inside the content. A position is the byte index of a code point, or -1.

uint32_t lxstring::decodeAt(int32_t b) const
{
    if (b < 0 || b >= byteLength) return 0;
    return decodeCp(buffer + b, byteLength - b, enc, order);
}

// A code point starts at b: inside the content, a whole unit for encodings 1 and 2.
bool lxstring::validIndex(int32_t b) const
{
    return b >= 0 && b < byteLength && b + unitSize() <= byteLength;
}

int32_t lxstring::nextIndex(int32_t b) const
{
    if (b < 0 || b >= byteLength) return -1;
    int32_t n;
    if (normEncoding(enc) == 0) {
        n = b + 1;
        while (n < byteLength && isCont(buffer[n])) ++n;
    } else {
        n = b + unitSize();
    }
    return validIndex(n) ? n : -1;
}

int32_t lxstring::prevIndex(int32_t b) const
{
    if (b <= 0 || b > byteLength) return -1;
    if (normEncoding(enc) == 0) {
        int32_t p = b - 1;
        while (p >= 0 && isCont(buffer[p])) --p;
        return p;
    }
    int32_t p = b - unitSize();
    return p >= 0 ? p : -1;
}

int32_t lxstring::firstIndex() const
{
    int32_t b = 0;
    if (normEncoding(enc) == 0)
        while (b < byteLength && isCont(buffer[b])) ++b;
    return validIndex(b) ? b : -1;
}

int32_t lxstring::lastIndex() const
{
    if (normEncoding(enc) == 0) return prevIndex(byteLength);
    int u = unitSize();
    int32_t units = byteLength / u;
    return units > 0 ? (units - 1) * u : -1;
}

// Byte index of the code point with index k (0 <= k); byteLength for k at or past the
// last code point + 1 when the walk runs out exactly there, -1 beyond.
int32_t lxstring::byteIndexOfChar(int32_t k) const
{
    if (k < 0) return -1;
    if (k >= charCount) {
        if (k == charCount) return byteLength;
        return -1;
    }
    if (k > charCount / 2) {
        // Nearer the end: walk back from the last code point.
        int32_t b = lastIndex();
        for (int32_t i = charCount - 1; i > k && b >= 0; --i) b = prevIndex(b);
        if (b >= 0) return b;
    }
    int32_t b = firstIndex();
    for (int32_t i = 0; i < k && b >= 0; ++i) b = nextIndex(b);
    return b;
}

// Byte index n code points on from position b (byteLength when the content ends first).
int32_t lxstring::advance(int32_t b, int32_t n) const
{
    while (n-- > 0 && b >= 0 && b < byteLength) {
        int32_t nb = nextIndex(b);
        b = nb < 0 ? byteLength : nb;
    }
    return b < 0 ? byteLength : b;
}

int lxstring::unitSize() const
{
    return unitOf(enc);
}

// ---------------------------------------------------------------------------
// Storage

bool lxstring::ensureCapacity(int64_t space, bool keep)
{
    if (buffer && space <= cap) return true;
    if (space > kMaxCapacity || space < 0) return false;
    int32_t newCap = 32;
    while (newCap < space) newCap *= 2;
    unsigned char *p = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(newCap)));
    if (!p) return false;
    if (keep && buffer) std::memcpy(p, buffer, static_cast<size_t>(cap));
    std::free(buffer);
    buffer = p;
    cap = newCap;
    return true;
}

bool lxstring::reallocate(int32_t need, bool keep)
{
    if (need < 0) return false;
    return ensureCapacity(int64_t(need) + unitSize(), keep);
}

void lxstring::terminate()
{
    if (buffer) std::memset(buffer + byteLength, 0, static_cast<size_t>(unitSize()));
}

lxstring::lxstring() : lxstring(LXEncodingUtf8) {}

lxstring::lxstring(int encoding, int byteOrder)
    : buffer(nullptr), cap(0), enc(encoding), order(byteOrder != 0 ? 1 : 0), byteLength(0),
      charCount(0)
{
    buffer = static_cast<unsigned char *>(std::malloc(32));
    if (buffer) {
        cap = 32;
        std::memset(buffer, 0, 4);
    }
}

lxstring::lxstring(const char *bytes, int encoding, int byteOrder)
    : buffer(nullptr), cap(0), enc(encoding), order(byteOrder != 0 ? 1 : 0), byteLength(0),
      charCount(0)
{
    if (!bytes) return;
    int32_t n = measureRaw(bytes, enc);
    if (!reallocate(n, false)) return;
    std::memcpy(buffer, bytes, static_cast<size_t>(n));
    byteLength = n;
    charCount = countChars(buffer, n, enc);
    terminate();
}

lxstring::lxstring(const lxstring &o)
    : buffer(nullptr), cap(0), enc(o.enc), order(o.order), byteLength(0), charCount(0)
{
    if (!o.buffer) return;
    buffer = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(o.cap)));
    if (!buffer) return;
    cap = o.cap;
    std::memcpy(buffer, o.buffer, static_cast<size_t>(o.byteLength + o.unitSize()));
    byteLength = o.byteLength;
    charCount = o.charCount;
}

lxstring::lxstring(lxstring &&o) noexcept
    : buffer(o.buffer), cap(o.cap), enc(o.enc), order(o.order), byteLength(o.byteLength),
      charCount(o.charCount)
{
    o.buffer = nullptr;
    o.cap = o.byteLength = o.charCount = 0;
}

lxstring::~lxstring()
{
    std::free(buffer);
}

lxstring &lxstring::operator=(const lxstring &o)
{
    if (this == &o) return *this;
    if (!o.buffer) {
        enc = o.enc;
        order = o.order;
        clear();
        return *this;
    }
    if (!ensureCapacity(int64_t(o.byteLength) + o.unitSize(), false)) return *this;
    std::memcpy(buffer, o.buffer, static_cast<size_t>(o.byteLength + o.unitSize()));
    enc = o.enc;
    order = o.order;
    byteLength = o.byteLength;
    charCount = o.charCount;
    return *this;
}

lxstring &lxstring::operator=(lxstring &&o) noexcept
{
    if (this == &o) return *this;
    std::free(buffer);
    buffer = o.buffer;
    cap = o.cap;
    enc = o.enc;
    order = o.order;
    byteLength = o.byteLength;
    charCount = o.charCount;
    o.buffer = nullptr;
    o.cap = o.byteLength = o.charCount = 0;
    return *this;
}

lxstring &lxstring::operator=(const char *bytes)
{
    if (!bytes) {
        clear();
        return *this;
    }
    const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes);
    int32_t n = measureRaw(bytes, enc);
    spliceBytes(0, byteLength, p, n, countChars(p, n, enc));
    return *this;
}

lxstring &lxstring::operator=(uint32_t cp)
{
    unsigned char tmp[6];
    int32_t n = encodeCp(tmp, cp, enc, order);
    spliceBytes(0, byteLength, tmp, n, 1);
    return *this;
}

const char *lxstring::c_str() const
{
    return reinterpret_cast<const char *>(buffer ? buffer : kEmpty);
}

void lxstring::clear()
{
    if (buffer) std::memset(buffer, 0, static_cast<size_t>(cap < 4 ? cap : 4));
    byteLength = 0;
    charCount = 0;
}

void lxstring::swap(lxstring &o)
{
    std::swap(buffer, o.buffer);
    std::swap(cap, o.cap);
    std::swap(enc, o.enc);
    std::swap(order, o.order);
    std::swap(byteLength, o.byteLength);
    std::swap(charCount, o.charCount);
}

void lxstring::setEncoding(int e)
{
    if (e < LXEncodingUtf8 || e > LXEncodingBytes || e == enc) return;

    // Walk once to size the result. The walk, not the stored count, decides, so the
    // writes below stay inside the buffer even after an append left the count behind.
    int64_t need = 0;
    int32_t chars = 0;
    for (int32_t b = firstIndex(); b >= 0; b = nextIndex(b)) {
        need += encodedLength(decodeAt(b), e);
        ++chars;
    }
    int eu = unitOf(e);
    int64_t space = need + eu;
    if (space > kMaxCapacity) return;

    int32_t newCap = cap;
    if (cap < space) {
        newCap = cap > 0 ? cap * 2 : 32;
        while (newCap < space) newCap *= 2;
    }
    int from = normEncoding(enc);
    bool inPlace = buffer && newCap == cap &&
                   ((from == 1 && e == 3) || (from == 2 && (e == 1 || e == 3)));
    unsigned char *out = buffer;
    if (!inPlace) {
        out = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(newCap)));
        if (!out) return;
    }
    // In place the output is narrower, so writing forwards never overtakes the reading.
    int32_t w = 0;
    for (int32_t b = firstIndex(); b >= 0; b = nextIndex(b))
        w += encodeCp(out + w, decodeAt(b), e, order);
    std::memset(out + w, 0, static_cast<size_t>(eu));
    if (!inPlace) {
        std::free(buffer);
        buffer = out;
    }
    cap = newCap;
    enc = e;
    byteLength = w;
    charCount = chars;
}

void lxstring::setByteOrder(int byteOrder)
{
    int o = byteOrder != 0 ? 1 : 0;
    if (o == order) return;
    int e = normEncoding(enc);
    if (e == 1 || e == 2) {
        int u = unitOf(e);
        for (int32_t b = 0; b + u <= byteLength; b += u) {
            for (int i = 0, j = u - 1; i < j; ++i, --j) {
                unsigned char t = buffer[b + i];
                buffer[b + i] = buffer[b + j];
                buffer[b + j] = t;
            }
        }
    }
    order = o;
}

// Replaces the content bytes [from, to) by n bytes, adjusting the count by the code
// points removed and added. False, with the string unchanged, when memory runs out.
bool lxstring::spliceBytes(int32_t from, int32_t to, const unsigned char *bytes, int32_t n,
                           int32_t addedChars)
{
    ScratchCopy scratch;
    uintptr_t at = reinterpret_cast<uintptr_t>(bytes), own = reinterpret_cast<uintptr_t>(buffer);
    if (n > 0 && buffer && at >= own && at < own + uintptr_t(cap)) {
        scratch.p = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(n)));
        if (!scratch.p) return false;
        std::memcpy(scratch.p, bytes, static_cast<size_t>(n));
        bytes = scratch.p;
    }
    int32_t removedChars = to > from ? countChars(buffer + from, to - from, enc) : 0;
    int64_t newLen = int64_t(byteLength) - (to - from) + n;
    if (!ensureCapacity(newLen + unitSize(), true)) return false;
    std::memmove(buffer + from + n, buffer + to, static_cast<size_t>(byteLength - to));
    if (n > 0) std::memcpy(buffer + from, bytes, static_cast<size_t>(n));
    byteLength = static_cast<int32_t>(newLen);
    charCount += addedChars - removedChars;
    terminate();
    return true;
}

// s in this string's encoding and byte order: s itself when it already is, else the
// converted copy kept in tmp. Null when the conversion ran out of memory.
const lxstring *lxstring::inThisEncoding(const lxstring &s, lxstring &tmp) const
{
    int e = normEncoding(enc);
    if (normEncoding(s.enc) == e && (s.order == order || unitOf(e) == 1)) return &s;
    tmp = s;
    tmp.setEncoding(e);
    if (normEncoding(tmp.enc) != e) return nullptr;   // out of memory
    tmp.setByteOrder(order);
    return &tmp;
}

void lxstring::replaceBytes(int32_t from, int32_t to, const lxstring &with)
{
    if (&with == this) return;
    lxstring tmp(nullptr, enc, order);
    const lxstring *w = inThisEncoding(with, tmp);
    if (!w) return;
    spliceBytes(from, to, w->buffer ? w->buffer : kEmpty, w->byteLength, w->charCount);
}

void lxstring::replaceBytes(int32_t from, int32_t to, const char *bytes)
{
    if (!bytes) return;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes);
    int32_t n = measureRaw(bytes, enc);
    spliceBytes(from, to, p, n, countChars(p, n, enc));
}

void lxstring::replaceBytes(int32_t from, int32_t to, uint32_t cp)
{
    unsigned char tmp[6];
    int32_t n = encodeCp(tmp, cp, enc, order);
    spliceBytes(from, to, tmp, n, 1);
}

// ---------------------------------------------------------------------------
// Appending and editing

lxstring &lxstring::operator+=(const char *bytes)
{
    replaceBytes(byteLength, byteLength, bytes);
    return *this;
}

lxstring &lxstring::appendCodePoint(uint32_t cp)
{
    // When it fits the buffer the code point is written in place, without the general
    // splice.
    unsigned char tmp[6];
    const int32_t n = encodeCp(tmp, cp, enc, order);
    if (buffer && int64_t(byteLength) + n + unitSize() <= cap) {
        std::memcpy(buffer + byteLength, tmp, static_cast<size_t>(n));
        byteLength += n;
        ++charCount;
        terminate();
        return *this;
    }
    spliceBytes(byteLength, byteLength, tmp, n, 1);
    return *this;
}

lxstring &lxstring::operator+=(const lxstring &o)
{
    if (&o == this || o.byteLength == 0) return *this;
    replaceBytes(byteLength, byteLength, o);
    return *this;
}

void lxstring::append(const char *bytes, uint32_t n)
{
    if (!bytes || n == 0) return;
    if (n > uint32_t(kMaxCapacity)) return;
    int32_t keepCount = charCount;
    if (spliceBytes(byteLength, byteLength, reinterpret_cast<const unsigned char *>(bytes),
                    static_cast<int32_t>(n), 0))
        charCount = keepCount;
}

// Byte index for an iterator of this string: the content end for the end position,
// -2 for a foreign or broken iterator.
int32_t lxstring::positionOf(const lxstring_iterator &it) const
{
    if (it.str != this) return -2;
    if (it.charIdx == -1) return byteLength;
    return validIndex(it.byteIdx) ? it.byteIdx : -2;
}

void lxstring::insert(const lxstring_iterator &pos, const char *bytes)
{
    int32_t b = positionOf(pos);
    if (b >= 0) replaceBytes(b, b, bytes);
}

void lxstring::insert(const lxstring_iterator &pos, const lxstring &s)
{
    int32_t b = positionOf(pos);
    if (b >= 0) replaceBytes(b, b, s);
}

void lxstring::insert(const lxstring_iterator &pos, uint32_t cp)
{
    int32_t b = positionOf(pos);
    if (b >= 0) replaceBytes(b, b, cp);
}

void lxstring::insert(const lxstring_reverse_iterator &pos, const char *bytes)
{
    insert(lxstring_iterator(pos), bytes);
}

void lxstring::insert(const lxstring_reverse_iterator &pos, const lxstring &s)
{
    insert(lxstring_iterator(pos), s);
}

void lxstring::insert(const lxstring_reverse_iterator &pos, uint32_t cp)
{
    insert(lxstring_iterator(pos), cp);
}

void lxstring::erase(const lxstring_iterator &pos)
{
    erase(pos, 1);
}

void lxstring::erase(const lxstring_reverse_iterator &pos)
{
    erase(lxstring_iterator(pos), 1);
}

void lxstring::erase(const lxstring_iterator &pos, int32_t n)
{
    int32_t b = positionOf(pos);
    if (b < 0 || b == byteLength || n <= 0) return;
    spliceBytes(b, advance(b, n), nullptr, 0, 0);
}

void lxstring::erase(int32_t index, int32_t n)
{
    if (index < 0) index += charCount;
    if (index < 0 || index >= charCount || n <= 0) return;
    int32_t b = byteIndexOfChar(index);
    if (b < 0 || b >= byteLength) return;
    spliceBytes(b, advance(b, n), nullptr, 0, 0);
}

// [from, to) of two iterators; false when either is foreign or last lies before first.
bool lxstring::rangeOf(const lxstring_iterator &first, const lxstring_iterator &last,
                       int32_t &from, int32_t &to) const
{
    from = positionOf(first);
    to = positionOf(last);
    return from >= 0 && to >= 0 && to >= from;
}

// [from, to) of an index and a count; false for the cases the index forms ignore.
bool lxstring::rangeOf(int32_t index, int32_t n, int32_t &from, int32_t &to) const
{
    if (n <= 0 || index < -charCount || index > charCount) return false;
    if (index < 0) index += charCount;
    from = byteIndexOfChar(index);
    if (from < 0) return false;
    to = advance(from, n);
    return true;
}

#define LX_REPLACE_FORMS(ARG)                                                               \
    void lxstring::replace(const lxstring_iterator &first, const lxstring_iterator &last,   \
                           ARG x)                                                           \
    {                                                                                       \
        int32_t from, to;                                                                   \
        if (rangeOf(first, last, from, to)) replaceBytes(from, to, x);                      \
    }                                                                                       \
    void lxstring::replace(const lxstring_reverse_iterator &first,                          \
                           const lxstring_reverse_iterator &last, ARG x)                    \
    {                                                                                       \
        replace(lxstring_iterator(first), lxstring_iterator(last), x);                      \
    }                                                                                       \
    void lxstring::replace(const lxstring_iterator &first, int32_t n, ARG x)                \
    {                                                                                       \
        int32_t from = positionOf(first);                                                   \
        if (from < 0 || n <= 0) return;                                                     \
        replaceBytes(from, advance(from, n), x);                                            \
    }                                                                                       \
    void lxstring::replace(int32_t index, int32_t n, ARG x)                                 \
    {                                                                                       \
        int32_t from, to;                                                                   \
        if (rangeOf(index, n, from, to)) replaceBytes(from, to, x);                         \
    }

LX_REPLACE_FORMS(const char *)
LX_REPLACE_FORMS(const lxstring &)
LX_REPLACE_FORMS(uint32_t)

#undef LX_REPLACE_FORMS

void lxstring::setAt(int32_t index, uint32_t cp)
{
    if (index < 0 || index >= charCount) return;
    int32_t b = byteIndexOfChar(index);
    if (b < 0 || b >= byteLength) return;
    replaceBytes(b, advance(b, 1), cp);
}

void lxstring::setAt(const lxstring_iterator &pos, uint32_t cp)
{
    int32_t b = positionOf(pos);
    if (b < 0 || b == byteLength) return;
    replaceBytes(b, advance(b, 1), cp);
}

uint32_t lxstring::chop()
{
    int32_t b = lastIndex();
    if (b < 0) return 0;
    uint32_t cp = decodeAt(b);
    spliceBytes(b, byteLength, nullptr, 0, 0);
    return cp;
}

// ---------------------------------------------------------------------------
// Reading

uint32_t lxstring::operator[](int32_t i) const
{
    if (i < 0) i += charCount;
    if (i < 0 || i >= charCount) return 0;
    return decodeAt(byteIndexOfChar(i));
}

lxstring lxstring::bytesAsString(int32_t from, int32_t to) const
{
    lxstring r(enc, order);
    if (to > from) r.spliceBytes(0, 0, buffer + from, to - from, countChars(buffer + from, to - from, enc));
    return r;
}

lxstring lxstring::substr(const lxstring_iterator &first, const lxstring_iterator &last) const
{
    int32_t from, to;
    if (!rangeOf(first, last, from, to)) return lxstring(enc, order);
    return bytesAsString(from, to);
}

lxstring lxstring::substr(int32_t index, int32_t n) const
{
    if (index < 0 || index >= charCount || n == 0) return lxstring(enc, order);
    int32_t from = byteIndexOfChar(index);
    if (from < 0) return lxstring(enc, order);
    int32_t to = n < 0 ? byteLength : advance(from, n);
    return bytesAsString(from, to);
}

// Does needle match at position b (code point by code point, each in its own encoding)?
bool lxstring::matchesAt(int32_t b, const lxstring &needle) const
{
    for (int32_t nb = needle.firstIndex(); nb >= 0; nb = needle.nextIndex(nb)) {
        if (b < 0 || decodeAt(b) != needle.decodeAt(nb)) return false;
        b = nextIndex(b);
    }
    return true;
}

lxstring_iterator lxstring::findFrom(lxstring_iterator it, const lxstring &needle) const
{
    for (; !it.isAtEnd(); ++it)
        if (matchesAt(it.byteIdx, needle)) return it;
    return end();
}

lxstring_iterator lxstring::findFrom(lxstring_iterator it, uint32_t cp) const
{
    for (; !it.isAtEnd(); ++it)
        if (decodeAt(it.byteIdx) == cp) return it;
    return end();
}

lxstring_iterator lxstring::find(const lxstring &needle) const
{
    return findFrom(begin(), needle);
}

lxstring_iterator lxstring::find(uint32_t cp) const
{
    return findFrom(begin(), cp);
}

lxstring_iterator lxstring::find(const char *bytes) const
{
    if (!bytes) return end();
    return findFrom(begin(), lxstring(bytes, enc, order));
}

lxstring_iterator lxstring::find(const lxstring_iterator &from, const lxstring &needle) const
{
    if (positionOf(from) < 0) return end();
    return findFrom(from, needle);
}

lxstring_iterator lxstring::find(const lxstring_iterator &from, uint32_t cp) const
{
    if (positionOf(from) < 0) return end();
    return findFrom(from, cp);
}

lxstring_iterator lxstring::find(const lxstring_iterator &from, const char *bytes) const
{
    if (!bytes || positionOf(from) < 0) return end();
    return findFrom(from, lxstring(bytes, enc, order));
}

lxstring_iterator lxstring::rfind(const lxstring &needle) const
{
    for (lxstring_reverse_iterator it = rbegin(); !it.isAtEnd(); ++it)
        if (matchesAt(it.byteIdx, needle)) return lxstring_iterator(it);
    return end();
}

lxstring_iterator lxstring::rfind(uint32_t cp) const
{
    for (lxstring_reverse_iterator it = rbegin(); !it.isAtEnd(); ++it)
        if (decodeAt(it.byteIdx) == cp) return lxstring_iterator(it);
    return end();
}

lxstring_iterator lxstring::rfind(const char *bytes) const
{
    if (!bytes) return end();
    return rfind(lxstring(bytes, enc, order));
}

uint32_t lxstring::hash(uint32_t n) const
{
    // Through the ligature split, like the collation, so that keys equal under ==
    // (straße and strasse) land in the same bucket.
    uint32_t h = 0, c;
    lxstring_reader r(*this);
    while (r.next(c)) h = c ^ ((h << 7) | (h >> 25));
    return n ? h % n : h;
}

int32_t lxstring::getIntValue() const
{
    lxstring_iterator it = begin();
    bool negative = false;
    if (!it.isAtEnd() && *it == '-') {
        negative = true;
        ++it;
    }
    uint32_t v = 0;   // unsigned, so overlong digit runs wrap instead of overflowing
    for (; !it.isAtEnd() && lx_isdigit(*it); ++it) v = v * 10 + (*it - '0');
    if (negative) v = 0u - v;
    return static_cast<int32_t>(v);
}

// Rebuilds the string from its code points mapped through f; unchanged when memory runs out.
void lxstring::mapCodePoints(uint32_t (*f)(uint32_t), bool (*keep)(uint32_t))
{
    lxstring r(enc, order);
    if (!r.buffer || !r.reallocate(byteLength, false)) return;
    unsigned char tmp[6];
    for (int32_t b = firstIndex(); b >= 0; b = nextIndex(b)) {
        uint32_t c = decodeAt(b);
        if (keep && !keep(c)) continue;
        if (f) c = f(c);
        int32_t n = encodeCp(tmp, c, enc, order);
        if (!r.spliceBytes(r.byteLength, r.byteLength, tmp, n, 1)) return;
    }
    // Keep the larger of the two buffers: the buffer never shrinks.
    if (r.cap < cap) {
        std::memcpy(buffer, r.buffer, static_cast<size_t>(r.byteLength + r.unitSize()));
        byteLength = r.byteLength;
        charCount = r.charCount;
    } else {
        swap(r);
    }
}

void lxstring::tolower()
{
    mapCodePoints(lx_tolower, nullptr);
}

void lxstring::toupper()
{
    mapCodePoints(lx_toupper, nullptr);
}

void lxstring::tobase()
{
    mapCodePoints(lx_base, nullptr);
}

static bool keptByStrip(uint32_t c)
{
    return c == 32 || lx_iswordchar(c);
}

void lxstring::strip()
{
    mapCodePoints(nullptr, keptByStrip);
}

void lxstring::appendFormat(const char *format, ...)
{
    if (!format) return;
    int previous = enc;
    setEncoding(LXEncodingUtf8);
    if (enc != LXEncodingUtf8) return;   // out of memory: leave the string as it was
    va_list ap;
    va_start(ap, format);
    char num[512];
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(format); *p; ++p) {
        if (*p != '%') {
            *this += uint32_t(*p);
            continue;
        }
        ++p;
        if (!*p) break;   // a "%" that ends the format is dropped
        switch (*p) {
        case 'c':
            *this += static_cast<uint32_t>(va_arg(ap, int));
            break;
        case 'd':
            std::snprintf(num, sizeof num, "%d", va_arg(ap, int));
            *this += num;
            break;
        case 'f':
            std::snprintf(num, sizeof num, "%f", va_arg(ap, double));
            *this += num;
            break;
        case 's': {
            const char *s = va_arg(ap, const char *);
            if (s) *this += s;
            break;
        }
        default:
            *this += uint32_t(*p);
            break;
        }
    }
    va_end(ap);
    setEncoding(normEncoding(previous));
    if (enc == normEncoding(previous)) enc = previous;
}

// ---------------------------------------------------------------------------
// Collation

int lxstring::compare(const lxstring &other, bool ignoreCase, bool baseOnly,
                      LXLanguage lang) const
{
    uint32_t a = 0, b = 0;
    bool thisDone, otherDone;
    {
        lxstring_reader ra(*this), rb(other);
        for (;;) {
            uint32_t ca, cb;
            thisDone = !ra.next(ca);
            otherDone = !rb.next(cb);
            if (thisDone || otherDone) break;
            a = ignoreCase ? lx_tolower(lx_base(ca)) : lx_base(ca);
            b = ignoreCase ? lx_tolower(lx_base(cb)) : lx_base(cb);
            if (a != b) break;
        }
    }
    if (!baseOnly && thisDone && otherDone) {
        lxstring_reader ra(*this), rb(other);
        for (;;) {
            uint32_t ca, cb;
            thisDone = !ra.next(ca);
            otherDone = !rb.next(cb);
            if (thisDone || otherDone) break;
            a = ignoreCase ? lx_tolower(ca) : ca;
            b = ignoreCase ? lx_tolower(cb) : cb;
            if (a != b) break;
        }
    }
    return rankDecision(thisDone, otherDone, a, b, lang);
}

int lxstring::compare(const lxstring &other, LXLanguage lang) const
{
    uint32_t a = 0, b = 0;
    bool thisDone, otherDone;
    {
        lxstring_reader ra(*this), rb(other);
        for (;;) {
            uint32_t ca, cb;
            thisDone = !ra.next(ca);
            otherDone = !rb.next(cb);
            if (thisDone || otherDone) break;
            a = lx_tolower(lx_base(ca));
            b = lx_tolower(lx_base(cb));
            if (a != b) break;
        }
    }
    if (thisDone && otherDone) {
        lxstring_reader ra(*this), rb(other);
        for (;;) {
            thisDone = !ra.next(a);
            otherDone = !rb.next(b);
            if (thisDone || otherDone) break;
            if (lx_rank(a, lang) != lx_rank(b, lang)) break;
        }
    }
    return rankDecision(thisDone, otherDone, a, b, lang);
}

int lxstring::compare(const char *bytes) const
{
    return compare(lxstring(bytes, enc, 0), LXLanguageNone);
}

// ---------------------------------------------------------------------------
// Iterators of the string

lxstring_iterator lxstring::begin() const
{
    int32_t b = firstIndex();
    return b < 0 ? end() : lxstring_iterator(this, b, 0);
}

lxstring_iterator lxstring::end() const
{
    return lxstring_iterator(this, -1, -1);
}

lxstring_reverse_iterator lxstring::rbegin() const
{
    int32_t b = lastIndex();
    if (b < 0) return rend();
    return lxstring_reverse_iterator(this, b, charCount > 0 ? charCount - 1 : 0);
}

lxstring_reverse_iterator lxstring::rend() const
{
    return lxstring_reverse_iterator(this, -1, -1);
}

// ---------------------------------------------------------------------------
// Operators

lxstring operator+(const lxstring &a, const lxstring &b)
{
    lxstring r(a);
    r += b;
    return r;
}

lxstring operator+(const lxstring &a, const char *bytes)
{
    lxstring r(a);
    r += bytes;
    return r;
}

lxstring operator+(const lxstring &a, char c)
{
    lxstring r(a);
    r += uint32_t(static_cast<unsigned char>(c));
    return r;
}

bool operator<(const lxstring &a, const lxstring &b) { return a.compare(b, LXLanguageNone) < 0; }
bool operator<=(const lxstring &a, const lxstring &b) { return a.compare(b, LXLanguageNone) <= 0; }
bool operator>(const lxstring &a, const lxstring &b) { return a.compare(b, LXLanguageNone) > 0; }
bool operator>=(const lxstring &a, const lxstring &b) { return a.compare(b, LXLanguageNone) >= 0; }
bool operator==(const lxstring &a, const lxstring &b) { return a.compare(b, LXLanguageNone) == 0; }
bool operator!=(const lxstring &a, const lxstring &b) { return a.compare(b, LXLanguageNone) != 0; }

bool operator<(const lxstring &a, const char *b) { return a.compare(b) < 0; }
bool operator<=(const lxstring &a, const char *b) { return a.compare(b) <= 0; }
bool operator>(const lxstring &a, const char *b) { return a.compare(b) > 0; }
bool operator>=(const lxstring &a, const char *b) { return a.compare(b) >= 0; }
bool operator==(const lxstring &a, const char *b) { return a.compare(b) == 0; }
bool operator!=(const lxstring &a, const char *b) { return a.compare(b) != 0; }

static int compareText(const char *a, const lxstring &b)
{
    return lxstring(a, b.getEncoding(), 0).compare(b, LXLanguageNone);
}

bool operator<(const char *a, const lxstring &b) { return compareText(a, b) < 0; }
bool operator<=(const char *a, const lxstring &b) { return compareText(a, b) <= 0; }
bool operator>(const char *a, const lxstring &b) { return compareText(a, b) > 0; }
bool operator>=(const char *a, const lxstring &b) { return compareText(a, b) >= 0; }
bool operator==(const char *a, const lxstring &b) { return compareText(a, b) == 0; }
bool operator!=(const char *a, const lxstring &b) { return compareText(a, b) != 0; }

// ---------------------------------------------------------------------------
// Streams

bool lxstring::putChar(std::ostream &os, uint32_t cp, int encoding, int byteOrder)
{
    unsigned char tmp[6];
    int32_t n = encodeCp(tmp, cp, encoding, byteOrder != 0 ? 1 : 0);
    os.write(reinterpret_cast<const char *>(tmp), n);
    return bool(os);
}

bool lxstring::getChar(std::istream &is, uint32_t &cp, int encoding, int byteOrder)
{
    unsigned char b[6];
    int e = normEncoding(encoding);
    int n = e == 1 ? 2 : e == 2 ? 4 : 1;
    std::streambuf *sb = is.rdbuf();
    if (!sb) return false;
    auto readByte = [&](unsigned char &out) {
        int c = sb->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            is.setstate(std::ios::eofbit | std::ios::failbit);
            return false;
        }
        out = static_cast<unsigned char>(c);
        return true;
    };
    for (int k = 0; k < n; ++k)
        if (!readByte(b[k])) return false;
    if (e == 0) {
        // Continuation bytes are taken only while they come: a byte that starts the
        // next code point is left in the stream, as in the buffer decoder.
        uint32_t bits;
        int len = utf8Lead(b[0], bits);
        int got = 1;
        for (; got < len; ++got) {
            int c = sb->sgetc();
            if (c == std::char_traits<char>::eof()) {
                is.setstate(std::ios::eofbit | std::ios::failbit);
                return false;
            }
            if (!isCont(static_cast<unsigned char>(c))) break;
            b[got] = static_cast<unsigned char>(sb->sbumpc());
        }
        cp = decodeCp(b, got, 0, 0);
        return true;
    }
    cp = decodeCp(b, n, e, byteOrder != 0 ? 1 : 0);
    return true;
}

void lxstring::dump(std::ostream &os) const
{
    static const char hex[] = "0123456789abcdef";
    for (int32_t i = 0; i < byteLength; ++i) {
        char out[4] = {'\\', 'x', hex[buffer[i] >> 4], hex[buffer[i] & 15]};
        os.write(out, 4);
    }
}

// Reads code points into s until stop(cp) or the end of the stream, gathering them in a
// chunk of about 100 bytes. Answers whether anything (the stopping code point included)
// was read; the stream fails only when nothing was.
bool lxstring::readInto(std::istream &is, bool (*stop)(uint32_t, uint32_t), uint32_t arg)
{
    std::istream::sentry guard(is, true);
    if (!guard) return false;
    unsigned char chunk[106];
    int32_t used = 0, chars = 0;
    bool any = false, ended = true;
    uint32_t cp;
    while (getChar(is, cp, enc, order)) {
        any = true;
        if (stop(cp, arg)) {
            ended = false;
            break;
        }
        used += encodeCp(chunk + used, cp, enc, order);
        ++chars;
        if (used >= 100) {
            spliceBytes(byteLength, byteLength, chunk, used, chars);
            used = chars = 0;
        }
    }
    if (used) spliceBytes(byteLength, byteLength, chunk, used, chars);
    // Like std::getline: the end of the stream fails the read only when nothing came.
    if (ended && any) is.clear(is.rdstate() & ~std::ios::failbit);
    return any;
}

static bool isDelimiter(uint32_t cp, uint32_t delimiter)
{
    return cp == delimiter;
}

static bool isBlank(uint32_t cp, uint32_t)
{
    return lx_isspace(cp);
}

std::istream &getline(std::istream &is, lxstring &s, uint32_t delimiter)
{
    s.clear();
    s.readInto(is, isDelimiter, delimiter);
    return is;
}

std::istream &getstring(std::istream &is, lxstring &s)
{
    return getline(is, s, 0);
}

std::istream &operator>>(std::istream &is, lxstring &s)
{
    s.readInto(is, isBlank, 0);
    return is;
}

std::ostream &operator<<(std::ostream &os, const lxstring &s)
{
    if (s.size() > 0) os.write(s.c_str(), s.size());
    return os;
}
