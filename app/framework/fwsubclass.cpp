#include "fwsubclass.h"
#include <algorithm>
#include <vector>

namespace {

const wchar_t kChainProp[] = L"FwSubclassChain";

struct Link {
    FwSubclassProc proc;
    void* data;
    bool removed;
};

// One call of the chain in progress: the index below which the next link is looked for.
struct Frame {
    size_t next;
    Frame* outer;
};

// The links of one window, lowest first, and the procedure under them.
struct Chain {
    WNDPROC original = nullptr;
    std::vector<Link> links;
    Frame* frame = nullptr;  // innermost call in progress
    int depth = 0;           // calls in progress
    bool dying = false;      // WM_NCDESTROY has been through
};

Chain* chainOf(HWND window) { return static_cast<Chain*>(GetPropW(window, kChainProp)); }

std::vector<Link>::iterator findLink(Chain& c, FwSubclassProc proc, void* data) {
    return std::find_if(c.links.begin(), c.links.end(),
                        [&](const Link& k) { return !k.removed && k.proc == proc && k.data == data; });
}

LRESULT CALLBACK masterProc(HWND, UINT, WPARAM, LPARAM);

bool onTop(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &masterProc;
}

// Between calls: links removed meanwhile are dropped; with none left and our procedure on
// top the window gets its own procedure back and the chain is freed (true).
bool tidy(HWND window, Chain* c) {
    c->links.erase(std::remove_if(c->links.begin(), c->links.end(), [](const Link& k) { return k.removed; }),
                   c->links.end());
    if (!c->links.empty() || !onTop(window)) return false;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c->original));
    RemovePropW(window, kChainProp);
    delete c;
    return true;
}

LRESULT callNext(HWND window, Chain* c, UINT msg, WPARAM wp, LPARAM lp) {
    Frame* f = c->frame;
    while (f && f->next > 0) {
        const Link& k = c->links[--f->next];
        if (k.removed) continue;
        // Copied out: a link added meanwhile may move the vector.
        FwSubclassProc proc = k.proc;
        void* data = k.data;
        return proc(window, msg, wp, lp, data);
    }
    return CallWindowProcW(c->original, window, msg, wp, lp);
}

LRESULT CALLBACK masterProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* c = chainOf(window);
    if (!c) return DefWindowProcW(window, msg, wp, lp);
    if (c->depth == 0 && !c->dying) {
        WNDPROC original = c->original;
        if (tidy(window, c)) return CallWindowProcW(original, window, msg, wp, lp);
    }
    Frame f{c->links.size(), c->frame};
    c->frame = &f;
    ++c->depth;
    LRESULT r = callNext(window, c, msg, wp, lp);
    c->frame = f.outer;
    --c->depth;
    if (msg == WM_NCDESTROY && !c->dying) {
        // The window is gone once this returns: nothing of the chain is needed any more.
        c->dying = true;
        RemovePropW(window, kChainProp);
        if (onTop(window)) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c->original));
    }
    if (c->dying && c->depth == 0) delete c;
    return r;
}

}  // namespace

bool fwAddSubclass(HWND window, FwSubclassProc proc, void* data) {
    if (!proc || !IsWindow(window)) return false;
    Chain* c = chainOf(window);
    if (!c) {
        c = new Chain();
        if (!SetPropW(window, kChainProp, c)) {
            delete c;
            return false;
        }
        c->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&masterProc)));
    } else if (c->dying || findLink(*c, proc, data) != c->links.end()) {
        return false;
    }
    c->links.push_back(Link{proc, data, false});
    return true;
}

bool fwRemoveSubclass(HWND window, FwSubclassProc proc, void* data) {
    Chain* c = window ? chainOf(window) : nullptr;
    if (!c) return false;
    auto it = findLink(*c, proc, data);
    if (it == c->links.end()) return false;
    it->removed = true;
    if (c->depth == 0) tidy(window, c);
    return true;
}

bool fwHasSubclass(HWND window, FwSubclassProc proc, void* data) {
    Chain* c = window ? chainOf(window) : nullptr;
    return c && findLink(*c, proc, data) != c->links.end();
}

LRESULT fwDefSubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* c = chainOf(window);
    if (!c || !c->frame) return DefWindowProcW(window, msg, wp, lp);
    return callNext(window, c, msg, wp, lp);
}

LRESULT fwCallBelow(HWND window, FwSubclassProc proc, void* data, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* c = window ? chainOf(window) : nullptr;
    if (!c) {
        const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
        return current ? CallWindowProcW(current, window, msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
    }
    auto it = findLink(*c, proc, data);
    if (it == c->links.end()) {
        return c->frame ? callNext(window, c, msg, wp, lp) : CallWindowProcW(c->original, window, msg, wp, lp);
    }
    Frame f{static_cast<size_t>(it - c->links.begin()), c->frame};
    c->frame = &f;
    ++c->depth;
    LRESULT r = callNext(window, c, msg, wp, lp);
    c->frame = f.outer;
    --c->depth;
    if (c->dying && c->depth == 0) delete c;
    return r;
}
