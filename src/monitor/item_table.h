// The orb's tables as plain data: the item table (one row per monitored
// item), the processing table and the staging rows of the PRTG client, with
// the image indexes, state prefixes and colour names their rows carry.
#ifndef VIGIL_MONITOR_ITEM_TABLE_H_
#define VIGIL_MONITOR_ITEM_TABLE_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/colour.h"
#include "store/processing_states.h"

namespace vigil {

// A listing column: its title, width in pixels and alignment.
struct TableColumn {
  std::string_view title;
  int width = 0;
  bool right_aligned = false;
};

// View07; the Color column is never visible.
inline constexpr std::array<TableColumn, 5> kItemColumns = {{
    {"~", 18, false},
    {"Item", 52, false},
    {"Data", 40, true},
    {"Unit", 40, false},
    {"Color", 0, false},
}};
// View08.
inline constexpr std::array<TableColumn, 3> kProcessingColumns = {{
    {"~", 64, false},
    {"Item", 34, false},
    {"Unit", 34, false},
}};

// Limits that a sensor declared for its channel (only while its limit
// mode is on), in the unit of its value, and its own warning flag.
struct SensorLimits {
  std::optional<double> max_error;
  std::optional<double> max_warning;
  std::optional<double> min_error;
  std::optional<double> min_warning;
  bool warning = false;
  friend bool operator==(const SensorLimits&, const SensorLimits&) = default;
};

struct ItemRow {
  std::string label;  // "~": "01:", "Channel 01:", "Dummy"
  std::string item;
  std::string data;   // display text of the value
  std::string unit;   // "%", "mSec", "#" (none), "Error", "State", ...
  std::string color;  // ".", a state digit "0".."3" or a colour name
  int image_index = 0;
  // The number the source gave, kept beside its display text so that
  // nothing reads the display back; nullopt when the reader kept none.
  std::optional<double> value;
  SensorLimits limits;
  friend bool operator==(const ItemRow&, const ItemRow&) = default;
};

// The row's number: the one its reader kept, else its Data read with the
// number format (rows of the PRTG client, filler rows).
std::optional<double> ItemNumber(const ItemRow& row, char number_format);

// The listing columns by their index, as sorting and rules address them.
enum class ItemField {
  kLabel = 0,
  kItem = 1,
  kData = 2,
  kUnit = 3,
  kColor = 4
};

const std::string& Field(const ItemRow& row, ItemField field);
std::string& Field(ItemRow& row, ItemField field);

// Rows in reading order until sorted; addressed by 0-based index.
class ItemTable final {
 public:
  void Clear() { rows_.clear(); }
  void Append(ItemRow row) { rows_.push_back(std::move(row)); }
  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }

  // nullptr beyond the last row: indexes come from settings and rules.
  const ItemRow* RowAt(size_t index) const;
  ItemRow* RowAt(size_t index);
  const ItemRow& operator[](size_t index) const { return rows_[index]; }
  ItemRow& operator[](size_t index) { return rows_[index]; }

  const std::vector<ItemRow>& rows() const { return rows_; }
  std::vector<ItemRow>& rows() { return rows_; }

  // The orb colour the rules gave the table; the neutral colour when none.
  Rgb colour() const { return colour_; }
  void set_colour(Rgb colour) { colour_ = colour; }
  // Maroon for results of the SAP companion, black otherwise.
  Rgb font_colour() const { return font_colour_; }
  void set_font_colour(Rgb colour) { font_colour_ = colour; }

 private:
  std::vector<ItemRow> rows_;
  Rgb colour_ = kNeutral;
  Rgb font_colour_ = kBlack;
};

// View09: the PRTG client gathers one row per sensor here.
struct StagingRow {
  std::string label;
  std::string item;
  std::string data;
  std::string unit;
  std::string color;
  std::string profile;
  int image_index = 0;
  friend bool operator==(const StagingRow&, const StagingRow&) = default;
};
using StagingTable = std::vector<StagingRow>;

// Images of the orb's small image list that the readers set.
inline constexpr int kImageUnreadable = 22;  // also filler rows
inline constexpr int kImagePrtgChannel = 29;
inline constexpr int kImageStarItem = 71;  // the name begins with "* "

// Per state digit 0..3: the image for the unit "State", for a prefix such
// as "2: * " and for a prefix such as "2: ".
struct StateImages {
  int unit_state;
  int star_prefix;
  int prefix;
};
inline constexpr std::array<StateImages, 4> kStateImages = {{
    {73, 71, 66},
    {74, 68, 62},
    {75, 69, 63},
    {76, 70, 64},
}};
inline constexpr std::array<std::string_view, 4> kStarStatePrefixes = {
    "0: * ", "1: * ", "2: * ", "3: * "};
inline constexpr std::array<std::string_view, 4> kStatePrefixes = {
    "0: ", "1: ", "2: ", "3: "};
inline constexpr std::string_view kStateUnit = "State";

// The state digit an image stands for; nullopt for any other image.
std::optional<char> StateDigitForImage(int image_index);

// Rows without a state get the channel colours in turn, from row 0.
inline constexpr std::array<std::string_view, 8> kChannelColours = {
    "clLime",  "clYellow", "clAqua", "clFuchsia",
    "clGreen", "clOlive",  "clTeal", "clMaroon"};
std::string_view ChannelColourName(size_t row_index);

// Pads the table so that chart-bar indexes name existing rows.
ItemRow FillerRow();

}  // namespace vigil

#endif  // VIGIL_MONITOR_ITEM_TABLE_H_
