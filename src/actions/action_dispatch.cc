#include "actions/action_dispatch.h"

#include "actions/exec_action.h"
#include "actions/mail_action.h"
#include "actions/placeholders.h"
#include "actions/settings_fields.h"
#include "actions/trace_log.h"
#include "store/clock_text.h"
#include "store/config_record.h"
#include "store/orb_names.h"
#include "store/record_fields.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr int kMailLogSwitchColumn = 1;
constexpr int kExecLogSwitchColumn = 5;
constexpr int kStateMailMarkOffset = 4;   // state 1 at column 5
constexpr int kStateExecMarkOffset = 10;  // state 1 at column 11
constexpr size_t kMailHintLength = 99;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  return static_cast<double>(elapsed.count()) / 1000;
}

bool IsValueAction(ActionKind kind) {
  return kind == ActionKind::kValueMail || kind == ActionKind::kValueExec ||
         kind == ActionKind::kValueTrace;
}

bool LogLineAllowed(ActionKind kind, std::string_view trace_settings) {
  switch (kind) {
    case ActionKind::kStateMail:
    case ActionKind::kValueMail:
      return EnabledAt(trace_settings, kMailLogSwitchColumn);
    case ActionKind::kStateExec:
    case ActionKind::kValueExec:
      return EnabledAt(trace_settings, kExecLogSwitchColumn);
    case ActionKind::kValueTrace:
    case ActionKind::kRunTrace:
      return true;
  }
  return false;
}

}  // namespace

ActionDispatch::ActionDispatch(ActionEnvironment environment) {
  SetEnvironment(std::move(environment));
}

void ActionDispatch::SetEnvironment(ActionEnvironment environment) {
  environment_ = std::move(environment);
}

std::filesystem::path ActionDispatch::InWorkingDir(
    const std::string& name) const {
  const std::filesystem::path path(name);
  return path.is_absolute() ? path : environment_->files->working_dir() / path;
}

std::string ActionDispatch::MailBodyFile() const {
  return environment_->files->MailListFile().filename().string();
}

PlaceholderValues ActionDispatch::Placeholders() const {
  PlaceholderValues values;
  values.display_name = environment_->record->display_name();
  values.trigger_value = action_context_.trigger_value;
  values.unit = action_context_.unit;
  values.item = action_context_.item;
  values.state_code = environment_->values->state_code;
  values.mail_body_file = MailBodyFile();
  return values;
}

void ActionDispatch::Trace(ActionKind kind, const ActionContext& context) {
  if (!environment_ || environment_->files == nullptr ||
      environment_->record == nullptr || environment_->actions == nullptr ||
      environment_->values == nullptr || environment_->view == nullptr) {
    return;
  }
  if (IsValueAction(kind)) action_context_ = context;
  const ActionSettings& actions = *environment_->actions;
  const std::string log_name = LogFileName(actions.trace, kind);
  if (log_name.empty()) return;

  std::optional<Performed> performed;
  switch (kind) {
    case ActionKind::kStateMail:
    case ActionKind::kValueMail:
      performed = Mail(kind);
      break;
    case ActionKind::kStateExec:
    case ActionKind::kValueExec:
      performed = Exec(kind);
      break;
    case ActionKind::kValueTrace:
      if (LogDirectory(log_name)) performed = ValueTrace();
      break;
    case ActionKind::kRunTrace:
      if (LogDirectory(log_name)) performed = RunTrace(context);
      break;
  }
  if (!performed || !LogLineAllowed(kind, actions.trace)) return;
  // A failing log write is not the action's failure.
  AppendTraceLine(
      InWorkingDir(log_name),
      TraceLine(WallClock::now(), kind, Identity(*environment_->record),
                performed->measure, performed->message, performed->outcome));
}

std::optional<ActionDispatch::Performed> ActionDispatch::Mail(ActionKind kind) {
  const ActionSettings& actions = *environment_->actions;
  const int state = environment_->values->state_code;
  const bool state_mail = kind == ActionKind::kStateMail;
  if (state_mail &&
      !MarkedAt(actions.state_mail, state + kStateMailMarkOffset)) {
    return std::nullopt;
  }
  const MailFields fields =
      state_mail ? ParseMailFields(actions.state_mail, kStateMailFieldsColumn)
                 : ParseMailFields(actions.value_mail, kValueMailFieldsColumn);
  if (fields.first_address.empty()) return std::nullopt;
  const std::string subject = Substitute(fields.subject, Placeholders());
  Performed performed;
  performed.message = fields.first_address + " - " + subject;
  if (!LogDirectory(LogFileName(actions.trace, kind))) return std::nullopt;

  MailRequest request;
  request.fields = fields;
  request.subject = performed.message.substr(performed.message.find(" - ") + 3)
                        .substr(0, kMailHintLength);
  request.with_result = !state_mail || (state >= state_code::kGreen &&
                                        state <= state_code::kNoData);
  request.work_file = environment_->files->WorkFile();
  request.body_file = environment_->files->MailListFile();
  request.library = InWorkingDir(ExtensionLibraryName(environment_->mode_word));
  const auto start = std::chrono::steady_clock::now();
  performed.outcome = SendMail(request, *environment_->view);
  performed.measure = DurationMeasure(SecondsSince(start));
  return performed;
}

std::optional<ActionDispatch::Performed> ActionDispatch::Exec(ActionKind kind) {
  const ActionSettings& actions = *environment_->actions;
  const int state = environment_->values->state_code;
  const bool state_exec = kind == ActionKind::kStateExec;
  if (state_exec &&
      !MarkedAt(actions.state_exec, state + kStateExecMarkOffset)) {
    return std::nullopt;
  }
  ExecRequest request;
  request.fields =
      state_exec
          ? ParseExecSettings(actions.state_exec, kStateExecFieldsColumn)
          : ParseExecSettings(actions.value_exec, kValueExecFieldsColumn);
  request.values = Placeholders();
  const std::string program =
      Substitute(request.fields.program, request.values);
  if (program.empty()) return std::nullopt;
  Performed performed;
  performed.message =
      program + " " + Substitute(request.fields.parameters, request.values);
  if (!LogDirectory(LogFileName(actions.trace, kind))) return std::nullopt;

  request.orb_dir = environment_->files->working_dir();
  request.should_give_up = environment_->should_give_up;
  const auto start = std::chrono::steady_clock::now();
  RunExec(request, *environment_->view);
  performed.measure = DurationMeasure(SecondsSince(start));
  return performed;
}

std::optional<ActionDispatch::Performed> ActionDispatch::ValueTrace() const {
  Performed performed;
  performed.message = action_context_.item;
  performed.measure =
      ValueMeasure(action_context_.trigger_value, action_context_.unit);
  return performed;
}

std::optional<ActionDispatch::Performed> ActionDispatch::RunTrace(
    const ActionContext& context) const {
  Performed performed;
  performed.message =
      RecordField("Pgrm", *environment_->record, "").value_or("");
  performed.measure =
      DurationMeasure(static_cast<double>(context.run_time.count()) / 1000);
  return performed;
}

}  // namespace vigil
