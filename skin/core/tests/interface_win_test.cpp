// Under Wine: the skin engine's flat interface with real windows. Error codes before start-up
// and for missing and bad skins; starting twice; the default dialog name's limit; watched
// windows told at once and on every change of skin; colours and system colours of the
// default skin and of its variant; frames and dialogs skinned through "OBJECT" and the
// window's subclass links (which other subclassers keep), the creation hook skinning a new
// dialog, and windows destroyed before and after shut-down without touching a deleted skinner.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_platform.h"
#include "skin_test_support.h"
#include "version_copy_win.h"
#include "window_skinner.h"

namespace {

std::wstring widen(const std::string &s) { return std::wstring(s.begin(), s.end()); }
std::wstring skinPath(const char *file) { return widen(defaultSkinPath(file)); }

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        wchar_t name[MAX_PATH];
        GetTempFileNameW(base, L"wms", 0, name);
        DeleteFileW(name);
        CreateDirectoryW(name, nullptr);
        path_ = name;
    }
    ~TempFolder()
    {
        for (const auto &f : files_) DeleteFileW(f.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring write(const wchar_t *name, const Bytes &bytes)
    {
        const std::wstring file = path_ + L"\\" + name;
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        files_.push_back(file);
        return file;
    }
    const std::wstring &path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// A plain top-level window class that counts the messages it is sent.
struct Counter {
    int skinChanged = 0;
    int custom = 0;
    int ncDestroy = 0;
    bool objectGoneAtNcDestroy = false;
};

LRESULT CALLBACK countingProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    auto *c = reinterpret_cast<Counter *>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (c != nullptr) {
        if (m == kSkinChangedMessage) ++c->skinChanged;
        if (m == WM_APP + 7) ++c->custom;
        if (m == WM_NCDESTROY) {
            ++c->ncDestroy;
            c->objectGoneAtNcDestroy = GetPropW(w, L"OBJECT") == nullptr;
        }
    }
    return DefWindowProcW(w, m, wp, lp);
}

HWND makeWindow(Counter *counter, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr, const wchar_t *cls = L"SkinTestWindow")
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = countingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinTestWindow";
        RegisterClassW(&wc);
        registered = true;
    }
    HWND w = CreateWindowExW(0, cls, L"test", style, 0, 0, 300, 200, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (w != nullptr && counter != nullptr && std::wstring(cls) == L"SkinTestWindow") {
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(counter));
    }
    return w;
}

INT_PTR CALLBACK dialogProc(HWND, UINT m, WPARAM, LPARAM) { return m == WM_INITDIALOG; }

// A dialog made from a template in memory.
HWND makeDialog()
{
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, cls, title;
    } t{};
    t.dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    t.dialog.cx = 100;
    t.dialog.cy = 60;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, nullptr, dialogProc, 0);
}

class SkinInterface : public ::testing::Test {
protected:
    void TearDown() override
    {
        while (skinIsStarted()) skinShutdown();
    }
    void start()
    {
        ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
        ASSERT_EQ(skinOpenFile(skinPath("skin.gvf").c_str()), 1);
    }
};

TEST_F(SkinInterface, CallsBeforeStartUpAnswerZeroWithCode19)
{
    ASSERT_FALSE(skinIsStarted());
    EXPECT_EQ(skinShutdown(), 0);
    struct {
        const char *what;
        int result;
    } calls[] = {
        {"open file", skinOpenFile(skinPath("skin.gvf").c_str())},
        {"apply to frame", skinApplyToFrame(nullptr, L"MainFrame")},
        {"default dialog", skinSetDefaultDialog(L"Dialog")},
        {"watch", skinWatchWindow(nullptr, 0)},
        {"system colour", static_cast<int>(skinSystemColor(5))},
        {"scroll bars", skinAttachScrollBars(nullptr, 3)},
    };
    for (const auto &c : calls) {
        EXPECT_EQ(c.result, 0) << c.what;
    }
    EXPECT_EQ(skinLastError(), kSkinErrorNotStarted);
    // These do not check: no skin yet, so nothing is found.
    EXPECT_EQ(skinFindObject(L"Splitter"), nullptr);
    EXPECT_EQ(skinLastError(), kSkinErrorNoObject);
}

TEST_F(SkinInterface, StartingTwiceAndAgainAfterShutDown)
{
    EXPECT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(skinLastError(), kSkinErrorNone);
    EXPECT_EQ(skinShutdown(), 1);
    EXPECT_FALSE(skinIsStarted());  // one hook per thread: one shut-down ends it
    EXPECT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    EXPECT_TRUE(skinIsStarted());
    EXPECT_EQ(skinEnginePlatformClass(), 1);  // Wine reports Windows 7 by default
}

