#include "capturelibrary.h"
#include "lxapp.h"
#include "tchk.h"

namespace {
// The capture library, bound at load time: the pop-up look-up window drives it through
// these functions and the trace-file name.
class TchkLibrary : public CaptureLibrary {
public:
    bool init(HWND notify) override { return TCHKInitTextCapture(GetModuleHandleW(nullptr), notify) != nullptr; }
    void disable() override { TCHKDisableTextCapture(); }
    UINT_PTR begin(POINT at) override { return TCHKBeginTextCapture(&at); }
    bool copyCapturedText(wchar_t* buffer, int capacity) override {
        return TCHKCopyCapturedText(buffer, capacity) != FALSE;
    }
    std::wstring processFileName() override {
        wchar_t path[MAX_PATH + 1] = L"";
        TCHKGetProcessFileName(path);
        path[MAX_PATH] = 0;
        return path;
    }
    void setActivationMethod(int key, int button, bool swallow) override {
        TCHKSetActivationMethod(key, button, swallow ? TRUE : FALSE);
    }
    bool setTraceFileName(const std::wstring& path) override {
        constexpr size_t capacity = sizeof gsTraceFileName / sizeof gsTraceFileName[0];
        if (path.size() >= capacity) {
            gsTraceFileName[0] = 0;
            return false;
        }
        path.copy(gsTraceFileName, path.size());
        gsTraceFileName[path.size()] = 0;
        return true;
    }
};
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TchkLibrary library;
    setCaptureLibrary(&library);
    LXApp app;
    int code = app.run();
    setCaptureLibrary(nullptr);
    return code;
}
