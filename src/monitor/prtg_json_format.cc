#include "monitor/prtg_json_format.h"

#include <nlohmann/json.hpp>

#include "store/text.h"

namespace vigil {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What an object or array being read stands for.
enum class Frame { kDocument, kPrtg, kResultList, kResult, kOther };

// Reads the events of the library's parser straight into the result: no
// document tree is built for a text read once.
class Collector : public nlohmann::json_sax<Json> {
 public:
  bool null() override { return Scalar({}); }
  bool boolean(bool value) override { return Scalar(value ? "1" : "0"); }
  bool number_integer(number_integer_t value) override {
    return Scalar(std::to_string(value));
  }
  bool number_unsigned(number_unsigned_t value) override {
    return Scalar(std::to_string(value));
  }
  // As written: "0.50" stays what the script printed.
  bool number_float(number_float_t, const string_t& text) override {
    return Scalar(text);
  }
  bool string(string_t& value) override { return Scalar(std::move(value)); }
  bool binary(binary_t&) override { return Scalar({}); }
  bool key(string_t& key) override {
    key_ = std::move(key);
    return true;
  }

  bool start_object(std::size_t) override {
    frames_.push_back(ObjectFrame());
    if (frames_.back() == Frame::kPrtg) result_.complete = true;
    if (frames_.back() == Frame::kResult) AddChannel(result_);
    return true;
  }
  bool start_array(std::size_t) override {
    frames_.push_back(Within(Frame::kPrtg) && EqualsInAnyCase("result", key_)
                          ? Frame::kResultList
                          : Frame::kOther);
    return true;
  }
  bool end_object() override { return End(); }
  bool end_array() override { return End(); }

  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception& error) override {
    problem_ = std::string("JSON error: ") + error.what();
    return false;
  }

  StandardResult Finish(bool parsed) {
    if (!parsed) {
      result_.complete = false;
      result_.parse_problem = problem_;
    } else if (!result_.complete) {
      result_.parse_problem = "no \"prtg\" object";
    }
    return std::move(result_);
  }

 private:
  bool Within(Frame frame) const {
    return !frames_.empty() && frames_.back() == frame;
  }

  // One channel may come as an object rather than a list of one.
  Frame ObjectFrame() const {
    if (frames_.empty()) return Frame::kDocument;
    if (Within(Frame::kDocument) && EqualsInAnyCase("prtg", key_)) {
      return Frame::kPrtg;
    }
    if (Within(Frame::kResultList)) return Frame::kResult;
    if (Within(Frame::kPrtg) && EqualsInAnyCase("result", key_)) {
      return Frame::kResult;
    }
    return Frame::kOther;
  }

  bool Scalar(std::string text) {
    if (Within(Frame::kResult)) {
      if (const auto element = ChannelElementNamed(key_)) {
        result_.channels.back().elements.emplace_back(*element,
                                                      std::move(text));
      }
    } else if (Within(Frame::kPrtg)) {
      if (EqualsInAnyCase("text", key_)) result_.text = std::move(text);
      if (EqualsInAnyCase("error", key_)) result_.error = IsSetFlag(text);
    }
    return true;
  }

  bool End() {
    frames_.pop_back();
    return true;
  }

  StandardResult result_;
  std::vector<Frame> frames_;
  std::string key_;
  std::string problem_;
};

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(3);
  return text;
}

// Where the object begins: at the start of the first line that opens one.
size_t ObjectStart(std::string_view text) {
  size_t line = 0;
  while (line < text.size()) {
    size_t at = line;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (at < text.size() && text[at] == '{') return at;
    const size_t end = text.find('\n', line);
    if (end == std::string_view::npos) break;
    line = end + 1;
  }
  return std::string_view::npos;
}

class PrtgJson final : public StandardFormat {
 public:
  PrtgJson() : StandardFormat(ParsePrtgJson) {}
  std::string_view name() const override { return "PRTG JSON"; }
  // An object on a line of its own, in a text that is not XML.
  bool Recognises(const std::vector<std::string>& lines) const override {
    bool object = false;
    for (const std::string& line : lines) {
      const std::string_view text = WithoutByteOrderMark(line);
      const size_t first = text.find_first_not_of(" \t\r");
      if (first == std::string_view::npos) continue;
      if (text[first] == '<') return false;
      if (text[first] == '{') object = true;
    }
    return object;
  }
};

}  // namespace

StandardResult ParsePrtgJson(std::string_view text) {
  text = WithoutByteOrderMark(text);
  // A script may print a line before its object, and one after it.
  const size_t start = ObjectStart(text);
  if (start != std::string_view::npos) text.remove_prefix(start);
  Collector collector;
  const bool parsed =
      Json::sax_parse(text, &collector, Json::input_format_t::json,
                      /*strict=*/false);
  return collector.Finish(parsed);
}

const ResultFormat& PrtgJsonFormat() {
  static const PrtgJson format;
  return format;
}

}  // namespace vigil
