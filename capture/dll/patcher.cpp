#include "patcher.h"

#include <cstring>

namespace tchk {

namespace {

bool resolve(PatchRecord& r) {
    if (!r.target) {
        HMODULE m = GetModuleHandleW(r.targetModule);
        FARPROC f = m ? GetProcAddress(m, r.targetFunction) : nullptr;
        if (!f) return false;
        r.target = reinterpret_cast<BYTE*>(f) + r.offset;
    }
    if (!r.replacement) {
        HMODULE m = r.replacementModule ? GetModuleHandleW(r.replacementModule) : r.library;
        FARPROC f = m ? GetProcAddress(m, r.replacementFunction) : nullptr;
        if (!f) return false;
        r.replacement = reinterpret_cast<BYTE*>(f);
    }
    if (!r.jumpBuilt) {
        const uint32_t address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(r.replacement));
        const WORD selector = codeSegmentSelector();
        r.jump[0] = kFarJump;
        std::memcpy(r.jump + 1, &address, sizeof address);
        std::memcpy(r.jump + 5, &selector, sizeof selector);
        r.jumpBuilt = true;
    }
    return true;
}

}  // namespace

WORD codeSegmentSelector() {
    WORD cs = 0;
    __asm__ volatile("mov %%cs, %0" : "=r"(cs));
    return cs;
}

bool writeCode(BYTE* at, const BYTE* bytes, int count) {
    DWORD old = 0;
    if (!VirtualProtect(at, kWritableSpan, PAGE_EXECUTE_READWRITE, &old)) return false;
    std::memcpy(at, bytes, count);
    DWORD ignored = 0;
    const bool restored = VirtualProtect(at, kWritableSpan, old, &ignored) != 0;
    FlushInstructionCache(GetCurrentProcess(), at, count);
    return restored;
}

bool applyPatch(PatchRecord& r) {
    if (!resolve(r)) return false;
    DWORD old = 0;
    if (!VirtualProtect(r.target, kWritableSpan, PAGE_EXECUTE_READWRITE, &old)) return false;
    if (std::memcmp(r.target, r.jump, kJumpSize) != 0) {
        std::memcpy(r.saved, r.target, kJumpSize);
        std::memcpy(r.target, r.jump, kJumpSize);
    }
    DWORD ignored = 0;
    VirtualProtect(r.target, kWritableSpan, old, &ignored);
    FlushInstructionCache(GetCurrentProcess(), r.target, kJumpSize);
    r.installed = true;
    return true;
}

bool removePatch(PatchRecord& r) {
    if (!r.installed || !r.target || !r.replacement) return false;
    if (!writeCode(r.target, r.saved, kJumpSize)) return false;
    r.installed = false;
    r.target = nullptr;
    r.replacement = nullptr;
    return true;
}

void liftPatch(PatchRecord& r) {
    if (r.installed && r.target) writeCode(r.target, r.saved, kJumpSize);
}

void restorePatch(PatchRecord& r) {
    if (r.installed && r.target) writeCode(r.target, r.jump, kJumpSize);
}

}  // namespace tchk
