// What each vigil command is for and how it is called: the one place the
// help, the usage errors and the command words come from.
#ifndef VIGIL_TOOLS_VIGIL_COMMAND_USAGE_H_
#define VIGIL_TOOLS_VIGIL_COMMAND_USAGE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::cli {

struct CommandUsage {
  std::string_view name;
  std::string_view summary;  // one line for the general help
};

// In the order the general help lists them.
const std::vector<CommandUsage>& Commands();

// The command's usage and options, for `vigil help CMD` and `CMD --help`;
// nullopt for a word that is no command.
std::optional<std::string> UsageOf(std::string_view command);

// The usage line alone, as a usage error repeats it.
std::string UsageLineOf(std::string_view command);

// `vigil help` and `vigil --help`.
std::string GeneralHelp();

// "vigil 3.3.0"
std::string VersionText();

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_COMMAND_USAGE_H_
