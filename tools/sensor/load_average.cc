#include "sensor/load_average.h"

#include "sensor/text_util.h"

namespace vigil::sensor {

std::optional<double> ParseLoadAverage(std::string_view loadavg_text) {
  const std::vector<std::string> words = SplitWords(Trim(loadavg_text));
  // The kernel always writes five fields; fewer means this is not loadavg.
  if (words.size() < 3) return std::nullopt;
  const std::optional<double> load = ParseNumber(words[0]);
  if (!load || *load < 0) return std::nullopt;
  return load;
}

}  // namespace vigil::sensor
