// The positional command line a launcher gives an orb.
#ifndef VIGIL_SHELL_COMMAND_LINE_H_
#define VIGIL_SHELL_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace vigil {

struct CommandLine {
  std::string companion_dir;  // parameter 1, ";" standing for blanks
  std::string orb_number;     // parameter 2
  bool restart = false;       // parameter 3 present and not "/Smart"
  double carried_over = 0;    // parameter 3 as a number when restarting
  bool smart = false;         // parameter 3 or 4 is "/Smart"
};

// args are the parameters after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The mode word from the name the program was started under; empty when
// the name is none of RfcOrb, HttpOrb and AuxOrb.
std::string ModeWordFromProgramName(const std::string& argv0);

}  // namespace vigil

#endif  // VIGIL_SHELL_COMMAND_LINE_H_
