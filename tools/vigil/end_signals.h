// SIGINT and SIGTERM end a command that runs until it is asked to stop
// (restart --watch, serve): the handler only notes the signal, and the
// command's loop looks at the note.
#ifndef VIGIL_TOOLS_VIGIL_END_SIGNALS_H_
#define VIGIL_TOOLS_VIGIL_END_SIGNALS_H_

namespace vigil::cli {

void CatchEndSignals(void (*note)(int));

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_END_SIGNALS_H_