TEST_F(SkinInterface, CodesOfMissingAndBadSkins)
{
    ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    TempFolder folder;
    const Bytes good = readFileBytes(defaultSkinPath("skin.gvf"));
    Bytes badSignature = readFileBytes(defaultSkinPath("skin.body"));
    badSignature[0] ^= 0x55;
    Bytes wrongLength = good;
    wrongLength[0] ^= 0x01;
    struct {
        const char *what;
        std::wstring path;
        uint32_t code;
    } cases[] = {
        {"missing", folder.path() + L"\\none.gvf", kSkinErrorFileUnreadable},
        {"empty", folder.write(L"empty.gvf", {}), kSkinErrorExpansion},
        {"length that does not match", folder.write(L"length.gvf", wrongLength), kSkinErrorExpansion},
        {"short header", folder.write(L"short.gvf", skinFile(Bytes(100, 0))), kSkinErrorShortHeader},
        {"bad signature", folder.write(L"signature.gvf", skinFile(badSignature)), kSkinErrorSignature},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(skinOpenFile(c.path.c_str()), 0) << c.what;
        EXPECT_EQ(skinLastError(), c.code) << c.what;
    }
    EXPECT_EQ(skinFindObject(L"MainFrame"), nullptr);  // nothing was made current
    EXPECT_EQ(skinOpenFile(folder.write(L"good.gvf", good).c_str()), 1);
    EXPECT_EQ(skinLastError(), kSkinErrorNone);
    EXPECT_NE(skinFindObject(L"MainFrame"), nullptr);
    // A failed load leaves the current skin in place.
    EXPECT_EQ(skinOpenFile(cases[3].path.c_str()), 0);
    EXPECT_NE(skinFindObject(L"MainFrame"), nullptr);
}

TEST_F(SkinInterface, ResourcesFoundMissingAndRefused)
{
    ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(skinOpenResource(GetModuleHandleW(nullptr), L"NOSUCH", L"GLOSSVANE"), 0);
    EXPECT_EQ(skinLastError(), kSkinErrorNoResource);
    EXPECT_EQ(skinOpenResource(GetModuleHandleW(nullptr), L"SKIN", L"GLOSSVANE"), 1);
    EXPECT_EQ(skinLastError(), kSkinErrorNone);
    EXPECT_NE(skinFindObject(L"Dialog"), nullptr);
}

TEST_F(SkinInterface, DefaultDialogNameKeepsFiftyCharacters)
{
    start();
    const std::wstring sixty(60, L'x');
    EXPECT_EQ(skinSetDefaultDialog(sixty.c_str()), 1);
    EXPECT_EQ(std::string(skinDefaultDialog()), std::string(50, 'x'));
    EXPECT_EQ(skinClearDefaultDialog(), 1);
    EXPECT_STREQ(skinDefaultDialog(), "");
}

TEST_F(SkinInterface, WatchedWindowsAreToldAtOnceAndOnEveryChange)
{
    start();
    Counter counter;
    HWND w = makeWindow(&counter);
    EXPECT_EQ(skinWatchWindow(w, 0), 1);
    EXPECT_EQ(counter.skinChanged, 1);
    ASSERT_EQ(skinOpenFile(skinPath("variant.gvf").c_str()), 1);
    EXPECT_EQ(counter.skinChanged, 2);
    EXPECT_EQ(skinUnwatchWindow(w), 1);
    ASSERT_EQ(skinOpenFile(skinPath("skin.gvf").c_str()), 1);
    EXPECT_EQ(counter.skinChanged, 2);
    // A message of the window's own choice.
    skinWatchWindow(w, WM_APP + 7);
    EXPECT_EQ(counter.custom, 1);
    DestroyWindow(w);
}

