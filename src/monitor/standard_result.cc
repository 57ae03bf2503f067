#include "monitor/standard_result.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "monitor/prtg_units.h"
#include "store/processing_states.h"
#include "store/text.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

constexpr std::array<std::string_view, 20> kChannelElementNames = {
    "channel",       "value",
    "unit",          "customunit",
    "volumesize",    "speedsize",
    "speedtime",     "float",
    "decimalmode",   "mode",
    "warning",       "showchart",
    "showtable",     "limitmode",
    "limitmaxerror", "limitmaxwarning",
    "limitminerror", "limitminwarning",
    "limiterrormsg", "limitwarningmsg"};
// In the order of ChannelElement, one name each.
static_assert(kChannelElementNames.size() ==
              static_cast<size_t>(ChannelElement::kLimitWarningMsg) + 1);

// Commas read as decimal points: scripts written for a German desktop
// print them.
std::optional<double> NumberOf(std::string_view written) {
  if (written.empty()) return std::nullopt;
  std::string text(written);
  std::replace(text.begin(), text.end(), ',', '.');
  return ParseValue(text, kNumberFormatE);
}

// Fixed with the decimals asked for, trailing zeros dropped.
std::string NumberText(double number, int decimals) {
  std::array<char, 400> digits;
  const auto [end, error] =
      std::to_chars(digits.data(), digits.data() + digits.size(), number,
                    std::chars_format::fixed, decimals);
  if (error != std::errc()) return "0";
  std::string text(digits.data(), end);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

// The listing's Data column holds seven characters.
constexpr int kShownWidth = 7;

// "decimalmode" All, a float's default, shows the places that fit; Auto,
// an integer's default, two (three below 1); a count of places is taken
// too. Never more than the column holds beside the whole digits.
int DecimalsFor(const StandardChannel& channel, double shown) {
  const std::string mode = ToLower(channel.Get(ChannelElement::kDecimalMode));
  const bool all =
      mode == "all" ||
      (mode.empty() && IsSetFlag(channel.Get(ChannelElement::kFloat)));
  int places = all ? kShownWidth : std::fabs(shown) >= 1 ? 2 : 3;
  if (const auto count = ParseInteger(mode)) places = *count;
  const int whole_digits =
      static_cast<int>(NumberText(std::trunc(std::fabs(shown)), 0).size()) +
      (shown < 0 ? 1 : 0);
  return std::clamp(places, 0, std::max(0, kShownWidth - whole_digits - 1));
}

std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; },
      ' ');
  return Trim(text);
}

std::string ErrorText(const StandardResult& result) {
  const std::string text = OneLine(result.text.value_or(""));
  return text.empty() ? "Error reported by the sensor" : text;
}

SensorLimits LimitsOf(const StandardChannel& channel) {
  SensorLimits limits;
  limits.warning = IsSetFlag(channel.Get(ChannelElement::kWarning));
  if (!IsSetFlag(channel.Get(ChannelElement::kLimitMode))) return limits;
  limits.max_error = NumberOf(channel.Get(ChannelElement::kLimitMaxError));
  limits.max_warning = NumberOf(channel.Get(ChannelElement::kLimitMaxWarning));
  limits.min_error = NumberOf(channel.Get(ChannelElement::kLimitMinError));
  limits.min_warning = NumberOf(channel.Get(ChannelElement::kLimitMinWarning));
  return limits;
}

class RowMaker {
 public:
  RowMaker(const ResultReaderSettings& settings, ResultReading& reading)
      : settings_(settings), reading_(reading) {}

  ItemRow Make(const StandardChannel& channel, size_t ordinal) {
    ItemRow row;
    const std::string_view name = channel.Get(ChannelElement::kChannel);
    // How a problem names the channel.
    const auto called = [&] {
      return name.empty() ? "result " + std::to_string(ordinal)
                          : std::string(name);
    };
    if (name.empty()) {
      Problem("no channel name on " + called());
    } else {
      row.label = TwoDigits(counter_++) + ":";
      NoteName(name, ordinal);
    }
    row.item = name;
    row.image_index =
        name.starts_with("* ") ? kImageStarItem : settings_.row_image;
    row.color = ".";
    row.limits = LimitsOf(channel);
    const std::string raw(channel.Get(ChannelElement::kValue));
    const std::optional<double> number = NumberOf(raw);
    if (!number) {
      Problem(raw.empty()
                  ? "no value on " + called()
                  : "value '" + raw + "' of " + called() + " is not a number");
      row.data = raw;
      row.unit = "Error";
      row.image_index = kImageUnreadable;
      return row;
    }
    if (!IsSetFlag(channel.Get(ChannelElement::kFloat)) &&
        *number != std::trunc(*number)) {
      Problem("value '" + raw + "' of " + called() +
              " has a fraction, but its float element is not 1");
    }
    if (EqualsInAnyCase("difference", channel.Get(ChannelElement::kMode))) {
      Problem(called() +
              " is a counter (mode Difference): it shows the counter's value, "
              "not its change");
    }
    const ShownUnit unit = ShownUnitFor(channel, number);
    const double shown = *number / unit.divisor;
    row.value = number;
    row.data =
        ShownValue(NumberText(shown, DecimalsFor(channel, shown)), shown);
    row.unit = unit.unit;
    return row;
  }

