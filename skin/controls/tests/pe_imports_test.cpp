// Finding the import slot of a function in a module image laid out as memory holds it.
#include "pe_imports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kHighest = 0x7FFEFFFF;

// A small image: DOS and PE headers, then import descriptors, names and address tables.
class ImageBuilder {
public:
    struct Module {
        std::string name;
        std::vector<uint32_t> slots;
    };
    explicit ImageBuilder(std::vector<Module> modules) : modules_(std::move(modules)) {}

    std::vector<uint8_t> build(uint32_t *tableOf = nullptr) const
    {
        std::vector<uint8_t> image(0x1000, 0);
        put16(image, 0, 0x5A4D);
        put32(image, 0x3C, 0x80);
        put32(image, 0x80, 0x00004550);
        uint32_t optional = 0x80 + 4 + 20;
        put16(image, optional, 0x10B);
        put32(image, optional + 56, 0x1000);  // size of image
        put32(image, optional + 92, 16);      // directory count
        uint32_t descriptors = 0x200;
        put32(image, optional + 96 + 8, descriptors);
        put32(image, optional + 96 + 12, static_cast<uint32_t>((modules_.size() + 1) * 20));
        uint32_t names = 0x400, tables = 0x600;
        for (size_t m = 0; m < modules_.size(); ++m) {
            uint32_t d = descriptors + static_cast<uint32_t>(m) * 20;
            put32(image, d + 12, names);
            put32(image, d + 16, tables);
            if (tableOf) {
                tableOf[m] = tables;
            }
            std::memcpy(image.data() + names, modules_[m].name.c_str(), modules_[m].name.size() + 1);
            names += static_cast<uint32_t>(modules_[m].name.size() + 1);
            for (uint32_t v : modules_[m].slots) {
                put32(image, tables, v);
                tables += 4;
            }
            tables += 4;  // the closing zero
        }
        return image;
    }

    static void put16(std::vector<uint8_t> &b, uint32_t at, uint16_t v) { std::memcpy(b.data() + at, &v, 2); }
    static void put32(std::vector<uint8_t> &b, uint32_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

private:
    std::vector<Module> modules_;
};

// Memory above the highest application address holding the system's forwarding stubs.
struct FakeMemory {
    std::map<uint32_t, std::vector<uint8_t>> blocks;
    MemoryReader reader()
    {
        return [this](uint32_t address, uint8_t *out, uint32_t size) {
            auto it = blocks.find(address);
            if (it == blocks.end() || it->second.size() < size) {
                return false;
            }
            std::memcpy(out, it->second.data(), size);
            return true;
        };
    }
};

const std::vector<ImageBuilder::Module> kModules = {
    {"KERNEL32.dll", {0x7B400010, 0x7B400020}},
    {"USER32.dll", {0x7E410000, 0x7E410100, 0x80001000, 0x7E410200}},
    {"user32.dll", {0x7E410300}},
};

TEST(PeImports, FindsTheSlotOfAFunctionInItsModulesTable)
{
    uint32_t tables[3];
    std::vector<uint8_t> bytes = ImageBuilder(kModules).build(tables);
    PeImage image(bytes.data(), bytes.size());
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(image.sizeOfImage(), 0x1000u);
    ASSERT_EQ(image.imports().size(), 3u);
    EXPECT_EQ(image.imports()[1].module, "USER32.dll");

    FakeMemory memory;
    memory.blocks[0x80001000] = {0x68, 0x00, 0x05, 0x41, 0x7E, 0xC3};  // PUSH 0x7E410500; RET
    struct Case {
        const char *module;
        uint32_t real;
        uint32_t slot;
    } cases[] = {
        {"USER32.dll", 0x7E410100, tables[1] + 4},
        {"User32.DLL", 0x7E410200, tables[1] + 12},  // names compare without letter case
        {"USER32.dll", 0x7E410500, tables[1] + 8},   // through the forwarding stub
        {"USER32.dll", 0x7E410300, tables[2]},       // a second descriptor of the same module
        {"USER32.dll", 0x7B400010, 0},               // another module's function
        {"Kernel32.dll", 0x7B400020, tables[0] + 4},
        {"GDI32.dll", 0x7E410100, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(findImportSlot(image, c.module, c.real, kHighest, memory.reader()), c.slot)
            << c.module << " " << std::hex << c.real;
    }
    // A slot pointing below the highest application address is never taken for a stub.
    memory.blocks[0x7E410000] = {0x68, 0x00, 0x09, 0x41, 0x7E};
    EXPECT_EQ(findImportSlot(image, "USER32.dll", 0x7E410900, kHighest, memory.reader()), 0u);
    // A stub whose memory cannot be read is passed over.
    memory.blocks.clear();
    EXPECT_EQ(findImportSlot(image, "USER32.dll", 0x7E410500, kHighest, memory.reader()), 0u);
}

TEST(PeImports, DamagedImagesArePassedOverWithoutReadingPastThem)
{
    std::vector<uint8_t> good = ImageBuilder(kModules).build();
    struct Damage {
        const char *what;
        uint32_t at;
        uint32_t value;
        size_t keep;      // bytes of the image handed over
        bool stillFound;  // the damage lies outside what the search needs
    } damages[] = {
        {"no MZ", 0, 0x00005A00, good.size(), false},
        {"new header past the end", 0x3C, 0x7FFFFFF0, good.size(), false},
        {"new header at the very end", 0x3C, static_cast<uint32_t>(good.size() - 2), good.size(), false},
        {"not PE", 0x80, 0x00004551, good.size(), false},
        {"not PE32", 0x80 + 24, 0x20B, good.size(), false},
        {"import directory past the end", 0x80 + 24 + 104, 0xFFFFFFF0, good.size(), false},
        {"another module's name past the end", 0x200 + 12, 0xFFFFFF00, good.size(), true},
        {"address table past the end", 0x200 + 16 + 20, 0xFFFFFFFC, good.size(), false},
        {"image cut in its tables", 0, 0x00905A4D, 0x608, false},
        {"image cut in its headers", 0, 0x00905A4D, 0x90, false},
    };
    for (const Damage &d : damages) {
        std::vector<uint8_t> bytes = good;
        ImageBuilder::put32(bytes, d.at, d.value);
        // Only `keep` bytes handed over, in a copy of exactly that size, so a read past it is caught.
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + d.keep);
        PeImage image(cut.data(), cut.size());
        EXPECT_EQ(findImportSlot(image, "USER32.dll", 0x7E410100, kHighest, nullptr) != 0, d.stillFound) << d.what;
    }
    // An unterminated name at the end of the image.
    std::vector<uint8_t> bytes = good;
    std::memset(bytes.data() + 0x400, 'A', bytes.size() - 0x400);
    PeImage unterminated(bytes.data(), bytes.size());
    EXPECT_TRUE(unterminated.imports().empty());
    EXPECT_FALSE(PeImage(nullptr, 100).valid());
}

}  // namespace
