// The control skinner factory (Windows). Each skinner class adds its line to the table.
#ifdef _WIN32
#include "control_factory.h"

#include "animate_skinner.h"
#include "bar_skinners.h"
#include "button_skinners.h"
#include "combo_skinner.h"
#include "date_link_skinners.h"
#include "popup_menu.h"
#include "range_skinners.h"
#include "scrolled_skinners.h"
#include "skin_codes.h"
#include "skin_manager.h"
#include "skin_tooltip.h"
#include "window_skinner.h"

namespace {

using Maker = WindowSkinner *(*)(WindowSkinner *container);

struct FactoryEntry {
    int32_t type;
    Maker make;
};

template <class Skinner>
WindowSkinner *make(WindowSkinner *container)
{
    return new Skinner(container);
}

const FactoryEntry kFactory[] = {
    {kSkinButton, &make<ButtonSkinner>},
    {kSkinCheckBox, &make<CheckBoxSkinner>},
    {kSkinGroupBox, &make<GroupBoxSkinner>},
    {kSkinRadio, &make<RadioButtonSkinner>},
    {kSkinStatic, &make<StaticSkinner>},
    {kSkinEdit, &make<EditSkinner>},
    {kSkinRichEdit, &make<EditSkinner>},
    {kSkinListBox, &make<ListBoxSkinner>},
    {kSkinScrollControl, &make<ScrolledControlSkinner>},
    {kSkinListView, &make<ListViewSkinner>},
    {kSkinTreeView, &make<TreeViewSkinner>},
    {kSkinStatusBar, &make<StatusBarSkinner>},
    {kSkinTab, &make<TabControlSkinner>},
    {kSkinToolBar, &make<ToolbarSkinner>},
    {kSkinControlBar, &make<ControlBarSkinner>},
    {kSkinRebar, &make<RebarSkinner>},
    {kSkinHeader, &make<HeaderSkinner>},
    {kSkinDateTime, &make<DateTimePickerSkinner>},
    {kSkinMonthCalendar, &make<MonthCalendarSkinner>},
    {kSkinLinkWnd, &make<LinkWindowSkinner>},
    {kSkinProgressBar, &make<ProgressSkinner>},
    {kSkinScrollBar, &make<ScrollBarControlSkinner>},
    {kSkinSlider, &make<TrackbarSkinner>},
    {kSkinSpin, &make<UpDownSkinner>},
    {kSkinAnimate, &make<AnimateSkinner>},
    {kSkinComboBox, &make<ComboBoxSkinner>},
};

}  // namespace

// A toolbar of a tool window, skinned on its own.
static WindowSkinner *makeLoneToolbar() { return new ToolbarSkinner(nullptr); }

WindowSkinner *createControlSkinner(int32_t typeCode, WindowSkinner *container)
{
    for (const FactoryEntry &entry : kFactory) {
        if (entry.type == typeCode && entry.make != nullptr) {
            return entry.make(container);
        }
    }
    return nullptr;
}

void skinInstallControls()
{
    SkinManager &manager = SkinManager::instance();
    manager.setControlMaker(&createControlSkinner);
    SkinnerMakers makers = manager.makers();
    makers.toolbar = &makeLoneToolbar;
    manager.setMakers(makers);
    manager.setPopupTracker(&skinTrackPopupMenu);
    manager.setMenuBarTracking(SkinManager::MenuBarTracking{&skinTrackMenuBarItem, &skinEndMenuBarItem});
    skinInstallTooltip();
}

#endif
