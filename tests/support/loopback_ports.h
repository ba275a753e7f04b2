#pragma once
// Ports on the loopback interface, for tests that need a server to be out of reach.

#include <QString>

namespace dorvane::testing {

// A loopback port nothing listens on.
QString closedPort();
// Whether something accepts connections on the loopback port.
bool listening(unsigned short port);

}  // namespace dorvane::testing
