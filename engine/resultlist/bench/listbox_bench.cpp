// The result list on the English-German sample modules: a browse search that lays out a
// screen of 40 lines (find + fillScreenBuffer, with the markup expansion of every term
// shown), and scrolling through 1,000 lines, line by line and page by page. The time
// per iteration is one screen for the search; "us_per_screen" gives the scrolling time
// per 40 lines.
//
// The modules are the build's english-german.lxd or its parts english-german-N.lxd;
// WORDMERE_SAMPLE_MODULES in the environment points elsewhere.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "resultlist/lxlistbox.h"
#include "search/lxdatamanager.h"
#include "testing/lxsample_paths.h"

namespace {

// Measures like a proportional font might, draws nothing.
class BenchRenderer : public LXListBox {
public:
    BenchRenderer(LXDataManager *dm, const LXLRectangle &rect) : LXListBox(dm, rect) { setLineHeight(16); }
    void getScrollBarInfo(int32_t &value, int32_t &min, int32_t &max, int32_t &page) override
    {
        value = m_value;
        min = 0;
        max = m_max;
        page = m_page;
    }
    void setStyle(uint32_t flags) override { m_style = flags; }
    uint32_t getStyle() override { return m_style; }
    void setColor(LXLColor color) override { m_color = color; }
    LXLColor getColor() override { return m_color; }
    void setScrollBarInfo(int32_t value, int32_t, int32_t max, int32_t page) override
    {
        m_value = value;
        m_max = max;
        m_page = page;
    }
    void eraseBackground() override {}
    void fillRect(const LXLRectangle &, LXLColor) override {}
    void frameRect(const LXLRectangle &, LXLColor) override {}
    int32_t getCharWidth(uint32_t cp) override
    {
        if (cp == 0)
            return 0;
        return 5 + static_cast<int32_t>(cp % 4) + ((m_style & 1) ? 1 : 0);
    }
    void drawString(const lxstring &text, int32_t, int32_t, int) override { m_drawn += text.length(); }

    uint64_t m_drawn = 0;

private:
    uint32_t m_style = 0;
    LXLColor m_color = 1;
    int32_t m_value = 0, m_max = 0, m_page = 0;
};

struct Fixture {
    std::unique_ptr<LXDataManager> dm{LXDataManager::create()};
    std::vector<lxstring> words;
    bool ok = false;

    Fixture()
    {
        const std::vector<std::string> paths = lx_sampleModulePaths("english-german");
        if (!dm || paths.empty())
            return;
        for (const std::string &path : paths) {
            if (dm->addDictionaryModule(lxstring(path.c_str(), LXEncodingUtf8)) != 0)
                return;
        }
        // Headwords spread over the English side, in a fixed random order.
        LXDMIterator it;
        dm->begin(LXEnglish, LXGerman, 10, it);
        uint32_t min = it.getMinPosition(), max = it.getMaxPosition();
        std::mt19937 rng(7);
        for (int i = 0; i < 200; ++i) {
            LXDMIterator p;
            dm->begin(LXEnglish, LXGerman, 10, p);
            p.move(rng() % 10000, 10000);
            if (!p.isAtEnd())
                words.push_back((*p).getHeadword());
        }
        ok = !words.empty() && max > min;
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

const LXLRectangle kScreen(0, 0, 480, 40 * 16);   // 40 lines

void BM_FindAndFillScreen(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german module: build the sample modules or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    BenchRenderer r(f.dm.get(), kScreen);
    r.setLanguages(LXEnglish, LXGerman, 10, false);
    r.setSearchType(LXListBox::Browse);
    size_t i = 0;
    uint64_t cells = 0;
    for (auto _ : state) {
        r.find(f.words[i++ % f.words.size()], LXEnglish);
        cells += r.getScreenBuffer().size();
        benchmark::DoNotOptimize(r.getTopVisibleChar());
    }
    state.counters["cells_per_screen"] = benchmark::Counter(static_cast<double>(cells),
                                                            benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindAndFillScreen)->Unit(benchmark::kMicrosecond);

void BM_FindFillAndDraw(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german module");
        return;
    }
    BenchRenderer r(f.dm.get(), kScreen);
    r.setLanguages(LXEnglish, LXGerman, 10, false);
    r.setSearchType(LXListBox::Browse);
    size_t i = 0;
    for (auto _ : state) {
        r.find(f.words[i++ % f.words.size()], LXEnglish);
        r.refresh();
    }
}
BENCHMARK(BM_FindFillAndDraw)->Unit(benchmark::kMicrosecond);

// 1,000 lines from a random word; step is the lines per scroll (1: line by line).
void BM_Scroll1000Lines(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german module");
        return;
    }
    const int32_t step = static_cast<int32_t>(state.range(0));
    BenchRenderer r(f.dm.get(), kScreen);
    r.setLanguages(LXEnglish, LXGerman, 10, false);
    r.setSearchType(LXListBox::Browse);
    size_t i = 0;
    int64_t lines = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        r.find(f.words[i++ % f.words.size()], LXEnglish);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        for (int32_t n = 0; n < 1000; n += step) {
            if (!r.scrollScreenBuffer(16 * step))
                break;
            lines += step;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    // Microseconds per 40 scrolled lines.
    state.counters["us_per_screen"] = lines ? seconds * 1e6 / (static_cast<double>(lines) / 40.0) : 0.0;
}
BENCHMARK(BM_Scroll1000Lines)->Arg(1)->Arg(40)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
