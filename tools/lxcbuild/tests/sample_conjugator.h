// A sample conjugation module of the build, opened for a test (the test fails when it is
// missing, see lx_findSample), with the UTF-8 conversions the oracle tests use.
#ifndef WORDMERE_TOOLS_LXCBUILD_TESTS_SAMPLE_CONJUGATOR_H
#define WORDMERE_TOOLS_LXCBUILD_TESTS_SAMPLE_CONJUGATOR_H

#include <gtest/gtest.h>

#include <string>

#include "format/lxcompressor.h"
#include "lxconjugator.h"
#include "testing/lxtest_samples.h"

inline std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

inline lxstring text(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

struct SampleConjugator {
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator c;
    bool ok = false;
    explicit SampleConjugator(const char *file)
    {
        std::string path;
        c.setCompressor(compressor);
        if (!lx_findSample(LXSampleConjugation, file, path))
            return;
        ok = c.openModule(text(path));
        EXPECT_TRUE(ok) << path;
    }
    ~SampleConjugator()
    {
        c.closeModule();
        delete compressor;
    }
    SampleConjugator(const SampleConjugator &) = delete;
    SampleConjugator &operator=(const SampleConjugator &) = delete;
};

#endif
