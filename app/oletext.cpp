#include "oletext.h"
#include "framework/fwcom.h"
#include <shlobj.h>

namespace {

HGLOBAL copyText(const std::wstring& text) {
    SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL g = GlobalAlloc(GMEM_FIXED, bytes);
    if (g) memcpy(reinterpret_cast<void*>(g), text.c_str(), bytes);
    return g;
}

class TextDataObject : public FwComObject<IDataObject> {
public:
    explicit TextDataObject(const std::wstring& text) : FwComObject(IID_IDataObject), text_(text) {}
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fmt, STGMEDIUM* med) override {
        HRESULT r = QueryGetData(fmt);
        if (r != S_OK) return r;
        HGLOBAL g = copyText(text_);
        if (!g) return E_OUTOFMEMORY;
        med->tymed = TYMED_HGLOBAL;
        med->hGlobal = g;
        med->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fmt) override {
        if (!fmt) return E_INVALIDARG;
        if (fmt->cfFormat != CF_UNICODETEXT) return DV_E_FORMATETC;
        if (!(fmt->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        if (fmt->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC fmt{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &fmt, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::wstring text_;
};

class DropSource : public FwComObject<IDropSource> {
public:
    DropSource() : FwComObject(IID_IDropSource) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

IDataObject* createTextDataObject(const std::wstring& text) { return new TextDataObject(text); }
IDropSource* createDropSource() { return new DropSource(); }

std::wstring textOfGlobal(HGLOBAL block) {
    std::wstring text;
    if (!block) return text;
    SIZE_T bytes = GlobalSize(block);
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(block))) {
        size_t n = 0, max = bytes / sizeof(wchar_t);
        while (n < max && p[n]) ++n;
        text.assign(p, n);
        GlobalUnlock(block);
    }
    return text;
}
