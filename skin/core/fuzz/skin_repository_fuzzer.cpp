// Feeds mutated skin bodies to the repository: the first byte picks the minor version, the
// rest follows the body's signature and version bytes; the body is compressed as a skin file
// is, loaded, described and written back.
#include <cstdint>
#include <cstring>
#include <vector>

#include <lzo/lzo1x.h>

#include "skin_describer.h"
#include "skin_repository.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = lzo_init() == LZO_E_OK;
    if (!ready || size < 1 || size > (1u << 20)) {
        return 0;
    }
    std::vector<uint8_t> body(22 + size - 1);
    std::memcpy(body.data(), kSkinSignature, kSkinSignatureBytes);
    body[kSkinHeaderMajorOffset] = kSkinMajorVersion;
    body[kSkinHeaderMinorOffset] = static_cast<uint8_t>(data[0] % (kSkinMinorVersion + 1));
    std::memcpy(body.data() + 22, data + 1, size - 1);

    std::vector<uint8_t> file(4 + body.size() + body.size() / 16 + 64 + 3);
    std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint produced = file.size() - 4;
    lzo1x_1_compress(body.data(), body.size(), file.data() + 4, &produced, work.data());
    const uint32_t length = static_cast<uint32_t>(body.size());
    std::memcpy(file.data(), &length, 4);

    MemoryStream stream(file.data(), static_cast<uint32_t>(4 + produced));
    SkinRepository repository;
    if (repository.loadFromStream(stream)) {
        (void)describeSkin(repository);
        MemoryStream out;
        repository.writeBody(out);
        repository.findObjectByType(kSkinButton);
        repository.findObject("MainFrame");
    }
    return 0;
}
