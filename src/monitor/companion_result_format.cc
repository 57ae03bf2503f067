#include "monitor/companion_result_format.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "store/text.h"

namespace vigil {
namespace {

// Where the reader looks for them: each line begins with one of these.
constexpr std::array<std::string_view, 9> kLineStarts = {
    "<Prtg>",       "</Prtg>",      "<Result>", "</Result>", "<Value>",
    "<CustomUnit>", "<VolumeSize>", "<Float>",  "<Unit>"};
// The elements it knows, each also as an end tag.
constexpr std::array<std::string_view, 10> kTags = {
    "Prtg",       "Result",     "Channel", "Value", "Unit",
    "CustomUnit", "VolumeSize", "Float",   "Text",  "?xml"};
constexpr std::array<std::string_view, 3> kUnitWords = {
    "PerCent</Unit>", "TimeResponse</Unit>", "Custom</Unit>"};
// What the reader would pass over or keep undecoded.
constexpr std::array<std::string_view, 8> kForeignMarks = {
    "&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&#", "<!--", "<![CDATA["};

bool StartsWithAny(std::string_view line, auto const& starts) {
  return std::any_of(starts.begin(), starts.end(), [line](std::string_view s) {
    return line.starts_with(s);
  });
}

bool ContainsAny(std::string_view line, auto const& marks) {
  return std::any_of(marks.begin(), marks.end(), [line](std::string_view m) {
    return line.find(m) != std::string_view::npos;
  });
}

// "HttpOrb0102": the writer's text, a mode word and an orb number.
bool IsOrbStem(std::string_view text) {
  const size_t orb = text.find("Orb");
  if (orb == std::string_view::npos || text.size() != orb + 7) return false;
  return std::all_of(text.begin() + orb + 3, text.end(),
                     [](char c) { return std::isdigit(c) != 0; });
}

// The companion's texts: a code in parentheses, a source in parentheses
// after the message, a failure, or the writer's orb stem.
bool IsCompanionText(std::string_view line) {
  const std::string_view text = line.substr(6, line.find('<', 6) - 6);
  return text.starts_with("(") || text.find(" (") != std::string_view::npos ||
         text.starts_with("Sorry, ") || text.starts_with("Error ") ||
         IsOrbStem(text);
}

// Every tag in the line is one the reader knows, and every unit word.
bool HasOnlyKnownTags(std::string_view line) {
  for (size_t at = line.find('<'); at != std::string_view::npos;
       at = line.find('<', at + 1)) {
    std::string_view tag = line.substr(at + 1);
    if (tag.starts_with("/")) tag.remove_prefix(1);
    tag = tag.substr(0, tag.find_first_of("> "));
    if (std::find(kTags.begin(), kTags.end(), tag) == kTags.end()) return false;
    if (line.substr(at).starts_with("<Unit>") &&
        !StartsWithAny(line.substr(at + 6), kUnitWords)) {
      return false;
    }
  }
  return true;
}

bool IsCompanionLine(std::string_view line) {
  if (line.empty() || line.starts_with("* ")) return true;
  if (ContainsAny(line, kForeignMarks)) return false;
  if (line.starts_with("<?xml")) return true;
  if (line.starts_with("<Text>")) return IsCompanionText(line);
  if (line.find("<Channel>") != std::string_view::npos &&
      !line.starts_with("<Result>")) {
    return false;
  }
  return StartsWithAny(line, kLineStarts) && HasOnlyKnownTags(line);
}

class Companion final : public ResultFormat {
 public:
  std::string_view name() const override { return "companion"; }
  bool Recognises(const std::vector<std::string>& lines) const override {
    return IsCompanionShaped(lines);
  }
  ResultCheck Check(const std::vector<std::string>& lines) const override {
    return CheckResult(lines);
  }
  ResultReading Read(const std::vector<std::string>& lines,
                     const ResultReaderSettings& settings, ItemTable& items,
                     StringList& work) const override {
    return ReadResult(lines, settings, items, work);
  }
};

}  // namespace

// The blank and declaration lines before "<Prtg>" are companion lines too.
bool IsCompanionShaped(const std::vector<std::string>& lines) {
  return OpensAsCompanion(lines) &&
         std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
           return IsCompanionLine(TrimmedView(line));
         });
}

bool OpensAsCompanion(const std::vector<std::string>& lines) {
  for (const std::string& raw : lines) {
    const std::string_view line = TrimmedView(raw);
    if (line.empty() || line.starts_with("<?xml")) continue;
    return line == "<Prtg>";
  }
  return false;
}

const ResultFormat& CompanionResultFormat() {
  static const Companion format;
  return format;
}

}  // namespace vigil
