// The program path at the start of a process's command line.
#pragma once

namespace tchk {

constexpr int kPathCapacity = 260;

// A line that begins with a double quote gives the text up to the next double quote
// (without the quotes); any other line the text up to the first blank. At most 259
// characters are kept; `path` holds kPathCapacity characters and is always terminated.
void programPathFromCommandLine(const char16_t* commandLine, char16_t* path);

}  // namespace tchk
