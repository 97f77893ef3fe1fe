// Markup scanning: tokens, tags with their attributes, and the structure of tables.
#include "markup_scanner.h"

#include <gtest/gtest.h>

#include <string>

using namespace richtext;

namespace {

// "text|tag;" for each token; a token without a tag ends in "|;" without a tag.
std::wstring tokensOf(const std::wstring& text, bool keep = true) {
    std::wstring out;
    MarkupTokenizer tokens(text, keep);
    MarkupToken t;
    while (tokens.next(t)) {
        out += t.text + L"|" + (t.hasTag ? t.tag : L"-") + L";";
    }
    return out;
}

TEST(Tokenizer, TextAndTags) {
    struct Case {
        const wchar_t* text;
        bool keep;
        const wchar_t* tokens;
    } cases[] = {
        {L"", true, L""},
        {L"plain", true, L"plain|-;"},
        {L"a<b>c</b>", true, L"a|b;c|/b;"},
        {L"<<b>", true, L"<b>|-;"},           // "<<" is a literal "<"
        {L"x <<< y", true, L"x <| y;"},       // "<<", then a "<" opening " y" (no ">": to the end)
        {L"end<", true, L"end<|-;"},          // a "<" at the very end is literal
        {L"a<b", true, L"a|b;"},              // no ">": the tag runs to the end
        {L"<>", true, L"|;"},
        {L"a\tb\nc\rd", true, L"a|\t;b|\n;c|\r;d|-;"},
        {L"a\tb\nc\rd", false, L"abcd|-;"},    // dropped when not kept
        {L"<br=2>x", true, L"|br=2;x|-;"},
    };
    for (const Case& c : cases) EXPECT_EQ(tokensOf(c.text, c.keep), c.tokens) << c.text;
}

TEST(Tokenizer, PositionsOfTags) {
    MarkupTokenizer tokens(L"ab<i>\tc", true);
    MarkupToken t;
    ASSERT_TRUE(tokens.next(t));
    EXPECT_EQ(t.tagBegin, 2u);
    EXPECT_EQ(t.end, 5u);
    ASSERT_TRUE(tokens.next(t));
    EXPECT_EQ(t.tagBegin, 5u);
    EXPECT_EQ(t.end, 6u);
    ASSERT_TRUE(tokens.next(t));
    EXPECT_FALSE(t.hasTag);
    EXPECT_FALSE(tokens.next(t));
}

TEST(TagParser, NamesValuesAndAttributes) {
    MarkupTag t = parseTag(L"FONT face=\"Courier New\"  Size = 3 color=Red bold");
    EXPECT_EQ(t.name, L"font");
    EXPECT_FALSE(t.closing);
    ASSERT_EQ(t.attributes.size(), 4u);
    EXPECT_EQ(*t.attribute(L"face"), L"Courier New");
    EXPECT_EQ(*t.attribute(L"size"), L"3");
    EXPECT_EQ(*t.attribute(L"color"), L"Red");  // values keep their case
    EXPECT_EQ(*t.attribute(L"bold"), L"");      // no "=": an empty value
    EXPECT_EQ(t.attribute(L"missing"), nullptr);

    t = parseTag(L"/B");
    EXPECT_TRUE(t.closing);
    EXPECT_EQ(t.name, L"b");

    t = parseTag(L"br=2");
    EXPECT_EQ(t.name, L"br");
    EXPECT_TRUE(t.hasOwnValue);
    EXPECT_EQ(t.ownValue, L"2");

    t = parseTag(L"br/");
    EXPECT_EQ(t.name, L"br");

    // The first attribute of a name counts; an unclosed quote empties the value and ends the tag.
    t = parseTag(L"a href=one href=two msg=\"never closed x=1");
    EXPECT_EQ(*t.attribute(L"href"), L"one");
    EXPECT_EQ(*t.attribute(L"msg"), L"");
    EXPECT_EQ(t.attribute(L"x"), nullptr);

    t = parseTag(L"");
    EXPECT_EQ(t.name, L"");
    EXPECT_TRUE(t.attributes.empty());
}

TEST(TableScanner, RowsCellsAndNesting) {
    const std::wstring text =
        L"before<table border=1><tr><td a=1>x<b>y</b></td><td>in<table><tr><td>deep</td></tr></table>out"
        L"<tr bgcolor=red><td>z</table>after";
    const size_t at = findTable(text, 0, true);
    ASSERT_EQ(at, 6u);
    const TableSource t = scanTable(text, at, true);
    EXPECT_EQ(t.tag, L"table border=1");
    EXPECT_EQ(text.substr(t.end), L"after");
    ASSERT_EQ(t.rows.size(), 2u);
    ASSERT_EQ(t.rows[0].cells.size(), 2u);
    auto content = [&](const TableCellSource& c) { return text.substr(c.begin, c.end - c.begin); };
    EXPECT_EQ(t.rows[0].cells[0].tag, L"td a=1");
    EXPECT_EQ(content(t.rows[0].cells[0]), L"x<b>y</b>");
    // The nested table stays in its cell, which ends at the next row.
    EXPECT_EQ(content(t.rows[0].cells[1]), L"in<table><tr><td>deep</td></tr></table>out");
    EXPECT_EQ(t.rows[1].tag, L"tr bgcolor=red");
    ASSERT_EQ(t.rows[1].cells.size(), 1u);
    EXPECT_EQ(content(t.rows[1].cells[0]), L"z");
}

TEST(TableScanner, MalformedTables) {
    // A cell outside any row opens one; an unterminated table runs to the end of the text.
    std::wstring text = L"<table><td>a<td>b";
    TableSource t = scanTable(text, 0, true);
    ASSERT_EQ(t.rows.size(), 1u);
    ASSERT_EQ(t.rows[0].cells.size(), 2u);
    EXPECT_EQ(text.substr(t.rows[0].cells[1].begin), L"b");
    EXPECT_EQ(t.end, text.size());

    // A literal "<<table>" is no table, an unclosed tag neither ends nor loops.
    EXPECT_EQ(findTable(L"a <<table> b", 0, true), std::wstring::npos);
    text = L"<table><tr><td>x</td></tr";
    t = scanTable(text, 0, true);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.end, text.size());

    // Text between cells and rows is not part of any cell; empty tables have no rows.
    text = L"<table>junk<tr>more<td>c</td>tail</tr></table>";
    t = scanTable(text, 0, true);
    ASSERT_EQ(t.rows.size(), 1u);
    ASSERT_EQ(t.rows[0].cells.size(), 1u);
    EXPECT_EQ(text.substr(t.rows[0].cells[0].begin, t.rows[0].cells[0].end - t.rows[0].cells[0].begin), L"c");
    EXPECT_TRUE(scanTable(L"<table></table>", 0, true).rows.empty());
}

}  // namespace
