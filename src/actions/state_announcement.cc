#include "actions/state_announcement.h"

#include "store/text.h"

namespace vigil {

void AnnounceState(int state, const ActionSettings& actions, OrbValues& values,
                   ActionDispatch& dispatch) {
  values.state_code = state;
  if (Mid(actions.state_mail, 1, 3) == "X E") {
    dispatch.Trace(ActionKind::kStateMail, {});
  }
  if (Mid(actions.state_exec, 1, 3) == "X E") {
    dispatch.Trace(ActionKind::kStateExec, {});
  }
}

}  // namespace vigil
