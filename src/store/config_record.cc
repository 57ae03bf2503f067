#include "store/config_record.h"

#include <algorithm>
#include <vector>

#include "store/orb_mode.h"
#include "store/text.h"

namespace vigil {
namespace {

namespace layout = record_layout;
constexpr int kTailFields = 4;  // source, program, address, title

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

std::string ConfigRecord::Columns(ColumnSpan span) const {
  return Columns(span.from, span.count);
}

void ConfigRecord::SetColumns(ColumnSpan span, std::string_view text) {
  std::string field(Mid(text, 1, span.count));
  field.resize(static_cast<size_t>(span.count), ' ');
  SetColumns(span.from, field);
}

std::string ConfigRecord::number() const { return Columns(layout::kNumber); }
std::string ConfigRecord::row() const { return Columns(layout::kRow); }
std::string ConfigRecord::column() const { return Columns(layout::kColumn); }
void ConfigRecord::set_number(std::string_view number) {
  SetColumns(layout::kNumber.from, Mid(number, 1, layout::kNumber.count));
}
std::string ConfigRecord::log_key() const {
  return Columns(layout::kNumber.from, layout::kNumber.count + 1);
}

std::string ConfigRecord::display_name() const {
  return Trim(Columns(layout::kDisplayName));
}
void ConfigRecord::set_display_name(std::string_view name) {
  SetColumns(layout::kDisplayName, name);
}

char ConfigRecord::face_mode() const { return Flag(layout::kFaceMode.from); }
void ConfigRecord::set_face_mode(char mode) {
  SetColumns(layout::kFaceMode.from, std::string(1, mode));
}

std::optional<int> ConfigRecord::chart_type() const {
  const char type = Flag(layout::kChartType.from);
  if (type == ' ') return 0;
  if (type < '0' || type > '7') return std::nullopt;
  return type - '0';
}
void ConfigRecord::set_chart_type(int type) {
  SetColumns(layout::kChartType.from, std::string(1, Digit(type)));
}

std::string ConfigRecord::grid_size_text() const {
  return Columns(layout::kGridSize);
}
void ConfigRecord::set_grid_size_text(std::string_view text) {
  SetColumns(layout::kGridSize, text);
}

char ConfigRecord::chart_mode() const { return Flag(layout::kChartMode.from); }
bool ConfigRecord::history_mode() const { return chart_mode() == 'x'; }
void ConfigRecord::set_history_mode(bool on) {
  SetFlag(layout::kChartMode.from, on, 'x', '.');
}

std::optional<int> ConfigRecord::bar_limit() const {
  return ParseInteger(Columns(layout::kBarLimit));
}
void ConfigRecord::set_bar_limit(int bars) {
  SetColumns(layout::kBarLimit.from,
             RightAligned(bars, layout::kBarLimit.count, '0'));
}

std::string ConfigRecord::image_number() const {
  return std::string{Flag(layout::kImageTens.from),
                     Flag(layout::kImageUnits.from)};
}
void ConfigRecord::set_image_number(std::string_view digits) {
  SetColumns(layout::kImageTens.from, Mid(digits, 1, 1));
  SetColumns(layout::kImageUnits.from, Mid(digits, 2, 1));
}

std::string ConfigRecord::delay_text() const { return Columns(layout::kDelay); }
std::optional<int> ConfigRecord::delay_time() const {
  const auto delay = ParseInteger(delay_text());
  if (!delay || *delay < 1) return std::nullopt;
  return delay;
}
void ConfigRecord::set_delay_time(int seconds) {
  SetColumns(layout::kDelay.from,
             RightAligned(seconds, layout::kDelay.count, ' '));
}

std::string ConfigRecord::gauge_number() const {
  return std::string{Flag(layout::kGaugeTens.from),
                     Flag(layout::kGaugeUnits.from)};
}
void ConfigRecord::set_gauge_number(std::string_view digits) {
  SetColumns(layout::kGaugeTens.from, Mid(digits, 1, 1));
  SetColumns(layout::kGaugeUnits.from, Mid(digits, 2, 1));
}

std::optional<int> ConfigRecord::idle_colour_code() const {
  return ParseInteger(Columns(layout::kIdleColour));
}
std::optional<int> ConfigRecord::row_image_index() const {
  return ParseInteger(Columns(layout::kRowImage));
}
void ConfigRecord::set_idle_colour_code(int code) {
  SetColumns(layout::kIdleColour.from,
             RightAligned(code, layout::kIdleColour.count, '0'));
}
void ConfigRecord::set_row_image_index(int index) {
  SetColumns(layout::kRowImage.from,
             RightAligned(index, layout::kRowImage.count, '0'));
}

bool ConfigRecord::hold() const { return Flag(layout::kHold.from) == '!'; }
void ConfigRecord::set_hold(bool on) {
  SetFlag(layout::kHold.from, on, '!', '.');
}

std::array<std::string, kChartBarSlots> ConfigRecord::chart_bars() const {
  std::array<std::string, kChartBarSlots> bars;
  for (int slot = 0; slot < kChartBarSlots; ++slot) {
    bars[slot] = Columns(layout::kChartBars.from + 2 * slot, 2);
  }
  return bars;
}
std::string ConfigRecord::chart_bars_text() const {
  return Columns(layout::kChartBars);
}
std::string ConfigRecord::kept_item() const {
  return Columns(layout::kChartBars.from, 2);
}
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
  SetColumns(
      layout::kChartBars.from + 2 * std::clamp(slot, 0, kChartBarSlots - 1),
      field);
}

char ConfigRecord::identifier_kind() const {
  return Flag(layout::kIdentifierKind.from);
}
void ConfigRecord::set_identifier_kind(char kind) {
  SetColumns(layout::kIdentifierKind.from, std::string(1, kind));
}

char ConfigRecord::sorting() const { return Flag(layout::kSorting.from); }
void ConfigRecord::set_sorting(char sorting) {
  SetColumns(layout::kSorting.from, std::string(1, sorting));
}

bool ConfigRecord::zoom_on_alert() const {
  return Flag(layout::kZoom.from) == '!';
}
void ConfigRecord::set_zoom_on_alert(bool on) {
  SetFlag(layout::kZoom.from, on, '!', '.');
}

std::optional<int> ConfigRecord::history_bars() const {
  return ParseInteger(Columns(layout::kHistoryBars));
}
void ConfigRecord::set_history_bars(int bars) {
  SetColumns(layout::kHistoryBars.from,
             RightAligned(bars, layout::kHistoryBars.count, '0'));
}

bool ConfigRecord::keep_data() const {
  return Flag(layout::kKeepData.from) == '!';
}
void ConfigRecord::set_keep_data(bool on) {
  SetFlag(layout::kKeepData.from, on, '!', '.');
}

std::string ConfigRecord::lock_name_field() const {
  return Trim(Columns(layout::kLockName));
}
void ConfigRecord::set_lock_name_field(std::string_view name) {
  SetColumns(layout::kLockName, name);
}

std::string ConfigRecord::LockName(std::string_view mode_word) const {
  const std::string field = lock_name_field();
  if (field != "<Profile>" && field != "RfcOrbs") return field;
  std::string source = tail().source;
  if (OrbModeOf(mode_word).lock_name_without_extension) {
    const size_t point = source.find('.');
    if (point != std::string::npos) source.resize(point);
  }
  return source;
}

bool ConfigRecord::legend_shown() const {
  return Flag(layout::kLegend.from) == 'x';
}
void ConfigRecord::set_legend_shown(bool shown) {
  SetFlag(layout::kLegend.from, shown, 'x', '.');
}
bool ConfigRecord::title_shown() const {
  return Flag(layout::kTitleShown.from) == 'x';
}
void ConfigRecord::set_title_shown(bool shown) {
  SetFlag(layout::kTitleShown.from, shown, 'x', '.');
}

std::string ConfigRecord::tail_text() const { return Columns(layout::kTail); }

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
  return Columns(layout::kTail, 7) == "Global;";
}

