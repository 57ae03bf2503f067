#include "vigil/wall_options.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "store/text.h"
#include "vigil/orb_words.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

void AddOnce(const std::string& word, std::vector<std::string>& words) {
  if (std::find(words.begin(), words.end(), word) == words.end()) {
    words.push_back(word);
  }
}

// Which command takes which option besides --dir and --mode.
bool Takes(const std::string& command, std::string_view option) {
  if (option == "--dir" || option == "--mode") return true;
  if (option == "--bin" || option == "--companion") {
    return command == "start" || command == "restart";
  }
  if (option == "--wait") return command == "stop" || command == "remove";
  if (option == "--stop") return command == "remove";
  if (option == "--watch" || option == "--every") return command == "restart";
  if (option == "--force") return command == "start";
  return false;
}

bool TakesValue(std::string_view option) {
  return option != "--watch" && option != "--force" && option != "--stop";
}

std::optional<std::chrono::seconds> Seconds(const std::string& text) {
  const auto value = ParseInteger(text);
  if (!value || *value < 1) return std::nullopt;
  return std::chrono::seconds(*value);
}

// A desktop entry passes "~/..." as it is; a shell would have expanded it.
std::filesystem::path Folder(const std::string& value) {
  const char* home = std::getenv("HOME");
  if (home != nullptr && (value == "~" || value.starts_with("~/"))) {
    return std::filesystem::path(home) /
           value.substr(std::min<size_t>(value.size(), 2));
  }
  return value;
}

// Sets one option, unless its value does not fit.
Result<void> Apply(std::string_view option, const std::string& value,
                   WallOptions& options) {
  if (value.empty() && TakesValue(option)) {
    return Failure(std::string(option) + " takes a value");
  }
  if (option == "--dir") {
    options.dir = Folder(value);
  } else if (option == "--mode") {
    if (!IsModeWord(value)) {
      return Failure("--mode takes RfcOrb, HttpOrb or AuxOrb, not \"" + value +
                     "\"");
    }
    AddOnce(value, options.modes);
  } else if (option == "--bin") {
    options.bin_dir = Folder(value);
  } else if (option == "--companion") {
    options.companion_dir = Folder(value);
  } else if (option == "--watch") {
    options.watch = true;
  } else if (option == "--force") {
    options.force = true;
  } else if (option == "--stop") {
    options.stop = true;
  } else if (option == "--wait" || option == "--every") {
    const auto seconds = Seconds(value);
    if (!seconds) {
      return Failure(std::string(option) +
                     " takes a number of seconds, not \"" + value + "\"");
    }
    (option == "--wait" ? options.wait : options.every) = *seconds;
  }
  return {};
}

// An orb number, each kept once; another word is an error.
Result<void> AddNumber(const std::string& word, WallOptions& options) {
  if (!IsOrbNumber(word)) {
    return Failure("\"" + word +
                   "\" is no orb number (four digits, row then column)");
  }
  AddOnce(word, options.numbers);
  return {};
}

// The option at words[i] and its value ("--name=value" or the next word,
// which i then moves past), unless they do not fit.
Result<void> ReadOption(const std::string& command, const Words& words,
                        size_t& i, WallOptions& options) {
  const std::string& word = words[i];
  const size_t equals = word.find('=');
  const std::string option = word.substr(0, equals);
  if (!Takes(command, option)) {
    return Failure(command + " takes no option " + option);
  }
  std::string value;
  if (equals != std::string::npos) {
    if (!TakesValue(option)) return Failure(option + " takes no value");
    value = word.substr(equals + 1);
  } else if (TakesValue(option)) {
    if (i + 1 >= words.size()) return Failure(option + " takes a value");
    value = words[++i];
  }
  return Apply(option, value, options);
}

}  // namespace

Result<WallOptions> ParseWallOptions(const std::string& command,
                                     const Words& words) {
  WallOptions options;
  options.command = command;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-h" || word == "--help") {
      options.help = true;
    } else if (!word.starts_with("-")) {
      VIGIL_TRY(AddNumber(word, options));
    } else {
      VIGIL_TRY(ReadOption(command, words, i, options));
    }
  }
  // Without numbers the others act on the whole wall; this one must not.
  if (command == "remove" && options.numbers.empty() && !options.help) {
    return Failure("remove takes the numbers of the orbs to remove");
  }
  return options;
}

Result<std::filesystem::path> ResolvedWallDir(
    const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::path resolved =
      std::filesystem::weakly_canonical(std::filesystem::absolute(dir), error);
  if (error || !std::filesystem::is_directory(resolved)) {
    return Failure(dir.string() + " is no directory");
  }
  return resolved;
}

std::string WallUsage(const std::string& command) {
  const std::string common =
      "  --dir DIR        the working directory "
      "(default: .)\n"
      "  --mode MODE      RfcOrb, HttpOrb or AuxOrb "
      "(default: every mode with an orbs file)\n";
  const std::string launch =
      "  --bin DIR        where RfcOrb, HttpOrb and AuxOrb are (default: "
      "beside vigil)\n"
      "  --companion DIR  the orbs' companion directory (default: the one "
      "given last, else DIR)\n";
  if (command == "start") {
    return "usage: vigil start [NUMBER...] [OPTIONS]\n"
           "Starts one orb per record of the orbs file, or the numbers "
           "given, and waits until each has passed its start-up.\n" +
           common + launch +
           "  --force          start also orbs whose lines or files vigil "
           "check finds problems in\n";
  }
  if (command == "stop") {
    return "usage: vigil stop [NUMBER...] [OPTIONS]\n"
           "Asks the orbs to end through their end-of-processing files.\n" +
           common +
           "  --wait SECONDS   before they are sent SIGTERM (default: 15)\n";
  }
  if (command == "status") {
    return "usage: vigil status [NUMBER...] [OPTIONS]\n"
           "Shows each orb's process, state marker and last event; exits 3 "
           "when one does not run.\n" +
           common;
  }
  if (command == "remove") {
    return "usage: vigil remove NUMBER... [OPTIONS]\n"
           "Takes the orbs' lines out of their orbs file; a running orb only "
           "with --stop, which ends it first.\n" +
           common +
           "  --stop           end a running orb first\n"
           "  --wait SECONDS   before it is sent SIGTERM (default: 15)\n";
  }
  return "usage: vigil restart [NUMBER...] [OPTIONS]\n"
         "Restarts the orbs that ended abnormally, with their carried-over "
         "value.\n" +
         common + launch +
         "  --watch          keep doing so until SIGINT or SIGTERM\n"
         "  --every SECONDS  between two looks with --watch (default: 5)\n";
}

}  // namespace vigil::cli
