#include "store/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vigil {
namespace {

char UpperChar(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
char LowerChar(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

constexpr std::string_view kNameSeparators = " _-.:01234567890()!/&";

// Length of the UTF-8 sequence starting at text[i], 0 when it is invalid.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  else
    return 0;
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string Mid(std::string_view text, int from, int count) {
  if (count <= 0) return {};
  if (from < 1) {
    // Characters before column 1 do not exist; they still use up count.
    const long long shift = 1LL - from;
    if (shift >= count) return {};
    count -= static_cast<int>(shift);
    from = 1;
  }
  const size_t start = static_cast<size_t>(from) - 1;
  if (start >= text.size()) return {};
  return std::string(text.substr(start, static_cast<size_t>(count)));
}

int Pos(std::string_view needle, std::string_view text) {
  if (needle.empty()) return 0;
  const size_t at = text.find(needle);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string BeforeFirst(std::string_view text, char separator) {
  const size_t at = text.find(separator);
  return at == std::string_view::npos ? std::string()
                                      : std::string(text.substr(0, at));
}

std::string AfterFirst(std::string_view text, char separator) {
  const size_t at = text.find(separator);
  return at == std::string_view::npos ? std::string(text)
                                      : std::string(text.substr(at + 1));
}

std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

std::string_view TrimmedView(std::string_view text) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string TrimRight(std::string_view text) {
  const size_t last = text.find_last_not_of(" \t\r\n");
  if (last == std::string_view::npos) return {};
  return std::string(text.substr(0, last + 1));
}

std::string ToUpper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), UpperChar);
  return result;
}

std::string ToLower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), LowerChar);
  return result;
}

bool EqualsInAnyCase(std::string_view lower, std::string_view text) {
  // Element and key names: ASCII, and no locale call per character.
  return lower.size() == text.size() &&
         std::equal(
             lower.begin(), lower.end(), text.begin(), [](char a, char b) {
               return a ==
                      (b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b);
             });
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

std::optional<int> ParseInteger(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::string_view digits = trimmed;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, error] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string RightAligned(int number, size_t width, char pad) {
  std::string text = std::to_string(std::max(number, 0));
  if (text.size() >= width) return text.substr(text.size() - width);
  return std::string(width - text.size(), pad) + text;
}

std::string TwoDigits(int number) {
  std::string text = std::to_string(number);
  return number >= 0 && number <= 9 ? "0" + text : text;
}

std::string CapitalizeName(std::string_view name) {
  const std::string upper = ToUpper(name);
  const std::string lower = ToLower(name);
  if (name != upper && name != lower) return std::string(name);
  std::string result = lower;
  if (result.empty()) return result;
  result[0] = UpperChar(result[0]);
  for (size_t i = 0; i + 1 < result.size(); ++i) {
    if (kNameSeparators.find(result[i]) != std::string_view::npos &&
        result[i + 1] != ' ') {
      result[i + 1] = UpperChar(result[i + 1]);
    }
  }
  return result;
}

std::string CleanCaption(std::string_view caption) {
  std::string result(caption);
  const size_t at = result.find('&');
  if (at != std::string::npos) result.erase(at, 1);
  return result;
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

std::string ToDisplayUtf8(std::string_view bytes) {
  bool valid = true;
  for (size_t i = 0; i < bytes.size() && valid;) {
    const size_t length = Utf8SequenceLength(bytes, i);
    valid = length != 0;
    i += length;
  }
  if (valid) return std::string(bytes);
  std::string result;
  result.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      result += c;
    } else {
      result += static_cast<char>(0xC0 | (byte >> 6));
      result += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return result;
}

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string Unscramble(std::string_view text) {
  constexpr char kScrambleKey = 0x5A;
  std::string plain(text);
  for (char& c : plain) c = static_cast<char>(c ^ kScrambleKey);
  return plain;
}

}  // namespace vigil
