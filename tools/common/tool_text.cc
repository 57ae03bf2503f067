#include "common/tool_text.h"

#include <charconv>
#include <cmath>

namespace vigil::tools {

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

std::vector<std::string> SplitTrimmed(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    pieces.push_back(Trim(text.substr(start, end == std::string_view::npos
                                                 ? std::string_view::npos
                                                 : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return pieces;
}

std::string ToLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::optional<long long> ParseWhole(std::string_view text) {
  if (text.empty()) return std::nullopt;
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  // from_chars takes "inf" and "nan", which no tool input means.
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace vigil::tools
