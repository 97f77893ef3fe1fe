// Loading skin files: the refusals with their error codes, version gating, older record
// forms, and bodies that end early, nest too deeply or repeat names.
#include <gtest/gtest.h>

#include "skin_definitions.h"
#include "skin_record_io.h"
#include "skin_test_support.h"
#include "skin_version.h"

namespace {

Bytes emptyBody(uint8_t major, uint8_t minor) { return BodyBuilder().header(major, minor, 0).i32(0).i32(0).bytes; }

struct Crafted {
    const char *name;
    Bytes file;
    int32_t error;
};

std::vector<Crafted> craftedFiles()
{
    const Bytes good = emptyBody(1, 18);
    Bytes body999(999, 0);
    Bytes body1000(1000, 0);
    Bytes corrupt = skinFile(good);
    corrupt[corrupt.size() / 2] ^= 0xFF;
    corrupt.resize(corrupt.size() - 3);
    return {
        {"empty", {}, kSkinExpansionFailed},
        {"three bytes", {1, 0, 0}, kSkinExpansionFailed},
        {"four bytes announcing nothing", {0, 0, 0, 0}, kSkinExpansionFailed},
        {"announced 1000, 999 produced", skinFile(body999, 1000), kSkinExpansionFailed},
        {"announced 999, 1000 produced", skinFile(body1000, 999), kSkinExpansionFailed},
        {"announced above 64 MiB", skinFile(good, kSkinMaxExpandedBytes + 1), kSkinExpansionFailed},
        {"corrupt body", corrupt, kSkinExpansionFailed},
        {"187-byte body", skinFile(Bytes(good.begin(), good.begin() + 187)), kSkinShortHeader},
        {"bad signature", skinFile(BodyBuilder().header(1, 18, 0, "GLOSSVANE_SKIN_FILX").i32(0).i32(0).bytes),
         kSkinBadSignature},
        {"major 0", skinFile(emptyBody(0, 18)), kSkinBadSignature},
        {"major 2", skinFile(emptyBody(2, 18)), kSkinBadSignature},
        {"minor 19", skinFile(emptyBody(1, 19)), kSkinBadSignature},
        {"minor 18", skinFile(good), kSkinLoadOk},
        {"minor 0", skinFile(emptyBody(1, 0)), kSkinLoadOk},
    };
}

TEST(SkinLoad, CraftedFilesAnswerTheirErrorCodes)
{
    for (const Crafted &c : craftedFiles()) {
        SkinRepository repository;
        const bool loaded = loadBytes(repository, c.file);
        EXPECT_EQ(loaded, c.error == kSkinLoadOk) << c.name;
        EXPECT_EQ(repository.errorCode(), c.error) << c.name;
        EXPECT_TRUE(repository.objects().empty()) << c.name;
        const SkinVersion v = skinFileVersion();
        EXPECT_EQ(v.major, 1) << c.name;
        EXPECT_EQ(v.minor, 18) << c.name;
    }
}

TEST(SkinLoad, AFileThatCannotBeReadIsError4)
{
    SkinRepository repository;
    EXPECT_FALSE(repository.loadFromFile("no/such/skin.gvf"));
    EXPECT_EQ(repository.errorCode(), kSkinFileUnreadable);
    EXPECT_FALSE(repository.loadFromFile(nullptr));
}

// A Button record in the form of minor 7: no rectangle or control id in the base record,
// the text style's own rectangle (read and discarded) and its style value, nothing later.
Bytes minor7Button(uint8_t minor)
{
    BodyBuilder b;
    b.header(1, minor, 1).i32(kSkinButton);
    b.text("Old", kSkinNameBytes).u32(0x00010203).u32(0x00040506).u32(0x00070809).text("", kSkinNameBytes).i32(5);
    b.i32(0);                                  // no children
    b.zeros(64).zeros(88);                     // font, nine-grid
    b.rect(7, 7, 77, 77);                      // the discarded rectangle
    b.i32(42);                                 // style value
    for (int i = 0; i < kButtonLookCount; ++i) {
        b.zeros(120);
    }
    b.text("", kSkinShortTextBytes).i32(0x1111).i32(0x2222);
    b.i32(0).i32(0);
    return b.bytes;
}

TEST(SkinLoad, AMinor7FileHasNoRectanglesNorControlIds)
{
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(minor7Button(7))));
    auto *button = dynamic_cast<ButtonDefinition *>(repository.findObject("Old"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->thirdColor, 0x00070809u);
    EXPECT_EQ(button->value, 5);
    EXPECT_EQ(button->rect, makeSkinRect(0, 0, 60, 30));
    EXPECT_EQ(button->controlId, 0);
    EXPECT_EQ(button->style, 42);
    EXPECT_EQ(button->hasPosition, 0);
    EXPECT_EQ(button->unused1, 0x1111);
    EXPECT_EQ(button->unused2, 0x2222);
    EXPECT_EQ(repository.minorVersion(), 7);
}

