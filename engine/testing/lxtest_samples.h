// The sample modules that the native build makes from Debian's data, for the tests that
// read them. A build configured with sample modules (the default) fails such a test when
// a module is missing, naming the file and how it is made; only a build configured with
// WORDMERE_WITHOUT_SAMPLE_MODULES skips those tests instead.
#ifndef WORDMERE_ENGINE_TESTING_LXTEST_SAMPLES_H
#define WORDMERE_ENGINE_TESTING_LXTEST_SAMPLES_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/lxsample_paths.h"

#ifndef WORDMERE_SAMPLES_REQUIRED
#define WORDMERE_SAMPLES_REQUIRED 1
#endif

// What to tell when a module is missing: which file, and how it is made.
inline std::string lx_sampleMissing(LXSampleKind kind, const std::string &name)
{
    const std::string folder = lx_sampleFolder(kind);
    const bool dictionary = kind == LXSampleDictionary;
    std::string why = "sample module " + name + " is missing from ";
    why += folder.empty() ? std::string("the build (no sample-module folder configured)") : "\"" + folder + "\"";
    why += dictionary ? ". The native build makes it with lxdbuild from Debian's FreeDict packages (target "
                        "sample_modules in build/native/dictionaries); a build that cannot run the builder "
                        "reads them with -DWORDMERE_SAMPLE_MODULES=<that folder>"
                      : ". The native build makes it with lxcbuild from Debian's verbiste data (target "
                        "conjugation_modules in build/native/dictionaries); a build that cannot run the builder "
                        "reads them with -DWORDMERE_CONJUGATION_MODULES=<that folder>";
    why += ". Configure with -DWORDMERE_WITHOUT_SAMPLE_MODULES=ON to skip these tests on purpose.";
    return why;
}

// The module's path when it is there. Otherwise false, with the running test failed (or,
// in a build configured without sample modules, marked skipped: the caller then returns).
inline bool lx_findSample(LXSampleKind kind, const std::string &name, std::string &path)
{
    path = lx_sampleFolder(kind) + "/" + name;
    if (!lx_sampleFolder(kind).empty() && lx_fileExists(path))
        return true;
    const std::string why = lx_sampleMissing(kind, name);
    // Fatal, so that a fixture's SetUp that calls this keeps the test body from running.
    if (WORDMERE_SAMPLES_REQUIRED)
        [&why] { FAIL() << why; }();
    else
        [&why] { GTEST_SKIP() << why; }();
    path.clear();
    return false;
}

// The modules of one sample dictionary (see lx_sampleModulePaths). False as lx_findSample
// when there is none.
inline bool lx_findSampleModules(const std::string &name, std::vector<std::string> &paths)
{
    paths = lx_sampleModulePaths(name);
    if (!paths.empty())
        return true;
    std::string unused;
    return lx_findSample(LXSampleDictionary, name + ".lxd", unused);
}

#endif
