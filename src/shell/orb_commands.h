// The file and log work of the orb commands: suspend, resume, reset and the
// end-of-processing request. The window does the timers and the widgets.
#ifndef VIGIL_SHELL_ORB_COMMANDS_H_
#define VIGIL_SHELL_ORB_COMMANDS_H_

#include "shell/orb_session.h"

namespace vigil {

// Logs "Susp", announces state 7 and removes the state markers.
void SuspendOrb(OrbSession& session);
// Announces state 8 and logs "Rsme".
void ResumeOrb(OrbSession& session);
// Forgets the warning or alert shown: the table colour turns neutral (which
// releases a held state) and the markers go.
void ResetOrb(OrbSession& session);
// Announces the stop (state 6) before the window closes.
void StopOrb(OrbSession& session);
// When the end-of-processing file exists: removes the request's files and
// announces the stop; true when the window must stop its timers and close.
bool TakeEndOfProcessingRequest(OrbSession& session);

}  // namespace vigil

#endif  // VIGIL_SHELL_ORB_COMMANDS_H_
