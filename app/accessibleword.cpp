#include "accessibleword.h"
#include <oleacc.h>
#include <vector>

const wchar_t kViewerPageClass[] = L"AVL_AVView";
// {F9F2FE81-F764-4BD0-AFA5-5DE841DDB625}
const IID IID_IViewerDocument = {0xF9F2FE81, 0xF764, 0x4BD0, {0xAF, 0xA5, 0x5D, 0xE8, 0x41, 0xDD, 0xB6, 0x25}};

namespace {
constexpr int kClassNameLength = 16;
constexpr int kMaxWalkDepth = 64;  // a viewer's element tree that loops ends here

bool hasViewerClass(HWND w) {
    if (!w) return false;
    wchar_t name[kClassNameLength + 1] = L"";
    GetClassNameW(w, name, kClassNameLength + 1);
    return lstrcmpW(name, kViewerPageClass) == 0;
}

template <class T>
struct Held {
    T* p = nullptr;
    ~Held() {
        if (p) p->Release();
    }
};

// The text of the leaf node whose box holds the point.
std::wstring textOfNodeAt(IViewerDocumentNode* node, POINT at, int depth) {
    if (!node || depth > kMaxWalkDepth) return L"";
    LONG count = 0;
    if (FAILED(node->getChildCount(&count)) || count <= 0) {
        BSTR text = nullptr;
        std::wstring out;
        if (SUCCEEDED(node->getText(&text)) && text) out.assign(text, SysStringLen(text));
        SysFreeString(text);
        return out;
    }
    for (LONG i = 0; i < count; ++i) {
        Held<IViewerDocumentNode> child;
        if (FAILED(node->getChild(i, &child.p)) || !child.p) continue;
        LONG l = 0, t = 0, w = 0, h = 0;
        if (FAILED(child.p->getBox(&l, &t, &w, &h))) continue;
        if (at.x >= l && at.x < l + w && at.y >= t && at.y < t + h) return textOfNodeAt(child.p, at, depth + 1);
    }
    return L"";
}

std::wstring textOfSimpleChild(IAccessible* element, const VARIANT& child, POINT at) {
    Held<IViewerDocument> doc;
    if (FAILED(element->QueryInterface(IID_IViewerDocument, reinterpret_cast<void**>(&doc.p))) || !doc.p) return L"";
    Held<IViewerDocumentNode> node;
    if (FAILED(doc.p->getNodeOf(child, &node.p)) || !node.p) return L"";
    return textOfNodeAt(node.p, at, 0);
}

bool hidden(IAccessible* element, const VARIANT& self) {
    VARIANT state;
    VariantInit(&state);
    if (FAILED(element->get_accState(self, &state))) return false;
    bool out = state.vt == VT_I4 && (state.lVal & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
    VariantClear(&state);
    return out;
}

std::wstring walk(IAccessible* element, POINT at, int depth);

std::wstring walkChildren(IAccessible* element, POINT at, int depth) {
    LONG count = 0;
    if (FAILED(element->get_accChildCount(&count)) || count <= 0) return L"";
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG got = 0;
    if (FAILED(AccessibleChildren(element, 0, count, children.data(), &got))) return L"";
    std::wstring text;
    for (LONG i = 0; i < got; ++i) {
        VARIANT& c = children[static_cast<size_t>(i)];
        if (text.empty()) {
            if (c.vt == VT_DISPATCH && c.pdispVal) {
                Held<IAccessible> sub;
                if (SUCCEEDED(c.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&sub.p))) && sub.p)
                    text = walk(sub.p, at, depth + 1);
            } else if (c.vt == VT_I4) {
                text = textOfSimpleChild(element, c, at);
            }
        }
        VariantClear(&c);
    }
    return text;
}

std::wstring walk(IAccessible* element, POINT at, int depth) {
    if (!element || depth > kMaxWalkDepth) return L"";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    if (hidden(element, self)) return L"";
    VARIANT hit;
    VariantInit(&hit);
    std::wstring text;
    if (SUCCEEDED(element->accHitTest(at.x, at.y, &hit))) {
        if (hit.vt == VT_DISPATCH && hit.pdispVal) {
            Held<IAccessible> sub;
            if (SUCCEEDED(hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&sub.p))) && sub.p &&
                sub.p != element)
                text = walk(sub.p, at, depth + 1);
        } else if (hit.vt == VT_I4 && hit.lVal != CHILDID_SELF) {
            text = textOfSimpleChild(element, hit, at);
        }
    }
    VariantClear(&hit);
    if (text.empty()) text = walkChildren(element, at, depth);
    return text;
}
}  // namespace

bool isViewerPageWindow(HWND w) { return hasViewerClass(w) || (w && hasViewerClass(GetParent(w))); }

int productMajorVersion(const std::wstring& file) {
    if (file.empty()) return 0;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0) return 0;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return static_cast<int>(HIWORD(info->dwProductVersionMS));
}

AccessibleWordResult findWordByAccessibility(POINT at, const std::function<std::wstring()>& programFile) {
    AccessibleWordResult r;
    if (!isViewerPageWindow(WindowFromPoint(at))) return r;
    if (productMajorVersion(programFile()) < kLeastViewerVersion) {
        r.outcome = AccessibleWordResult::kViewerTooOld;
        return r;
    }
    r.outcome = AccessibleWordResult::kNothingFound;
    IAccessible* element = nullptr;
    VARIANT child;
    VariantInit(&child);
    if (SUCCEEDED(AccessibleObjectFromPoint(at, &element, &child)) && element) {
        r.word = walk(element, at, 0);
        element->Release();
    }
    VariantClear(&child);
    if (!r.word.empty()) r.outcome = AccessibleWordResult::kFound;
    return r;
}
