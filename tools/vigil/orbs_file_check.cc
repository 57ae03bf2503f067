#include "vigil/orbs_file_check.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "store/orbs_file.h"
#include "store/text.h"
#include "vigil/grid_findings.h"
#include "vigil/orb_words.h"
#include "vigil/orbs_file_input.h"
#include "vigil/record_findings.h"
#include "vigil/satellite_findings.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

namespace header = header_layout;

// The blank between a line's key and the rest.
constexpr int kKeyBlank = kLineKey.last() + 1;

std::string Field(std::string_view line, ColumnSpan span) {
  return Mid(line, span.from, span.count);
}

std::string LineKey(std::string_view line) { return Field(line, kLineKey); }

bool IsActionMarker(char marker) {
  return marker == kStateMailMarker || marker == kValueMailMarker ||
         marker == kStateExecMarker || marker == kValueExecMarker ||
         marker == kTraceMarker;
}

void CheckGridCounts(std::string_view line, int number,
                     std::vector<Finding>& findings) {
  const std::pair<ColumnSpan, const char*> grid[] = {
      {header::kRows, "grid rows"}, {header::kColumns, "grid columns"}};
  for (const auto& [span, name] : grid) {
    const std::string text = Field(line, span);
    const auto count = ParseInteger(text);
    if (count && *count >= 1) continue;
    findings.push_back(
        {number, span.from,
         std::string(name) + " " + Quoted(text) +
             " is not a number of at least 1; expected two digits in " +
             ColumnsText(span) + ", e.g. \"0806\" for 8 rows and 6 columns"});
  }
}

void CheckFrameWidth(std::string_view line, int number,
                     std::vector<Finding>& findings) {
  const std::string frame = Field(line, header::kFrameWidth);
  const auto width = ParseInteger(frame);
  if (IsBlank(frame) || (width && *width >= 0)) return;
  findings.push_back({number, header::kFrameWidth.from,
                      "frame width " + Quoted(frame) +
                          " is not a number; expected pixels or blanks in " +
                          ColumnsText(header::kFrameWidth)});
}

void CheckSizeOffsets(std::string_view line, int number,
                      std::vector<Finding>& findings) {
  const std::pair<ColumnSpan, const char*> offsets[] = {
      {header::kLabelSizeOffset, "label size offset"},
      {header::kCaptionSizeOffset, "caption size offset"}};
  for (const auto& [span, name] : offsets) {
    const std::string text = Field(line, span);
    if (IsBlank(text) || IsDigits(text)) continue;
    findings.push_back({number, span.from,
                        std::string(name) + " " + Quoted(text) +
                            " is ignored; expected two digits or blanks in " +
                            ColumnsText(span)});
  }
}

void CheckGridMonitor(std::string_view line, int number,
                      std::vector<Finding>& findings) {
  const std::string text = Field(line, header::kGridMonitor);
  if (ParseGridMonitor(text)) return;
  findings.push_back(
      {number, header::kGridMonitor.from,
       "monitor " + Quoted(Trim(text)) +
           " names no monitor; expected a number from 1 (left to right), an "
           "output's name, \"*\" for the whole desktop, or blanks for the "
           "primary screen in " +
           ColumnsText(header::kGridMonitor)});
}

// The blank after a line's key, which is the grid or the orb number.
std::optional<Finding> KeyBlankFinding(std::string_view line, int number,
                                       std::string_view after) {
  const std::string found = Mid(line, kKeyBlank, 1);
  if (found == " ") return std::nullopt;
  return Finding{number, kKeyBlank,
                 "expected a blank after the " + std::string(after) +
                     " in column " + std::to_string(kKeyBlank) + ", found " +
                     Quoted(found)};
}

void CheckHeaderLine(std::string_view line, int number,
                     std::vector<Finding>& findings) {
  CheckGridCounts(line, number, findings);
  if (auto finding = KeyBlankFinding(line, number, "grid")) {
    findings.push_back(std::move(*finding));
  }
  CheckFrameWidth(line, number, findings);
  CheckSizeOffsets(line, number, findings);
  CheckGridMonitor(line, number, findings);
}

