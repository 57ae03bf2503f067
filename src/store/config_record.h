// An orb's fixed-column configuration record: the one place that knows
// which column holds what. Every other file asks it by name.
#ifndef VIGIL_STORE_CONFIG_RECORD_H_
#define VIGIL_STORE_CONFIG_RECORD_H_

#include <array>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vigil {

// The ";"-separated tail from column 78.
struct RecordTail {
  std::string source;
  std::string program;
  std::string address;
  std::string title;  // after the last ";", at most 99 characters
};

// Grid size of columns 19-23 in cells.
struct GridSize {
  int rows = 1;
  int columns = 1;
};
// nullopt unless both are numbers >= 1.
std::optional<GridSize> ParseGridSizeText(std::string_view grid_size_text);
std::string FormatGridSizeText(GridSize size);

inline constexpr int kChartBarSlots = 4;

// Columns from..from+count-1 of a fixed-column line.
struct ColumnSpan {
  int from = 1;
  int count = 1;
  constexpr int last() const { return from + count - 1; }
};

// Where each field of the record lies. The accessors read these, and so do
// messages that point into a record.
namespace record_layout {
inline constexpr ColumnSpan kNumber{1, 4};
inline constexpr ColumnSpan kRow{1, 2};
inline constexpr ColumnSpan kColumn{3, 2};
inline constexpr ColumnSpan kDisplayName{6, 10};
inline constexpr ColumnSpan kFaceMode{17, 1};
inline constexpr ColumnSpan kChartType{18, 1};
// Height in the first two columns, width in the last two.
inline constexpr ColumnSpan kGridSize{19, 5};
inline constexpr ColumnSpan kChartMode{25, 1};
inline constexpr ColumnSpan kBarLimit{26, 2};
inline constexpr ColumnSpan kImageTens{28, 1};
inline constexpr ColumnSpan kDelay{29, 5};
inline constexpr ColumnSpan kGaugeTens{34, 1};
inline constexpr ColumnSpan kIdleColour{35, 2};
inline constexpr ColumnSpan kGaugeUnits{37, 1};
inline constexpr ColumnSpan kRowImage{38, 2};
inline constexpr ColumnSpan kHold{40, 1};
inline constexpr ColumnSpan kChartBars{41, 2 * kChartBarSlots};
inline constexpr ColumnSpan kIdentifierKind{49, 1};
inline constexpr ColumnSpan kSorting{50, 1};
inline constexpr ColumnSpan kZoom{51, 1};
inline constexpr ColumnSpan kHistoryBars{52, 3};
inline constexpr ColumnSpan kKeepData{55, 1};
inline constexpr ColumnSpan kLockName{56, 10};
inline constexpr ColumnSpan kLegend{67, 1};
inline constexpr ColumnSpan kTitleShown{68, 1};
inline constexpr ColumnSpan kImageUnits{77, 1};
inline constexpr int kTail = 78;  // to the end of the line
}  // namespace record_layout

class ConfigRecord final {
 public:
  ConfigRecord() = default;
  // The record is its text: a line of the orbs file converts as it is.
  ConfigRecord(std::string text) : text_(std::move(text)) {}  // NOLINT
  ConfigRecord(const char* text) : text_(text) {}             // NOLINT

  const std::string& text() const { return text_; }
  bool empty() const { return text_.empty(); }
  friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;

  // Columns 1-4: the orb number, row then column.
  std::string number() const;
  std::string row() const;
  std::string column() const;
  void set_number(std::string_view number);
  // Columns 1-5, as every event log line carries them.
  std::string log_key() const;

  std::string display_name() const;              // 6-15, trimmed
  void set_display_name(std::string_view name);  // blank-padded

  // 17: "0" chart, "1" chart unsorted, "2" listing, "3" gauge, "4" image.
  char face_mode() const;
  void set_face_mode(char mode);

  // 18: blank counts as 0; nullopt outside 0-7.
  std::optional<int> chart_type() const;
  void set_chart_type(int type);

