// SkinFieldVisitor: one walk over a record's fields in file order serves reading, writing
// and describing it. Each class lists its fields once (visitFields); the reader fills them
// from a stream (only the fields the file's version has), the writer stores the current form,
// the describer prints the record in the skin compiler's description language.
#ifndef WORDMERE_SKIN_CORE_SKIN_FIELDS_H
#define WORDMERE_SKIN_CORE_SKIN_FIELDS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin_types.h"

class SkinObject;
struct SkinProperty;

class SkinFieldVisitor {
public:
    virtual ~SkinFieldVisitor() = default;

    // Whether the record has the fields that came with this minor version: always when
    // writing or describing; when reading, only for files of that minor or later.
    virtual bool has(int minor) const = 0;
    // True only while reading a file of major version 1 whose minor lies in first..last.
    virtual bool readingMinors(int first, int last) const = 0;

    virtual void objectName(char *field, size_t size) = 0;
    virtual void i32(const char *name, int32_t &value) = 0;
    virtual void u32(const char *name, uint32_t &value) = 0;
    virtual void color(const char *name, SkinColor &value) = 0;
    virtual void u8(const char *name, uint8_t &value) = 0;
    virtual void i8(const char *name, int8_t &value) = 0;
    // Three bytes red, green, blue.
    virtual void rgb(const char *name, uint8_t (&value)[3]) = 0;
    virtual void text(const char *name, char *field, size_t size) = 0;
    // Bytes kept for the round trip but never described.
    virtual void reserved(uint8_t *bytes, size_t size) = 0;
    virtual void rect(const char *name, SkinRect &value) = 0;
    virtual void beginGroup(const char *name) = 0;
    virtual void endGroup() = 0;
    // `length` bytes of data (fewer when a file ends early).
    virtual void bytes(const char *name, std::vector<uint8_t> &data, uint32_t length) = 0;
    // A 32-bit length and that many bytes of text.
    virtual void sizedText(const char *name, std::string &text) = 0;
    // The child count and the children of a base record.
    virtual void children(SkinObject &parent) = 0;
    // A whole record of another class inside this one (a frame's menu bar).
    virtual void embedded(const char *name, SkinObject &record) = 0;
    // The property count and the properties of a property set.
    virtual void properties(std::vector<SkinProperty> &list) = 0;
};

// The building blocks, as groups of primitive fields.
void visitPicture(SkinFieldVisitor &v, const char *name, SkinPicture &picture);
void visitNineGrid(SkinFieldVisitor &v, const char *name, SkinNineGrid &grid);
void visitEffect(SkinFieldVisitor &v, const char *name, SkinTextEffect &effect);
void visitFont(SkinFieldVisitor &v, const char *name, SkinFontRecord &font);

#endif
