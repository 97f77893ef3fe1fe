#include "skin_object.h"

#include <cstring>

#include "skin_fields.h"
#include "skin_record_io.h"
#include "system_colors.h"

namespace {
constexpr SkinColor kDefaultThirdColor = 0x000000FF;
constexpr int32_t kDefaultWidth = 60;
constexpr int32_t kDefaultHeight = 30;
}  // namespace

uint32_t SkinProperty::readValue(void *buffer, uint32_t *size) const
{
    const uint32_t needed = static_cast<uint32_t>(data.size());
    if (buffer == nullptr || size == nullptr || *size < needed || data.empty()) {
        if (size != nullptr) {
            *size = needed;
        }
        return 0;
    }
    std::memcpy(buffer, data.data(), needed);
    *size = needed;
    return needed;
}

SkinObject::SkinObject(int32_t type)
    : bgColor(skinPlatformSystemColor(kSysColorBtnFace)),
      textColor(skinPlatformSystemColor(kSysColorWindowText)),
      thirdColor(kDefaultThirdColor),
      rect(makeSkinRect(0, 0, kDefaultWidth, kDefaultHeight)),
      type_(type)
{
    std::memset(secondText, 0, sizeof secondText);
    std::memset(name_, 0, sizeof name_);
}

SkinObject::~SkinObject() = default;

void SkinObject::releaseResources()
{
    for (auto &child : children_) {
        child.second->releaseResources();
    }
}

void SkinObject::createResources()
{
    for (auto &child : children_) {
        child.second->createResources();
    }
}

bool SkinObject::write(MemoryStream &stream)
{
    SkinRecordWriter writer(stream);
    writer.writeTypeCode(type_);
    visitFields(writer);
    return writer.ok();
}

bool SkinObject::read(MemoryStream &stream)
{
    SkinRecordReader reader(stream, owner_);
    visitFields(reader);
    finishRead();
    return true;
}

void SkinObject::visitBase(SkinFieldVisitor &v)
{
    v.objectName(name_, sizeof name_);
    v.color("bgColor", bgColor);
    v.color("textColor", textColor);
    v.color("thirdColor", thirdColor);
    v.text("secondText", secondText, sizeof secondText);
    v.i32("value", value);
    if (v.has(8)) {
        v.rect("rect", rect);
        v.i32("id", controlId);
    }
    v.children(*this);
}

void SkinObject::visitFields(SkinFieldVisitor &v) { visitBase(v); }

SkinObject *SkinObject::findChild(const char *name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    const auto own = children_.find(name);
    if (own != children_.end()) {
        return own->second.get();
    }
    for (const auto &child : children_) {
        if (SkinObject *found = child.second->findChild(name)) {
            return found;
        }
    }
    return nullptr;
}

SkinObject *SkinObject::findChildByTypeAndId(int32_t type, int32_t id) const
{
    for (const auto &child : children_) {
        if (child.second->type() == type && child.second->controlId == id) {
            return child.second.get();
        }
    }
    return nullptr;
}

bool SkinObject::getProperty(const char *name, int32_t kind, void *buffer, uint32_t *size) const
{
    const SkinProperty *property = findProperty(name);
    if (property == nullptr || property->kind != kind || size == nullptr) {
        return false;
    }
    const uint32_t given = *size;
    const uint32_t copied = property->readValue(buffer, size);
    if (kind == kSkinPropertyAny) {
        return copied > 0;
    }
    return property->data.empty() || copied == given;
}

void SkinObject::setName(const char *name) { copySkinText(name_, sizeof name_, name); }

void SkinObject::setOwner(SkinRepository *owner)
{
    owner_ = owner;
    for (auto &child : children_) {
        child.second->setOwner(owner);
    }
}

bool SkinObject::addChild(std::unique_ptr<SkinObject> child)
{
    std::string key = child->name();
    if (children_.count(key) != 0) {
        return false;
    }
    child->setOwner(owner_);
    children_.emplace(std::move(key), std::move(child));
    return true;
}
