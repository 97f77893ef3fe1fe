// Where the time from Go to the painted list goes, measured inside the program's own
// windows under Wine: the whole Go (search, layout, drawing and the view's bookkeeping),
// and each part alone on the main list: the engine's look-up, the layout of the results
// into character cells, the GDI drawing of the cells, and a full repaint through WM_PAINT.
// The driver of the GUI test times the same Go from another process; the difference is
// the cost of the messages between the processes.
//
// Usage: wordmere_gopaint_bench DATA_FOLDER [ROUNDS]   (DATA_FOLDER holds dictionaries/)
#include "bench_app.h"
#include "bench_clock.h"
#include "lxapp.h"
#include "lxconjugationadapter.h"
#include "search/lxdatamanager.h"
#include "search/lxdmiterator.h"
#include "lxdoc.h"
#include "lxframe.h"
#include "lxview.h"
#include "lxwinlistbox.h"
#include "settings.h"
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include "resultlist/lxlistbox.h"
#include <string>
#include <vector>

namespace {

using bench::nowMs;
using bench::pump;

const wchar_t* const kWords[] = {L"house", L"water", L"dog",   L"cat",   L"tree",   L"book",  L"child",
                                 L"green", L"run",   L"table", L"window", L"light", L"bread", L"horse",
                                 L"money", L"night", L"school", L"stone", L"wind",  L"work"};
constexpr int kGoButton = 1003;
constexpr int kSearchCombo = 1001;

// The median of `rounds` runs over the words; `step` gets each word's index.
double medianMs(int rounds, const std::function<void(int)>& step) {
    std::vector<double> ms;
    const int n = static_cast<int>(sizeof kWords / sizeof kWords[0]);
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < n; ++i) {
            double t0 = nowMs();
            step(i);
            ms.push_back(nowMs() - t0);
        }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: %ls DATA_FOLDER [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
    LXApp app;
    bench::startProgram(app);

    LXDataManager* dm = LXDataManager::create(&LXCreateConjugationEngine);
    LXDoc doc(dm, argv[1]);
    doc.loadModules();
    if (!dm->isLanguagePairAvailable(LXEnglish, LXFrench)) {
        fwprintf(stderr, L"no English-French module below %ls\\dictionaries\n", argv[1]);
        return 1;
    }
    LXFrame frame;
    frame.setDataManager(dm);
    LXView view;
    if (!frame.createMainFrame() || !view.createView(frame.hwnd(), dm)) return 1;
    frame.setView(view.hwnd());
    view.initialUpdate();
    view.selectLanguagePair(LXEnglish, LXFrench);
    view.setSearchMode(SearchMode::Standard);
    MoveWindow(frame.hwnd(), 0, 0, 720, 540, TRUE);
    ShowWindow(frame.hwnd(), SW_SHOWNOACTIVATE);
    frame.recalcLayout();
    pump();

    JListBox* list = view.mainList();
    LXWinListBox* model = list->model();
    HWND combo = GetDlgItem(view.hwnd(), kSearchCombo), go = GetDlgItem(view.hwnd(), kGoButton);
    auto engineWord = [](int i) {
        lxstring s;
        toEngineString(kWords[i], s);
        s.setEncoding(0);
        return s;
    };

    // The whole Go, words changing as a user's would.
    double whole = medianMs(rounds, [&](int i) {
        SetWindowTextW(combo, kWords[i]);
        SendMessageW(view.hwnd(), WM_COMMAND, MAKEWPARAM(kGoButton, BN_CLICKED), reinterpret_cast<LPARAM>(go));
        RedrawWindow(list->hwnd(), nullptr, nullptr, RDW_UPDATENOW);
    });
    // The steps of the view's search, one by one.
    double listSearch = medianMs(rounds, [&](int i) { list->search(kWords[i], LXListBox::StemSearch); });
    double refresh = medianMs(rounds, [&](int i) {
        list->search(kWords[i], LXListBox::StemSearch);
        list->refresh();
    }) - listSearch;
    double history = medianMs(rounds, [&](int i) {
        SetWindowTextW(combo, kWords[i]);
        view.recordHistory(nullptr);
    });
    // The parts of those steps.
    double engine = medianMs(rounds, [&](int i) {
        LXDMIterator it;
        dm->find(engineWord(i), LXEnglish, LXFrench, LXProductDefault, it);
        if (!it.isAtEnd()) (void)(*it).getHeadword();
    });
    double layout = medianMs(rounds, [&](int) {
        model->clearScreenBuffer();
        model->fillScreenBuffer();
    });
    double draw = medianMs(rounds, [&](int) { model->draw(true); });
    HWND lw = list->hwnd();
    double scrollBar = medianMs(rounds, [&](int i) {
        int32_t v, mn, mx, pg;
        model->getScrollBarInfo(v, mn, mx, pg);
        model->setScrollBarInfo(i % 2 ? mn : mx, mn, mx, pg);  // end to end: the thumb moves
    });
    // A line down and up again, as the arrow keys and the wheel scroll.
    list->search(kWords[0], LXListBox::StemSearch);
    double lineScroll = medianMs(rounds, [&](int i) {
        model->handleScrollEvent(i % 2 ? LXLEventLineUp : LXLEventLineDown, 0);
        model->refresh();
    });
    double toolbar = medianMs(rounds, [&](int i) { frame.setHistoryButtons(false, true); });
    double repaint = medianMs(rounds, [&](int) {
        InvalidateRect(lw, nullptr, TRUE);
        UpdateWindow(lw);
    });

    auto row = [&](const wchar_t* what, double ms) { wprintf(L"  %-44ls %7.3f ms %6.1f%%\n", what, ms, 100 * ms / whole); };
    wprintf(L"Go to painted, in-process median %.3f ms (%d rounds of %d words)\n", whole, rounds,
            static_cast<int>(sizeof kWords / sizeof kWords[0]));
    wprintf(L" steps of the Go:\n");
    row(L"list search (engine look-up and layout)", listSearch);
    row(L"list refresh (scroll bar and drawing)", refresh);
    row(L"history and toolbar buttons", history);
    wprintf(L" parts:\n");
    row(L"engine look-up (find and read the term)", engine);
    row(L"layout of the results into cells", layout);
    row(L"GDI drawing of the cells", draw);
    row(L"scroll bar moved and repainted (Wine)", scrollBar);
    row(L"history buttons set to their state again", toolbar);
    row(L"a line scrolled (the arrow keys, the wheel)", lineScroll);
    row(L"full repaint through WM_PAINT", repaint);
    view.destroy();
    frame.destroy();
    delete dm;
    OleUninitialize();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\WordmereBench");
    return 0;
}
