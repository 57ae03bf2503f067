#include "shell/termination_request.h"

#include <csignal>

namespace vigil {
namespace {

volatile std::sig_atomic_t termination_requested = 0;

}  // namespace

void RequestTermination() { termination_requested = 1; }
bool TerminationRequested() { return termination_requested != 0; }

}  // namespace vigil
