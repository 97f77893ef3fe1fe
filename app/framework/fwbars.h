// Control bars: the toolbar (loaded from a toolbar resource: version, image width and height,
// button count, then one command id per button, 0 for a separator) and the status bar.
#pragma once
#include "fwwindow.h"
#include <commctrl.h>
#include <vector>

constexpr WORD kFwToolBarResourceType = 241;

class FwToolBar : public FwWindow {
public:
    bool create(HWND parent, DWORD style, int id);
    // Adds the buttons of the resource; false when it is missing or malformed.
    bool loadToolBar(int resourceId);
    void setImageList(HIMAGELIST list);
    void hideButton(int commandId, bool hide);
    bool isButtonHidden(int commandId) const;
    const std::vector<int>& commandIds() const { return ids_; }
    HWND tooltips() const;
    int height() const;

private:
    std::vector<int> ids_;
};

class FwStatusBar : public FwWindow {
public:
    bool create(HWND parent, DWORD style, int id);
    void setText(const std::wstring& text);
    std::wstring text() const { return fwWindowText(hwnd_); }
    int height() const;
};
