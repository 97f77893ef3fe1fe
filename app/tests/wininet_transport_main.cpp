// The Windows build tests the updater's protocol over WinInet.
#include "http_env.h"
#include "updater_http.h"

std::unique_ptr<HttpTransport> makeTestTransport(int timeoutMs) {
    return std::make_unique<WinInetTransport>(static_cast<DWORD>(timeoutMs));
}

bool testTransportCancelsAtOnce() { return WinInetTransport::cancelEndsWaitsAtOnce(); }
