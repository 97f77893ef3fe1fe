// A small reader of JSON documents, enough for the npm data packages the builder and its
// tests read (objects, arrays, strings, numbers, true, false, null). Strings are UTF-8.
#ifndef WORDMERE_TOOLS_LXCBUILD_JSON_H
#define WORDMERE_TOOLS_LXCBUILD_JSON_H

#include <map>
#include <memory>
#include <string>
#include <vector>

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    // Members in document order, and by name.
    std::vector<std::pair<std::string, JsonValue>> members;

    // The member of that name, or null when there is none (or this is no object).
    const JsonValue *find(const std::string &name) const;
    // A string, or the strings of an array of strings (others left out).
    std::vector<std::string> strings() const;
};

// Parses a whole document; false with the byte position of the fault.
bool parseJson(const std::string &document, JsonValue &value, std::string &error);
bool readJsonFile(const std::string &path, JsonValue &value, std::string &error);

#endif
