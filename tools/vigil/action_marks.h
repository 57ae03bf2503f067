// The one-character marks at the front of each kind of action settings,
// before their ";"-terminated fields begin.
#ifndef VIGIL_TOOLS_VIGIL_ACTION_MARKS_H_
#define VIGIL_TOOLS_VIGIL_ACTION_MARKS_H_

#include <array>
#include <string>
#include <vector>

namespace vigil::cli {

inline constexpr std::array<const char*, 8> kStateNames = {
    "Green",    "Yellow",  "Red",       "Failed",
    "Starting", "Stopped", "Suspended", "Resumed"};

struct ActionMark {
  int column = 1;  // in the settings text
  char on = 'X';   // "X", or "E" for the second half of "X E"
  std::string name;
  int state = 0;  // 1-8 for a per-state mark, else 0
};

// The marks of "$", "%", "!", "&" or the trace marker; none for others.
std::vector<ActionMark> ActionMarks(char marker);

// Where the fields begin: column 14 of the state-mail settings and so on.
int ActionFieldsColumn(char marker);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_ACTION_MARKS_H_
