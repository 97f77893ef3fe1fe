#include "searchmode.h"
#include "resource.h"

LXListBox::SearchType searchTypeOfMode(SearchMode mode) {
    switch (mode) {
    case SearchMode::Browse: return LXListBox::Browse;
    case SearchMode::Advanced: return LXListBox::RegexSearch;
    case SearchMode::Standard: break;
    }
    return LXListBox::StemSearch;
}

SearchMode searchModeOf(int number) {
    if (number == static_cast<int>(SearchMode::Browse)) return SearchMode::Browse;
    if (number == static_cast<int>(SearchMode::Advanced)) return SearchMode::Advanced;
    return SearchMode::Standard;
}

SearchMode searchModeOfCommand(int id) {
    if (id == ID_MODE_BROWSE) return SearchMode::Browse;
    if (id == ID_MODE_ADVANCED) return SearchMode::Advanced;
    return SearchMode::Standard;
}

int commandOfSearchMode(SearchMode mode) {
    switch (mode) {
    case SearchMode::Browse: return ID_MODE_BROWSE;
    case SearchMode::Advanced: return ID_MODE_ADVANCED;
    case SearchMode::Standard: break;
    }
    return ID_MODE_STANDARD;
}
