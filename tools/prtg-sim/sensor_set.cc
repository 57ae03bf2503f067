#include "prtg-sim/sensor_set.h"

#include <set>

#include "common/tool_text.h"

namespace vigil::sim {
namespace {

// The rest of the line after its first word, as written.
std::string RestAfterKeyword(const std::string& line) {
  const std::string trimmed = tools::Trim(line);
  const size_t blank = trimmed.find_first_of(" \t");
  return blank == std::string::npos ? std::string()
                                    : tools::Trim(trimmed.substr(blank));
}

std::optional<Channel> ParseChannel(const std::string& text,
                                    std::string& error) {
  const std::vector<std::string> pieces = tools::SplitTrimmed(text, '|');
  if (pieces.size() < 2 || pieces[0].empty()) {
    error = "channel needs NAME | VALUE";
    return std::nullopt;
  }
  if (pieces.size() > 5) {
    error = "channel has more than five fields";
    return std::nullopt;
  }
  Channel channel;
  channel.name = pieces[0];
  const std::string value = tools::ToLower(pieces[1]);
  if (value == "-") {
    channel.kind = ValueKind::kEmpty;
  } else if (value == "none") {
    channel.kind = ValueKind::kAbsent;
  } else if (const std::optional<double> number =
                 tools::ParseDecimal(pieces[1])) {
    channel.value = *number;
  } else {
    error = "channel value \"" + pieces[1] + "\" is not a number, - or none";
    return std::nullopt;
  }
  if (pieces.size() > 2) channel.unit = pieces[2];
  if (pieces.size() > 3 && !pieces[3].empty()) {
    const std::optional<long long> decimals = tools::ParseWhole(pieces[3]);
    if (!decimals || *decimals < 0 || *decimals > 6) {
      error = "channel decimals must be 0 to 6";
      return std::nullopt;
    }
    channel.decimals = static_cast<int>(*decimals);
  }
  if (pieces.size() > 4 && !pieces[4].empty()) {
    const std::optional<double> span = tools::ParseDecimal(pieces[4]);
    if (!span || *span < 0) {
      error = "channel span must be a number of at least 0";
      return std::nullopt;
    }
    channel.span = *span;
  }
  return channel;
}

}  // namespace

std::optional<Locale> ParseLocale(std::string_view word) {
  const std::string lower = tools::ToLower(word);
  if (lower == "en" || lower == "english") return Locale::kEnglish;
  if (lower == "de" || lower == "german") return Locale::kGerman;
  return std::nullopt;
}

std::optional<Fault> ParseFault(const std::vector<std::string>& words) {
  if (words.empty()) return std::nullopt;
  const std::string kind = tools::ToLower(words[0]);
  const auto simple = [&](FaultKind k) -> std::optional<Fault> {
    if (words.size() != 1) return std::nullopt;
    return Fault{k, 0};
  };
  if (kind == "stall") return simple(FaultKind::kStall);
  if (kind == "drop") return simple(FaultKind::kDrop);
  if (kind == "500") return simple(FaultKind::kServerError);
  if (kind == "401") return simple(FaultKind::kUnauthorized);
  if (kind == "half") return simple(FaultKind::kHalf);
  if (kind == "short") return simple(FaultKind::kShort);
  if (kind == "junk") return simple(FaultKind::kJunk);
  if (kind == "trickle") return simple(FaultKind::kTrickle);
  if (kind == "huge") return simple(FaultKind::kHuge);
  if (kind == "delay" && words.size() == 2) {
    const std::optional<long long> seconds = tools::ParseWhole(words[1]);
    if (!seconds || *seconds < 0 || *seconds > 3600) return std::nullopt;
    return Fault{FaultKind::kDelay, static_cast<int>(*seconds)};
  }
  return std::nullopt;
}

SensorSetParse ParseSensorSet(std::string_view text) {
  SensorSet set;
  std::set<long long> ids;
  const std::vector<std::string> lines = tools::SplitLines(text);
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    const std::vector<std::string> words = tools::SplitWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    const auto fail = [&](const std::string& why) {
      return SensorSetParse{std::nullopt,
                            "line " + std::to_string(index + 1) + ": " + why};
    };
    const std::string keyword = tools::ToLower(words[0]);
    const std::string rest = RestAfterKeyword(line);
    Sensor* sensor = set.sensors.empty() ? nullptr : &set.sensors.back();

    if (keyword == "sensor") {
      const std::optional<long long> id =
          words.size() > 1 ? tools::ParseWhole(words[1]) : std::nullopt;
      if (!id || *id < 0) return fail("sensor needs a numeric id");
      if (!ids.insert(*id).second) return fail("sensor id appears twice");
      Sensor added;
      added.id = *id;
      added.name = RestAfterKeyword(rest);
      if (added.name.empty()) added.name = "Sensor " + std::to_string(*id);
      set.sensors.push_back(added);
    } else if (keyword == "locale") {
      const std::optional<Locale> locale =
          words.size() == 2 ? ParseLocale(words[1]) : std::nullopt;
      if (!locale) return fail("locale must be en or de");
      (sensor ? sensor->locale : set.locale) = locale;
    } else if (keyword == "credentials") {
      if (sensor) return fail("credentials belong before the first sensor");
      if (words.size() < 3 || words.size() > 4) {
        return fail("credentials need USER PASSWORD [PASSHASH]");
      }
      set.credentials = {words[1], words[2], words.size() > 3 ? words[3] : ""};
    } else if (keyword == "apitoken") {
      if (sensor) return fail("apitoken belongs before the first sensor");
      if (words.size() != 2) return fail("apitoken needs one KEY");
      set.api_token = words[1];
    } else if (keyword == "next") {
      if (sensor) return fail("next belongs before the first sensor");
      const std::optional<long long> count =
          words.size() > 2 ? tools::ParseWhole(words[1]) : std::nullopt;
      const std::optional<Fault> fault =
          words.size() > 2 ? ParseFault(std::vector<std::string>(
                                 words.begin() + 2, words.end()))
                           : std::nullopt;
      if (!count || *count < 1 || !fault) return fail("next needs K FAULT");
      set.next_faults.push_back({static_cast<int>(*count), *fault});
    } else if (!sensor) {
      return fail("\"" + words[0] + "\" belongs to a sensor");
    } else if (keyword == "fault") {
      const std::optional<Fault> fault =
          ParseFault(std::vector<std::string>(words.begin() + 1, words.end()));
      if (!fault) return fail("unknown fault");
      sensor->fault = *fault;
    } else if (keyword == "channel") {
      std::string error;
      std::optional<Channel> channel = ParseChannel(rest, error);
      if (!channel) return fail(error);
      sensor->channels.push_back(std::move(*channel));
    } else if (keyword == "probe") {
      sensor->probe = rest;
    } else if (keyword == "group") {
      sensor->group = rest;
    } else if (keyword == "device") {
      sensor->device = rest;
    } else if (keyword == "message") {
      sensor->message = rest;
    } else if (keyword == "type") {
      sensor->type = rest;
    } else if (keyword == "status") {
      sensor->status = rest;
    } else {
      return fail("unknown setting \"" + words[0] + "\"");
    }
  }
  return {std::move(set), {}};
}

}  // namespace vigil::sim
