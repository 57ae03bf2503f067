// The words of a subcommand: positional words and named options
// ("--name VALUE", "--name=VALUE", or a bare "--flag").
#ifndef VIGIL_TOOLS_VIGIL_OPTION_WORDS_H_
#define VIGIL_TOOLS_VIGIL_OPTION_WORDS_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/result.h"
#include "vigil/commands.h"

namespace vigil::cli {

struct OptionWords {
  std::vector<std::string> positional;
  // In the order given, names without "--"; a flag has an empty value.
  std::vector<std::pair<std::string, std::string>> options;

  bool Has(std::string_view name) const;
  // The last value given: a repeated option overrides, as in most tools.
  std::optional<std::string> Value(std::string_view name) const;
  std::vector<std::string> Values(std::string_view name) const;
};

// A word "--" ends the options; everything after it is positional. An
// unknown option, or one without its value, is a usage error.
Result<OptionWords> ParseOptionWords(
    const Words& words, const std::vector<std::string_view>& valued,
    const std::vector<std::string_view>& flags);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_OPTION_WORDS_H_
