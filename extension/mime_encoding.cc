#include "extension/mime_encoding.h"

namespace vigil {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kMaxEncodedLine = 76;
// 39 bytes give 52 Base64 characters, so "Subject: " and one word still
// fit in 76 columns.
constexpr std::size_t kHeaderWordBytes = 39;

// Length of the UTF-8 sequence that starts with lead, 0 when lead cannot
// start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    unsigned char lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = SequenceLength(lead);
    if (length == 0 || i + length > bytes.size()) return false;
    unsigned int code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
        (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string BytesToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char c : bytes) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text.push_back(c);
    } else {
      text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return text;
}

std::string EncodeBase64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned int block = (static_cast<unsigned char>(bytes[i]) << 16) |
                         (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                         static_cast<unsigned char>(bytes[i + 2]);
    out.push_back(kAlphabet[(block >> 18) & 0x3F]);
    out.push_back(kAlphabet[(block >> 12) & 0x3F]);
    out.push_back(kAlphabet[(block >> 6) & 0x3F]);
    out.push_back(kAlphabet[block & 0x3F]);
  }
  std::size_t left = bytes.size() - i;
  if (left > 0) {
    unsigned int block = static_cast<unsigned char>(bytes[i]) << 16;
    if (left == 2) block |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out.push_back(kAlphabet[(block >> 18) & 0x3F]);
    out.push_back(kAlphabet[(block >> 12) & 0x3F]);
    out.push_back(left == 2 ? kAlphabet[(block >> 6) & 0x3F] : '=');
    out.push_back('=');
  }
  return out;
}

std::string EncodeHeaderWords(std::string_view utf8) {
  std::string out;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = start;
    while (end < utf8.size()) {
      std::size_t length =
          SequenceLength(static_cast<unsigned char>(utf8[end]));
      if (length == 0) length = 1;  // not UTF-8 after all: keep going bytewise
      if (end + length - start > kHeaderWordBytes && end > start) break;
      end += length;
    }
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?";
    out += EncodeBase64(utf8.substr(start, end - start));
    out += "?=";
    start = end;
  }
  return out;
}

std::string EncodeQuotedPrintableLine(std::string_view line) {
  std::string out;
  std::size_t column = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(line[i]);
    bool last = i + 1 == line.size();
    // Blanks at a line end would be lost in transit, so they are encoded.
    bool literal = (byte >= 33 && byte <= 126 && byte != '=') ||
                   ((byte == ' ' || byte == '\t') && !last);
    std::size_t width = literal ? 1 : 3;
    // Room for the soft break's "=", unless this is the last piece.
    std::size_t limit = last ? kMaxEncodedLine : kMaxEncodedLine - 1;
    if (column + width > limit) {
      out += "=\r\n";
      column = 0;
    }
    if (literal) {
      out.push_back(static_cast<char>(byte));
    } else {
      out.push_back('=');
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 0x0F]);
    }
    column += width;
  }
  return out;
}

}  // namespace vigil
