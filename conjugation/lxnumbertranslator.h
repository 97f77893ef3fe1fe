// LXNumberTranslator: writes a whole number, given as decimal digits, out in words in
// English, French, Spanish, German, Italian or Portuguese. Stateless: every operation is
// static and the word tables are constant.
//
// Conventions of the program's output (kept on purpose, callers show them as they are):
// - English marks the optional "and" as "(and) " before the last two digits;
// - English and Italian scale words are followed by a space ("two thousand ");
// - Portuguese separates the groups with ", " ("dois mil, trezentos e quatro");
// - German writes "hundert" and "tausend" without a leading "ein".
// Numbers beyond the largest scale word of a language repeat that word as a multiplier
// ("one thousand nonillion"), so any number of digits gets an answer.
#ifndef LXNUMBERTRANSLATOR_H
#define LXNUMBERTRANSLATOR_H

#include <string>

#include "base/lxlanguage.h"
#include "base/lxstring.h"

// One row of a word table; a table ends with a row whose value is -1. Words are UTF-8.
struct SNumTrans {
    int value;
    const char *word;
};

class LXNumberTranslator {
public:
    // Keeps only the characters "0".."9" of input and writes that number in words into
    // output (in output's own encoding and byte order). 2 French, 3 Spanish, 4 German,
    // 5 Italian, 6 Portuguese, any other language English. No digits: empty output.
    static void numberToText(const lxstring &input, lxstring &output, LXLanguage language);

    // The same on a UTF-8 digit string; the output is UTF-8. Characters other than
    // "0".."9" are ignored.
    static std::string numberToText(const std::string &digits, LXLanguage language);

private:
    static void englishNumberToText(const std::string &digits, std::string &output);
    static void frenchNumberToText(const std::string &digits, std::string &output);
    static void germanNumberToText(const std::string &digits, std::string &output);
    static void spanishNumberToText(const std::string &digits, std::string &output);
    static void italianNumberToText(const std::string &digits, std::string &output);
    static void portugueseNumberToText(const std::string &digits, std::string &output);

    // The word of the first row whose value is value, or an empty word.
    static void getNumberWord(int value, const SNumTrans *table, std::string &word);
};

#endif
