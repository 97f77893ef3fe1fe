// What the skinned controls do when the engine starts and ends (they live above this library
// and fill these in, skinInstallControls): the process's skinned tooltip window is made when
// the engine first starts and destroyed when the last thread leaves it.
#pragma once
#include <windows.h>

struct SkinEngineServices {
    void (*started)(HINSTANCE engineModule) = nullptr;
    void (*ending)() = nullptr;
};

// Installs the services; when the engine runs already, started is called at once.
void skinSetEngineServices(const SkinEngineServices &services);
