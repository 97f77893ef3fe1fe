// A program whose window draws known words with each of the twelve text-output functions
// the capture library patches (and in the ways they are used: aligned text, the current
// position, words split over calls, text drawn into a memory context and copied, glyph
// indices, a STATIC and an EDIT control). It writes where each word lies on the screen,
// and the addresses of the twelve functions, to the file named on its command line, for
// the capture driver.
//
//   tchk_target.exe PROBE_FILE [--die-when-patched]
//
// Messages it answers: kMsgSleep (sleeps wParam ms), kMsgCount (wParam: which counter).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "target_protocol.h"

using namespace tchk_test;

namespace {


constexpr int kLineHeight = 27;
constexpr int kLeft = 10;
constexpr int kFontHeight = 15;
constexpr int kEditId = 101;
constexpr int kStaticId = 102;

struct Probe {
    std::wstring label;
    std::wstring expected;  // "-": no word (0x83F5)
    POINT client;
    HWND window;            // whose client coordinates
};

HWND g_main = nullptr;
HWND g_edit = nullptr;
HWND g_static = nullptr;
HFONT g_font = nullptr;
std::wstring g_probeFile;
bool g_dieWhenPatched = false;
bool g_recorded = false;
std::vector<Probe> g_probes;
LRESULT g_counters[kCounterCount] = {};

const wchar_t kLongWordUnit[] = L"abcdefghij";

// Drawing one line of text; while recording, the words asked for become probes.
class Painter {
  public:
    Painter(HDC dc, bool record) : dc_(dc), record_(record) {}
    int lineTop(int index) const { return 4 + index * kLineHeight; }

    void probe(const std::wstring& label, const std::wstring& expected, int x, int y) {
        if (record_) g_probes.push_back({label, expected, {x, y}, g_main});
    }
    int width(const std::wstring& s) {
        SIZE size{};
        GetTextExtentPoint32W(dc_, s.c_str(), static_cast<int>(s.size()), &size);
        return size.cx;
    }
    int middleY(int top) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        return top + tm.tmHeight / 2;
    }
    // The probe at the middle of `word`, which starts `before` pixels right of x.
    void probeWord(const std::wstring& label, const std::wstring& word, int x, int before, int top,
                   const std::wstring& expected = L"") {
        probe(label, expected.empty() ? word : expected, x + before + width(word) / 2, middleY(top));
    }
    HDC dc() const { return dc_; }

  private:
    HDC dc_;
    bool record_;
};

std::vector<INT> spacedAdvances(HDC dc, const std::wstring& s, int extra, int stride) {
    std::vector<INT> partial(s.size());
    SIZE size{};
    int fit = 0;
    GetTextExtentExPointW(dc, s.c_str(), static_cast<int>(s.size()), 0, &fit, partial.data(), &size);
    std::vector<INT> adv(s.size() * stride, 0);
    for (size_t i = 0; i < s.size(); ++i) adv[i * stride] = partial[i] - (i ? partial[i - 1] : 0) + extra;
    return adv;
}

// The advances of characters [from, to).
int sumAdvances(const std::vector<INT>& adv, size_t from, size_t to, int stride) {
    int w = 0;
    for (size_t i = from; i < to; ++i) w += adv[i * stride];
    return w;
}

// The middle of characters [from, to) drawn from x with these advances.
int middleOf(const std::vector<INT>& adv, size_t from, size_t to, int stride, int x) {
    return x + sumAdvances(adv, 0, from, stride) + sumAdvances(adv, from, to, stride) / 2;
}

std::string narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

