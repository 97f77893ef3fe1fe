// The module download dialog: the served modules with their size and whether they are up
// to date, the outdated installed ones checked; OK puts the checked ones in the updater's
// download list.
#pragma once
#include "framework/fwdialog.h"
#include "modulelist.h"
#include <vector>

class LXDataManager;

#include "resource.h"
enum { kModuleDialog = IDD_MODULES, kModuleList = IDC_MODULE_LIST, kModuleText = IDC_MODULE_TEXT };

class CModuleDownloadDialog : public FwDialog {
public:
    CModuleDownloadDialog(LXDataManager* dm) : FwDialog(kModuleDialog), dataManager_(dm) {}
    const std::vector<ModuleRow>& rows() const { return rows_; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void fillList();
    LXDataManager* dataManager_;
    std::vector<ModuleRow> rows_;
};

// The installed modules of the data manager with their sizes on disk.
void installedModules(LXDataManager* dm, std::vector<InstalledModule>& dictionaries,
                      std::vector<InstalledModule>& conjugations);