  // 19-23, the size in cells (" 1  2").
  std::string grid_size_text() const;
  void set_grid_size_text(std::string_view text);

  // 25: "x" a history chart of the chart-bar items, "." a bar chart
  // whose bars the user may limit and sort.
  char chart_mode() const;
  bool history_mode() const;
  void set_history_mode(bool on);

  // 26-27: bars shown, "00" all; nullopt when no number.
  std::optional<int> bar_limit() const;
  void set_bar_limit(int bars);

  // 28 and 77: tens and units digit of the image number.
  std::string image_number() const;
  void set_image_number(std::string_view digits);  // "07"

  // 29-33, right-aligned; nullopt unless a whole number >= 1.
  std::string delay_text() const;
  std::optional<int> delay_time() const;
  void set_delay_time(int seconds);

  // 34 and 37: tens and units digit of the gauge number.
  std::string gauge_number() const;
  void set_gauge_number(std::string_view digits);  // "07"

  // 35-36: the idle background colour code; 38-39: the image of rows.
  std::optional<int> idle_colour_code() const;
  std::optional<int> row_image_index() const;
  void set_idle_colour_code(int code);  // two digits
  void set_row_image_index(int index);  // two digits

  bool hold() const;  // 40 "!"
  void set_hold(bool on);

  // 41-48: four two-digit item indexes, "xx" none; 41-42 is the kept item.
  std::array<std::string, kChartBarSlots> chart_bars() const;
  std::string chart_bars_text() const;
  std::string kept_item() const;
  // The kept item's row: "xx" is the first row; nullopt for anything that
  // is no number, so that a hand-edited field never names a row.
  std::optional<size_t> kept_row() const;
  void set_chart_bar(int slot, std::string_view index);

  char identifier_kind() const;  // 49
  void set_identifier_kind(char kind);

  char sorting() const;  // 50, "0" to "6"
  void set_sorting(char sorting);

  bool zoom_on_alert() const;  // 51 "!"
  void set_zoom_on_alert(bool on);

  // 52-54; nullopt when no number.
  std::optional<int> history_bars() const;
  void set_history_bars(int bars);

  bool keep_data() const;  // 55 "!"
  void set_keep_data(bool on);

  // 56-65 trimmed, or derived from the tail's source field when they read
  // "<Profile>" or "RfcOrbs"; HttpOrb cuts it before the first ".".
  std::string lock_name_field() const;
  void set_lock_name_field(std::string_view name);  // blank-padded
  std::string LockName(std::string_view mode_word) const;

  bool legend_shown() const;  // 67 "x"
  void set_legend_shown(bool shown);
  bool title_shown() const;  // 68 "x"
  void set_title_shown(bool shown);

  // 78-: source, program, address and title.
  std::string tail_text() const;
  RecordTail tail() const;
  // The source field "Global" means the orb has no source file.
  bool global_source() const;
  // Replaces everything after the tail's last ";".
  void set_title(std::string_view title);
  // Replace one ";"-terminated field of the tail. A tail with fewer than
  // three ";" first gets empty fields before its title, so that what the
  // orb reads from it stays the same.
  void set_source(std::string_view source);
  void set_program(std::string_view program);
  void set_address(std::string_view address);

  // The log target: the program field for RfcOrb, else "ID=" and the text
  // after the first "id=" of the address field.
  std::string LogTarget(std::string_view mode_word) const;

 private:
  std::string Columns(int from, int count = INT_MAX) const;
  char Flag(int column) const;  // blank when short
  // Replaces exactly these columns; a short record is padded to reach them.
  void SetColumns(int from, std::string_view text);
  void SetFlag(int column, bool on, char on_mark, char off_mark);
  std::string Columns(ColumnSpan span) const;
  void SetColumns(ColumnSpan span, std::string_view text);  // blank-padded
  void SetTailField(int index, std::string_view text);

  std::string text_;
};

}  // namespace vigil

#endif  // VIGIL_STORE_CONFIG_RECORD_H_
