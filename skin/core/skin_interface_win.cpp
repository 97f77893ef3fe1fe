// The skin engine's flat interface and the per-thread window-creation hook (Windows).
#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "memory_stream.h"
#include "frame_skinner.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_engine_services.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_platform.h"
#include "skin_repository.h"
#include "skin_scrollbar_services.h"
#include "window_skinner.h"

namespace {

constexpr int kClassNameChars = 100;
constexpr size_t kDefaultDialogChars = 50;
const char kDialogClass[] = "#32770";
const char kToolbarClass[] = "ToolbarWindow32";
const char kRebarClass[] = "ReBarWindow32";
const char kControlBarPrefix[] = "AfxControlBar";

// The process-wide state. The lock lives as long as the process, so no start or teardown
// ever races with a lock being made or deleted.
struct EngineState {
    std::recursive_mutex lock;
    std::atomic<bool> started{false};
    std::map<DWORD, HHOOK> hooks;
    char defaultDialog[kDefaultDialogChars + 1] = "";
    std::vector<HWND> scrollBarWindows;
    HINSTANCE instance = nullptr;
    int32_t platform = kPlatformOtherNt;
    std::mutex errorLock;
    std::map<DWORD, uint32_t> errors;
    SkinScrollBarServices scrollBars;
    SkinEngineServices engine;
};

EngineState &state()
{
    static EngineState *s = new EngineState();
    return *s;
}

using Lock = std::lock_guard<std::recursive_mutex>;

void setError(uint32_t code)
{
    EngineState &s = state();
    std::lock_guard<std::mutex> hold(s.errorLock);
    s.errors[GetCurrentThreadId()] = code;
}

// The check of every guarded call: false (code 19) when the engine is not started.
bool started()
{
    if (state().started.load()) {
        return true;
    }
    setError(kSkinErrorNotStarted);
    return false;
}

std::string narrow(const wchar_t *text)
{
    TextConverter converter(text);
    return converter.narrow();
}

bool classNameOf(HWND window, char *out, int size)
{
    wchar_t wide[kClassNameChars] = L"";
    if (GetClassNameW(window, wide, kClassNameChars) == 0) {
        return false;
    }
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, out, size, nullptr, nullptr) > 0;
}

