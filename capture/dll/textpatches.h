// The twelve text-output functions the library patches in a target process, in their order.
#pragma once

#include <windows.h>

#include "patcher.h"

namespace tchk {

enum PatchId {
    kPatchBitBlt,
    kPatchTextOutA,
    kPatchTextOutW,
    kPatchExtTextOutA,
    kPatchExtTextOutW,
    kPatchGetCharacterPlacementW,
    kPatchGetCharacterPlacementA,
    kPatchTabbedTextOutW,
    kPatchDrawTextW,
    kPatchDrawTextExW,
    kPatchDrawTextA,
    kPatchDrawTextExA,
    kPatchCount
};

void setPatchLibrary(HMODULE library);
// Records 0-9, then 11 and 10; removal in the opposite order, so a function reached by two
// records still gets its own first bytes back.
void patchTextFunctions();
void unpatchTextFunctions();

// Lifts one record's patch for the life of the object (the real function is called in it).
class PatchLift {
  public:
    explicit PatchLift(PatchId id);
    ~PatchLift();
    PatchLift(const PatchLift&) = delete;
    PatchLift& operator=(const PatchLift&) = delete;

  private:
    PatchId id_;
};

}  // namespace tchk
