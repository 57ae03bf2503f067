// The one dispatch that every action of an orb passes through: state and
// value mails, state and value program runs, value and run traces.
#ifndef VIGIL_ACTIONS_ACTION_DISPATCH_H_
#define VIGIL_ACTIONS_ACTION_DISPATCH_H_

#include <string>

namespace vigil {

// The tag of Trace.
enum class ActionKind {
  kStateMail = 1,
  kValueMail = 2,
  kStateExec = 3,
  kValueExec = 4,
  kValueTrace = 5,
  kRunTrace = 6,
};

// What the caller sets before a hand-over: the item, its unit and the
// value that was compared (the trigger value).
struct ActionContext {
  std::string item;
  std::string unit;
  double trigger_value = 0;
};

class ActionDispatch {
 public:
  virtual ~ActionDispatch() = default;
  // Receives the hand-over. Mails, program runs and trace lines are the
  // actions' own work; until they exist the hand-over ends here.
  virtual void Trace(ActionKind kind, const ActionContext& context);
};

}  // namespace vigil

#endif  // VIGIL_ACTIONS_ACTION_DISPATCH_H_
