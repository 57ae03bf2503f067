#include "shell/orb_commands.h"

#include "actions/state_announcement.h"

namespace vigil {
namespace {

void Announce(OrbSession& session, int state) {
  AnnounceState(state, session.state().config.actions, session.state().values,
                session.dispatch());
}

}  // namespace

void SuspendOrb(OrbSession& session) {
  session.state().items.set_colour(kSilver);
  session.event_log().Log("Susp", "Suspend...");
  Announce(session, state_code::kSuspended);
  session.files().ClearMarkers();
}

void ResumeOrb(OrbSession& session) {
  session.state().items.set_colour(kNeutral);
  Announce(session, state_code::kResumed);
  session.event_log().Log("Rsme", "Resume...");
}

void ResetOrb(OrbSession& session) {
  session.state().items.set_colour(kNeutral);
  session.files().ClearMarkers();
}

void StopOrb(OrbSession& session) { Announce(session, state_code::kStopped); }

bool TakeEndOfProcessingRequest(OrbSession& session) {
  const OrbState& state = session.state();
  if (session.files().TakeEndOfProcessingRequest(
          state.busy_flag == BusyFlag::kHoldingLock, state.lock_name) !=
      EndOfProcessing::kStopAndClose) {
    return false;
  }
  StopOrb(session);
  return true;
}

}  // namespace vigil
