#include "vigil/record_findings.h"

#include <algorithm>
#include <string>

#include "store/orb_mode.h"
#include "store/text.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

namespace layout = record_layout;

// A one-character field and the characters the orb gives a meaning.
struct CharField {
  ColumnSpan span;
  const char* name;
  std::string_view allowed;
  const char* expected;
};

const CharField kCharFields[] = {
    {layout::kFaceMode, "face", "01234",
     "0 chart, 1 unsorted chart, 2 listing, 3 gauge or 4 image"},
    {layout::kChartType, "chart kind", "01234567 ",
     "0-7 (bars, bar-line, vertical, stack, area, lines, points, pie) or a "
     "blank"},
    {layout::kChartMode, "chart mode", "x.", "\"x\" history or \".\" bars"},
    {layout::kImageTens, "image number's tens digit", "0123456789", "a digit"},
    {layout::kGaugeTens, "gauge number's tens digit", "0123456789", "a digit"},
    {layout::kGaugeUnits, "gauge number's units digit", "0123456789",
     "a digit"},
    {layout::kHold, "hold flag", "!.", "\"!\" or \".\""},
    {layout::kIdentifierKind, "identifier kind", "01234",
     "0 none, 1 probe, 2 group, 3 device or 4 sensor"},
    {layout::kSorting, "sorting", "0123456", "0 to 6"},
    {layout::kZoom, "zoom flag", "!.", "\"!\" or \".\""},
    {layout::kKeepData, "keep-data flag", "!.", "\"!\" or \".\""},
    {layout::kLegend, "legend flag", "x.", "\"x\" or \".\""},
    {layout::kTitleShown, "chart-title flag", "x.", "\"x\" or \".\""},
    {layout::kImageUnits, "image number's units digit", "0123456789",
     "a digit"},
};

// A field of digits only, of its full width.
struct DigitsField {
  ColumnSpan span;
  const char* name;
  const char* expected;
};

const DigitsField kDigitsFields[] = {
    {layout::kBarLimit, "maximal bars", "two digits, 00 for all"},
    {layout::kRowImage, "row image index", "two digits"},
    {layout::kHistoryBars, "history bars", "three digits"},
};

bool Reaches(const ConfigRecord& record, ColumnSpan span) {
  return record.text().size() >= static_cast<size_t>(span.last());
}

std::string Field(const ConfigRecord& record, ColumnSpan span) {
  return Mid(record.text(), span.from, span.count);
}

void CheckGridSize(const ConfigRecord& record, int line,
                   std::vector<Finding>& findings) {
  const ColumnSpan span = layout::kGridSize;
  const std::string text = record.grid_size_text();
  // The reader takes height and width and skips the blank between them.
  const bool separated = Mid(text, 3, 1) == " ";
  if (ParseGridSizeText(text) && separated) return;
  const ColumnSpan height{span.from, 2};
  const ColumnSpan width{span.from + 3, 2};
  findings.push_back(
      {line, span.from,
       "grid size " + Quoted(text) +
           " is not a number of cells; expected height and width from 1, "
           "right-aligned in " +
           ColumnsText(height) + " and " + std::to_string(width.from) + "-" +
           std::to_string(width.last()) +
           " with a blank between, e.g. \" 1  2\""});
}

void CheckDelay(const ConfigRecord& record, int line,
                std::vector<Finding>& findings) {
  const std::string text = record.delay_text();
  const std::string digits = Trim(text);
  const std::string expected =
      "expected seconds from " + std::to_string(kDelayLow) + " to " +
      std::to_string(kDelayHigh) + ", right-aligned in " +
      ColumnsText(layout::kDelay);
  if (!IsDigits(digits)) {
    findings.push_back(
        {line, layout::kDelay.from,
         "delay " + Quoted(text) + " is not a number; " + expected});
    return;
  }
  const int seconds = ParseInteger(digits).value_or(0);
  if (seconds < kDelayLow || seconds > kDelayHigh) {
    findings.push_back({line, layout::kDelay.from,
                        "delay of " + std::to_string(seconds) +
                            " seconds is out of range; " + expected});
  }
}

void CheckChartBars(const ConfigRecord& record, int line,
                    std::vector<Finding>& findings) {
  const auto bars = record.chart_bars();
  for (int slot = 0; slot < kChartBarSlots; ++slot) {
    const std::string& bar = bars[static_cast<size_t>(slot)];
    if (bar == "xx" || IsDigits(bar)) continue;
    const ColumnSpan span{layout::kChartBars.from + 2 * slot, 2};
    findings.push_back(
        {line, span.from,
         "chart bar " + std::to_string(slot + 1) + " " + Quoted(bar) +
             " is not an item index; expected two digits or \"xx\" in " +
             ColumnsText(span)});
  }
}

void CheckCharFields(const ConfigRecord& record, int line,
                     std::vector<Finding>& findings) {
  for (const CharField& field : kCharFields) {
    if (!Reaches(record, field.span)) continue;
    const std::string found = Field(record, field.span);
    if (field.allowed.find(found[0]) != std::string_view::npos) continue;
    findings.push_back({line, field.span.from,
                        std::string(field.name) + " " + Quoted(found) +
                            " is not one of its characters; expected " +
                            field.expected + " in " + ColumnsText(field.span)});
  }
}

