#include "menu_entries.h"

std::wstring menuItemText(HMENU menu, int position)
{
    wchar_t buffer[kMenuTextCapacity + 1] = {};
    const int length = GetMenuStringW(menu, static_cast<UINT>(position), buffer, kMenuTextCapacity + 1, MF_BYPOSITION);
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

bool menuItemEnabled(HMENU menu, int position)
{
    const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

SkinSize menuTextExtent(HDC dc, const std::wstring &text)
{
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return SkinSize{r.right - r.left, r.bottom - r.top};
}

std::vector<MenuBarEntry> readMenuBarEntries(HMENU menu, HDC dc, HFONT font)
{
    std::vector<MenuBarEntry> entries;
    const int count = menu ? GetMenuItemCount(menu) : 0;
    if (count <= 0) return entries;
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    for (int position = 0; position < count; ++position) {
        MenuBarEntry e;
        const std::wstring text = menuItemText(menu, position);
        e.text.assign(text.begin(), text.end());
        HMENU submenu = GetSubMenu(menu, position);
        e.hasSubmenu = submenu != nullptr;
        e.commandId = submenu ? 0 : GetMenuItemID(menu, position);
        e.enabled = menuItemEnabled(menu, position);
        if (!text.empty()) e.textExtent = menuTextExtent(dc, text);
        entries.push_back(e);
    }
    if (previous) SelectObject(dc, previous);
    return entries;
}

void refreshMenuBarEnabled(MenuBarModel &model, HMENU menu)
{
    const auto &items = model.items();
    for (size_t i = 0; i < items.size(); ++i) model.setItemEnabled(i, menuItemEnabled(menu, items[i].position));
}