// Whether the hook skins a toolbar that has no skinned ancestor: only in a tool-window frame
// that is not a rebar or a control bar and has a parent of its own.
bool toolbarRuleApplies(HWND parent)
{
    char parentClass[kClassNameChars * 2] = "";
    if (!classNameOf(parent, parentClass, sizeof parentClass)) {
        return false;
    }
    return std::strcmp(parentClass, kRebarClass) != 0 &&
           std::strncmp(parentClass, kControlBarPrefix, sizeof kControlBarPrefix - 1) != 0 &&
           GetParent(parent) != nullptr && (GetWindowLongW(parent, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

void skinNewWindow(HWND window)
{
    char cls[kClassNameChars * 2] = "";
    if (!classNameOf(window, cls, sizeof cls)) {
        return;
    }
    SkinManager &manager = SkinManager::instance();
    char dialogSkin[kDefaultDialogChars + 1];
    {
        Lock hold(state().lock);
        std::memcpy(dialogSkin, state().defaultDialog, sizeof dialogSkin);
    }
    if (std::strcmp(cls, kDialogClass) == 0 && dialogSkin[0] != '\0') {
        manager.applyDialogSkin(window, dialogSkin);
        return;
    }
    HWND parent = GetParent(window);
    if (parent == nullptr) {
        return;
    }
    if (WindowSkinner *skinner = manager.findFrameSkinner(parent)) {
        skinner->skinChild(window, nullptr);
    } else if (std::strcmp(cls, kToolbarClass) == 0 && toolbarRuleApplies(parent)) {
        manager.skinToolbar(window);
    }
}

LRESULT CALLBACK creationHook(int code, WPARAM wp, LPARAM lp)
{
    HHOOK hook = nullptr;
    {
        Lock hold(state().lock);
        auto found = state().hooks.find(GetCurrentThreadId());
        if (found == state().hooks.end()) {
            return 0;
        }
        hook = found->second;
    }
    const auto *message = reinterpret_cast<const CWPSTRUCT *>(lp);
    if (code == HC_ACTION && message != nullptr && message->message == WM_CREATE) {
        skinNewWindow(message->hwnd);
    }
    return CallNextHookEx(hook, code, wp, lp);
}

// The bars' button sizes and minimum thumb from the current skin's ScrollBar object, for the
// given bars of a window with skinned scroll bars; nothing without such an object.
void sizeScrollBars(HWND window, int selector)
{
    const SkinScrollBarServices &services = state().scrollBars;
    SkinRepository *skin = SkinManager::instance().currentSkin();
    auto *bars = skin ? static_cast<ScrollBarDefinition *>(skin->findObjectByType(kSkinScrollBar)) : nullptr;
    if (bars == nullptr || services.setSize == nullptr) {
        return;
    }
    services.setSize(window, selector, bars->buttonSize(), bars->buttonSize());
    services.setMinThumb(window, selector, bars->minThumbSize());
}

// After each load: windows gone leave the list, the others take the new skin's sizes.
void refreshScrollBars()
{
    Lock hold(state().lock);
    auto &list = state().scrollBarWindows;
    for (auto it = list.begin(); it != list.end();) {
        if (!IsWindow(*it)) {
            it = list.erase(it);
            continue;
        }
        sizeScrollBars(*it, SB_BOTH);
        ++it;
    }
}

// The repository's own code copied for the thread, and the repository made current.
int useLoaded(std::unique_ptr<SkinRepository> repository)
{
    setError(static_cast<uint32_t>(repository->errorCode()));
    if (!SkinManager::instance().makeCurrent(std::move(repository))) {
        return 0;
    }
    refreshScrollBars();
    return 1;
}

void tearDown()
{
    EngineState &s = state();
    if (s.engine.ending) {
        s.engine.ending();
    }
    s.defaultDialog[0] = '\0';
    s.scrollBarWindows.clear();
    if (s.scrollBars.removeHooks) {
        s.scrollBars.removeHooks();
    }
    SkinManager::instance().reset();
}

}  // namespace

int skinStartup(HINSTANCE instance, uint32_t, uint32_t, uint32_t)
{
    EngineState &s = state();
    Lock hold(s.lock);
    if (s.hooks.empty() && !s.started.load()) {
        s.instance = instance;
        s.platform = skinDetectPlatformClass();
        skinSetPlatformClass(s.platform);
        skinRegisterFrameSkinners();
        s.started.store(true);
        if (s.scrollBars.installHooks) {
            s.scrollBars.installHooks();
        }
        if (s.engine.started) {
            s.engine.started(s.instance);
        }
    }
    const DWORD thread = GetCurrentThreadId();
    if (s.hooks.count(thread) == 0) {
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &creationHook, s.instance, thread);
        if (hook == nullptr) {
            setError(kSkinErrorHookNotInstalled);
            if (s.hooks.empty()) {
                s.started.store(false);
            }
            return 0;
        }
        s.hooks[thread] = hook;
    }
    setError(kSkinErrorNone);
    return 1;
}

int skinShutdown()
{
    EngineState &s = state();
    if (!s.started.load()) {
        return 0;
    }
    Lock hold(s.lock);
    auto found = s.hooks.find(GetCurrentThreadId());
    if (found != s.hooks.end()) {
        UnhookWindowsHookEx(found->second);
        s.hooks.erase(found);
    }
    if (!s.hooks.empty()) {
        return 1;
    }
    // The flag goes first: calls arriving during teardown see a stopped engine.
    s.started.store(false);
    tearDown();
    return 1;
}

int skinOpenFile(const wchar_t *path)
{
    if (!started()) {
        return 0;
    }
    auto repository = std::make_unique<SkinRepository>();
    const std::wstring wide = path ? path : L"";
    // The file is read through the wide name, so paths outside the ANSI code page work.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        setError(kSkinErrorFileUnreadable);
        return 0;
    }
    LARGE_INTEGER size{};
    std::vector<uint8_t> bytes;
    bool whole = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    if (whole) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        whole = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                                  read == bytes.size());
    }
    CloseHandle(file);
    if (!whole) {
        setError(kSkinErrorFileUnreadable);
        return 0;
    }
    MemoryStream stream(bytes.data(), static_cast<uint32_t>(bytes.size()), kSkinStreamGrowth);
    if (!repository->loadFromStream(stream)) {
        setError(static_cast<uint32_t>(repository->errorCode()));
        return 0;
    }
    return useLoaded(std::move(repository));
}

int skinOpenResource(HINSTANCE instance, const wchar_t *name, const wchar_t *type)
{
    if (!started()) {
        return 0;
    }
    HRSRC found = FindResourceW(instance, name, type);
    if (found == nullptr) {
        setError(kSkinErrorNoResource);
        return 0;
    }
    HGLOBAL loaded = LoadResource(instance, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        setError(kSkinErrorResourceNotLoaded);
        return 0;
    }
    MemoryStream stream(static_cast<const uint8_t *>(bytes), SizeofResource(instance, found), kSkinStreamGrowth);
    auto repository = std::make_unique<SkinRepository>();
    if (!repository->loadFromStream(stream)) {
        // As for a file: the thread learns why the skin was refused.
        setError(static_cast<uint32_t>(repository->errorCode()));
        return 0;
    }
    return useLoaded(std::move(repository));
}

int skinApplyToFrame(HWND window, const wchar_t *name)
{
    if (!started()) {
        return 0;
    }
    const std::string n = narrow(name);
    return SkinManager::instance().applyFrameSkin(window, name ? n.c_str() : nullptr) ? 1 : 0;
}

int skinDetachWindow(HWND window)
{
    if (!started()) {
        return 0;
    }
    return SkinManager::instance().detachWindow(window, false) ? 1 : 0;
}

int skinSetDefaultDialog(const wchar_t *name)
{
    if (!started()) {
        return 0;
    }
    const std::string n = narrow(name);
    Lock hold(state().lock);
    copySkinText(state().defaultDialog, sizeof state().defaultDialog, n.c_str());
    return 1;
}

