// Patching entry points in this process: the far jump, what it saves and gives back, a
// missing export, the code's protection, and the library's own twelve patches.
#include "patcher.h"
#include "shared.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using tchk::PatchRecord;

namespace {

PatchRecord g_textOut;
int g_replacementCalls = 0;

PatchRecord recordFor(const char* function, const char* replacement) {
    PatchRecord r{};
    r.targetModule = L"gdi32.dll";
    r.targetFunction = function;
    r.replacementFunction = replacement;
    r.library = GetModuleHandleW(nullptr);
    return r;
}

std::vector<BYTE> entry(const wchar_t* module, const char* function) {
    const BYTE* p = reinterpret_cast<const BYTE*>(GetProcAddress(GetModuleHandleW(module), function));
    return p ? std::vector<BYTE>(p, p + tchk::kJumpSize) : std::vector<BYTE>();
}

// A memory context with a white bitmap to draw into.
struct Canvas {
    Canvas() {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bmp = CreateCompatibleBitmap(screen, 200, 40);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bmp);
        RECT r{0, 0, 200, 40};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    int inked() const {
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) n += GetPixel(dc, x, y) != RGB(255, 255, 255);
        return n;
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI ReplacementTextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    ++g_replacementCalls;
    tchk::liftPatch(g_textOut);
    const BOOL r = TextOutW(dc, x, y, text, count);
    tchk::restorePatch(g_textOut);
    return r;
}

TEST(Patcher, AFarJumpLeadsToTheReplacementUntilRemoved) {
    const std::vector<BYTE> original = entry(L"gdi32.dll", "TextOutW");
    ASSERT_EQ(original.size(), static_cast<size_t>(tchk::kJumpSize));
    g_textOut = recordFor("TextOutW", "ReplacementTextOutW@20");
    ASSERT_TRUE(tchk::applyPatch(g_textOut));

    const std::vector<BYTE> patched = entry(L"gdi32.dll", "TextOutW");
    EXPECT_EQ(patched[0], tchk::kFarJump);
    uint32_t address = 0;
    WORD selector = 0;
    std::memcpy(&address, &patched[1], 4);
    std::memcpy(&selector, &patched[5], 2);
    EXPECT_EQ(address, reinterpret_cast<uintptr_t>(&ReplacementTextOutW));
    EXPECT_EQ(selector, tchk::codeSegmentSelector());
    EXPECT_EQ(std::vector<BYTE>(g_textOut.saved, g_textOut.saved + tchk::kJumpSize), original);

    Canvas c;
    g_replacementCalls = 0;
    EXPECT_TRUE(TextOutW(c.dc, 2, 2, L"ink", 3));
    EXPECT_EQ(g_replacementCalls, 1);
    EXPECT_GT(c.inked(), 0) << "the real function drew through the replacement";
    EXPECT_EQ(entry(L"gdi32.dll", "TextOutW"), patched) << "the replacement patched itself again";

    EXPECT_TRUE(tchk::removePatch(g_textOut));
    EXPECT_EQ(entry(L"gdi32.dll", "TextOutW"), original);
    EXPECT_EQ(g_textOut.target, nullptr);
    TextOutW(c.dc, 2, 2, L"ink", 3);
    EXPECT_EQ(g_replacementCalls, 1);
    EXPECT_FALSE(tchk::removePatch(g_textOut)) << "nothing left to remove";
}

TEST(Patcher, PatchingTwiceKeepsTheUnpatchedBytes) {
    const std::vector<BYTE> original = entry(L"gdi32.dll", "TextOutW");
    g_textOut = recordFor("TextOutW", "ReplacementTextOutW@20");
    ASSERT_TRUE(tchk::applyPatch(g_textOut));
    ASSERT_TRUE(tchk::applyPatch(g_textOut));
    EXPECT_EQ(std::vector<BYTE>(g_textOut.saved, g_textOut.saved + tchk::kJumpSize), original);
    EXPECT_TRUE(tchk::removePatch(g_textOut));
    EXPECT_EQ(entry(L"gdi32.dll", "TextOutW"), original);
}

TEST(Patcher, AMissingFunctionOrReplacementLeavesOnlyThatOneUnpatched) {
    const std::vector<BYTE> textOut = entry(L"gdi32.dll", "TextOutW");
    const std::vector<BYTE> extTextOut = entry(L"gdi32.dll", "ExtTextOutW");
    PatchRecord records[] = {
        recordFor("TextOutW", "ReplacementTextOutW@20"),
        recordFor("NoSuchExport", "ReplacementTextOutW@20"),
        recordFor("ExtTextOutW", "NoSuchReplacement"),
    };
    g_textOut = records[0];
    EXPECT_TRUE(tchk::applyPatch(g_textOut));
    EXPECT_FALSE(tchk::applyPatch(records[1]));
    EXPECT_FALSE(tchk::applyPatch(records[2]));
    EXPECT_EQ(entry(L"gdi32.dll", "TextOutW")[0], tchk::kFarJump);
    EXPECT_EQ(entry(L"gdi32.dll", "ExtTextOutW"), extTextOut);
    EXPECT_FALSE(tchk::removePatch(records[1]));
    EXPECT_TRUE(tchk::removePatch(g_textOut));
    EXPECT_EQ(entry(L"gdi32.dll", "TextOutW"), textOut);
}

TEST(Patcher, CodeKeepsItsProtection) {
    BYTE* at = reinterpret_cast<BYTE*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "TextOutW"));
    MEMORY_BASIC_INFORMATION before{}, after{};
    ASSERT_TRUE(VirtualQuery(at, &before, sizeof before));
    std::vector<BYTE> same(at, at + tchk::kJumpSize);
    ASSERT_TRUE(tchk::writeCode(at, same.data(), tchk::kJumpSize));
    ASSERT_TRUE(VirtualQuery(at, &after, sizeof after));
    EXPECT_EQ(after.Protect, before.Protect);
    EXPECT_TRUE(after.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY));
}

