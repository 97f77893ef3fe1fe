#include "httpaddress.h"
#include <vector>

namespace {
bool startsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        wchar_t c = s[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

wchar_t upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

std::wstring upperText(const std::wstring& s) {
    std::wstring u = s;
    for (wchar_t& c : u) c = upper(c);
    return u;
}

// "a/./b/../c" -> "a/c"; the path starts with "/"; a query is left alone.
std::wstring foldDotSegments(const std::wstring& object) {
    size_t q = object.find_first_of(L"?#");
    std::wstring path = object.substr(0, q), rest = q == std::wstring::npos ? std::wstring() : object.substr(q);
    std::vector<std::wstring> parts;
    size_t pos = 1;
    bool endsInFolder = false;
    while (pos <= path.size()) {
        size_t slash = path.find(L'/', pos);
        std::wstring seg = path.substr(pos, slash == std::wstring::npos ? std::wstring::npos : slash - pos);
        endsInFolder = seg == L"." || seg == L"..";
        if (seg == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (seg != L".") {
            parts.push_back(seg);
        }
        if (slash == std::wstring::npos) break;
        pos = slash + 1;
        if (pos == path.size()) {
            endsInFolder = true;
            break;
        }
    }
    std::wstring out;
    for (const std::wstring& p : parts) out += L"/" + p;
    if (out.empty() || endsInFolder) out += L"/";
    return out + rest;
}
}  // namespace

bool parseHttpAddress(const std::wstring& address, HttpAddress& out) {
    out = HttpAddress();
    size_t rest;
    if (startsWithNoCase(address, L"http://")) {
        rest = 7;
    } else if (startsWithNoCase(address, L"https://")) {
        out.secure = true;
        rest = 8;
    } else {
        return false;
    }
    for (wchar_t c : address)
        if (c <= 0x20 || c == 0x7F) return false;
    size_t slash = address.find_first_of(L"/?#", rest);
    std::wstring authority = address.substr(rest, slash == std::wstring::npos ? std::wstring::npos : slash - rest);
    if (authority.find(L'@') != std::wstring::npos) return false;
    out.port = out.secure ? 443 : 80;
    size_t colon = authority.rfind(L':');
    if (colon != std::wstring::npos && authority.find(L']') == std::wstring::npos) {
        std::wstring digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return false;
        int port = 0;
        for (wchar_t c : digits) {
            if (c < L'0' || c > L'9') return false;
            port = port * 10 + (c - L'0');
        }
        if (port < 1 || port > 65535) return false;
        out.port = port;
        authority.resize(colon);
    }
    if (authority.empty()) return false;
    out.host = authority;
    std::wstring object = slash == std::wstring::npos ? L"/" : address.substr(slash);
    if (object[0] != L'/') object = L"/" + object;
    size_t hash = object.find(L'#');
    if (hash != std::wstring::npos) object.resize(hash);
    out.object = object;
    return true;
}

std::wstring resolveLocation(const std::wstring& base, const std::wstring& location) {
    if (location.empty()) return std::wstring();
    size_t colon = location.find(L':');
    size_t firstSep = location.find_first_of(L"/?#");
    if (colon != std::wstring::npos && (firstSep == std::wstring::npos || colon < firstSep)) return location;
    HttpAddress b;
    if (!parseHttpAddress(base, b)) return location;
    std::wstring scheme = b.secure ? L"https:" : L"http:";
    if (location.compare(0, 2, L"//") == 0) return scheme + location;
    bool defaultPort = b.port == (b.secure ? 443 : 80);
    std::wstring origin = scheme + L"//" + b.host + (defaultPort ? L"" : L":" + std::to_wstring(b.port));
    std::wstring object;
    if (location[0] == L'/') {
        object = location;
    } else if (location[0] == L'?') {
        object = b.object.substr(0, b.object.find(L'?')) + location;
    } else {
        std::wstring path = b.object.substr(0, b.object.find(L'?'));
        object = path.substr(0, path.rfind(L'/') + 1) + location;
    }
    return origin + foldDotSegments(object);
}

std::wstring lastAddressPart(const std::wstring& address) {
    size_t slash = address.rfind(L'/');
    return slash == std::wstring::npos ? address : address.substr(slash + 1);
}

bool isSafeLocalFileName(const std::wstring& name) {
    if (name.empty() || name.size() > 200) return false;
    if (name.find(L"..") != std::wstring::npos) return false;
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) return false;
    }
    if (name.back() == L'.' || name.back() == L' ') return false;
    std::wstring stem = upperText(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    static const wchar_t* const reserved[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* r : reserved)
        if (stem == r) return false;
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
        stem[3] >= L'0' && stem[3] <= L'9')
        return false;
    return true;
}

bool isModuleFileName(const std::wstring& name) {
    std::wstring u = upperText(name);
    auto endsWith = [&](const wchar_t* ext) { return u.size() > 4 && u.compare(u.size() - 4, 4, ext) == 0; };
    return endsWith(L".LXD") || endsWith(L".LXC");
}

namespace {
bool decodeUtf8Into(const std::string& bytes, std::wstring& out);
}

bool decodeUtf8Body(const std::string& bytes, std::wstring& out) {
    if (!decodeUtf8Into(bytes, out)) {
        out.clear();
        return false;
    }
    return true;
}

namespace {
bool decodeUtf8Into(const std::string& bytes, std::wstring& out) {
    out.clear();
    out.reserve(bytes.size());
    size_t i = 0, n = bytes.size();
    if (n >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF && static_cast<unsigned char>(bytes[1]) == 0xBB &&
        static_cast<unsigned char>(bytes[2]) == 0xBF)
        i = 3;
    while (i < n) {
        unsigned c = static_cast<unsigned char>(bytes[i]);
        uint32_t cp;
        size_t len;
        if (c < 0x80) {
            out.push_back(static_cast<wchar_t>(c));
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            cp = c & 0x1F;
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F;
            len = 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07;
            len = 4;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            unsigned t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(cp));
        }
        i += len;
    }
    return true;
}
}  // namespace

bool parseContentLength(const std::wstring& text, uint64_t& length) {
    length = 0;
    size_t b = text.find_first_not_of(L" \t"), e = text.find_last_not_of(L" \t");
    if (b == std::wstring::npos || e - b + 1 > 19) return false;
    for (size_t i = b; i <= e; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        length = length * 10 + static_cast<uint64_t>(text[i] - L'0');
    }
    return true;
}
