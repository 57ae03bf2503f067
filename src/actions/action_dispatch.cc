#include "actions/action_dispatch.h"

namespace vigil {

void ActionDispatch::Trace(ActionKind kind, const ActionContext& context) {}

}  // namespace vigil
