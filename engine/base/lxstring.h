// lxstring: the engine's text type. A sequence of 32-bit code points held in one of
// four byte encodings:
//   0  UTF-8 (up to six bytes, 31 bits)        2  four-byte units
//   1  two-byte units (low 16 bits, no pairs)   3  one byte per character (low 8 bits)
// Encodings 1 and 2 carry a byte order: 1 = least significant byte first, 0 = most
// significant byte first. The buffer always ends with a terminator one unit wide.
//
// The relational operators are the dictionary collation of the whole engine: case-free
// base letters first, then the exact characters by their rank (see lxchar.h).
//
// Nothing here throws: allocation failure leaves the string as it was; bad indexes,
// iterators of other strings and unknown encodings leave it unchanged or give 0, an
// empty string or the end iterator.
#ifndef LXSTRING_H
#define LXSTRING_H

#include <cstdint>
#include <iosfwd>

#include "base/lxchar.h"
#include "base/lxlanguage.h"

// The encodings and byte orders of an lxstring.
enum LXEncoding {
    LXEncodingUtf8 = 0,
    LXEncodingUnits16 = 1,          // two-byte units
    LXEncodingUnits32 = 2,          // four-byte units
    LXEncodingBytes = 3             // one byte per character
};
enum LXByteOrder {
    LXMostSignificantFirst = 0,
    LXLeastSignificantFirst = 1
};

class lxstring;
class lxstring_reverse_iterator;

// What both iterators share: the position (byte index, character index, string not
// owned) and all that reads it or steps it by a count. The end position is -1/-1; an
// iterator without a string behaves as at end. Any change to the string invalidates its
// iterators.
template <class Iterator>
class lxstring_position {
public:
    Iterator &operator+=(int32_t n);            // n times ++ (-- for a negative n)
    Iterator &operator-=(int32_t n);
    uint32_t operator*() const;                 // the code point here; 0 at the end

    int32_t getCharIndex() const;               // at the end: the character count
    int32_t getByteIndex() const;               // at the end: the byte length
    bool isAtEnd() const;
    void moveToEnd();
    const lxstring *getString() const { return str; }

    bool operator==(const Iterator &o) const;
    bool operator!=(const Iterator &o) const;

protected:
    lxstring_position(const lxstring *s, int32_t byteIndex, int32_t charIndex)
        : byteIdx(byteIndex), charIdx(charIndex), str(s)
    {
    }

    int32_t byteIdx;
    int32_t charIdx;
    const lxstring *str;
};

// Forward iterator.
class lxstring_iterator : public lxstring_position<lxstring_iterator> {
public:
    lxstring_iterator();
    lxstring_iterator(const lxstring *s, int32_t byteIndex, int32_t charIndex);

    lxstring_iterator &operator++();
    lxstring_iterator operator++(int);
    lxstring_iterator &operator--();
    lxstring_iterator operator--(int);

    bool isAtBeginning() const;
    void moveToBeginning();

    bool operator<(const lxstring_iterator &o) const;   // same string, smaller byte index

private:
    friend class lxstring;
    friend class lxstring_reverse_iterator;
};

// Reverse iterator: ++ moves towards the beginning, past the first code point to the
// end position (-1/-1); -- from the end position goes to the first code point.
class lxstring_reverse_iterator : public lxstring_position<lxstring_reverse_iterator> {
public:
    lxstring_reverse_iterator();
    lxstring_reverse_iterator(const lxstring *s, int32_t byteIndex, int32_t charIndex);

    lxstring_reverse_iterator &operator++();
    lxstring_reverse_iterator operator++(int);
    lxstring_reverse_iterator &operator--();
    lxstring_reverse_iterator operator--(int);

    bool isAtBeginning() const;                 // at the last code point
    void moveToBeginning();                     // to the last code point

    operator lxstring_iterator() const;         // same position

    bool operator<(const lxstring_reverse_iterator &o) const;  // same string, larger byte index

private:
    friend class lxstring;
    friend class lxstring_iterator;
};

// Both are instantiated once, in lxstring.cpp.
extern template class lxstring_position<lxstring_iterator>;
extern template class lxstring_position<lxstring_reverse_iterator>;

class lxstring {
public:
    // Empty string with a 32-byte buffer (UTF-8, most significant byte first by default).
    lxstring();
    explicit lxstring(int encoding, int byteOrder = LXMostSignificantFirst);
    // Raw bytes already in the given encoding and order, measured up to their own
    // terminator (a zero unit). A null pointer gives an empty string without a buffer.
    lxstring(const char *bytes, int encoding, int byteOrder = LXMostSignificantFirst);
    lxstring(const lxstring &other);
    lxstring(lxstring &&other) noexcept;        // leaves other empty, without a buffer
    ~lxstring();

    lxstring &operator=(const lxstring &other); // takes encoding and byte order too
    lxstring &operator=(lxstring &&other) noexcept;
    lxstring &operator=(const char *bytes);     // raw bytes in this string's encoding
    lxstring &operator=(uint32_t cp);           // a single code point

