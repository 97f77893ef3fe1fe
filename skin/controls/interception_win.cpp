// The interception: the replacements, entry patching through stubs, import-table patching
// with the hooked loader functions.
#include "interception.h"

#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

#include "entry_patch.h"
#include "pe_imports.h"
#include "skin_definitions.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_platform.h"
#include "skin_repository.h"
#include "skin_scrollbar.h"
#include "skin_scrollbar_services.h"

namespace {

constexpr uintptr_t kHighestModuleBase = 0x80000000u;
constexpr int kFunctionCount = 10;
constexpr uint32_t kEntryBytesRead = 32;
constexpr int kMostUndonePasses = 8;

template <typename T>
T procAs(FARPROC p)
{
    return reinterpret_cast<T>(reinterpret_cast<void *>(p));
}
uint32_t address32(const void *p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
template <typename T>
T fromAddress(uint32_t a)
{
    return reinterpret_cast<T>(static_cast<uintptr_t>(a));
}

// ---- the replacements

bool mappedColors(SysColorTableDefinition *&table)
{
    SkinRepository *skin = skinIsStarted() ? SkinManager::instance().currentSkin() : nullptr;
    table = skin ? skin->sysColorTable() : nullptr;
    return table && table->mapsSystemColors();
}

BOOL WINAPI replaceEnableScrollBar(HWND w, UINT which, UINT arrows) { return skinSbEnableScrollBar(w, which, arrows); }
BOOL WINAPI replaceGetScrollInfo(HWND w, int which, LPSCROLLINFO info) { return skinSbGetScrollInfo(w, which, info); }
int WINAPI replaceGetScrollPos(HWND w, int which) { return skinSbGetScrollPos(w, which); }
BOOL WINAPI replaceGetScrollRange(HWND w, int which, LPINT min, LPINT max)
{
    return skinSbGetScrollRange(w, which, min, max);
}
int WINAPI replaceSetScrollInfo(HWND w, int which, LPCSCROLLINFO info, BOOL redraw)
{
    return skinSbSetScrollInfo(w, which, info, redraw);
}
int WINAPI replaceSetScrollPos(HWND w, int which, int pos, BOOL redraw) { return skinSbSetScrollPos(w, which, pos, redraw); }
BOOL WINAPI replaceSetScrollRange(HWND w, int which, int min, int max, BOOL redraw)
{
    return skinSbSetScrollRange(w, which, min, max, redraw);
}
BOOL WINAPI replaceShowScrollBar(HWND w, int which, BOOL show) { return skinSbShowScrollBar(w, which, show); }
DWORD WINAPI replaceGetSysColor(int index)
{
    SysColorTableDefinition *table = nullptr;
    return mappedColors(table) ? table->colorFor(index) : skinRealScrollFunctions().getSysColor(index);
}
HBRUSH WINAPI replaceGetSysColorBrush(int index)
{
    SysColorTableDefinition *table = nullptr;
    if (mappedColors(table)) {
        if (HBRUSH brush = static_cast<HBRUSH>(table->brushFor(index))) {
            return brush;
        }
    }
    return skinRealScrollFunctions().getSysColorBrush(index);
}

// The ten functions, in the order they are patched (scroll functions first).
struct Function {
    const char *name;
    void *replacement;
    void **real;  // the slot of skinRealScrollFunctions that calls the real function
};

Function *functions()
{
    SkinRealScrollFunctions &r = skinRealScrollFunctions();
    static Function f[kFunctionCount] = {
        {"EnableScrollBar", reinterpret_cast<void *>(&replaceEnableScrollBar), reinterpret_cast<void **>(&r.enableScrollBar)},
        {"GetScrollInfo", reinterpret_cast<void *>(&replaceGetScrollInfo), reinterpret_cast<void **>(&r.getScrollInfo)},
        {"GetScrollPos", reinterpret_cast<void *>(&replaceGetScrollPos), reinterpret_cast<void **>(&r.getScrollPos)},
        {"GetScrollRange", reinterpret_cast<void *>(&replaceGetScrollRange), reinterpret_cast<void **>(&r.getScrollRange)},
        {"SetScrollInfo", reinterpret_cast<void *>(&replaceSetScrollInfo), reinterpret_cast<void **>(&r.setScrollInfo)},
        {"SetScrollPos", reinterpret_cast<void *>(&replaceSetScrollPos), reinterpret_cast<void **>(&r.setScrollPos)},
        {"SetScrollRange", reinterpret_cast<void *>(&replaceSetScrollRange), reinterpret_cast<void **>(&r.setScrollRange)},
        {"ShowScrollBar", reinterpret_cast<void *>(&replaceShowScrollBar), reinterpret_cast<void **>(&r.showScrollBar)},
        {"GetSysColor", reinterpret_cast<void *>(&replaceGetSysColor), reinterpret_cast<void **>(&r.getSysColor)},
        {"GetSysColorBrush", reinterpret_cast<void *>(&replaceGetSysColorBrush), reinterpret_cast<void **>(&r.getSysColorBrush)},
    };
    return f;
}

// The platform's address of each function, and the value each real slot had at first use.
struct Saved {
    bool ready = false;
    void *exported[kFunctionCount] = {};
    void *original[kFunctionCount] = {};
    HMODULE user32 = nullptr;
};
Saved &saved()
{
    static Saved s;
    return s;
}

// Reads this process's memory where it is committed and readable. Read/WriteProcessMemory on
// the own process are not used: under an emulated 32-bit Wine they reach other memory.
bool readMemory(uint32_t address, uint8_t *out, uint32_t size)
{
    const auto *p = fromAddress<const uint8_t *>(address);
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(p, &info, sizeof info) != sizeof info || info.State != MEM_COMMIT ||
        (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) {
        return false;
    }
    const auto *end = static_cast<const uint8_t *>(info.BaseAddress) + info.RegionSize;
    if (p + size > end || p + size < p) {
        return false;
    }
    std::memcpy(out, p, size);
    return true;
}

// Writes a 32-bit value into this process's memory (an import slot), whatever its protection.
bool writeValue(uint8_t *at, uint32_t value)
{
    DWORD old = 0;
    if (!VirtualProtect(at, sizeof value, PAGE_READWRITE, &old)) {
        return false;
    }
    std::memcpy(at, &value, sizeof value);
    DWORD ignored = 0;
    VirtualProtect(at, sizeof value, old, &ignored);
    return true;
}

bool loadExports()
{
    Saved &s = saved();
    if (s.ready) {
        return true;
    }
    s.user32 = LoadLibraryA("User32.dll");
    if (!s.user32) {
        return false;
    }
    for (int i = 0; i < kFunctionCount; ++i) {
        s.exported[i] = reinterpret_cast<void *>(GetProcAddress(s.user32, functions()[i].name));
        s.original[i] = *functions()[i].real;
    }
    s.ready = true;
    return true;
}

void restoreRealSlots()
{
    for (int i = 0; i < kFunctionCount; ++i) {
        *functions()[i].real = saved().original[i];
    }
}

// ---- entry patching

// The stubs: one page of 32-byte areas, each calling its routine, which answers the address
// the function's own code starts at.
uint8_t *stubs()
{
    static uint8_t *page = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, kStubSize * kFunctionCount, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    return page;
}
uint8_t *stubOf(int i) { return stubs() + kStubSize * i; }

uint32_t entryOf[kFunctionCount];
bool patched[kFunctionCount];

template <int I>
void *__cdecl stubRoutineOf()
{
    return fromAddress<void *>(entryOf[I]);
}
using Routine = void *(__cdecl *)();
template <int... I>
Routine routineOf(int i, std::integer_sequence<int, I...>)
{
    static const Routine table[] = {&stubRoutineOf<I>...};
    return table[i];
}
Routine routineOf(int i) { return routineOf(i, std::make_integer_sequence<int, kFunctionCount>{}); }

// An address with the leading indirect jumps of import thunks and forwarders followed.
uint32_t followIndirect(uint32_t address, bool relativeToo)
{
    for (int hops = 0; hops < 4; ++hops) {
        uint8_t code[6];
        if (!readMemory(address, code, sizeof code)) {
            break;
        }
        LeadingJump j = leadingJump(code, sizeof code, address, relativeToo);
        if (j.kind == LeadingJump::kNone) {
            break;
        }
        if (j.kind == LeadingJump::kIndirect) {
            uint8_t pointer[4];
            if (!readMemory(j.value, pointer, sizeof pointer)) {
                break;
            }
            std::memcpy(&address, pointer, 4);
        } else {
            address = j.value;
        }
    }
    return address;
}

bool writeCode(uint32_t at, const uint8_t *bytes, uint32_t count)
{
    void *p = fromAddress<void *>(at);
    DWORD old = 0;
    FlushInstructionCache(GetCurrentProcess(), p, count);
    if (!VirtualProtect(p, count, PAGE_EXECUTE_READWRITE, &old)) {
        return false;
    }
    std::memcpy(p, bytes, count);
    DWORD ignored = 0;
    VirtualProtect(p, count, old, &ignored);
    FlushInstructionCache(GetCurrentProcess(), p, count);
    return true;
}

bool installEntryHook(int i)
{
    uint8_t *stub = stubOf(i);
    uint32_t stubAt = address32(stub);
    uint32_t replacement = followIndirect(address32(functions()[i].replacement), false);
    if (!isFreshStub(stub)) {
        return false;
    }
    uint32_t entry = followIndirect(address32(reinterpret_cast<Routine>(fromAddress<void *>(stubRoutine(stub, stubAt)))()),
                                    false);
    uint8_t code[kEntryBytesRead];
    if (!readMemory(entry, code, sizeof code)) {
        return false;
    }
    EntryPatch plan;
    if (planEntryPatch(stub, stubAt, code, sizeof code, entry, replacement, plan) != kPatchOk) {
        return false;
    }
    std::memcpy(stub, plan.stub, kStubSize);
    FlushInstructionCache(GetCurrentProcess(), stub, kStubSize);
    if (!writeCode(entry, plan.entry, plan.covered)) {
        buildFreshStub(stub, stubAt, address32(reinterpret_cast<void *>(routineOf(i))));
        return false;
    }
    return true;
}

bool removeEntryHook(int i)
{
    uint8_t *stub = stubOf(i);
    uint32_t stubAt = address32(stub);
    uint32_t entry = 0, count = 0;
    PatchStatus s = patchedEntry(stub, stubAt, entry, count);
    uint8_t current[kMostCovered];
    uint8_t restored[kMostCovered];
    if (s == kPatchOk && !readMemory(entry, current, count)) {
        s = kPatchNoJump;
    }
    if (s == kPatchOk) {
        s = planEntryRestore(stub, stubAt, current, entry, followIndirect(address32(functions()[i].replacement), false),
                             restored);
    }
    static const DWORD errors[] = {0, 0, 0, 0, 0, ERROR_INVALID_HANDLE, ERROR_INVALID_BLOCK, ERROR_INVALID_ACCESS,
                                   ERROR_INVALID_DATA};
    if (s != kPatchOk) {
        SetLastError(errors[s]);
        return false;
    }
    if (!writeCode(entry, restored, count)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    // The stub is made fresh again, so a later start patches the function again.
    buildFreshStub(stub, stubAt, address32(reinterpret_cast<void *>(routineOf(i))));
    FlushInstructionCache(GetCurrentProcess(), stub, kStubSize);
    return true;
}

bool installEntries()
{
    if (!stubs() || !loadExports()) {
        return false;
    }
    for (int i = 0; i < kFunctionCount; ++i) {
        entryOf[i] = followIndirect(address32(saved().exported[i]), false);
        if (!patched[i]) {
            buildFreshStub(stubOf(i), address32(stubOf(i)), address32(reinterpret_cast<void *>(routineOf(i))));
        }
    }
    for (int i = 0; i < kFunctionCount; ++i) {
        if (!patched[i] && entryOf[i]) {
            patched[i] = installEntryHook(i);
        }
        // Calling the stub runs the real function, patched or not.
        *functions()[i].real = stubOf(i);
    }
    return true;
}

void removeEntries()
{
    for (int i = kFunctionCount - 1; i >= 0; --i) {
        if (patched[i] && removeEntryHook(i)) {
            patched[i] = false;
        }
    }
    restoreRealSlots();
}

// ---- import patching

struct ImportHook {
    const char *module;
    const char *function;
    uint32_t real;
    uint32_t replacement;
};
// The registered hooks, newest last. Other threads may be inside the replacements while
// hooks are registered or removed, so the records live in a fixed table that is never freed,
// and only the count changes.
constexpr int kMostImportHooks = 16;
ImportHook gImportHooks[kMostImportHooks];
std::atomic<int> gImportHookCount{0};

struct HookList {
    const ImportHook *begin() const { return gImportHooks; }
    const ImportHook *end() const { return gImportHooks + gImportHookCount.load(); }
};
HookList importHooks() { return HookList{}; }

uint32_t highestApplicationAddress()
{
    static uint32_t highest = [] {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        return address32(info.lpMaximumApplicationAddress);
    }();
    return highest;
}

void patchModule(HMODULE module, uint32_t size, const ImportHook &hook, bool undo)
{
    if (reinterpret_cast<uintptr_t>(module) >= kHighestModuleBase || size == 0) {
        return;
    }
    PeImage image(reinterpret_cast<const uint8_t *>(module), size);
    uint32_t from = undo ? hook.replacement : hook.real;
    uint32_t to = undo ? hook.real : hook.replacement;
    // Patching takes the first slot; undoing gives back every slot that leads to the
    // replacement, so none is left calling it after removal.
    for (int pass = 0; pass < (undo ? kMostUndonePasses : 1); ++pass) {
        uint32_t slot = findImportSlot(image, hook.module, from, highestApplicationAddress(), &readMemory);
        if (slot == 0 || !writeValue(reinterpret_cast<uint8_t *>(module) + slot, to)) {
            return;
        }
    }
}

// The modules mapped in this process: the bases of its image mappings, found region by
// region. (The module snapshot is not used: under an emulated Wine it is read from other
// memory than the process's own.)
std::vector<HMODULE> loadedModules()
{
    std::vector<HMODULE> modules;
    const uint8_t *at = nullptr;
    MEMORY_BASIC_INFORMATION info{};
    while (VirtualQuery(at, &info, sizeof info) == sizeof info) {
        if (info.Type == MEM_IMAGE && info.AllocationBase == info.BaseAddress && info.State == MEM_COMMIT) {
            modules.push_back(static_cast<HMODULE>(info.AllocationBase));
        }
        const uint8_t *next = static_cast<const uint8_t *>(info.BaseAddress) + info.RegionSize;
        if (next <= at) {
            break;
        }
        at = next;
    }
    return modules;
}

uint32_t moduleSize(HMODULE module);

void patchAllModules(const ImportHook &hook, bool undo)
{
    for (HMODULE module : loadedModules()) {
        patchModule(module, moduleSize(module), hook, undo);
    }
}

uint32_t moduleSize(HMODULE module)
{
    uint8_t first[4096];
    if (!readMemory(address32(module), first, sizeof first)) {
        return 0;
    }
    PeImage headers(first, sizeof first);
    uint32_t size = headers.sizeOfImage();
    // Only as much as is really mapped there.
    uint8_t last = 0;
    return size && readMemory(address32(module) + size - 1, &last, 1) ? size : 0;
}

void patchNewModule(HMODULE module)
{
    if (!module) {
        return;
    }
    uint32_t size = moduleSize(module);
    for (const ImportHook &hook : importHooks()) {
        patchModule(module, size, hook, false);
    }
}

// The real loader functions, found once per process and kept after removal: a pointer to a
// replacement handed out by GetProcAddress, or a thread already inside one, may still call
// it then, and Kernel32 never leaves the process.
struct Loader {
    bool ready = false;
    HMODULE kernel32 = nullptr;
    HMODULE(WINAPI *loadLibraryA)(LPCSTR) = nullptr;
    HMODULE(WINAPI *loadLibraryW)(LPCWSTR) = nullptr;
    HMODULE(WINAPI *loadLibraryExA)(LPCSTR, HANDLE, DWORD) = nullptr;
    HMODULE(WINAPI *loadLibraryExW)(LPCWSTR, HANDLE, DWORD) = nullptr;
    FARPROC(WINAPI *getProcAddress)(HMODULE, LPCSTR) = nullptr;
};
Loader &loader()
{
    static Loader l;
    return l;
}

HMODULE WINAPI replaceLoadLibraryA(LPCSTR name)
{
    HMODULE m = loader().loadLibraryA(name);
    patchNewModule(m);
    return m;
}
HMODULE WINAPI replaceLoadLibraryW(LPCWSTR name)
{
    HMODULE m = loader().loadLibraryW(name);
    patchNewModule(m);
    return m;
}
HMODULE WINAPI replaceLoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags)
{
    HMODULE m = loader().loadLibraryExA(name, file, flags);
    if (m && !(flags & LOAD_LIBRARY_AS_DATAFILE)) {
        patchNewModule(m);
    }
    return m;
}
HMODULE WINAPI replaceLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags)
{
    HMODULE m = loader().loadLibraryExW(name, file, flags);
    if (m && !(flags & LOAD_LIBRARY_AS_DATAFILE)) {
        patchNewModule(m);
    }
    return m;
}
FARPROC WINAPI replaceGetProcAddress(HMODULE module, LPCSTR name)
{
    FARPROC found = loader().getProcAddress(module, name);
    for (const ImportHook &hook : importHooks()) {
        if (found && address32(reinterpret_cast<void *>(found)) == hook.real) {
            return fromAddress<FARPROC>(hook.replacement);
        }
    }
    return found;
}

void registerImportHook(const char *module, const char *function, uint32_t real, void *replacement)
{
    ImportHook hook{module, function, lookThroughForwarder(real, highestApplicationAddress(), &readMemory),
                    address32(replacement)};
    int n = gImportHookCount.load();
    if (n >= kMostImportHooks) {
        return;
    }
    gImportHooks[n] = hook;
    gImportHookCount.store(n + 1);
    patchAllModules(hook, false);
}

bool installImports()
{
    if (!loadExports()) {
        return false;
    }
    Loader &l = loader();
    if (!l.kernel32) {
        l.kernel32 = LoadLibraryA("Kernel32");
        if (!l.kernel32) {
            return false;
        }
    }
    if (!l.ready) {
        l.loadLibraryA = procAs<decltype(l.loadLibraryA)>(GetProcAddress(l.kernel32, "LoadLibraryA"));
        l.loadLibraryW = procAs<decltype(l.loadLibraryW)>(GetProcAddress(l.kernel32, "LoadLibraryW"));
        l.loadLibraryExA = procAs<decltype(l.loadLibraryExA)>(GetProcAddress(l.kernel32, "LoadLibraryExA"));
        l.loadLibraryExW = procAs<decltype(l.loadLibraryExW)>(GetProcAddress(l.kernel32, "LoadLibraryExW"));
        l.getProcAddress = procAs<decltype(l.getProcAddress)>(GetProcAddress(l.kernel32, "GetProcAddress"));
        l.ready = l.loadLibraryA && l.loadLibraryW && l.loadLibraryExA && l.loadLibraryExW && l.getProcAddress;
        if (!l.ready) {
            FreeLibrary(l.kernel32);
            l.kernel32 = nullptr;
            return false;
        }
    }
    registerImportHook("Kernel32.dll", "LoadLibraryA", address32(reinterpret_cast<void *>(l.loadLibraryA)),
                       reinterpret_cast<void *>(&replaceLoadLibraryA));
    registerImportHook("Kernel32.dll", "LoadLibraryW", address32(reinterpret_cast<void *>(l.loadLibraryW)),
                       reinterpret_cast<void *>(&replaceLoadLibraryW));
    registerImportHook("Kernel32.dll", "LoadLibraryExA", address32(reinterpret_cast<void *>(l.loadLibraryExA)),
                       reinterpret_cast<void *>(&replaceLoadLibraryExA));
    registerImportHook("Kernel32.dll", "LoadLibraryExW", address32(reinterpret_cast<void *>(l.loadLibraryExW)),
                       reinterpret_cast<void *>(&replaceLoadLibraryExW));
    registerImportHook("Kernel32.dll", "GetProcAddress", address32(reinterpret_cast<void *>(l.getProcAddress)),
                       reinterpret_cast<void *>(&replaceGetProcAddress));
    for (int i = 0; i < kFunctionCount; ++i) {
        // The real functions are called at their own addresses: only the tables change.
        *functions()[i].real = saved().exported[i];
        registerImportHook("USER32.dll", functions()[i].name, address32(saved().exported[i]), functions()[i].replacement);
    }
    return true;
}

void removeImports()
{
    // The ten User32 hooks were registered last and go first, then the loader's.
    for (int i = gImportHookCount.load() - 1; i >= 0; --i) {
        patchAllModules(gImportHooks[i], true);
    }
    gImportHookCount.store(0);
    restoreRealSlots();
    Loader &l = loader();
    if (l.kernel32) {
        FreeLibrary(l.kernel32);
        l.kernel32 = nullptr;
    }
}

SkinInterceptionKind installed = kInterceptNone;

}  // namespace

