// The application object: start-up (registry, skin, single instance, interface language,
// data folder, data manager, document, frame and view) and shutdown in order.
#pragma once
#include "framework/fwapp.h"
#include "search/lxdatamanager.h"
#include <memory>
#include <string>
#include <vector>

class LXDoc;
class LXFrame;
class LXView;

class LXApp : public FwApp {
public:
    LXApp();
    ~LXApp() override;
    bool initInstance() override;
    int exitInstance() override;
    bool onRoutedCommand(int id) override;
    bool onUpdateCommandUI(FwCmdUI& ui) override;

    void addReportedHotKeyMethod(int method);
    void clearReportedHotKeyMethods() { reported_.clear(); }
    UINT conflictMessageId() const { return conflictMessage_; }
    const std::vector<int>& reportedHotKeyMethods() const { return reported_; }
    void openWithShell(const std::wstring& path);

    const std::wstring& dataFolder() const { return dataFolder_; }
    LXDataManager* dataManager() const { return dataManager_; }
    LXDoc* document() const { return doc_.get(); }
    LXFrame* frame() const { return frame_.get(); }

    // The running copy's window: restored (from the tray in tray mode) and brought forward.
    static void activateRunningInstance(const std::wstring& appName);
    // The program's folder from its full path: cut before the last '\', trailing '/' and
    // '\' removed, leading blanks removed.
    static std::wstring dataFolderFromPath(const std::wstring& exePath);
    // The skin engine as the program starts it: the skinned controls installed, the engine
    // started on this thread, and the skin beside the program ("skin.gvf") or else the one it
    // carries. Then, once the frame is up, the frame skinned and the dialogs' default skin set.
    static void startSkinEngine(HINSTANCE instance);
    static void skinMainWindows(HWND frame);

private:
    HANDLE mutex_ = nullptr;
    UINT conflictMessage_ = 0;
    std::vector<int> reported_;
    std::wstring dataFolder_;
    LXDataManager* dataManager_ = nullptr;
    std::unique_ptr<LXDoc> doc_;
    std::unique_ptr<LXFrame> frame_;
    std::unique_ptr<LXView> view_;
    bool oleStarted_ = false;
};

LXApp* theApp();
std::wstring dataFolder();
