// Window objects under Wine: messages unpacked into typed handlers (signs, halves and
// answers), notifications reflected to the control that sent them in windows and dialogs,
// and teardown in both orders (object first, window first) for created and subclassed
// windows.
#include "fwdialog.h"
#include "fwwindow.h"
#include "resource_ids.h"
#include <gtest/gtest.h>
#include <string>

namespace {

std::wstring text(const wchar_t* format, ...) {
    wchar_t buf[256];
    va_list args;
    va_start(args, format);
    vswprintf(buf, 256, format, args);
    va_end(args);
    return buf;
}

// Writes what each typed handler received.
struct Recorder : FwWindow {
    std::wstring log;
    bool onSize(UINT kind, int cx, int cy) override { return note(text(L"size %u %dx%d", kind, cx, cy)); }
    bool onMove(int x, int y) override { return note(text(L"move %d,%d", x, y)); }
    bool onMouseMove(POINT p, UINT keys) override { return note(text(L"mouse %ld,%ld %u", p.x, p.y, keys)); }
    bool onLButtonDown(POINT p, UINT keys) override { return note(text(L"down %ld,%ld %u", p.x, p.y, keys)); }
    bool onRButtonDown(POINT p, UINT keys) override { return note(text(L"rdown %ld,%ld %u", p.x, p.y, keys)); }
    bool onMouseWheel(int delta, UINT keys, POINT p) override {
        return note(text(L"wheel %d %u %ld,%ld", delta, keys, p.x, p.y));
    }
    bool onKeyDown(UINT key, UINT flags) override { return note(text(L"key %u %x", key, flags)); }
    bool onCommand(int id, int code, HWND control) override {
        return note(text(L"command %d %d %ls", id, code, control ? L"control" : L"none"));
    }
    bool onNotify(NMHDR& h, LRESULT& result) override {
        result = 7;
        return note(text(L"notify %d", static_cast<int>(h.code)));
    }
    bool onTimer(UINT_PTR id) override { return note(text(L"timer %u", static_cast<unsigned>(id))); }
    bool onVScroll(int code, HWND bar) override { return note(text(L"vscroll %d %ls", code, bar ? L"bar" : L"own")); }
    bool onSetCursor(HWND, UINT hit, UINT mouse) override { return note(text(L"cursor %u %u", hit, mouse)); }
    bool onGetDlgCode(LRESULT& code) override {
        code = DLGC_WANTARROWS;
        return note(L"dlgcode");
    }
    bool note(const std::wstring& s) {
        log = s;
        return true;
    }
};

bool createTopLevel(FwWindow& w, const wchar_t* cls) {
    FwCreateParams p;
    p.className = cls;
    p.style = WS_OVERLAPPEDWINDOW;
    p.width = 200;
    p.height = 100;
    return w.create(p);
}

TEST(TypedHandlers, MessagesArriveUnpacked) {
    Recorder r;
    ASSERT_TRUE(createTopLevel(r, L"FwRecorder"));
    struct {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        const wchar_t* log;
        LRESULT answer;
    } cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), L"size 2 640x480", 0},
        {WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-30), 20), L"move -30,20", 0},
        // Captured mouse positions left of and above the window are negative.
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-7)), L"mouse -5,-7 1", 0},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(12, 34), L"down 12,34 5", 0},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 2), L"rdown 1,2 2", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-360)), MAKELPARAM(100, 200), L"wheel -360 8 100,200", 0},
        {WM_KEYDOWN, VK_DOWN, 0x01500001, L"key 40 1500001", 0},
        {WM_COMMAND, MAKEWPARAM(11400, 1), 0, L"command 11400 1 none", 0},
        {WM_TIMER, 5, 0, L"timer 5", 0},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0, L"vscroll 5 own", 0},
        {WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), L"cursor 1 512", TRUE},
        {WM_GETDLGCODE, 0, 0, L"dlgcode", DLGC_WANTARROWS},
    };
    for (auto& c : cases) {
        r.log.clear();
        LRESULT answer = SendMessageW(r.hwnd(), c.msg, c.wp, c.lp);
        EXPECT_EQ(r.log, c.log) << c.msg;
        EXPECT_EQ(answer, c.answer) << c.msg;
    }
    r.destroy();
}

// A control's object that takes its own clicks and one notification code.
struct Reflector : FwWindow {
    int clicks = 0, draws = 0;
    bool onReflectedCommand(int code) override {
        if (code != BN_CLICKED) return false;
        ++clicks;
        return true;
    }
    bool onReflectedNotify(NMHDR& h, LRESULT& result) override {
        if (h.code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
        ++draws;
        result = CDRF_SKIPDEFAULT;
        return true;
    }
};

HWND button(HWND parent, int id) {
    return CreateWindowW(L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 20, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// Sends the parent a notification from the control; the parent's answer.
LRESULT notify(HWND parent, HWND from, UINT code) {
    NMHDR h{from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), code};
    return SendMessageW(parent, WM_NOTIFY, h.idFrom, reinterpret_cast<LPARAM>(&h));
}

TEST(Reflection, AWindowOffersNotificationsToTheirSenderFirst) {
    Recorder parent;
    ASSERT_TRUE(createTopLevel(parent, L"FwReflectParent"));
    Reflector control;
    ASSERT_TRUE(control.subclass(button(parent.hwnd(), 100)));
    SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(control.hwnd()));
    EXPECT_EQ(control.clicks, 1);
    EXPECT_EQ(parent.log, L"");
    SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(100, BN_SETFOCUS), reinterpret_cast<LPARAM>(control.hwnd()));
    EXPECT_EQ(parent.log, L"command 100 6 control");
    EXPECT_EQ(notify(parent.hwnd(), control.hwnd(), NM_CUSTOMDRAW), CDRF_SKIPDEFAULT);
    EXPECT_EQ(control.draws, 1);
    EXPECT_EQ(notify(parent.hwnd(), control.hwnd(), NM_CLICK), 7);
    EXPECT_EQ(parent.log, text(L"notify %d", static_cast<int>(NM_CLICK)));
    parent.destroy();
}

