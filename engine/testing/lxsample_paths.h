// Where the sample modules are: the build's folders (WORDMERE_SAMPLE_MODULES,
// WORDMERE_CONJUGATION_MODULES) unless the environment variables of the same names give
// others. For the tests, fuzzers and benchmarks that read them.
#ifndef WORDMERE_ENGINE_TESTING_LXSAMPLE_PATHS_H
#define WORDMERE_ENGINE_TESTING_LXSAMPLE_PATHS_H

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#ifndef WORDMERE_SAMPLE_MODULES
#define WORDMERE_SAMPLE_MODULES ""
#endif
#ifndef WORDMERE_CONJUGATION_MODULES
#define WORDMERE_CONJUGATION_MODULES ""
#endif

enum LXSampleKind {
    LXSampleDictionary,     // "*.lxd", made by lxdbuild from the FreeDict packages
    LXSampleConjugation     // "*.lxc", made by lxcbuild from verbiste's data
};

inline std::string lx_sampleFolder(LXSampleKind kind)
{
    const char *variable = kind == LXSampleDictionary ? "WORDMERE_SAMPLE_MODULES" : "WORDMERE_CONJUGATION_MODULES";
    const char *given = std::getenv(variable);
    if (given && *given)
        return given;
    return kind == LXSampleDictionary ? WORDMERE_SAMPLE_MODULES : WORDMERE_CONJUGATION_MODULES;
}

inline bool lx_fileExists(const std::string &path)
{
    return std::ifstream(path.c_str(), std::ios::binary).good();
}

// The existing modules of one sample dictionary: "NAME.lxd", or the parts "NAME-1.lxd",
// "NAME-2.lxd", ... that the builder writes for a dictionary too large for one module.
inline std::vector<std::string> lx_sampleModulePaths(const std::string &name)
{
    std::vector<std::string> paths;
    const std::string folder = lx_sampleFolder(LXSampleDictionary);
    if (folder.empty())
        return paths;
    if (lx_fileExists(folder + "/" + name + ".lxd")) {
        paths.push_back(folder + "/" + name + ".lxd");
        return paths;
    }
    for (int part = 1;; ++part) {
        const std::string path = folder + "/" + name + "-" + std::to_string(part) + ".lxd";
        if (!lx_fileExists(path))
            break;
        paths.push_back(path);
    }
    return paths;
}

#endif
