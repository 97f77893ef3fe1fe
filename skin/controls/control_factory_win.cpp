// The control skinner factory (Windows). Each skinner class adds its line to the table.
#ifdef _WIN32
#include "control_factory.h"

#include "skin_codes.h"
#include "skin_manager.h"
#include "window_skinner.h"

namespace {

using Maker = WindowSkinner *(*)(WindowSkinner *container);

struct FactoryEntry {
    int32_t type;
    Maker make;
};

const FactoryEntry kFactory[] = {
    {kSkinNone, nullptr},
};

}  // namespace

WindowSkinner *createControlSkinner(int32_t typeCode, WindowSkinner *container)
{
    for (const FactoryEntry &entry : kFactory) {
        if (entry.type == typeCode && entry.make != nullptr) {
            return entry.make(container);
        }
    }
    return nullptr;
}

void skinInstallControls()
{
    SkinManager &manager = SkinManager::instance();
    manager.setControlMaker(&createControlSkinner);
}

#endif
