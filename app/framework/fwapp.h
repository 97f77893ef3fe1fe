// The application object: registry profile, the message pump with its pre-translation
// chain, and application-level commands at the end of the command route.
#pragma once
#include <windows.h>
#include <string>

class FwFrameWindow;
class FwCmdUI;

class FwApp {
public:
    FwApp();
    virtual ~FwApp();
    FwApp(const FwApp&) = delete;
    FwApp& operator=(const FwApp&) = delete;

    static FwApp* instance() { return instance_; }

    // Runs initInstance, the message loop when it succeeded, then exitInstance; the process exit code.
    int run();
    virtual bool initInstance() = 0;
    virtual int exitInstance() { return exitCode_; }

    // Settings then live in HKEY_CURRENT_USER\Software\<key>\<application name>\<section>.
    void setRegistryKey(const std::wstring& key) { registryKey_ = key; }
    void setAppName(const std::wstring& name) { appName_ = name; }
    const std::wstring& appName() const { return appName_; }
    const std::wstring& registryKey() const { return registryKey_; }

    std::wstring getProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def = L"") const;
    int getProfileInt(const wchar_t* section, const wchar_t* entry, int def = 0) const;
    bool writeProfileString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const;
    bool writeProfileInt(const wchar_t* section, const wchar_t* entry, int value) const;

    FwFrameWindow* mainFrame() const { return mainFrame_; }
    HWND mainWindow() const;
    void setMainFrame(FwFrameWindow* f) { mainFrame_ = f; }

    // The last stop of the command route; true when handled.
    virtual bool onRoutedCommand(int id) { return false; }
    virtual bool onUpdateCommandUI(FwCmdUI& ui) { return false; }

    // One round of the pump: pre-translation up the parent chain, then the frame's accelerators.
    bool preTranslate(MSG& msg);

protected:
    int exitCode_ = 0;

private:
    HKEY openSection(const wchar_t* section, bool create) const;
    static FwApp* instance_;
    std::wstring registryKey_;
    std::wstring appName_;
    FwFrameWindow* mainFrame_ = nullptr;
};
