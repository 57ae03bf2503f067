// Loopback ports for the tests' helper servers.
#ifndef VIGIL_TESTS_SUPPORT_LOOPBACK_PORT_H_
#define VIGIL_TESTS_SUPPORT_LOOPBACK_PORT_H_

#include <chrono>

namespace vigil::testing {

// A loopback port that nothing listened on a moment ago; 0 when none could
// be had.
int UnusedLoopbackPort();

// True when a TCP connection to the loopback port is accepted now.
bool AcceptsConnections(int port);

// True once a TCP connection to the loopback port is accepted.
bool WaitForListener(int port, std::chrono::milliseconds limit);

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_LOOPBACK_PORT_H_
