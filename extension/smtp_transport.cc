#include "extension/smtp_transport.h"

#include <curl/curl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vigil {
namespace {

// The message is read out of memory by libcurl in pieces.
struct UploadCursor {
  std::string_view data;
  std::size_t offset = 0;
};

size_t ReadMessagePiece(char* buffer, size_t size, size_t count,
                        void* user_data) {
  auto* cursor = static_cast<UploadCursor*>(user_data);
  std::size_t room = size * count;
  std::size_t piece = std::min(room, cursor->data.size() - cursor->offset);
  std::memcpy(buffer, cursor->data.data() + cursor->offset, piece);
  cursor->offset += piece;
  return piece;
}

// The EHLO name: this machine's name when it is a usable domain name.
std::string GreetingName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
    return "localhost";
  }
  for (const char* c = name; *c != '\0'; ++c) {
    bool ok = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') ||
              (*c >= '0' && *c <= '9') || *c == '.' || *c == '-';
    if (!ok) return "localhost";
  }
  return name;
}

std::string SmtpUrl(const SmtpEndpoint& endpoint) {
  std::string host = endpoint.host.find(':') == std::string::npos
                         ? endpoint.host
                         : "[" + endpoint.host + "]";
  return "smtp://" + host + ":" + std::to_string(endpoint.port) + "/" +
         GreetingName();
}

// Balances libcurl's reference-counted global set-up for one call, so the
// library needs nothing from the orb and leaves nothing behind.
class CurlGlobal {
 public:
  CurlGlobal() : ok_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
  ~CurlGlobal() {
    if (ok_) curl_global_cleanup();
  }
  CurlGlobal(const CurlGlobal&) = delete;
  CurlGlobal& operator=(const CurlGlobal&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

}  // namespace

SmtpOutcome SendSmtpMessage(const SmtpEndpoint& endpoint,
                            const SmtpLogin& login,
                            const MailAddresses& addresses,
                            const std::string& message,
                            const SmtpTimeouts& timeouts) {
  SmtpOutcome outcome;
  CurlGlobal global;
  if (!global.ok()) {
    outcome.error = "libcurl could not be initialised";
    return outcome;
  }
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    outcome.error = "libcurl could not be initialised";
    return outcome;
  }

  curl_slist* recipients = nullptr;
  bool listed = true;
  for (const std::string& recipient : addresses.recipients) {
    curl_slist* longer =
        curl_slist_append(recipients, ("<" + recipient + ">").c_str());
    if (longer == nullptr) {
      listed = false;
      break;
    }
    recipients = longer;
  }

  char error[CURL_ERROR_SIZE] = {};
  UploadCursor cursor{message};
  std::string url = SmtpUrl(endpoint);
  std::string sender = "<" + addresses.sender + ">";

  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp");
#else
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_SMTP));
#endif
  // The orb takes no settings from the environment; nor does its mail.
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connect_ms);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeouts.total_ms);
  curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
  if (!login.account.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, login.account.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, login.password.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, sender.c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadMessagePiece);
  curl_easy_setopt(curl, CURLOPT_READDATA, &cursor);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE,
                   static_cast<curl_off_t>(message.size()));

  if (listed) {
    CURLcode result = curl_easy_perform(curl);
    outcome.sent = result == CURLE_OK;
    if (!outcome.sent) {
      outcome.error = error[0] != '\0' ? error : curl_easy_strerror(result);
    }
  } else {
    outcome.error = "out of memory";
  }

  curl_slist_free_all(recipients);
  curl_easy_cleanup(curl);
  return outcome;
}

}  // namespace vigil
