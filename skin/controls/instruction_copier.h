// Measuring and moving whole IA-32 instructions, for patching a function's entry: the
// first instructions are moved into a stub (their relative calls and jumps rewritten to
// reach the same targets from there) and a jump takes their place. Works on byte buffers
// with 32-bit addresses given beside them, so it is tested natively on byte strings.
#ifndef WORDMERE_SKIN_CONTROLS_INSTRUCTION_COPIER_H
#define WORDMERE_SKIN_CONTROLS_INSTRUCTION_COPIER_H

#include <cstddef>
#include <cstdint>

enum CopyStatus : int32_t {
    kCopyOk = 0,
    kCopyNoSource,      // no code given
    kCopyTruncated,     // the instruction runs past the bytes given
    kCopyOutOfReach,    // a moved relative displacement cannot reach its target from the copy
    kCopyInvalid,       // an opcode this copier does not move, or more than 15 bytes (counted as one byte, nothing copied)
};

struct CopiedInstruction {
    CopyStatus status = kCopyNoSource;
    uint32_t length = 0;   // bytes the instruction takes at the source
    uint32_t copied = 0;   // bytes written at the destination (0 when only measuring or invalid)
    bool hasTarget = false;          // a relative call or jump: target is its absolute target
    bool targetUnresolved = false;   // the target cannot be known from the bytes (far, indirect, interrupt)
    bool indirect = false;           // 0xFF 0x15 / 0xFF 0x25: target is the address of the pointer
    uint32_t target = 0;
    bool ok() const { return status == kCopyOk; }
};

// One instruction at source (available bytes, at address from) measured, and, when
// destination is given, copied there (to be run at address to) with any relative
// displacement rewritten; at most 15 bytes are written. Prefixes (segment, lock, repeat, operand and address size) count
// as part of the instruction that follows them.
CopiedInstruction copyInstruction(uint8_t *destination, uint32_t to, const uint8_t *source, size_t available,
                                  uint32_t from);

// The first byte of an instruction past its segment prefixes, and whether it starts a form
// after which the code cannot be followed (returns, LOOPNE, jumps out, indirect jumps).
bool endsMeasurableCode(const uint8_t *code, size_t available);

#endif