    // Storage.
    const char *c_str() const;                  // raw content + terminator (never null)
    int32_t size() const { return byteLength; }             // content bytes
    int32_t length() const { return charCount; }            // code points
    int32_t sizeWithNull() const { return byteLength + unitSize(); }
    int32_t capacity() const { return cap; }
    int getEncoding() const { return enc; }
    int getByteOrder() const { return order; }
    bool empty() const { return charCount == 0; }
    void clear();                               // keeps the buffer
    void swap(lxstring &other);
    void setEncoding(int encoding);             // re-encodes the content
    void setByteOrder(int byteOrder);           // swaps the bytes of every unit
    // Makes room for need content bytes plus a terminator, copying the old bytes when
    // keep is set. False (string unchanged) when the memory cannot be had.
    bool reallocate(int32_t need, bool keep);
    int unitSize() const;                       // 1, 2, 4 or 1 by encoding

    // Appending. Raw bytes are always in this string's encoding and byte order.
    lxstring &operator+=(const char *bytes);
    // Code point 0 adds a counted zero unit. An ASCII letter added to UTF-8 text that has
    // room is stored inline: texts read from files are built this way, one by one.
    lxstring &operator+=(uint32_t cp)
    {
        if (cp - 1 < 0x7F && enc == LXEncodingUtf8 && buffer && byteLength + 2 <= cap) {
            buffer[byteLength++] = static_cast<unsigned char>(cp);
            buffer[byteLength] = 0;
            ++charCount;
            return *this;
        }
        return appendCodePoint(cp);
    }
    lxstring &operator+=(const lxstring &other); // converted when of another encoding
    // Copies exactly n raw bytes after the content. The character count is NOT changed
    // and no terminator is written after them: the caller keeps both right.
    void append(const char *bytes, uint32_t n);

    // Editing. Positions belong to this string; anything else leaves it unchanged.
    void insert(const lxstring_iterator &pos, const char *bytes);
    void insert(const lxstring_iterator &pos, const lxstring &s);
    void insert(const lxstring_iterator &pos, uint32_t cp);
    void insert(const lxstring_reverse_iterator &pos, const char *bytes);
    void insert(const lxstring_reverse_iterator &pos, const lxstring &s);
    void insert(const lxstring_reverse_iterator &pos, uint32_t cp);

    void erase(const lxstring_iterator &pos);
    void erase(const lxstring_reverse_iterator &pos);
    void erase(const lxstring_iterator &pos, int32_t n);
    void erase(int32_t index, int32_t n);

    // Range first..last (excluded); a last at the end reaches to the end of the string.
    void replace(const lxstring_iterator &first, const lxstring_iterator &last, const char *bytes);
    void replace(const lxstring_iterator &first, const lxstring_iterator &last, const lxstring &s);
    void replace(const lxstring_iterator &first, const lxstring_iterator &last, uint32_t cp);
    void replace(const lxstring_reverse_iterator &first, const lxstring_reverse_iterator &last,
                 const char *bytes);
    void replace(const lxstring_reverse_iterator &first, const lxstring_reverse_iterator &last,
                 const lxstring &s);
    void replace(const lxstring_reverse_iterator &first, const lxstring_reverse_iterator &last,
                 uint32_t cp);
    void replace(const lxstring_iterator &first, int32_t n, const char *bytes);
    void replace(const lxstring_iterator &first, int32_t n, const lxstring &s);
    void replace(const lxstring_iterator &first, int32_t n, uint32_t cp);
    // A negative index counts from the end (-1 is the last code point).
    void replace(int32_t index, int32_t n, const char *bytes);
    void replace(int32_t index, int32_t n, const lxstring &s);
    void replace(int32_t index, int32_t n, uint32_t cp);

    void setAt(int32_t index, uint32_t cp);
    void setAt(const lxstring_iterator &pos, uint32_t cp);
    uint32_t chop();                            // removes and returns the last code point

    // Reading.
    uint32_t operator[](int32_t i) const;       // negative from the end; 0 outside
    lxstring substr(const lxstring_iterator &first, const lxstring_iterator &last) const;
    lxstring substr(int32_t index, int32_t n = -1) const;

    lxstring_iterator find(const lxstring &needle) const;
    lxstring_iterator find(uint32_t cp) const;
    lxstring_iterator find(const char *bytes) const;
    lxstring_iterator find(const lxstring_iterator &from, const lxstring &needle) const;
    lxstring_iterator find(const lxstring_iterator &from, uint32_t cp) const;
    lxstring_iterator find(const lxstring_iterator &from, const char *bytes) const;
    lxstring_iterator rfind(const lxstring &needle) const;
    lxstring_iterator rfind(uint32_t cp) const;
    lxstring_iterator rfind(const char *bytes) const;

    // Rotating hash of the code points, modulo n. Ligatures hash as their two letters,
    // so strings equal under == hash alike.
    uint32_t hash(uint32_t n) const;
    int32_t getIntValue() const;                // optional "-", then decimal digits

    void tolower();
    void toupper();
    void tobase();
    void strip();                               // keeps word characters and spaces

