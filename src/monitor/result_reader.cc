#include "monitor/result_reader.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "store/config_record.h"
#include "store/processing_states.h"
#include "store/text.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

constexpr std::array<std::string_view, 5> kRecordTags = {
    "<Result>", "<Value>", "<Unit>", "<CustomUnit>", "<VolumeSize>"};
constexpr std::string_view kTextTag = "<Text>";
constexpr std::string_view kResultEnd = "</Result>";
constexpr std::string_view kChannelTag = "<Channel>";
constexpr std::string_view kValueTag = "<Value>";
// Marks a complete record at the front of the record buffer.
constexpr char kComplete = '!';
// How far after the first " (" of a text a second one still cuts it.
constexpr size_t kTextCutReach = 99;

bool Contains(std::string_view text, std::string_view needle) {
  return text.find(needle) != std::string_view::npos;
}

bool StartsWithRecordTag(std::string_view line) {
  return std::any_of(
      kRecordTags.begin(), kRecordTags.end(),
      [line](std::string_view tag) { return line.starts_with(tag); });
}

// Removes the first tag and `extra` characters after it; false without it.
bool EraseFirst(std::string& text, std::string_view tag, size_t extra = 0) {
  const size_t at = text.find(tag);
  if (at == std::string::npos) return false;
  text.erase(at, tag.size() + extra);
  return true;
}

// The text after the first tag up to the next "<" (or the end).
std::optional<std::string> TextAfter(std::string_view text,
                                     std::string_view tag) {
  const size_t at = text.find(tag);
  if (at == std::string_view::npos) return std::nullopt;
  const size_t from = at + tag.size();
  const size_t end = text.find('<', from);
  return std::string(text.substr(from, end == std::string_view::npos
                                           ? std::string_view::npos
                                           : end - from));
}

// "%12.3f" then trimmed, without the locale that the toolkit may have set.
std::string ThreeDecimals(double number) {
  std::array<char, 400> digits;  // enough for any finite double
  const auto [end, error] =
      std::to_chars(digits.data(), digits.data() + digits.size(), number,
                    std::chars_format::fixed, 3);
  if (error != std::errc()) return {};
  return std::string(digits.data(), end);
}

struct ValueText {
  std::string text;
  bool readable = true;
  std::optional<double> number;  // as read, before the display rounds it
};

// With every "," gone the "E" reading is a plain decimal reading.
ValueText FormatValue(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  if (text == "No") text = "0";
  const std::optional<double> number = ParseValue(text, kNumberFormatE);
  if (!number) return {std::move(text), false, std::nullopt};
  return {ShownValue(std::move(text), *number), true, number};
}

// The text after "<Text>" up to the next "<".
std::string TextRecordOf(const std::string& line) {
  const std::string rest = Mid(line, 7);
  return rest.substr(0, rest.find('<'));
}

// A text record keeps its message: the text before the second " (" when
// it follows close behind the first, else before the first.
void CutTextRecord(std::string& buffer) {
  if (Contains(buffer, ") ")) EraseFirst(buffer, kTextTag);
  const size_t first = buffer.find(" (");
  if (first == std::string::npos) {
    buffer.clear();
    return;
  }
  const size_t reach_from = first + 2;
  const size_t second = buffer.find(" (", reach_from);
  const bool close_behind =
      second != std::string::npos && second + 2 <= reach_from + kTextCutReach;
  buffer.resize(close_behind ? second : first);
}

std::string ReadUnit(std::string& buffer) {
  std::string unit = "#";
  // The PerCent tag takes the two characters after it along, so a custom
  // unit that follows it directly is not seen.
  if (EraseFirst(buffer, "<Unit>PerCent</Unit>", 2)) unit = "%";
  if (EraseFirst(buffer, "<Unit>TimeResponse</Unit>")) unit = "mSec";
  if (EraseFirst(buffer, "<CustomUnit>PerCent</CustomUnit>")) unit = "%";
  if (EraseFirst(buffer, "<CustomUnit>TimeResponse</CustomUnit>")) {
    unit = "mSec";
  }
  EraseFirst(buffer, "<Unit>Custom</Unit>");
  if (auto custom = TextAfter(buffer, "<CustomUnit>")) unit = *custom;
  if (auto size = TextAfter(buffer, "<VolumeSize>")) unit = *size;
  EraseFirst(buffer, "</CustomUnit>");
  return unit;
}

