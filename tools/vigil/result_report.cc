#include "vigil/result_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "monitor/item_table.h"
#include "monitor/monitoring_cycle.h"
#include "monitor/result_format.h"
#include "monitor/result_reader.h"
#include "monitor/string_list.h"
#include "store/processing_states.h"
#include "store/text.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

// An orb without chart bars: the reader adds no filler rows.
const ResultReaderSettings kReaderSettings{0, "xxxxxxxx"};

// Label, item, data and unit of a row, as the listing shows them.
using Cells = std::array<std::string, 4>;

// Terminal columns of UTF-8 text, one per character.
size_t Width(std::string_view text) {
  return std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  });
}

std::string Padding(std::string_view text, size_t width) {
  return std::string(width - std::min(width, Width(text)), ' ');
}

// Enough digits to tell the number as the sensor gave it, without the
// float noise of a full round trip.
std::string NumberWord(double number) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", number);
  return text;
}

std::string LimitWords(const SensorLimits& limits) {
  std::string words;
  const auto add = [&words](const std::string& word) {
    words += (words.empty() ? "" : ", ") + word;
  };
  const auto limit = [&add](std::optional<double> value, const char* what) {
    if (value) add(what + NumberWord(*value));
  };
  limit(limits.max_error, "error above ");
  limit(limits.max_warning, "warning above ");
  limit(limits.min_error, "error below ");
  limit(limits.min_warning, "warning below ");
  if (limits.warning) add("warning flag set");
  return words;
}

// The number the rules compare, which may differ from the shown Data.
std::string RowNote(const ItemRow& row) {
  std::string note =
      row.value ? "value " + NumberWord(*row.value) : "no number";
  const std::string limits = LimitWords(row.limits);
  if (!limits.empty()) note += "; " + limits;
  return "(" + note + ")";
}

void WriteRows(const ItemTable& items, std::ostream& out) {
  out << "rows: " << items.size() << '\n';
  std::vector<Cells> rows;
  std::array<size_t, 4> widths{};
  for (const ItemRow& row : items.rows()) {
    const Cells& cells = rows.emplace_back(Cells{
        Shown(row.label), Shown(row.item), Shown(row.data), Shown(row.unit)});
    for (size_t i = 0; i < cells.size(); ++i) {
      widths[i] = std::max(widths[i], Width(cells[i]));
    }
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Cells& cells = rows[i];
    // Data is right-aligned, as in the listing.
    out << "  " << cells[0] << Padding(cells[0], widths[0]) << ' ' << cells[1]
        << Padding(cells[1], widths[1]) << "  " << Padding(cells[2], widths[2])
        << cells[2] << ' ' << cells[3] << Padding(cells[3], widths[3]) << "  "
        << RowNote(items[i]) << '\n';
  }
}

void WriteProblems(const std::vector<std::string>& problems,
                   std::ostream& out) {
  if (problems.empty()) {
    out << "problems: none\n";
    return;
  }
  out << "problems:\n";
  for (const std::string& problem : problems) {
    out << "  " << Shown(problem) << '\n';
  }
}

void WriteReading(const ResultFormat& format,
                  const std::vector<std::string>& lines, std::ostream& out) {
  ItemTable items;
  StringList work;
  const ResultReading reading =
      format.Read(lines, kReaderSettings, items, work);
  out << "format: " << format.name() << '\n';
  WriteRows(items, out);
  const std::string message = Trim(reading.message_line);
  out << "message: " << (message.empty() ? "(none)" : Shown(message)) << '\n';
  out << "processing lines: " << ReadProcessingStates(lines).size() << '\n';
  WriteProblems(reading.problems, out);
}

// As the cycle decides: a result without its end outweighs the sensor's
// own error text.
std::optional<std::string> NoDataText(const ResultCheck& check) {
  if (!check.complete) return NoDataFoundText(/*http=*/false);
  if (!check.error_text.empty()) return check.error_text;
  return std::nullopt;
}

}  // namespace

bool WriteResultReport(const std::vector<std::string>& lines,
                       std::ostream& out) {
  const ResultFormat& format = ResultFormatFor(lines);
  if (lines.empty()) {
    out << "the sensor wrote nothing\n";
  } else {
    WriteReading(format, lines, out);
  }
  const std::optional<std::string> no_data = NoDataText(format.Check(lines));
  if (no_data) {
    out << "an orb shows no data: " << Shown(*no_data) << '\n';
  } else {
    out << "an orb shows data\n";
  }
  return !no_data;
}

}  // namespace vigil::cli