    // %c code point, %d int, %f double, %s UTF-8 bytes; any other byte after % stands
    // for itself.
    void appendFormat(const char *format, ...);

    // Dictionary collation; results -1, 0, 1.
    int compare(const lxstring &other, bool ignoreCase, bool baseOnly, LXLanguage lang) const;
    int compare(const lxstring &other, LXLanguage lang = LXLanguageNone) const;
    int compare(const char *bytes) const;

    // Iterators.
    lxstring_iterator begin() const;
    lxstring_iterator end() const;
    lxstring_reverse_iterator rbegin() const;
    lxstring_reverse_iterator rend() const;

    // Streams.
    static bool putChar(std::ostream &os, uint32_t cp, int encoding, int byteOrder);
    // Reads one code point in the given encoding and order; false at the end of the stream.
    static bool getChar(std::istream &is, uint32_t &cp, int encoding, int byteOrder);
    void dump(std::ostream &os) const;          // "\x" and the hex of every content byte

private:
    template <class> friend class lxstring_position;
    friend class lxstring_iterator;
    friend class lxstring_reverse_iterator;
    friend class lxstring_reader;
    friend std::istream &getline(std::istream &is, lxstring &s, uint32_t delimiter);
    friend std::istream &operator>>(std::istream &is, lxstring &s);

    lxstring &appendCodePoint(uint32_t cp);

    unsigned char *buffer;
    int32_t cap;
    int32_t enc;
    int32_t order;
    int32_t byteLength;
    int32_t charCount;

    // Positions: the byte index where a code point starts, or -1.
    uint32_t decodeAt(int32_t byteIndex) const;
    bool validIndex(int32_t byteIndex) const;
    int32_t nextIndex(int32_t byteIndex) const;
    int32_t prevIndex(int32_t byteIndex) const;
    int32_t firstIndex() const;
    int32_t lastIndex() const;
    int32_t byteIndexOfChar(int32_t charIndex) const;
    int32_t advance(int32_t byteIndex, int32_t n) const;
    int32_t positionOf(const lxstring_iterator &it) const;
    bool rangeOf(const lxstring_iterator &first, const lxstring_iterator &last, int32_t &from,
                 int32_t &to) const;
    bool rangeOf(int32_t index, int32_t n, int32_t &from, int32_t &to) const;

    bool ensureCapacity(int64_t space, bool keep);
    void terminate();
    bool spliceBytes(int32_t from, int32_t to, const unsigned char *bytes, int32_t n,
                     int32_t addedChars);
    const lxstring *inThisEncoding(const lxstring &s, lxstring &tmp) const;
    void replaceBytes(int32_t from, int32_t to, const lxstring &with);
    void replaceBytes(int32_t from, int32_t to, const char *bytes);
    void replaceBytes(int32_t from, int32_t to, uint32_t cp);
    lxstring bytesAsString(int32_t from, int32_t to) const;
    bool matchesAt(int32_t byteIndex, const lxstring &needle) const;
    lxstring_iterator findFrom(lxstring_iterator it, const lxstring &needle) const;
    lxstring_iterator findFrom(lxstring_iterator it, uint32_t cp) const;
    void mapCodePoints(uint32_t (*f)(uint32_t), bool (*keep)(uint32_t));
    bool readInto(std::istream &is, bool (*stop)(uint32_t, uint32_t), uint32_t arg);
};

lxstring operator+(const lxstring &a, const lxstring &b);
lxstring operator+(const lxstring &a, const char *bytes);
lxstring operator+(const lxstring &a, char c);     // appended as code point 0..255

bool operator<(const lxstring &a, const lxstring &b);
bool operator<=(const lxstring &a, const lxstring &b);
bool operator>(const lxstring &a, const lxstring &b);
bool operator>=(const lxstring &a, const lxstring &b);
bool operator==(const lxstring &a, const lxstring &b);
bool operator!=(const lxstring &a, const lxstring &b);
// 8-bit text is taken in the string's encoding (byte order 0).
bool operator<(const lxstring &a, const char *b);
bool operator<=(const lxstring &a, const char *b);
bool operator>(const lxstring &a, const char *b);
bool operator>=(const lxstring &a, const char *b);
bool operator==(const lxstring &a, const char *b);
bool operator!=(const lxstring &a, const char *b);
bool operator<(const char *a, const lxstring &b);
bool operator<=(const char *a, const lxstring &b);
bool operator>(const char *a, const lxstring &b);
bool operator>=(const char *a, const lxstring &b);
bool operator==(const char *a, const lxstring &b);
bool operator!=(const char *a, const lxstring &b);

// The content bytes, in the string's own encoding and byte order.
std::ostream &operator<<(std::ostream &os, const lxstring &s);
// Appends the next word (up to a blank, which is consumed) to s; s is not cleared.
std::istream &operator>>(std::istream &is, lxstring &s);
// Clears s, then reads code points in s's encoding up to delimiter (consumed, not
// stored) or the end of the stream.
std::istream &getline(std::istream &is, lxstring &s, uint32_t delimiter = 10);
std::istream &getstring(std::istream &is, lxstring &s);   // up to code point 0

#endif
