// Small conjugation modules written by LXConjugationWriter for the tests.
#ifndef WORDMERE_CONJUGATION_TESTS_LXC_FIXTURE_H
#define WORDMERE_CONJUGATION_TESTS_LXC_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugationwriter.h"
#include "lxconjugator.h"
#include "testing/lxtest_files.h"

inline lxstring U(const char *s)
{
    return lxstring(s, LXEncodingUtf8);
}

inline std::string S(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

// The forms of a list joined by "|".
inline std::string joined(const LXList<lxstring> &list)
{
    std::string out;
    for (LXList<lxstring>::const_iterator it = list.begin(); !it.isAtEnd(); ++it)
        out += (it == list.begin() ? "" : "|") + S(*it);
    return out;
}

// A model: number, its features (code, text) and tenses (tense, {(person, forms)}).
struct TenseForms {
    uint32_t tense;
    std::vector<std::pair<uint32_t, const char *>> persons;
};

inline LXModelCache makeModel(uint32_t number, std::initializer_list<std::pair<uint32_t, const char *>> features,
                              std::initializer_list<TenseForms> tenses)
{
    LXModelCache m;
    m.model = number;
    for (const auto &f : features)
        m.features.push_back(LXCodeText(f.first, U(f.second)));
    for (const TenseForms &t : tenses) {
        LXTenseInfo info;
        info.tense = t.tense;
        for (const auto &p : t.persons)
            info.persons.push_back(LXCodeText(p.first, U(p.second)));
        m.tenses.push_back(info);
    }
    return m;
}

// The six forms of a tense for persons 37..42.
inline TenseForms six(uint32_t tense, const char *a, const char *b, const char *c, const char *d, const char *e,
                     const char *f)
{
    return TenseForms{tense, {{37, a}, {38, b}, {39, c}, {40, d}, {41, e}, {42, f}}};
}

// The suffix models of a model's finite tenses (every tense from 80 on).
inline void addSuffixModels(LXConjugationWriter &w, const LXModelCache &m)
{
    for (LXList<LXTenseInfo>::const_iterator t = m.tenses.begin(); !t.isAtEnd(); ++t) {
        if ((*t).tense < 80)
            continue;
        for (LXCodeTextList::const_iterator p = (*t).persons.begin(); !p.isAtEnd(); ++p) {
            LXList<lxstring> endings;
            LXConjugator::splitForms((*p).second, endings);
            for (LXList<lxstring>::iterator e = endings.begin(); !e.isAtEnd(); ++e) {
                LXSuffixModel s;
                s.model = m.model;
                s.tense = (*t).tense;
                s.person = (*p).first;
                for (int32_t i = (*e).length() - 1; i >= 0; --i)
                    s.ending += (*e)[i];
                w.addSuffixModel(s);
            }
        }
    }
}

inline LXVerb makeVerb(const char *infinitive, uint32_t model, std::initializer_list<uint32_t> features = {},
                       std::initializer_list<std::pair<uint32_t, const char *>> own = {})
{
    LXVerb v;
    v.model = model;
    v.infinitive = U(infinitive);
    for (uint32_t f : features)
        v.addEntry(f, lxstring(LXEncodingUtf8));
    for (const auto &e : own)
        v.addEntry(e.first, U(e.second));
    return v;
}

inline void addNames(LXConjugationWriter &w, std::initializer_list<const char *> persons,
                     std::initializer_list<const char *> tenses)
{
    for (const char *p : persons)
        w.addPersonName(U(p));
    for (const char *t : tenses)
        w.addTenseName(U(t));
}

// Owns a compressor and a conjugator opened on a module.
struct OpenModule {
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator conjugator;
    OpenModule() { conjugator.setCompressor(compressor); }
    ~OpenModule()
    {
        conjugator.closeModule();
        delete compressor;
    }
    bool open(const std::string &path) { return conjugator.openModule(U(path.c_str())); }
};

inline bool writeModule(LXConjugationWriter &w, const std::string &path)
{
    LXCompressor *c = LXCompressor::create();
    std::string error;
    bool ok = w.write(U(path.c_str()), c, true, error);
    delete c;
    EXPECT_TRUE(ok) << error;
    return ok;
}

inline bool writeStreams(const std::string streams[LXConjugationStreamCount], const std::string &path)
{
    LXCompressor *c = LXCompressor::create();
    bool ok = LXConjugationWriter::writeContainer(U(path.c_str()), streams, c, false);
    delete c;
    return ok;
}

#endif
