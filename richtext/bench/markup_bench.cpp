// Scanning speed of rich-text markup, against a baseline pass over the same text that only
// finds each "<" and ">" (what any tokenizer must at least do). The text is a tooltip-sized
// sample repeated: styled runs, links, line breaks and a table with nested cells.
#include <benchmark/benchmark.h>

#include <cwchar>
#include <string>

#include "css_scanner.h"
#include "markup_scanner.h"

namespace {

const std::wstring kSample =
    L"<h1>Title</h1><br>Some <b>bold</b> and <font color=#c00000 face=Arial size=3>red</font> text,\t"
    L"<a href=\"http://example.org/\">a link</a>.<br><table border=1 cellpadding=2><tr><td colspan=2>head</td></tr>"
    L"<tr><td>house</td><td><table><tr><td>maison</td></tr></table></td></tr></table><hr width=50%>\n";

std::wstring text(int copies) {
    std::wstring t;
    for (int i = 0; i < copies; ++i) t += kSample;
    return t;
}

void BM_BaselineFindBrackets(benchmark::State& state) {
    const std::wstring t = text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        size_t n = 0;
        for (size_t p = t.find(L'<'); p != std::wstring::npos; p = t.find(L'<', p + 1)) {
            p = t.find(L'>', p);
            if (p == std::wstring::npos) break;
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * t.size() * sizeof(wchar_t));
}

void BM_TokenizeAndParseTags(benchmark::State& state) {
    const std::wstring t = text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        richtext::MarkupTokenizer tokens(t, true);
        richtext::MarkupToken token;
        size_t attributes = 0;
        while (tokens.next(token))
            if (token.hasTag) attributes += richtext::parseTag(token.tag).attributes.size();
        benchmark::DoNotOptimize(attributes);
    }
    state.SetBytesProcessed(state.iterations() * t.size() * sizeof(wchar_t));
}

void BM_FindAndScanTables(benchmark::State& state) {
    const std::wstring t = text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        size_t cells = 0;
        for (size_t p = richtext::findTable(t, 0, true); p != std::wstring::npos; p = richtext::findTable(t, p, true)) {
            const richtext::TableSource table = richtext::scanTable(t, p, true);
            for (const auto& row : table.rows) cells += row.cells.size();
            p = table.end;
        }
        benchmark::DoNotOptimize(cells);
    }
    state.SetBytesProcessed(state.iterations() * t.size() * sizeof(wchar_t));
}

void BM_SplitDefaultSheet(benchmark::State& state) {
    const std::wstring sheet =
        L"body {font-size: 10pt; color:black; font-family:Verdana}\r\nh1 {font-size: 14pt; color:black; font-weight:bold}\r\n"
        L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\na:hover {text-decoration:underline; color:blue}\r\n";
    for (auto _ : state) {
        size_t n = 0;
        for (const richtext::CssRule& r : richtext::splitStyleSheet(sheet)) n += richtext::splitDeclarations(r.declarations).size();
        benchmark::DoNotOptimize(n);
    }
}

BENCHMARK(BM_BaselineFindBrackets)->Arg(1)->Arg(100);
BENCHMARK(BM_TokenizeAndParseTags)->Arg(1)->Arg(100);
BENCHMARK(BM_FindAndScanTables)->Arg(1)->Arg(100);
BENCHMARK(BM_SplitDefaultSheet);

}  // namespace

BENCHMARK_MAIN();