 private:
  void Problem(std::string text) {
    reading_.problems.push_back(std::move(text));
  }

  void NoteName(std::string_view name, size_t ordinal) {
    const auto [seen, fresh] = first_result_of_.emplace(name, ordinal);
    if (!fresh) {
      Problem("duplicate channel name '" + std::string(name) + "' on results " +
              std::to_string(seen->second) + " and " + std::to_string(ordinal));
    }
  }

  const ResultReaderSettings& settings_;
  ResultReading& reading_;
  int counter_ = 1;
  // Views into the result, which outlives the rows' making.
  std::unordered_map<std::string_view, size_t> first_result_of_;
};

}  // namespace

std::optional<ChannelElement> ChannelElementNamed(std::string_view name) {
  for (size_t i = 0; i < kChannelElementNames.size(); ++i) {
    if (EqualsInAnyCase(kChannelElementNames[i], name)) {
      return static_cast<ChannelElement>(i);
    }
  }
  return std::nullopt;
}

std::string_view StandardChannel::Get(ChannelElement element) const {
  for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
    if (it->first == element) return TrimmedView(it->second);
  }
  return {};
}

void AddChannel(StandardResult& result) {
  // A channel, a value, a unit and a few more: one allocation, not four.
  constexpr size_t kUsualElements = 8;
  result.channels.emplace_back().elements.reserve(kUsualElements);
}

std::string JoinedText(const std::vector<std::string>& lines) {
  size_t size = lines.size();
  for (const std::string& line : lines) size += line.size();
  std::string text;
  text.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

namespace {

// True when text is the lines joined, without joining them.
bool IsJoinedText(const std::vector<std::string>& lines,
                  std::string_view text) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != '\n') return false;
      text.remove_prefix(1);
    }
    if (!text.starts_with(lines[i])) return false;
    text.remove_prefix(lines[i].size());
  }
  return text.empty();
}

}  // namespace

const StandardResult& ParseCache::Parsed(
    const std::vector<std::string>& lines) {
  if (!filled_ || !IsJoinedText(lines, text_)) {
    text_ = JoinedText(lines);
    result_ = parser_(text_);
    filled_ = true;
  }
  return result_;
}

ResultCheck StandardFormat::Check(const std::vector<std::string>& lines) const {
  ResultCheck check = CheckStandardResult(cache_.Parsed(lines));
  // The cycle fills the processing log from any result's "* " lines; the
  // menu offers it whenever there are some.
  check.has_processing_lines = HasProcessingLines(lines);
  return check;
}

ResultReading StandardFormat::Read(const std::vector<std::string>& lines,
                                   const ResultReaderSettings& settings,
                                   ItemTable& items, StringList& work) const {
  return ReadStandardResult(cache_.Parsed(lines), settings, items, work);
}

bool IsSetFlag(std::string_view text) {
  const std::string lower = ToLower(Trim(text));
  return lower == "1" || lower == "yes" || lower == "true";
}

ResultCheck CheckStandardResult(const StandardResult& result) {
  ResultCheck check;
  check.complete =
      result.complete && (result.error || !result.channels.empty());
  if (result.text) check.first_text_line = " " + OneLine(*result.text);
  if (result.error) check.error_text = ErrorText(result);
  return check;
}

ResultReading ReadStandardResult(const StandardResult& result,
                                 const ResultReaderSettings& settings,
                                 ItemTable& items, StringList& work) {
  items.Clear();
  work.Clear();
  ResultReading reading;
  if (!result.complete) reading.problems.push_back(result.parse_problem);
  if (result.error) {
    reading.problems.push_back("error report: " + ErrorText(result));
  } else {
    if (result.channels.empty())
      reading.problems.push_back("no result channels");
    RowMaker maker(settings, reading);
    for (size_t i = 0; i < result.channels.size(); ++i) {
      items.Append(maker.Make(result.channels[i], i + 1));
    }
  }
  if (result.text) {
    reading.message_line = " " + OneLine(*result.text);
    work.Append(reading.message_line);
  }
  CompleteRows(settings, items);
  items.set_font_colour(kBlack);
  if (!items.empty()) reading.chart_unit = items[0].unit;
  return reading;
}

}  // namespace vigil
