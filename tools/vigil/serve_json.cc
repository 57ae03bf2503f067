#include "vigil/serve_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace vigil::cli {
namespace {

using nlohmann::json;

// null for no value, and for what JSON has no number for.
json NumberOrNull(const std::optional<double>& value) {
  if (!value || !std::isfinite(*value)) return nullptr;
  return *value;
}

json TextOrNull(const std::string& text) {
  if (text.empty()) return nullptr;
  return text;
}

json ItemJson(const ServedItem& item) {
  return {{"name", item.name},
          {"value", NumberOrNull(item.value)},
          {"shown", item.shown},
          {"unit", item.unit}};
}

json OrbJson(const ServedOrb& orb) {
  json items = json::array();
  for (const ServedItem& item : orb.items) items.push_back(ItemJson(item));
  return {
      {"number", orb.number},
      {"stem", orb.stem},
      {"name", orb.name},
      {"mode", orb.mode},
      {"cells",
       {{"row", orb.row},
        {"column", orb.column},
        {"rows", orb.cell_rows},
        {"columns", orb.cell_columns}}},
      {"face", orb.face},
      {"process", orb.process},
      {"runs", orb.runs},
      {"state", {{"code", orb.state_code}, {"word", orb.state}}},
      {"colour", orb.colour},
      {"frame", orb.frame},
      {"last_cycle_age_seconds", NumberOrNull(orb.cycle_age_seconds)},
      {"last_good_cycle_age_seconds", NumberOrNull(orb.good_cycle_age_seconds)},
      {"waiting", TextOrNull(orb.waiting)},
      {"no_data", TextOrNull(orb.no_data)},
      {"items", items},
  };
}

}  // namespace

std::string WallJson(const ServedWall& wall) {
  json orbs = json::array();
  for (const ServedOrb& orb : wall.orbs) orbs.push_back(OrbJson(orb));
  const json document = {{"wall", wall.name},
                         {"rows", wall.rows},
                         {"columns", wall.columns},
                         {"error", TextOrNull(wall.error)},
                         {"orbs", orbs},
                         {"events", wall.events}};
  // Bytes that are no UTF-8 get through the readers' conversion only by a
  // fault; they become U+FFFD rather than end the request.
  return document.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace vigil::cli
