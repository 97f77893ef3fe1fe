#include "moduledialog.h"
#include "search/lxdatamanager.h"
#include "settings.h"
#include "updater.h"
#include <commctrl.h>
#include <cstdio>

namespace {
constexpr int kExplanation = 13350, kTitleColumn = 13360, kSizeColumn = 13370, kStatusColumn = 13380;
constexpr int kUpdateAvailable = 13310, kUpToDate = 13320, kDownloadCaption = 13330, kCancelCaption = 12030;
constexpr double kBytesPerMegabyte = 1048576.0;

uint64_t fileSize(const lxstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(fromEngineString(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void addColumn(HWND list, int index, int stringId, int width) {
    std::wstring title = loadLocalizedString(stringId);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.cx = width;
    c.pszText = &title[0];
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}

void setCell(HWND list, int row, int column, std::wstring text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = &text[0];
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
}  // namespace

void installedModules(LXDataManager* dm, std::vector<InstalledModule>& dictionaries,
                      std::vector<InstalledModule>& conjugations) {
    dictionaries.clear();
    conjugations.clear();
    if (!dm) return;
    LXList<LXModuleType> list;
    dm->getModuleList(list);
    for (auto it = list.begin(); it != list.end(); ++it)
        dictionaries.push_back({it->language1, it->language2, static_cast<int>(it->product), fileSize(it->path)});
    LXList<LXModuleType> conj;
    dm->getConjugationModuleList(conj);
    for (auto it = conj.begin(); it != conj.end(); ++it)
        conjugations.push_back({it->language1, it->language2, static_cast<int>(it->product), fileSize(it->path)});
}

bool CModuleDownloadDialog::onInitDialog() {
    SetWindowTextW(hwnd_, applicationName().c_str());
    SetDlgItemTextW(hwnd_, kModuleText, loadLocalizedString(kExplanation).c_str());
    SetDlgItemTextW(hwnd_, IDOK, loadLocalizedString(kDownloadCaption).c_str());
    SetDlgItemTextW(hwnd_, IDCANCEL, loadLocalizedString(kCancelCaption).c_str());
    std::vector<InstalledModule> dictionaries, conjugations;
    installedModules(dataManager_, dictionaries, conjugations);
    rows_ = buildModuleRows(parseModuleList(updaterState().moduleListText), dictionaries, conjugations,
                            [](const std::wstring& name) { return name.empty() ? 0 : languageFromDisplayName(name, 1); });
    fillList();
    return true;
}

void CModuleDownloadDialog::fillList() {
    HWND list = GetDlgItem(hwnd_, kModuleList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT r;
    GetClientRect(list, &r);
    int w = r.right - GetSystemMetrics(SM_CXVSCROLL);
    addColumn(list, 0, kTitleColumn, w / 2);
    addColumn(list, 1, kSizeColumn, w / 8);
    addColumn(list, 2, kStatusColumn, w * 3 / 8);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const ModuleRow& row = rows_[i];
        std::wstring title = dictionaryTitle(row.language1, row.language2, row.product);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = &title[0];
        int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        wchar_t size[32];
        swprintf(size, 32, L"%.1f MB", static_cast<double>(row.downloadSize) / kBytesPerMegabyte);
        setCell(list, at, 1, size);
        setCell(list, at, 2, loadLocalizedString(row.upToDate ? kUpToDate : kUpdateAvailable));
        ListView_SetCheckState(list, at, row.checkedAtFirst());
    }
}

bool CModuleDownloadDialog::onCommand(int id, int code, HWND control) {
    if (id != IDOK) return FwDialog::onCommand(id, code, control);
    HWND list = GetDlgItem(hwnd_, kModuleList);
    std::vector<bool> checked(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) checked[i] = ListView_GetCheckState(list, static_cast<int>(i)) != 0;
    updaterState().downloadList = downloadListOf(rows_, checked);
    endDialog(IDOK);
    return true;
}
