// The English conjugator: the whole regular inflection from the verb's inflection switches,
// the irregular forms from its entries, and the compound tenses written out with their
// auxiliaries ("will have walked", "am walking").
//
// Models: 2 takes the present and the past from its table ("be"), 3 only the present
// ("have"), 4 is a verb of one invariable form (the modals, "can", past "could").
#include "lxconjugator.h"
#include "lxformlist.h"

#include "lxenglishconjugator.h"

namespace {

lxstring text(const char *utf8)
{
    return lxstring(utf8, LXEncodingUtf8);
}

// The forms of an entry text, without repeats.
void addSplit(const lxstring &entry, LXList<lxstring> &list)
{
    LXList<lxstring> pieces;
    LXConjugator::splitForms(entry, pieces);
    for (LXList<lxstring>::iterator p = pieces.begin(); !p.isAtEnd(); ++p) {
        if (!(*p).empty())
            addUniqueForm(list, *p);
    }
}

// The infinitive changed by one switch: an added ending, the last letter doubled before
// the ending, or the last letter replaced by the ending.
enum SwitchKind { Append, DoubleLast, ReplaceLast };

struct Switch {
    uint32_t code;
    SwitchKind kind;
    const char *ending;
};

const Switch kPastSwitches[] = {
    {LXEnglishPastEd, Append, "ed"},           {LXEnglishPastDoubledEd, DoubleLast, "ed"},
    {LXEnglishPastD, Append, "d"},             {LXEnglishPastIed, ReplaceLast, "ied"},
    {LXEnglishPastId, ReplaceLast, "id"},      {LXEnglishPastKed, Append, "ked"},
    {LXEnglishPastApostropheEd, Append, "'ed"}, {0, Append, nullptr}};
const Switch kPresentSwitches[] = {
    {LXEnglishPresentS, Append, "s"},          {LXEnglishPresentIes, ReplaceLast, "ies"},
    {LXEnglishPresentEs, Append, "es"},        {LXEnglishPresentDoubledEs, DoubleLast, "es"},
    {LXEnglishPresentApostropheS, Append, "'s"}, {0, Append, nullptr}};
const Switch kIngSwitches[] = {
    {LXEnglishIng, Append, "ing"},             {LXEnglishDoubledIng, DoubleLast, "ing"},
    {LXEnglishReplacedIng, ReplaceLast, "ing"}, {LXEnglishKing, Append, "king"},
    {LXEnglishApostropheIng, Append, "'ing"},   {0, Append, nullptr}};

void addSwitchForms(const LXVerb &verb, const Switch *switches, LXList<lxstring> &list)
{
    const lxstring &infinitive = verb.infinitive;
    for (const Switch *s = switches; s->ending; ++s) {
        if (!hasEntry(verb.entries, s->code))
            continue;
        // A switch that works on the last letter needs one.
        if (s->kind != Append && infinitive.empty())
            continue;
        lxstring form = infinitive;
        if (s->kind == DoubleLast)
            form += infinitive[-1];
        else if (s->kind == ReplaceLast)
            form.chop();
        form += text(s->ending);
        addUniqueForm(list, form);
    }
}

void prefixed(const char *prefix, const LXList<lxstring> &forms, LXList<lxstring> &list)
{
    for (LXList<lxstring>::const_iterator f = forms.begin(); !f.isAtEnd(); ++f) {
        lxstring form = text(prefix);
        form += *f;
        addUniqueForm(list, form);
    }
}

} // namespace

void LXConjugator::englishPastForms(const LXVerb &verb, uint32_t person, LXModelCache &cache,
                                    LXList<lxstring> &past)
{
    past.clear();
    lxstring own;
    if (findEntry(verb.entries, 81, own)) {
        addSplit(own, past);
        return;
    }
    if (verb.model == LXEnglishModelBe && findTenseForms(cache, 81, person, own)) {
        addSplit(own, past);
        return;
    }
    addSwitchForms(verb, kPastSwitches, past);
}

bool LXConjugator::conjugateEnglish(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                                    LXList<lxstring> &list)
{
    list.clear();
    loadModel(verb.model, cache);
    lxstring own;
    if (verb.model == LXEnglishModelInvariable) {
        // The modals: tense 81 is the verb's own past ("could"), or the verb itself for
        // one without ("must"); a modal has no participles; every other tense is the
        // verb itself.
        if (tense == 81 && findEntry(verb.entries, 81, own))
            addSplit(own, list);
        else if (tense != 74 && tense != 75)
            list.push_back(verb.infinitive);
        return !list.empty();
    }

    switch (tense) {
    case 73:
    case 87:
        list.push_back(verb.infinitive);
        return true;
    case 78:
    case 85: {
        lxstring form = text(tense == 78 ? "will " : "would ");
        form += verb.infinitive;
        list.push_back(form);
        return true;
    }
    case 76:
        if (verb.model == LXEnglishModelBe || verb.model == LXEnglishModelHave) {
            if (findTenseForms(cache, 76, person, own))
                addSplit(own, list);
        } else if (person == 39) {
            addSwitchForms(verb, kPresentSwitches, list);
        } else {
            list.push_back(verb.infinitive);
        }
        return !list.empty();
    case 74: case 80: case 81: case 83: case 84: case 86: {
        LXList<lxstring> past;
        englishPastForms(verb, person, cache, past);
        if (tense == 81) {
            list = past;
            return !list.empty();
        }
        // One participle per past form unless the verb has its own; several past forms
        // with one participle give that participle once.
        LXList<lxstring> participles;
        if (findEntry(verb.entries, 74, own))
            addSplit(own, participles);
        else
            participles = past;
        const char *prefix = tense == 80 ? "will have " : tense == 83 ? (person == 39 ? "has " : "have ")
                             : tense == 84 ? "had " : tense == 86 ? "would have " : "";
        prefixed(prefix, participles, list);
        return !list.empty();
    }
    case 75: case 77: case 79: case 82: {
        LXList<lxstring> ing;
        addSwitchForms(verb, kIngSwitches, ing);
        if (findEntry(verb.entries, 75, own))
            addSplit(own, ing);
        const char *prefix = "";
        if (tense == 77)
            prefix = person == 37 ? "am " : person == 39 ? "is " : "are ";
        else if (tense == 79)
            prefix = "will be ";
        else if (tense == 82)
            prefix = person == 37 || person == 39 ? "was " : "were ";
        prefixed(prefix, ing, list);
        return !list.empty();
    }
    default:
        // A tense the English conjugation does not have gives no form.
        return false;
    }
}