int skinClearDefaultDialog()
{
    if (!started()) {
        return 0;
    }
    Lock hold(state().lock);
    state().defaultDialog[0] = '\0';
    return 1;
}

int skinApplyToDialog(HWND dialog, const wchar_t *name)
{
    if (!started()) {
        return 0;
    }
    const std::string n = narrow(name);
    return SkinManager::instance().applyDialogSkin(dialog, name ? n.c_str() : nullptr) ? 1 : 0;
}

int skinApplyToControl(HWND control, const wchar_t *name, const wchar_t *container)
{
    if (!started()) {
        return 0;
    }
    const std::string n = narrow(name), c = narrow(container);
    if (!SkinManager::instance().applyControlSkin(control, name ? n.c_str() : nullptr, container ? c.c_str() : nullptr)) {
        setError(kSkinErrorNoObject);
        return 0;
    }
    return 1;
}

int skinAttachScrollBars(HWND window, int selector)
{
    if (!started()) {
        return 0;
    }
    if (!skinPlatformHasSkinnedScrollBars(state().platform)) {
        return 1;
    }
    const SkinScrollBarServices &services = state().scrollBars;
    {
        Lock hold(state().lock);
        // Without the skinned bars in this program the window keeps the platform's.
        bool installed = services.install ? services.install(window) != 0 : IsWindow(window) != 0;
        if (!installed) {
            setError(kSkinErrorScrollBars);
            return 0;
        }
        state().scrollBarWindows.push_back(window);
    }
    if (services.setStyle) {
        services.setStyle(window, selector, kSkinScrollBarsHotTracked);
    }
    sizeScrollBars(window, selector);
    return 1;
}

int skinDetachScrollBars(HWND window)
{
    if (!started()) {
        return 0;
    }
    Lock hold(state().lock);
    if (state().scrollBars.uninstall) {
        state().scrollBars.uninstall(window);
    }
    auto &list = state().scrollBarWindows;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == window) {
            list.erase(it);
            break;
        }
    }
    return 1;
}

void skinSetScrollBarServices(const SkinScrollBarServices &services)
{
    Lock hold(state().lock);
    state().scrollBars = services;
}

const SkinScrollBarServices &skinScrollBarServices() { return state().scrollBars; }

void skinSetEngineServices(const SkinEngineServices &services)
{
    EngineState &s = state();
    Lock hold(s.lock);
    s.engine = services;
    if (s.started.load() && s.engine.started) {
        s.engine.started(s.instance);
    }
}

int skinShowPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    if (!started()) {
        return 0;
    }
    // Without the skinned controls installed, or when the menu window cannot be made, the
    // answer is 0 with an error code, and the caller shows the platform's menu; a cancelled
    // menu also answers 0, with no error.
    SkinManager::PopupTracker tracker = SkinManager::instance().popupTracker();
    const int answer = tracker != nullptr ? tracker(menu, flags, x, y, owner) : -1;
    setError(answer < 0 ? kSkinErrorClassNotRegistered : kSkinErrorNone);
    return answer < 0 ? 0 : answer;
}

int skinWatchWindow(HWND window, UINT message)
{
    if (!started()) {
        return 0;
    }
    SkinManager::instance().watch(window, message == 0 ? kSkinChangedMessage : message);
    return 1;
}

int skinUnwatchWindow(HWND window)
{
    if (!started()) {
        return 0;
    }
    SkinManager::instance().unwatch(window);
    return 1;
}

void *skinFindObject(const wchar_t *name)
{
    const std::string n = narrow(name);
    SkinObject *found = SkinManager::instance().findObject(n.c_str());
    if (found == nullptr) {
        setError(kSkinErrorNoObject);
    }
    return found;
}

int skinObjectColor(void *object, const wchar_t *property, COLORREF *out)
{
    if (object == nullptr || out == nullptr) {
        return 0;
    }
    const std::string n = narrow(property);
    uint32_t color = 0;
    uint32_t size = sizeof color;
    if (!static_cast<SkinObject *>(object)->getProperty(n.c_str(), kSkinPropertyColor, &color, &size)) {
        return 0;
    }
    // A colour property without data copies nothing: the caller keeps its own colour.
    if (size != sizeof color) {
        return 0;
    }
    *out = color;
    return 1;
}

int skinReleaseObject(void *) { return 0; }

COLORREF skinSystemColor(int index)
{
    if (!started()) {
        return 0;
    }
    SkinRepository *skin = SkinManager::instance().currentSkin();
    SysColorTableDefinition *table = skin ? skin->sysColorTable() : nullptr;
    if (table != nullptr) {
        return table->colorFor(index);
    }
    return GetSysColor(index);
}

uint32_t skinLastError()
{
    EngineState &s = state();
    std::lock_guard<std::mutex> hold(s.errorLock);
    auto found = s.errors.find(GetCurrentThreadId());
    return found == s.errors.end() ? 0 : found->second;
}

const char *skinDefaultDialog() { return state().defaultDialog; }

int32_t skinEnginePlatformClass() { return state().platform; }

bool skinIsStarted() { return state().started.load(); }

#endif
