#include "face/chart_bars.h"

#include "store/text.h"

namespace vigil {

std::array<std::string, 4> ChartBarFields(const ConfigRecord& record) {
  return record.chart_bars();
}

std::optional<size_t> BarIndex(std::string_view field) {
  if (field == kNoBar) return std::nullopt;
  const auto index = ParseInteger(field);
  if (!index || *index < 0) return std::nullopt;
  return static_cast<size_t>(*index);
}

bool HasBarList(const ConfigRecord& record) {
  const auto bars = record.chart_bars();
  return bars[1] + bars[2] + bars[3] != "xxxxxx";
}

int MaxBars(const ConfigRecord& record) {
  const auto bars = record.bar_limit();
  return bars && *bars > 0 ? *bars : 0;
}

}  // namespace vigil