void paintLines(Painter& p) {
    HDC dc = p.dc();
    int line = 0;
    int top = p.lineTop(line++);
    TextOutW(dc, kLeft, top, L"alpha bravo charlie", 19);
    p.probeWord(L"TextOutW", L"bravo", kLeft, p.width(L"alpha "), top);
    p.probeWord(L"TextOutW first word", L"alpha", kLeft, 0, top);

    top = p.lineTop(line++);
    TextOutA(dc, kLeft, top, "delta echo foxtrot", 18);
    p.probeWord(L"TextOutA", L"echo", kLeft, p.width(L"delta "), top);

    top = p.lineTop(line++);
    const std::wstring golf = L"golf hotel india";
    ExtTextOutW(dc, kLeft, top, 0, nullptr, golf.c_str(), static_cast<UINT>(golf.size()), nullptr);
    p.probeWord(L"ExtTextOutW", L"hotel", kLeft, p.width(L"golf "), top);

    top = p.lineTop(line++);
    {
        const std::wstring s = L"juliet kilo lima";
        std::vector<INT> adv = spacedAdvances(dc, s, 3, 1);
        ExtTextOutW(dc, kLeft, top, 0, nullptr, s.c_str(), static_cast<UINT>(s.size()), adv.data());
        p.probe(L"ExtTextOutW with advances", L"kilo", middleOf(adv, 7, 11, 1, kLeft), p.middleY(top));
        // The last letter of "lima" lies past where plain text would end it.
        p.probe(L"ExtTextOutW advances honoured", L"lima", kLeft + sumAdvances(adv, 0, 16, 1) - 3, p.middleY(top));
    }

    top = p.lineTop(line++);
    {
        const std::wstring s = L"mike november oscar";
        std::vector<INT> adv = spacedAdvances(dc, s, 4, 2);
        ExtTextOutW(dc, kLeft, top, ETO_PDY, nullptr, s.c_str(), static_cast<UINT>(s.size()), adv.data());
        p.probe(L"ExtTextOutW with ETO_PDY", L"oscar", kLeft + sumAdvances(adv, 0, 19, 2) - 4, p.middleY(top));
        p.probe(L"ExtTextOutW with ETO_PDY (middle)", L"november", middleOf(adv, 5, 13, 2, kLeft), p.middleY(top));
    }

    top = p.lineTop(line++);
    {
        const std::string s = "papa quebec romeo";
        std::vector<INT> adv = spacedAdvances(dc, std::wstring(s.begin(), s.end()), 3, 1);
        ExtTextOutA(dc, kLeft, top, 0, nullptr, s.c_str(), static_cast<UINT>(s.size()), adv.data());
        p.probe(L"ExtTextOutA with advances", L"romeo", kLeft + sumAdvances(adv, 0, 17, 1) - 4, p.middleY(top));
    }

    struct Block {
        const wchar_t* label;
        const wchar_t* text;
        const wchar_t* word;
        int before;  // characters before the word
        int kind;    // 0 DrawTextW, 1 DrawTextExW, 2 DrawTextA, 3 DrawTextExA
    } blocks[] = {
        {L"DrawTextW", L"sierra tango uniform", L"tango", 7, 0},
        {L"DrawTextExW", L"victor whiskey xray", L"whiskey", 7, 1},
        {L"DrawTextA", L"yankee zulu able", L"zulu", 7, 2},
        {L"DrawTextExA", L"baker charlie dog", L"charlie", 6, 3},
    };
    for (const Block& b : blocks) {
        top = p.lineTop(line++);
        RECT r{kLeft, top, 900, top + kLineHeight};
        std::wstring w = b.text;
        std::string a = narrow(w);
        const UINT fmt = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX;
        switch (b.kind) {
        case 0: DrawTextW(dc, w.c_str(), -1, &r, fmt); break;
        case 1: DrawTextExW(dc, &w[0], -1, &r, fmt, nullptr); break;
        case 2: DrawTextA(dc, a.c_str(), -1, &r, fmt); break;
        default: DrawTextExA(dc, &a[0], -1, &r, fmt, nullptr); break;
        }
        p.probeWord(b.label, b.word, kLeft, p.width(w.substr(0, b.before)), top);
    }

    top = p.lineTop(line++);
    {
        const std::wstring s = L"juliet\tkilo";
        INT stops[] = {200};
        TabbedTextOutW(dc, kLeft, top, s.c_str(), static_cast<int>(s.size()), 1, stops, kLeft);
        p.probeWord(L"TabbedTextOutW after the tab", L"kilo", kLeft, 200, top);
        p.probeWord(L"TabbedTextOutW before the tab", L"juliet", kLeft, 0, top);
    }

    top = p.lineTop(line++);
    {
        const std::wstring s = L"echo foxtrot golf";
        std::vector<INT> dx(s.size());
        GCP_RESULTSW gcp{};
        gcp.lStructSize = sizeof gcp;
        gcp.lpDx = dx.data();
        gcp.nGlyphs = static_cast<UINT>(s.size());
        GetCharacterPlacementW(dc, s.c_str(), static_cast<int>(s.size()), 0, &gcp, 0);
        ExtTextOutW(dc, kLeft, top, 0, nullptr, s.c_str(), static_cast<UINT>(s.size()), dx.data());
        p.probe(L"GetCharacterPlacementW", L"foxtrot", middleOf(dx, 5, 12, 1, kLeft), p.middleY(top));
    }

    top = p.lineTop(line++);
    {
        const std::string s = "hotel india juliet";
        std::vector<INT> dx(s.size());
        GCP_RESULTSA gcp{};
        gcp.lStructSize = sizeof gcp;
        gcp.lpDx = dx.data();
        gcp.nGlyphs = static_cast<UINT>(s.size());
        GetCharacterPlacementA(dc, s.c_str(), static_cast<int>(s.size()), 0, &gcp, 0);
        ExtTextOutA(dc, kLeft, top, 0, nullptr, s.c_str(), static_cast<UINT>(s.size()), dx.data());
        p.probe(L"GetCharacterPlacementA", L"india", middleOf(dx, 6, 11, 1, kLeft), p.middleY(top));
    }

    top = p.lineTop(line++);
    {
        const std::wstring s = L"right aligned words";
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        TextOutW(dc, 900, top, s.c_str(), static_cast<int>(s.size()));
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        const int left = 900 - p.width(s);
        p.probeWord(L"TA_RIGHT", L"aligned", left, p.width(L"right "), top);
        p.probeWord(L"TA_RIGHT last word", L"words", left, p.width(L"right aligned "), top);
    }

    top = p.lineTop(line++);
    {
        const std::wstring s = L"centred middle text";
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        TextOutW(dc, 500, top, s.c_str(), static_cast<int>(s.size()));
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        const int left = 500 - p.width(s) / 2;
        p.probeWord(L"TA_CENTER", L"middle", left, p.width(L"centred "), top);
    }

    top = p.lineTop(line++);
    {
        const std::wstring s = L"baseline descent probe";
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        const int baseline = top + tm.tmAscent;
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        TextOutW(dc, kLeft, baseline, s.c_str(), static_cast<int>(s.size()));
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        // In the descent, under the baseline.
        p.probe(L"TA_BASELINE, point in the descent", L"descent",
                kLeft + p.width(L"baseline ") + p.width(L"descent") / 2, baseline + (tm.tmDescent + 1) / 2);
    }

    top = p.lineTop(line++);
    {
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
        MoveToEx(dc, kLeft, top, nullptr);
        TextOutW(dc, 0, 0, L"update ", 7);
        TextOutW(dc, 0, 0, L"current ", 8);
        TextOutW(dc, 0, 0, L"position", 8);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        p.probeWord(L"TA_UPDATECP", L"current", kLeft, p.width(L"update "), top);
        p.probeWord(L"TA_UPDATECP last call", L"position", kLeft, p.width(L"update current "), top);
    }

    top = p.lineTop(line++);
    {
        TextOutW(dc, kLeft, top, L"exam", 4);
        TextOutW(dc, kLeft + p.width(L"exam"), top, L"ple", 3);
        TextOutW(dc, kLeft + p.width(L"example"), top, L" follows", 8);
        p.probeWord(L"split word, first part", L"exam", kLeft, 0, top, L"example");
        p.probeWord(L"split word, second part", L"ple", kLeft, p.width(L"exam"), top, L"example");
    }

    top = p.lineTop(line++);
    {
        ExtTextOutW(dc, kLeft, top, 0, nullptr, L"coun", 4, nullptr);
        ExtTextOutW(dc, kLeft + p.width(L"coun"), top, 0, nullptr, L"try", 3, nullptr);
        p.probeWord(L"split word with ExtTextOutW", L"coun", kLeft, 0, top, L"country");
        // A second column right of the first: its word is not joined to "country".
        ExtTextOutW(dc, 400, top, 0, nullptr, L"column", 6, nullptr);
        p.probeWord(L"next column", L"column", 400, 0, top);
    }

    // Lines drawn into a memory context and copied onto the window.
    RECT client{};
    GetClientRect(g_main, &client);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 800, kLineHeight);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HGDIOBJ oldFont = SelectObject(mem, g_font);
    SetBkMode(mem, TRANSPARENT);
    RECT memRect{0, 0, 800, kLineHeight};

    top = p.lineTop(line++);
    FillRect(mem, &memRect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutW(mem, 0, 0, L"memory blitted line", 19);
    TextOutW(mem, 300, 0, L"news", 4);
    TextOutW(mem, 300 + p.width(L"news"), 0, L"paper", 5);
    BitBlt(dc, kLeft, top, 800, kLineHeight, mem, 0, 0, SRCCOPY);
    p.probeWord(L"memory context, blitted", L"blitted", kLeft, p.width(L"memory "), top);
    p.probeWord(L"memory context, split word", L"paper", kLeft + 300, p.width(L"news"), top, L"newspaper");

    top = p.lineTop(line++);
    FillRect(mem, &memRect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutW(mem, 40, 0, L"offset source words", 19);
    BitBlt(dc, kLeft, top, 600, kLineHeight, mem, 30, 0, SRCCOPY);
    p.probeWord(L"memory context, copied from an offset", L"source", kLeft + 10, p.width(L"offset "), top);

    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);

    top = p.lineTop(line++);
    {
        const std::wstring s = L"glyph indices only";
        std::vector<WORD> glyphs(s.size());
        GetGlyphIndicesW(dc, s.c_str(), static_cast<int>(s.size()), glyphs.data(), 0);
        ExtTextOutW(dc, kLeft, top, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(glyphs.data()),
                    static_cast<UINT>(glyphs.size()), nullptr);
        p.probeWord(L"glyph indices", L"indices", kLeft, p.width(L"glyph "), top, L"-");
    }

    top = p.lineTop(line++);
    {
        std::wstring s;
        for (int i = 0; i < 30; ++i) s += kLongWordUnit;
        TextOutW(dc, kLeft, top, s.c_str(), static_cast<int>(s.size()));
        p.probe(L"300-character word", s.substr(0, 255), kLeft + 100, p.middleY(top));
    }
    p.probe(L"blank background", L"-", client.right - 40, client.bottom - 10);
}

