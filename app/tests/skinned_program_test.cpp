// The program's main window and view without the skin and with it, side by side on the
// screen under Wine (no window manager: every pixel of a skinned frame is ours), built as the
// program builds them and with the reverse list shown, so that the splitter is there. Pixel
// probes at places computed from the windows' rectangles set the system's look against the
// skin's: caption, menu bar, splitter and the view's background. A message box opened after
// start-up is skinned by the creation hook; another skin made current re-skins the running
// windows (the splitter takes the new skin's colour); the engine goes down before the
// windows, as at the program's end, and the windows then go without a fault.
#include "lxapp.h"
#include "lxframe.h"
#include "lxview.h"
#include "options.h"
#include "optionsdialog.h"
#include "frame_skinner.h"
#include "input_script_win.h"
#include "menu_bar_element.h"
#include "popup_menu.h"
#include "resource.h"
#include "screenshot_win.h"
#include "skin_manager.h"
#include "settings.h"
#include "skin_interface.h"
#include "skin_test_support.h"
#include "test_app.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <atomic>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The default skin's colours (skin/default/draw_pictures.sh and skin.txt).
constexpr COLORREF kSkinCaption = RGB(0x2F, 0x5D, 0x8C);
constexpr COLORREF kSkinMenuFace = RGB(0xE9, 0xED, 0xF2);
constexpr COLORREF kSkinClient = RGB(0xF4, 0xF6, 0xF8);
constexpr COLORREF kSkinSplitter = RGB(0xDD, 0xE3, 0xEA);
// The variant skin's splitter (skin/default/CMakeLists.txt).
constexpr COLORREF kVariantSplitter = RGB(0xC0, 0x40, 0x20);
// The skin's caption height (its top pieces) and side borders.
constexpr int kSkinCaptionHeight = 28;
constexpr int kSkinBorder = 4;
constexpr int kSplitterId = 998;
// The view's search box and language radios, and the outline of the skin's field picture
// that frames the search box.
constexpr int kSearchComboId = 1001, kLeftRadioId = 1006, kRightRadioId = 1008;
constexpr COLORREF kSkinFieldLine = RGB(0x9A, 0xA8, 0xB8);
constexpr int kGoButtonId = 1003, kDictionaryButtonId = 1007, kMainListId = 1012;
// The default skin's popup menu: a frame of 2 pixels, a white background, and the highlight
// picture (20 x 20 at x 20 of menus.bmp) stretched over the hot item.
constexpr int kMenuFrame = 2;
constexpr COLORREF kMenuBackground = RGB(0xFF, 0xFF, 0xFF);

using input_script::dragBy;
using input_script::InputScript;
using input_script::key;
using input_script::pollFor;
using input_script::press;
using input_script::pump;
using input_script::scaled;
using input_script::waitFor;

RECT rectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

POINT centreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The client area's top left in screen coordinates.
POINT clientOrigin(HWND w) {
    POINT p{0, 0};
    ClientToScreen(w, &p);
    return p;
}

// A screen point of the view that no child window covers: its own background.
POINT viewBackgroundPoint(HWND view) {
    RECT v{};
    GetClientRect(view, &v);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&v), 2);
    std::vector<RECT> children;
    for (HWND c = GetWindow(view, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) children.push_back(rectOf(c));
    for (int y = v.top + 2; y < v.bottom - 2; y += 3) {
        for (int x = v.left + 2; x < v.right - 2; x += 3) {
            bool covered = false;
            for (const RECT& c : children) {
                RECT grown{c.left - 2, c.top - 2, c.right + 2, c.bottom + 2};
                if (PtInRect(&grown, POINT{x, y})) covered = true;
            }
            if (!covered) return POINT{x, y};
        }
    }
    return POINT{-1, -1};
}