TEST_F(SkinInterface, ColoursOfObjectsAndSystemColours)
{
    start();
    void *splitter = skinFindObject(L"Splitter");
    ASSERT_NE(splitter, nullptr);
    COLORREF c = 0x12345678;
    EXPECT_EQ(skinObjectColor(splitter, L"BGColor", &c), 1);
    EXPECT_EQ(c, RGB(0xDD, 0xE3, 0xEA));
    c = 0x12345678;
    EXPECT_EQ(skinObjectColor(splitter, L"NoSuchColour", &c), 0);
    EXPECT_EQ(c, 0x12345678u);
    EXPECT_EQ(skinObjectColor(nullptr, L"BGColor", &c), 0);
    // Entry 0 of the table for indexes outside 0..30.
    EXPECT_EQ(skinSystemColor(0), RGB(0xE9, 0xED, 0xF2));
    EXPECT_EQ(skinSystemColor(31), RGB(0xE9, 0xED, 0xF2));
    EXPECT_EQ(skinSystemColor(-1), RGB(0xE9, 0xED, 0xF2));
    EXPECT_EQ(skinSystemColor(1), RGB(0x3A, 0x6E, 0xA5));
    // The variant's colours once it is current; the object found in the old skin stays readable.
    ASSERT_EQ(skinOpenFile(skinPath("variant.gvf").c_str()), 1);
    EXPECT_EQ(skinSystemColor(31), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(skinObjectColor(skinFindObject(L"Splitter"), L"BGColor", &c), 1);
    EXPECT_EQ(c, RGB(0xC0, 0x40, 0x20));
    EXPECT_EQ(skinObjectColor(splitter, L"BGColor", &c), 1);
    EXPECT_EQ(c, RGB(0xDD, 0xE3, 0xEA));
}

TEST_F(SkinInterface, FramesAreSkinnedOnceAndDetached)
{
    start();
    Counter counter;
    HWND w = makeWindow(&counter);
    EXPECT_EQ(skinApplyToFrame(w, L"Splitter"), 0);  // not a frame object
    EXPECT_EQ(skinApplyToFrame(w, L"NoSuchFrame"), 0);
    EXPECT_EQ(skinApplyToFrame(w, L"MainFrame"), 1);
    EXPECT_NE(GetPropW(w, L"OBJECT"), nullptr);
    EXPECT_EQ(skinApplyToFrame(w, L"MainFrame"), 0);  // already skinned
    EXPECT_EQ(skinApplyToDialog(w, L"Dialog"), 0);
    EXPECT_EQ(skinDetachWindow(w), 1);
    EXPECT_EQ(GetPropW(w, L"OBJECT"), nullptr);
    EXPECT_EQ(skinDetachWindow(w), 0);
    EXPECT_EQ(skinApplyToDialog(w, nullptr), 0);
    EXPECT_EQ(skinApplyToDialog(w, L"Dialog"), 1);
    DestroyWindow(w);
    EXPECT_EQ(counter.ncDestroy, 1);
    EXPECT_TRUE(counter.objectGoneAtNcDestroy);
    EXPECT_EQ(SkinManager::instance().skinnedCount(), 0u);
}

// A subclasser that replaces the window procedure directly after the skinner joined.
WNDPROC gBelow = nullptr;
int gAboveCalls = 0;
LRESULT CALLBACK aboveProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_APP + 7) ++gAboveCalls;
    return CallWindowProcW(gBelow, w, m, wp, lp);
}

TEST_F(SkinInterface, DetachingKeepsALaterSubclasser)
{
    start();
    Counter counter;
    HWND w = makeWindow(&counter);
    ASSERT_EQ(skinApplyToFrame(w, L"MainFrame"), 1);
    gBelow = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&aboveProc)));
    ASSERT_EQ(skinDetachWindow(w), 1);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), &aboveProc);
    SendMessageW(w, WM_APP + 7, 0, 0);
    EXPECT_EQ(gAboveCalls, 1);
    EXPECT_EQ(counter.custom, 1);  // the window's own procedure still gets it
    DestroyWindow(w);
    EXPECT_EQ(counter.ncDestroy, 1);
}

TEST_F(SkinInterface, TheHookSkinsNewDialogsWithTheDefaultDialogSkin)
{
    start();
    HWND before = makeDialog();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(GetPropW(before, L"OBJECT"), nullptr);  // no default dialog skin yet
    ASSERT_EQ(skinSetDefaultDialog(L"Dialog"), 1);
    HWND dialog = makeDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(GetPropW(dialog, L"OBJECT"), nullptr);
    // A child of a skinned frame is looked at by the frame's skinner; without control
    // skinners registered it stays as it is, and nothing breaks.
    Counter counter;
    HWND frame = makeWindow(&counter);
    ASSERT_EQ(skinApplyToFrame(frame, L"MainFrame"), 1);
    HWND button = CreateWindowExW(0, L"Button", L"b", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, frame, nullptr, nullptr, nullptr);
    EXPECT_NE(button, nullptr);
    DestroyWindow(before);
    DestroyWindow(dialog);
    DestroyWindow(frame);
    EXPECT_EQ(SkinManager::instance().skinnedCount(), 0u);
}

