// The exec action (SExc): runs the program of the state-exec or value-exec
// settings in one of three ways.
//
// Settings columns: 5 "X" = start the program directly and wait for it;
// 9 "X" = run program + " " + parameters through /bin/sh -c and wait for
// it (before column 5); neither = hand it over without waiting: an
// executable is started detached with its parameters, anything else is
// opened with xdg-open. Column 7 (hidden window) has nothing to hide here.
// The program fields start at column 20 (state exec) or 11 (value exec):
// program, parameters and working directory, each ending in ";".
#ifndef VIGIL_ACTIONS_EXEC_ACTION_H_
#define VIGIL_ACTIONS_EXEC_ACTION_H_

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/placeholders.h"
#include "store/orb_view.h"

namespace vigil {

inline constexpr int kStateExecFieldsColumn = 20;
inline constexpr int kValueExecFieldsColumn = 11;

enum class ExecMode {
  kInterpreter,  // /bin/sh -c program parameters, waited for
  kDirect,       // the program field alone, waited for
  kDetached,     // program and parameters, not waited for
};

struct ExecFields {
  ExecMode mode = ExecMode::kDetached;
  std::string program;      // with placeholders
  std::string parameters;   // with placeholders
  std::string working_dir;  // literal; empty is the orb's directory
};

ExecFields ParseExecSettings(std::string_view settings, int fields_column);

// What is run: the argument vector, after the placeholders.
struct ExecPlan {
  ExecMode mode = ExecMode::kDetached;
  std::vector<std::string> argv;
  std::filesystem::path working_dir;
};

// The program and parameters with their placeholders replaced; the values
// are never read as shell syntax or split into words.
ExecPlan PlanExec(const ExecFields& fields, const PlaceholderValues& values,
                  const std::filesystem::path& orb_dir);

struct ExecRequest {
  ExecFields fields;
  PlaceholderValues values;
  std::filesystem::path orb_dir;
  std::function<bool()> should_give_up;
};

// Runs the program; a program that cannot be started (in the two waiting
// modes) shows "Error - Processing Error occured..." and the orb goes on.
// Returns when the program has ended or has been handed over.
void RunExec(const ExecRequest& request, OrbView& view);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_EXEC_ACTION_H_
