#include "commandline.h"

#include "textruns.h"

namespace tchk {

void programPathFromCommandLine(const char16_t* commandLine, char16_t* path) {
    if (!path) return;
    path[0] = 0;
    if (!commandLine) return;
    const char16_t* p = commandLine;
    const bool quoted = *p == u'"';
    if (quoted) ++p;
    int n = 0;
    for (; p[n] && n < kPathCapacity - 1; ++n) {
        if (quoted ? p[n] == u'"' : isBlank(p[n])) break;
        path[n] = p[n];
    }
    path[n] = 0;
}

}  // namespace tchk
