#include "textruns.h"

#include "base/lxchar.h"

namespace tchk {

CharClass charClass(char16_t c) {
    if (lx_isspace(c)) return CharClass::Blank;
    if (lx_iswordchar(c)) return CharClass::Word;
    return CharClass::Other;
}

bool nextRun(const char16_t* text, int length, int from, Run& run) {
    int i = from < 0 ? 0 : from;
    while (i < length && isBlank(text[i])) ++i;
    if (i >= length) return false;
    const CharClass cls = charClass(text[i]);
    run.first = i;
    while (i + 1 < length && charClass(text[i + 1]) == cls) ++i;
    run.last = i;
    return true;
}

}  // namespace tchk
