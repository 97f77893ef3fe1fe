#include "instruction_copier.h"

#include <array>
#include <cstring>

namespace {

// How an opcode byte is handled.
enum Handler : uint8_t {
    kGeneric,
    kPrefix,          // segment, lock and repeat prefixes
    kOperandSize,     // 0x66
    kAddressSize,     // 0x67
    kTwoByte,         // 0x0F: the next byte through the second table
    kGroupF6,         // TEST r/m8, imm8 and the unary forms
    kGroupF7,
    kGroupFF,         // INC/DEC/CALL/JMP/PUSH r/m
    kInvalid,
};

// One opcode's entry. Lengths count from the opcode byte (for the second table from the
// byte after 0x0F); 0 in modrm or displacement means none.
struct Entry {
    Handler handler = kInvalid;
    uint8_t length = 1;
    uint8_t prefixedLength = 1;   // with the operand-size prefix, or the address-size one when addressSized
    uint8_t modrm = 0;            // offset of the ModRM byte
    uint8_t displacement = 0;     // offset of a relative displacement running to the instruction's end
    bool unresolved = false;      // the target is not known from the bytes
    bool addressSized = false;
};

using Table = std::array<Entry, 256>;

Entry generic(uint8_t length, uint8_t prefixed, uint8_t modrm = 0, uint8_t displacement = 0)
{
    Entry e;
    e.handler = kGeneric;
    e.length = length;
    e.prefixedLength = prefixed;
    e.modrm = modrm;
    e.displacement = displacement;
    return e;
}
Entry fixed(uint8_t length) { return generic(length, length); }
Entry withModrm(uint8_t length = 2) { return generic(length, length, 1); }
Entry handled(Handler h)
{
    Entry e;
    e.handler = h;
    return e;
}

void setRange(Table &t, int from, int to, const Entry &e)
{
    for (int i = from; i <= to; ++i) {
        t[i] = e;
    }
}

Table makeOneByteTable()
{
    Table t;
    setRange(t, 0x00, 0xFF, fixed(1));
    for (int row = 0x00; row <= 0x38; row += 0x08) {  // the ALU rows: r/m forms, AL imm8, eAX imm32
        setRange(t, row, row + 3, withModrm());
        t[row + 4] = fixed(2);
        t[row + 5] = generic(5, 3);
    }
    t[0x0F] = handled(kTwoByte);
    for (int p : {0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65, 0xF0, 0xF2, 0xF3}) {
        t[p] = handled(kPrefix);
    }
    t[0x66] = handled(kOperandSize);
    t[0x67] = handled(kAddressSize);
    t[0x62] = withModrm();                 // BOUND
    t[0x63] = withModrm();                 // ARPL
    t[0x68] = generic(5, 3);               // PUSH imm32
    t[0x69] = generic(6, 4, 1);            // IMUL r, r/m, imm32
    t[0x6A] = fixed(2);
    t[0x6B] = generic(3, 3, 1);
    setRange(t, 0x70, 0x7F, generic(2, 2, 0, 1));  // Jcc rel8
    t[0x80] = generic(3, 3, 1);
    t[0x81] = generic(6, 4, 1);
    t[0x82] = generic(3, 3, 1);
    t[0x83] = generic(3, 3, 1);
    setRange(t, 0x84, 0x8F, withModrm());  // TEST, XCHG, MOV, LEA, POP r/m
    t[0x9A] = generic(7, 5);               // far CALL
    t[0x9A].unresolved = true;
    setRange(t, 0xA0, 0xA3, generic(5, 3));  // MOV with a memory offset: sized by the address size
    for (int i = 0xA0; i <= 0xA3; ++i) {
        t[i].addressSized = true;
    }
    t[0xA8] = fixed(2);
    t[0xA9] = generic(5, 3);
    setRange(t, 0xB0, 0xB7, fixed(2));
    setRange(t, 0xB8, 0xBF, generic(5, 3));
    t[0xC0] = generic(3, 3, 1);
    t[0xC1] = generic(3, 3, 1);
    t[0xC2] = fixed(3);                    // RET imm16
    t[0xC4] = withModrm();
    t[0xC5] = withModrm();
    t[0xC6] = generic(3, 3, 1);
    t[0xC7] = generic(6, 4, 1);
    t[0xC8] = fixed(4);                    // ENTER imm16, imm8
    t[0xCA] = fixed(3);
    t[0xCC] = fixed(1);
    t[0xCC].unresolved = true;
    t[0xCD] = fixed(2);
    t[0xCD].unresolved = true;
    setRange(t, 0xD0, 0xD3, withModrm());
    t[0xD4] = fixed(2);
    t[0xD5] = fixed(2);
    t[0xD6] = handled(kInvalid);
    setRange(t, 0xD8, 0xDF, withModrm());  // floating point
    setRange(t, 0xE0, 0xE3, generic(2, 2, 0, 1));  // LOOPcc, JECXZ rel8
    setRange(t, 0xE4, 0xE7, fixed(2));
    t[0xE8] = generic(5, 3, 0, 1);         // CALL rel32
    t[0xE9] = generic(5, 3, 0, 1);         // JMP rel32
    t[0xEA] = generic(7, 5);               // far JMP
    t[0xEA].unresolved = true;
    t[0xEB] = generic(2, 2, 0, 1);         // JMP rel8
    t[0xF1] = handled(kInvalid);
    t[0xF6] = handled(kGroupF6);
    t[0xF7] = handled(kGroupF7);
    t[0xFE] = withModrm();
    t[0xFF] = handled(kGroupFF);
    return t;
}

Table makeTwoByteTable()
{
    Table t;
    setRange(t, 0x00, 0xFF, handled(kInvalid));
    setRange(t, 0x00, 0x03, withModrm());
    t[0x06] = fixed(1);                    // CLTS
    t[0x08] = fixed(1);
    t[0x09] = fixed(1);
    t[0x0B] = fixed(1);                    // UD2
    t[0x0D] = withModrm();
    setRange(t, 0x10, 0x17, withModrm());
    setRange(t, 0x18, 0x1F, withModrm());  // hints and the long NOP
    setRange(t, 0x20, 0x23, withModrm());
    setRange(t, 0x28, 0x2F, withModrm());
    setRange(t, 0x30, 0x35, fixed(1));     // WRMSR, RDTSC, RDMSR, RDPMC, SYSENTER, SYSEXIT
    setRange(t, 0x40, 0x4F, withModrm());  // CMOVcc
    setRange(t, 0x50, 0x6F, withModrm());
    t[0x70] = generic(3, 3, 1);            // PSHUF* imm8
    setRange(t, 0x71, 0x73, generic(3, 3, 1));
    setRange(t, 0x74, 0x76, withModrm());
    t[0x77] = fixed(1);                    // EMMS
    setRange(t, 0x7C, 0x7F, withModrm());
    setRange(t, 0x80, 0x8F, generic(5, 3, 0, 1));  // Jcc rel32
    setRange(t, 0x90, 0x9F, withModrm());  // SETcc
    setRange(t, 0xA0, 0xA2, fixed(1));     // PUSH FS, POP FS, CPUID
    t[0xA3] = withModrm();
    t[0xA4] = generic(3, 3, 1);
    t[0xA5] = withModrm();
    setRange(t, 0xA8, 0xAA, fixed(1));
    t[0xAB] = withModrm();
    t[0xAC] = generic(3, 3, 1);
    setRange(t, 0xAD, 0xAF, withModrm());
    setRange(t, 0xB0, 0xB8, withModrm());  // CMPXCHG, LSS, BTR, LFS, LGS, MOVZX, POPCNT
    t[0xBA] = generic(3, 3, 1);
    setRange(t, 0xBB, 0xBF, withModrm());  // BTC, BSF, BSR, MOVSX
    t[0xC0] = withModrm();
    t[0xC1] = withModrm();
    t[0xC2] = generic(3, 3, 1);
    t[0xC3] = withModrm();
    setRange(t, 0xC4, 0xC6, generic(3, 3, 1));
    t[0xC7] = withModrm();
    setRange(t, 0xC8, 0xCF, fixed(1));     // BSWAP
    setRange(t, 0xD0, 0xFE, withModrm());
    return t;
}

const Table &oneByteTable()
{
    static const Table t = makeOneByteTable();
    return t;
}
const Table &twoByteTable()
{
    static const Table t = makeTwoByteTable();
    return t;
}

constexpr uint8_t kModrmSib = 0x10;
// The processor refuses longer instructions (prefixes included).
constexpr uint32_t kLongestInstruction = 15;
constexpr uint8_t kModrmCountMask = 0x0F;

// The bytes after a ModRM byte (32-bit addressing), with kModrmSib when a SIB byte is among them.
std::array<uint8_t, 256> makeModrmTable()
{
    std::array<uint8_t, 256> t{};
    for (int m = 0; m < 256; ++m) {
        int mod = m >> 6;
        int rm = m & 7;
        uint8_t sib = rm == 4 && mod != 3 ? 1 : 0;
        uint8_t displacement = mod == 1 ? 1 : mod == 2 ? 4 : (mod == 0 && rm == 5) ? 4 : 0;
        t[m] = static_cast<uint8_t>((sib + displacement) | (sib ? kModrmSib : 0));
    }
    return t;
}

const std::array<uint8_t, 256> &modrmTable()
{
    static const std::array<uint8_t, 256> t = makeModrmTable();
    return t;
}

// The bytes after a ModRM byte under the address-size prefix (16-bit addressing, no SIB).
uint32_t modrmExtra16(uint8_t m)
{
    int mod = m >> 6;
    if (mod == 1) {
        return 1;
    }
    if (mod == 2) {
        return 2;
    }
    return mod == 0 && (m & 7) == 6 ? 2 : 0;
}

struct Decoder {
    const uint8_t *source;
    size_t available;
    uint32_t at = 0;          // bytes of prefixes and escape seen
    bool operandSize = false;
    bool addressSize = false;
};

bool byteAt(const Decoder &d, uint32_t offset, uint8_t &out)
{
    if (offset >= d.available) {
        return false;
    }
    out = d.source[offset];
    return true;
}

// The extras that a ModRM byte at offset announces; false when it lies past the end.
bool modrmExtras(const Decoder &d, uint32_t offset, uint32_t &extras)
{
    uint8_t m;
    if (!byteAt(d, offset, m)) {
        return false;
    }
    if (d.addressSize) {
        extras = modrmExtra16(m);
        return true;
    }
    uint8_t entry = modrmTable()[m];
    extras = entry & kModrmCountMask;
    if (entry & kModrmSib) {
        uint8_t sib;
        if (!byteAt(d, offset + 1, sib)) {
            return false;
        }
        if ((m >> 6) == 0 && (sib & 7) == 5) {
            extras += 4;
        }
    }
    return true;
}

int32_t readDisplacement(const uint8_t *p, uint32_t size)
{
    if (size == 1) {
        return static_cast<int8_t>(p[0]);
    }
    if (size == 2) {
        return static_cast<int16_t>(p[0] | (p[1] << 8));
    }
    uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(v);
}

void writeDisplacement(uint8_t *p, uint32_t size, int64_t value)
{
    for (uint32_t i = 0; i < size; ++i) {
        p[i] = static_cast<uint8_t>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
    }
}

bool fits(int64_t value, uint32_t size)
{
    if (size == 1) {
        return value >= -128 && value <= 127;
    }
    if (size == 2) {
        return value >= -32768 && value <= 32767;
    }
    return true;  // 32-bit displacements reach every address modulo 2^32
}

}  // namespace

