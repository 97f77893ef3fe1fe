#include <gtest/gtest.h>

#include <zlib.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "freedict.h"
#include "testing/lxtest_files.h"

namespace {

std::string freedictBase(const char *pair)
{
    return std::string(WORDMERE_FREEDICT_DIR) + "/freedict-" + pair;
}

std::string gzipOf(const std::string &text)
{
    z_stream z;
    std::memset(&z, 0, sizeof z);
    EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(text.size() + 128, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef *>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(FreeDictNumber, DecodesDictdBase64)
{
    struct { const char *text; bool ok; uint64_t value; } cases[] = {
        {"A", true, 0},          {"B", true, 1},         {"/", true, 63},
        {"BA", true, 64},        {"LOB", true, 11 * 4096 + 14 * 64 + 1},
        {"B//////", true, (uint64_t(1) << 36) * 2 - 1},
        {"", false, 0},          {"A=", false, 0},       {"A B", false, 0},
        {"AAAAAAAAA", false, 0}, // nine digits: more than any offset can need
    };
    for (auto &c : cases) {
        uint64_t v = 12345;
        EXPECT_EQ(freedictDecodeNumber(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(FreeDictInflate, ReadsGzipAndRefusesDamagedData)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line " + std::to_string(i) + "\n";
    std::string gz = gzipOf(text), out, why;
    ASSERT_TRUE(freedictInflate(gz, out, why)) << why;
    EXPECT_EQ(out, text);

    // Two members, as concatenated gzip files are, read as one text.
    ASSERT_TRUE(freedictInflate(gz + gzipOf("tail\n"), out, why)) << why;
    EXPECT_EQ(out, text + "tail\n");

    EXPECT_FALSE(freedictInflate(gz.substr(0, gz.size() / 2), out, why));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(freedictInflate("plain text, not gzip at all", out, why));
    std::string bad = gz;
    bad[gz.size() / 2] ^= 0x55;
    EXPECT_FALSE(freedictInflate(bad, out, why));
}

TEST(FreeDictArticle, ParsesTheShapesFreeDictUses)
{
    FreeDictArticle a;
    // English-German: one sense line with labels and a gender, then notes.
    ASSERT_TRUE(freedictParseArticle(
        "Finance Act /fˈaɪnans ˈakt/ (FA /fˈɑː/)\n [Br.] Steuergesetz <neut> [jur.]\n"
        "   Synonyms: {tax law}, {fiscal law}\n\n see: {tax laws}, {fiscal laws}\n\n"
        "         Note: category\n",
        a));
    EXPECT_EQ(a.headword, "Finance Act");
    ASSERT_EQ(a.pronunciations.size(), 2u);
    EXPECT_EQ(a.pronunciations[0], "fˈaɪnans ˈakt");
    EXPECT_EQ(a.pronunciations[1], "fˈɑː");
    ASSERT_EQ(a.alternatives.size(), 1u);
    EXPECT_EQ(a.alternatives[0], "FA");
    ASSERT_EQ(a.senses.size(), 1u);
    EXPECT_EQ(a.senses[0].text, "Steuergesetz");
    EXPECT_EQ(a.senses[0].partOfSpeech, "neut");
    ASSERT_EQ(a.senses[0].labels.size(), 2u);
    EXPECT_EQ(a.senses[0].labels[0], "Br.");
    EXPECT_EQ(a.senses[0].labels[1], "jur.");
    ASSERT_EQ(a.notes.size(), 3u);
    EXPECT_EQ(a.notes[0].first, FreeDictSynonyms);
    EXPECT_EQ(a.notes[0].second, "tax law, fiscal law");
    EXPECT_EQ(a.notes[1].first, FreeDictSeeAlso);
    EXPECT_EQ(a.notes[1].second, "tax laws, fiscal laws");
    EXPECT_EQ(a.notes[2].first, FreeDictNote);
    EXPECT_EQ(a.notes[2].second, "category");

    // French-German: numbered senses, each with explanations; dictd's stray numbers dropped.
    ASSERT_TRUE(freedictParseArticle(
        "abandonner /a.bɑ̃.dɔ.ne/ <v>\n1. zugeben\nAccorder, concéder\n2. aufgeben 2.\n"
        "Cesser une activité\n 3.\nLaisser échapper\n3. zurücklassen, verlassen\n",
        a));
    EXPECT_EQ(a.headword, "abandonner");
    EXPECT_EQ(a.partOfSpeech, "v");
    ASSERT_EQ(a.senses.size(), 3u);
    EXPECT_EQ(a.senses[0].text, "zugeben");
    ASSERT_EQ(a.senses[0].glosses.size(), 1u);
    EXPECT_EQ(a.senses[0].glosses[0], "Accorder, concéder");
    EXPECT_EQ(a.senses[1].text, "aufgeben");
    ASSERT_EQ(a.senses[1].glosses.size(), 2u);
    EXPECT_EQ(a.senses[1].glosses[1], "Laisser échapper");
    EXPECT_EQ(a.senses[2].text, "zurücklassen, verlassen");

    // Translations with marks of their own keep them; one shared mark becomes the sense's.
    ASSERT_TRUE(freedictParseArticle(
        "tax legislation /tˈaks/\nSteuergesetzgebung <fem>, Steuergesetze <pl> [jur.]\n", a));
    ASSERT_EQ(a.senses.size(), 1u);
    EXPECT_EQ(a.senses[0].text, "Steuergesetzgebung <fem>, Steuergesetze <pl>");
    EXPECT_EQ(a.senses[0].partOfSpeech, "");
    ASSERT_TRUE(freedictParseArticle("Verfechter /fɛɾfˈɛçtɜ/ <masc, n, sg>\nstickler <n>\n", a));
    EXPECT_EQ(a.partOfSpeech, "masc, n, sg");
    EXPECT_EQ(a.senses[0].text, "stickler");
    EXPECT_EQ(a.senses[0].partOfSpeech, "n");

    // Two marks after the headword; an example whose translation is on the next line.
    ASSERT_TRUE(freedictParseArticle(
        "guillotine /ɡˈɪlətˌiːn/ <s> <vt>\n1. guilhotina\n2. guilhotinar\n"
        "      \"Il faut faire\"\n You have to\n",
        a));
    EXPECT_EQ(a.partOfSpeech, "s, vt");
    ASSERT_EQ(a.senses.size(), 2u);
    ASSERT_EQ(a.notes.size(), 1u);
    EXPECT_EQ(a.notes[0].first, FreeDictExample);
    EXPECT_EQ(a.notes[0].second, "\"Il faut faire\" - You have to");

    // A headword without annotations, one holding a slash, and text after a mark.
    ASSERT_TRUE(freedictParseArticle("abc book\nabécédaire\n", a));
    EXPECT_EQ(a.headword, "abc book");
    EXPECT_TRUE(a.pronunciations.empty());
    ASSERT_TRUE(freedictParseArticle("Ort/Gebäude /ɔʁt/ <n>\nlieu\n", a));
    EXPECT_EQ(a.headword, "Ort/Gebäude");
    ASSERT_TRUE(freedictParseArticle("dollar /d/\nDollar-Zeichen <neut>$\n", a));
    EXPECT_EQ(a.senses[0].text, "Dollar-Zeichen $");
    EXPECT_EQ(a.senses[0].partOfSpeech, "neut");

    EXPECT_FALSE(freedictParseArticle("", a));
    EXPECT_FALSE(freedictParseArticle("\n\n  \n", a));
}

TEST(FreeDictDatabase, ReportsFileAndLineOfBadInput)
{
    std::string base = tempPath("bad"), why;
    std::remove((base + ".index").c_str());
    std::remove((base + ".dict").c_str());
    std::remove((base + ".dict.dz").c_str());
    FreeDictDatabase db;
    EXPECT_FALSE(db.open(base, why));
    EXPECT_NE(why.find(base + ".index"), std::string::npos) << why;

    writeFile(base + ".index", "alpha\tA\tF\n");
    EXPECT_FALSE(db.open(base, why));
    EXPECT_NE(why.find(".dict.dz"), std::string::npos) << why;

    writeFile(base + ".dict", "alpha\nAlpha\nbeta\nBeta\n");
    writeFile(base + ".index", "alpha\tA\tM\nbeta\tM\tK\n");
    ASSERT_TRUE(db.open(base, why)) << why;
    ASSERT_EQ(db.lines().size(), 2u);
    EXPECT_EQ(db.article(db.lines()[1]), "beta\nBeta\n");

    struct { const char *index; const char *line; } bad[] = {
        {"alpha\tA\tM\nbeta\tM\n", ":2: "},            // a field missing
        {"alpha\tA\tM\nbeta\tM\tK\tx\n", ":2: "},      // one too many
        {"alpha\tA\tM\n\nbeta\tM*\tK\n", ":3: "},      // not base64
        {"alpha\tA\tM\nbeta\tM\tZ\n", ":2: "},         // length past the end of the data
        {"alpha\tA\tM\nbeta\tZZZZZZ\tB\n", ":2: "},    // offset past the end
    };
    for (auto &b : bad) {
        writeFile(base + ".index", b.index);
        EXPECT_FALSE(db.open(base, why)) << b.index;
        EXPECT_NE(why.find(base + ".index" + b.line), std::string::npos) << why;
        EXPECT_TRUE(db.lines().empty());
    }

    // A compressed data file that is cut short is refused, naming it.
    writeFile(base + ".dict.dz", gzipOf("alpha\nAlpha\nbeta\nBeta\n").substr(0, 20));
    writeFile(base + ".index", "alpha\tA\tM\n");
    EXPECT_FALSE(db.open(base, why));
    EXPECT_NE(why.find(base + ".dict.dz"), std::string::npos) << why;
}

// dictd's index form of a headword: lower case ASCII letters, digits and blanks, other
// ASCII marks dropped; other characters kept as they are.
std::string indexForm(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            // U+2010 HYPHEN is dropped like the ASCII one.
            if (s.compare(i, 3, "\xE2\x80\x90") == 0) {
                i += 2;
                continue;
            }
            out += s[i];
        } else if (c == ' ') {
            if (out.empty() || out.back() != ' ')
                out += ' ';
        } else if (std::isalnum(c)) {
            out += static_cast<char>(std::tolower(c));
        }
    }
    return out;
}

TEST(FreeDictDatabase, EveryIndexLineOfEnglishFrenchLeadsToItsArticle)
{
    FreeDictDatabase db;
    std::string why;
    ASSERT_TRUE(db.open(freedictBase("eng-fra"), why)) << why;
    // The package's own count of headwords (its 00-database-info says 8799).
    EXPECT_EQ(db.lines().size(), 8799u);
    size_t senses = 0;
    for (const FreeDictIndexLine &l : db.lines()) {
        std::string text = db.article(l);
        ASSERT_FALSE(text.empty()) << l.line;
        FreeDictArticle a;
        ASSERT_TRUE(freedictParseArticle(text, a)) << l.line;
        EXPECT_EQ(indexForm(a.headword), indexForm(l.headword)) << "line " << l.line << ": " << a.headword;
        EXPECT_FALSE(a.senses.empty()) << l.line;
        senses += a.senses.size();
    }
    EXPECT_GT(senses, db.lines().size());
}

} // namespace