TEST_F(SkinInterface, ChangingTheSkinReSkinsAndDropsWhatTheNewSkinLacks)
{
    start();
    Counter a, b;
    HWND frame = makeWindow(&a), dialog = makeWindow(&b);
    ASSERT_EQ(skinApplyToFrame(frame, L"MainFrame"), 1);
    ASSERT_EQ(skinApplyToDialog(dialog, L"Dialog"), 1);
    auto *frameSkinner = SkinManager::instance().findSkinner(frame);
    SkinObject *before = frameSkinner->definition();
    ASSERT_EQ(skinOpenFile(skinPath("variant.gvf").c_str()), 1);
    ASSERT_EQ(SkinManager::instance().findSkinner(frame), frameSkinner);
    EXPECT_NE(frameSkinner->definition(), before);
    EXPECT_STREQ(frameSkinner->definition()->name(), "MainFrame");
    // A skin without objects: both windows lose their skinners.
    TempFolder folder;
    BodyBuilder empty;
    empty.header(1, 18, 0).i32(0).i32(0);
    ASSERT_EQ(skinOpenFile(folder.write(L"empty.gvf", skinFile(empty.bytes)).c_str()), 1);
    EXPECT_EQ(GetPropW(frame, L"OBJECT"), nullptr);
    EXPECT_EQ(GetPropW(dialog, L"OBJECT"), nullptr);
    EXPECT_EQ(SkinManager::instance().skinnedCount(), 0u);
    DestroyWindow(frame);
    DestroyWindow(dialog);
}

TEST_F(SkinInterface, WindowsDestroyedBeforeAndAfterShutDown)
{
    start();
    ASSERT_EQ(skinSetDefaultDialog(L"Dialog"), 1);
    Counter a, b, c;
    HWND first = makeWindow(&a), second = makeWindow(&b), third = makeWindow(&c);
    HWND child = makeWindow(nullptr, WS_CHILD | WS_VISIBLE, second);
    HWND dialog = makeDialog();
    ASSERT_EQ(skinApplyToFrame(first, L"MainFrame"), 1);
    ASSERT_EQ(skinApplyToFrame(second, L"MainFrame"), 1);
    ASSERT_EQ(skinApplyToDialog(third, L"Dialog"), 1);
    ASSERT_NE(GetPropW(dialog, L"OBJECT"), nullptr);
    DestroyWindow(first);  // before shut-down
    DestroyWindow(child);
    EXPECT_EQ(skinShutdown(), 1);
    EXPECT_EQ(GetPropW(second, L"OBJECT"), nullptr);
    EXPECT_EQ(GetPropW(dialog, L"OBJECT"), nullptr);
    // After shut-down: the windows' own procedures see every message, once.
    SendMessageW(third, WM_APP + 7, 0, 0);
    EXPECT_EQ(c.custom, 1);
    DestroyWindow(dialog);
    DestroyWindow(third);
    DestroyWindow(second);
    EXPECT_EQ(a.ncDestroy + b.ncDestroy + c.ncDestroy, 3);
    EXPECT_EQ(skinApplyToFrame(second, L"MainFrame"), 0);
    EXPECT_EQ(skinLastError(), kSkinErrorNotStarted);
}

// The platform class the engine works out at its first start, under each Windows version a
// copy of this program is given through its AppDefaults key (Wine's own default is Windows 7,
// an NT system that is none of 4, 2000 and XP).
const char kVersionVariable[] = "WORDMERE_SKIN_VERSION";

int32_t classOfVersion(const std::string &version)
{
    const struct {
        const char *version;
        int32_t platform;
    } table[] = {{"winxp", kPlatformWinXp}, {"win2k", kPlatformWin2000}, {"nt40", kPlatformNt4},
                 {"win98", kPlatformWin98}, {"winme", kPlatformWinMe}};
    for (const auto &row : table) {
        if (version == row.version) return row.platform;
    }
    return kPlatformOtherNt;
}

TEST(SkinPlatformClass, OfEachWindowsVersion)
{
    const char *given = std::getenv(kVersionVariable);
    const std::string version = given ? given : "default";
    ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(skinEnginePlatformClass(), classOfVersion(version)) << "under " << version;
    while (skinIsStarted()) skinShutdown();
    if (given != nullptr) return;  // a copy checks its own version only
    for (const char *other : {"winxp", "win2k", "nt40", "win98", "winme"}) {
        EXPECT_EQ(runCopyUnderWindowsVersion(other, L"SkinPlatformClass.*", kVersionVariable), 0)
            << "the copy under " << other;
    }
}

}  // namespace
