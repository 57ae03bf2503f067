#include "shell/orb_commands.h"

#include "actions/state_announcement.h"

namespace vigil {

void SuspendOrb(OrbSession& session, ActionDispatch& dispatch) {
  session.items().set_colour(kSilver);
  session.event_log().Log("Susp", "Suspend...");
  AnnounceState(state_code::kSuspended, session.orb_lines().actions,
                session.values(), dispatch);
  session.files().ClearMarkers();
}

void ResumeOrb(OrbSession& session, ActionDispatch& dispatch) {
  session.items().set_colour(kNeutral);
  AnnounceState(state_code::kResumed, session.orb_lines().actions,
                session.values(), dispatch);
  session.event_log().Log("Rsme", "Resume...");
}

void ResetOrb(OrbSession& session) {
  session.items().set_colour(kNeutral);
  session.files().ClearMarkers();
}

void StopOrb(OrbSession& session, ActionDispatch& dispatch) {
  AnnounceState(state_code::kStopped, session.orb_lines().actions,
                session.values(), dispatch);
}

bool TakeEndOfProcessingRequest(OrbSession& session, ActionDispatch& dispatch) {
  if (session.files().TakeEndOfProcessingRequest(
          session.busy_flag() == kBusyHoldingLock, session.lock_name()) !=
      EndOfProcessing::kStopAndClose) {
    return false;
  }
  StopOrb(session, dispatch);
  return true;
}

}  // namespace vigil
