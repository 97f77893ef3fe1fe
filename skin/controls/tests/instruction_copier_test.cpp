// Instruction lengths and moved displacements, and the entry patch planned from them, on
// byte strings (among them the entries of the platform's functions under Wine).
#include "entry_patch.h"
#include "instruction_copier.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string hex(const Bytes &b)
{
    std::string s;
    char buf[4];
    for (uint8_t c : b) {
        snprintf(buf, sizeof buf, "%02x ", c);
        s += buf;
    }
    return s;
}

// The length of one instruction, each followed by filler the copier must not count.
TEST(InstructionCopier, LengthsOfTheTellingRows)
{
    struct Row {
        Bytes code;
        uint32_t length;
        bool unresolved;
    } rows[] = {
        {{0x00, 0xC0}, 2, false},                          // ADD r/m8, r8 (register form)
        {{0x00, 0x05, 1, 2, 3, 4}, 6, false},              // ADD [disp32], al
        {{0x00, 0x44, 0x24, 0x08}, 4, false},              // ADD [esp+8], al: SIB and disp8
        {{0x00, 0x04, 0x25, 1, 2, 3, 4}, 7, false},        // SIB with no base: disp32
        {{0x00, 0x84, 0x24, 1, 2, 3, 4}, 7, false},        // SIB and disp32
        {{0x05, 1, 2, 3, 4}, 5, false},
        {{0x66, 0x05, 1, 2}, 4, false},                    // with the operand-size prefix: imm16
        {{0x68, 1, 2, 3, 4}, 5, false},
        {{0x66, 0x68, 1, 2}, 4, false},
        {{0x81, 0xEC, 1, 2, 3, 4}, 6, false},              // SUB esp, imm32
        {{0x66, 0x81, 0xC0, 1, 2}, 5, false},
        {{0x83, 0xEC, 0x10}, 3, false},                    // SUB esp, imm8
        {{0x83, 0x7D, 0x08, 0x00}, 4, false},              // CMP [ebp+8], 0
        {{0x9A, 1, 2, 3, 4, 0x23, 0}, 7, true},            // far CALL
        {{0xEA, 1, 2, 3, 4, 0x23, 0}, 7, true},            // far JMP
        {{0x66, 0xEA, 1, 2, 0x23, 0}, 6, true},
        {{0xA1, 1, 2, 3, 4}, 5, false},                    // MOV eax, [moffs32]
        {{0x67, 0xA1, 1, 2}, 4, false},                    // sized by the address-size prefix
        {{0x66, 0xA1, 1, 2, 3, 4}, 6, false},              // not by the operand-size prefix
        {{0xC2, 0x08, 0x00}, 3, false},
        {{0xC3}, 1, false},
        {{0xCC}, 1, true},
        {{0xCD, 0x2E}, 2, true},
        {{0x0F, 0xB6, 0xC0}, 3, false},                    // MOVZX eax, al
        {{0x0F, 0xB6, 0x45, 0x08}, 4, false},              // MOVZX eax, byte [ebp+8]
        {{0x0F, 0x1F, 0x44, 0x00, 0x00}, 5, false},        // the long NOP
        {{0xF6, 0xC1, 0x01}, 3, false},                    // TEST cl, 1
        {{0xF6, 0xD0}, 2, false},                          // NOT al: no immediate
        {{0xF7, 0xC1, 1, 2, 3, 4}, 6, false},              // TEST ecx, imm32
        {{0x66, 0xF7, 0xC1, 1, 2}, 5, false},
        {{0xF7, 0x5D, 0x08}, 3, false},                    // NEG [ebp+8]
        {{0xFF, 0x75, 0x08}, 3, false},                    // PUSH [ebp+8]
        {{0xFF, 0xD0}, 2, true},                           // CALL eax
        {{0xFF, 0x14, 0x85, 1, 2, 3, 4}, 7, true},         // CALL [eax*4+disp32]
        {{0x64, 0xA1, 0x18, 0, 0, 0}, 6, false},           // MOV eax, fs:[0x18]
        {{0xF3, 0xA5}, 2, false},                          // REP MOVSD
        {{0xF0, 0x0F, 0xB1, 0x0A}, 4, false},              // LOCK CMPXCHG [edx], ecx
        {{0x8D, 0x4C, 0x24, 0x04}, 4, false},              // LEA ecx, [esp+4]
        {{0x83, 0xE4, 0xF0}, 3, false},                    // AND esp, -16
        {{0xC8, 0x10, 0x00, 0x00}, 4, false},              // ENTER
        {{0xB8, 1, 2, 3, 4}, 5, false},                    // MOV eax, imm32
        {{0x67, 0x8B, 0x46, 0x02}, 4, false},              // 16-bit addressing: [bp+2]
        {{0x67, 0x8B, 0x06, 1, 2}, 5, false},              // 16-bit addressing: [disp16]
    };
    for (const Row &r : rows) {
        Bytes code = r.code;
        code.insert(code.end(), 8, 0x90);
        CopiedInstruction i = copyInstruction(nullptr, 0, code.data(), code.size(), 0x1000);
        EXPECT_TRUE(i.ok()) << hex(r.code);
        EXPECT_EQ(i.length, r.length) << hex(r.code);
        EXPECT_EQ(i.copied, 0u) << "measuring writes nothing: " << hex(r.code);
        EXPECT_EQ(i.targetUnresolved, r.unresolved) << hex(r.code);

        Bytes out(code.size(), 0xAB);
        CopiedInstruction c = copyInstruction(out.data(), 0x5000, code.data(), code.size(), 0x1000);
        EXPECT_EQ(c.copied, r.length) << hex(r.code);
        EXPECT_EQ(Bytes(out.begin(), out.begin() + r.length), r.code) << "no displacement to move: " << hex(r.code);
        EXPECT_EQ(out[r.length], 0xAB) << "nothing written past the instruction: " << hex(r.code);
    }
}

