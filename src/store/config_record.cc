#include "store/config_record.h"

#include <cctype>

#include "store/text.h"

namespace vigil {

RecordTail SplitTail(std::string_view record) {
  const std::string tail = Mid(record, kTailColumn);
  RecordTail fields;
  fields.source = BeforeFirst(tail, ';');
  const std::string after_source = AfterFirst(tail, ';');
  fields.program = BeforeFirst(after_source, ';');
  fields.address = BeforeFirst(AfterFirst(after_source, ';'), ';');
  const size_t last = tail.rfind(';');
  fields.title = Mid(tail, last == std::string::npos ? 1 : int(last) + 2, 99);
  return fields;
}

bool IsGlobalSource(std::string_view record) {
  return Mid(record, kTailColumn, 7) == "Global;";
}

std::string RecordNumber(std::string_view record) { return Mid(record, 1, 4); }
std::string RecordRow(std::string_view record) { return Mid(record, 1, 2); }
std::string RecordColumn(std::string_view record) { return Mid(record, 3, 2); }
std::string DisplayName(std::string_view record) {
  return Trim(Mid(record, 6, 10));
}

char RecordFlag(std::string_view record, int column) {
  const std::string flag = Mid(record, column, 1);
  return flag.empty() ? ' ' : flag[0];
}

char FaceMode(std::string_view record) { return RecordFlag(record, 17); }
std::string GridSizeText(std::string_view record) { return Mid(record, 19, 5); }

std::optional<int> ChartType(std::string_view record) {
  const char type = RecordFlag(record, 18);
  if (type == ' ') return 0;
  if (type < '0' || type > '7') return std::nullopt;
  return type - '0';
}

std::optional<GridSize> ParseGridSizeText(std::string_view grid_size_text) {
  const auto rows = ParseInteger(Mid(grid_size_text, 1, 2));
  const auto columns = ParseInteger(Mid(grid_size_text, 4, 2));
  if (!rows || !columns || *rows < 1 || *columns < 1) return std::nullopt;
  return GridSize{*rows, *columns};
}

std::string FormatGridSizeText(GridSize size) {
  auto two = [](int n) {
    std::string text = std::to_string(n);
    return text.size() < 2 ? std::string(2 - text.size(), ' ') + text : text;
  };
  return two(size.rows) + " " + two(size.columns);
}

std::optional<int> DelayTime(std::string_view record) {
  const auto delay = ParseInteger(Mid(record, 29, 5));
  if (!delay || *delay < 1) return std::nullopt;
  return delay;
}

std::optional<int> TwoDigitField(std::string_view record, int column) {
  return ParseInteger(Mid(record, column, 2));
}

std::string LockName(std::string_view record, std::string_view mode_word) {
  const std::string columns = Trim(Mid(record, 56, 10));
  if (columns != "<Profile>" && columns != "RfcOrbs") return columns;
  std::string source = SplitTail(record).source;
  if (mode_word == "HttpOrb") {
    const size_t point = source.find('.');
    if (point != std::string::npos) source.resize(point);
  }
  return source;
}

std::string LogTarget(std::string_view record, std::string_view mode_word) {
  const RecordTail tail = SplitTail(record);
  if (mode_word == "RfcOrb") return Trim(tail.program);
  // Without "id=" the position is 0, so the field is taken from column 3.
  const int at = Pos("id=", tail.address);
  return Trim("ID=" + Mid(tail.address, at + 3));
}

std::string WithColumns(std::string_view record, int from,
                        std::string_view text) {
  std::string result(record);
  const size_t start = static_cast<size_t>(from) - 1;
  if (result.size() < start + text.size()) {
    result.resize(start + text.size(), ' ');
  }
  result.replace(start, text.size(), text);
  return result;
}

}  // namespace vigil
