// The one dispatch that every action of an orb passes through: state and
// value mails, state and value program runs, value and run traces. It
// checks that the action is switched on for the current state, prepares
// its texts, runs the mail or the program while timing it and appends one
// line per action to the action log named in the trace settings.
//
// The window constructs the real dispatch once the start-up has succeeded
// (the session's data exists from then on), for example in ApplyStartedOrb:
//
//   ActionEnvironment environment;
//   environment.mode_word = session_.mode_word();
//   environment.files = &files_;
//   environment.record = &state_.config.record;
//   environment.actions = &state_.config.actions;
//   environment.values = &state_.values;
//   environment.view = &view;
//   environment.should_give_up = [] { return TerminationRequested(); };
//   dispatch_.SetEnvironment(std::move(environment));
//
// The pointers must outlive the dispatch; through them the dispatch sees
// altered settings, the current state code and, after a move to another
// cell, the file names of the new number. A dispatch without an
// environment (default-constructed) does nothing.
#ifndef VIGIL_ACTIONS_ACTION_DISPATCH_H_
#define VIGIL_ACTIONS_ACTION_DISPATCH_H_

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "actions/placeholders.h"
#include "store/companion_files.h"
#include "store/orb_values.h"
#include "store/orb_view.h"
#include "store/orbs_file.h"

namespace vigil {

// What an action is for; the trace settings name their logs by it, and the
// numbers are the ones the extension library and the traces know.
enum class ActionKind {
  kStateMail = 1,
  kValueMail = 2,
  kStateExec = 3,
  kValueExec = 4,
  kValueTrace = 5,
  kRunTrace = 6,
};

// What the caller sets before a hand-over: for value actions the item, its
// unit and the value that was compared (the trigger value); for a run
// trace the duration of the sensor run. State actions pass nothing: they
// use the orb's action context, the last value action's hand-over.
struct ActionContext {
  std::string item;
  std::string unit;
  double trigger_value = 0;
  std::chrono::milliseconds run_time{0};
};

struct ActionEnvironment {
  std::string mode_word;                    // names the extension library
  const CompanionFiles* files = nullptr;    // working dir, work file, mail
  const ConfigRecord* record = nullptr;     // the configuration record
  const ActionSettings* actions = nullptr;  // the five action settings
  const OrbValues* values = nullptr;        // the current state code
  OrbView* view = nullptr;                  // message boxes, cursor, events
  // Asked while an exec program is waited for; true gives up the wait.
  std::function<bool()> should_give_up;
};

class ActionDispatch {
 public:
  ActionDispatch() = default;
  explicit ActionDispatch(ActionEnvironment environment);
  virtual ~ActionDispatch() = default;

  void SetEnvironment(ActionEnvironment environment);

  // Performs the action. Missing settings stop it silently; the mail or
  // the program run happens whether or not its log line is allowed.
  virtual void Trace(ActionKind kind, const ActionContext& context);

  // The rule evaluation's last hand-over, also one whose switch was off:
  // later state actions substitute its item, unit and value.
  void SetActionContext(const ActionContext& context) {
    action_context_ = context;
  }
  const ActionContext& action_context() const { return action_context_; }

 private:
  struct Performed {
    std::string measure;
    std::string message;
    std::string outcome;
  };
  std::optional<Performed> Mail(ActionKind kind);
  std::optional<Performed> Exec(ActionKind kind);
  std::optional<Performed> ValueTrace() const;
  std::optional<Performed> RunTrace(const ActionContext& context) const;

  std::filesystem::path InWorkingDir(const std::string& name) const;
  PlaceholderValues Placeholders() const;
  std::string MailBodyFile() const;  // "RfcOrb" + number + ".Mls"

  std::optional<ActionEnvironment> environment_;
  ActionContext action_context_;
};

}  // namespace vigil

#endif  // VIGIL_ACTIONS_ACTION_DISPATCH_H_