// One pass over the lines, keeping what the later checks need.
class LineWalk {
 public:
  LineWalk(const std::vector<std::string>& lines, const CheckScope& scope)
      : lines_(lines), scope_(scope) {}

  std::vector<Finding> Run() {
    for (size_t i = 0; i < lines_.size(); ++i) {
      Visit(lines_[i], static_cast<int>(i) + 1);
    }
    // The records the orbs read, in file order.
    std::map<int, std::string> by_line;
    for (const auto& [number, line] : last_record_) by_line[line] = number;
    std::vector<PlacedRecord> records;
    for (const auto& [line, number] : by_line) {
      records.push_back({line, lines_[static_cast<size_t>(line) - 1]});
    }
    for (const auto& [line, key, marker] : satellites_) {
      if (last_record_.count(key) > 0) continue;
      Add(line, 1,
          SatelliteWord(marker) + " line of orb " + key +
              ", which has no record; expected a record with the number " +
              key + " or the line removed");
    }
    CheckGridPlacement(records, Bounds(), findings_);
    if (scope_.files) {
      for (const PlacedRecord& placed : records) {
        CheckCompanionFiles(placed.record, placed.line, scope_.mode_word,
                            *scope_.files, findings_);
      }
    }
    SortFindings(findings_);
    return std::move(findings_);
  }

 private:
  void Add(int line, int column, std::string message) {
    findings_.push_back({line, column, std::move(message)});
  }

  void Visit(const std::string& line, int number) {
    if (line.empty()) {
      Add(number, 1,
          "empty line; expected a line that begins with a four-digit orb "
          "number");
      return;
    }
    CheckControlCharacters(line, number);
    if (IsHeaderLine(line, scope_.mode_word)) {
      VisitHeader(line, number);
      return;
    }
    const std::string key = LineKey(line);
    if (!KeyReads(key, number)) return;
    // A line cut right after its key has no blank to miss.
    if (Mid(line, kKeyBlank, 1).size() == 1) {
      if (auto finding = KeyBlankFinding(line, number, "orb number")) {
        findings_.push_back(std::move(*finding));
      }
    }
    if (IsOtherModesHeader(line, number)) return;
    const Satellite satellite = ReadSatellite(line);
    if (satellite.marker != 0) {
      VisitSatellite(line, number, key, satellite);
    } else if (IsRecordLine(line, scope_.mode_word)) {
      VisitRecord(line, number, key);
    }
    // Lines that read the mode word and "... " are no orb's: skipped.
  }

  void CheckControlCharacters(const std::string& line, int number) {
    const int column = ControlCharacterColumn(line);
    if (column == 0) return;
    Add(number, column,
        "control character " + Quoted(line.substr(column - 1, 1)) +
            " in the text; expected printable characters (lines end in "
            "LF or CR LF)");
  }

  // Whether the line begins with an orb number, telling when not.
  bool KeyReads(const std::string& key, int number) {
    if (IsOrbNumber(key)) return true;
    Add(number, 1,
        "line begins with " + Quoted(key) +
            "; expected a four-digit orb number (row and column, two "
            "digits each) or the header line");
    return false;
  }

  // The header line of another mode, told as such.
  bool IsOtherModesHeader(const std::string& line, int number) {
    for (const std::string_view mode : ModeWords()) {
      if (mode == scope_.mode_word || !IsHeaderLine(line, mode)) continue;
      Add(number, header::kForm.from,
          "header line of the " + std::string(mode) + " mode in a file of " +
              scope_.mode_word + " orbs; expected " +
              Quoted(HeaderForm(scope_.mode_word)) + " in " +
              ColumnsText(header::kForm) +
              " (the mode comes from the file name or --mode)");
      return true;
    }
    return false;
  }

