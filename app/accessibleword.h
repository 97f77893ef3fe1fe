// The fallback capture through Active Accessibility for the one document viewer whose page
// view the capture library cannot read: the window class "AVL_AVView" of a PDF viewer, from
// product version 7 on, whose accessible elements lead to its document-node interface.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <functional>
#include <string>

extern const wchar_t kViewerPageClass[];
constexpr int kLeastViewerVersion = 7;

struct AccessibleWordResult {
    enum Outcome { kNotAViewer, kViewerTooOld, kNothingFound, kFound } outcome = kNotAViewer;
    std::wstring word;
};

// Whether the window, or its parent, is the viewer's page view (class name read up to 16
// characters).
bool isViewerPageWindow(HWND window);
// The major number of the product version in a program file's version resource; 0 without one.
int productMajorVersion(const std::wstring& programFile);
// The word at a screen point: the window there must be the viewer's page view, the program
// (its file from `programFile`, asked only then) of version 7 or later, and its document
// give a text node at the point.
AccessibleWordResult findWordByAccessibility(POINT at, const std::function<std::wstring()>& programFile);

// The viewer's document interface as the fallback asks for it, and the nodes it yields.
// Boxes are left, top, width, height in screen pixels, half-open.
struct IViewerDocumentNode : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE getBox(LONG* left, LONG* top, LONG* width, LONG* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE getChildCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE getChild(LONG index, IViewerDocumentNode** child) = 0;
    virtual HRESULT STDMETHODCALLTYPE getText(BSTR* text) = 0;
};
struct IViewerDocument : public IUnknown {
    // The document node of one simple child of the accessible element.
    virtual HRESULT STDMETHODCALLTYPE getNodeOf(VARIANT child, IViewerDocumentNode** node) = 0;
};
extern const IID IID_IViewerDocument;
