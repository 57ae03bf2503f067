// The three exported entry points; everything else in the library is
// hidden. No exception may cross into the orb, so each entry point turns
// one into a failed call.
#include "extension/vigil_extension.h"

#include <curl/curl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "extension/mail_body_file.h"
#include "extension/mail_message.h"
#include "extension/smtp_arguments.h"
#include "extension/smtp_transport.h"

namespace vigil {
namespace {

constexpr std::size_t kMaxNameInReply = 80;

std::string_view TextOrEmpty(const char* text) {
  return text == nullptr ? std::string_view() : std::string_view(text);
}

// The last path component, printable bytes only, for a short reply.
std::string ShortName(std::string_view name) {
  std::size_t slash = name.find_last_of('/');
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  std::string clean;
  for (char c : name.substr(0, kMaxNameInReply)) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) clean.push_back(c);
  }
  return clean;
}

const char* Reply(std::string_view verb, const char* library_name) {
  thread_local std::string reply;
  reply.assign(verb);
  std::string name = ShortName(TextOrEmpty(library_name));
  if (!name.empty()) reply += " " + name;
  return reply.c_str();
}

bool CurlSpeaksSmtp() {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  if (info == nullptr || info->protocols == nullptr) return false;
  for (const char* const* protocol = info->protocols; *protocol != nullptr;
       ++protocol) {
    if (std::strcmp(*protocol, "smtp") == 0) return true;
  }
  return false;
}

std::string UniqueMessageToken(std::time_t now) {
  static std::atomic<unsigned long> counter{0};
  unsigned long random_part = 0;
  try {
    std::random_device device;
    random_part = device();
  } catch (...) {
    random_part = static_cast<unsigned long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
  }
  return "vigil." + std::to_string(static_cast<long long>(now)) + "." +
         std::to_string(static_cast<long>(getpid())) + "." +
         std::to_string(++counter) + "." + std::to_string(random_part);
}

const char* SendMail(const char* server, const char* addresses,
                     const char* account, const char* password,
                     const char* body_file) {
  if (server == nullptr || addresses == nullptr || body_file == nullptr) {
    return nullptr;
  }
  std::optional<SmtpEndpoint> endpoint = ParseSmtpServer(server);
  std::optional<MailAddresses> parties = ParseMailAddresses(addresses);
  if (!endpoint || !parties) return nullptr;
  std::optional<MailBody> body = ReadMailBody(body_file);
  if (!body) return nullptr;

  MessageStamp stamp;
  stamp.now = std::time(nullptr);
  stamp.unique = UniqueMessageToken(stamp.now);
  std::string message = ComposeMailMessage(*parties, *body, stamp);

  SmtpLogin login{std::string(TextOrEmpty(account)),
                  std::string(TextOrEmpty(password))};
  SmtpOutcome outcome = SendSmtpMessage(*endpoint, login, *parties, message);
  if (!outcome.sent) return nullptr;

  thread_local std::string reply;
  reply = "Sent to " + std::to_string(parties->recipients.size()) +
          (parties->recipients.size() == 1 ? " recipient" : " recipients");
  return reply.c_str();
}

}  // namespace
}  // namespace vigil

extern "C" {

const char* Dopen(const char* text, const char* library_name) {
  try {
    if (!vigil::CurlSpeaksSmtp()) return nullptr;
    return vigil::Reply("Loaded", library_name);
  } catch (...) {
    return nullptr;
  }
}

const char* Dclos(const char* text, const char* library_name) {
  try {
    return vigil::Reply("Unloaded", library_name);
  } catch (...) {
    return nullptr;
  }
}

const char* Smtp(const char* server, const char* addresses, const char* account,
                 const char* password, const char* body_file) {
  try {
    return vigil::SendMail(server, addresses, account, password, body_file);
  } catch (...) {
    return nullptr;
  }
}

}  // extern "C"
