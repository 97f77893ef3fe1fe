// The fixture of the Windows tests that drive the harness dialog: the engine started on the
// default skin with the skinned controls installed, the harness dialog made, brought to the
// front and painted, and all of it taken down again after each test.
#ifndef WORDMERE_SKIN_CONTROLS_TESTS_HARNESS_FIXTURE_H
#define WORDMERE_SKIN_CONTROLS_TESTS_HARNESS_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include "control_factory.h"
#include "harness_dialog.h"
#include "skin_interface.h"
#include "win_test_support.h"

class HarnessDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        skinInstallControls();
        ASSERT_TRUE(startWithDefaultSkin());
        ASSERT_EQ(skinSetDefaultDialog(L"Dialog"), 1);
        dialog_ = createHarnessDialog(GetModuleHandleW(nullptr), &log_, 40, 40);
        ASSERT_NE(dialog_, nullptr);
        SetForegroundWindow(dialog_);
        pump();
        UpdateWindow(dialog_);
    }
    void TearDown() override
    {
        if (dialog_ != nullptr) DestroyWindow(dialog_);
        while (skinIsStarted()) skinShutdown();
    }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }

    HWND dialog_ = nullptr;
    HarnessLog log_;
};

#endif
