// Menu bar actions that do nothing, for tests that read layouts and states only.
#pragma once
#include "menu_bar_model.h"

class SilentMenuBarActions : public MenuBarActions {
public:
    void initMenu() override {}
    bool openPopup(size_t) override { return true; }
    void closePopup(size_t) override {}
    void runCommand(uint32_t) override {}
    void setHoverTimer(bool) override {}
    void repaint() override {}
    void openChildSystemMenu() override {}
    void mdiButtonReleased(MdiButtonIndex) override {}
};
