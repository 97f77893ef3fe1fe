// What the pop-up look-up window needs of the capture library. The program binds tchk.dll
// (main.cpp); a process without a library (the unit tests) leaves capture off.
#pragma once
#include <windows.h>
#include <string>

class CaptureLibrary {
public:
    virtual ~CaptureLibrary() = default;
    // Arms the system-wide hook with `notify` as the window of its messages.
    virtual bool init(HWND notify) = 0;
    virtual void disable() = 0;
    virtual UINT_PTR begin(POINT at) = 0;
    virtual bool copyCapturedText(wchar_t* buffer, int capacity) = 0;
    // The program file of the last capture's target.
    virtual std::wstring processFileName() = 0;
    virtual void setActivationMethod(int virtualKey, int button, bool swallow) = 0;
    // False (and no trace file) when the path does not fit the library's buffer.
    virtual bool setTraceFileName(const std::wstring& path) = 0;
};

void setCaptureLibrary(CaptureLibrary* library);
CaptureLibrary* captureLibrary();
