// The web look-up: an expression, an optional word of context and a language are sent to
// a web search engine's page of exact-phrase results, opened in the user's browser.
#pragma once
#include "framework/fwdialog.h"
#include <string>

enum WebExamplesControl {
    kWebExamplesDialog = 1500,
    kWebExpression = 1501,
    kWebContext = 1502,
    kWebIntroduction = 1503,
    kWebHeading = 1504,
    kWebExpressionLabel = 1505,
    kWebContextLabel = 1506,
    kWebLanguage = 1507,
    kWebLanguageLabel = 1508,
    kWebSearch = 1509,
    kWebAdviceLabel = 1510,
    kWebAdvice = 1511,
};

// The search engine's code of a language ("en" for the languages it has no code for).
const wchar_t* webLanguageCode(int language);
// A text as a query value: blanks become "+", letters, digits, "-", ".", "_", "~" and "'"
// stay, everything else is percent-encoded: from its ISO-8859-1 byte, or (utf8) from its
// UTF-8 bytes.
std::wstring encodeQueryText(const std::wstring& text, bool utf8);
// Whether the text holds a character that ISO-8859-1 has not.
bool needsUtf8(const std::wstring& text);
// The address of the search: the template's placeholders <ILANG>, <SLANG>, <SEARCHSTRING>
// and <CONTEXT> filled; when a text needs more than ISO-8859-1 both texts go as UTF-8 and
// the template's "ie=ISO-8859-1" says "ie=UTF-8".
std::wstring webSearchAddress(const std::wstring& pattern, int interfaceLanguage, int searchLanguage,
                              const std::wstring& expression, const std::wstring& context);

class CWebExamplesDialog : public FwDialog {
public:
    CWebExamplesDialog() : FwDialog(kWebExamplesDialog) {}
    INT_PTR run(HWND parent) { return runModal(parent); }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void searchExamples();
};
