// Finding skin objects: by name (top level, then children), by type code, by control id
// inside a container, and properties by name without regard to case.
#include <gtest/gtest.h>

#include "skin_definitions.h"
#include "skin_test_support.h"

namespace {

template <typename T>
std::unique_ptr<SkinObject> make(const char *name, int32_t id = 0, SkinColor bg = 0)
{
    auto o = std::make_unique<T>();
    o->setName(name);
    o->controlId = id;
    o->bgColor = bg;
    return o;
}

std::unique_ptr<SkinObject> withChildren(std::unique_ptr<SkinObject> parent, std::vector<std::unique_ptr<SkinObject>> kids)
{
    for (auto &k : kids) {
        parent->addChild(std::move(k));
    }
    return parent;
}

template <typename... T>
std::vector<std::unique_ptr<SkinObject>> list(T... items)
{
    std::vector<std::unique_ptr<SkinObject>> v;
    (v.push_back(std::move(items)), ...);
    return v;
}

// A skin file holding these top-level objects in this order (repeated names included).
Bytes fileOf(const std::vector<std::unique_ptr<SkinObject>> &objects)
{
    BodyBuilder b;
    b.header(1, 18, static_cast<int32_t>(objects.size()));
    for (const auto &o : objects) {
        MemoryStream out;
        o->write(out);
        b.bytes.insert(b.bytes.end(), out.data(), out.data() + out.size());
    }
    b.i32(0).i32(0);
    return skinFile(b.bytes);
}

TEST(SkinLookup, ByName)
{
    auto objects = list(make<ButtonDefinition>("Twin", 0, 1),
                        withChildren(make<TabDefinition>("A"),
                                     list(withChildren(make<StaticDefinition>("Deep"), list(make<StaticDefinition>("X", 0, 10))))),
                        withChildren(make<TabDefinition>("B"), list(make<StaticDefinition>("X", 0, 20),
                                                                    make<StaticDefinition>("Shared", 0, 30))),
                        make<StaticDefinition>("Shared", 0, 40), make<ButtonDefinition>("Twin", 0, 2));
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, fileOf(objects)));
    EXPECT_EQ(repository.findObject("Twin")->bgColor, 2u);    // the later top-level object
    EXPECT_EQ(repository.findObject("X")->bgColor, 10u);      // A's subtree comes first, depth first
    EXPECT_EQ(repository.findObject("Shared")->bgColor, 40u); // a top-level object wins over a child
    EXPECT_EQ(repository.findObject("B")->findChild("X")->bgColor, 20u);
    EXPECT_EQ(repository.findObject("Nobody"), nullptr);
    EXPECT_EQ(repository.findObject(nullptr), nullptr);
}

TEST(SkinLookup, ChildrenOfOneNameKeepTheFirst)
{
    // Two children named "Kid" under one parent, written by hand.
    ButtonDefinition first, second;
    first.setName("Kid");
    first.bgColor = 1;
    second.setName("Kid");
    second.bgColor = 2;
    BodyBuilder b;
    b.header(1, 18, 1).i32(kSkinVoice).base("Parent", 0, 2);
    for (SkinObject *kid : {static_cast<SkinObject *>(&first), static_cast<SkinObject *>(&second)}) {
        MemoryStream out;
        kid->write(out);
        b.bytes.insert(b.bytes.end(), out.data(), out.data() + out.size());
    }
    b.i32(0).i32(0);
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, skinFile(b.bytes)));
    const SkinObject *parent = repository.findObject("Parent");
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->children().size(), 1u);
    EXPECT_EQ(parent->findChild("Kid")->bgColor, 1u);
}

