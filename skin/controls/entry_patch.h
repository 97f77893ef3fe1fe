// Redirecting a function at its entry through a 32-byte stub. A fresh stub calls the real
// function: two NOPs, a call to a routine that answers the function's address, a jump to
// that address. Patching moves the function's first whole instructions (at least the five
// bytes of a jump) into the stub, follows them with a jump back to the rest of the function,
// keeps their count in the stub's last byte and writes a jump to the replacement over the
// function's entry. Removal moves them back; the stub is then made fresh again, so a later
// start patches the function again. All of it is planned on byte buffers with the 32-bit
// addresses beside them; the Windows side (interception_win.cpp) only changes protections
// and writes the planned bytes.
#ifndef WORDMERE_SKIN_CONTROLS_ENTRY_PATCH_H
#define WORDMERE_SKIN_CONTROLS_ENTRY_PATCH_H

#include <cstddef>
#include <cstdint>

constexpr uint32_t kStubSize = 32;
constexpr uint32_t kStubCountByte = 31;
constexpr uint32_t kJumpSize = 5;       // 0xE9 and a 32-bit displacement
constexpr uint32_t kMostCovered = 26;   // the moved instructions and the jump back fill the stub's first 31 bytes
constexpr uint8_t kOpNop = 0x90;
constexpr uint8_t kOpCall = 0xE8;
constexpr uint8_t kOpJump = 0xE9;
constexpr uint8_t kOpBreak = 0xCC;

enum PatchStatus : int32_t {
    kPatchOk = 0,
    kPatchNotAStub,       // the stub is not fresh
    kPatchEndsTooSoon,    // the function returns or jumps away within its first five bytes
    kPatchTooLong,        // more than 26 bytes would have to move
    kPatchUnmovable,      // an instruction cannot be moved (unknown, cut off, or a jump that no longer reaches)
    kPatchNotPatched,     // the stub holds no moved instructions (the platform's ERROR_INVALID_HANDLE)
    kPatchNoJump,         // the function's entry holds no jump (ERROR_INVALID_BLOCK)
    kPatchWrongJump,      // its jump leads elsewhere than the replacement (ERROR_INVALID_ACCESS)
    kPatchRestoreFailed,  // the moved instructions cannot be moved back (ERROR_INVALID_DATA)
};

// A leading jump of a piece of code: a relative jump's destination, or the address of the
// pointer an indirect jump (0xFF 0x25) goes through.
struct LeadingJump {
    enum Kind : int32_t { kNone, kRelative, kIndirect } kind = kNone;
    uint32_t value = 0;
};
LeadingJump leadingJump(const uint8_t *code, size_t available, uint32_t address, bool relativeToo);

// Writes a fresh stub at stub (to run at stubAddress) whose call goes to routineAddress.
void buildFreshStub(uint8_t *stub, uint32_t stubAddress, uint32_t routineAddress);
bool isFreshStub(const uint8_t *stub);
// The routine a fresh stub calls.
uint32_t stubRoutine(const uint8_t *stub, uint32_t stubAddress);

// How many bytes of whole instructions from code's start must move (at least five).
PatchStatus measureEntry(const uint8_t *code, size_t available, uint32_t address, uint32_t &covered);

// The bytes of a patch: the stub's new contents and the function's new first covered bytes.
struct EntryPatch {
    uint8_t stub[kStubSize];
    uint8_t entry[kMostCovered];
    uint32_t covered = 0;
};
PatchStatus planEntryPatch(const uint8_t *stub, uint32_t stubAddress, const uint8_t *code, size_t available,
                           uint32_t codeAddress, uint32_t replacement, EntryPatch &out);

// Where a patched stub's function starts and how many bytes it moved.
PatchStatus patchedEntry(const uint8_t *stub, uint32_t stubAddress, uint32_t &entryAddress, uint32_t &count);
// The original bytes of a patched function's entry (count bytes into restored), checking
// that the entry holds the jump to replacement.
PatchStatus planEntryRestore(const uint8_t *stub, uint32_t stubAddress, const uint8_t *entry, uint32_t entryAddress,
                             uint32_t replacement, uint8_t *restored);

#endif
