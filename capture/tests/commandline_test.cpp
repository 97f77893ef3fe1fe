// The program path taken from a command line, and the result handed to the caller.
#include "commandline.h"

#include <gtest/gtest.h>

#include <string>

#include "capturetext.h"
#include "wordlocator.h"

namespace tchk {
namespace {

TEST(CommandLine, ProgramPath) {
    const std::u16string longPath = u"C:\\" + std::u16string(300, u'p');
    struct Case {
        std::u16string line;
        std::u16string path;
    } cases[] = {
        {u"\"C:\\Program Files\\Viewer\\view.exe\" -open doc.txt", u"C:\\Program Files\\Viewer\\view.exe"},
        {u"C:\\tools\\notepad.exe file.txt", u"C:\\tools\\notepad.exe"},
        {u"notepad.exe", u"notepad.exe"},
        {u"\"unterminated quote", u"unterminated quote"},
        {u"\"\" rest", u""},
        {u"", u""},
        {longPath, longPath.substr(0, kPathCapacity - 1)},
        {u"\"" + longPath + u"\"", longPath.substr(0, kPathCapacity - 1)},
    };
    for (const Case& c : cases) {
        char16_t path[kPathCapacity];
        path[0] = u'!';
        programPathFromCommandLine(c.line.c_str(), path);
        EXPECT_EQ(std::u16string(path), c.path);
    }
}

TEST(Result, TheWordFollowedByOneBlank) {
    auto s = std::make_unique<CaptureText>();
    clearCaptureText(*s);
    char16_t result[kResultCapacity] = u"old";
    buildResult(*s, result, kResultCapacity);
    EXPECT_EQ(std::u16string(result), u"");
    auto boxes = std::make_unique<WordBox[]>(kMaxWordBoxes);
    WordLocator(*s, boxes.get()).storeFragment(u"word", 4);
    buildResult(*s, result, kResultCapacity);
    EXPECT_EQ(std::u16string(result), u"word ");
}

}  // namespace
}  // namespace tchk
