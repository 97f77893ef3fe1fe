// Text as an OLE data object (CF_UNICODETEXT in a GMEM_FIXED block with its terminating
// null) and a drop source, for dragging text out of a window.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>

// A data object holding the text; the caller owns the one reference it starts with.
IDataObject* createTextDataObject(const std::wstring& text);
// A drop source that drops on button release and cancels on Escape; one reference.
IDropSource* createDropSource();
// The text of a GMEM_FIXED/HGLOBAL CF_UNICODETEXT block, bounded by the block's size.
std::wstring textOfGlobal(HGLOBAL block);