void recordProbesAndWrite() {
    FILE* f = _wfopen(g_probeFile.c_str(), L"w, ccs=UTF-8");
    if (!f) return;
    // The two controls: the STATIC draws its text at its client origin; the EDIT says where
    // its characters are.
    {
        HDC dc = GetDC(g_static);
        HGDIOBJ old = SelectObject(dc, g_font);
        SIZE before{}, word{};
        GetTextExtentPoint32W(dc, L"static ", 7, &before);
        GetTextExtentPoint32W(dc, L"control", 7, &word);
        SelectObject(dc, old);
        ReleaseDC(g_static, dc);
        g_probes.push_back({L"STATIC control", L"control", {before.cx + word.cx / 2, word.cy / 2}, g_static});
    }
    {
        LRESULT a = SendMessageW(g_edit, EM_POSFROMCHAR, 5, 0);   // "box" begins at 5
        LRESULT b = SendMessageW(g_edit, EM_POSFROMCHAR, 8, 0);
        const int x = (static_cast<short>(LOWORD(a)) + static_cast<short>(LOWORD(b))) / 2;
        g_probes.push_back({L"EDIT control", L"box", {x, static_cast<short>(HIWORD(a)) + 8}, g_edit});
    }
    fwprintf(f, L"window\t%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(g_main)));
    fwprintf(f, L"commandline\t%ls\n", GetCommandLineW());
    for (const Probe& p : g_probes) {
        POINT s = p.client;
        ClientToScreen(p.window, &s);
        fwprintf(f, L"probe\t%ls\t%ls\t%ld\t%ld\n", p.label.c_str(), p.expected.c_str(), s.x, s.y);
    }
    const struct {
        const wchar_t* module;
        const char* name;
    } functions[] = {
        {L"gdi32.dll", "BitBlt"},       {L"gdi32.dll", "TextOutA"},      {L"gdi32.dll", "TextOutW"},
        {L"gdi32.dll", "ExtTextOutA"},  {L"gdi32.dll", "ExtTextOutW"},   {L"gdi32.dll", "GetCharacterPlacementW"},
        {L"gdi32.dll", "GetCharacterPlacementA"}, {L"user32.dll", "TabbedTextOutW"}, {L"user32.dll", "DrawTextW"},
        {L"user32.dll", "DrawTextExW"}, {L"user32.dll", "DrawTextA"},    {L"user32.dll", "DrawTextExA"},
    };
    for (const auto& fn : functions) {
        FARPROC a = GetProcAddress(GetModuleHandleW(fn.module), fn.name);
        fwprintf(f, L"entry\t%hs\t%lu\n", fn.name, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(a)));
    }
    fwprintf(f, L"ready\n");
    fclose(f);
}

