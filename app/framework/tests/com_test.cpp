// The COM objects' shared IUnknown: the interfaces it answers, its reference counts under
// threads racing on them, and the one deletion at the last Release.
#include "fwcom.h"
#include <gtest/gtest.h>
#include <oleidl.h>
#include <vector>

namespace {

class Source : public FwComObject<IDropSource> {
public:
    Source() : FwComObject(IID_IDropSource) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return S_OK; }
};

TEST(ComObject, AnswersItsInterfacesOnly) {
    long before = FwComObjectCount::live();
    auto* s = new Source();
    EXPECT_EQ(FwComObjectCount::live(), before + 1);
    void* out = nullptr;
    EXPECT_EQ(s->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropSource*>(s));
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(s->QueryInterface(IID_IDropSource, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    out = s;
    EXPECT_EQ(s->QueryInterface(IID_IDropTarget, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(s->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(s->AddRef(), 2u);
    EXPECT_EQ(s->Release(), 1u);
    EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(FwComObjectCount::live(), before);
}

DWORD WINAPI addAndRelease(LPVOID p) {
    auto* s = static_cast<Source*>(p);
    for (int i = 0; i < 100000; ++i) {
        s->AddRef();
        s->Release();
    }
    return 0;
}

// System threads, as OLE's own: under an emulated Wine a std::thread ends the process.
TEST(ComObject, CountsHoldUnderRacingThreads) {
    long before = FwComObjectCount::live();
    auto* s = new Source();
    std::vector<HANDLE> threads;
    for (int t = 0; t < 4; ++t) {
        HANDLE h = CreateThread(nullptr, 0, addAndRelease, s, 0, nullptr);
        ASSERT_TRUE(h);
        threads.push_back(h);
    }
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    for (HANDLE h : threads) CloseHandle(h);
    EXPECT_EQ(FwComObjectCount::live(), before + 1);
    EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(FwComObjectCount::live(), before);
}

}  // namespace
