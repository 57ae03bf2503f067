#include "actions/state_announcement.h"

#include "actions/settings_fields.h"

namespace vigil {

void AnnounceState(int state, const ActionSettings& actions, OrbValues& values,
                   ActionDispatch& dispatch) {
  values.state_code = state;
  if (EnabledAt(actions.state_mail, 1)) {
    dispatch.Trace(ActionKind::kStateMail, {});
  }
  if (EnabledAt(actions.state_exec, 1)) {
    dispatch.Trace(ActionKind::kStateExec, {});
  }
}

}  // namespace vigil