// A negative context-switch count is a counter that wrapped; it shows as 0.
// The name stands after a three-character prefix such as "01 " or "2: ".
bool IsContextCounter(std::string_view item) {
  const std::string_view from_fourth =
      item.substr(std::min<size_t>(3, item.size()));
  return from_fourth.starts_with("Context Switches") ||
         from_fourth.starts_with("Context(s) ");
}

void AddFillerRows(const ResultReaderSettings& settings, ItemTable& items) {
  const std::string& indices = settings.chart_bar_indices;
  if (Mid(indices, 1, 2) == "xx") return;
  std::optional<int> largest;
  for (int slot = 0; slot < 4; ++slot) {
    const std::string field = Mid(indices, 1 + 2 * slot, 2);
    if (field == "xx") continue;
    const std::optional<int> index = ParseInteger(field);
    if (index && (!largest || *index > *largest)) largest = index;
  }
  // Two digits bound the padding to 100 rows.
  if (!largest || *largest < 0) return;
  while (items.size() <= static_cast<size_t>(*largest)) {
    items.Append(FillerRow());
  }
}

void ApplyStates(ItemTable& items) {
  for (ItemRow& row : items.rows()) {
    if (row.unit == kStateUnit && row.data.size() == 1 && row.data[0] >= '0' &&
        row.data[0] <= '3') {
      row.image_index = kStateImages[row.data[0] - '0'].unit_state;
    }
    for (size_t digit = 0; digit < kStarStatePrefixes.size(); ++digit) {
      if (row.item.starts_with(kStarStatePrefixes[digit])) {
        row.image_index = kStateImages[digit].star_prefix;
      }
    }
    if (Pos(Mid(row.item, 1, 5), "0: * 1: * 2: * 3: * ") > 0) {
      row.item.erase(0, 3);
    }
    for (size_t digit = 0; digit < kStatePrefixes.size(); ++digit) {
      if (row.item.starts_with(kStatePrefixes[digit])) {
        row.image_index = kStateImages[digit].prefix;
      }
    }
    if (Pos(Mid(row.item, 1, 3), "0: 1: 2: 3: ") > 0) row.item.erase(0, 3);
    if (const auto digit = StateDigitForImage(row.image_index)) {
      row.color.assign(1, *digit);
    }
  }
}

void ApplyChannelColours(ItemTable& items) {
  if (items.empty() || Pos(items[0].color, "0 1 2 3") > 0) return;
  for (size_t i = 0; i < items.size(); ++i) {
    items[i].color = std::string(ChannelColourName(i));
  }
}

class Reader {
 public:
  Reader(const ResultReaderSettings& settings, ItemTable& items,
         StringList& work)
      : settings_(settings), items_(items), work_(work) {}

  void ReadLine(std::string_view raw_line) {
    const std::string line = Trim(raw_line);
    bool text_record = false;
    if (line.starts_with(kTextTag)) {
      // A text line drops an unfinished item record.
      buffer_.assign(1, kComplete);
      buffer_ += line;
      text_record = true;
    }
    if (StartsWithRecordTag(line)) buffer_ += line;
    if (Contains(line, kResultEnd)) buffer_.insert(0, 1, kComplete);
    if (!buffer_.empty() && buffer_.front() == kComplete) {
      ProcessRecord(text_record);
      buffer_.clear();
    }
    if (!sap_companion_ && Contains(line, "(SAP Quillon)")) {
      sap_companion_ = true;
    }
  }

  ResultReading Finish() {
    CompleteRows(settings_, items_);
    items_.set_font_colour(sap_companion_ ? kMaroon : kBlack);
    ResultReading reading;
    reading.message_line = MessageLine();
    reading.problems = std::move(problems_);
    if (!items_.empty()) reading.chart_unit = items_[0].unit;
    return reading;
  }

