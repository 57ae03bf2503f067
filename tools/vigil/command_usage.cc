#include "vigil/command_usage.h"

#include <algorithm>

#include "vigil/wall_options.h"

namespace vigil::cli {
namespace {

constexpr char kVersion[] = "3.3.0";

bool IsWallCommand(std::string_view command) {
  return command == "start" || command == "stop" || command == "status" ||
         command == "restart" || command == "remove";
}

struct FileCommandUsage {
  std::string_view name;
  std::string_view text;
};

// The commands that work on an orbs file or a program; the wall commands
// keep theirs beside their options.
constexpr FileCommandUsage kFileCommands[] = {
    {"check",
     "usage: vigil check [FILE|--dir DIR] [--mode RfcOrb|HttpOrb|AuxOrb] "
     "[--companion DIR]... [--no-files]\n"
     "Reads an orbs file as the orbs read it and reports each problem with "
     "its line and column; without FILE every orbs file of DIR (default: "
     ".).\n"},
    {"show",
     "usage: vigil show FILE [NUMBER] [--mode RfcOrb|HttpOrb|AuxOrb]\n"
     "Prints the wall's grid and each orb's record in words.\n"},
    {"add",
     "usage: vigil add FILE --number NNNN [--mode MODE] [--name TEXT] "
     "[--face WORD] [--chart WORD] [--grid HxW] [--delay SECONDS] "
     "[--history BARS] [--bars N] [--sorting WORD] [--colour N] [--gauge N] "
     "[--image N] [--history-chart|--hold|--zoom|--keep|--legend|"
     "--chart-title on|off] [--lock NAME] [--source FILE] [--program FILE] "
     "[--address TEXT] [--title TEXT] [--rule RULE]... [--purge-rules] "
     "[--items N[,N...]|none] [--companion DIR]... [--force]\n"
     "Makes a new orb's record; --force writes a sensor program that is not "
     "there yet.\n"},
    {"set",
     "usage: vigil set FILE NUMBER [OPTIONS of vigil add but --number]\n"
     "Changes the named fields of an orb's record and nothing else.\n"},
    {"try",
     "usage: vigil try [--profile FILE] -- PROGRAM [ARGS...]\n"
     "Runs a sensor program once as an orb would and tells what the orb "
     "would show.\n"},
    {"serve",
     "usage: vigil serve [--dir DIR] [--mode RfcOrb|HttpOrb|AuxOrb] "
     "[--listen ADDRESS:PORT]\n"
     "Serves the wall read-only over HTTP (default 127.0.0.1:8765): / the "
     "page, /api/wall as JSON, /metrics for Prometheus.\n"},
};

}  // namespace

const std::vector<CommandUsage>& Commands() {
  static const std::vector<CommandUsage> kCommands = {
      {"check", "check an orbs file, or the wall of a directory"},
      {"show", "print a wall's orbs in words"},
      {"add", "make a new orb"},
      {"set", "change fields of an orb"},
      {"remove", "take orbs out of their orbs file"},
      {"start", "start the orbs of a wall"},
      {"stop", "ask the orbs of a wall to end"},
      {"status", "show how each orb of a wall stands"},
      {"restart", "restart the orbs that ended abnormally"},
      {"try", "run a sensor program once as an orb would"},
      {"serve", "serve a wall as a web page, JSON and metrics"},
      {"help", "show this help, or a command's"},
  };
  return kCommands;
}

std::optional<std::string> UsageOf(std::string_view command) {
  if (IsWallCommand(command)) return WallUsage(std::string(command));
  for (const FileCommandUsage& usage : kFileCommands) {
    if (usage.name == command) return std::string(usage.text);
  }
  if (command == "help") {
    return "usage: vigil help [COMMAND]\nShows the general help, or the "
           "command's usage and options.\n";
  }
  return std::nullopt;
}

std::string UsageLineOf(std::string_view command) {
  const std::string usage = UsageOf(command).value_or("");
  return usage.substr(0, usage.find('\n') + 1);
}

std::string GeneralHelp() {
  std::string help =
      "usage: vigil COMMAND [ARGS...]\n"
      "       vigil help [COMMAND] | --help | --version\n"
      "Checks, shows and edits orbs files; starts, stops and watches the orbs "
      "of a wall; tries a sensor program.\n\ncommands:\n";
  for (const CommandUsage& command : Commands()) {
    std::string name(command.name);
    name.resize(std::max<size_t>(name.size(), 9), ' ');
    help += "  " + name + std::string(command.summary) + "\n";
  }
  help +=
      "\n'vigil help COMMAND' or 'vigil COMMAND --help' shows its options.\n";
  return help;
}

std::string VersionText() { return std::string("vigil ") + kVersion + "\n"; }

}  // namespace vigil::cli
