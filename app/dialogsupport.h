// Small helpers the shell's dialogs share: control texts, drop-down lists whose entries
// carry a code, and the list of languages a conjugation module is installed for.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class LXDataManager;

std::wstring controlText(HWND dialog, int id);
// A modeless dialog shown, brought forward, with the focus on the control.
void showModeless(HWND dialog, int focusId);
void setControlText(HWND dialog, int id, const std::wstring& text);
void setControlString(HWND dialog, int id, int stringId);  // a localised string
// Leading and trailing blanks (spaces, tabs, line breaks) removed.
std::wstring trimmed(const std::wstring& text);

// A drop-down list's entries: text and code.
void addComboEntry(HWND combo, const std::wstring& text, LPARAM code);
// Selects the entry with that code; false (and the first selected) when there is none.
bool selectComboCode(HWND combo, LPARAM code);
// The code of the selected entry, or `none`.
LPARAM selectedComboCode(HWND combo, LPARAM none = -1);
std::wstring selectedComboText(HWND combo);

// The languages of the installed conjugation modules for which a dictionary is installed,
// each once, in module order.
std::vector<int> conjugationLanguages(LXDataManager* dm);
// Refills a language list with those languages by name; selects `preferred`, else the
// first. The selected language, 0 when the list is empty.
int fillConjugationLanguages(HWND combo, LXDataManager* dm, int preferred);
