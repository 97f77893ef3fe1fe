// The JSON reader of the npm data packages: the shapes the packages use, escapes, and
// refusals of broken or hostile documents.
#include <gtest/gtest.h>

#include <string>

#include "json.h"

TEST(JsonReader, ReadsThePackagesShapes)
{
    JsonValue v;
    std::string error;
    ASSERT_TRUE(parseJson(R"( {"lesen": {"PA2": ["gelesen"], "PRÄ": {"S": {"2": "liest"}}, "hasPrefix": true},
                               "arise": [["arose", "arisen"]], "n": -1.5e2, "x": null, "s": "a\"\u00e4\ud83d\ude00\n"} )",
                          v, error))
        << error;
    ASSERT_EQ(v.members.size(), 5u);
    const JsonValue *lesen = v.find("lesen");
    ASSERT_TRUE(lesen);
    EXPECT_EQ(lesen->find("PA2")->strings(), std::vector<std::string>{"gelesen"});
    EXPECT_EQ(lesen->find("PR\xC3\x84")->find("S")->find("2")->text, "liest");
    EXPECT_TRUE(lesen->find("hasPrefix")->boolean);
    EXPECT_EQ(v.find("arise")->items[0].strings(), (std::vector<std::string>{"arose", "arisen"}));
    EXPECT_EQ(v.find("n")->number, -150);
    EXPECT_EQ(v.find("x")->kind, JsonValue::Null);
    EXPECT_EQ(v.find("s")->text, "a\"\xC3\xA4\xF0\x9F\x98\x80\n");
    EXPECT_EQ(v.find("missing"), nullptr);
}

TEST(JsonReader, RefusesBrokenDocuments)
{
    const char *broken[] = {"", "{", "{\"a\" 1}", "[1,]", "[1 2]", "\"open", "\"\\x\"", "\"\\u12\"", "\"\\u0x41\"", "\"\\u+041\"", "{} x",
                            "{\"a\":}", "tru", "\"\\ud800\\u0041\""};
    for (const char *d : broken) {
        JsonValue v;
        std::string error;
        EXPECT_FALSE(parseJson(d, v, error)) << d;
        EXPECT_NE(error.find("byte"), std::string::npos) << d;
    }
    // Nesting far deeper than any data package is refused, not followed down the stack.
    JsonValue v;
    std::string error;
    EXPECT_FALSE(parseJson(std::string(100000, '['), v, error));
    EXPECT_TRUE(parseJson(std::string(40, '[') + std::string(40, ']'), v, error)) << error;
}
