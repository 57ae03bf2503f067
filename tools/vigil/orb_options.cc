#include "vigil/orb_options.h"

#include <array>
#include <cstdint>
#include <functional>
#include <set>

#include "face/chart_bars.h"
#include "settings/altered_settings.h"
#include "store/text.h"
#include "vigil/orb_words.h"
#include "vigil/record_findings.h"
#include "vigil/satellite_findings.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

namespace layout = record_layout;

constexpr int kGridCellsHigh = 99;
constexpr int kIdleColourHigh = 17;
constexpr int kDefaultDelay = 60;
constexpr int kDefaultHistoryBars = 10;
constexpr int kNeutralColour = 17;

using Refusal = std::optional<std::string>;

std::optional<int> NumberIn(std::string_view text, int low, int high) {
  const std::string digits = Trim(text);
  if (!IsDigits(digits) || digits.size() > 6) return std::nullopt;
  const int number = *ParseInteger(digits);
  if (number < low || number > high) return std::nullopt;
  return number;
}

// "1x2", "1 x 2": height then width in cells.
std::optional<GridSize> GridFromWord(std::string_view word) {
  const std::string text = ToLower(word);
  const size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto rows = NumberIn(text.substr(0, x), 1, kGridCellsHigh);
  const auto columns = NumberIn(text.substr(x + 1), 1, kGridCellsHigh);
  if (!rows || !columns) return std::nullopt;
  return GridSize{*rows, *columns};
}

// A text that goes into a fixed-width field or the tail.
Refusal TextRefusal(std::string_view option, std::string_view text,
                    size_t max_bytes, bool semicolons_allowed) {
  if (ControlCharacterColumn(text) != 0) {
    return "--" + std::string(option) + " " + Quoted(text) +
           " holds a control character; expected printable text";
  }
  if (text.size() > max_bytes) {
    return "--" + std::string(option) + " " + Quoted(text) + " has " +
           std::to_string(text.size()) + " characters; expected at most " +
           std::to_string(max_bytes);
  }
  if (!semicolons_allowed && text.find(';') != std::string_view::npos) {
    return "--" + std::string(option) + " " + Quoted(text) +
           " holds a \";\", which separates the record's tail fields; "
           "expected none";
  }
  return std::nullopt;
}

Refusal ApplyName(const std::string& name, std::string_view mode_word,
                  OrbConfiguration& orb) {
  if (Refusal refusal =
          TextRefusal("name", name,
                      static_cast<size_t>(layout::kDisplayName.count), true)) {
    return refusal;
  }
  orb.record.set_display_name(name);
  // A name is where the line's kind is told: it must leave a record.
  if (!IsRecordLine(orb.record.text(), mode_word) ||
      IsHeaderLine(orb.record.text(), mode_word)) {
    return "--name " + Quoted(name) +
           " would make the record read as another kind of line; expected "
           "a name that does not begin with one of * # @ $ % ! & \xC2\xA7 or "
           "the mode word";
  }
  return std::nullopt;
}

Refusal ApplyLock(const std::string& lock, std::string_view,
                  OrbConfiguration& orb) {
  if (IsBlank(lock)) {
    return "--lock is blank; expected a lock name or <Profile>";
  }
  if (Refusal refusal = TextRefusal(
          "lock", lock, static_cast<size_t>(layout::kLockName.count), true)) {
    return refusal;
  }
  orb.record.set_lock_name_field(lock);
  return std::nullopt;
}

Refusal ApplyRule(const std::string& rule, std::string_view,
                  OrbConfiguration& orb) {
  if (ControlCharacterColumn(rule) != 0) {
    return "--rule " + Quoted(rule) +
           " holds a control character; expected printable text";
  }
  std::vector<Finding> findings;
  CheckRule(rule, 0, 1, findings);
  if (!findings.empty()) {
    return "--rule " + Quoted(rule) + ": " + findings.front().message;
  }
  orb.rules.push_back(rule);
  return std::nullopt;
}

// One option: its value checked and written, or why not.
using Apply = std::function<Refusal(
    const std::string&, std::string_view mode_word, OrbConfiguration&)>;

struct OrbOption {
  std::string_view name;
  const char* expected;  // what the value must be, for the refusal
  Apply apply;
};