TEST(SkinLoad, AMinor6FileReadsItsStyleValueAsZero)
{
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(minor7Button(6))));
    auto *button = dynamic_cast<ButtonDefinition *>(repository.findObject("Old"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->style, 0);
    EXPECT_EQ(button->unused2, 0x2222);
}

TEST(SkinLoad, MoreObjectsPromisedThanHeldLoadWhatIsThere)
{
    BodyBuilder b;
    b.header(1, 18, 1000000).i32(kSkinVoice).base("Only");
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    EXPECT_EQ(repository.objects().size(), 1u);
    ASSERT_NE(repository.findObject("Only"), nullptr);
    EXPECT_EQ(repository.findObject("Only")->controlId, 0);
}

TEST(SkinLoad, ACutRecordKeepsTheDefaultsOfWhatIsMissing)
{
    BodyBuilder b;
    b.header(1, 18, 1).i32(kSkinApplication).base("Application");
    b.text("tool", kSkinNameBytes).text("desc", kSkinNameBytes).u32(0x12);  // cut inside the author
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    auto *app = dynamic_cast<ApplicationDefinition *>(repository.findObject("Application"));
    ASSERT_NE(app, nullptr);
    EXPECT_STREQ(app->toolName, "tool");
    EXPECT_STREQ(app->author, "");
    EXPECT_EQ(app->regions, 1);
}

TEST(SkinLoad, HostileCountsAndLengthsStopAtTheEnd)
{
    BodyBuilder b;
    b.header(1, 18, 2).i32(kSkinVoice).base("Many", 0, 0x7FFFFFFF).i32(kSkinVoice).base("Child");
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    ASSERT_NE(repository.findObject("Child"), nullptr);

    BodyBuilder image;
    image.header(1, 18, 0).i32(1).i32(kSkinImage).base("pic").u32(0xFFFFFFF0u).i32(1).zeros(10);
    SkinRepository withImage;
    ASSERT_TRUE(loadBytes(withImage, skinFile(image.bytes)));
    ASSERT_EQ(withImage.images().size(), 1u);
    EXPECT_EQ(withImage.images().begin()->second->data.size(), 10u);
    EXPECT_EQ(withImage.findImage("pic"), nullptr);
}

TEST(SkinLoad, NamesWithoutTerminatorAreCut)
{
    BodyBuilder b;
    b.header(1, 18, 1).i32(kSkinVoice);
    const size_t at = b.bytes.size();
    b.base("x");
    std::memset(b.bytes.data() + at, 'N', kSkinNameBytes);
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    ASSERT_EQ(repository.objects().size(), 1u);
    EXPECT_EQ(std::string(repository.objects().begin()->second->name()), std::string(50, 'N'));
}

int depthOf(const SkinObject &o)
{
    int deepest = 0;
    for (const auto &child : o.children()) {
        deepest = std::max(deepest, depthOf(*child.second));
    }
    return deepest + 1;
}

