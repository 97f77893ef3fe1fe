#include "builder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iomanip>
#include <ostream>
#include <utility>

#include "base/lxutilities.h"
#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "model/lxtokenizer.h"
#include "verbmarks.h"

namespace {

lxstring u8(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

std::string lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

uint32_t featureOf(FreeDictNoteKind kind)
{
    switch (kind) {
    case FreeDictSynonyms: return LXFeatureSynonyms;
    case FreeDictAntonyms: return LXFeatureOpposites;
    case FreeDictSeeAlso: return LXFeatureSeeAlso;
    case FreeDictNote: return LXFeatureUsage;
    case FreeDictExample: return LXFeatureExample;
    }
    return LXFeatureUsage;
}

struct Source {
    std::string base;
    LXLanguage from = LXLanguageNone;
    LXLanguage to = LXLanguageNone;
    FreeDictDatabase db;
};

} // namespace

LXLanguage freedictLanguage(const std::string &code)
{
    static const struct { const char *code; LXLanguage language; } codes[] = {
        {"eng", LXEnglish}, {"fra", LXFrench},  {"spa", LXSpanish}, {"deu", LXGerman},
        {"ita", LXItalian}, {"por", LXPortuguese}, {"nor", LXNorwegian}, {"nob", LXNorwegian},
        {"lat", LXLatin},   {"epo", LXEsperanto}, {"rus", LXRussian}, {"nld", LXDutch},
    };
    for (auto &c : codes) {
        if (code == c.code)
            return c.language;
    }
    return LXLanguageNone;
}

bool freedictLanguages(const std::string &base, LXLanguage &from, LXLanguage &to)
{
    std::string name = base.substr(base.find_last_of("/\\") == std::string::npos ? 0 : base.find_last_of("/\\") + 1);
    // freedict-XXX-YYY
    size_t dash2 = name.rfind('-');
    size_t dash1 = dash2 == std::string::npos || dash2 == 0 ? std::string::npos : name.rfind('-', dash2 - 1);
    if (dash1 == std::string::npos)
        return false;
    from = freedictLanguage(name.substr(dash1 + 1, dash2 - dash1 - 1));
    to = freedictLanguage(name.substr(dash2 + 1));
    return from != LXLanguageNone && to != LXLanguageNone && from != to;
}

uint32_t freedictPartOfSpeechCode(const std::string &mark)
{
    if (mark.empty())
        return 1;
    std::string m = lower(mark.substr(0, mark.find(',')));
    while (!m.empty() && (m.back() == ' ' || m.back() == '.'))
        m.pop_back();
    static const struct { const char *mark; uint32_t code; } marks[] = {
        {"n", 2},      {"s", 2},        {"noun", 2},         {"masc", 2},         {"fem", 2},
        {"neut", 2},   {"pl", 2},       {"sg", 2},           {"pn", 2},           {"abbreviation", 2},
        {"adj", 3},    {"adjt", 3},     {"adjective", 3},    {"adv", 4},          {"ad", 4},
        {"adverb", 4}, {"pron", 5},     {"pronoun", 5},      {"v", 6},            {"vt", 6},
        {"vi", 6},     {"vi)", 6},      {"verb", 6},         {"prep", 7},         {"preposition", 7},
        {"postposition", 7},            {"conj", 9},         {"conjunction", 9},  {"int", 10},
        {"interj", 10}, {"interjection", 10},                {"num", 11},         {"numeral", 11},
        {"art", 12},   {"article", 12},
    };
    for (auto &e : marks) {
        if (m == e.mark)
            return e.code;
    }
    if (m.find("pronoun") != std::string::npos)
        return 5;
    return 13;   // known to the module, of no class the engine tells apart
}

void freedictTerm(const FreeDictArticle &a, LXLanguage from, LXLanguage to, const BuildOptions &o, LXTerm &term)
{
    term.clear();
    term.setLanguage(from);
    term.setTranslationLanguage(to);
    term.setHeadword(u8(a.headword));
    term.setPartOfSpeechName(u8(a.partOfSpeech));
    term.setPartOfSpeechCode(freedictPartOfSpeechCode(a.partOfSpeech));
    if (o.pronunciations) {
        for (const std::string &p : a.pronunciations)
            term.addFeature(LXFeaturePronunciation, u8(p));
    }
    for (const std::string &alt : a.alternatives)
        term.addFeature(LXFeatureAlternative, u8(alt));
    if (o.notes) {
        for (const auto &n : a.notes)
            term.addFeature(featureOf(n.first), u8(n.second));
    }
    for (const FreeDictSense &s : a.senses) {
        LXDefinition d;
        d.setText(u8(s.text));
        d.setPartOfSpeechName(u8(s.partOfSpeech));
        d.setPartOfSpeechCode(freedictPartOfSpeechCode(s.partOfSpeech));
        if (o.explanations) {
            for (const std::string &l : s.labels)
                d.addFeature(LXFeatureLabel, u8(l));
            for (const std::string &g : s.glosses)
                d.addFeature(LXFeatureExplanation, u8(g));
        }
        term.addDefinition(d);
    }
}

bool buildModule(const BuildOptions &options, LXCompressor *compressor, LXTokenizer *tokenizer, BuildReport &report,
                 std::string &error)
{
    report = BuildReport();
    if (options.sources.empty() || options.sources.size() > 2) {
        error = "one or two FreeDict databases are needed";
        return false;
    }
    if (options.output.empty()) {
        error = "no output file";
        return false;
    }
    std::vector<Source> sources(options.sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        Source &s = sources[i];
        s.base = options.sources[i];
        if (!freedictLanguages(s.base, s.from, s.to)) {
            error = s.base + ": not a FreeDict database name of two known languages (freedict-eng-fra)";
            return false;
        }
    }
    LXLanguage l1 = sources[0].from, l2 = sources[0].to;
    LXUtilities::sortLanguages(l1, l2);
    if (sources.size() == 2 && (sources[1].from != sources[0].to || sources[1].to != sources[0].from)) {
        error = sources[1].base + ": not the opposite direction of " + sources[0].base;
        return false;
    }
    report.language1 = l1;
    report.language2 = l2;

    LXDWriter writer(compressor, tokenizer, l1, l2);
    writer.setPriority(options.priority);
    writer.setProduct(options.product);
    writer.setModuleVersion(options.moduleVersion);
    writer.setSparseInterval(options.sparseInterval);

    VerbLists verbs;
    if (!readVerbLists(options.verbModules, compressor, verbs, error))
        return false;

    for (Source &s : sources) {
        if (!s.db.open(s.base, error))
            return false;
        int dir = s.from == l1 ? 0 : 1;
        const std::vector<FreeDictIndexLine> &lines = s.db.lines();
        report.articles[dir] += static_cast<uint32_t>(lines.size());

        // Articles of one headword and part of speech become one term: find them by
        // sorting (headword, mark) pairs, then parse each group again and merge it.
        std::vector<std::pair<std::string, uint32_t>> order;
        order.reserve(lines.size());
        for (uint32_t i = 0; i < lines.size(); ++i) {
            FreeDictArticle a;
            if (!freedictParseArticle(s.db.article(lines[i]), a)) {
                error = s.db.indexPath() + ":" + std::to_string(lines[i].line) + ": the article at " +
                        std::to_string(lines[i].offset) + " in " + s.db.dataPath() + " has no headword";
                return false;
            }
            markInferredVerb(a, s.from, verbs);
            order.emplace_back(a.headword + '\x01' + a.partOfSpeech, i);
        }
        std::stable_sort(order.begin(), order.end(),
                         [](const std::pair<std::string, uint32_t> &x, const std::pair<std::string, uint32_t> &y) {
                             return x.first < y.first;
                         });
        for (size_t i = 0; i < order.size();) {
            size_t j = i;
            LXTerm term;
            while (j < order.size() && order[j].first == order[i].first) {
                FreeDictArticle a;
                freedictParseArticle(s.db.article(lines[order[j].second]), a);
                markInferredVerb(a, s.from, verbs);
                LXTerm one;
                freedictTerm(a, s.from, s.to, options, one);
                if (j == i)
                    term = one;
                else
                    term.merge(one);
                ++j;
            }
            std::string why;
            if (!writer.addTerm(term, why)) {
                error = s.db.indexPath() + ":" + std::to_string(lines[order[i].second].line) + ": " + why;
                return false;
            }
            ++report.terms[dir];
            i = j;
        }
    }
    if (!writeModules(writer, options.output, report, error))
        return false;
    report.partsOfSpeech = writer.getPartOfSpeechCount();
    return true;
}

std::string modulePartPath(const std::string &output, uint32_t part)
{
    const std::string extension = ".lxd";
    const bool dotted = output.size() > extension.size() &&
                        output.compare(output.size() - extension.size(), extension.size(), extension) == 0;
    const std::string stem = dotted ? output.substr(0, output.size() - extension.size()) : output;
    return stem + "-" + std::to_string(part) + extension;
}

namespace {

// Removes the module files of an earlier build that this one does not write: the whole
// module when it is split, parts from the given number on.
void removeOtherModules(const std::string &output, bool keepWhole, uint32_t firstStalePart)
{
    if (!keepWhole)
        std::remove(output.c_str());
    for (uint32_t part = firstStalePart;; ++part) {
        const std::string path = modulePartPath(output, part);
        if (std::remove(path.c_str()) != 0)
            break;
    }
}

} // namespace

bool writeModules(LXDWriter &writer, const std::string &output, BuildReport &report, std::string &error)
{
    report.modules.clear();
    for (uint32_t parts = 1; parts <= kMaxModuleParts; ++parts) {
        report.headwords[0] = report.headwords[1] = 0;
        std::vector<std::string> written;
        bool ok = true;
        for (uint32_t part = 0; ok && part < parts; ++part) {
            const std::string path = parts == 1 ? output : modulePartPath(output, part + 1);
            ok = writer.writePart(path, part, parts, error);
            if (ok) {
                written.push_back(path);
                report.headwords[0] += writer.getHeadwordCount(0);
                report.headwords[1] += writer.getHeadwordCount(1);
            }
        }
        if (ok) {
            removeOtherModules(output, parts == 1, parts == 1 ? 1 : parts + 1);
            report.modules = written;
            return true;
        }
        for (const std::string &path : written)
            std::remove(path.c_str());
        if (!writer.wasTooLarge())
            return false;
    }
    error += " (even in " + std::to_string(kMaxModuleParts) + " modules)";
    return false;
}

bool inspectModule(const std::string &path, LXCompressor *compressor, LXTokenizer *tokenizer, long maxTerms,
                   std::ostream &out, std::string &error)
{
    LXD d(compressor, tokenizer);
    if (!d.validate(u8(path))) {
        error = path + ": not a valid dictionary module";
        return false;
    }
    if (!d.open()) {
        error = path + ": cannot be opened";
        return false;
    }
    lxstring n1, n2;
    LXUtilities::languageToEnglishString(d.getLanguage1(), n1);
    LXUtilities::languageToEnglishString(d.getLanguage2(), n2);
    out << "module " << path << "\n";
    out << "  kind " << (d.isAdditions() ? "user additions" : "published") << ", "
        << d.getStreamFile().getStreamCount() << " streams\n";
    out << "  languages " << d.getLanguage1() << " " << n1 << ", " << d.getLanguage2() << " " << n2 << "\n";
    out << "  format word 0x" << std::hex << std::setw(8) << std::setfill('0') << d.getFormatWord() << std::dec
        << std::setfill(' ') << " (version 0x" << std::hex << (d.getFormatWord() >> 24) << std::dec << ", product "
        << d.getProduct() << ")\n";
    out << "  module version " << d.getModuleVersion() << ", priority " << d.getPriority() << "\n";
    out << "  headword records " << d.getHeadwordCount1() << " + " << d.getHeadwordCount2()
        << ", direction 2 at " << d.getDirection2Start() << "\n";
    for (int32_t s = 0; s < static_cast<int32_t>(d.getStreamFile().getStreamCount()); ++s) {
        const LXStream *st = d.getStreamFile().getStream(s);
        out << "  stream " << s << ": " << d.getStreamFile().getStreamSize(s) << " bytes"
            << (st && st->isCompressed() ? ", compressed" : "") << "\n";
    }
    for (LXLanguage lang : {d.getLanguage1(), d.getLanguage2()}) {
        LXList<LXPair<lxstring, uint32_t>> pos;
        d.getPartsOfSpeech(pos, lang);
        lxstring name;
        LXUtilities::languageToEnglishString(lang, name);
        out << "parts of speech of " << name << ":";
        for (LXList<LXPair<lxstring, uint32_t>>::iterator it = pos.begin(); !it.isAtEnd(); ++it)
            out << " [" << it->first << ":" << it->second << "]";
        out << "\n";
    }
    if (maxTerms == 0)
        return true;
    out << "terms:\n";
    long shown = 0;
    int directions = (d.getLanguage2() == d.getLanguage1() || d.getLanguage2() == LXSynonyms) ? 1 : 2;
    uint32_t indexSize = d.getIndexSize(), termsSize = d.getTermsSize();
    for (int dir = 0; dir < directions; ++dir) {
        uint32_t start, end;
        d.getDirectionRange(dir == 0 ? d.getLanguage1() : d.getLanguage2(), start, end);
        for (uint32_t h = start; h < end && h < indexSize && (maxTerms < 0 || shown < maxTerms);) {
            lxstring key;
            uint32_t next = d.readIndexKey(h, key);
            for (uint32_t t = d.readIndexOffset(h);
                 t < termsSize && d.readTermsByte(t) != 0 && (maxTerms < 0 || shown < maxTerms);) {
                LXTerm term;
                uint32_t after = d.readTerm(term, h, t);
                if (after <= t)
                    break;
                term.print(out);
                ++shown;
                t = after;
            }
            if (next <= h)
                break;
            h = next;
        }
    }
    return true;
}
