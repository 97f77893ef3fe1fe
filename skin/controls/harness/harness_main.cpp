// skin_harness.exe: the skinned-controls harness dialog, skinned with the default skin (or
// the skin file given as the first argument); "--plain" shows it unskinned for comparison.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "control_factory.h"
#include "harness_dialog.h"
#include "skin_interface.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    bool plain = false;
    const wchar_t *skin = L"skin.gvf";
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--plain") == 0) {
            plain = true;
        } else {
            skin = argv[i];
        }
    }
    if (!plain) {
        skinStartup(instance);
        skinInstallControls();
        if (!skinOpenFile(skin)) {
            MessageBoxW(nullptr, L"The skin file could not be opened; the harness shows the controls unskinned.",
                        L"Wordmere skinned controls", MB_OK | MB_ICONWARNING);
        }
        skinSetDefaultDialog(L"Dialog");
    }
    HWND dialog = createHarnessDialog(instance, nullptr, 0, 0);
    if (dialog == nullptr) return 1;
    MSG msg;
    while (IsWindow(dialog) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (!plain) skinShutdown();
    LocalFree(argv);
    return 0;
}
