#include "vigil/serve_metrics.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace vigil::cli {
namespace {

std::string LabelValue(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '"') {
      escaped += "\\\"";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string SampleValue(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

using Labels = std::vector<std::pair<std::string_view, std::string>>;

std::string LabelSet(const Labels& labels) {
  std::string set;
  for (const auto& [name, value] : labels) {
    set += (set.empty() ? "{" : ",") + std::string(name) + "=\"" +
           LabelValue(value) + "\"";
  }
  return set + "}";
}

Labels OrbLabels(const ServedWall& wall, const ServedOrb& orb) {
  return {{"wall", wall.name}, {"orb", orb.stem}, {"name", orb.name}};
}

struct Family {
  std::string_view name;
  std::string_view help;
};

void WriteFamily(
    const Family& family, const ServedWall& wall,
    const std::function<std::optional<double>(const ServedOrb&)>& value_of,
    std::string& text) {
  text += "# HELP " + std::string(family.name) + " " +
          std::string(family.help) + "\n# TYPE " + std::string(family.name) +
          " gauge\n";
  for (const ServedOrb& orb : wall.orbs) {
    const std::optional<double> value = value_of(orb);
    if (!value || !std::isfinite(*value)) continue;
    text += std::string(family.name) + LabelSet(OrbLabels(wall, orb)) + " " +
            SampleValue(*value) + "\n";
  }
}

// Two rows of one name and unit would be one series twice, which a
// scrape refuses; the later ones are told apart by their count.
std::string UniqueItemName(
    const ServedItem& item,
    std::map<std::pair<std::string, std::string>, int>& seen) {
  const int count = ++seen[{item.name, item.unit}];
  if (count == 1) return item.name;
  return item.name + " (" + std::to_string(count) + ")";
}

void WriteItemValues(const ServedWall& wall, std::string& text) {
  text +=
      "# HELP vigil_orb_item_value The last value of an item of a running "
      "orb, as its source gave it.\n"
      "# TYPE vigil_orb_item_value gauge\n";
  for (const ServedOrb& orb : wall.orbs) {
    if (!orb.runs) continue;
    std::map<std::pair<std::string, std::string>, int> seen;
    for (const ServedItem& item : orb.items) {
      const std::string name = UniqueItemName(item, seen);
      if (!item.value || !std::isfinite(*item.value)) continue;
      Labels labels = OrbLabels(wall, orb);
      labels.emplace_back("item", name);
      labels.emplace_back("unit", item.unit);
      text += "vigil_orb_item_value" + LabelSet(labels) + " " +
              SampleValue(*item.value) + "\n";
    }
  }
}

}  // namespace

std::string WallMetrics(const ServedWall& wall) {
  std::string text;
  WriteFamily(
      {"vigil_orb_state",
       "The state code of the orb: 1 green, 2 yellow, 3 red, 4 no "
       "data, 5 starting, 6 stopped, 7 suspended, 8 resumed."},
      wall,
      [](const ServedOrb& orb) -> std::optional<double> {
        return orb.state_code;
      },
      text);
  WriteFamily(
      {"vigil_orb_running", "1 while the orb's process runs."}, wall,
      [](const ServedOrb& orb) -> std::optional<double> {
        return orb.runs ? 1 : 0;
      },
      text);
  WriteFamily(
      {"vigil_orb_last_good_cycle_age_seconds",
       "Seconds since the orb's last good cycle wrote its result."},
      wall, [](const ServedOrb& orb) { return orb.good_cycle_age_seconds; },
      text);
  WriteItemValues(wall, text);
  return text;
}

}  // namespace vigil::cli
