#include "textcall.h"

#include "shared.h"
#include "textplacement.h"
#include "wordlocator.h"

namespace tchk {

namespace {

constexpr int kMaxAnsiCharacters = 399;
constexpr int kPrefixCacheSize = 4096;

// Prefix widths of the call being measured. Only the thread of the window under the point
// gets this far, one call at a time.
int g_prefixWidths[kPrefixCacheSize];

class DcPlacement : public TextPlacement {
  public:
    DcPlacement(HDC dc, const wchar_t* text, int length, const INT* advances, int stride, Point origin)
        : dc_(dc), text_(text), length_(length), advances_(advances), stride_(stride), origin_(origin) {}

    int32_t prefixWidth(int count) override {
        if (count <= 0) return 0;
        if (count > length_) count = length_;
        if (count <= cached_) return g_prefixWidths[count - 1];
        if (fillCache() && count <= cached_) return g_prefixWidths[count - 1];
        if (advances_) {
            int32_t w = 0;
            for (int i = 0; i < count; ++i) w += advances_[i * stride_];
            return w;
        }
        SIZE size{};
        GetTextExtentPoint32W(dc_, text_, count, &size);
        return size.cx;
    }

    int32_t textHeight() override {
        if (height_ < 0) {
            SIZE size{};
            GetTextExtentPoint32W(dc_, text_, length_, &size);
            height_ = size.cy;
        }
        return height_;
    }

    Point toScreen(Point p) override {
        POINT pt{p.x, p.y};
        LPtoDP(dc_, &pt, 1);
        return {pt.x + origin_.x, pt.y + origin_.y};
    }

  private:
    // All prefix widths of the first kPrefixCacheSize characters at once.
    bool fillCache() {
        if (tried_) return false;
        tried_ = true;
        const int n = length_ < kPrefixCacheSize ? length_ : kPrefixCacheSize;
        if (advances_) {
            int32_t w = 0;
            for (int i = 0; i < n; ++i) g_prefixWidths[i] = w += advances_[i * stride_];
        } else {
            SIZE size{};
            if (!GetTextExtentExPointW(dc_, text_, n, 0, nullptr, g_prefixWidths, &size)) return false;
        }
        cached_ = n;
        return true;
    }

    HDC dc_;
    const wchar_t* text_;
    int length_;
    const INT* advances_;
    int stride_;
    Point origin_;
    int cached_ = 0;
    bool tried_ = false;
    int32_t height_ = -1;
};

bool related(HWND a, HWND b) {
    for (HWND w = a; w; w = GetAncestor(w, GA_PARENT))
        if (w == b) return true;
    for (HWND w = b; w; w = GetAncestor(w, GA_PARENT))
        if (w == a) return true;
    return false;
}

// The first test of every call: the window under the point belongs to this thread, and the
// context is a memory context (no window) or one of that window, its ancestors or descendants.
bool takesPart(HDC dc, HWND& dcWindow) {
    const HWND target = g_shared.targetWindow;
    if (!target || g_process.targetThread != GetCurrentThreadId()) return false;
    dcWindow = WindowFromDC(dc);
    return !dcWindow || related(dcWindow, target);
}

WordLocator locator() { return WordLocator(g_shared.text, g_process.boxes); }

void announceCapture() {
    if (g_shared.flyWindow && g_shared.capturedMessage)
        PostMessageW(g_shared.flyWindow, g_shared.capturedMessage, 0, 0);
}

bool placeCall(HDC dc, int x, int y, TextPlacement& p) {
    const UINT align = GetTextAlign(dc);
    if (align == GDI_ERROR) return false;
    p.align = align;
    p.reference = {x, y};
    if (align & TA_UPDATECP) {
        POINT cp{};
        if (GetCurrentPositionEx(dc, &cp)) p.reference = {cp.x, cp.y};
    }
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(dc, &tm)) return false;
    p.metrics.height = tm.tmHeight;
    p.metrics.ascent = tm.tmAscent;
    p.metrics.descent = tm.tmDescent;
    p.metrics.internalLeading = tm.tmInternalLeading;
    return true;
}

Point contextOrigin(HDC dc, bool memory) {
    POINT org{0, 0};
    if (!memory) GetDCOrgEx(dc, &org);
    return {org.x, org.y};
}

}  // namespace

static_assert(TA_UPDATECP == kAlignUpdateCP && TA_RIGHT == kAlignRight && TA_CENTER == kAlignCenter &&
                  TA_BOTTOM == kAlignBottom && TA_BASELINE == kAlignBaseline,
              "the alignment bits of the device context");