// An Apply for a value that parses or is refused with the expected text.
template <typename Value>
Apply Parsed(std::function<std::optional<Value>(std::string_view)> parse,
             std::function<void(ConfigRecord&, Value)> set) {
  return [parse, set](const std::string& text, std::string_view,
                      OrbConfiguration& orb) -> Refusal {
    const std::optional<Value> value = parse(text);
    if (!value) return "";  // the caller words the refusal
    set(orb.record, *value);
    return std::nullopt;
  };
}

Apply Switched(void (ConfigRecord::*set)(bool)) {
  return Parsed<bool>(SwitchFromWord, [set](ConfigRecord& record, bool on) {
    (record.*set)(on);
  });
}

Apply Ranged(int low, int high, void (ConfigRecord::*set)(int)) {
  return Parsed<int>(
      [low, high](std::string_view text) { return NumberIn(text, low, high); },
      [set](ConfigRecord& record, int value) { (record.*set)(value); });
}

Apply Digits2(void (ConfigRecord::*set)(std::string_view)) {
  return Parsed<std::string>(
      [](std::string_view text) -> std::optional<std::string> {
        const auto number = NumberIn(text, 0, 99);
        if (!number) return std::nullopt;
        return TwoDigits(*number);
      },
      [set](ConfigRecord& record, std::string digits) {
        (record.*set)(digits);
      });
}

// "1,3": the listing's rows 01: and 03:, stored as row indexes from 0 in
// the four chart-bar fields; the first is also the gauge's kept item.
// "none" clears them.
std::optional<std::array<std::string, kChartBarSlots>> ItemsFromWord(
    std::string_view word) {
  std::array<std::string, kChartBarSlots> fields;
  fields.fill(std::string(kNoBar));
  if (ToLower(Trim(word)) == "none") return fields;
  std::vector<std::string> rows;
  for (size_t from = 0;;) {
    const size_t comma = word.find(',', from);
    rows.emplace_back(word.substr(from, comma - from));
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  if (rows.size() > fields.size()) return std::nullopt;
  for (size_t slot = 0; slot < rows.size(); ++slot) {
    const auto row = NumberIn(rows[slot], 1, 99);
    if (!row) return std::nullopt;
    fields[slot] = TwoDigits(*row - 1);
  }
  return fields;
}

void SetChartBars(ConfigRecord& record,
                  std::array<std::string, kChartBarSlots> fields) {
  for (int slot = 0; slot < kChartBarSlots; ++slot) {
    record.set_chart_bar(slot, fields[static_cast<size_t>(slot)]);
  }
}

Apply TailText(std::string_view option, size_t max_bytes,
               void (ConfigRecord::*set)(std::string_view)) {
  return [option, max_bytes, set](const std::string& text, std::string_view,
                                  OrbConfiguration& orb) -> Refusal {
    if (Refusal refusal = TextRefusal(option, text, max_bytes, false)) {
      return refusal;
    }
    (orb.record.*set)(text);
    return std::nullopt;
  };
}

const std::vector<OrbOption>& OrbOptionTable() {
  static const std::vector<OrbOption> kTable = {
      {"name", "", ApplyName},
      {"face", "chart, unsorted, listing, gauge or image",
       Parsed<char>(FaceFromWord, &ConfigRecord::set_face_mode)},
      {"chart",
       "bars, bar-line, vertical, stack, area, lines, points or pie (or "
       "0-7)",
       Parsed<int>(ChartFromWord, &ConfigRecord::set_chart_type)},
      {"grid", "height x width in cells, e.g. 1x2",
       Parsed<GridSize>(GridFromWord,
                        [](ConfigRecord& record, GridSize size) {
                          record.set_grid_size_text(FormatGridSizeText(size));
                        })},
      {"delay", "whole seconds from 10 to 99999",
       Ranged(kDelayLow, kDelayHigh, &ConfigRecord::set_delay_time)},
      {"history", "history bars from 4 to 99",
       Ranged(kHistoryBarsLow, kHistoryBarsHigh,
              &ConfigRecord::set_history_bars)},
      {"bars", "bars shown from 0 (all) to 99",
       Ranged(0, 99, &ConfigRecord::set_bar_limit)},
      {"sorting",
       "none, items-asc, items-dsc, value-asc, value-dsc, colour-asc or "
       "colour-dsc (or 0-6)",
       Parsed<char>(SortingFromWord, &ConfigRecord::set_sorting)},
      {"colour", "an idle colour code from 0 to 17",
       Ranged(0, kIdleColourHigh, &ConfigRecord::set_idle_colour_code)},
      {"items",
       "up to four of the listing's row numbers from 1, e.g. 1,3, or none",
       Parsed<std::array<std::string, kChartBarSlots>>(ItemsFromWord,
                                                       SetChartBars)},
      {"gauge", "a gauge number from 0 to 99",
       Digits2(&ConfigRecord::set_gauge_number)},
      {"image", "an image number from 0 to 99",
       Digits2(&ConfigRecord::set_image_number)},
      {"history-chart", "on or off", Switched(&ConfigRecord::set_history_mode)},
      {"hold", "on or off", Switched(&ConfigRecord::set_hold)},
      {"zoom", "on or off", Switched(&ConfigRecord::set_zoom_on_alert)},
      {"keep", "on or off", Switched(&ConfigRecord::set_keep_data)},
      {"legend", "on or off", Switched(&ConfigRecord::set_legend_shown)},
      {"chart-title", "on or off", Switched(&ConfigRecord::set_title_shown)},
      {"lock", "", ApplyLock},
      {"source", "", TailText("source", SIZE_MAX, &ConfigRecord::set_source)},
      {"program", "",
       TailText("program", SIZE_MAX, &ConfigRecord::set_program)},
      {"address", "",
       TailText("address", SIZE_MAX, &ConfigRecord::set_address)},
      {"title", "", TailText("title", kTitleLength, &ConfigRecord::set_title)},
      {"rule", "", ApplyRule},
  };
  return kTable;
}

}  // namespace

