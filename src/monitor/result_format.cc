#include "monitor/result_format.h"

#include <array>

#include "monitor/companion_result_format.h"
#include "monitor/prtg_json_format.h"
#include "monitor/prtg_xml_format.h"
#include "store/orb_mode.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

// Asked in this order: the companion's shape is narrow, so a standard
// XML text that is not in it falls to the XML reader. A new format is
// its file and one line here.
constexpr std::array<const ResultFormat& (*)(), 3> kResultFormats = {
    PrtgJsonFormat,
    CompanionResultFormat,
    PrtgXmlFormat,
};

void AppendUtf8(char32_t code, std::string& text) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16 after its byte order mark as UTF-8; a lone surrogate becomes
// U+FFFD, an odd last byte is dropped.
std::string Utf8FromUtf16(std::string_view bytes, bool little_endian) {
  const auto unit = [&](size_t at) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return little_endian ? first | (second << 8) : (first << 8) | second;
  };
  std::string text;
  text.reserve(bytes.size() / 2);
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    char32_t code = unit(at);
    if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size() &&
        unit(at + 2) >= 0xDC00 && unit(at + 2) < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
      at += 2;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    AppendUtf8(code, text);
  }
  return text;
}

}  // namespace

std::optional<std::vector<std::string>> ReadResultLines(
    const std::filesystem::path& work_file) {
  const std::optional<std::string> bytes = ReadFileBytes(work_file);
  if (!bytes) return std::nullopt;
  if (bytes->starts_with("\xFF\xFE")) {
    return SplitLines(Utf8FromUtf16(*bytes, /*little_endian=*/true));
  }
  if (bytes->starts_with("\xFE\xFF")) {
    return SplitLines(Utf8FromUtf16(*bytes, /*little_endian=*/false));
  }
  return SplitLines(*bytes);
}

const ResultFormat& ResultFormatFor(const std::vector<std::string>& lines) {
  for (const auto format : kResultFormats) {
    if (format().Recognises(lines)) return format();
  }
  // Whatever else a sensor printed is checked as the orb always did.
  return CompanionResultFormat();
}

const ResultFormat& WorkFileFormat(std::string_view mode_word,
                                   const std::vector<std::string>& lines) {
  return OrbModeOf(mode_word).http ? CompanionResultFormat()
                                   : ResultFormatFor(lines);
}

}  // namespace vigil
