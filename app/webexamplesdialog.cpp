#include "webexamplesdialog.h"
#include "dialogsupport.h"
#include "lxapp.h"
#include "settings.h"

namespace {
enum WebString {
    kTitleString = 12700, kHeadingString = 12710, kIntroductionString = 12720, kExpressionString = 12730,
    kContextString = 12740, kLanguageString = 12750, kSearchString = 12760, kAdviceLabelString = 12770,
    kAdviceString = 12780, kAddressString = 9007
};
const wchar_t kLatinOneParameter[] = L"ie=ISO-8859-1", kUtf8Parameter[] = L"ie=UTF-8";
constexpr wchar_t kLastLatinOne = 0xFF;
const wchar_t kHexDigits[] = L"0123456789ABCDEF";

bool keptAsIs(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'.' || c == L'_' || c == L'~' || c == L'\'';
}

void appendEscaped(std::wstring& out, uint32_t byte) {
    out += L'%';
    out += kHexDigits[(byte >> 4) & 0xF];
    out += kHexDigits[byte & 0xF];
}

// The code point at `i` (a surrogate pair taken whole, a lone surrogate as U+FFFD); `i`
// moves past it.
uint32_t codePointAt(const std::wstring& text, size_t& i) {
    uint32_t c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
        return 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i++]) - 0xDC00);
    if (c >= 0xD800 && c <= 0xDFFF) return 0xFFFD;
    return c;
}

void appendUtf8(std::wstring& out, uint32_t c) {
    if (c < 0x80) {
        appendEscaped(out, c);
    } else if (c < 0x800) {
        appendEscaped(out, 0xC0 | (c >> 6));
        appendEscaped(out, 0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        appendEscaped(out, 0xE0 | (c >> 12));
        appendEscaped(out, 0x80 | ((c >> 6) & 0x3F));
        appendEscaped(out, 0x80 | (c & 0x3F));
    } else {
        appendEscaped(out, 0xF0 | (c >> 18));
        appendEscaped(out, 0x80 | ((c >> 12) & 0x3F));
        appendEscaped(out, 0x80 | ((c >> 6) & 0x3F));
        appendEscaped(out, 0x80 | (c & 0x3F));
    }
}
}  // namespace

const wchar_t* webLanguageCode(int language) {
    switch (language) {
    case LXFrench: return L"fr";
    case LXSpanish: return L"es";
    case LXGerman: return L"de";
    case LXItalian: return L"it";
    case LXPortuguese: return L"pt";
    case LXNorwegian: return L"no";
    case LXDutch: return L"nl";
    default: return L"en";
    }
}

bool needsUtf8(const std::wstring& text) {
    for (wchar_t c : text)
        if (c > kLastLatinOne) return true;
    return false;
}

std::wstring encodeQueryText(const std::wstring& text, bool utf8) {
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        uint32_t c = codePointAt(text, i);
        if (c == L' ')
            out += L'+';
        else if (c < 0x80 && keptAsIs(static_cast<wchar_t>(c)))
            out += static_cast<wchar_t>(c);
        else if (utf8)
            appendUtf8(out, c);
        else
            appendEscaped(out, c & 0xFF);
    }
    return out;
}

std::wstring webSearchAddress(const std::wstring& pattern, int interfaceLanguage, int searchLanguage,
                              const std::wstring& expression, const std::wstring& context) {
    bool utf8 = needsUtf8(expression) || needsUtf8(context);
    std::wstring address = pattern;
    if (utf8) address = replaceAll(address, kLatinOneParameter, kUtf8Parameter);
    // The encoded texts hold no "<", so no placeholder can come in with them.
    address = replaceAll(address, L"<ILANG>", webLanguageCode(interfaceLanguage));
    address = replaceAll(address, L"<SLANG>", webLanguageCode(searchLanguage));
    address = replaceAll(address, L"<SEARCHSTRING>", encodeQueryText(expression, utf8));
    return replaceAll(address, L"<CONTEXT>", encodeQueryText(context, utf8));
}

bool CWebExamplesDialog::onInitDialog() {
    SetWindowTextW(hwnd_, loadLocalizedString(kTitleString).c_str());
    const struct {
        int control, text;
    } captions[] = {{kWebHeading, kHeadingString},      {kWebIntroduction, kIntroductionString},
                    {kWebExpressionLabel, kExpressionString}, {kWebContextLabel, kContextString},
                    {kWebLanguageLabel, kLanguageString}, {kWebSearch, kSearchString},
                    {kWebAdviceLabel, kAdviceLabelString}, {kWebAdvice, kAdviceString}};
    for (const auto& c : captions) setControlString(hwnd_, c.control, c.text);
    HWND languages = GetDlgItem(hwnd_, kWebLanguage);
    for (int code = LXEnglish; code <= LXDutch; ++code) addComboEntry(languages, languageDisplayName(code, 0), code);
    selectComboCode(languages, LXEnglish);
    SetFocus(GetDlgItem(hwnd_, kWebExpression));
    return false;
}

void CWebExamplesDialog::searchExamples() {
    int language = static_cast<int>(SendDlgItemMessageW(hwnd_, kWebLanguage, CB_GETCURSEL, 0, 0)) + 1;
    std::wstring address = webSearchAddress(loadRawString(kAddressString), currentInterfaceLanguage(), language,
                                            controlText(hwnd_, kWebExpression), controlText(hwnd_, kWebContext));
    if (LXApp* app = theApp()) app->openWithShell(address);
    endDialog(IDCANCEL);
}

bool CWebExamplesDialog::onCommand(int id, int code, HWND control) {
    if (id == kWebSearch || id == IDOK) {
        searchExamples();
        return true;
    }
    return FwDialog::onCommand(id, code, control);
}
