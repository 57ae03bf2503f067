// vigil: checks, shows and edits orbs files, starts, stops and watches the
// orbs of a wall, and tries a sensor program as an orb would run it.
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>

#include "store/text.h"
#include "vigil/command_usage.h"
#include "vigil/commands.h"

namespace {

using vigil::cli::Words;

// Options that may come before the command, as in git, and their values.
constexpr std::string_view kGlobalOptions[] = {"--dir", "--mode",
                                               "--companion"};

bool IsGlobalOption(std::string_view word) {
  const std::string_view name = word.substr(0, word.find('='));
  return std::find(std::begin(kGlobalOptions), std::end(kGlobalOptions),
                   name) != std::end(kGlobalOptions);
}

struct CommandWords {
  std::string command;  // empty when none is given
  Words words;          // global options first, then the command's own
  std::string error;
};

CommandWords SplitCommand(const Words& args) {
  CommandWords split;
  size_t i = 0;
  for (; i < args.size() && args[i].starts_with("-"); ++i) {
    const std::string& word = args[i];
    if (word == "--help" || word == "-h" || word == "--version") {
      split.command = word;
      return split;
    }
    if (!IsGlobalOption(word)) {
      split.error = "unknown option " + word;
      return split;
    }
    split.words.push_back(word);
    if (word.find('=') != std::string::npos) continue;
    if (i + 1 == args.size()) {
      split.error = word + " takes a value";
      return split;
    }
    split.words.push_back(args[++i]);
  }
  if (i < args.size()) split.command = args[i++];
  split.words.insert(split.words.end(), args.begin() + i, args.end());
  return split;
}

// "--help" or "-h" among the command's options (not a program's words
// after "--").
bool AsksForHelp(const Words& words) {
  for (const std::string& word : words) {
    if (word == "--") return false;
    if (word == "--help" || word == "-h") return true;
  }
  return false;
}

int UnknownCommand(const std::string& command) {
  std::cerr << "vigil: unknown command '" << command << "'";
  const std::string lower = vigil::ToLower(command);
  if (lower != command && vigil::cli::UsageOf(lower)) {
    std::cerr << "; did you mean '" << lower << "'?";
  }
  std::cerr << "\nrun 'vigil help' for the commands\n";
  return 2;
}

int Help(const Words& words) {
  if (words.empty()) {
    std::cout << vigil::cli::GeneralHelp();
    return 0;
  }
  const auto usage = vigil::cli::UsageOf(words.front());
  if (!usage) return UnknownCommand(words.front());
  std::cout << *usage;
  return 0;
}

int Run(const std::string& command, const Words& words) {
  using namespace vigil::cli;
  if (command == "check") return RunCheck(words, std::cout, std::cerr);
  if (command == "show") return RunShow(words, std::cout, std::cerr);
  if (command == "add") return RunAdd(words, std::cout, std::cerr);
  if (command == "set") return RunSet(words, std::cout, std::cerr);
  if (command == "try") return RunTry(words, std::cout, std::cerr);
  if (command == "serve") return RunServe(words, std::cout, std::cerr);
  return RunWall(command, words, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  const CommandWords split = SplitCommand(Words(argv + 1, argv + argc));
  if (!split.error.empty()) {
    std::cerr << "vigil: " << split.error << "\n"
              << "run 'vigil help' for the commands\n";
    return 2;
  }
  const std::string& command = split.command;
  if (command.empty()) {
    std::cerr << vigil::cli::GeneralHelp();
    return 2;
  }
  if (command == "--version") {
    std::cout << vigil::cli::VersionText();
    return 0;
  }
  if (command == "help" || command == "--help" || command == "-h") {
    return Help(split.words);
  }
  const auto usage = vigil::cli::UsageOf(command);
  if (!usage) return UnknownCommand(command);
  if (AsksForHelp(split.words)) {
    std::cout << *usage;
    return 0;
  }
  return Run(command, split.words);
}