bool extTextOutPatched() {
    const BYTE* entry = reinterpret_cast<const BYTE*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "ExtTextOutW"));
    return entry && entry[0] == 0xEA;
}

LRESULT CALLBACK windowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        const bool patched = extTextOutPatched();
        if (patched && g_dieWhenPatched) TerminateProcess(GetCurrentProcess(), 3);
        ++g_counters[kPaints];
        if (patched) ++g_counters[kPatchedPaints];
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        HGDIOBJ old = SelectObject(dc, g_font);
        SetBkMode(dc, TRANSPARENT);
        Painter p(dc, !g_recorded);
        paintLines(p);
        SelectObject(dc, old);
        EndPaint(w, &ps);
        if (!g_recorded) {
            g_recorded = true;
            recordProbesAndWrite();
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == VK_F2) ++g_counters[kF2Presses];
        return 0;
    case WM_RBUTTONDOWN:
        ++g_counters[kRightClicks];
        return 0;
    case kMsgSleep:
        Sleep(static_cast<DWORD>(wp));
        return 0;
    case kMsgCount:
        return wp < kCounterCount ? g_counters[wp] : -1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(w, msg, wp, lp);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) return 2;
    g_probeFile = argv[1];
    for (int i = 2; i < argc; ++i)
        if (std::wstring(argv[i]) == L"--die-when-patched") g_dieWhenPatched = true;
    LocalFree(argv);

    g_font = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"TchkTarget";
    RegisterClassExW(&wc);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    g_main = CreateWindowExW(0, L"TchkTarget", L"tchk target", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                             nullptr, instance, nullptr);
    const int controlsTop = 4 + 25 * kLineHeight;
    g_static = CreateWindowExW(0, L"STATIC", L"static control words", WS_CHILD | WS_VISIBLE | SS_LEFT, kLeft,
                               controlsTop, 400, 24, g_main, reinterpret_cast<HMENU>(kStaticId), instance, nullptr);
    g_edit = CreateWindowExW(0, L"EDIT", L"edit box contents", WS_CHILD | WS_VISIBLE | ES_LEFT, 500, controlsTop, 400,
                             24, g_main, reinterpret_cast<HMENU>(kEditId), instance, nullptr);
    SendMessageW(g_static, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), TRUE);
    SendMessageW(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), TRUE);
    UpdateWindow(g_main);

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