TEST(SkinLoad, ChildrenNestAtMost32Deep)
{
    BodyBuilder b;
    b.header(1, 18, 2).i32(kSkinVoice);
    const int levels = 200;
    for (int i = 0; i < levels; ++i) {
        b.base(("level" + std::to_string(i)).c_str(), 0, i + 1 < levels ? 1 : 0);
        if (i + 1 < levels) {
            b.i32(kSkinVoice);
        }
    }
    b.i32(kSkinVoice).base("After");
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    const SkinObject *top = repository.findObject("level0");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(depthOf(*top), kSkinMaxNesting);
    EXPECT_EQ(repository.findObject("After"), nullptr);
}

Bytes recordOf(SkinObject &object)
{
    MemoryStream out;
    object.write(out);
    return Bytes(out.data(), out.data() + out.size());
}

TEST(SkinLoad, ALaterTopLevelObjectReplacesAndTheColourTableIsRepointed)
{
    SysColorTableDefinition first;
    first.setName("Colors");
    first.colors[3] = 0x111111;
    ButtonDefinition replacement;
    replacement.setName("Colors");
    SysColorTableDefinition second;
    second.setName("Colors");
    second.colors[3] = 0x222222;

    BodyBuilder b;
    b.header(1, 18, 2);
    for (SkinObject *o : {static_cast<SkinObject *>(&first), static_cast<SkinObject *>(&replacement)}) {
        const Bytes r = recordOf(*o);
        b.bytes.insert(b.bytes.end(), r.begin(), r.end());
    }
    b.i32(0).i32(0);
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    EXPECT_EQ(repository.findObject("Colors")->type(), kSkinButton);
    EXPECT_EQ(repository.sysColorTable(), nullptr);

    BodyBuilder again;
    again.header(1, 18, 2);
    for (SkinObject *o : {static_cast<SkinObject *>(&first), static_cast<SkinObject *>(&second)}) {
        const Bytes r = recordOf(*o);
        again.bytes.insert(again.bytes.end(), r.begin(), r.end());
    }
    again.i32(0).i32(0);
    ASSERT_TRUE(loadBytes(repository, skinFile(again.bytes)));
    ASSERT_NE(repository.sysColorTable(), nullptr);
    EXPECT_EQ(repository.sysColorTable()->colorFor(3), 0x222222u);
    EXPECT_EQ(repository.sysColorTable()->colorFor(31), repository.sysColorTable()->colorFor(0));
    EXPECT_EQ(repository.sysColorTable()->colorFor(-1), repository.sysColorTable()->colorFor(0));
}

TEST(SkinStream, ReadsSeeksAndGrowsInWholeSteps)
{
    MemoryStream stream(10);
    const uint8_t data[25] = {1, 2, 3};
    EXPECT_EQ(stream.write(data, 3), 3u);
    EXPECT_EQ(stream.capacity(), 3u);  // the first write allocates exactly
    EXPECT_EQ(stream.write(data, 25), 25u);
    EXPECT_EQ(stream.capacity(), 33u);  // 3 + 10 x ((25 + 3 - 3) / 10 + 1)
    EXPECT_EQ(stream.size(), 28u);
    stream.seek(-5, kStreamFromEnd);
    EXPECT_EQ(stream.position(), 23u);
    stream.seek(100, kStreamFromCurrent);
    EXPECT_EQ(stream.position(), 28u);
    stream.seek(-100, kStreamFromStart);
    EXPECT_EQ(stream.position(), 0u);
    uint8_t out[40];
    std::memset(out, 0xEE, sizeof out);
    EXPECT_EQ(stream.read(out, 40), 28u);
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(out[28], 0xEE);  // past the end the destination keeps its bytes
    EXPECT_EQ(stream.read(out, 1), 0u);
}

}  // namespace
