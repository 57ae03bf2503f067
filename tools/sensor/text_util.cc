#include "sensor/text_util.h"

#include <charconv>

namespace vigil::sensor {

std::string Mid(std::string_view text, int from, int count) {
  if (count <= 0) return {};
  if (from < 1) {
    // Columns before the first do not exist but still use up count.
    const long long shift = 1LL - from;
    if (shift >= count) return {};
    count -= static_cast<int>(shift);
    from = 1;
  }
  const size_t start = static_cast<size_t>(from) - 1;
  if (start >= text.size()) return {};
  return std::string(text.substr(start, static_cast<size_t>(count)));
}

std::string Trim(std::string_view text) {
  const auto is_blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
  };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && is_blank(text[begin])) ++begin;
  while (end > begin && is_blank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

std::optional<double> ParseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string SafeText(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '<' || c == '>' || c == '&') {
      safe += '_';
    } else if (c == '(') {
      safe += '[';
    } else if (c == ')') {
      safe += ']';
    } else if (byte < 0x20 || byte == 0x7F) {
      safe += ' ';
    } else {
      safe += c;
    }
  }
  return safe;
}

}  // namespace vigil::sensor
