#include "textpatches.h"

#include "shared.h"

namespace tchk {

namespace {

PatchRecord record(const wchar_t* module, const char* function, const char* replacement) {
    PatchRecord r{};
    r.targetModule = module;
    r.targetFunction = function;
    r.replacementFunction = replacement;
    return r;
}

const wchar_t kGdi[] = L"gdi32.dll";
const wchar_t kUser[] = L"user32.dll";

PatchRecord g_records[kPatchCount] = {
    record(kGdi, "BitBlt", "TCBitBlt"),
    record(kGdi, "TextOutA", "TCTextOutA"),
    record(kGdi, "TextOutW", "TCTextOutW"),
    record(kGdi, "ExtTextOutA", "TCExtTextOutA"),
    record(kGdi, "ExtTextOutW", "TCExtTextOutW"),
    record(kGdi, "GetCharacterPlacementW", "TCGetCharacterPlacementW"),
    record(kGdi, "GetCharacterPlacementA", "TCGetCharacterPlacementA"),
    record(kUser, "TabbedTextOutW", "TCTabbedTextOutW"),
    record(kUser, "DrawTextW", "TCDrawTextW"),
    record(kUser, "DrawTextExW", "TCDrawTextExW"),
    record(kUser, "DrawTextA", "TCDrawTextA"),
    record(kUser, "DrawTextExA", "TCDrawTextExA"),
};

const PatchId kPatchOrder[kPatchCount] = {
    kPatchBitBlt,        kPatchTextOutA,  kPatchTextOutW,  kPatchExtTextOutA,
    kPatchExtTextOutW,   kPatchGetCharacterPlacementW,     kPatchGetCharacterPlacementA,
    kPatchTabbedTextOutW, kPatchDrawTextW, kPatchDrawTextExW, kPatchDrawTextExA, kPatchDrawTextA,
};

}  // namespace

void setPatchLibrary(HMODULE library) {
    for (PatchRecord& r : g_records) r.library = library;
}

void patchTextFunctions() {
    for (PatchId id : kPatchOrder) applyPatch(g_records[id]);
}

void unpatchTextFunctions() {
    for (int i = kPatchCount - 1; i >= 0; --i) removePatch(g_records[kPatchOrder[i]]);
}

PatchLift::PatchLift(PatchId id) : id_(id) {
    LastErrorKeeper keep;
    liftPatch(g_records[id_]);
}

PatchLift::~PatchLift() {
    LastErrorKeeper keep;
    restorePatch(g_records[id_]);
}

}  // namespace tchk
