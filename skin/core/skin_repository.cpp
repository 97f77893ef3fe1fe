#include "skin_repository.h"

#include <cstring>

#include "rasterimage.h"
#include "skin_record_io.h"
#include "skin_version.h"

SkinRepository::SkinRepository() = default;

SkinRepository::~SkinRepository() { clear(); }

bool SkinRepository::fail(int32_t error)
{
    error_ = error;
    return false;
}

void SkinRepository::clear()
{
    std::lock_guard<std::recursive_mutex> hold(lock_);
    // Objects may hold resolved pictures of the images: they go first.
    sysColorTable_ = nullptr;
    objects_.clear();
    images_.clear();
    sounds_.clear();
    std::memset(header_, 0, sizeof header_);
    major_ = kSkinMajorVersion;
    minor_ = kSkinMinorVersion;
    setSkinFileVersion(kSkinMajorVersion, kSkinMinorVersion);
}

bool SkinRepository::loadFromFile(const char *path)
{
    MemoryStream file;
    if (!file.loadFile(path)) {
        clear();
        return fail(kSkinFileUnreadable);
    }
    return loadFromStream(file);
}

bool SkinRepository::checkHeader()
{
    return std::memcmp(header_, kSkinSignature, kSkinSignatureBytes) == 0 &&
           header_[kSkinHeaderMajorOffset] == kSkinMajorVersion && header_[kSkinHeaderMinorOffset] <= kSkinMinorVersion;
}

bool SkinRepository::loadFromStream(MemoryStream &stream)
{
    clear();
    std::lock_guard<std::recursive_mutex> hold(lock_);
    error_ = kSkinLoadOk;
    MemoryStream body(kSkinStreamGrowth);
    if (!stream.expandInto(body)) {
        return fail(kSkinExpansionFailed);
    }
    body.rewind();
    if (body.read(header_, kSkinHeaderBytes) != kSkinHeaderBytes) {
        std::memset(header_, 0, sizeof header_);
        return fail(kSkinShortHeader);
    }
    if (!checkHeader()) {
        return fail(kSkinBadSignature);
    }
    major_ = header_[kSkinHeaderMajorOffset];
    minor_ = header_[kSkinHeaderMinorOffset];
    setSkinFileVersion(major_, minor_);

    SkinRecordReader reader(body, this);
    readObjects(reader);
    readTable(reader, images_);
    readTable(reader, sounds_);
    for (auto &entry : objects_) {
        entry.second->createResources();
    }
    setSkinFileVersion(kSkinMajorVersion, kSkinMinorVersion);
    return true;
}

void SkinRepository::keepObject(std::unique_ptr<SkinObject> object)
{
    std::unique_ptr<SkinObject> &slot = objects_[object->name()];
    if (slot && slot.get() == sysColorTable_) {
        sysColorTable_ = nullptr;  // the table it points at is about to go
    }
    if (object->type() == kSkinSysColorTable) {
        sysColorTable_ = static_cast<SysColorTableDefinition *>(object.get());
    }
    slot = std::move(object);
}

void SkinRepository::readObjects(SkinRecordReader &reader)
{
    int32_t count = 0;
    std::memcpy(&count, header_ + kSkinHeaderCountOffset, sizeof count);
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<SkinObject> object = reader.readObject();
        if (object) {
            keepObject(std::move(object));
        } else if (reader.atEnd()) {
            break;
        }
    }
}

template <typename T>
void SkinRepository::readTable(SkinRecordReader &reader, Table<T> &table)
{
    const int32_t count = reader.readCount();
    for (int32_t i = 0; i < count && !reader.atEnd(); ++i) {
        reader.readCount();  // the type code, read and ignored
        auto entry = std::make_unique<T>();
        entry->setOwner(this);
        reader.readInto(*entry);
        std::string key = entry->name();
        table[key] = std::move(entry);
    }
}

SkinObject *SkinRepository::findObject(const char *name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> hold(lock_);
    const auto top = objects_.find(name);
    if (top != objects_.end()) {
        return top->second.get();
    }
    for (const auto &entry : objects_) {
        if (SkinObject *child = entry.second->findChild(name)) {
            return child;
        }
    }
    const auto image = images_.find(name);
    if (image != images_.end()) {
        return image->second.get();
    }
    const auto sound = sounds_.find(name);
    return sound != sounds_.end() ? sound->second.get() : nullptr;
}

SkinObject *SkinRepository::findObjectByType(int32_t code) const
{
    if (code == kSkinControlBar) {
        code = kSkinToolBar;
    }
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (code >= 1 && code < kSkinTypeNameCount) {
        const auto named = objects_.find(skinTypeName(code));
        if (named != objects_.end() && named->second->type() == code) {
            return named->second.get();
        }
    }
    for (const auto &entry : objects_) {
        if (entry.second->type() == code) {
            return entry.second.get();
        }
    }
    return nullptr;
}

RasterImage *SkinRepository::findImage(const char *name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> hold(lock_);
    const auto image = images_.find(name);
    return image != images_.end() ? image->second->picture() : nullptr;
}

const ApplicationDefinition *SkinRepository::application() const
{
    return static_cast<const ApplicationDefinition *>(findObjectByType(kSkinApplication));
}

bool SkinRepository::writeBody(MemoryStream &out) const
{
    std::lock_guard<std::recursive_mutex> hold(lock_);
    uint8_t header[kSkinHeaderBytes];
    std::memcpy(header, header_, sizeof header);
    const int32_t count = static_cast<int32_t>(objects_.size());
    std::memcpy(header + kSkinHeaderCountOffset, &count, sizeof count);
    SkinRecordWriter writer(out);
    out.write(header, sizeof header);
    bool ok = out.size() >= kSkinHeaderBytes;
    for (const auto &entry : objects_) {
        ok = entry.second->write(out) && ok;
    }
    writer.writeCount(static_cast<int32_t>(images_.size()));
    for (const auto &entry : images_) {
        ok = entry.second->write(out) && ok;
    }
    writer.writeCount(static_cast<int32_t>(sounds_.size()));
    for (const auto &entry : sounds_) {
        ok = entry.second->write(out) && ok;
    }
    return ok && writer.ok();
}
