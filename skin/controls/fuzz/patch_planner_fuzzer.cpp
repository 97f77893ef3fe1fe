// Feeds arbitrary bytes to the instruction copier, the entry patch planner and the import
// table reader: the first four bytes give the code's address, the rest is the code or image.
#include <cstdint>
#include <cstring>
#include <vector>

#include "entry_patch.h"
#include "instruction_copier.h"
#include "pe_imports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4 || size > (1u << 16)) {
        return 0;
    }
    uint32_t address;
    std::memcpy(&address, data, 4);
    std::vector<uint8_t> code(data + 4, data + size);  // exactly the bytes given, so overruns are caught

    for (size_t at = 0; at < code.size();) {
        uint8_t copy[16];
        CopiedInstruction c = copyInstruction(copy, address ^ 0x5A5A0000, code.data() + at, code.size() - at,
                                              address + static_cast<uint32_t>(at));
        if (c.copied > sizeof copy || (c.ok() && c.copied != c.length)) {
            __builtin_trap();
        }
        if (c.length == 0) {
            break;  // cut off at the end
        }
        at += c.length;
    }
    uint8_t stub[kStubSize];
    buildFreshStub(stub, 0x00401000, 0x00401800);
    EntryPatch p;
    if (planEntryPatch(stub, 0x00401000, code.data(), code.size(), address, 0x00402000, p) == kPatchOk) {
        std::vector<uint8_t> patched = code;
        std::memcpy(patched.data(), p.entry, p.covered);
        uint8_t restored[kMostCovered];
        if (planEntryRestore(p.stub, 0x00401000, patched.data(), address, 0x00402000, restored) != kPatchOk ||
            std::memcmp(restored, code.data(), p.covered) != 0) {
            __builtin_trap();  // a patch that cannot be undone byte for byte
        }
    }
    PeImage image(code.data(), code.size());
    findImportSlot(image, "USER32.dll", address, 0x7FFEFFFF, nullptr);
    return 0;
}
