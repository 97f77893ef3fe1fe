#include "skin_describer.h"

#include <cstdio>
#include <cstring>

#include "rasterimage.h"
#include "skin_definitions.h"
#include "skin_repository.h"

namespace {
constexpr int kIndentStep = 2;
constexpr uint32_t kFnvOffset = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;

std::string number(int64_t value) { return std::to_string(value); }
}  // namespace

const char *SkinDescriber::keywordOf(int32_t type)
{
    if (type == kSkinUnnamedFrame) {
        return "Frame";
    }
    if (type == kSkinPropertySet) {
        return "PropertySet";
    }
    const char *name = skinTypeName(type);
    return name != nullptr ? name : "NONE";
}

void SkinDescriber::line(const std::string &name, const std::string &value)
{
    out_.append(static_cast<size_t>(indent_), ' ');
    out_ += name;
    out_ += " = ";
    out_ += value;
    out_ += '\n';
}

void SkinDescriber::open(const std::string &head)
{
    out_.append(static_cast<size_t>(indent_), ' ');
    out_ += head;
    out_ += " {\n";
    indent_ += kIndentStep;
}

void SkinDescriber::close()
{
    indent_ -= kIndentStep;
    out_.append(static_cast<size_t>(indent_), ' ');
    out_ += "}\n";
}

std::string SkinDescriber::quote(const char *text, size_t size)
{
    std::string q = "\"";
    for (size_t i = 0; i < size && text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            q += '\\';
            q += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            q += escaped;
        } else {
            q += static_cast<char>(c);
        }
    }
    q += '"';
    return q;
}

std::string SkinDescriber::colorText(SkinColor color)
{
    char buffer[16];
    if ((color & 0xFF000000u) != 0) {
        std::snprintf(buffer, sizeof buffer, "0x%08X", color);
    } else {
        std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", skinRed(color), skinGreen(color), skinBlue(color));
    }
    return buffer;
}

std::string SkinDescriber::hashText(const uint8_t *data, size_t size)
{
    uint32_t hash = kFnvOffset;
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * kFnvPrime;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "fnv1a:%08X", hash);
    return buffer;
}

void SkinDescriber::describeObject(SkinObject &object, const char *keyword)
{
    open(std::string(keyword != nullptr ? keyword : keywordOf(object.type())) + " " +
         quote(object.name(), kSkinNameBytes));
    object.visitFields(*this);
    close();
}

void SkinDescriber::i32(const char *name, int32_t &value) { line(name, number(value)); }
void SkinDescriber::u32(const char *name, uint32_t &value) { line(name, number(value)); }
void SkinDescriber::color(const char *name, SkinColor &value) { line(name, colorText(value)); }
void SkinDescriber::u8(const char *name, uint8_t &value) { line(name, number(value)); }
void SkinDescriber::i8(const char *name, int8_t &value) { line(name, number(value)); }

void SkinDescriber::rgb(const char *name, uint8_t (&value)[3])
{
    line(name, colorText(skinRgb(value[0], value[1], value[2])));
}

void SkinDescriber::text(const char *name, char *field, size_t size) { line(name, quote(field, size)); }

void SkinDescriber::rect(const char *name, SkinRect &value)
{
    line(name, number(value.left) + " " + number(value.top) + " " + number(value.right) + " " + number(value.bottom));
}

void SkinDescriber::beginGroup(const char *name) { open(std::string(name) + " ="); }
void SkinDescriber::endGroup() { close(); }

void SkinDescriber::bytes(const char *name, std::vector<uint8_t> &data, uint32_t)
{
    line(name, hashText(data.data(), data.size()));
}

void SkinDescriber::sizedText(const char *name, std::string &text)
{
    line(name, quote(text.c_str(), text.size()));
}

void SkinDescriber::children(SkinObject &parent)
{
    for (const auto &child : parent.children()) {
        describeObject(*child.second);
    }
}

void SkinDescriber::embedded(const char *name, SkinObject &record)
{
    open(std::string(name) + " = " + keywordOf(record.type()) + " " + quote(record.name(), kSkinNameBytes));
    record.visitFields(*this);
    close();
}

void SkinDescriber::properties(std::vector<SkinProperty> &list)
{
    for (SkinProperty &property : list) {
        open("property " + quote(property.name, sizeof property.name));
        line("kind", number(property.kind));
        line("label", quote(property.label, sizeof property.label));
        std::string hex = "x\"";
        for (uint8_t byte : property.data) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%02X", byte);
            hex += pair;
        }
        line("data", hex + "\"");
        if (!property.text.empty()) {
            line("text", quote(reinterpret_cast<const char *>(property.text.data()), property.text.size()));
        }
        close();
    }
}

std::string describeSkin(const SkinRepository &repository)
{
    SkinDescriber d;
    d.open("skin");
    d.line("major", number(repository.majorVersion()));
    d.line("minor", number(repository.minorVersion()));
    const uint8_t *header = repository.header();
    d.line("author", SkinDescriber::quote(reinterpret_cast<const char *>(header + kSkinHeaderAuthorOffset),
                                          kSkinAuthorBytes));
    d.close();
    for (const auto &entry : repository.objects()) {
        d.describeObject(*entry.second);
    }
    for (const auto &entry : repository.images()) {
        ImageDefinition &image = *entry.second;
        d.open(std::string("Image ") + SkinDescriber::quote(image.name(), kSkinNameBytes));
        image.visitFields(d);
        const RasterImage *picture = image.picture();
        d.line("decoded", picture != nullptr ? number(picture->Width()) + " " + number(picture->Height()) : "none");
        d.close();
    }
    for (const auto &entry : repository.sounds()) {
        d.describeObject(*entry.second);
    }
    return d.text();
}