TEST(SkinLookup, ByTypeCode)
{
    auto objects = list(make<ButtonDefinition>("Beta"), make<ButtonDefinition>("Alpha"), make<ButtonDefinition>("Button"),
                        make<ToolBarDefinition>("ToolBar"), make<StaticDefinition>("ScrollBar"),
                        make<ScrollBarDefinition>("Zed"));
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, fileOf(objects)));
    EXPECT_STREQ(repository.findObjectByType(kSkinButton)->name(), "Button");
    EXPECT_STREQ(repository.findObjectByType(kSkinControlBar)->name(), "ToolBar");
    // An object named by a type name but of another type is not that type's object.
    EXPECT_STREQ(repository.findObjectByType(kSkinScrollBar)->name(), "Zed");
    EXPECT_EQ(repository.findObjectByType(kSkinTab), nullptr);

    auto without = list(make<ButtonDefinition>("Beta"), make<ButtonDefinition>("Alpha"));
    ASSERT_TRUE(loadBytes(repository, fileOf(without)));
    EXPECT_STREQ(repository.findObjectByType(kSkinButton)->name(), "Alpha");  // first in name order
}

TEST(SkinLookup, ByControlIdInsideAContainer)
{
    auto objects = list(withChildren(make<UnnamedFrameDefinition>("Dialog"),
                                     list(make<RadioDefinition>("Left", 1006), make<RadioDefinition>("Right", 1008),
                                          make<GroupBoxDefinition>("Group", 1008))));
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, fileOf(objects)));
    const SkinObject *dialog = repository.findObject("Dialog");
    EXPECT_STREQ(dialog->findChildByTypeAndId(kSkinRadio, 1008)->name(), "Right");
    EXPECT_STREQ(dialog->findChildByTypeAndId(kSkinGroupBox, 1008)->name(), "Group");
    EXPECT_EQ(dialog->findChildByTypeAndId(kSkinRadio, 1007), nullptr);
}

TEST(SkinLookup, PropertiesInAnyLetterCase)
{
    auto set = std::make_unique<PropertySetDefinition>();
    set->setName("Splitter");
    const SkinColor colours[3] = {0x00112233, 0x00445566, 0x00778899};
    const char *names[3] = {"BGColor", "Highlight", "Shadow"};
    for (int i = 0; i < 3; ++i) {
        SkinProperty p;
        p.kind = kSkinPropertyColor;
        copySkinText(p.name, sizeof p.name, names[i]);
        p.data.assign(reinterpret_cast<const uint8_t *>(&colours[i]), reinterpret_cast<const uint8_t *>(&colours[i]) + 4);
        set->properties.push_back(p);
    }
    SkinProperty empty;
    empty.kind = kSkinPropertyColor;
    copySkinText(empty.name, sizeof empty.name, "Nothing");
    set->properties.push_back(empty);
    SkinRepository repository;
    ASSERT_TRUE(loadBytes(repository, fileOf(list(std::move(set)))));
    const SkinObject *splitter = repository.findObject("Splitter");
    ASSERT_NE(splitter, nullptr);

    struct Case {
        const char *name;
        int32_t kind;
        uint32_t size;
        bool found;
        SkinColor colour;
    } cases[] = {
        {"bgcolor", kSkinPropertyColor, 4, true, colours[0]},   {"HIGHLIGHT", kSkinPropertyColor, 4, true, colours[1]},
        {"sHaDoW", kSkinPropertyColor, 4, true, colours[2]},    {"bgcolor", 3, 4, false, 0},
        {"bgcolor", kSkinPropertyColor, 2, false, 0},           {"nothing", kSkinPropertyColor, 4, true, 0},
        {"missing", kSkinPropertyColor, 4, false, 0},
    };
    for (const Case &c : cases) {
        SkinColor out = 0;
        uint32_t size = c.size;
        EXPECT_EQ(splitter->getProperty(c.name, c.kind, &out, &size), c.found) << c.name;
        EXPECT_EQ(out, c.colour) << c.name;
    }
    uint32_t size = 2;
    SkinColor out = 0;
    splitter->getProperty("Shadow", kSkinPropertyColor, &out, &size);
    EXPECT_EQ(size, 4u);  // the size needed
    EXPECT_EQ(repository.findObject("Splitter")->findProperty(nullptr), nullptr);
}

}  // namespace