 private:
  // The steps work on the joined record text in this order; what they
  // remove is not seen by the later ones.
  void ProcessRecord(bool text_record) {
    std::string& buffer = buffer_;
    if (Contains(buffer, kTextTag)) CutTextRecord(buffer);

    ValueText value;
    if (auto raw = TextAfter(buffer, kValueTag)) value = FormatValue(*raw);
    // Without a value the first six characters go: for a text record the
    // marker and the rest of the text tag.
    if (!EraseFirst(buffer, kValueTag)) buffer.erase(0, 6);
    EraseFirst(buffer, "</Value>");
    EraseFirst(buffer, "<Result>");
    EraseFirst(buffer, kResultEnd);

    std::string label;
    std::string name;
    const size_t channel = buffer.find(kChannelTag);
    if (channel != std::string::npos) {
      const std::string number = TwoDigits(channel_counter_);
      label = number + ":";
      name = TextAfter(buffer, kChannelTag).value_or("");
      buffer.replace(channel, kChannelTag.size(),
                     "PRTG-Channel " + number + " --> ");
      ++channel_counter_;
    }
    const size_t channel_end = buffer.find("</Channel>");
    if (channel_end != std::string::npos) buffer.replace(channel_end, 10, " ");

    const std::string unit = ReadUnit(buffer);

    if (text_record) {
      work_.Append(" " + Mid(buffer, 2));
      return;
    }
    ItemRow row;
    row.image_index = settings_.row_image;
    if (name.starts_with("* ")) row.image_index = kImageStarItem;
    if (!value.readable) {
      row.image_index = kImageUnreadable;
      problems_.push_back("value '" + value.text + "' of " +
                          (name.empty() ? "a result" : name) +
                          " is not a number");
    }
    row.label = std::move(label);
    row.item = CapitalizeName(name);
    if (IsContextCounter(row.item) && value.text.starts_with("-")) {
      value.text = "0";
      value.number = 0;
    }
    row.data = std::move(value.text);
    row.value = value.number;
    row.unit = value.readable ? CapitalizeName(unit) : "Error";
    row.color = ".";
    items_.Append(std::move(row));
  }

  std::string MessageLine() const {
    if (work_.empty()) return {};
    std::string line = work_.lines().back();
    constexpr std::string_view kUserSensor = " User-Sensor: ";
    if (line.starts_with(kUserSensor)) {
      const size_t after = line.find(": ") + 2;
      line = line.substr(0, after) + CapitalizeName(Mid(line, int(after) + 1));
    }
    return line;
  }

  const ResultReaderSettings& settings_;
  ItemTable& items_;
  StringList& work_;
  std::string buffer_;
  int channel_counter_ = 1;
  bool sap_companion_ = false;
  std::vector<std::string> problems_;
};

}  // namespace

// The point is a thousands separator on the display: values above 1000
// are shown in thousands with the fraction rounded away.
std::string ShownValue(std::string text, double number) {
  if (number > 1000) text = ThreeDecimals(number / 1000);
  if (text.size() > 7) text.insert(text.size() - 7, 1, '.');
  for (int pass = 0; pass < 2; ++pass) {
    if (text.size() > 1 && text.front() == '0') text.erase(0, 1);
  }
  return text;
}

ResultCheck CheckResult(const std::vector<std::string>& lines) {
  ResultCheck check;
  for (const std::string& line : lines) {
    if (IsProcessingLine(line)) check.has_processing_lines = true;
    if (line.starts_with("<Text>")) {
      check.first_text_line = " " + TextRecordOf(line);
      check.error_text.clear();
    }
    if (line.starts_with("<Text>Sorry, ") || line.starts_with("<Text>Error ")) {
      check.error_text = TextRecordOf(line);
    }
    if (line.starts_with("</Prtg>")) check.complete = true;
  }
  return check;
}

void CompleteRows(const ResultReaderSettings& settings, ItemTable& items) {
  AddFillerRows(settings, items);
  ApplyStates(items);
  ApplyChannelColours(items);
}

ResultReaderSettings ResultReaderSettingsFor(const ConfigRecord& record) {
  ResultReaderSettings settings;
  settings.row_image = record.row_image_index().value_or(0);
  settings.chart_bar_indices = record.chart_bars_text();
  return settings;
}

ResultReading ReadResult(const std::vector<std::string>& result_lines,
                         const ResultReaderSettings& settings, ItemTable& items,
                         StringList& work) {
  items.Clear();
  work.Clear();
  Reader reader(settings, items, work);
  for (const std::string& line : result_lines) reader.ReadLine(line);
  return reader.Finish();
}

ResultReading ReadResultText(std::string_view result_text,
                             const ResultReaderSettings& settings,
                             ItemTable& items, StringList& work) {
  items.Clear();
  work.Clear();
  Reader reader(settings, items, work);
  size_t start = 0;
  while (start < result_text.size()) {
    size_t end = result_text.find('\n', start);
    if (end == std::string_view::npos) end = result_text.size();
    reader.ReadLine(result_text.substr(start, end - start));
    start = end + 1;
  }
  return reader.Finish();
}

}  // namespace vigil