  void VisitHeader(const std::string& line, int number) {
    if (header_line_ > 0) {
      Add(number, 1,
          "another header line (one before is on line " +
              std::to_string(header_line_) +
              "); the orbs read only the last one; expected one header line");
    }
    header_line_ = number;
    CheckHeaderLine(line, number, findings_);
  }

  void VisitSatellite(const std::string& line, int number,
                      const std::string& key, const Satellite& satellite) {
    satellites_.push_back({number, key, satellite.marker});
    const int blank_column = satellite.content_column - 1;
    if (static_cast<int>(line.size()) >= blank_column &&
        line[static_cast<size_t>(blank_column) - 1] != ' ') {
      Add(number, blank_column,
          "expected a blank after the marker in column " +
              std::to_string(blank_column) + ", found " +
              Quoted(line.substr(static_cast<size_t>(blank_column) - 1, 1)) +
              "; the orb skips that column");
    }
    // A line cut before its content is pointed at just after its end.
    const int content_column =
        std::min(satellite.content_column, static_cast<int>(line.size()) + 1);
    if (satellite.marker == kRuleMarker) {
      CheckRule(satellite.content, number, content_column, findings_);
      return;
    }
    if (IsActionMarker(satellite.marker) ||
        satellite.marker == kCaptionsMarker) {
      const auto [first, fresh] =
          first_single_.try_emplace({key, satellite.marker}, number);
      if (!fresh) {
        Add(number, kMarkerColumn,
            "another " + SatelliteWord(satellite.marker) + " line of orb " +
                key + " (the first is on line " +
                std::to_string(first->second) +
                "); the orb reads only the last one; expected one");
      }
    }
    if (IsActionMarker(satellite.marker)) {
      CheckActionMarks(satellite.marker, satellite.content, number,
                       content_column, findings_);
    }
  }

  void VisitRecord(const std::string& line, int number,
                   const std::string& key) {
    const auto [last, fresh] = last_record_.try_emplace(key, number);
    if (!fresh) {
      Add(number, 1,
          "another record of orb " + key + " (the first is on line " +
              std::to_string(last->second) +
              "); the orb reads only the last one; expected one record per "
              "number");
      last->second = number;
    }
    CheckRecordColumns(ConfigRecord(line), number, scope_.mode_word, findings_);
  }

  std::optional<GridBounds> Bounds() const {
    if (header_line_ == 0) {
      return GridBounds{kDefaultGridRows, kDefaultGridColumns, 0};
    }
    // An unreadable grid bounds nothing; its own finding says so.
    const std::string& line = lines_[static_cast<size_t>(header_line_) - 1];
    const auto rows = ParseInteger(Field(line, header::kRows));
    const auto columns = ParseInteger(Field(line, header::kColumns));
    if (!rows || !columns || *rows < 1 || *columns < 1) return std::nullopt;
    return GridBounds{*rows, *columns, header_line_};
  }

  const std::vector<std::string>& lines_;
  const CheckScope& scope_;
  std::vector<Finding> findings_;
  int header_line_ = 0;                     // the last one, which the orbs read
  std::map<std::string, int> last_record_;  // number -> line
  std::map<std::pair<std::string, char>, int> first_single_;
  struct SatelliteAt {
    int line;
    std::string key;
    char marker;
  };
  std::vector<SatelliteAt> satellites_;
};

}  // namespace

std::vector<Finding> CheckOrbsLines(const std::vector<std::string>& lines,
                                    const CheckScope& scope) {
  return LineWalk(lines, scope).Run();
}

std::vector<std::string> RecordNumbers(const std::vector<std::string>& lines,
                                       const std::string& mode_word) {
  std::vector<std::string> numbers;
  std::set<std::string> seen;
  for (const std::string& line : lines) {
    const std::string key = LineKey(line);
    if (!IsOrbNumber(key) || IsHeaderLine(line, mode_word) ||
        !IsRecordLine(line, mode_word)) {
      continue;
    }
    if (seen.insert(key).second) numbers.push_back(key);
  }
  return numbers;
}

}  // namespace vigil::cli