void ConfigRecord::set_title(std::string_view title) {
  const std::string tail = tail_text();
  const size_t last = tail.rfind(';');
  const size_t keep = last == std::string::npos ? 0 : last + 1;
  if (text_.size() < layout::kTail - 1) text_.resize(layout::kTail - 1, ' ');
  text_.resize(layout::kTail - 1 + keep);
  text_ += title;
}

void ConfigRecord::SetTailField(int index, std::string_view text) {
  std::vector<std::string> pieces;
  std::string rest = tail_text();
  size_t end = rest.find(';');
  while (end != std::string::npos) {
    pieces.push_back(rest.substr(0, end));
    rest.erase(0, end + 1);
    end = rest.find(';');
  }
  pieces.push_back(rest);
  // The title is the last piece; missing fields go in front of it.
  while (pieces.size() < kTailFields) {
    pieces.insert(pieces.end() - 1, std::string());
  }
  pieces[static_cast<size_t>(index)] = text;
  std::string tail = pieces.front();
  for (size_t i = 1; i < pieces.size(); ++i) tail += ";" + pieces[i];
  if (text_.size() < layout::kTail - 1) text_.resize(layout::kTail - 1, ' ');
  text_.resize(layout::kTail - 1);
  text_ += tail;
}

void ConfigRecord::set_source(std::string_view source) {
  SetTailField(0, source);
}
void ConfigRecord::set_program(std::string_view program) {
  SetTailField(1, program);
}
void ConfigRecord::set_address(std::string_view address) {
  SetTailField(2, address);
}

std::string ConfigRecord::LogTarget(std::string_view mode_word) const {
  const RecordTail fields = tail();
  if (OrbModeOf(mode_word).log_target_is_program) return Trim(fields.program);
  // Without "id=" the position is 0, so the field is taken from column 3.
  const int at = Pos("id=", fields.address);
  return Trim("ID=" + Mid(fields.address, at + 3));
}

}  // namespace vigil
