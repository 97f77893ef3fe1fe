#include "skin_record_io.h"

#include <cstring>

#include "skin_definitions.h"
#include "skin_object.h"


SkinRecordReader::SkinRecordReader(MemoryStream &stream, SkinRepository *owner)
    : stream_(stream), owner_(owner), version_(skinFileVersion())
{
}

bool SkinRecordReader::has(int minor) const { return version_.major != 0 && version_.minor >= minor; }

bool SkinRecordReader::readingMinors(int first, int last) const
{
    return version_.major == kSkinMajorVersion && version_.minor >= first && version_.minor <= last;
}

bool SkinRecordReader::take(void *destination, uint32_t n)
{
    if (stream_.remaining() < n) {
        stream_.seek(0, kStreamFromEnd);
        return false;
    }
    return stream_.read(destination, n) == n;
}

int32_t SkinRecordReader::readCount(int32_t fallback)
{
    int32_t value = fallback;
    take(&value, sizeof value);
    return value;
}

void SkinRecordReader::text(const char *, char *field, size_t size)
{
    if (size == 0) {
        return;
    }
    take(field, static_cast<uint32_t>(size));
    field[size - 1] = '\0';
}

void SkinRecordReader::rect(const char *, SkinRect &value)
{
    SkinRect read;
    if (take(&read, kSkinRectBytes)) {
        value = read;
    }
}

void SkinRecordReader::bytes(const char *, std::vector<uint8_t> &data, uint32_t length)
{
    const uint32_t n = length < stream_.remaining() ? length : stream_.remaining();
    data.resize(n);
    if (n > 0) {
        stream_.read(data.data(), n);
    }
}

void SkinRecordReader::sizedText(const char *name, std::string &text)
{
    uint32_t length = 0;
    if (!take(&length, sizeof length)) {
        return;
    }
    std::vector<uint8_t> data;
    bytes(name, data, length);
    text.assign(data.begin(), data.end());
}

void SkinRecordReader::readRecord(SkinObject &object)
{
    ++depth_;
    object.visitFields(*this);
    object.finishRead();
    --depth_;
}

std::unique_ptr<SkinObject> SkinRecordReader::readObject()
{
    int32_t type = kSkinNone;
    if (!take(&type, sizeof type)) {
        return nullptr;
    }
    std::unique_ptr<SkinObject> object = createSkinObject(type);
    if (object) {
        object->setOwner(owner_);
        readRecord(*object);
    }
    return object;
}

void SkinRecordReader::children(SkinObject &parent)
{
    const int32_t count = readCount();
    if (count <= 0) {
        return;
    }
    if (depth_ >= kSkinMaxNesting) {
        // Deeper than any skin needs: what follows is not read.
        stream_.seek(0, kStreamFromEnd);
        return;
    }
    for (int32_t i = 0; i < count && !stream_.atEnd(); ++i) {
        std::unique_ptr<SkinObject> child = readObject();
        if (child) {
            parent.addChild(std::move(child));
        }
    }
}

void SkinRecordReader::embedded(const char *, SkinObject &record)
{
    record.setOwner(owner_);
    readRecord(record);
}

void SkinRecordReader::properties(std::vector<SkinProperty> &list)
{
    const int32_t count = readCount();
    for (int32_t i = 0; i < count && !stream_.atEnd(); ++i) {
        SkinProperty property;
        i32(nullptr, property.kind);
        text(nullptr, property.label, sizeof property.label);
        text(nullptr, property.name, sizeof property.name);
        uint32_t length = 0;
        u32(nullptr, length);
        bytes(nullptr, property.data, length);
        length = 0;
        u32(nullptr, length);
        bytes(nullptr, property.text, length);
        if (!property.text.empty()) {
            property.text.back() = 0;
        }
        list.push_back(std::move(property));
    }
}

void SkinRecordWriter::put(const void *data, size_t size)
{
    if (size > 0 && stream_.write(data, static_cast<uint32_t>(size)) != size) {
        ok_ = false;
    }
}

void SkinRecordWriter::rect(const char *, SkinRect &value) { put(&value, kSkinRectBytes); }

void SkinRecordWriter::bytes(const char *, std::vector<uint8_t> &data, uint32_t)
{
    put(data.data(), data.size());
}

void SkinRecordWriter::sizedText(const char *, std::string &text)
{
    writeCount(static_cast<int32_t>(text.size()));
    put(text.data(), text.size());
}

void SkinRecordWriter::children(SkinObject &parent)
{
    writeCount(static_cast<int32_t>(parent.children().size()));
    for (const auto &child : parent.children()) {
        ok_ = child.second->write(stream_) && ok_;
    }
}

void SkinRecordWriter::embedded(const char *, SkinObject &record) { record.visitFields(*this); }

void SkinRecordWriter::properties(std::vector<SkinProperty> &list)
{
    writeCount(static_cast<int32_t>(list.size()));
    for (SkinProperty &property : list) {
        i32(nullptr, property.kind);
        put(property.label, sizeof property.label);
        put(property.name, sizeof property.name);
        writeCount(static_cast<int32_t>(property.data.size()));
        put(property.data.data(), property.data.size());
        writeCount(static_cast<int32_t>(property.text.size()));
        put(property.text.data(), property.text.size());
    }
}
