#include "monitor/prtg_json_format.h"

#include <nlohmann/json.hpp>

#include "store/text.h"

namespace vigil {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The member whose key is name in any case; nullptr without one.
const Json* Member(const Json& object, std::string_view name) {
  if (!object.is_object()) return nullptr;
  for (const auto& [key, value] : object.items()) {
    if (ToLower(key) == name) return &value;
  }
  return nullptr;
}

// A value as the XML form would carry it.
std::string AsText(const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_boolean()) return value.get<bool>() ? "1" : "0";
  if (value.is_null()) return {};
  return value.dump();
}

StandardChannel ChannelOf(const Json& object) {
  StandardChannel channel;
  if (!object.is_object()) return channel;
  for (const auto& [key, value] : object.items()) {
    channel[ToLower(key)] = AsText(value);
  }
  return channel;
}

StandardResult ResultOf(const Json& document) {
  StandardResult result;
  const Json* prtg = Member(document, "prtg");
  if (prtg == nullptr || !prtg->is_object()) {
    result.parse_problem = "no \"prtg\" object";
    return result;
  }
  result.complete = true;
  if (const Json* results = Member(*prtg, "result")) {
    // One channel may come as an object rather than a list of one.
    if (results->is_array()) {
      for (const Json& object : *results) {
        result.channels.push_back(ChannelOf(object));
      }
    } else {
      result.channels.push_back(ChannelOf(*results));
    }
  }
  if (const Json* text = Member(*prtg, "text")) result.text = AsText(*text);
  if (const Json* error = Member(*prtg, "error")) {
    result.error = IsSetFlag(AsText(*error));
  }
  return result;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(3);
  return text;
}

class PrtgJson final : public ResultFormat {
 public:
  std::string_view name() const override { return "PRTG JSON"; }
  bool Recognises(const std::vector<std::string>& lines) const override {
    for (const std::string& line : lines) {
      const std::string text = Trim(WithoutByteOrderMark(line));
      if (!text.empty()) return text.front() == '{';
    }
    return false;
  }
  ResultCheck Check(const std::vector<std::string>& lines) const override {
    return CheckStandardResult(ParsePrtgJson(JoinedText(lines)));
  }
  ResultReading Read(const std::vector<std::string>& lines,
                     const ResultReaderSettings& settings, ItemTable& items,
                     StringList& work) const override {
    return ReadStandardResult(ParsePrtgJson(JoinedText(lines)), settings, items,
                              work);
  }
};

}  // namespace

StandardResult ParsePrtgJson(std::string_view text) {
  text = WithoutByteOrderMark(text);
  try {
    return ResultOf(Json::parse(text));
  } catch (const Json::exception& error) {
    // The library reports by exception; here it becomes the reason.
    StandardResult result;
    result.parse_problem = std::string("JSON error: ") + error.what();
    return result;
  }
}

const ResultFormat& PrtgJsonFormat() {
  static const PrtgJson format;
  return format;
}

}  // namespace vigil
