// What the replacement functions do with an intercepted call before the real function
// draws: decide whether the call takes part in the capture, measure it in its device
// context and hand it to the word locator.
#pragma once

#include <windows.h>

namespace tchk {

enum class TextCallKind { Plain, Extended };

// A TextOut or ExtTextOut call (UTF-16). `advances` is the call's advance array, read with
// the given stride (2 with ETO_PDY), or null.
void onTextCall(TextCallKind kind, HDC dc, int x, int y, UINT options, const wchar_t* text, int length,
                const INT* advances);
// The same for ANSI text, converted from the ANSI code page first (at most 399 characters).
void onTextCallA(TextCallKind kind, HDC dc, int x, int y, UINT options, const char* text, int length,
                 const INT* advances);

// A BitBlt: ends the pending word, and when the destination is the window under the point,
// looks for the word in the boxes recorded for the source context.
void onBlit(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY);

// After a DrawText call: a word does not go on past it.
void onTextBlockDrawn();

}  // namespace tchk
