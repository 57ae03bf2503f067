#include "shell/command_line.h"

#include <algorithm>
#include <filesystem>

#include "store/orb_mode.h"
#include "store/value_parser.h"

namespace vigil {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  auto arg = [&args](size_t i) {
    return i < args.size() ? args[i] : std::string();
  };
  CommandLine line;
  line.companion_dir = arg(0);
  std::replace(line.companion_dir.begin(), line.companion_dir.end(), ';', ' ');
  line.orb_number = arg(1);
  const std::string third = arg(2);
  line.restart = !third.empty() && third != "/Smart";
  if (line.restart) {
    // A carried-over value that is no number carries 0.
    line.carried_over = ParseValue(third, kNumberFormatE).value_or(0);
  }
  line.smart = third == "/Smart" || arg(3) == "/Smart";
  return line;
}

std::string ModeWordFromProgramName(const std::string& argv0) {
  const std::string name = std::filesystem::path(argv0).filename().string();
  if (FindOrbMode(name) != nullptr) return name;
  return {};
}

}  // namespace vigil
