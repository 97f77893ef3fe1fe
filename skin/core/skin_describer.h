// SkinDescriber: prints records in the skin compiler's canonical description language, one
// field a line in file order (texts quoted, colours #RRGGBB, rectangles as four numbers,
// blocks in braces, children as nested objects). The compiler prints its description the same
// way, so a loaded skin and its source can be compared line by line.
#ifndef WORDMERE_SKIN_CORE_SKIN_DESCRIBER_H
#define WORDMERE_SKIN_CORE_SKIN_DESCRIBER_H

#include <string>

#include "skin_fields.h"

class SkinRepository;

class SkinDescriber : public SkinFieldVisitor {
public:
    // Appends `keyword "name" {`, the record's fields, `}`.
    void describeObject(SkinObject &object, const char *keyword = nullptr);
    const std::string &text() const { return out_; }
    // The keyword of an object in a description: its type name, "Frame" for 45,
    // "PropertySet" for 100.
    static const char *keywordOf(int32_t type);

    bool has(int) const override { return true; }
    bool readingMinors(int, int) const override { return false; }
    void objectName(char *, size_t) override {}
    void i32(const char *name, int32_t &value) override;
    void u32(const char *name, uint32_t &value) override;
    void color(const char *name, SkinColor &value) override;
    void u8(const char *name, uint8_t &value) override;
    void i8(const char *name, int8_t &value) override;
    void rgb(const char *name, uint8_t (&value)[3]) override;
    void text(const char *name, char *field, size_t size) override;
    void reserved(uint8_t *, size_t) override {}
    void rect(const char *name, SkinRect &value) override;
    void beginGroup(const char *name) override;
    void endGroup() override;
    void bytes(const char *name, std::vector<uint8_t> &data, uint32_t length) override;
    void sizedText(const char *name, std::string &text) override;
    void children(SkinObject &parent) override;
    void embedded(const char *name, SkinObject &record) override;
    void properties(std::vector<SkinProperty> &list) override;

    // Building blocks of the printed form, also used for the skin's header and images.
    void line(const std::string &name, const std::string &value);
    void open(const std::string &head);
    void close();
    static std::string quote(const char *text, size_t size);
    static std::string colorText(SkinColor color);
    static std::string hashText(const uint8_t *data, size_t size);

private:
    std::string out_;
    int indent_ = 0;
};

// The whole skin: its header, objects, images and sounds.
std::string describeSkin(const SkinRepository &repository);

#endif