struct TestDialog : FwDialog {
    TestDialog() : FwDialog(IDD_FW_TEST) {}
    Reflector control;
    int notifies = 0;
    bool onInitDialog() override { return control.subclass(GetDlgItem(hwnd_, IDC_FW_TEST_BUTTON)); }
    bool onNotify(NMHDR&, LRESULT& result) override {
        ++notifies;
        result = 9;
        return true;
    }
};

TEST(Reflection, ADialogOffersNotificationsToTheirSenderFirst) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.createModeless(nullptr));
    HWND control = GetDlgItem(dlg.hwnd(), IDC_FW_TEST_BUTTON);
    ASSERT_EQ(dlg.control.hwnd(), control);
    // The control's answer comes back through the dialog.
    EXPECT_EQ(notify(dlg.hwnd(), control, NM_CUSTOMDRAW), CDRF_SKIPDEFAULT);
    EXPECT_EQ(dlg.control.draws, 1);
    EXPECT_EQ(dlg.notifies, 0);
    EXPECT_EQ(notify(dlg.hwnd(), control, NM_CLICK), 9);
    EXPECT_EQ(dlg.notifies, 1);
    SendMessageW(dlg.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FW_TEST_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(dlg.control.clicks, 1);
    EXPECT_TRUE(IsWindow(dlg.hwnd()));
    SendMessageW(dlg.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dlg.hwnd(), nullptr);  // a modeless dialog ends by its destruction
}

// Notes its clean-up and every message it sees after its own destructor began.
struct Tracked : FwWindow {
    explicit Tracked(bool destroyFirst) : destroyFirst_(destroyFirst) {}
    ~Tracked() override {
        dying = true;
        if (destroyFirst_) destroy();
    }
    static inline int destroys = 0, finals = 0, afterDeath = 0;
    bool dying = false;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (dying && msg != WM_DESTROY && msg != WM_NCDESTROY) ++afterDeath;
        return FwWindow::handleMessage(msg, wp, lp);
    }
    void onDestroy() override { ++destroys; }
    void onFinalDestroy() override { ++finals; }

private:
    bool destroyFirst_;
};

void resetCounts() { Tracked::destroys = Tracked::finals = Tracked::afterDeath = 0; }

TEST(Teardown, ObjectFirst) {
    // An object whose clean-up matters destroys its window while it is whole.
    resetCounts();
    auto* t = new Tracked(true);
    ASSERT_TRUE(createTopLevel(*t, L"FwTracked"));
    HWND w = t->hwnd();
    delete t;
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Tracked::destroys, 1);
    EXPECT_EQ(Tracked::finals, 1);

    // One that does not: its window goes after it has let go, without calling it.
    resetCounts();
    t = new Tracked(false);
    ASSERT_TRUE(createTopLevel(*t, L"FwTracked"));
    w = t->hwnd();
    delete t;
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Tracked::destroys, 0);
    EXPECT_EQ(Tracked::finals, 0);
    EXPECT_EQ(Tracked::afterDeath, 0);

    // A window the object only subclassed stays, and keeps its own procedure.
    HWND owner = CreateWindowW(L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = button(owner, 5);
    WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(b, GWLP_WNDPROC));
    t = new Tracked(false);
    ASSERT_TRUE(t->subclass(b));
    EXPECT_EQ(FwWindow::fromHandle(b), t);
    delete t;
    EXPECT_TRUE(IsWindow(b));
    EXPECT_EQ(FwWindow::fromHandle(b), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(b, GWLP_WNDPROC)), own);
    SetWindowTextW(b, L"still works");
    wchar_t buf[32];
    GetWindowTextW(b, buf, 32);
    EXPECT_STREQ(buf, L"still works");
    DestroyWindow(owner);
}

TEST(Teardown, WindowFirst) {
    resetCounts();
    Tracked t(false);
    ASSERT_TRUE(createTopLevel(t, L"FwTracked"));
    HWND w = t.hwnd();
    DestroyWindow(w);
    EXPECT_EQ(Tracked::destroys, 1);
    EXPECT_EQ(Tracked::finals, 1);
    EXPECT_EQ(t.hwnd(), nullptr);
    EXPECT_EQ(FwWindow::fromHandle(w), nullptr);
    // The object can bind again.
    ASSERT_TRUE(createTopLevel(t, L"FwTracked"));
    t.destroy();
    EXPECT_EQ(Tracked::destroys, 2);
}

}  // namespace
