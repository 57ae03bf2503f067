#ifndef VIGIL_ACTIONS_STATE_ANNOUNCEMENT_H_
#define VIGIL_ACTIONS_STATE_ANNOUNCEMENT_H_

#include "actions/action_dispatch.h"
#include "store/orb_values.h"
#include "store/orbs_file.h"

namespace vigil {

// Announces a state: sets the state code and hands it to the state mail and
// the state exec when their settings begin with the enable mark "X E".
void AnnounceState(int state, const ActionSettings& actions, OrbValues& values,
                   ActionDispatch& dispatch);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_STATE_ANNOUNCEMENT_H_