// The library's own records: all twelve functions jump into tchk.dll while patched, still
// draw, and get their first bytes back.
TEST(Patcher, TheLibrarysTwelveFunctions) {
    HMODULE lib = LoadLibraryW(L"tchk.dll");
    ASSERT_NE(lib, nullptr);
    auto setAll = reinterpret_cast<void(WINAPI*)()>(GetProcAddress(lib, "SetAllTextHooks"));
    auto unhookAll = reinterpret_cast<void(WINAPI*)()>(GetProcAddress(lib, "UnhookAllTextHooks"));
    ASSERT_TRUE(setAll && unhookAll);
    const struct {
        const wchar_t* module;
        const char* function;
        const char* replacement;
    } functions[] = {
        {L"gdi32.dll", "BitBlt", "TCBitBlt"},
        {L"gdi32.dll", "TextOutA", "TCTextOutA"},
        {L"gdi32.dll", "TextOutW", "TCTextOutW"},
        {L"gdi32.dll", "ExtTextOutA", "TCExtTextOutA"},
        {L"gdi32.dll", "ExtTextOutW", "TCExtTextOutW"},
        {L"gdi32.dll", "GetCharacterPlacementW", "TCGetCharacterPlacementW"},
        {L"gdi32.dll", "GetCharacterPlacementA", "TCGetCharacterPlacementA"},
        {L"user32.dll", "TabbedTextOutW", "TCTabbedTextOutW"},
        {L"user32.dll", "DrawTextW", "TCDrawTextW"},
        {L"user32.dll", "DrawTextExW", "TCDrawTextExW"},
        {L"user32.dll", "DrawTextA", "TCDrawTextA"},
        {L"user32.dll", "DrawTextExA", "TCDrawTextExA"},
    };
    std::vector<std::vector<BYTE>> original;
    for (const auto& f : functions) original.push_back(entry(f.module, f.function));

    setAll();
    setAll();  // already patched: the saved bytes stay those of the unpatched code
    for (const auto& f : functions) {
        const std::vector<BYTE> now = entry(f.module, f.function);
        uint32_t address = 0;
        std::memcpy(&address, &now[1], 4);
        EXPECT_EQ(now[0], tchk::kFarJump) << f.function;
        EXPECT_EQ(address, reinterpret_cast<uintptr_t>(GetProcAddress(lib, f.replacement))) << f.function;
    }
    Canvas c;
    RECT r{0, 0, 200, 40};
    EXPECT_TRUE(TextOutW(c.dc, 2, 2, L"ink", 3));
    EXPECT_GT(DrawTextW(c.dc, L"more ink", -1, &r, DT_SINGLELINE), 0);
    EXPECT_TRUE(ExtTextOutA(c.dc, 2, 20, 0, nullptr, "ansi", 4, nullptr));
    EXPECT_GT(c.inked(), 0);
    EXPECT_EQ(entry(L"gdi32.dll", "TextOutW")[0], tchk::kFarJump) << "patched again after the call";

    unhookAll();
    for (size_t i = 0; i < original.size(); ++i)
        EXPECT_EQ(entry(functions[i].module, functions[i].function), original[i]) << functions[i].function;
    FreeLibrary(lib);
}

// The slowness factor of a test run stretches the library's waits; anything but a whole
// number from 1 to 100 leaves the product's own times.
TEST(WaitScale, ReadsOnlyAWholeNumberFrom1To100) {
    const struct {
        const wchar_t* value;
        DWORD scale;
    } cases[] = {
        {nullptr, 1}, {L"", 1}, {L"4", 4}, {L"100", 100}, {L"101", 1}, {L"0", 1},
        {L"-4", 1},   {L"4x", 1}, {L"2.5", 1}, {L" 4", 1}, {L"99999999999999999999", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tchk::waitScaleFrom(c.value), c.scale) << (c.value ? c.value : L"(unset)");
}
