// vigil: checks, shows and edits orbs files, starts, stops and watches the
// orbs of a wall, and tries a sensor program as an orb would run it.
#include <iostream>
#include <string>

#include "vigil/commands.h"

namespace {

constexpr char kUsage[] =
    "usage: vigil check FILE\n"
    "       vigil show FILE [NUMBER]\n"
    "       vigil add FILE --number NNNN [OPTIONS]\n"
    "       vigil set FILE NUMBER [OPTIONS]\n"
    "       vigil start|stop|status|restart [NUMBER...] [OPTIONS]\n"
    "       vigil try [--profile FILE] -- PROGRAM [ARGS...]\n"
    "       vigil help COMMAND\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace vigil::cli;
  if (argc < 2) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string command = argv[1];
  const Words words(argv + 2, argv + argc);
  if (command == "check") return RunCheck(words, std::cout, std::cerr);
  if (command == "show") return RunShow(words, std::cout, std::cerr);
  if (command == "add") return RunAdd(words, std::cout, std::cerr);
  if (command == "set") return RunSet(words, std::cout, std::cerr);
  if (command == "try") return RunTry(words, std::cout, std::cerr);
  if (command == "start" || command == "stop" || command == "status" ||
      command == "restart") {
    return RunWall(command, words, std::cout, std::cerr);
  }
  std::cerr << kUsage;
  return command == "help" || command == "--help" ? 0 : 2;
}
