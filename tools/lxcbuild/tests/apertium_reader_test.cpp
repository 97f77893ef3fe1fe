// The apertium reader's parsing of lt-paradigm lines, and the grouping of verbs into
// models: a stem-changing verb lands on the regular endings with its rule, an irregular
// one on a model of its own, and every model gives back the forms it was made from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apertium.h"
#include "romancemodels.h"

TEST(ApertiumReader, ParsesParadigmLines)
{
    struct Case {
        const char *line;
        bool ok;
        const char *lemma, *tags, *form;
    } cases[] = {
        {"hablar<vblex><pri><p1><sg>:hablo", true, "hablar", "vblex pri p1 sg", "hablo"},
        {"acercarse<vblex><pron><inf>:acercar", true, "acercarse", "vblex pron inf", "acercar"},
        {"pôr<vblex><ifi><p3><sg>:pôs", true, "pôr", "vblex ifi p3 sg", "pôs"},
        {"a\\:b<n>:c\\<d", true, "a:b", "n", "c<d"},        // escapes undone
        {"hablar:hablo", false, "", "", ""},                 // no tags
        {"hablar<vblex>", false, "", "", ""},                // no form
        {"hablar<vblex>:", false, "", "", ""},
        {"<vblex>:x", false, "", "", ""},                    // no lemma
        {"hablar<>:x", false, "", "", ""},
        {"hablar<vblex>x:y", false, "", "", ""},             // text between tags
        {"hablar<vblex", false, "", "", ""},
    };
    for (const Case &c : cases) {
        ParadigmEntry e;
        ASSERT_EQ(parseParadigmLine(c.line, e), c.ok) << c.line;
        if (!c.ok)
            continue;
        std::string tags;
        for (const std::string &t : e.tags)
            tags += (tags.empty() ? "" : " ") + t;
        EXPECT_EQ(e.lemma, c.lemma) << c.line;
        EXPECT_EQ(tags, c.tags) << c.line;
        EXPECT_EQ(e.form, c.form) << c.line;
    }
    ParadigmEntry e;
    ASSERT_TRUE(parseParadigmLine("pensar<vblex><pri><p3><sg>:piensa", e));
    EXPECT_TRUE(e.hasTags({"pri", "sg"}));
    EXPECT_FALSE(e.hasTags({"pri", "pl"}));
}

namespace {

ModelVerb verb(const char *infinitive, const FormTable &forms)
{
    ModelVerb v;
    v.infinitive = infinitive;
    v.forms = forms;
    return v;
}

FormTable present(const char *a, const char *b, const char *c, const char *d, const char *e, const char *f)
{
    FormTable t;
    const char *forms[] = {a, b, c, d, e, f};
    for (uint32_t p = 0; p < 6; ++p)
        t[std::make_pair(80u, 37u + p)] = {forms[p]};
    return t;
}

} // namespace

TEST(RomanceModels, StemChangesTakeTheRegularEndingsWithARule)
{
    std::vector<ModelVerb> verbs = {
        verb("hablar", present("hablo", "hablas", "habla", "hablamos", "habláis", "hablan")),
        verb("cantar", present("canto", "cantas", "canta", "cantamos", "cantáis", "cantan")),
        verb("pensar", present("pienso", "piensas", "piensa", "pensamos", "pensáis", "piensan")),
        verb("contar", present("cuento", "cuentas", "cuenta", "contamos", "contáis", "cuentan")),
        verb("estar", present("estoy", "estás", "está", "estamos", "estáis", "están")),
    };
    ModelVerb haber = verb("haber", present("he", "has", "ha", "hemos", "habéis", "han"));
    haber.auxiliary = true;
    verbs.push_back(haber);
    std::vector<InducedModel> models;
    std::vector<size_t> modelOf;
    induceModels(LXSpanish, verbs, models, modelOf);
    ASSERT_EQ(modelOf.size(), verbs.size());
    // hablar and cantar share one model; pensar (rule 1) and contar (rule 3) the same
    // endings and cut; estar has endings of its own; haber's stem is empty.
    EXPECT_EQ(modelOf[0], modelOf[1]);
    const InducedModel &pensar = models[modelOf[2]], &contar = models[modelOf[3]];
    EXPECT_EQ(pensar.ending, "ar");
    EXPECT_EQ(pensar.rules, std::vector<int>{1});
    EXPECT_EQ(contar.rules, std::vector<int>{3});
    EXPECT_EQ(pensar.endings, models[modelOf[0]].endings);
    EXPECT_TRUE(models[modelOf[0]].rules.empty());
    EXPECT_EQ(models[modelOf[5]].ending, "haber");
    EXPECT_EQ(models.size(), 5u);
    for (size_t i = 0; i < verbs.size(); ++i)
        EXPECT_EQ(formsOf(LXSpanish, models[modelOf[i]], verbs[i].infinitive), verbs[i].forms) << verbs[i].infinitive;
}
