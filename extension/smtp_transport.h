// Hands one composed message to an SMTP server through libcurl.
#ifndef VIGIL_EXTENSION_SMTP_TRANSPORT_H_
#define VIGIL_EXTENSION_SMTP_TRANSPORT_H_

#include <string>

#include "extension/smtp_arguments.h"

namespace vigil {

struct SmtpLogin {
  std::string account;  // empty: no login
  std::string password;
};

struct SmtpTimeouts {
  long connect_ms = 10000;  // includes the server's greeting
  long total_ms = 60000;
};

struct SmtpOutcome {
  bool sent = false;
  std::string error;  // libcurl's reason when not sent
};

// Plain SMTP: EHLO with this machine's name, a login when the account is
// set, MAIL FROM, RCPT TO for every recipient, DATA. Any refusal on the way
// (login, sender, one recipient, the message) means not sent.
SmtpOutcome SendSmtpMessage(const SmtpEndpoint& endpoint,
                            const SmtpLogin& login,
                            const MailAddresses& addresses,
                            const std::string& message,
                            const SmtpTimeouts& timeouts = {});

}  // namespace vigil

#endif  // VIGIL_EXTENSION_SMTP_TRANSPORT_H_