const std::vector<std::string_view>& OrbValueOptions() {
  static const std::vector<std::string_view> kNames = [] {
    std::vector<std::string_view> names = {"mode", "companion"};
    for (const OrbOption& option : OrbOptionTable()) {
      names.push_back(option.name);
    }
    return names;
  }();
  return kNames;
}

const std::vector<std::string_view>& OrbFlagOptions() {
  static const std::vector<std::string_view> kNames = {"purge-rules", "force"};
  return kNames;
}

ConfigRecord NewRecord(std::string_view number) {
  ConfigRecord record;
  record.set_number(number);
  record.set_display_name("Orb" + std::string(number));
  record.set_face_mode('0');
  record.set_chart_type(0);
  record.set_grid_size_text(FormatGridSizeText({1, 1}));
  record.set_history_mode(false);
  record.set_bar_limit(0);
  record.set_image_number("00");
  record.set_delay_time(kDefaultDelay);
  record.set_gauge_number("00");
  record.set_idle_colour_code(kNeutralColour);
  record.set_row_image_index(0);
  record.set_hold(false);
  for (int slot = 0; slot < kChartBarSlots; ++slot) {
    record.set_chart_bar(slot, "xx");
  }
  record.set_identifier_kind('0');
  record.set_sorting('0');
  record.set_zoom_on_alert(false);
  record.set_history_bars(kDefaultHistoryBars);
  record.set_keep_data(false);
  record.set_lock_name_field("<Profile>");
  record.set_legend_shown(true);
  record.set_title_shown(true);
  record.set_source("Global");
  return record;
}

std::optional<std::string> ApplyOrbOptions(const OptionWords& options,
                                           std::string_view mode_word,
                                           OrbConfiguration& orb) {
  if (options.Has("purge-rules")) orb.rules.clear();
  for (const auto& [name, value] : options.options) {
    for (const OrbOption& option : OrbOptionTable()) {
      if (option.name != name) continue;
      if (Refusal refusal = option.apply(value, mode_word, orb)) {
        if (!refusal->empty()) return refusal;
        return "--" + name + " " + Quoted(value) +
               " is not allowed; expected " + option.expected;
      }
    }
  }
  return std::nullopt;
}

std::string OptionNames(const OptionWords& options) {
  std::string names;
  std::set<std::string> seen;
  for (const auto& [name, value] : options.options) {
    if (name == "mode" || name == "companion" || name == "number" ||
        name == "force") {
      continue;
    }
    const std::string word = name == "purge-rules" ? "rules purged" : name;
    if (!seen.insert(word).second) continue;
    names += (names.empty() ? "" : ", ") + word;
  }
  return names;
}

}  // namespace vigil::cli
