// The replacements of the twelve text-output functions. Each lifts its own patch, lets the
// capture look at the call, calls the real function and patches itself again. TextOut and
// ExtTextOut mark the thread while the real function runs, so the nested calls it makes
// (TextOutW ends in ExtTextOutW) only pass through; DrawText and TabbedTextOut leave the
// work to the ExtTextOutW calls they make.
#include <windows.h>

#include "shared.h"
#include "textcall.h"
#include "textpatches.h"

using namespace tchk;

namespace {

bool nested() { return (threadFlags() & kInsideTextCall) != 0; }

}  // namespace

extern "C" {

BOOL WINAPI TCTextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    PatchLift lift(kPatchTextOutW);
    if (!nested()) onTextCall(TextCallKind::Plain, dc, x, y, 0, text, count, nullptr);
    ThreadFlagScope inside(kInsideTextCall);
    return TextOutW(dc, x, y, text, count);
}

BOOL WINAPI TCTextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    PatchLift lift(kPatchTextOutA);
    if (!nested()) onTextCallA(TextCallKind::Plain, dc, x, y, 0, text, count, nullptr);
    ThreadFlagScope inside(kInsideTextCall);
    return TextOutA(dc, x, y, text, count);
}

BOOL WINAPI TCExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                          const INT* dx) {
    PatchLift lift(kPatchExtTextOutW);
    if (!nested())
        onTextCall(TextCallKind::Extended, dc, x, y, options, text, static_cast<int>(count), dx);
    ThreadFlagScope inside(kInsideTextCall);
    return ExtTextOutW(dc, x, y, options, rect, text, count, dx);
}

BOOL WINAPI TCExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                          const INT* dx) {
    PatchLift lift(kPatchExtTextOutA);
    if (!nested())
        onTextCallA(TextCallKind::Extended, dc, x, y, options, text, static_cast<int>(count), dx);
    ThreadFlagScope inside(kInsideTextCall);
    return ExtTextOutA(dc, x, y, options, rect, text, count, dx);
}

BOOL WINAPI TCBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    PatchLift lift(kPatchBitBlt);
    onBlit(dc, x, y, width, height, source, sourceX, sourceY);
    return BitBlt(dc, x, y, width, height, source, sourceX, sourceY, rop);
}

int WINAPI TCDrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    PatchLift lift(kPatchDrawTextW);
    const int result = DrawTextW(dc, text, count, rect, format);
    onTextBlockDrawn();
    return result;
}

int WINAPI TCDrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    PatchLift lift(kPatchDrawTextA);
    const int result = DrawTextA(dc, text, count, rect, format);
    onTextBlockDrawn();
    return result;
}

int WINAPI TCDrawTextExW(HDC dc, LPWSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
    PatchLift lift(kPatchDrawTextExW);
    const int result = DrawTextExW(dc, text, count, rect, format, params);
    onTextBlockDrawn();
    return result;
}

int WINAPI TCDrawTextExA(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
    PatchLift lift(kPatchDrawTextExA);
    const int result = DrawTextExA(dc, text, count, rect, format, params);
    onTextBlockDrawn();
    return result;
}

DWORD WINAPI TCGetCharacterPlacementW(HDC dc, LPCWSTR text, int count, int maxExtent, LPGCP_RESULTSW results,
                                      DWORD flags) {
    PatchLift lift(kPatchGetCharacterPlacementW);
    return GetCharacterPlacementW(dc, text, count, maxExtent, results, flags);
}

DWORD WINAPI TCGetCharacterPlacementA(HDC dc, LPCSTR text, int count, int maxExtent, LPGCP_RESULTSA results,
                                      DWORD flags) {
    PatchLift lift(kPatchGetCharacterPlacementA);
    return GetCharacterPlacementA(dc, text, count, maxExtent, results, flags);
}

LONG WINAPI TCTabbedTextOutW(HDC dc, int x, int y, LPCWSTR text, int count, int tabCount, const INT* tabStops,
                             int tabOrigin) {
    PatchLift lift(kPatchTabbedTextOutW);
    ThreadFlagScope tabbed(kInsideTabbedText);
    return TabbedTextOutW(dc, x, y, text, count, tabCount, tabStops, tabOrigin);
}

}  // extern "C"
