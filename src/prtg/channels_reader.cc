#include "prtg/channels_reader.h"

#include "prtg/prtg_answer.h"
#include "store/text.h"

namespace vigil {
namespace {

// Units as PRTG names them in custom sensors.
std::string ShownUnit(const std::string& unit) {
  if (unit == "TimeResponse") return "mSec";
  if (unit == "PerCent") return "%";
  return unit;
}

// 12.34 or 1,234: the English way of writing numbers.
bool LooksEnglish(const std::string& number) {
  const size_t n = number.size();
  return (n > 3 && number[n - 3] == '.') || (n > 4 && number[n - 4] == ',');
}

ItemRow ChannelRow(int number, const std::string& name,
                   const std::string& value_line, char& number_format) {
  const std::string last_value =
      TagText(value_line, "<lastvalue>", "</lastvalue>");
  // The number before the first blank, the unit after it; a value without
  // a blank is all unit.
  const std::string number_text = BeforeFirst(last_value, ' ');
  const std::string unit = ShownUnit(AfterFirst(last_value, ' '));
  if (LooksEnglish(number_text)) number_format = 'E';
  ItemRow row;
  row.label = ChannelCaption(number);
  row.item = CapitalizeName(name);
  row.data = IsBlank(number_text) ? "0" : number_text;
  row.unit = IsBlank(unit) ? "#" : unit;
  row.color = last_value;
  row.image_index = kImagePrtgChannel;
  return row;
}

// Trimmed lines, each cut before every channel name but its first, so that
// an answer that writes several channels on one line reads like one that
// writes each name on a line of its own.
std::vector<std::string> OneChannelNamePerLine(
    const std::vector<std::string>& lines) {
  std::vector<std::string> pieces;
  for (const std::string& raw : lines) {
    std::string line = Trim(raw);
    size_t cut = 0;
    for (size_t at = line.find("<name", 1); at != std::string::npos;
         at = line.find("<name", at + 1)) {
      const std::string_view tag = std::string_view(line).substr(at);
      if (!tag.starts_with("<name>") && !tag.starts_with("<name_raw>")) {
        continue;
      }
      if (at > cut) pieces.push_back(line.substr(cut, at - cut));
      cut = at;
    }
    pieces.push_back(line.substr(cut));
  }
  return pieces;
}

}  // namespace

ChannelsAnswer ReadChannelsAnswer(const std::vector<std::string>& lines) {
  const std::vector<std::string> pieces = OneChannelNamePerLine(lines);
  ChannelsAnswer answer;
  int number = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const std::string& line = pieces[i];
    // The last value follows on the next line, or on the name's own line;
    // none after the last line.
    const std::string& value_line =
        Pos("<lastvalue>", line) > 0 || i + 1 >= pieces.size() ? line
                                                               : pieces[i + 1];
    if (Pos("<name>", line) > 0 && Pos("<name>&", line) == 0) {
      answer.rows.push_back(ChannelRow(++number,
                                       TagText(line, "<name>", "</name>"),
                                       value_line, answer.number_format));
    }
    if (Pos("<name_raw>", line) > 0) {
      answer.rows.push_back(
          ChannelRow(++number, TagText(line, "<name_raw>", "</name_raw>"),
                     value_line, answer.number_format));
    }
  }
  return answer;
}

std::string ChannelCaption(int number) {
  return "Channel " + TwoDigits(number) + ":";
}

void ApplyChannelColours(std::vector<ItemRow>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    rows[i].color = std::string(ChannelColourName(i));
  }
}

}  // namespace vigil