void CheckDigitsFields(const ConfigRecord& record, int line,
                       std::vector<Finding>& findings) {
  for (const DigitsField& field : kDigitsFields) {
    if (!Reaches(record, field.span)) continue;
    const std::string found = Field(record, field.span);
    if (IsDigits(found)) continue;
    findings.push_back({line, field.span.from,
                        std::string(field.name) + " " + Quoted(found) +
                            " is not a number; expected " + field.expected +
                            " in " + ColumnsText(field.span)});
  }
}

void CheckIdleColour(const ConfigRecord& record, int line,
                     std::vector<Finding>& findings) {
  const std::string code = Field(record, layout::kIdleColour);
  if (IsDigits(code) && *ParseInteger(code) <= 17) return;
  findings.push_back({line, layout::kIdleColour.from,
                      "idle colour " + Quoted(code) +
                          " is not a colour code; expected 00 to 17 in " +
                          ColumnsText(layout::kIdleColour)});
}

void CheckLockName(const ConfigRecord& record, int line,
                   std::vector<Finding>& findings) {
  if (!record.lock_name_field().empty()) return;
  findings.push_back({line, layout::kLockName.from,
                      "lock name is blank; expected a name or <Profile> in " +
                          ColumnsText(layout::kLockName)});
}

// A record that ends before its tail: one finding, just after its end.
void ReportCutRecord(const ConfigRecord& record, int line,
                     std::vector<Finding>& findings) {
  const int tail = layout::kTail;
  const auto length = static_cast<int>(record.text().size());
  findings.push_back({line, length + 1,
                      "record ends at column " + std::to_string(length) +
                          "; expected its fields up to column " +
                          std::to_string(tail - 1) +
                          " and source;program;address;title from column " +
                          std::to_string(tail)});
}

void CheckTailSeparators(const ConfigRecord& record, int line,
                         std::vector<Finding>& findings) {
  const int tail = layout::kTail;
  const std::string tail_text = record.tail_text();
  const auto separators = std::count(tail_text.begin(), tail_text.end(), ';');
  if (separators >= 3) return;
  findings.push_back(
      {line, tail + static_cast<int>(tail_text.size()),
       "tail " + Quoted(tail_text) + " has " + std::to_string(separators) +
           " of the 3 \";\" between source, program, address and title; "
           "expected source;program;address;title from column " +
           std::to_string(tail)});
}

void CheckTitleLength(const ConfigRecord& record, int line,
                      std::vector<Finding>& findings) {
  const std::string tail_text = record.tail_text();
  const size_t last = tail_text.rfind(';');
  const size_t title_from = last == std::string::npos ? 0 : last + 1;
  if (tail_text.size() - title_from <= kTitleLength) return;
  findings.push_back(
      {line, layout::kTail + static_cast<int>(title_from),
       "title is longer than " + std::to_string(kTitleLength) +
           " characters and is cut there; expected a shorter title"});
}

void CheckSensorAddress(const ConfigRecord& record, int line,
                        std::vector<Finding>& findings) {
  const RecordTail fields = record.tail();
  if (fields.address.find("id=") != std::string::npos) return;
  // Where the address begins, or the tail's end when it has no place.
  const size_t address_at = fields.source.size() + fields.program.size() + 2;
  const size_t tail_size = record.tail_text().size();
  findings.push_back(
      {line, layout::kTail + static_cast<int>(std::min(address_at, tail_size)),
       "address " + Quoted(fields.address) +
           " has no \"id=\"; expected the sensor's address, e.g. "
           "/sensor.htm?id=2041"});
}

}  // namespace

std::string ColumnsText(ColumnSpan span) {
  if (span.count == 1) return "column " + std::to_string(span.from);
  return "columns " + std::to_string(span.from) + "-" +
         std::to_string(span.last());
}

void CheckRecordColumns(const ConfigRecord& record, int line,
                        std::string_view mode_word,
                        std::vector<Finding>& findings) {
  CheckCharFields(record, line, findings);
  CheckDigitsFields(record, line, findings);
  if (Reaches(record, layout::kGridSize)) CheckGridSize(record, line, findings);
  if (Reaches(record, layout::kDelay)) CheckDelay(record, line, findings);
  if (Reaches(record, layout::kIdleColour)) {
    CheckIdleColour(record, line, findings);
  }
  if (Reaches(record, layout::kChartBars)) {
    CheckChartBars(record, line, findings);
  }
  if (Reaches(record, layout::kLockName)) CheckLockName(record, line, findings);
  if (static_cast<int>(record.text().size()) < layout::kTail) {
    ReportCutRecord(record, line, findings);
    return;
  }
  CheckTailSeparators(record, line, findings);
  CheckTitleLength(record, line, findings);
  if (OrbModeOf(mode_word).http) CheckSensorAddress(record, line, findings);
}

}  // namespace vigil::cli
