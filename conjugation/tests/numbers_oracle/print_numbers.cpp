// Reads numbers, one a line, and prints each with its words in the six languages:
// number TAB English TAB French TAB Spanish TAB German TAB Italian TAB Portuguese.
// Words go through the engine's own string interface, as the numbers dialog uses it.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "base/lxstring.h"
#include "lxnumbertranslator.h"

int main(int argc, char **argv) {
    std::ifstream file;
    if (argc > 1) {
        file.open(argv[1]);
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", argv[1]);
            return 2;
        }
    }
    std::istream &in = argc > 1 ? static_cast<std::istream &>(file) : std::cin;
    static const LXLanguage kLanguages[] = {LXEnglish, LXFrench,  LXSpanish,
                                            LXGerman,  LXItalian, LXPortuguese};
    std::string line, out;
    lxstring words;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out = line;
        const lxstring number(line.c_str(), LXEncodingUtf8);
        for (LXLanguage language : kLanguages) {
            LXNumberTranslator::numberToText(number, words, language);
            out += '\t';
            out.append(words.c_str(), size_t(words.size()));
        }
        out += '\n';
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    return 0;
}
