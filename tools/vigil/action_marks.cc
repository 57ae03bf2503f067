#include "vigil/action_marks.h"

#include "actions/exec_action.h"
#include "actions/mail_action.h"
#include "actions/trace_log.h"
#include "store/orbs_file.h"

namespace vigil::cli {
namespace {

constexpr int kStateMailFirstState = 5;
constexpr int kStateExecFirstState = 11;

void AddRelease(std::vector<ActionMark>& marks) {
  marks.push_back({1, 'X', "release mark"});
  marks.push_back({3, 'E', "enable mark"});
}

void AddRunModes(std::vector<ActionMark>& marks) {
  marks.push_back({5, 'X', "direct-start mark"});
  marks.push_back({7, 'X', "hidden-window mark"});
  marks.push_back({9, 'X', "shell mark"});
}

void AddStates(int first_column, std::vector<ActionMark>& marks) {
  for (size_t i = 0; i < kStateNames.size(); ++i) {
    const int state = static_cast<int>(i) + 1;
    marks.push_back({first_column + state - 1, 'X',
                     std::string("state mark (") + kStateNames[i] + ")",
                     state});
  }
}

}  // namespace

std::vector<ActionMark> ActionMarks(char marker) {
  std::vector<ActionMark> marks;
  switch (marker) {
    case kStateMailMarker:
      AddRelease(marks);
      AddStates(kStateMailFirstState, marks);
      break;
    case kValueMailMarker:
      AddRelease(marks);
      break;
    case kStateExecMarker:
      AddRelease(marks);
      AddRunModes(marks);
      AddStates(kStateExecFirstState, marks);
      break;
    case kValueExecMarker:
      AddRelease(marks);
      AddRunModes(marks);
      break;
    case kTraceMarker:
      // Four "X E" switches: mail log, exec log, value traces, run traces.
      for (const char* name : {"mail-log switch", "exec-log switch",
                               "value-trace switch", "run-trace switch"}) {
        const int column = 1 + 4 * static_cast<int>(marks.size() / 2);
        marks.push_back({column, 'X', name});
        marks.push_back({column + 2, 'E', name});
      }
      break;
    default:
      break;
  }
  return marks;
}

int ActionFieldsColumn(char marker) {
  switch (marker) {
    case kStateMailMarker:
      return kStateMailFieldsColumn;
    case kValueMailMarker:
      return kValueMailFieldsColumn;
    case kStateExecMarker:
      return kStateExecFieldsColumn;
    case kValueExecMarker:
      return kValueExecFieldsColumn;
    case kTraceMarker:
      return kLogNamesColumn;
    default:
      return 1;
  }
}

}  // namespace vigil::cli
