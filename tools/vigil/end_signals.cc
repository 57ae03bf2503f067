#include "vigil/end_signals.h"

#include <signal.h>

namespace vigil::cli {

void CatchEndSignals(void (*note)(int)) {
  struct sigaction action {};
  action.sa_handler = note;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace vigil::cli