TEST(InstructionCopier, RelativeCallsAndJumpsReachTheSameTargetFromTheCopy)
{
    struct Row {
        Bytes code;
        uint32_t length;
        uint32_t target;  // from 0x10000
    } rows[] = {
        {{0xE8, 0x10, 0, 0, 0}, 5, 0x10015},
        {{0xE9, 0xF0, 0xFF, 0xFF, 0xFF}, 5, 0xFFF5},
        {{0x0F, 0x84, 0x00, 0x01, 0, 0}, 6, 0x10106},        // JE rel32
        {{0x0F, 0x8F, 0xFA, 0xFF, 0xFF, 0xFF}, 6, 0x10000},  // JG to itself
        {{0x2E, 0x0F, 0x85, 0x04, 0, 0, 0}, 7, 0x1000B},     // a prefix counts with its instruction
    };
    for (const Row &r : rows) {
        Bytes out(16, 0);
        CopiedInstruction c = copyInstruction(out.data(), 0x7FFF0000, r.code.data(), r.code.size(), 0x10000);
        ASSERT_TRUE(c.ok()) << hex(r.code);
        EXPECT_EQ(c.length, r.length) << hex(r.code);
        EXPECT_TRUE(c.hasTarget);
        EXPECT_EQ(c.target, r.target) << hex(r.code);
        // The copy's displacement, read back, leads to the same target from its new place.
        int32_t moved;
        std::memcpy(&moved, out.data() + r.length - 4, 4);
        EXPECT_EQ(0x7FFF0000u + r.length + static_cast<uint32_t>(moved), r.target) << hex(r.code);
        EXPECT_EQ(Bytes(out.begin(), out.begin() + r.length - 4), Bytes(r.code.begin(), r.code.end() - 4));
    }
}

TEST(InstructionCopier, ShortJumpsMoveOnlyWhileTheyStillReach)
{
    Bytes jcc{0x74, 0x10};  // JE +16
    Bytes out(4, 0);
    CopiedInstruction near = copyInstruction(out.data(), 0x1050, jcc.data(), jcc.size(), 0x1000);
    ASSERT_TRUE(near.ok());
    EXPECT_EQ(near.target, 0x1012u);
    EXPECT_EQ(out[1], static_cast<uint8_t>(0x1012 - 0x1052));

    for (uint8_t op : {0x74, 0xEB, 0xE3}) {  // JE, JMP, JECXZ
        Bytes code{op, 0x10};
        Bytes far(4, 0xAB);
        CopiedInstruction c = copyInstruction(far.data(), 0x900000, code.data(), code.size(), 0x1000);
        EXPECT_EQ(c.status, kCopyOutOfReach) << hex(code);
        EXPECT_EQ(c.copied, 0u);
        EXPECT_EQ(far[0], 0xAB) << "nothing half written";
    }
}

