#include "lxapp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LXApp app;
    return app.run();
}
