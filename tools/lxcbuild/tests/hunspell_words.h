// hunspell as an oracle of the tests: which words of a set a dictionary rejects.
#ifndef WORDMERE_TOOLS_LXCBUILD_TESTS_HUNSPELL_WORDS_H
#define WORDMERE_TOOLS_LXCBUILD_TESTS_HUNSPELL_WORDS_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "testing/lxtest_files.h"

#ifndef _WIN32
// The words that hunspell rejects with the dictionary (es_ES, de_DE, ...).
inline std::set<std::string> hunspellRejected(const std::set<std::string> &words, const std::string &dictionary)
{
    std::string list = testRunFolder() + "hunspell-" + dictionary + ".txt";
    {
        std::ofstream out(list);
        for (const std::string &w : words)
            out << w << "\n";
    }
    std::set<std::string> out;
    FILE *p = popen(("hunspell -i utf-8 -d " + dictionary + " -l < '" + list + "'").c_str(), "r");
    EXPECT_TRUE(p != nullptr);
    if (!p)
        return out;
    char line[1024];
    while (std::fgets(line, sizeof line, p)) {
        std::string w(line);
        while (!w.empty() && (w.back() == '\n' || w.back() == '\r'))
            w.pop_back();
        out.insert(w);
    }
    EXPECT_EQ(pclose(p), 0) << "hunspell with " << dictionary << " (scripts/setup.sh installs it)";
    std::remove(list.c_str());
    return out;
}
#endif

#endif
