// A window of sample rich texts for the screenshot test (gui_test.sh). It paints the
// samples, writes where known colours must appear on the screen and where its links lie
// (report1.txt), then, once the test asks (go.flag), moves the pointer onto the first link
// and writes what the hover did (report2.txt): the hovered link's rectangle and whether the
// hand cursor was shown. It ends when quit.flag appears.
// Usage: richtext_gui_sample.exe FOLDER (where the reports and flags live).
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "rich_text_drawer.h"
#include "test_resources.h"

namespace {

constexpr int kWidth = 640, kHeight = 460, kMargin = 10, kGap = 12;
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
constexpr COLORREF kPaper = RGB(255, 255, 255);

const wchar_t* const kSamples[] = {
    L"<h1>Wordmere</h1><br>Rich <b>bold</b>, <i>italic</i>, <u>underlined</u>, <s>struck</s> and "
    L"<font color=#c00000 face=Arial>red Arial</font> text, <font style=o>overlined</font>.<br>"
    L"<span class=cpp-comment>// a comment</span> <code>code()</code> x<sup>2</sup> H<sub>2</sub>O <big>big</big> "
    L"<small>small</small><br>Tabs:<t>one<t>two<t=2>three<br><center>centred line</center><br><right>right line</right>",
    L"<table border=1 borderstyle=solid bordercolor=#204080 cellspacing=2 cellpadding=3 bgcolor=#f0f0ff>"
    L"<tr><td colspan=2 bgcolor=#ffe0a0 align=center><b>English - French</b></td></tr>"
    L"<tr><td>house</td><td>maison</td></tr><tr><td>book</td><td><i>livre</i> (m)</td></tr>"
    L"<tr><td rowspan=2 valign=middle>two rows</td><td>one</td></tr><tr><td>two</td></tr></table>",
    L"<table bgeffect=hgradient bgcolor=#000080 bgendcolor=#80c0ff width=256 height=24 cellpadding=0 cellspacing=0>"
    L"<tr><td><font color=white>gradient</font></td></tr></table><hr size=3 color=#008000>",
    L"See <a href=\"http://example.org/\">the web site</a> or <a msg=close>close this</a>.<br>"
    L"<a msg=image><bmp idres=101 width=400% height=400%></a> <icon idres=102 style=s> <ilst idres=101 cx=4 cy=3 index=3 width=400% height=400%>",
};
constexpr size_t kSampleCount = sizeof(kSamples) / sizeof(kSamples[0]);
constexpr size_t kTableSample = 1, kGradientSample = 2, kLinkSample = 3;

struct Pane {
    std::unique_ptr<RichTextDrawer> drawer;
    RECT rect{};  // client coordinates
    SIZE drawn{};
};

std::wstring folder;
std::vector<Pane> panes;
bool reported1 = false, hoverAsked = false, reported2 = false, handShown = false;
DWORD hoverStart = 0;

bool exists(const wchar_t* name) { return GetFileAttributesW((folder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

FILE* openReport(const wchar_t* name) { return _wfopen((folder + L"\\" + name).c_str(), L"w"); }

POINT toScreen(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    return p;
}

void probe(FILE* f, HWND w, int x, int y, COLORREF c) {
    const POINT p = toScreen(w, x, y);
    fprintf(f, "probe %ld %ld %02x%02x%02x\n", p.x, p.y, GetRValue(c), GetGValue(c), GetBValue(c));
}

void rect(FILE* f, HWND w, const char* what, int n, const RECT& r) {
    const POINT a = toScreen(w, r.left, r.top), b = toScreen(w, r.right, r.bottom);
    fprintf(f, "%s %d %ld %ld %ld %ld\n", what, n, a.x, a.y, b.x, b.y);
}

void layout(HDC dc) {
    int y = kMargin;
    for (size_t i = 0; i < kSampleCount; ++i) {
        Pane p;
        p.drawer = std::make_unique<RichTextDrawer>();
        const SIZE s = p.drawer->measure(dc, kSamples[i]);
        p.rect = RECT{kMargin, y, kWidth - kMargin, y + s.cy};
        y += s.cy + kGap;
        panes.push_back(std::move(p));
    }
}

void paint(HWND w, HDC target) {
    RECT client;
    GetClientRect(w, &client);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP buffer = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, buffer);
    HBRUSH paper = CreateSolidBrush(kPaper);
    FillRect(dc, &client, paper);
    DeleteObject(paper);
    if (panes.empty()) layout(dc);
    for (size_t i = 0; i < panes.size(); ++i) panes[i].drawn = panes[i].drawer->draw(dc, kSamples[i], panes[i].rect);
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(buffer);
    DeleteDC(dc);
}

// Where known colours are: the table's outer border and the spacing inside it, a gradient
// band below the text of its cell, the rule, and pixels of the bitmap inside its link.
void writeFirstReport(HWND w) {
    FILE* f = openReport(L"report1.txt.part");
    if (!f) return;
    const Pane& table = panes[kTableSample];
    const int middle = table.rect.top + (table.drawn.cy - 1) / 2;
    probe(f, w, table.rect.left, middle, RGB(0x20, 0x40, 0x80));
    probe(f, w, table.rect.left + 1, middle, RGB(0xf0, 0xf0, 0xff));
    probe(f, w, table.rect.left + 2, middle, RGB(0xf0, 0xf0, 0xff));
    const Pane& gradient = panes[kGradientSample];
    for (int band : {0, 20, 40, 63}) {
        auto mix = [band](int a, int b) { return (a * (64 - band) + b * band) >> 6; };
        probe(f, w, gradient.rect.left + band * 4 + 1, gradient.rect.top + 22,
              RGB(mix(0x00, 0x80), mix(0x00, 0xc0), mix(0x80, 0xff)));
    }
    const int ruleY = gradient.rect.top + 24 + (3 + 8) / 2;
    probe(f, w, gradient.rect.left + 100, ruleY, RGB(0, 0x80, 0));
    const RichTextDrawer& links = *panes[kLinkSample].drawer;
    for (const LinkArea& a : links.linkAreas()) rect(f, w, "link", a.link, a.rect);
    for (const LinkArea& a : links.linkAreas())
        if (a.link == 2) {  // the bitmap, four times its size: pixel (1, 0) is dark red, (0, 0) transparent
            probe(f, w, a.rect.left + 5, a.rect.top + 1, RGB(200, 0, 0));
            probe(f, w, a.rect.left + 1, a.rect.top + 1, kPaper);
            probe(f, w, a.rect.left + 21, a.rect.top + 5, RGB(0, 160, 0));
        }
    fclose(f);
    MoveFileW((folder + L"\\report1.txt.part").c_str(), (folder + L"\\report1.txt").c_str());
}

void writeSecondReport(HWND w) {
    FILE* f = openReport(L"report2.txt.part");
    if (!f) return;
    const RichTextDrawer& links = *panes[kLinkSample].drawer;
    for (const LinkArea& a : links.linkAreas())
        if (a.link == links.hoveredLink()) rect(f, w, "hover", a.link, a.rect);
    fprintf(f, "hand %d\n", handShown ? 1 : 0);
    fclose(f);
    MoveFileW((folder + L"\\report2.txt.part").c_str(), (folder + L"\\report2.txt").c_str());
}

void pointAtFirstLink(HWND w) {
    for (const LinkArea& a : panes[kLinkSample].drawer->linkAreas())
        if (a.link == 0) {
            const POINT p = toScreen(w, (a.rect.left + a.rect.right) / 2, (a.rect.top + a.rect.bottom) / 2);
            SetCursorPos(p.x, p.y);
        }
}

void poll(HWND w) {
    if (!hoverAsked && exists(L"go.flag")) {
        hoverAsked = true;
        hoverStart = GetTickCount();
        pointAtFirstLink(w);
    }
    // The report waits for the hover's repaint, or gives up after a few seconds.
    if (hoverAsked && !reported2 && (panes[kLinkSample].drawer->hoveredLink() == 0 || GetTickCount() - hoverStart > 5000)) {
        UpdateWindow(w);
        reported2 = true;
        writeSecondReport(w);
    }
    if (exists(L"quit.flag")) DestroyWindow(w);
}

LRESULT CALLBACK windowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        paint(w, dc);
        EndPaint(w, &ps);
        if (!reported1) {
            reported1 = true;
            writeFirstReport(w);
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        for (Pane& pane : panes)
            if (pane.drawer->updateHover(p)) InvalidateRect(w, &pane.rect, FALSE);
        return 0;
    }
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(w, &p);
        for (const Pane& pane : panes)
            if (pane.drawer->setCursorForPoint(p)) {
                handShown = GetCursor() == pane.drawer->handCursor();
                return TRUE;
            }
        break;
    }
    case WM_TIMER:
        if (wp == kPollTimer) poll(w);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    folder = argv[1];
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"RichTextSample";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"Rich text samples", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 1;
    SetTimer(w, kPollTimer, kPollMs, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
