#include "fwapp.h"
#include "fwframe.h"
#include "fwwindow.h"
#include <vector>

FwApp* FwApp::instance_ = nullptr;

FwApp::FwApp() {
    instance_ = this;
}

FwApp::~FwApp() {
    if (instance_ == this) instance_ = nullptr;
}

HWND FwApp::mainWindow() const {
    return mainFrame_ ? mainFrame_->hwnd() : nullptr;
}

HKEY FwApp::openSection(const wchar_t* section, bool create) const {
    if (registryKey_.empty() || appName_.empty()) return nullptr;
    std::wstring path = L"Software\\" + registryKey_ + L"\\" + appName_ + L"\\" + section;
    HKEY key = nullptr;
    LONG rc = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                       KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                     : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

std::wstring FwApp::getProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def) const {
    HKEY key = openSection(section, false);
    if (!key) return def;
    std::wstring result = def;
    DWORD type = 0, size = 0;
    // Values are read whole into a buffer of the reported size, then cut at the first NUL:
    // registry data need not be terminated, and a huge value is refused rather than trusted.
    if (RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size <= 1u << 20) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        if (RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) ==
            ERROR_SUCCESS) {
            buf[std::min<size_t>(got / sizeof(wchar_t), buf.size() - 1)] = L'\0';
            result = buf.data();
        }
    }
    RegCloseKey(key);
    return result;
}

int FwApp::getProfileInt(const wchar_t* section, const wchar_t* entry, int def) const {
    HKEY key = openSection(section, false);
    if (!key) return def;
    int result = def;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value)
        result = static_cast<int>(value);
    RegCloseKey(key);
    return result;
}

bool FwApp::writeProfileString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const {
    HKEY key = openSection(section, true);
    if (!key) return false;
    LONG rc = RegSetValueExW(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool FwApp::writeProfileInt(const wchar_t* section, const wchar_t* entry, int value) const {
    HKEY key = openSection(section, true);
    if (!key) return false;
    DWORD v = static_cast<DWORD>(value);
    LONG rc = RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool FwApp::preTranslate(MSG& msg) {
    for (HWND h = msg.hwnd; h; h = GetParent(h)) {
        FwWindow* w = FwWindow::fromHandle(h);
        if (w && w->preTranslateMessage(msg)) return true;
    }
    if (mainFrame_ && mainFrame_->hwnd() && mainFrame_->accelerators()) {
        // Accelerators act only for messages of the frame's own windows, not for dialogs
        // owned by it.
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top == mainFrame_->hwnd() &&
            TranslateAcceleratorW(mainFrame_->hwnd(), mainFrame_->accelerators(), &msg))
            return true;
    }
    return false;
}

int FwApp::run() {
    if (!initInstance()) {
        exitInstance();
        return 0;
    }
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        if (preTranslate(msg)) continue;
        // Modeless dialogs get their keyboard navigation.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        wchar_t cls[16] = L"";
        if (root && root != mainWindow() && GetClassNameW(root, cls, 16) && lstrcmpW(cls, L"#32770") == 0 &&
            IsDialogMessageW(root, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    exitCode_ = static_cast<int>(msg.wParam);
    return exitInstance();
}
