// SkinObject: a named record with colours, a rectangle, child objects and, by its type code,
// a class of its own (skin_definitions.h). Objects are read from a skin stream, build their
// drawing resources once the whole skin is read, and are looked up by the skinners.
#ifndef WORDMERE_SKIN_CORE_SKIN_OBJECT_H
#define WORDMERE_SKIN_CORE_SKIN_OBJECT_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin_types.h"

class MemoryStream;
class SkinFieldVisitor;
class SkinRepository;
class SkinObject;

using SkinChildMap = std::map<std::string, std::unique_ptr<SkinObject>>;

// One property of a property set: a kind, a label, a name, data and an optional text.
struct SkinProperty {
    int32_t kind = 0;
    char label[kSkinLabelBytes] = {};
    char name[kSkinNameBytes] = {};
    std::vector<uint8_t> data;
    // The text with its terminator; empty when the property has none.
    std::vector<uint8_t> text;

    // Copies the data when the buffer holds it and there is data: answers the bytes copied.
    // Otherwise copies nothing, sets *size to the size needed and answers 0.
    uint32_t readValue(void *buffer, uint32_t *size) const;
};

class SkinObject {
public:
    explicit SkinObject(int32_t type);
    virtual ~SkinObject();
    SkinObject(const SkinObject &) = delete;
    SkinObject &operator=(const SkinObject &) = delete;

    // The colour treated as transparent by default.
    virtual uint32_t keyColor() const { return kSkinDefaultKeyColor; }
    // Frees what createResources made; the base forwards to every child.
    virtual void releaseResources();
    // Builds drawing resources (fonts, brushes, resolved pictures); the base forwards to every child.
    virtual void createResources();
    // Writes the type code and the record in the current form.
    virtual bool write(MemoryStream &stream);
    // Reads the record (the type code is the caller's), in the form of the process-wide
    // file version (skin_version.h).
    virtual bool read(MemoryStream &stream);
    virtual void setValue(int32_t value) {}
    virtual void setRect(const SkinRect &rect) { this->rect = rect; }
    // The property of that name (the property set compares without regard to case).
    virtual const SkinProperty *findProperty(const char *name) const { return nullptr; }
    // The record's fields in file order.
    virtual void visitFields(SkinFieldVisitor &visitor);
    // Called once a reader has filled the fields (an image decodes its picture here).
    virtual void finishRead() {}

    // Own child of exactly that name, else each child's subtree in name order, depth first.
    SkinObject *findChild(const char *name) const;
    // The first child in name order of this type code and control id.
    SkinObject *findChildByTypeAndId(int32_t type, int32_t id) const;
    // Copies a property of that kind into buffer (*size in: the buffer's size, out: the bytes
    // copied or needed). False when missing or of another kind; kind 1 answers whether a byte
    // was copied, other kinds whether the bytes copied equal the buffer size given (a property
    // without data answers true).
    bool getProperty(const char *name, int32_t kind, void *buffer, uint32_t *size) const;

    int32_t type() const { return type_; }
    const char *name() const { return name_; }
    void setName(const char *name);
    SkinRepository *owner() const { return owner_; }
    // Sets the owner of this object, its children and embedded records.
    virtual void setOwner(SkinRepository *owner);
    const SkinChildMap &children() const { return children_; }
    // Adds a child under its name; false (the child deleted) when the name is taken.
    bool addChild(std::unique_ptr<SkinObject> child);

    SkinColor bgColor;
    SkinColor textColor;
    SkinColor thirdColor;
    char secondText[kSkinNameBytes];
    int32_t value = 0;
    SkinRect rect;
    int32_t controlId = 0;

protected:
    // The base record's fields up to the children, and the children.
    void visitBase(SkinFieldVisitor &v);

private:
    char name_[kSkinNameBytes];
    int32_t type_;
    SkinRepository *owner_ = nullptr;
    SkinChildMap children_;
};

#endif
