// Set from a signal handler when the orb is asked to end (SIGTERM, SIGINT),
// read by waits that do not run the event loop.
#ifndef VIGIL_SHELL_TERMINATION_REQUEST_H_
#define VIGIL_SHELL_TERMINATION_REQUEST_H_

namespace vigil {

void RequestTermination();  // async-signal-safe
bool TerminationRequested();

}  // namespace vigil

#endif  // VIGIL_SHELL_TERMINATION_REQUEST_H_
