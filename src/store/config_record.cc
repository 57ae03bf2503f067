#include "store/config_record.h"

#include <algorithm>

#include "store/text.h"

namespace vigil {
namespace {

constexpr int kTailColumn = 78;

// Right-aligned in width characters, blank-padded; the last digits when
// the number is too wide.
std::string RightAligned(int number, size_t width, char pad) {
  std::string text = std::to_string(std::max(number, 0));
  if (text.size() >= width) return text.substr(text.size() - width);
  return std::string(width - text.size(), pad) + text;
}

char Digit(int number) { return static_cast<char>('0' + number % 10); }

}  // namespace

std::optional<GridSize> ParseGridSizeText(std::string_view grid_size_text) {
  const auto rows = ParseInteger(Mid(grid_size_text, 1, 2));
  const auto columns = ParseInteger(Mid(grid_size_text, 4, 2));
  if (!rows || !columns || *rows < 1 || *columns < 1) return std::nullopt;
  return GridSize{*rows, *columns};
}

std::string FormatGridSizeText(GridSize size) {
  return RightAligned(size.rows, 2, ' ') + " " +
         RightAligned(size.columns, 2, ' ');
}

std::string ConfigRecord::Columns(int from, int count) const {
  return Mid(text_, from, count);
}

char ConfigRecord::Flag(int column) const {
  const std::string flag = Columns(column, 1);
  return flag.empty() ? ' ' : flag[0];
}

void ConfigRecord::SetColumns(int from, std::string_view text) {
  const size_t start = static_cast<size_t>(from) - 1;
  if (text_.size() < start + text.size()) {
    text_.resize(start + text.size(), ' ');
  }
  text_.replace(start, text.size(), text);
}

void ConfigRecord::SetFlag(int column, bool on, char on_mark, char off_mark) {
  SetColumns(column, std::string(1, on ? on_mark : off_mark));
}

std::string ConfigRecord::number() const { return Columns(1, 4); }
std::string ConfigRecord::row() const { return Columns(1, 2); }
std::string ConfigRecord::column() const { return Columns(3, 2); }
void ConfigRecord::set_number(std::string_view number) {
  SetColumns(1, Mid(number, 1, 4));
}
std::string ConfigRecord::log_key() const { return Columns(1, 5); }

std::string ConfigRecord::display_name() const { return Trim(Columns(6, 10)); }

char ConfigRecord::face_mode() const { return Flag(17); }
void ConfigRecord::set_face_mode(char mode) {
  SetColumns(17, std::string(1, mode));
}

std::optional<int> ConfigRecord::chart_type() const {
  const char type = Flag(18);
  if (type == ' ') return 0;
  if (type < '0' || type > '7') return std::nullopt;
  return type - '0';
}
void ConfigRecord::set_chart_type(int type) {
  SetColumns(18, std::string(1, Digit(type)));
}

std::string ConfigRecord::grid_size_text() const { return Columns(19, 5); }
void ConfigRecord::set_grid_size_text(std::string_view text) {
  std::string field(Mid(text, 1, 5));
  field.resize(5, ' ');
  SetColumns(19, field);
}

char ConfigRecord::chart_mode() const { return Flag(25); }
bool ConfigRecord::history_mode() const { return chart_mode() == 'x'; }

std::optional<int> ConfigRecord::bar_limit() const {
  return ParseInteger(Columns(26, 2));
}
void ConfigRecord::set_bar_limit(int bars) {
  SetColumns(26, RightAligned(bars, 2, '0'));
}

std::string ConfigRecord::image_number() const {
  return std::string{Flag(28), Flag(77)};
}
void ConfigRecord::set_image_number(std::string_view digits) {
  SetColumns(28, Mid(digits, 1, 1));
  SetColumns(77, Mid(digits, 2, 1));
}

std::string ConfigRecord::delay_text() const { return Columns(29, 5); }
std::optional<int> ConfigRecord::delay_time() const {
  const auto delay = ParseInteger(delay_text());
  if (!delay || *delay < 1) return std::nullopt;
  return delay;
}
void ConfigRecord::set_delay_time(int seconds) {
  SetColumns(29, RightAligned(seconds, 5, ' '));
}

std::string ConfigRecord::gauge_number() const {
  return std::string{Flag(34), Flag(37)};
}
void ConfigRecord::set_gauge_number(std::string_view digits) {
  SetColumns(34, Mid(digits, 1, 1));
  SetColumns(37, Mid(digits, 2, 1));
}

std::optional<int> ConfigRecord::idle_colour_code() const {
  return ParseInteger(Columns(35, 2));
}
std::optional<int> ConfigRecord::row_image_index() const {
  return ParseInteger(Columns(38, 2));
}

bool ConfigRecord::hold() const { return Flag(40) == '!'; }
void ConfigRecord::set_hold(bool on) { SetFlag(40, on, '!', '.'); }

std::array<std::string, kChartBarSlots> ConfigRecord::chart_bars() const {
  return {Columns(41, 2), Columns(43, 2), Columns(45, 2), Columns(47, 2)};
}
std::string ConfigRecord::chart_bars_text() const { return Columns(41, 8); }
std::string ConfigRecord::kept_item() const { return Columns(41, 2); }
std::optional<size_t> ConfigRecord::kept_row() const {
  const std::string field = kept_item();
  if (field == "xx") return 0;
  const std::optional<int> index = ParseInteger(field);
  if (!index || *index < 0) return std::nullopt;
  return static_cast<size_t>(*index);
}
void ConfigRecord::set_chart_bar(int slot, std::string_view index) {
  std::string field(Mid(index, 1, 2));
  field.resize(2, 'x');
  SetColumns(41 + 2 * std::clamp(slot, 0, kChartBarSlots - 1), field);
}

char ConfigRecord::identifier_kind() const { return Flag(49); }

char ConfigRecord::sorting() const { return Flag(50); }
void ConfigRecord::set_sorting(char sorting) {
  SetColumns(50, std::string(1, sorting));
}

bool ConfigRecord::zoom_on_alert() const { return Flag(51) == '!'; }
void ConfigRecord::set_zoom_on_alert(bool on) { SetFlag(51, on, '!', '.'); }

std::optional<int> ConfigRecord::history_bars() const {
  return ParseInteger(Columns(52, 3));
}
void ConfigRecord::set_history_bars(int bars) {
  SetColumns(52, RightAligned(bars, 3, '0'));
}

bool ConfigRecord::keep_data() const { return Flag(55) == '!'; }
void ConfigRecord::set_keep_data(bool on) { SetFlag(55, on, '!', '.'); }

std::string ConfigRecord::lock_name_field() const {
  return Trim(Columns(56, 10));
}

std::string ConfigRecord::LockName(std::string_view mode_word) const {
  const std::string field = lock_name_field();
  if (field != "<Profile>" && field != "RfcOrbs") return field;
  std::string source = tail().source;
  if (mode_word == "HttpOrb") {
    const size_t point = source.find('.');
    if (point != std::string::npos) source.resize(point);
  }
  return source;
}

bool ConfigRecord::legend_shown() const { return Flag(67) == 'x'; }
void ConfigRecord::set_legend_shown(bool shown) {
  SetFlag(67, shown, 'x', '.');
}
bool ConfigRecord::title_shown() const { return Flag(68) == 'x'; }
void ConfigRecord::set_title_shown(bool shown) { SetFlag(68, shown, 'x', '.'); }

std::string ConfigRecord::tail_text() const { return Columns(kTailColumn); }

RecordTail ConfigRecord::tail() const {
  const std::string tail = tail_text();
  RecordTail fields;
  fields.source = BeforeFirst(tail, ';');
  const std::string after_source = AfterFirst(tail, ';');
  fields.program = BeforeFirst(after_source, ';');
  fields.address = BeforeFirst(AfterFirst(after_source, ';'), ';');
  const size_t last = tail.rfind(';');
  fields.title = Mid(tail, last == std::string::npos ? 1 : int(last) + 2, 99);
  return fields;
}

bool ConfigRecord::global_source() const {
  return Columns(kTailColumn, 7) == "Global;";
}

void ConfigRecord::set_title(std::string_view title) {
  const std::string tail = tail_text();
  const size_t last = tail.rfind(';');
  const size_t keep = last == std::string::npos ? 0 : last + 1;
  if (text_.size() < kTailColumn - 1) text_.resize(kTailColumn - 1, ' ');
  text_.resize(kTailColumn - 1 + keep);
  text_ += title;
}

std::string ConfigRecord::LogTarget(std::string_view mode_word) const {
  const RecordTail fields = tail();
  if (mode_word == "RfcOrb") return Trim(fields.program);
  // Without "id=" the position is 0, so the field is taken from column 3.
  const int at = Pos("id=", fields.address);
  return Trim("ID=" + Mid(fields.address, at + 3));
}

}  // namespace vigil
