#include "vigil/option_words.h"

#include <algorithm>

namespace vigil::cli {
namespace {

bool Contains(const std::vector<std::string_view>& names,
              std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool OptionWords::Has(std::string_view name) const {
  return std::any_of(options.begin(), options.end(),
                     [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> OptionWords::Value(std::string_view name) const {
  std::optional<std::string> value;
  for (const auto& [option, text] : options) {
    if (option == name) value = text;
  }
  return value;
}

std::vector<std::string> OptionWords::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [option, text] : options) {
    if (option == name) values.push_back(text);
  }
  return values;
}

Result<OptionWords> ParseOptionWords(
    const Words& words, const std::vector<std::string_view>& valued,
    const std::vector<std::string_view>& flags) {
  OptionWords parsed;
  bool options_ended = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (options_ended || word.size() < 3 || word.compare(0, 2, "--") != 0) {
      if (word == "--" && !options_ended) {
        options_ended = true;
      } else {
        parsed.positional.push_back(word);
      }
      continue;
    }
    const size_t equals = word.find('=');
    const std::string name = word.substr(2, equals - 2);
    if (Contains(flags, name) && equals == std::string::npos) {
      parsed.options.emplace_back(name, "");
    } else if (!Contains(valued, name)) {
      return Failure("unknown option --" + name);
    } else if (equals != std::string::npos) {
      parsed.options.emplace_back(name, word.substr(equals + 1));
    } else if (i + 1 < words.size()) {
      parsed.options.emplace_back(name, words[++i]);
    } else {
      return Failure("option --" + name + " needs a value");
    }
  }
  return parsed;
}

}  // namespace vigil::cli
