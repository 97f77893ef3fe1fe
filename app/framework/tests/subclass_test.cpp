// Subclass links sharing one window with each other and with a subclasser that replaces
// the window procedure directly, as the skin engine does: every remover takes out only
// its own link, in either order, and a dying window takes the chain with it.
#include "fwsubclass.h"
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr UINT kProbe = WM_APP + 7;

// The order in which the procedures of a window saw the probe message.
std::string gSeen;

LRESULT CALLBACK originalProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProbe) gSeen += "o";
    if (msg == WM_NCDESTROY) gSeen += "O";
    return DefWindowProcW(w, msg, wp, lp);
}

// A link that notes its letter and passes the message on.
LRESULT link(HWND w, UINT msg, WPARAM wp, LPARAM lp, void* data) {
    const char letter = *static_cast<const char*>(data);
    if (msg == kProbe) gSeen += letter;
    if (msg == WM_NCDESTROY) gSeen += static_cast<char>(letter - 'a' + 'A');
    return fwDefSubclassProc(w, msg, wp, lp);
}

// A subclasser of the old kind: it keeps the procedure it replaced and puts it back.
WNDPROC gRawPrevious = nullptr;
LRESULT CALLBACK rawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProbe) gSeen += "r";
    return CallWindowProcW(gRawPrevious, w, msg, wp, lp);
}
void rawSubclass(HWND w) {
    gRawPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&rawProc)));
}
void rawUnsubclass(HWND w) { SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gRawPrevious)); }

WNDPROC procOf(HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)); }

std::string probe(HWND w) {
    gSeen.clear();
    SendMessageW(w, kProbe, 0, 0);
    return gSeen;
}

HWND plainWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = originalProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FwSubclassTest";
    RegisterClassW(&wc);
    return CreateWindowW(L"FwSubclassTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

char a = 'a', b = 'b';

TEST(Subclass, TwoLinksRemovedInEitherOrder) {
    struct {
        char* first;
        std::string afterFirst;
    } orders[] = {{&a, "bo"}, {&b, "ao"}};
    for (auto& order : orders) {
        HWND w = plainWindow();
        ASSERT_TRUE(w);
        ASSERT_TRUE(fwAddSubclass(w, link, &a));
        ASSERT_TRUE(fwAddSubclass(w, link, &b));
        EXPECT_FALSE(fwAddSubclass(w, link, &b));  // the same link twice
        EXPECT_EQ(probe(w), "bao");                // the newest link first
        EXPECT_TRUE(fwRemoveSubclass(w, link, order.first));
        EXPECT_FALSE(fwRemoveSubclass(w, link, order.first));
        EXPECT_EQ(probe(w), order.afterFirst);
        EXPECT_TRUE(fwRemoveSubclass(w, link, order.first == &a ? &b : &a));
        EXPECT_EQ(probe(w), "o");
        EXPECT_EQ(procOf(w), &originalProc);  // the window has its own procedure back
        DestroyWindow(w);
    }
}

TEST(Subclass, ALinkUnderADirectSubclasserRemovedInEitherOrder) {
    // Ours first, then the direct subclasser on top.
    HWND w = plainWindow();
    ASSERT_TRUE(fwAddSubclass(w, link, &a));
    rawSubclass(w);
    EXPECT_EQ(probe(w), "rao");
    // Ours goes first: the direct subclasser above keeps its messages.
    ASSERT_TRUE(fwRemoveSubclass(w, link, &a));
    EXPECT_EQ(procOf(w), &rawProc);
    EXPECT_EQ(probe(w), "ro");
    // It puts back what it replaced; the next message finds nothing of ours left.
    rawUnsubclass(w);
    EXPECT_EQ(probe(w), "o");
    EXPECT_EQ(procOf(w), &originalProc);
    DestroyWindow(w);

    // The direct subclasser goes first.
    w = plainWindow();
    ASSERT_TRUE(fwAddSubclass(w, link, &a));
    rawSubclass(w);
    rawUnsubclass(w);
    EXPECT_EQ(probe(w), "ao");
    ASSERT_TRUE(fwRemoveSubclass(w, link, &a));
    EXPECT_EQ(procOf(w), &originalProc);
    EXPECT_EQ(probe(w), "o");

    // A direct subclasser under our link.
    rawSubclass(w);
    ASSERT_TRUE(fwAddSubclass(w, link, &b));
    EXPECT_EQ(probe(w), "bro");
    ASSERT_TRUE(fwRemoveSubclass(w, link, &b));
    EXPECT_EQ(procOf(w), &rawProc);
    EXPECT_EQ(probe(w), "ro");
    DestroyWindow(w);
}

// A link that removes itself while handling the probe, and adds another.
LRESULT selfRemoving(HWND w, UINT msg, WPARAM wp, LPARAM lp, void* data) {
    if (msg == kProbe) {
        gSeen += "s";
        fwRemoveSubclass(w, selfRemoving, data);
        fwAddSubclass(w, link, &b);
        // Nested: the probe sent again inside the first one goes through the links as they
        // are now.
        if (gSeen == "s") SendMessageW(w, kProbe, 0, 0);
    }
    return fwDefSubclassProc(w, msg, wp, lp);
}

TEST(Subclass, ChangesFromInsideALinkAndNestedMessages) {
    HWND w = plainWindow();
    ASSERT_TRUE(fwAddSubclass(w, link, &a));
    ASSERT_TRUE(fwAddSubclass(w, selfRemoving, nullptr));
    // s: removes itself, adds b, sends the probe again (b, a, o); then the first probe
    // goes on below s: a, o.
    EXPECT_EQ(probe(w), "sbaoao");
    EXPECT_FALSE(fwHasSubclass(w, selfRemoving, nullptr));
    EXPECT_EQ(probe(w), "bao");
    DestroyWindow(w);
}

TEST(Subclass, CallsBelowALinkFromOutsideAnyMessage) {
    // As a skinner that gives a control its own font back while it detaches.
    HWND w = plainWindow();
    ASSERT_TRUE(fwAddSubclass(w, link, &a));
    ASSERT_TRUE(fwAddSubclass(w, link, &b));
    gSeen.clear();
    fwCallBelow(w, link, &b, kProbe, 0, 0);
    EXPECT_EQ(gSeen, "ao") << "below b: a, then the window's own procedure";
    gSeen.clear();
    fwCallBelow(w, link, &a, kProbe, 0, 0);
    EXPECT_EQ(gSeen, "o");
    ASSERT_TRUE(fwRemoveSubclass(w, link, &a));
    ASSERT_TRUE(fwRemoveSubclass(w, link, &b));
    gSeen.clear();
    fwCallBelow(w, link, &a, kProbe, 0, 0);
    EXPECT_EQ(gSeen, "o") << "a link gone: the window's procedure";
    EXPECT_EQ(procOf(w), &originalProc);
    DestroyWindow(w);
}

TEST(Subclass, ADyingWindowTakesItsLinksAlong) {
    HWND w = plainWindow();
    ASSERT_TRUE(fwAddSubclass(w, link, &a));
    ASSERT_TRUE(fwAddSubclass(w, link, &b));
    gSeen.clear();
    DestroyWindow(w);
    EXPECT_EQ(gSeen, "BAO");  // each saw WM_NCDESTROY once, the window's own procedure last
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(fwHasSubclass(w, link, &a));
    EXPECT_FALSE(fwRemoveSubclass(w, link, &a));
    EXPECT_FALSE(fwAddSubclass(w, link, &a));
}

}  // namespace