SkinInterceptionKind skinInterceptionFor(int32_t platformClass)
{
    if (platformClass == kPlatformWin98 || platformClass == kPlatformWinMe) {
        return kInterceptImports;
    }
    if (platformClass >= kPlatformNt4) {
        return kInterceptEntries;
    }
    return kInterceptNone;
}

int InstallScrollBarHooks()
{
    if (installed != kInterceptNone) {
        return 1;
    }
    SkinInterceptionKind kind = skinInterceptionFor(skinPlatformClass());
    bool ok = kind == kInterceptEntries ? installEntries() : kind == kInterceptImports ? installImports() : false;
    if (!ok) {
        return 0;
    }
    installed = kind;
    return 1;
}

int RemoveScrollBarHooks()
{
    if (installed == kInterceptNone) {
        return 0;
    }
    if (installed == kInterceptEntries) {
        removeEntries();
    } else {
        removeImports();
    }
    installed = kInterceptNone;
    return 1;
}

int skinPatchedEntryCount()
{
    int n = 0;
    for (bool p : patched) {
        n += p;
    }
    return n;
}

const void *skinInterceptedEntry(const char *name)
{
    for (int i = 0; i < kFunctionCount; ++i) {
        if (std::strcmp(functions()[i].name, name) == 0 && entryOf[i]) {
            return fromAddress<const void *>(entryOf[i]);
        }
    }
    return nullptr;
}

void skinControlsUseScrollBars()
{
    SkinScrollBarServices s;
    s.install = &skinScrollBarInstall;
    s.uninstall = &skinScrollBarUninstall;
    s.setSize = &skinScrollBarSetSize;
    s.setStyle = &skinScrollBarSetStyle;
    s.setMinThumb = &skinScrollBarSetMinThumb;
    s.installHooks = &InstallScrollBarHooks;
    s.removeHooks = &RemoveScrollBarHooks;
    skinSetScrollBarServices(s);
}
