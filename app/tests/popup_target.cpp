// The programs the pop-up look-up test points at. By default a full-screen window that shows
// words drawn in several ways (TextOutW, DrawTextW, ExtTextOutW with punctuation, a STATIC
// and an EDIT control, one near the screen's bottom-right corner) and writes where each
// word lies on the screen to the file named on its command line. With --viewer it is a
// stand-in for a PDF viewer: a frame whose page view has the viewer's window class and
// draws no text; its version resource (linked in by the build) says which version it is.
//
//   wordmere_popup_target.exe PROBE_FILE [--viewer]
//
// Lines of the probe file: "probe<TAB>label<TAB>expected word<TAB>x<TAB>y", "blank<TAB>x<TAB>y"
// (a point over no text) and finally "ready".
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFontHeight = 15;
constexpr int kFirstRow = 40, kSecondRow = 600, kCornerRow = 690;

struct Probe {
    std::wstring label, expected;
    POINT at;  // in the client coordinates of `window`
    HWND window;
};

HWND g_main = nullptr, g_static = nullptr, g_edit = nullptr;
HFONT g_font = nullptr;
std::wstring g_probeFile;
std::vector<Probe> g_probes;
bool g_recorded = false, g_viewer = false;

int textWidth(HDC dc, const std::wstring& s) {
    SIZE size{};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
}

// The probe at the middle of `word`, drawn `before` pixels right of x on a line at y.
void probeWord(HDC dc, const wchar_t* label, const std::wstring& word, const std::wstring& expected, int x, int before,
               int y) {
    if (g_recorded) return;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    g_probes.push_back({label, expected, {x + before + textWidth(dc, word) / 2, y + tm.tmHeight / 2}, g_main});
}

void paintWords(HDC dc) {
    const std::wstring a = L"the house is red";
    TextOutW(dc, 150, kFirstRow, a.c_str(), static_cast<int>(a.size()));
    probeWord(dc, L"TextOutW", L"house", L"house", 150, textWidth(dc, L"the "), kFirstRow);

    RECT r{480, kFirstRow, 800, kFirstRow + 30};
    DrawTextW(dc, L"cold water", -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    probeWord(dc, L"DrawTextW", L"water", L"water", 480, textWidth(dc, L"cold "), kFirstRow);

    const std::wstring b = L"a (book).";
    ExtTextOutW(dc, 820, kFirstRow, 0, nullptr, b.c_str(), static_cast<UINT>(b.size()), nullptr);
    probeWord(dc, L"ExtTextOutW in parentheses", L"book", L"book", 820, textWidth(dc, L"a ("), kFirstRow);
}

void recordControls() {
    HDC dc = GetDC(g_static);
    HGDIOBJ old = SelectObject(dc, g_font);
    const int before = textWidth(dc, L"black "), word = textWidth(dc, L"cat");
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(g_static, dc);
    g_probes.push_back({L"STATIC control", L"cat", {before + word / 2, tm.tmHeight / 2}, g_static});
    LRESULT from = SendMessageW(g_edit, EM_POSFROMCHAR, 6, 0), to = SendMessageW(g_edit, EM_POSFROMCHAR, 9, 0);
    const int x = (static_cast<short>(LOWORD(from)) + static_cast<short>(LOWORD(to))) / 2;
    g_probes.push_back({L"EDIT control near the corner", L"tree", {x, static_cast<short>(HIWORD(from)) + 8}, g_edit});
}

void writeProbes() {
    FILE* f = _wfopen(g_probeFile.c_str(), L"w, ccs=UTF-8");
    if (!f) return;
    for (const Probe& p : g_probes) {
        POINT s = p.at;
        ClientToScreen(p.window, &s);
        fwprintf(f, L"probe\t%ls\t%ls\t%ld\t%ld\n", p.label.c_str(), p.expected.c_str(), s.x, s.y);
    }
    RECT client;
    GetClientRect(g_main, &client);
    POINT blank{client.right / 2, (kFirstRow + kSecondRow) / 2};
    ClientToScreen(g_main, &blank);
    fwprintf(f, L"blank\t%ld\t%ld\n", blank.x, blank.y);
    fwprintf(f, L"ready\n");
    fclose(f);
}

LRESULT CALLBACK windowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (!g_viewer) {
            HGDIOBJ old = SelectObject(dc, g_font);
            SetBkMode(dc, TRANSPARENT);
            paintWords(dc);
            SelectObject(dc, old);
        }
        EndPaint(w, &ps);
        if (!g_recorded && w == g_main) {
            if (!g_viewer) recordControls();
            g_recorded = true;
            writeProbes();
        }
        return 0;
    }
    case WM_DESTROY:
        if (w == g_main) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(w, msg, wp, lp);
    }
}

ATOM registerClass(HINSTANCE inst, const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) return 2;
    g_probeFile = argv[1];
    for (int i = 2; i < argc; ++i)
        if (std::wstring(argv[i]) == L"--viewer") g_viewer = true;
    LocalFree(argv);

    g_font = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (g_viewer) {
        // The viewer's frame and, filling it, its page view.
        registerClass(inst, L"WordmereFakeViewerFrame");
        registerClass(inst, L"AVL_AVView");
        g_main = CreateWindowExW(0, L"WordmereFakeViewerFrame", L"fake viewer", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                 height, nullptr, nullptr, inst, nullptr);
        CreateWindowExW(0, L"AVL_AVView", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, g_main, nullptr, inst,
                        nullptr);
    } else {
        registerClass(inst, L"WordmerePopupTarget");
        g_main = CreateWindowExW(0, L"WordmerePopupTarget", L"popup target", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                 height, nullptr, nullptr, inst, nullptr);
        g_static = CreateWindowExW(0, L"STATIC", L"black cat", WS_CHILD | WS_VISIBLE | SS_LEFT, 100, kSecondRow, 300,
                                   24, g_main, nullptr, inst, nullptr);
        g_edit = CreateWindowExW(0, L"EDIT", L"green tree", WS_CHILD | WS_VISIBLE | ES_LEFT, 700, kCornerRow, 300, 24,
                                 g_main, nullptr, inst, nullptr);
        SendMessageW(g_static, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), TRUE);
        SendMessageW(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), TRUE);
    }
    UpdateWindow(g_main);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