void onTextCall(TextCallKind kind, HDC dc, int x, int y, UINT options, const wchar_t* text, int length,
                const INT* advances) {
    HWND dcWindow = nullptr;
    if (!takesPart(dc, dcWindow)) return;
    LastErrorKeeper keep;
    WordLocator loc = locator();
    const bool extended = kind == TextCallKind::Extended;
    bool applicable = hooksAreOurs() && text && length > 0;
    // Glyph indices are no text; and once a word is captured, only its continuation counts.
    if (extended && ((options & ETO_GLYPH_INDEX) ||
                     (g_shared.text.fragmentCount && !g_shared.text.join)))
        applicable = false;
    if (!applicable) {
        loc.breakWord(extended);
        return;
    }
    const bool memory = dcWindow == nullptr;
    const int stride = (options & ETO_PDY) ? 2 : 1;
    DcPlacement p(dc, text, length, advances, stride, contextOrigin(dc, memory));
    if (!placeCall(dc, x, y, p)) return;
    const char16_t* t = reinterpret_cast<const char16_t*>(text);
    if (memory)
        loc.recordBoxes(reinterpret_cast<uintptr_t>(dc), t, length, p);
    else if (loc.locateInLine(t, length, p, g_process.capturePoint))
        announceCapture();
    // Each segment of tabbed output is drawn in a call of its own: a tab ends the word.
    if (threadFlags() & kInsideTabbedText) loc.breakWord(true);
}

void onTextCallA(TextCallKind kind, HDC dc, int x, int y, UINT options, const char* text, int length,
                 const INT* advances) {
    HWND dcWindow = nullptr;
    if (!takesPart(dc, dcWindow)) return;
    if (!text || length <= 0 || (options & ETO_GLYPH_INDEX)) {
        onTextCall(kind, dc, x, y, options, nullptr, 0, nullptr);
        return;
    }
    LastErrorKeeper keep;
    // Whole characters only: a double-byte lead byte is not split from its trail byte.
    const int limit = length < kMaxAnsiCharacters ? length : kMaxAnsiCharacters;
    int starts[kMaxAnsiCharacters];  // the byte each character begins at
    int chars = 0, end = 0;
    while (end < limit) {
        const int size = IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1;
        if (end + size > limit) break;
        starts[chars++] = end;
        end += size;
    }
    wchar_t wide[kMaxAnsiCharacters];
    const int n = MultiByteToWideChar(CP_ACP, 0, text, end, wide, kMaxAnsiCharacters);
    INT wideAdvances[kMaxAnsiCharacters];
    const INT* adv = nullptr;
    if (advances && n == chars) {
        // A double-byte character takes the one advance of its lead byte.
        const int stride = (options & ETO_PDY) ? 2 : 1;
        for (int c = 0; c < n; ++c) wideAdvances[c] = advances[starts[c] * stride];
        adv = wideAdvances;
    }
    onTextCall(kind, dc, x, y, options & ~ETO_PDY, wide, n, adv);
}

void onBlit(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY) {
    HWND dcWindow = nullptr;
    if (!takesPart(destination, dcWindow) || !hooksAreOurs()) return;
    LastErrorKeeper keep;
    WordLocator loc = locator();
    loc.breakWord(true);
    if (!source || dcWindow != g_shared.targetWindow) return;
    // Where the source's device point (0, 0) lands on the screen.
    POINT dst{x, y}, src{sourceX, sourceY};
    LPtoDP(destination, &dst, 1);
    LPtoDP(source, &src, 1);
    const Point origin = contextOrigin(destination, false);
    const Point offset{origin.x + dst.x - src.x, origin.y + dst.y - src.y};
    // Only the copied rectangle shows the source's text.
    const Point pt = g_process.capturePoint;
    const int32_t left = origin.x + dst.x, top = origin.y + dst.y;
    const int32_t w = width < 0 ? -width : width, h = height < 0 ? -height : height;
    if (pt.x < left || pt.x >= left + w || pt.y < top || pt.y >= top + h) return;
    if (loc.locateInBoxes(reinterpret_cast<uintptr_t>(source), offset, pt)) announceCapture();
}

void onTextBlockDrawn() {
    if (!g_shared.targetWindow || g_process.targetThread != GetCurrentThreadId() || !hooksAreOurs()) return;
    LastErrorKeeper keep;
    locator().breakWord(true);
}

}  // namespace tchk
