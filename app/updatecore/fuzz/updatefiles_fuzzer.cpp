// Arbitrary server answers through the property-list reader, the module-list parser, the
// module table and the body decoder: no crash, no overrun, and the reader's answers agree
// with what they claim (a value found lies inside the text).
#include "httpaddress.h"
#include "modulelist.h"
#include "plist.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::wstring text;
    if (!decodeUtf8Body(bytes, text)) text.assign(bytes.begin(), bytes.end());

    std::wstring value;
    for (const wchar_t* key : {L"InstallerURL", L"VersionString", L"URL", L""}) {
        if (readPlistValue(text, key, L"string", value) && !value.empty() &&
            text.find(value) == std::wstring::npos)
            abort();
    }
    std::wstring element;
    int pos = 0, steps = 0;
    while ((pos = readPlistElement(pos, text, L"dict", element)) >= 0) {
        if (static_cast<size_t>(pos) > text.size() || ++steps > static_cast<int>(text.size())) abort();
    }
    auto served = parseModuleList(text);
    std::vector<InstalledModule> installed = {{1, 2, 10, 5}, {2, 0, 0, 7}};
    auto rows = buildModuleRows(served, installed, installed, [](const std::wstring& n) {
        return n.empty() ? 0 : static_cast<int>(n[0] % 12);
    });
    std::vector<bool> all(rows.size(), true);
    downloadListOf(rows, all);

    HttpAddress a;
    parseHttpAddress(text, a);
    std::wstring resolved = resolveLocation(L"http://127.0.0.1:8000/base/windows/x.xml", text);
    if (!resolved.empty()) parseHttpAddress(resolved, a);
    isSafeLocalFileName(lastAddressPart(text));
    return 0;
}
