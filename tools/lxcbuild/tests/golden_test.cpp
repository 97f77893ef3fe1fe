// Compound tenses and display texts with pronouns, elision, reflexive pronouns and
// agreement marks, for about twenty verbs per language, against golden files that were
// checked by hand. WORDMERE_UPDATE_GOLDEN=1 rewrites the files instead of comparing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "format/lxcompressor.h"
#include "lxconjugator.h"
#include "testing/lxtest_samples.h"

namespace {

const char *const kFrench[] = {
    "aimer", "finir", "avoir", "être", "aller", "venir", "arriver", "monter", "habiter", "hacher",
    "haïr", "placer", "manger", "appeler", "acheter", "évanouir", "souvenir", "moquer", "falloir",
    "asseoir", "payer", "entr'aimer", nullptr};
const char *const kItalian[] = {
    "amare", "avere", "essere", "andare", "venire", "parlare", "finire", "mangiare", "cominciare",
    "giocare", "leggere", "mettere", "dire", "fare", "potere", "sapere", "uscire", "stare", "dare",
    "bere", "vivere", "inviare", nullptr};
const char *const kSpanish[] = {
    "hablar", "comer", "vivir", "haber", "ser", "estar", "ir", "tener", "pensar", "pedir", "dormir",
    "sentir", "jugar", "conocer", "buscar", "pagar", "amortiguar", "empezar", "coger", "acercarse", "oler",
    "enviar", "poder", nullptr};
const char *const kPortuguese[] = {
    "falar", "comer", "partir", "ter", "ser", "estar", "ir", "pôr", "dormir", "mentir", "subir", "agredir",
    "reagir", "fazer", "dizer", "ver", "vir", "saber", "poder", "ficar", "ler", "pedir", nullptr};

const char *const kEnglish[] = {
    "be", "have", "do", "go", "walk", "stop", "cry", "try", "make", "get", "dream", "can", "must",
    "will", "realize", "travel", "begin", "put", "see", "die", "pay", "fix", "agree", "ought", "quit", nullptr};

// Auxiliaries and modals, weak and strong verbs (with the stem-vowel rules), separable
// verbs (the particle after the verb, "Kommen wir an!"), sein-verbs and an -ern verb.
// The package has no reflexive verbs, so neither has the module.
const char *const kGerman[] = {
    "sein", "haben", "werden", "können", "müssen", "dürfen", "wollen", "mögen", "wissen", "gehen",
    "kommen", "ankommen", "mitnehmen", "aufstehen", "fahren", "lesen", "nehmen", "halten", "arbeiten", "machen",
    "wandern", "tun", "sterben", nullptr};

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

std::string render(LXConjugator &c, const char *const *verbs)
{
    std::ostringstream out;
    for (const char *const *v = verbs; *v; ++v) {
        LXVerb verb;
        out << "== " << *v << "\n";
        lxstring shown;
        if (c.findVerb(lxstring(*v, LXEncodingUtf8), verb))
            LXConjugator::displayForm(verb.infinitive, shown);
        if (shown.empty() || utf8(shown) != *v) {
            out << "(not found)\n";
            continue;
        }
        lxstring text;
        c.getVerbDetails(verb, text);
        out << utf8(text);
        LXList<int> tenses;
        c.getTenses(verb, tenses, true);
        for (LXList<int>::iterator t = tenses.begin(); !t.isAtEnd(); ++t) {
            lxstring name;
            c.getTenseName(*t, name);
            out << "- " << *t << " " << utf8(name) << ":";
            LXList<int> persons;
            c.getPersons(verb, *t, persons);
            const char *sep = " ";
            for (LXList<int>::iterator p = persons.begin(); !p.isAtEnd(); ++p) {
                c.getConjugationDisplayText(verb, ' ', *t, *p, text);
                out << sep << utf8(text);
                sep = "; ";
            }
            out << "\n";
        }
    }
    return out.str();
}

void checkGolden(const std::string &lang, const char *const *verbs)
{
    std::string module;
    if (!lx_findSample(LXSampleConjugation, lang + ".lxc", module))
        return;
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator c;
    c.setCompressor(compressor);
    ASSERT_TRUE(c.openModule(lxstring(module.c_str(), LXEncodingUtf8)));
    std::string got = render(c, verbs);
    c.closeModule();
    delete compressor;

    std::string golden = std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/tests/data/golden-" + lang + ".txt";
    const char *update = std::getenv("WORDMERE_UPDATE_GOLDEN");
    if (update && *update == '1') {
        std::ofstream(golden, std::ios::binary) << got;
        return;
    }
    std::ifstream in(golden, std::ios::binary);
    ASSERT_TRUE(in) << golden;
    std::stringstream expected;
    expected << in.rdbuf();
    // Line by line, so a failure names the verb and tense.
    std::istringstream a(expected.str()), b(got);
    std::string la, lb, verb;
    int line = 0;
    while (true) {
        bool ea = !std::getline(a, la), eb = !std::getline(b, lb);
        ++line;
        if (ea && eb)
            break;
        if (la.compare(0, 3, "== ") == 0)
            verb = la;
        ASSERT_EQ(lb, la) << golden << ":" << line << " (" << verb << ")";
    }
}

TEST(ConjugationGolden, French)
{
    checkGolden("fr", kFrench);
}

TEST(ConjugationGolden, Italian)
{
    checkGolden("it", kItalian);
}

} // namespace

TEST(ConjugationGolden, Spanish)
{
    checkGolden("es", kSpanish);
}

TEST(ConjugationGolden, Portuguese)
{
    checkGolden("pt", kPortuguese);
}

TEST(ConjugationGolden, English)
{
    checkGolden("en", kEnglish);
}

TEST(ConjugationGolden, German)
{
    checkGolden("de", kGerman);
}
