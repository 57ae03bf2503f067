#include "sensor/load_average.h"

#include "common/tool_text.h"

namespace vigil::sensor {

std::optional<double> ParseLoadAverage(std::string_view loadavg_text) {
  const std::vector<std::string> words =
      tools::SplitWords(tools::Trim(loadavg_text));
  // The kernel always writes five fields; fewer means this is not loadavg.
  if (words.size() < 3) return std::nullopt;
  const std::optional<double> load = tools::ParseDecimal(words[0]);
  if (!load || *load < 0) return std::nullopt;
  return load;
}

}  // namespace vigil::sensor
