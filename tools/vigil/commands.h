// The subcommands of `vigil`, the operator's tool for a wall of orbs. Each
// takes the words after its name and writes to out and err; the result is
// the exit status.
#ifndef VIGIL_TOOLS_VIGIL_COMMANDS_H_
#define VIGIL_TOOLS_VIGIL_COMMANDS_H_

#include <ostream>
#include <string>
#include <vector>

namespace vigil::cli {

using Words = std::vector<std::string>;

// vigil check FILE: 0 sound, 1 problems, 2 unreadable.
int RunCheck(const Words& words, std::ostream& out, std::ostream& err);
// vigil show FILE [NUMBER]
int RunShow(const Words& words, std::ostream& out, std::ostream& err);
// vigil add FILE ... and vigil set FILE NUMBER ...
int RunAdd(const Words& words, std::ostream& out, std::ostream& err);
int RunSet(const Words& words, std::ostream& out, std::ostream& err);
// vigil start|stop|status|restart [NUMBER...]
int RunWall(const std::string& command, const Words& words, std::ostream& out,
            std::ostream& err);
// vigil try [--profile FILE] -- PROGRAM [ARGS...]: 0 an orb shows the
// sensor's data, 1 it shows no data, 2 the program cannot run.
int RunTry(const Words& words, std::ostream& out, std::ostream& err);
// vigil serve [--dir DIR] [--listen ADDRESS:PORT]: serves until SIGINT or
// SIGTERM; 2 for wrong words, 1 when it cannot listen.
int RunServe(const Words& words, std::ostream& out, std::ostream& err);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_COMMANDS_H_
