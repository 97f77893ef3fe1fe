// The colour keywords, checked against ImageMagick's own colour table as an independent
// source of the standard values.
#include "colour_keywords.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

using namespace richtext;

namespace {

std::string narrow(const wchar_t* w) {
    std::string s;
    for (; *w; ++w) s += static_cast<char>(*w);
    return s;
}

TEST(ColourKeywords, OneHundredFortyNamesOnceEach) {
    ASSERT_EQ(kColourKeywordCount, 140u);
    std::set<std::string> names;
    for (size_t i = 0; i < kColourKeywordCount; ++i) names.insert(narrow(kColourKeywords[i].name));
    EXPECT_EQ(names.size(), kColourKeywordCount);
    // Only "lightgrey" is spelled with -ey; the other greys with -ay.
    for (const char* ay : {"gray", "darkgray", "dimgray", "slategray", "lightslategray", "darkslategray"}) {
        EXPECT_TRUE(names.count(ay)) << ay;
    }
    for (const std::string& n : names) {
        if (n.find("grey") != std::string::npos) {
            EXPECT_EQ(n, "lightgrey");
        }
    }
    EXPECT_FALSE(names.count("lightgray"));
    EXPECT_FALSE(names.count("grey"));
    // The twenty-one common names come first.
    EXPECT_EQ(narrow(kColourKeywords[0].name), "aqua");
    EXPECT_EQ(narrow(kColourKeywords[20].name), "yellow");
    EXPECT_EQ(narrow(kColourKeywords[21].name), "aliceblue");
    EXPECT_EQ(kColourKeywords[15].colorref(), 0x0000FFu);  // red as COLORREF 0x00BBGGRR
}

#ifndef _WIN32
// ImageMagick lists each colour name with its compliance; its SVG entries are the CSS
// keywords, and names it knows only from X11 carry the same values there.
std::map<std::string, std::string> imageMagickColours() {
    std::map<std::string, std::string> svg, other;
    FILE* p = popen("convert -list color 2>/dev/null", "r");
    if (!p) return {};
    char line[512];
    while (fgets(line, sizeof line, p)) {
        char name[128], value[128];
        if (sscanf(line, "%127s %127s", name, value) != 2 || std::string(value).rfind("srgb(", 0) != 0) continue;
        std::string lower;
        for (const char* c = name; *c; ++c) lower += static_cast<char>(tolower(*c));
        (std::string(line).find("SVG") != std::string::npos ? svg : other).emplace(lower, value);
    }
    pclose(p);
    for (auto& [name, value] : other) svg.emplace(name, value);
    return svg;
}

TEST(ColourKeywords, ValuesAgreeWithImageMagick) {
    const std::map<std::string, std::string> oracle = imageMagickColours();
    ASSERT_GT(oracle.size(), 140u) << "ImageMagick's convert is needed (installed by scripts/setup.sh)";
    for (size_t i = 0; i < kColourKeywordCount; ++i) {
        const ColourKeyword& k = kColourKeywords[i];
        const std::string name = narrow(k.name);
        char ours[64];
        snprintf(ours, sizeof ours, "srgb(%d,%d,%d)", k.red, k.green, k.blue);
        const auto it = oracle.find(name);
        ASSERT_NE(it, oracle.end()) << name;
        if (name == "gray") {
            // ImageMagick's SVG gray is (126,126,126); the CSS keyword is half intensity.
            EXPECT_EQ(std::string(ours), "srgb(128,128,128)");
            continue;
        }
        EXPECT_EQ(it->second, ours) << name;
    }
}
#endif

}  // namespace
