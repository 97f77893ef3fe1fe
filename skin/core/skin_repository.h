// SkinRepository: one loaded skin. It expands and checks a skin file, owns its objects,
// images and sounds, finds them by name, by type code and (through the objects) by control
// id, and builds the objects' drawing resources after a load.
#ifndef WORDMERE_SKIN_CORE_SKIN_REPOSITORY_H
#define WORDMERE_SKIN_CORE_SKIN_REPOSITORY_H

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "memory_stream.h"
#include "skin_definitions.h"

class RasterImage;
class SkinRecordReader;

class SkinRepository {
public:
    template <typename T>
    using Table = std::map<std::string, std::unique_ptr<T>>;

    SkinRepository();
    ~SkinRepository();
    SkinRepository(const SkinRepository &) = delete;
    SkinRepository &operator=(const SkinRepository &) = delete;

    // Reads the file whole and loads it; error 4 when it cannot be read.
    bool loadFromFile(const char *path);
    // Loads a skin file's bytes (announced length and compressed body); 1 or 0 with the error
    // code set (5 expansion, 6 short header, 7 signature or version).
    bool loadFromStream(MemoryStream &stream);
    // A top-level object of exactly that name; else the first child of that name below the
    // top-level objects in name order; else the image, then the sound, of that name.
    SkinObject *findObject(const char *name) const;
    // The object named by the type name when it is of that type, else the first top-level
    // object of the type in name order (24 counts as 23).
    SkinObject *findObjectByType(int32_t code) const;
    // The decoded picture of the image of that name.
    RasterImage *findImage(const char *name) const;
    // Deletes every object, image and sound and resets the version to 1.18.
    void clear();
    // Writes the expanded body back: the header as read (with the count of the objects
    // kept), the objects, images and sounds in the current record forms.
    bool writeBody(MemoryStream &out) const;

    int32_t errorCode() const { return error_; }
    uint8_t majorVersion() const { return major_; }
    uint8_t minorVersion() const { return minor_; }
    const uint8_t *header() const { return header_; }
    SysColorTableDefinition *sysColorTable() const { return sysColorTable_; }
    // The skin's Application object, or null.
    const ApplicationDefinition *application() const;
    const Table<SkinObject> &objects() const { return objects_; }
    const Table<ImageDefinition> &images() const { return images_; }
    const Table<VoiceDefinition> &sounds() const { return sounds_; }

private:
    bool fail(int32_t error);
    bool checkHeader();
    void readObjects(SkinRecordReader &reader);
    template <typename T>
    void readTable(SkinRecordReader &reader, Table<T> &table);
    void keepObject(std::unique_ptr<SkinObject> object);

    mutable std::recursive_mutex lock_;
    int32_t error_ = kSkinLoadOk;
    uint8_t header_[kSkinHeaderBytes] = {};
    uint8_t major_ = kSkinMajorVersion;
    uint8_t minor_ = kSkinMinorVersion;
    Table<SkinObject> objects_;
    Table<ImageDefinition> images_;
    Table<VoiceDefinition> sounds_;
    SysColorTableDefinition *sysColorTable_ = nullptr;
};

#endif
