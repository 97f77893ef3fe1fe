// The window side of the frame menu bar's model: the top-level entries of a menu, with their
// texts measured as the bar draws them (the mnemonic's ampersand removed, "&&" as one), and
// their enabled state, which the menu may change at any time (Windows only).
#ifndef WORDMERE_SKIN_CORE_MENU_ENTRIES_H
#define WORDMERE_SKIN_CORE_MENU_ENTRIES_H

#include <windows.h>

#include <string>
#include <vector>

#include "menu_bar_model.h"

// The longest item text read from a menu.
constexpr int kMenuTextCapacity = 400;

// The text of an item by its position; empty for a separator or an item without text.
std::wstring menuItemText(HMENU menu, int position);
// Whether the item at a position can be chosen (neither greyed nor disabled).
bool menuItemEnabled(HMENU menu, int position);
// The extent of an item's text drawn in the device context's current font.
SkinSize menuTextExtent(HDC dc, const std::wstring &text);
// Every top-level item in menu order (separators too, with empty text: the model skips
// them and keeps the positions), measured in `font` (the context's own font when null).
std::vector<MenuBarEntry> readMenuBarEntries(HMENU menu, HDC dc, HFONT font);
// Reads the enabled state of every item of the model from the menu.
void refreshMenuBarEnabled(MenuBarModel &model, HMENU menu);

#endif
