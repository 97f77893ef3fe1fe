// The main view's search modes, the one mapping from a mode to the result list's search
// type, and the mode of each mode command.
#pragma once
#include "resultlist/lxlistbox.h"

// Values as the "Display Mode" setting stores them.
enum class SearchMode : int { Standard = 1, Browse = 2, Advanced = 3 };

// Standard searches by stems, Browse alphabetically, Advanced by regular expression.
LXListBox::SearchType searchTypeOfMode(SearchMode mode);
// A stored or passed number as a mode; anything but 2 and 3 is Standard.
SearchMode searchModeOf(int number);
// The mode of commands 11400, 11420 and 11440; Standard for any other id.
SearchMode searchModeOfCommand(int commandId);
int commandOfSearchMode(SearchMode mode);
