// The update server's property-list-like files, read by plain text search: a value is
// "<key>NAME</key>" followed by "<TYPE>VALUE</TYPE>"; a file is walked element by element.
#pragma once
#include <string>

// The trimmed value of the first key named `keyName`, taken from the element of type
// `typeName` that follows the key before the next "<key>". False when the key is absent;
// true with an empty value when the key has no such element.
bool readPlistValue(const std::wstring& text, const std::wstring& keyName, const std::wstring& typeName,
                    std::wstring& value);
// The untrimmed text of the first element of type `typeName` at or after `start`; the index
// just after its closing tag, or -1 (and an empty element) when there is none.
int readPlistElement(int start, const std::wstring& text, const std::wstring& typeName, std::wstring& element);
// White space (blank, tab, CR, LF) cut from both ends (of plist texts and header values).
std::wstring trimPlistText(const std::wstring& text);