TEST(InstructionCopier, BadInputIsRefusedWithoutReadingPastIt)
{
    EXPECT_EQ(copyInstruction(nullptr, 0, nullptr, 10, 0).status, kCopyNoSource);
    uint8_t nop = 0x90;
    EXPECT_EQ(copyInstruction(nullptr, 0, &nop, 0, 0).status, kCopyTruncated);
    struct Row {
        Bytes code;
        CopyStatus status;
    } rows[] = {
        {{0xE8, 1, 2}, kCopyTruncated},
        {{0x66}, kCopyTruncated},
        {{0x0F}, kCopyTruncated},
        {{0x00}, kCopyTruncated},               // the ModRM byte is missing
        {{0x00, 0x04}, kCopyTruncated},         // the SIB byte is missing
        {{0x00, 0x04, 0x25, 1}, kCopyTruncated},  // its displacement is cut
        {{0xFF}, kCopyTruncated},
        {{0xD6}, kCopyInvalid},
        {{0x0F, 0xFF}, kCopyInvalid},
        {{0x0F, 0x0F, 0x90}, kCopyInvalid},     // an escape after an escape
        {Bytes(15, 0x2E), kCopyTruncated},      // prefixes and nothing after them
        {[] { Bytes b(15, 0x2E); b.push_back(0x90); return b; }(), kCopyInvalid},  // 16 bytes
    };
    for (const Row &r : rows) {
        CopiedInstruction c = copyInstruction(nullptr, 0, r.code.data(), r.code.size(), 0);
        EXPECT_EQ(c.status, r.status) << hex(r.code);
        EXPECT_EQ(c.copied, 0u);
    }
    Bytes invalid{0xD6, 0x90};
    Bytes out(2, 0xAB);
    CopiedInstruction c = copyInstruction(out.data(), 0, invalid.data(), invalid.size(), 0);
    EXPECT_EQ(c.length, 1u) << "an unknown opcode counts one byte";
    EXPECT_EQ(c.copied, 0u) << "and copies nothing";
    EXPECT_EQ(out[0], 0xAB);
}

// A stub at 0x00401000 whose routine is at 0x00401800; functions near 0x7B000000.
constexpr uint32_t kStubAt = 0x00401000;
constexpr uint32_t kRoutineAt = 0x00401800;
constexpr uint32_t kFunctionAt = 0x7B012340;
constexpr uint32_t kReplacementAt = 0x00402000;

Bytes freshStub()
{
    Bytes stub(kStubSize);
    buildFreshStub(stub.data(), kStubAt, kRoutineAt);
    return stub;
}

TEST(EntryPatch, AFreshStubCallsItsRoutineAndJumpsToTheAnswer)
{
    Bytes stub = freshStub();
    EXPECT_EQ(hex(Bytes(stub.begin(), stub.begin() + 10)), "90 90 e8 f9 07 00 00 ff e0 c3 ");
    EXPECT_TRUE(isFreshStub(stub.data()));
    EXPECT_EQ(stubRoutine(stub.data(), kStubAt), kRoutineAt);
    stub[1] = 0xCC;
    EXPECT_FALSE(isFreshStub(stub.data()));
}

