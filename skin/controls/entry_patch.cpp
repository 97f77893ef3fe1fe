#include "entry_patch.h"

#include <cstring>

#include "instruction_copier.h"

namespace {

constexpr uint8_t kOpIndirect = 0xFF;
constexpr uint8_t kModrmJumpThroughPointer = 0x25;
constexpr uint8_t kOpReturn = 0xC3;
constexpr uint8_t kJumpEaxModrm = 0xE0;  // 0xFF 0xE0: JMP EAX
constexpr uint32_t kStubCallAt = 2;
constexpr uint32_t kStubJumpAt = 7;
constexpr uint32_t kStubReturnAt = 9;

uint32_t read32(const uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
void write32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}
void writeJump(uint8_t *at, uint32_t atAddress, uint32_t destination)
{
    at[0] = kOpJump;
    write32(at + 1, destination - (atAddress + kJumpSize));
}

}  // namespace

LeadingJump leadingJump(const uint8_t *code, size_t available, uint32_t address, bool relativeToo)
{
    LeadingJump j;
    if (available >= 6 && code[0] == kOpIndirect && code[1] == kModrmJumpThroughPointer) {
        j.kind = LeadingJump::kIndirect;
        j.value = read32(code + 2);
    } else if (relativeToo && available >= kJumpSize && code[0] == kOpJump) {
        j.kind = LeadingJump::kRelative;
        j.value = address + kJumpSize + read32(code + 1);
    }
    return j;
}

void buildFreshStub(uint8_t *stub, uint32_t stubAddress, uint32_t routineAddress)
{
    std::memset(stub, kOpNop, kStubSize);
    stub[kStubCallAt] = kOpCall;
    write32(stub + kStubCallAt + 1, routineAddress - (stubAddress + kStubJumpAt));
    stub[kStubJumpAt] = kOpIndirect;
    stub[kStubJumpAt + 1] = kJumpEaxModrm;
    stub[kStubReturnAt] = kOpReturn;
}

bool isFreshStub(const uint8_t *stub)
{
    return stub[0] == kOpNop && stub[1] == kOpNop && stub[kStubCallAt] == kOpCall && stub[kStubJumpAt] == kOpIndirect &&
           stub[kStubJumpAt + 1] == kJumpEaxModrm;
}

uint32_t stubRoutine(const uint8_t *stub, uint32_t stubAddress)
{
    return stubAddress + kStubJumpAt + read32(stub + kStubCallAt + 1);
}

PatchStatus measureEntry(const uint8_t *code, size_t available, uint32_t address, uint32_t &covered)
{
    covered = 0;
    while (covered < kJumpSize) {
        bool last = endsMeasurableCode(code + covered, available - covered);
        CopiedInstruction i = copyInstruction(nullptr, 0, code + covered, available - covered, address + covered);
        if (!i.ok()) {
            return kPatchUnmovable;
        }
        covered += i.length;
        if (covered > kMostCovered) {
            return kPatchTooLong;
        }
        if (last && covered < kJumpSize) {
            return kPatchEndsTooSoon;
        }
        if (last) {
            break;
        }
    }
    return kPatchOk;
}

PatchStatus planEntryPatch(const uint8_t *stub, uint32_t stubAddress, const uint8_t *code, size_t available,
                           uint32_t codeAddress, uint32_t replacement, EntryPatch &out)
{
    if (!isFreshStub(stub)) {
        return kPatchNotAStub;
    }
    uint32_t covered = 0;
    PatchStatus measured = measureEntry(code, available, codeAddress, covered);
    if (measured != kPatchOk) {
        return measured;
    }
    std::memcpy(out.stub, stub, kStubSize);
    uint32_t copied = 0;
    while (copied < covered) {
        CopiedInstruction i = copyInstruction(out.stub + copied, stubAddress + copied, code + copied,
                                              available - copied, codeAddress + copied);
        if (!i.ok() || i.copied != i.length) {
            return kPatchUnmovable;
        }
        copied += i.copied;
    }
    if (copied != covered) {
        return kPatchUnmovable;
    }
    writeJump(out.stub + covered, stubAddress + covered, codeAddress + covered);
    out.stub[kStubCountByte] = static_cast<uint8_t>(covered);
    std::memset(out.entry, kOpBreak, sizeof out.entry);
    writeJump(out.entry, codeAddress, replacement);
    out.covered = covered;
    return kPatchOk;
}

PatchStatus patchedEntry(const uint8_t *stub, uint32_t stubAddress, uint32_t &entryAddress, uint32_t &count)
{
    count = stub[kStubCountByte];
    if (count == 0 || count >= kStubCountByte || count + kJumpSize > kStubCountByte || stub[count] != kOpJump) {
        return kPatchNotPatched;
    }
    entryAddress = stubAddress + count + kJumpSize + read32(stub + count + 1) - count;
    return kPatchOk;
}

PatchStatus planEntryRestore(const uint8_t *stub, uint32_t stubAddress, const uint8_t *entry, uint32_t entryAddress,
                             uint32_t replacement, uint8_t *restored)
{
    uint32_t expected = 0;
    uint32_t count = 0;
    PatchStatus s = patchedEntry(stub, stubAddress, expected, count);
    if (s != kPatchOk) {
        return s;
    }
    if (entry[0] != kOpJump) {
        return kPatchNoJump;
    }
    if (entryAddress + kJumpSize + read32(entry + 1) != replacement) {
        return kPatchWrongJump;
    }
    uint32_t copied = 0;
    while (copied < count) {
        CopiedInstruction i = copyInstruction(restored + copied, entryAddress + copied, stub + copied, count - copied,
                                              stubAddress + copied);
        if (!i.ok() || i.copied != i.length) {
            return kPatchRestoreFailed;
        }
        copied += i.copied;
    }
    return copied == count ? kPatchOk : kPatchRestoreFailed;
}
