#include "extension/mail_message.h"

#include <cstdio>
#include <vector>

#include "extension/mime_encoding.h"

namespace vigil {
namespace {

constexpr std::size_t kFoldColumn = 78;
// RFC 5322 allows 998 characters on a line; longer body lines go
// quoted-printable, longer header words encoded.
constexpr std::size_t kMaxLine = 998;

bool IsPlainAscii(std::string_view text) {
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x7F || (byte < 0x20 && byte != '\t')) return false;
  }
  return true;
}

// "Name: value" folded at blanks so that lines stay near 78 columns.
std::string FoldHeader(std::string_view name, std::string_view value) {
  std::string out(name);
  out += ":";
  std::size_t column = out.size();
  std::size_t start = 0;
  while (start < value.size()) {
    std::size_t end = value.find(' ', start);
    if (end == std::string_view::npos) end = value.size();
    std::string_view word = value.substr(start, end - start);
    if (!word.empty()) {
      if (column + 1 + word.size() > kFoldColumn && column > name.size() + 1) {
        out += "\r\n";
        column = 0;
      }
      out += " ";
      out += word;
      column += 1 + word.size();
    }
    start = end + 1;
  }
  out += "\r\n";
  return out;
}

std::string SubjectHeader(std::string_view raw_subject) {
  std::string subject = CleanHeaderValue(raw_subject);
  // Kept byte for byte when it can be; encoded words also fold a subject
  // too long for one header line.
  bool needs_words = !IsPlainAscii(subject) ||
                     subject.find("=?") != std::string::npos ||
                     subject.size() + 10 > kMaxLine;
  if (!needs_words) return "Subject: " + subject + "\r\n";
  return "Subject: " + EncodeHeaderWords(BytesToUtf8(subject)) + "\r\n";
}

std::string AddressList(const std::vector<std::string>& addresses) {
  std::string list;
  for (const std::string& address : addresses) {
    if (!list.empty()) list += ", ";
    list += address;
  }
  return list;
}

std::string MessageIdDomain(const MailAddresses& addresses) {
  std::size_t at = addresses.sender.rfind('@');
  return addresses.sender.substr(at + 1);
}

struct EncodedBody {
  std::string charset;
  std::string transfer_encoding;
  std::string text;  // lines ending CR LF
};

EncodedBody EncodeBody(const std::vector<std::string>& lines) {
  bool plain = true;
  std::size_t bytes = 0;
  for (const std::string& line : lines) {
    plain = plain && line.size() <= kMaxLine && IsPlainAscii(line);
    bytes += line.size() + 2;
  }
  EncodedBody body;
  body.text.reserve(bytes);
  if (plain) {
    body.charset = "us-ascii";
    body.transfer_encoding = "7bit";
    for (const std::string& line : lines) {
      body.text += line;
      body.text += "\r\n";
    }
    return body;
  }

  // One reading for the whole body, as a mix of UTF-8 and Latin-1 lines
  // cannot be told apart line by line.
  std::string joined;
  joined.reserve(bytes);
  for (const std::string& line : lines) {
    joined += line;
    joined += '\n';
  }
  bool utf8 = IsValidUtf8(joined);
  body.charset = utf8 ? "utf-8" : "iso-8859-1";
  body.transfer_encoding = "quoted-printable";
  for (const std::string& line : lines) {
    body.text += EncodeQuotedPrintableLine(line);
    body.text += "\r\n";
  }
  return body;
}

}  // namespace

std::string CleanHeaderValue(std::string_view value) {
  std::string clean;
  clean.reserve(value.size());
  for (char c : value) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\r' || c == '\n') continue;
    clean.push_back(byte < 0x20 || byte == 0x7F ? ' ' : c);
  }
  return clean;
}

std::string FormatMailDate(std::time_t time) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed",
                                          "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                            "May", "Jun", "Jul", "Aug",
                                            "Sep", "Oct", "Nov", "Dec"};
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) {
    gmtime_r(&time, &local);
    local.tm_gmtoff = 0;
  }
  long offset_minutes = local.tm_gmtoff / 60;
  char sign = offset_minutes < 0 ? '-' : '+';
  if (offset_minutes < 0) offset_minutes = -offset_minutes;
  char text[64];
  std::snprintf(
      text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
      kDays[local.tm_wday % 7], local.tm_mday, kMonths[local.tm_mon % 12],
      local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, sign,
      offset_minutes / 60, offset_minutes % 60);
  return text;
}

std::string ComposeMailMessage(const MailAddresses& addresses,
                               const MailBody& body,
                               const MessageStamp& stamp) {
  EncodedBody encoded = EncodeBody(body.lines);
  std::string message;
  message.reserve(encoded.text.size() + 1024);
  message += FoldHeader("From", addresses.sender);
  message += FoldHeader("To", AddressList(addresses.recipients));
  message += SubjectHeader(body.subject);
  message += "Date: " + FormatMailDate(stamp.now) + "\r\n";
  message += "Message-ID: <" + stamp.unique + "@" + MessageIdDomain(addresses) +
             ">\r\n";
  message += "MIME-Version: 1.0\r\n";
  message += "Content-Type: text/plain; charset=" + encoded.charset + "\r\n";
  message += "Content-Transfer-Encoding: " + encoded.transfer_encoding + "\r\n";
  message += "\r\n";
  message += encoded.text;
  return message;
}

}  // namespace vigil