CopiedInstruction copyInstruction(uint8_t *destination, uint32_t to, const uint8_t *source, size_t available,
                                  uint32_t from)
{
    CopiedInstruction r;
    if (!source) {
        return r;
    }
    Decoder d{source, available};
    const Table *table = &oneByteTable();
    r.status = kCopyTruncated;
    for (;;) {
        uint8_t op;
        if (!byteAt(d, d.at, op)) {
            return r;
        }
        Entry e = (*table)[op];
        uint32_t opAt = d.at;
        uint32_t length = 0;
        switch (e.handler) {
        case kPrefix:
        case kOperandSize:
        case kAddressSize:
            if (table != &oneByteTable()) {
                e.handler = kInvalid;
                break;
            }
            d.operandSize |= e.handler == kOperandSize;
            d.addressSize |= e.handler == kAddressSize;
            ++d.at;
            continue;
        case kTwoByte:
            if (table != &oneByteTable()) {
                e.handler = kInvalid;
                break;
            }
            table = &twoByteTable();
            ++d.at;
            continue;
        default:
            break;
        }
        if (e.handler == kInvalid) {
            r.status = kCopyInvalid;
            r.length = opAt + 1;
            r.copied = 0;
            return r;
        }
        uint32_t extras = 0;
        switch (e.handler) {
        case kGroupF6:
        case kGroupF7: {
            uint8_t m;
            if (!byteAt(d, opAt + 1, m) || !modrmExtras(d, opAt + 1, extras)) {
                return r;
            }
            bool test = ((m >> 3) & 7) == 0;
            uint32_t immediate = !test ? 0 : e.handler == kGroupF6 ? 1 : d.operandSize ? 2 : 4;
            length = 2 + immediate + extras;
            break;
        }
        case kGroupFF: {
            uint8_t m;
            if (!byteAt(d, opAt + 1, m) || !modrmExtras(d, opAt + 1, extras)) {
                return r;
            }
            int reg = (m >> 3) & 7;
            length = 2 + extras;
            if (reg >= 2 && reg <= 5) {
                r.targetUnresolved = true;
                if ((m == 0x15 || m == 0x25) && !d.addressSize && opAt + 6 <= available) {
                    r.targetUnresolved = false;
                    r.hasTarget = true;
                    r.indirect = true;
                    r.target = static_cast<uint32_t>(readDisplacement(source + opAt + 2, 4));
                }
            }
            break;
        }
        default: {
            bool sized = e.addressSized ? d.addressSize : d.operandSize;
            length = sized ? e.prefixedLength : e.length;
            if (e.modrm && !modrmExtras(d, opAt + e.modrm, extras)) {
                return r;
            }
            length += extras;
            r.targetUnresolved = e.unresolved;
            break;
        }
        }
        uint32_t total = opAt + length;
        if (total > kLongestInstruction) {
            r.status = kCopyInvalid;
            r.length = 1;
            r.targetUnresolved = r.hasTarget = r.indirect = false;
            return r;
        }
        if (total > available) {
            return r;
        }
        r.length = total;
        if (e.handler == kGeneric && e.displacement) {
            uint32_t size = length - e.displacement;
            int32_t displacement = readDisplacement(source + total - size, size);
            uint32_t target = from + total + static_cast<uint32_t>(displacement);
            if (size == 2) {
                target &= 0xFFFF;  // a 16-bit displacement leaves the high half of the address cleared
            }
            r.hasTarget = true;
            r.target = target;
            if (destination) {
                int64_t moved = static_cast<int32_t>(target - (to + total));
                if (size == 2) {
                    moved = static_cast<int64_t>(target) - ((to + total) & 0xFFFF);
                    if (((to + total) & 0xFFFF0000u) != 0) {
                        r.status = kCopyOutOfReach;
                        return r;
                    }
                }
                if (!fits(moved, size)) {
                    r.status = kCopyOutOfReach;
                    return r;
                }
                std::memcpy(destination, source, total);
                writeDisplacement(destination + total - size, size, moved);
                r.copied = total;
            }
        } else if (destination) {
            std::memcpy(destination, source, total);
            r.copied = total;
        }
        r.status = kCopyOk;
        return r;
    }
}

bool endsMeasurableCode(const uint8_t *code, size_t available)
{
    size_t i = 0;
    while (i < available && (code[i] == 0x26 || code[i] == 0x2E || code[i] == 0x36 || code[i] == 0x3E ||
                             code[i] == 0x64 || code[i] == 0x65)) {
        ++i;
    }
    if (i >= available) {
        return false;
    }
    uint8_t op = code[i];
    if (i == 0 && (op == 0xC2 || op == 0xC3 || op == 0xE0 || op == 0xE9)) {
        return true;
    }
    return op == 0xFF && i + 1 < available && code[i + 1] == 0x25;
}