// The program's main window and view, made in the order the program makes them.
struct ProgramWindows {
    LXFrame frame;
    LXView view;
    bool open(int x, bool skinned) {
        if (!frame.createMainFrame() || !view.createView(frame.hwnd(), nullptr)) return false;
        frame.setView(view.hwnd());
        frame.recalcLayout();
        view.initialUpdate();
        if (skinned) LXApp::skinMainWindows(frame.hwnd());
        SetWindowTextW(frame.hwnd(), L"Wordmere");
        SetWindowPos(frame.hwnd(), nullptr, x, 20, 500, 440, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(frame.hwnd(), SW_SHOW);
        return true;
    }
    HWND splitter() const { return GetDlgItem(view.hwnd(), kSplitterId); }
};

void activate(HWND w) {
    SetForegroundWindow(w);
    SetActiveWindow(w);
    waitFor([&] { return GetActiveWindow() == w; }, 3000);
    pump(300);
}

// The message box opened from a timer inside its own modal loop: whether it carried the
// skinner's property and what its caption showed, then closed.
struct BoxSeen {
    bool found = false;
    bool object = false;
    COLORREF caption = CLR_INVALID;
    int ticks = 0;
};
BoxSeen* gBox = nullptr;

BOOL CALLBACK findBox(HWND w, LPARAM lp) {
    wchar_t cls[16] = L"";
    GetClassNameW(w, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK lookAtBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box || !gBox) return;
    gBox->found = true;
    gBox->object = GetPropW(box, L"OBJECT") != nullptr;
    const RECT r = rectOf(box);
    gBox->caption = Screenshot().at(POINT{(r.left + r.right) / 2, r.top + 3});
    // Given a few looks to be painted, then closed.
    if (gBox->caption == kSkinCaption || ++gBox->ticks > 40) {
        KillTimer(nullptr, id);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

class ProgramLooks : public ::testing::Test {
protected:
    void SetUp() override {
        // Everything the test says reaches the log even if the process ends abruptly.
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        clearTestSettings();
        saved_ = AppOptionFlags;
        AppOptionFlags &= ~static_cast<uint32_t>(kOptNoReverseList);
        setSettingInt(kSetShowReverse, 1);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void TearDown() override {
        while (skinIsStarted()) skinShutdown();
        plain_.frame.destroy();
        skinned_.frame.destroy();
        AppOptionFlags = saved_;
        clearTestSettings();
    }
    uint32_t saved_ = 0;
    ProgramWindows plain_, skinned_;
};

TEST_F(ProgramLooks, SystemAndSkinSideBySideThenAnotherSkin) {
    // Without the skin, as "skinning off" makes the program.
    AppOptionFlags |= kOptSkinningOff;
    ASSERT_TRUE(plain_.open(0, false));
    AppOptionFlags &= ~static_cast<uint32_t>(kOptSkinningOff);
    // With it, as the program starts the engine (the skin it carries: no skin.gvf here).
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinIsStarted());
    ASSERT_NE(skinFindObject(L"MainFrame"), nullptr) << "the carried skin did not load";
    ASSERT_TRUE(skinned_.open(510, true));
    activate(skinned_.frame.hwnd());

    HWND plain = plain_.frame.hwnd(), skinned = skinned_.frame.hwnd();
    EXPECT_EQ(GetPropW(plain, L"OBJECT"), nullptr);
    EXPECT_EQ(GetPropW(plain_.view.hwnd(), L"OBJECT"), nullptr);
    EXPECT_NE(GetPropW(skinned, L"OBJECT"), nullptr);
    EXPECT_NE(GetPropW(skinned_.view.hwnd(), L"OBJECT"), nullptr);
    EXPECT_NE(GetMenu(plain), nullptr) << "the system draws the menu of the plain window";
    EXPECT_EQ(GetMenu(skinned), nullptr) << "the skinned bar draws the menu";
    ASSERT_TRUE(IsWindowVisible(plain_.splitter()) && IsWindowVisible(skinned_.splitter()));

    // The same places of each window: its caption, its menu bar, its splitter, its view.
    struct Places {
        POINT caption, menu, splitter, view;
    };
    const auto placesOf = [](ProgramWindows& p) {
        const RECT w = rectOf(p.frame.hwnd());
        const POINT client = clientOrigin(p.frame.hwnd());
        const int menuMiddle = (w.top + kSkinCaptionHeight + client.y) / 2;
        return Places{POINT{(w.left + w.right) / 2, w.top + 3}, POINT{w.right - kSkinBorder - 8, menuMiddle},
                      centreOf(rectOf(p.splitter())), viewBackgroundPoint(p.view.hwnd())};
    };
    const Places a = placesOf(plain_), b = placesOf(skinned_);
    ASSERT_GE(b.view.x, 0) << "no bare background in the skinned view";
    ASSERT_GE(a.view.x, 0) << "no bare background in the plain view";
    ASSERT_TRUE(waitFor([&] { return Screenshot().at(b.caption) == kSkinCaption; }))
        << "the skinned caption never showed the skin's colour: " << hex(Screenshot().at(b.caption));
    pump(300);
    const Screenshot shot;
    shot.save(WORDMERE_SKIN_ARTIFACTS, "program-plain-and-skinned");
    EXPECT_EQ(hex(shot.at(b.menu)), hex(kSkinMenuFace)) << "skinned menu bar";
    EXPECT_EQ(hex(shot.at(b.splitter)), hex(kSkinSplitter)) << "skinned splitter";
    EXPECT_EQ(hex(shot.at(b.view)), hex(kSkinClient)) << "skinned view at " << b.view.x << "," << b.view.y;
    EXPECT_NE(hex(shot.at(a.caption)), hex(kSkinCaption)) << "plain caption";
    EXPECT_NE(hex(shot.at(a.menu)), hex(kSkinMenuFace)) << "plain menu bar";
    EXPECT_EQ(hex(shot.at(a.splitter)), hex(GetSysColor(COLOR_BTNFACE))) << "plain splitter";
    EXPECT_EQ(hex(shot.at(a.view)), hex(GetSysColor(COLOR_BTNFACE))) << "plain view at " << a.view.x << "," << a.view.y;

    // The view's own controls: the search box, its edit and the language radios are skinned in
    // the skinned program only; the search box shows the skin's field outline at its corner.
    for (int id : {kSearchComboId, kLeftRadioId, kRightRadioId}) {
        EXPECT_NE(GetPropW(GetDlgItem(skinned_.view.hwnd(), id), L"OBJECT"), nullptr) << "control " << id;
        EXPECT_EQ(GetPropW(GetDlgItem(plain_.view.hwnd(), id), L"OBJECT"), nullptr) << "control " << id;
    }
    EXPECT_NE(GetPropW(skinned_.view.searchEdit(), L"OBJECT"), nullptr) << "the search box's edit";
    const auto searchCorner = [](ProgramWindows& p) {
        POINT at{0, 0};
        ClientToScreen(GetDlgItem(p.view.hwnd(), kSearchComboId), &at);
        return at;
    };
    EXPECT_EQ(hex(shot.at(searchCorner(skinned_))), hex(kSkinFieldLine)) << "skinned search box";
    EXPECT_NE(hex(shot.at(searchCorner(plain_))), hex(kSkinFieldLine)) << "plain search box";

    // A message box opened now gets the dialogs' default skin from the creation hook.
    BoxSeen box;
    gBox = &box;
    SetTimer(nullptr, 0, 100, lookAtBox);
    showMessage(L"Skinned after start-up");
    gBox = nullptr;
    EXPECT_TRUE(box.found) << "the message box was never seen";
    EXPECT_TRUE(box.object) << "the message box carries no skinner";
    EXPECT_EQ(hex(box.caption), hex(kSkinCaption)) << "the message box's caption";

    // Another skin: the running windows take it (the variant's splitter colour), the plain
    // ones keep the system's look.
    const std::string variant = std::string(WORDMERE_SKIN_DIR) + "/variant.gvf";
    ASSERT_EQ(skinOpenFile(std::wstring(variant.begin(), variant.end()).c_str()), 1) << variant;
    activate(skinned);
    EXPECT_TRUE(waitFor([&] { return Screenshot().at(b.splitter) == kVariantSplitter; }))
        << "the splitter kept " << hex(Screenshot().at(b.splitter)) << " after the skin change";
    const Screenshot after;
    after.save(WORDMERE_SKIN_ARTIFACTS, "program-after-skin-change");
    EXPECT_EQ(hex(after.at(b.caption)), hex(kSkinCaption)) << "the frame is still skinned";
    EXPECT_NE(GetPropW(skinned, L"OBJECT"), nullptr);
    EXPECT_EQ(hex(after.at(a.splitter)), hex(GetSysColor(COLOR_BTNFACE))) << "plain splitter after the change";

    // The program's end: the engine first, then the windows, which then see only their own
    // procedures.
    EXPECT_EQ(skinShutdown(), 1);
    EXPECT_EQ(GetPropW(skinned, L"OBJECT"), nullptr);
    EXPECT_EQ(GetPropW(skinned_.view.hwnd(), L"OBJECT"), nullptr);
    EXPECT_NE(GetMenu(skinned), nullptr) << "the frame has its menu back";
    skinned_.frame.destroy();
    plain_.frame.destroy();
    EXPECT_FALSE(IsWindow(skinned));
    EXPECT_FALSE(IsWindow(plain));
}


// The colour the window shows at a client point, after its pending paints.
COLORREF shownAt(HWND w, int x, int y) {
    UpdateWindow(w);
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

// The skinned view's Go button shows each look of the skin's button picture: normal, hover
// after a real pointer move onto it, pressed while the button is held, and disabled. The
// looks are 60 x 22 rows of the picture (normal, pressed, default, focused, hover, disabled),
// each one colour inside its border: the probe stands left of the caption, inside the border.
TEST_F(ProgramLooks, ViewGoButtonShowsEachLookInTheSkinsColours) {
    const Bytes picture = readFileBytes(std::string(WORDMERE_SKIN_DIR) + "/pictures/button.bmp");
    ASSERT_GT(picture.size(), 54u) << "the default skin's button picture is missing";
    enum Look { kNormal = 0, kPressed = 1, kHover = 4, kDisabled = 5 };
    const auto look = [&](Look l) { return filePixel(picture, 30, l * 22 + 11); };
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinned_.open(60, true));
    activate(skinned_.frame.hwnd());
    HWND go = GetDlgItem(skinned_.view.hwnd(), kGoButtonId);
    RECT client{};
    GetClientRect(go, &client);
    const int x = 6, y = client.bottom / 2;
    SetFocus(skinned_.view.searchEdit());
    const RECT frame = rectOf(skinned_.frame.hwnd());
    const auto moveTo = [](POINT p) {
        InputScript input([&] { input_script::moveTo(p.x, p.y); });
        input.finish();
    };
    moveTo(POINT{frame.right + 40, frame.bottom + 40});
    EXPECT_TRUE(waitFor([&] { return shownAt(go, x, y) == look(kNormal); }))
        << "normal: " << hex(shownAt(go, x, y)) << " for " << hex(look(kNormal));
    moveTo(centreOf(rectOf(go)));
    EXPECT_TRUE(waitFor([&] { return shownAt(go, x, y) == look(kHover); }))
        << "hover: " << hex(shownAt(go, x, y)) << " for " << hex(look(kHover));
    SendMessageW(go, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    EXPECT_EQ(hex(shownAt(go, x, y)), hex(look(kPressed))) << "pressed while held";
    const Screenshot pressed;
    pressed.save(WORDMERE_SKIN_ARTIFACTS, "program-go-pressed");
    SendMessageW(go, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    pump(200);
    EnableWindow(go, FALSE);
    EXPECT_TRUE(waitFor([&] { return shownAt(go, x, y) == look(kDisabled); }))
        << "disabled: " << hex(shownAt(go, x, y)) << " for " << hex(look(kDisabled));
    EnableWindow(go, TRUE);
}

// What the Preferences dialog showed in its hot-key group: key-coloured pixels of the group box
// itself (outside the controls in it), and the colour inside the box next to the dialog's own
// background outside it; found and closed from a timer inside the dialog's modal loop.
struct GroupSeen {
    bool found = false;
    int keyed = -1;
    COLORREF inside = CLR_INVALID, outside = CLR_INVALID;
    int ticks = 0;
};
GroupSeen* gGroup = nullptr;
constexpr COLORREF kSkinKey = RGB(0xFF, 0x00, 0xFF);

// The screen rectangles of the dialog's visible controls other than the one given.
std::vector<RECT> controlsBut(HWND dialog, HWND except) {
    std::vector<RECT> rects;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (c != except && IsWindowVisible(c)) rects.push_back(rectOf(c));
    return rects;
}

bool coveredBy(const std::vector<RECT>& rects, POINT p) {
    for (const RECT& r : rects)
        if (PtInRect(&r, p)) return true;
    return false;
}

void CALLBACK lookAtPreferences(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&dialog));
    HWND group = dialog ? GetDlgItem(dialog, kOptHotKeyGroup) : nullptr;
    if (!group || !gGroup) return;
    gGroup->found = true;
    const Screenshot shot;
    const std::vector<RECT> controls = controlsBut(dialog, group);
    const RECT box = rectOf(group);
    int keyed = 0;
    COLORREF inside = CLR_INVALID;
    // Inside the box: below its caption and within its frame (6 pixels in).
    for (int y = box.top + 16; y < box.bottom - 6; ++y) {
        for (int x = box.left + 6; x < box.right - 6; ++x) {
            const POINT p{x, y};
            if (coveredBy(controls, p)) continue;
            const COLORREF c = shot.at(p);
            keyed += c == kSkinKey;
            if (inside == CLR_INVALID) inside = c;
        }
    }
    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const COLORREF outside = shot.at(POINT{client.left + 2, (box.bottom + client.bottom) / 2});
    gGroup->keyed = keyed;
    gGroup->inside = inside;
    gGroup->outside = outside;
    // Given a few looks to be painted in the skin's colours, then closed.
    if ((keyed == 0 && inside == outside && inside != CLR_INVALID) || ++gGroup->ticks > 40) {
        shot.save(WORDMERE_SKIN_ARTIFACTS, "program-preferences");
        KillTimer(nullptr, id);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

// The skinned Preferences dialog's "Hotkey" group box lets the dialog's background show inside
// its frame, around its controls: none of the skin's key colour there.
TEST_F(ProgramLooks, PreferencesHotkeyGroupShowsTheDialogsBackgroundInside) {
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinned_.open(60, true));
    activate(skinned_.frame.hwnd());
    GroupSeen seen;
    gGroup = &seen;
    SetTimer(nullptr, 0, 200, lookAtPreferences);
    runOptionsDialog(skinned_.frame.hwnd());
    gGroup = nullptr;
    ASSERT_TRUE(seen.found) << "the Preferences dialog or its group box was never seen";
    EXPECT_EQ(seen.keyed, 0) << "key-coloured pixels inside the group box";
    EXPECT_NE(seen.inside, kSkinKey);
    EXPECT_EQ(hex(seen.inside), hex(seen.outside)) << "inside the group box against the dialog outside it";
}

// The messages the test's thread sends (seen before the window's procedure) and those it takes
// from its queue (posted), handed to seen(); one set of hooks at a time.
class MessageHooks {
public:
    MessageHooks() {
        current_ = this;
        sent_ = SetWindowsHookExW(WH_CALLWNDPROC, &MessageHooks::onSent, nullptr, GetCurrentThreadId());
        posted_ = SetWindowsHookExW(WH_GETMESSAGE, &MessageHooks::onPosted, nullptr, GetCurrentThreadId());
    }
    virtual ~MessageHooks() {
        if (sent_) UnhookWindowsHookEx(sent_);
        if (posted_) UnhookWindowsHookEx(posted_);
        current_ = nullptr;
    }
    MessageHooks(const MessageHooks&) = delete;
    MessageHooks& operator=(const MessageHooks&) = delete;

protected:
    virtual void seen(HWND w, UINT message, WPARAM wp, LPARAM lp) = 0;

private:
    static LRESULT CALLBACK onSent(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && current_) current_->seen(m->hwnd, m->message, m->wParam, m->lParam);
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static LRESULT CALLBACK onPosted(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (code == HC_ACTION && wp == PM_REMOVE && current_) current_->seen(m->hwnd, m->message, m->wParam, m->lParam);
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static MessageHooks* current_;
    HHOOK sent_ = nullptr, posted_ = nullptr;
};
MessageHooks* MessageHooks::current_ = nullptr;

// What the frame is told while its menus are used: the submenus it is asked to fill in (sent)
// and the commands it gets (posted by the menu), read from the input thread too.
class MenuWatch : public MessageHooks {
public:
    explicit MenuWatch(HWND w) : frame(w) {}
    HWND frame = nullptr;
    std::atomic<HMENU> lastOpened{nullptr};
    std::atomic<UINT> lastCommand{0};

protected:
    void seen(HWND w, UINT message, WPARAM wp, LPARAM) override {
        if (w != frame) return;
        if (message == WM_INITMENUPOPUP) lastOpened = reinterpret_cast<HMENU>(wp);
        if (message == WM_COMMAND && HIWORD(wp) == 0) lastCommand = LOWORD(wp);
    }
};

// The BN_CLICKED notifications the views get from their buttons, by control id: the
// platform's buttons send them, the skinned ones post them; hooks on the test's thread see both.
class ClickLog : public MessageHooks {
public:
    int count(HWND view, int id) const {
        int n = 0;
        for (const auto& s : seen_) n += s.first == view && s.second == id;
        return n;
    }

protected:
    void seen(HWND w, UINT message, WPARAM wp, LPARAM lp) override {
        if (message == WM_COMMAND && HIWORD(wp) == BN_CLICKED && lp) seen_.emplace_back(w, LOWORD(wp));
    }

private:
    std::vector<std::pair<HWND, int>> seen_;
};

// A real click (pointer moved there, button pressed and let go) at a window's centre, made by
// an input thread while this one pumps.
bool realClick(HWND w) {
    const POINT at = centreOf(rectOf(w));
    InputScript input([&] { input_script::click(at.x, at.y); });
    const bool done = input.finish();
    pump(300);
    return done;
}

// The dialog manager's handling of a key on the focused control of the view.
void dialogKey(HWND view, WPARAM vk) {
    MSG msg{GetFocus(), WM_KEYDOWN, vk, 1, 0, POINT{0, 0}};
    IsDialogMessageW(view, &msg);
    pump(200);
}

// Where the view's language radios stand after one step of a script.
struct RadioState {
    int focus;
    UINT left, right;
    int leftClicks, rightClicks, searchLanguage;
    bool operator==(const RadioState& o) const {
        return focus == o.focus && left == o.left && right == o.right && leftClicks == o.leftClicks &&
               rightClicks == o.rightClicks && searchLanguage == o.searchLanguage;
    }
};
std::ostream& operator<<(std::ostream& out, const RadioState& s) {
    return out << "{focus " << s.focus << ", checks " << s.left << "/" << s.right << ", clicks " << s.leftClicks << "/"
               << s.rightClicks << ", search language " << s.searchLanguage << "}";
}

// The view's push button and language radios taken through one script: the space bar and a
// real click on Go, a real click on Go while it is disabled, a real click on the right-hand
// radio, then the dialog manager's Left arrow twice from it and the Right arrow twice from the
// left radio. Answers the radios' state after the click and after each arrow.
std::vector<RadioState> runButtonScript(ProgramWindows& p, const ClickLog& log, int& goClicks, int& disabledGoClicks) {
    HWND view = p.view.hwnd(), go = GetDlgItem(view, kGoButtonId);
    const auto state = [&] {
        return RadioState{GetDlgCtrlID(GetFocus()), IsDlgButtonChecked(view, kLeftRadioId),
                          IsDlgButtonChecked(view, kRightRadioId), log.count(view, kLeftRadioId),
                          log.count(view, kRightRadioId), p.view.searchLanguage()};
    };
    activate(p.frame.hwnd());
    SetFocus(go);
    SendMessageW(go, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(go, WM_KEYUP, VK_SPACE, 0xC0390001);
    pump(200);
    realClick(go);
    goClicks = log.count(view, kGoButtonId);
    EnableWindow(go, FALSE);
    realClick(go);
    disabledGoClicks = log.count(view, kGoButtonId) - goClicks;
    EnableWindow(go, TRUE);

    std::vector<RadioState> states;
    realClick(GetDlgItem(view, kRightRadioId));
    states.push_back(state());
    // Each search that follows a switch takes the focus to the list: each pair of arrows starts
    // from the radio last checked.
    for (int from : {kRightRadioId, kLeftRadioId}) {
        SetFocus(GetDlgItem(view, from));
        pump(200);
        for (int step = 0; step < 2; ++step) {
            dialogKey(view, from == kRightRadioId ? VK_LEFT : VK_RIGHT);
            states.push_back(state());
        }
    }
    return states;
}

// The view's own buttons under the skin behave as the platform's do in the program without it:
// the space bar and a real click on Go give one command each, a disabled Go takes no click, a
// click on a language radio checks it, unchecks the other and switches the search language,
// and the dialog manager's arrows move through the group with the same focus and checks.
TEST_F(ProgramLooks, ViewButtonsAndLanguageRadiosTakeInputAsThePlatformsDo) {
    AppOptionFlags |= kOptSkinningOff;
    ASSERT_TRUE(plain_.open(0, false));
    AppOptionFlags &= ~static_cast<uint32_t>(kOptSkinningOff);
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinIsStarted());
    ASSERT_TRUE(skinned_.open(510, true));
    for (int id : {kGoButtonId, kLeftRadioId, kRightRadioId}) {
        EXPECT_NE(GetPropW(GetDlgItem(skinned_.view.hwnd(), id), L"OBJECT"), nullptr) << "control " << id;
        EXPECT_EQ(GetPropW(GetDlgItem(plain_.view.hwnd(), id), L"OBJECT"), nullptr) << "control " << id;
    }
    // English and French: the left radio holds English, the search language.
    for (ProgramWindows* p : {&plain_, &skinned_}) {
        p->view.selectLanguagePair(1, 2);
        ASSERT_EQ(IsDlgButtonChecked(p->view.hwnd(), kLeftRadioId), static_cast<UINT>(BST_CHECKED));
    }
    pump(300);

    ClickLog log;
    int plainGo = 0, plainDisabled = 0, skinnedGo = 0, skinnedDisabled = 0;
    const std::vector<RadioState> plain = runButtonScript(plain_, log, plainGo, plainDisabled);
    const std::vector<RadioState> skinned = runButtonScript(skinned_, log, skinnedGo, skinnedDisabled);

    EXPECT_EQ(plainGo, 2) << "the platform's Go: space bar and a click";
    EXPECT_EQ(skinnedGo, 2) << "the skinned Go: space bar and a click";
    EXPECT_EQ(plainDisabled, 0);
    EXPECT_EQ(skinnedDisabled, 0) << "the disabled skinned Go took a click";
    ASSERT_FALSE(plain.empty());
    // After the click the right radio alone is checked, with one command, and French is the
    // search language (the search that follows focuses the list).
    const RadioState clicked{kMainListId, BST_UNCHECKED, BST_CHECKED, 0, 1, 2};
    EXPECT_EQ(plain.front(), clicked) << "the platform's radios after the click";
    EXPECT_EQ(skinned.front(), clicked) << "the skinned radios after the click";
    ASSERT_EQ(plain.size(), skinned.size());
    for (size_t i = 1; i < plain.size(); ++i) EXPECT_EQ(skinned[i], plain[i]) << "after arrow key " << i;
    // The arrows reach the other radio through the dictionary button between the two; the radio
    // reached is checked and switches the search language, the other is unchecked.
    ASSERT_EQ(plain.size(), 5u);
    EXPECT_EQ(plain[1].focus, kDictionaryButtonId);
    EXPECT_EQ(plain[2], (RadioState{kMainListId, BST_CHECKED, BST_UNCHECKED, 1, 1, 1}));
    EXPECT_EQ(plain[3].focus, kDictionaryButtonId);
    EXPECT_EQ(plain[4], (RadioState{kMainListId, BST_UNCHECKED, BST_CHECKED, 1, 2, 2}));
}

// A right click posted in the skinned view opens the context menu as a window of the engine's
// popup class, drawn from the skin (the hot item in the highlight picture's colour, the others
// on the menu's background); Down and Enter choose Copy, which copies the selected text of the
// search box to the clipboard. The screenshot of the open menu is kept.
TEST_F(ProgramLooks, RightClickInTheViewOpensTheSkinnedContextMenuAndEnterCopies) {
    const Bytes picture = readFileBytes(std::string(WORDMERE_SKIN_DIR) + "/pictures/menus.bmp");
    ASSERT_GT(picture.size(), 54u) << "the default skin's menu picture is missing";
    const COLORREF highlight = filePixel(picture, 30, 10);
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinned_.open(60, true));
    HWND frame = skinned_.frame.hwnd(), view = skinned_.view.hwnd();
    activate(frame);
    const std::wstring text = L"ThreeWordsCopied";
    SetWindowTextW(skinned_.view.searchEdit(), text.c_str());
    SetFocus(skinned_.view.searchEdit());
    SendMessageW(skinned_.view.searchEdit(), EM_SETSEL, 0, -1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    POINT at = viewBackgroundPoint(view);
    ASSERT_GE(at.x, 0) << "no bare background in the view";
    ScreenToClient(view, &at);

    MenuWatch watch(frame);
    std::atomic<bool> opened{false}, popupClass{false}, hotShown{false}, closed{false};
    std::atomic<COLORREF> hotSeen{CLR_INVALID}, coldSeen{CLR_INVALID};
    InputScript input([&] {
        PostMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        HWND menu = nullptr;
        opened = pollFor(
            [&] {
                menu = FindWindowW(kPopupMenuClass, nullptr);
                return menu && IsWindowVisible(menu) && watch.lastOpened.load() != nullptr;
            },
            20000);
        if (!opened) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(menu, &pid);
        wchar_t cls[64] = L"";
        GetClassNameW(menu, cls, 64);
        popupClass = pid == GetCurrentProcessId() && lstrcmpW(cls, L"GlossvanePopupMenuWnd") == 0;
        const int count = GetMenuItemCount(watch.lastOpened.load());
        const RECT r = rectOf(menu);
        const int itemHeight = count > 0 ? (r.bottom - r.top - 2 * kMenuFrame) / count : 0;
        // The centre of the first item's check column, and of the third item's (the second is a
        // separator).
        const POINT first{r.left + kMenuFrame + itemHeight / 2, r.top + kMenuFrame + itemHeight / 2};
        const POINT third{first.x, first.y + 2 * itemHeight};
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
        hotShown = pollFor([&] { return Screenshot().at(first) == highlight; });
        const Screenshot shot;
        shot.save(WORDMERE_SKIN_ARTIFACTS, "program-context-menu");
        hotSeen = shot.at(first);
        coldSeen = shot.at(third);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
        closed = pollFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
    });
    ASSERT_TRUE(input.finish(120000));
    pump(500);
    ASSERT_TRUE(opened) << "the right click opened no menu of the engine's class";
    EXPECT_TRUE(popupClass) << "the menu window is not ours or not of the popup class";
    EXPECT_TRUE(hotShown) << "the hot item showed " << hex(hotSeen) << ", not the highlight " << hex(highlight);
    EXPECT_EQ(hex(coldSeen), hex(kMenuBackground)) << "an item that is not hot";
    EXPECT_TRUE(closed) << "Enter left the menu open";
    EXPECT_EQ(watch.lastCommand.load(), static_cast<UINT>(ID_EDIT_COPY_CMD)) << "the command the frame got";
    std::wstring copied;
    if (OpenClipboard(nullptr)) {
        if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) copied = p;
            GlobalUnlock(h);
        }
        CloseClipboard();
    }
    EXPECT_EQ(copied, text) << "the clipboard after Copy";
}


// The skinned frame's bar, found through the frame's skinner.
MenuBarElement* menuBarOf(HWND frame) {
    auto* skinner = dynamic_cast<FrameSkinner*>(SkinManager::instance().findSkinner(frame));
    return skinner ? skinner->menuBar() : nullptr;
}

int itemNamed(const MenuBarModel& model, const std::u16string& text) {
    for (size_t i = 0; i < model.items().size(); ++i)
        if (model.items()[i].entry.text == text) return static_cast<int>(i);
    return -1;
}

// The program's menus in the skinned bar, shown as the skin engine's menus: a click posted on
// the first item opens its menu, the right arrow moves on to the next menus, Down and Enter run
// the first command of a menu that opened under the still pointer (the reverse list shown or
// hidden, read back from the setting and the splitter); Alt and a mnemonic open a menu; the interface language switch puts the new
// language's menu into the bar; narrowed to the frame's minimum width, the French bar wraps
// into more rows and grows the top border (the English one fits in one row there). Run first
// in a process of its own (see app/CMakeLists.txt): after the side-by-side test, which stops
// the engine, the process once ended with an illegal instruction at a data address.
TEST_F(ProgramLooks, MenuBarRunsTheProgramsMenusWrapsAndFollowsTheLanguage) {
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinned_.open(60, true));
    HWND frame = skinned_.frame.hwnd();
    activate(frame);
    MenuBarElement* bar = menuBarOf(frame);
    ASSERT_NE(bar, nullptr) << "the frame has no skinned bar";
    const MenuBarModel& model = bar->model();
    const int file = itemNamed(model, u"&File"), edit = itemNamed(model, u"&Edit"), view = itemNamed(model, u"&View"),
              help = itemNamed(model, u"&Help");
    ASSERT_TRUE(file == 0 && edit == 1 && view == 2 && help > view) << "items " << model.items().size();
    const auto submenu = [&](int item) { return GetSubMenu(bar->menu(), model.items()[item].position); };
    const HMENU fileMenu = submenu(file), editMenu = submenu(edit), viewMenu = submenu(view), helpMenu = submenu(help);
    ASSERT_EQ(GetMenuItemID(viewMenu, 0), static_cast<UINT>(ID_SHOW_REVERSE)) << "the View menu starts otherwise";
    const int reverseBefore = getSettingInt(kSetShowReverse);
    ASSERT_TRUE(IsWindowVisible(skinned_.splitter()));

    const RECT w = rectOf(frame);
    const SkinRect fileRect = model.items()[file].rect;
    const LPARAM fileAt = MAKELPARAM(w.left + (fileRect.left + fileRect.right) / 2, w.top + (fileRect.top + fileRect.bottom) / 2);
    MenuWatch watch(frame);
    std::atomic<bool> fileOpened{false}, editOpened{false}, viewOpened{false}, ran{false}, helpOpened{false};
    // The pointer stands where the View menu's first item will appear: a menu opened under a
    // still pointer highlights nothing, so Down still starts at the first item.
    const SkinRect viewRect = model.items()[view].rect;
    const POINT underViewMenu{w.left + viewRect.left + 20, w.top + viewRect.bottom + 12};
    InputScript input([&] {
        input_script::moveTo(underViewMenu.x, underViewMenu.y);
        PostMessageW(frame, WM_NCLBUTTONDOWN, HTMENU, fileAt);
        fileOpened = pollFor([&] { return watch.lastOpened == fileMenu; });
        if (!fileOpened) return;
        press(VK_RIGHT);
        editOpened = pollFor([&] { return watch.lastOpened == editMenu; });
        press(VK_RIGHT);
        viewOpened = pollFor([&] { return watch.lastOpened == viewMenu; });
        if (!viewOpened) {
            press(VK_ESCAPE);
            return;
        }
        Sleep(scaled(300));
        press(VK_DOWN);
        press(VK_RETURN);
        ran = pollFor([&] { return watch.lastCommand == static_cast<UINT>(ID_SHOW_REVERSE); });
        Sleep(scaled(300));
        key(VK_MENU, false);
        press('H');
        key(VK_MENU, true);
        helpOpened = pollFor([&] { return watch.lastOpened == helpMenu; });
        Sleep(scaled(300));
        press(VK_ESCAPE);
    });
    ASSERT_TRUE(input.finish(120000));
    EXPECT_TRUE(fileOpened) << "the posted click opened nothing";
    EXPECT_TRUE(editOpened) << "the right arrow did not move on to Edit";
    EXPECT_TRUE(viewOpened) << "the right arrow did not move on to View";
    EXPECT_TRUE(ran) << "Enter ran nothing; last command " << watch.lastCommand;
    EXPECT_TRUE(helpOpened) << "Alt+H opened nothing";
    pump(300);
    EXPECT_EQ(getSettingInt(kSetShowReverse), reverseBefore ? 0 : 1) << "the reverse list setting";
    EXPECT_NE(IsWindowVisible(skinned_.splitter()) != FALSE, reverseBefore != 0) << "the splitter follows the list";

    // Another interface language: its menu goes into the bar, the window still shows none.
    const HMENU english = bar->menu();
    skinned_.frame.applyInterfaceLanguage(2);
    pump(200);
    EXPECT_NE(bar->menu(), english);
    EXPECT_EQ(GetMenu(frame), nullptr) << "the new menu was left on the window";
    ASSERT_FALSE(model.items().empty()) << "the bar lost its items";
    EXPECT_TRUE(model.items()[0].entry.text == u"&Fichier") << "the bar kept the old language";

    // Narrowed to the frame's minimum width, the French bar wraps its items into more rows and
    // the client area starts lower.
    const int oneRow = model.barRect().height();
    const int clientTop = clientOrigin(frame).y - rectOf(frame).top;
    SetWindowPos(frame, nullptr, 0, 0, 120, 440, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool wrapped = waitFor([&] { return model.barRect().height() > oneRow; });
    const RECT narrow = rectOf(frame);
    ASSERT_FALSE(model.items().empty()) << "the bar lost its items";
    EXPECT_TRUE(wrapped) << "the bar never wrapped: " << narrow.right - narrow.left << " wide, bar "
                         << model.barRect().height() << " high, one row " << oneRow;
    EXPECT_GT(model.items().back().rect.top, model.items().front().rect.top) << "the last item is on the first row";
    EXPECT_EQ(narrow.right - narrow.left, kMinTrackWidth) << "the frame's minimum width does not hold under the skin";
    EXPECT_GT(clientOrigin(frame).y - rectOf(frame).top, clientTop) << "the top border did not grow";
    SetWindowPos(frame, nullptr, 0, 0, 500, 440, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(waitFor([&] { return model.barRect().height() == oneRow; })) << "the bar stayed wrapped";
    skinned_.frame.applyInterfaceLanguage(1);
    ASSERT_FALSE(model.items().empty());
    EXPECT_TRUE(model.items()[0].entry.text == u"&File");
}

// Dragging the skinned frame's caption moves it and the program keeps the new place (run first
// in a process of its own, see app/CMakeLists.txt: a move loop after other windows came and
// went is often ended by Wine's X11 driver).
TEST_F(ProgramLooks, CaptionDragMovesTheFrameAndSavesThePlacement) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    setSettingInt(kSetLastUpdate, now.wYear * 10000 + now.wMonth * 100 + now.wDay);  // no update check
    setSettingInt(kSetWindowLeft, 100);
    setSettingInt(kSetWindowTop, 80);
    setSettingInt(kSetWindowWidth, 480);
    setSettingInt(kSetWindowHeight, 400);
    LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    ASSERT_TRUE(skinned_.open(100, true));
    skinned_.frame.restorePlacementAndCheckUpdates();
    HWND frame = skinned_.frame.hwnd();
    activate(frame);
    const RECT before = rectOf(frame);
    ASSERT_EQ(before.left, 100);
    ASSERT_EQ(before.top, 80);

    const POINT grip{before.left + 60, before.top + kSkinCaptionHeight / 2};
    InputScript drag([&] { dragBy(grip, 40, 32); });
    ASSERT_TRUE(drag.finish());
    EXPECT_TRUE(waitFor([&] {
        const RECT r = rectOf(frame);
        return r.left == before.left + 40 && r.top == before.top + 32;
    })) << "the caption drag did not move the window by 40,32";
    pump(300);
    const RECT after = rectOf(frame);
    EXPECT_EQ(getSettingInt(kSetWindowLeft), after.left);
    EXPECT_EQ(getSettingInt(kSetWindowTop), after.top);
    EXPECT_EQ(getSettingInt(kSetWindowWidth), after.right - after.left);
    EXPECT_EQ(getSettingInt(kSetWindowHeight), after.bottom - after.top);
}

}  // namespace
