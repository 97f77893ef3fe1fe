#include "plist.h"
#include <cstdint>

namespace {
const std::wstring kKeyOpen = L"<key>", kKeyClose = L"</key>";

bool isPlistSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
}  // namespace

std::wstring trimPlistText(const std::wstring& text) {
    size_t b = 0, e = text.size();
    while (b < e && isPlistSpace(text[b])) ++b;
    while (e > b && isPlistSpace(text[e - 1])) --e;
    return text.substr(b, e - b);
}

bool readPlistValue(const std::wstring& text, const std::wstring& keyName, const std::wstring& typeName,
                    std::wstring& value) {
    value.clear();
    size_t pos = 0;
    for (;;) {
        size_t open = text.find(kKeyOpen, pos);
        if (open == std::wstring::npos) return false;
        size_t close = text.find(kKeyClose, open + kKeyOpen.size());
        if (close == std::wstring::npos) return false;
        std::wstring key = trimPlistText(text.substr(open + kKeyOpen.size(), close - open - kKeyOpen.size()));
        pos = close + kKeyClose.size();
        if (key == keyName) break;
    }
    // The key's own element lies before the next key: an element further on belongs to
    // another key.
    size_t limit = text.find(kKeyOpen, pos);
    if (limit == std::wstring::npos) limit = text.size();
    const std::wstring openTag = L"<" + typeName + L">", closeTag = L"</" + typeName + L">";
    size_t open = text.find(openTag, pos);
    if (open == std::wstring::npos || open >= limit) return true;
    size_t start = open + openTag.size();
    size_t close = text.find(closeTag, start);
    if (close == std::wstring::npos || close + closeTag.size() > limit) return true;
    value = trimPlistText(text.substr(start, close - start));
    return true;
}

int readPlistElement(int start, const std::wstring& text, const std::wstring& typeName, std::wstring& element) {
    element.clear();
    if (start < 0 || static_cast<size_t>(start) > text.size()) return -1;
    const std::wstring openTag = L"<" + typeName + L">", closeTag = L"</" + typeName + L">";
    size_t open = text.find(openTag, static_cast<size_t>(start));
    if (open == std::wstring::npos) return -1;
    size_t body = open + openTag.size();
    size_t close = text.find(closeTag, body);
    if (close == std::wstring::npos) return -1;
    size_t next = close + closeTag.size();
    if (next > static_cast<size_t>(INT32_MAX)) return -1;
    element = text.substr(body, close - body);
    return static_cast<int>(next);
}
