// The reader and the writer of skin records: field visitors over a MemoryStream.
// The reader takes each field whole or not at all: a field the stream cannot fill keeps its
// default and ends the reading (everything after it keeps its default too). It bounds every
// count and length by the bytes left and child lists by the nesting limit.
#ifndef WORDMERE_SKIN_CORE_SKIN_RECORD_IO_H
#define WORDMERE_SKIN_CORE_SKIN_RECORD_IO_H

#include <memory>

#include "memory_stream.h"
#include "skin_fields.h"
#include "skin_version.h"

class SkinRepository;

class SkinRecordReader : public SkinFieldVisitor {
public:
    // Reads in the form of the process-wide file version at this moment.
    SkinRecordReader(MemoryStream &stream, SkinRepository *owner);

    // Reads one object: type code, class, record. Null at the end of the stream or for a
    // code without a class (which then has no record).
    std::unique_ptr<SkinObject> readObject();
    // The next signed 32-bit value, or `fallback` when the stream has no four bytes left.
    int32_t readCount(int32_t fallback = 0);
    // Reads the record of an object the caller made (an image or sound of the tables).
    void readInto(SkinObject &object) { readRecord(object); }
    bool atEnd() const { return stream_.atEnd(); }

    bool has(int minor) const override;
    bool readingMinors(int first, int last) const override;
    void objectName(char *field, size_t size) override { text(nullptr, field, size); }
    void i32(const char *, int32_t &value) override { take(&value, sizeof value); }
    void u32(const char *, uint32_t &value) override { take(&value, sizeof value); }
    void color(const char *, SkinColor &value) override { take(&value, sizeof value); }
    void u8(const char *, uint8_t &value) override { take(&value, sizeof value); }
    void i8(const char *, int8_t &value) override { take(&value, sizeof value); }
    void rgb(const char *, uint8_t (&value)[3]) override { take(value, sizeof value); }
    void text(const char *name, char *field, size_t size) override;
    void reserved(uint8_t *bytes, size_t size) override { take(bytes, static_cast<uint32_t>(size)); }
    void rect(const char *name, SkinRect &value) override;
    void beginGroup(const char *) override {}
    void endGroup() override {}
    void bytes(const char *name, std::vector<uint8_t> &data, uint32_t length) override;
    void sizedText(const char *name, std::string &text) override;
    void children(SkinObject &parent) override;
    void embedded(const char *name, SkinObject &record) override;
    void properties(std::vector<SkinProperty> &list) override;

private:
    // Copies n bytes when the stream has them; otherwise moves to the end and answers false.
    bool take(void *destination, uint32_t n);
    void readRecord(SkinObject &object);

    MemoryStream &stream_;
    SkinRepository *owner_;
    SkinVersion version_;
    int depth_ = 0;
};

class SkinRecordWriter : public SkinFieldVisitor {
public:
    explicit SkinRecordWriter(MemoryStream &stream) : stream_(stream) {}
    bool ok() const { return ok_; }
    void writeTypeCode(int32_t type) { put(&type, sizeof type); }
    void writeCount(int32_t count) { put(&count, sizeof count); }

    bool has(int) const override { return true; }
    bool readingMinors(int, int) const override { return false; }
    void objectName(char *field, size_t size) override { put(field, size); }
    void i32(const char *, int32_t &value) override { put(&value, sizeof value); }
    void u32(const char *, uint32_t &value) override { put(&value, sizeof value); }
    void color(const char *, SkinColor &value) override { put(&value, sizeof value); }
    void u8(const char *, uint8_t &value) override { put(&value, sizeof value); }
    void i8(const char *, int8_t &value) override { put(&value, sizeof value); }
    void rgb(const char *, uint8_t (&value)[3]) override { put(value, sizeof value); }
    void text(const char *, char *field, size_t size) override { put(field, size); }
    void reserved(uint8_t *bytes, size_t size) override { put(bytes, size); }
    void rect(const char *name, SkinRect &value) override;
    void beginGroup(const char *) override {}
    void endGroup() override {}
    void bytes(const char *name, std::vector<uint8_t> &data, uint32_t length) override;
    void sizedText(const char *name, std::string &text) override;
    void children(SkinObject &parent) override;
    void embedded(const char *name, SkinObject &record) override;
    void properties(std::vector<SkinProperty> &list) override;

private:
    void put(const void *data, size_t size);

    MemoryStream &stream_;
    bool ok_ = true;
};

#endif