uint32_t read32(const uint8_t *p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Patches code at kFunctionAt, runs the checks of a patch, removes it and checks the bytes.
void patchAndRestore(const Bytes &code, uint32_t covered)
{
    Bytes stub = freshStub();
    EntryPatch p;
    ASSERT_EQ(planEntryPatch(stub.data(), kStubAt, code.data(), code.size(), kFunctionAt, kReplacementAt, p), kPatchOk)
        << hex(code);
    EXPECT_EQ(p.covered, covered) << hex(code);
    EXPECT_EQ(p.stub[kStubCountByte], covered);
    EXPECT_EQ(p.stub[covered], kOpJump);
    EXPECT_EQ(kStubAt + covered + 5 + read32(p.stub + covered + 1), kFunctionAt + covered) << "back to the rest";
    EXPECT_EQ(p.entry[0], kOpJump);
    EXPECT_EQ(kFunctionAt + 5 + read32(p.entry + 1), kReplacementAt);
    for (uint32_t i = 5; i < covered; ++i) {
        EXPECT_EQ(p.entry[i], kOpBreak);
    }

    Bytes patched = code;
    std::memcpy(patched.data(), p.entry, covered);
    uint32_t entry = 0, count = 0;
    ASSERT_EQ(patchedEntry(p.stub, kStubAt, entry, count), kPatchOk);
    EXPECT_EQ(entry, kFunctionAt);
    EXPECT_EQ(count, covered);
    Bytes restored(covered);
    ASSERT_EQ(planEntryRestore(p.stub, kStubAt, patched.data(), kFunctionAt, kReplacementAt, restored.data()), kPatchOk);
    EXPECT_EQ(restored, Bytes(code.begin(), code.begin() + covered)) << "byte for byte";

    // After removal the stub is made fresh again, and patching the restored function works again.
    std::memcpy(patched.data(), restored.data(), covered);
    EntryPatch again;
    EXPECT_EQ(planEntryPatch(p.stub, kStubAt, patched.data(), patched.size(), kFunctionAt, kReplacementAt, again),
              kPatchNotAStub)
        << "a stub holding moved instructions is not taken for a fresh one";
    EXPECT_EQ(planEntryPatch(stub.data(), kStubAt, patched.data(), patched.size(), kFunctionAt, kReplacementAt, again),
              kPatchOk);
    EXPECT_EQ(Bytes(again.stub, again.stub + kStubSize), Bytes(p.stub, p.stub + kStubSize));
}

TEST(EntryPatch, TheEntriesOfThePlatformsFunctionsUnderWine)
{
    // The scroll and colour functions: MOV EDI,EDI; PUSH EBP; MOV EBP,ESP, then SUB ESP.
    patchAndRestore({0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10, 0xC3}, 5);
    // ShowScrollBar's jump leads to a stub starting MOV EAX, imm32.
    patchAndRestore({0xB8, 0x34, 0x12, 0x00, 0x00, 0xBA, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xE2}, 5);
    // gcc's stack-realigning entry: LEA ECX,[ESP+4]; AND ESP,-16.
    patchAndRestore({0x8D, 0x4C, 0x24, 0x04, 0x83, 0xE4, 0xF0, 0xFF, 0x71, 0xFC}, 7);
    // PUSH EBP; MOV EBP,ESP; PUSH ESI; PUSH EBX.
    patchAndRestore({0x55, 0x89, 0xE5, 0x56, 0x53, 0x83, 0xEC, 0x20}, 5);
    // An entry that calls first: the call is moved and still reaches its target.
    patchAndRestore({0xE8, 0x00, 0x10, 0x00, 0x00, 0x90}, 5);
    // An entry that is itself a jump elsewhere.
    patchAndRestore({0xE9, 0x00, 0x10, 0x00, 0x00}, 5);
    // An indirect jump is moved as it is (it reads an absolute pointer).
    patchAndRestore({0xFF, 0x25, 0x00, 0x20, 0x40, 0x00}, 6);
}

TEST(EntryPatch, ARelocatedCallReachesItsTargetFromTheStub)
{
    Bytes code{0x55, 0xE8, 0x00, 0x01, 0x00, 0x00, 0x5D, 0xC3};  // PUSH EBP; CALL +0x100
    Bytes stub = freshStub();
    EntryPatch p;
    ASSERT_EQ(planEntryPatch(stub.data(), kStubAt, code.data(), code.size(), kFunctionAt, kReplacementAt, p), kPatchOk);
    EXPECT_EQ(p.covered, 6u);
    EXPECT_EQ(kStubAt + 6 + read32(p.stub + 2), kFunctionAt + 6 + 0x100);
}

TEST(EntryPatch, FunctionsThatCannotBePatchedStayUnchanged)
{
    struct Row {
        Bytes code;
        PatchStatus status;
    } rows[] = {
        {{0xC3, 0x90, 0x90, 0x90, 0x90, 0x90}, kPatchEndsTooSoon},         // a one-byte return
        {{0x31, 0xC0, 0xC2, 0x04, 0x00, 0x90, 0x90}, kPatchOk},            // XOR; RET 4 covers five bytes
        {{0x31, 0xC0, 0xC3, 0x90, 0x90, 0x90}, kPatchEndsTooSoon},
        {{0x90, 0x2E, 0xFF, 0x25, 1, 2, 3, 4}, kPatchOk},                  // an indirect jump behind a prefix ends it
        {{0x90, 0xE9, 0, 0, 0, 0}, kPatchOk},
        {{0xEB, 0x10, 0x90, 0x90, 0x90, 0x90}, kPatchUnmovable},           // a short jump no longer reaches
        {{0x90, 0x90, 0x75, 0x02, 0x90, 0x90}, kPatchUnmovable},
        {{0xD6, 0x90, 0x90, 0x90, 0x90}, kPatchUnmovable},
        {{0x90, 0x90}, kPatchUnmovable},                                     // cut off
        {{0x00, 0x84, 0x24, 1, 2, 3, 4, 0xC3}, kPatchOk},                  // one 7-byte instruction moves whole
    };
    for (const Row &r : rows) {
        Bytes stub = freshStub();
        EntryPatch p;
        EXPECT_EQ(planEntryPatch(stub.data(), kStubAt, r.code.data(), r.code.size(), kFunctionAt, kReplacementAt, p),
                  r.status)
            << hex(r.code);
    }
    // The most that can move: four one-byte instructions, then one of 15 bytes.
    Bytes longest{0x90, 0x90, 0x90, 0x90};
    longest.insert(longest.end(), 13, 0x2E);
    longest.insert(longest.end(), {0x83, 0xC0});
    longest.push_back(0x01);
    longest.push_back(0xC3);
    ASSERT_EQ(longest.size(), 4u + 16u + 1u);
    Bytes stub = freshStub();
    EntryPatch p;
    EXPECT_EQ(planEntryPatch(stub.data(), kStubAt, longest.data(), longest.size(), kFunctionAt, kReplacementAt, p),
              kPatchUnmovable)
        << "a 16-byte instruction is refused";
    longest.erase(longest.begin() + 4);
    ASSERT_EQ(planEntryPatch(stub.data(), kStubAt, longest.data(), longest.size(), kFunctionAt, kReplacementAt, p),
              kPatchOk);
    EXPECT_EQ(p.covered, 19u);
}

TEST(EntryPatch, RemovalRefusesWhatItDidNotPatch)
{
    Bytes code{0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0xC3};
    Bytes stub = freshStub();
    Bytes restored(8);
    EXPECT_EQ(planEntryRestore(stub.data(), kStubAt, code.data(), kFunctionAt, kReplacementAt, restored.data()),
              kPatchNotPatched);
    EntryPatch p;
    ASSERT_EQ(planEntryPatch(stub.data(), kStubAt, code.data(), code.size(), kFunctionAt, kReplacementAt, p), kPatchOk);
    EXPECT_EQ(planEntryRestore(p.stub, kStubAt, code.data(), kFunctionAt, kReplacementAt, restored.data()), kPatchNoJump)
        << "the entry no longer holds our jump";
    EXPECT_EQ(planEntryRestore(p.stub, kStubAt, p.entry, kFunctionAt, kReplacementAt + 1, restored.data()),
              kPatchWrongJump)
        << "another patcher's jump";
    Bytes broken(p.stub, p.stub + kStubSize);
    broken[kStubCountByte] = 31;
    EXPECT_EQ(planEntryRestore(broken.data(), kStubAt, p.entry, kFunctionAt, kReplacementAt, restored.data()),
              kPatchNotPatched);
}

TEST(EntryPatch, LeadingJumpsAreFollowed)
{
    Bytes indirect{0xFF, 0x25, 0x78, 0x56, 0x34, 0x12};
    LeadingJump j = leadingJump(indirect.data(), indirect.size(), 0x1000, true);
    EXPECT_EQ(j.kind, LeadingJump::kIndirect);
    EXPECT_EQ(j.value, 0x12345678u);
    Bytes relative{0xE9, 0x10, 0x00, 0x00, 0x00};
    EXPECT_EQ(leadingJump(relative.data(), relative.size(), 0x1000, true).value, 0x1015u);
    EXPECT_EQ(leadingJump(relative.data(), relative.size(), 0x1000, false).kind, LeadingJump::kNone)
        << "a replacement is followed through indirect jumps only";
    EXPECT_EQ(leadingJump(indirect.data(), 5, 0x1000, true).kind, LeadingJump::kNone);
}

}  // namespace
