// GDI resources of skin objects: fonts from 8-bit font records (the face name widened),
// solid brushes, and regions from one-row rectangles.
#ifdef _WIN32
#include <windows.h>

#include <cstring>
#include <vector>

#include "skin_gdi.h"

SkinGdiHandle skinCreateFont(const SkinFontRecord &font)
{
    LOGFONTW logical;
    std::memset(&logical, 0, sizeof logical);
    logical.lfHeight = font.height;
    logical.lfWidth = font.width;
    logical.lfEscapement = font.escapement;
    logical.lfOrientation = font.orientation;
    logical.lfWeight = font.weight;
    logical.lfItalic = font.italic;
    logical.lfUnderline = font.underline;
    logical.lfStrikeOut = font.strikeOut;
    logical.lfCharSet = font.charSet;
    logical.lfOutPrecision = font.outPrecision;
    logical.lfClipPrecision = font.clipPrecision;
    logical.lfQuality = font.quality;
    logical.lfPitchAndFamily = font.pitchAndFamily;
    char face[kSkinFaceBytes + 1] = {};
    std::memcpy(face, font.face, kSkinFaceBytes);
    MultiByteToWideChar(CP_ACP, 0, face, -1, logical.lfFaceName, LF_FACESIZE);
    logical.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return CreateFontIndirectW(&logical);
}

SkinGdiHandle skinCreateSolidBrush(SkinColor color) { return CreateSolidBrush(color); }

SkinGdiHandle skinCreateRegion(const std::vector<SkinRect> &rects, int32_t width, int32_t height)
{
    if (rects.empty()) {
        return CreateRectRgn(0, 0, 0, 0);
    }
    const size_t bytes = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
    std::vector<uint8_t> buffer(bytes);
    RGNDATA *data = reinterpret_cast<RGNDATA *>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    SetRect(&data->rdh.rcBound, 0, 0, width, height);
    RECT *out = reinterpret_cast<RECT *>(data->Buffer);
    for (size_t i = 0; i < rects.size(); ++i) {
        SetRect(&out[i], rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    }
    return ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data);
}

void skinDeleteGdiObject(SkinGdiHandle handle)
{
    if (handle != nullptr) {
        DeleteObject(static_cast<HGDIOBJ>(handle));
    }
}
#endif
