// Patching the entry of a function with a far jump to a replacement, in the calling process.
// A record names the function (module and export) and its replacement (an export of the
// library or of another module); addresses are resolved on first use.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tchk {

constexpr int kJumpSize = 7;      // 0xEA, a 32-bit address, a 16-bit code-segment selector
constexpr int kWritableSpan = 16; // bytes made writable around the entry
constexpr BYTE kFarJump = 0xEA;

struct PatchRecord {
    const wchar_t* targetModule;
    const char* targetFunction;
    int32_t offset;                 // added to the resolved address
    const wchar_t* replacementModule;  // null: the library itself
    const char* replacementFunction;
    HMODULE library;

    BYTE* target;                   // resolved lazily, forgotten when the patch is removed
    BYTE* replacement;
    BYTE saved[kJumpSize];          // the unpatched entry bytes
    BYTE jump[kJumpSize];
    bool jumpBuilt;
    bool installed;                 // patched and not yet removed (a lifted patch stays installed)
};

// Writes the jump unless it is there already (then the saved bytes stay those of the
// unpatched code). False when the function, its replacement or the page protection is not
// available; the function then stays as it was.
bool applyPatch(PatchRecord& r);

// Writes the saved bytes back and forgets both addresses, so the next patch resolves them
// again. Only a record that was patched is touched.
bool removePatch(PatchRecord& r);

// For the duration of a call of the real function: the saved bytes go back, the record
// stays installed, and restorePatch writes the jump again (unless it was removed meanwhile).
void liftPatch(PatchRecord& r);
void restorePatch(PatchRecord& r);

// Rewrites code bytes: the span is made PAGE_EXECUTE_READWRITE (so other threads may go on
// running the page), written, given back its protection, and the instruction cache flushed.
bool writeCode(BYTE* at, const BYTE* bytes, int count);

WORD codeSegmentSelector();

}  // namespace tchk
