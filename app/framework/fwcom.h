// The IUnknown part of the program's COM objects: interlocked reference counts (OLE may
// call from other threads during drag and drop), QueryInterface for IUnknown and the one
// interface the object implements, and deletion at the last Release. Objects start with
// one reference, which their creator owns.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <atomic>

// How many of these objects are alive, for leak checks.
class FwComObjectCount {
public:
    static long live() { return live_.load(); }

protected:
    FwComObjectCount() { ++live_; }
    ~FwComObjectCount() { --live_; }

private:
    static inline std::atomic<long> live_{0};
};

template <class Interface>
class FwComObject : public Interface, private FwComObjectCount {
public:
    explicit FwComObject(REFIID iid) : iid_(iid) {}
    virtual ~FwComObject() = default;
    FwComObject(const FwComObject&) = delete;
    FwComObject& operator=(const FwComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, iid_)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

private:
    const IID iid_;
    LONG refs_ = 1;
};
