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

struct Race {
    Source* source;
    HANDLE start;  // set once every thread is up: they run their loops together
    LONG inLoop = 0, mostInLoop = 0;
};

DWORD WINAPI addAndRelease(LPVOID p) {
    auto* race = static_cast<Race*>(p);
    WaitForSingleObject(race->start, INFINITE);
    const LONG inLoop = InterlockedIncrement(&race->inLoop);
    for (LONG most = race->mostInLoop; inLoop > most; most = race->mostInLoop)
        InterlockedCompareExchange(&race->mostInLoop, inLoop, most);
    for (int i = 0; i < 1000000; ++i) {
        race->source->AddRef();
        race->source->Release();
    }
    InterlockedDecrement(&race->inLoop);
    return 0;
}

// System threads, as OLE's own (under an emulated Wine a std::thread ends the process, and so
// can system threads created back to back: they are started a moment apart and released
// together at a gate).
TEST(ComObject, CountsHoldUnderRacingThreads) {
    constexpr int kThreads = 4;
    constexpr DWORD kStartApartMs = 50;
    long before = FwComObjectCount::live();
    Race race{new Source(), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ASSERT_TRUE(race.start);
    std::vector<HANDLE> threads;
    for (int t = 0; t < kThreads; ++t) {
        HANDLE h = CreateThread(nullptr, 0, addAndRelease, &race, 0, nullptr);
        if (!h) break;
        threads.push_back(h);
        Sleep(kStartApartMs);
    }
    SetEvent(race.start);
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    for (HANDLE h : threads) CloseHandle(h);
    CloseHandle(race.start);
    ASSERT_EQ(threads.size(), static_cast<size_t>(kThreads));
    // More than one thread was in its loop at a time, or nothing raced.
    EXPECT_GT(race.mostInLoop, 1);
    EXPECT_EQ(FwComObjectCount::live(), before + 1);
    EXPECT_EQ(race.source->Release(), 0u);
    EXPECT_EQ(FwComObjectCount::live(), before);
}

}  // namespace
