// Finding the word under the capture point in the text that the target draws.
//
// Text drawn straight onto the window under the point is hit-tested at once: the run
// under the point becomes the fragment, and a word cut at the end of a call is continued
// by the next call (join) or remembered until the next call shows whether the point lies
// in its continuation (pending). Text drawn into a memory context is cut into word boxes;
// when that context is copied onto the window under the point, the boxes are hit-tested.
#pragma once

#include <cstdint>

#include "capturetext.h"
#include "textplacement.h"

namespace tchk {

class WordLocator {
  public:
    WordLocator(CaptureText& state, WordBox* boxes) : s_(state), boxes_(boxes) {}

    // A call on a window context. Answers whether the fragment was stored or grew (the
    // caller then tells the fly window).
    bool locateInLine(const char16_t* text, int length, TextPlacement& placement, Point point);

    // A call on a memory context: its text joins the line buffer and its runs become boxes.
    void recordBoxes(uintptr_t dc, const char16_t* text, int length, TextPlacement& placement);

    // The memory context `dc` was copied so that its device point (0, 0) lies at `offset` on
    // the screen. Answers whether a fragment was stored from its boxes.
    bool locateInBoxes(uintptr_t dc, Point offset, Point point);

    // A call that cannot take part breaks any word that spans calls; markLastBox also ends
    // the last word box (with a blank separator).
    void breakWord(bool markLastBox);

    // Stores the run as the fragment: appended to an existing fragment only while join is
    // set, else the pending word and the run, else the run alone; at most 255 characters.
    bool storeFragment(const char16_t* run, int length);

  private:
    bool identicalBoxExists(const Rect& r) const;
    void appendPending(const char16_t* run, int length);

    CaptureText& s_;
    WordBox* boxes_;
};

// The text handed to the caller: each fragment followed by one blank.
void buildResult(const CaptureText& s, char16_t* result, int capacity);

}  // namespace tchk
