// The preferences: the hot key's activation method and whether it is on, the interface
// language, and (as the option word allows) the hot-key line and the skinning choice. The
// dialog places its rows itself, leaving out those the option word hides.
#pragma once
#include "framework/fwdialog.h"
#include <string>
#include <vector>

enum OptionsControl {
    kOptionsDialog = 1600,
    kOptHotKeyEnabled = 1601,
    kOptInterfaceLanguage = 1602,
    kOptActivation = 1603,
    kOptLanguageLabel = 1607,
    kOptHotKeyGroup = 1608,
    kOptActivationLabel = 1609,
    kOptDescription = 1611,
    kOptShowHotKey = 1612,
    kOptUseTheme = 1613,
};
// The number of hot-key activation methods and of interface languages offered.
constexpr int kActivationMethods = 6, kInterfaceLanguages = 6;
// The window of the pop-up look-up, which the dialog tells about a changed hot key.
extern const wchar_t kHotKeyWindowName[];

class COptionsDialog : public FwDialog {
public:
    // `reported`: the activation methods other running copies use, not offered here.
    explicit COptionsDialog(const std::vector<int>& reported) : FwDialog(kOptionsDialog), reported_(reported) {}
    INT_PTR run(HWND parent) { return runModal(parent); }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    bool reported(int method) const;
    void fillActivations();
    void layout();
    void store();

    std::vector<int> reported_;
};

// Runs the dialog over `parent`; true when it ended with OK after storing.
bool runOptionsDialog(HWND parent);
