#include "face/chart_bars.h"

#include "store/text.h"

namespace vigil {

std::array<std::string, 4> ChartBarFields(std::string_view record) {
  return {Mid(record, 41, 2), Mid(record, 43, 2), Mid(record, 45, 2),
          Mid(record, 47, 2)};
}

std::optional<size_t> BarIndex(std::string_view field) {
  if (field == kNoBar) return std::nullopt;
  const auto index = ParseInteger(field);
  if (!index || *index < 0) return std::nullopt;
  return static_cast<size_t>(*index);
}

bool HasBarList(std::string_view record) {
  return Mid(record, 43, 6) != "xxxxxx";
}

std::optional<size_t> KeptItemIndex(std::string_view record) {
  const std::string field = Mid(record, 41, 2);
  if (field == kNoBar) return 0;
  return BarIndex(field);
}

int MaxBars(std::string_view record) {
  const auto bars = ParseInteger(Mid(record, 26, 2));
  return bars && *bars > 0 ? *bars : 0;
}

}  // namespace vigil
