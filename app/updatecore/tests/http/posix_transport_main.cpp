// The native build tests the protocol over the POSIX transport.
#include "http_env.h"
#include "posix_transport.h"

std::unique_ptr<HttpTransport> makeTestTransport(int timeoutMs) { return std::make_unique<PosixTransport>(timeoutMs); }
bool testTransportCancelsAtOnce() { return true; }
