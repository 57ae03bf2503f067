#include "actions/exec_action.h"

#include "actions/command_words.h"
#include "actions/program_start.h"
#include "actions/settings_fields.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr int kDirectColumn = 5;
constexpr int kInterpreterColumn = 9;

std::filesystem::path ExecDirectory(const std::string& field,
                                    const std::filesystem::path& orb_dir) {
  if (field.empty()) return orb_dir;
  const std::filesystem::path dir(field);
  return dir.is_absolute() ? dir : orb_dir / dir;
}

}  // namespace

ExecFields ParseExecSettings(std::string_view settings, int fields_column) {
  ExecFields fields;
  if (MarkedAt(settings, kInterpreterColumn)) {
    fields.mode = ExecMode::kInterpreter;
  } else if (MarkedAt(settings, kDirectColumn)) {
    fields.mode = ExecMode::kDirect;
  }
  const std::string program_fields = Mid(settings, fields_column);
  fields.program = TerminatedField(program_fields, 1);
  fields.parameters = TerminatedField(program_fields, 2);
  fields.working_dir = TerminatedField(program_fields, 3);
  return fields;
}

ExecPlan PlanExec(const ExecFields& fields, const PlaceholderValues& values,
                  const std::filesystem::path& orb_dir) {
  ExecPlan plan;
  plan.mode = fields.mode;
  plan.working_dir = ExecDirectory(fields.working_dir, orb_dir);
  std::vector<TextPiece> program = SubstitutePieces(fields.program, values);
  std::vector<TextPiece> parameters =
      SubstitutePieces(fields.parameters, values);
  switch (fields.mode) {
    case ExecMode::kInterpreter: {
      std::vector<TextPiece> line = program;
      line.push_back({" ", false});
      line.insert(line.end(), parameters.begin(), parameters.end());
      plan.argv = {"/bin/sh", "-c", ShellCommandLine(line)};
      break;
    }
    case ExecMode::kDirect:
      plan.argv = CommandWords(program);
      break;
    case ExecMode::kDetached: {
      const std::string opened = JoinPieces(program);
      if (IsExecutableProgram(opened, plan.working_dir)) {
        plan.argv = {opened};
        const std::vector<std::string> words = CommandWords(parameters);
        plan.argv.insert(plan.argv.end(), words.begin(), words.end());
      } else {
        // A document or an address: the desktop opens it; parameters
        // have no meaning there.
        plan.argv = {"xdg-open", opened};
      }
      break;
    }
  }
  return plan;
}

void RunExec(const ExecRequest& request, OrbView& view) {
  const ExecPlan plan =
      PlanExec(request.fields, request.values, request.orb_dir);
  if (plan.mode == ExecMode::kDetached) {
    // A failed hand-over is not reported, as a failed shell open.
    StartDetached(plan.argv, plan.working_dir);
    return;
  }
  if (!StartAndWait(plan.argv, plan.working_dir, request.should_give_up)
           .started) {
    view.ShowMessageBox("Error - Processing Error occured...");
  }
}

}  // namespace vigil
