// What the updater needs of an address and of a server's answer before it touches the
// network or the disk: HTTP addresses parsed and redirect targets resolved, the local file
// name a download may take, and a whole body decoded from UTF-8.
#pragma once
#include <cstdint>
#include <string>

struct HttpAddress {
    bool secure = false;
    std::wstring host;
    int port = 0;
    std::wstring object;  // path and query, starting with "/"
};

// "http://" or "https://" (any letter case), a host, an optional port 1..65535, an optional
// path; user names and fragments are not taken.
bool parseHttpAddress(const std::wstring& address, HttpAddress& out);
// A redirect's location resolved against the address that answered it: absolute addresses
// stay, "//host/..." takes the scheme, "/path" the server, anything else the base's folder;
// "." and ".." segments are folded. Empty when the location is empty.
std::wstring resolveLocation(const std::wstring& base, const std::wstring& location);

// The text after the last "/" of an address.
std::wstring lastAddressPart(const std::wstring& address);
// Whether a server-given name may become a file in the data folder: not empty, no path
// separators, drive colons, "..", wildcard or control characters, no reserved device name
// (CON, NUL, COM1 ... with or without extension), not ending in a dot or blank.
bool isSafeLocalFileName(const std::wstring& name);
// Module files (".lxd", ".lxc") go into the module folder; everything else beside the program.
bool isModuleFileName(const std::wstring& name);

// Strict UTF-8 into UTF-16 units (overlong forms, surrogates and values past U+10FFFF
// refused); a leading byte-order mark is dropped.
bool decodeUtf8Body(const std::string& bytes, std::wstring& out);
// A Content-Length header's value; false when it is not a plain decimal number.
bool parseContentLength(const std::wstring& text, uint64_t& length);
