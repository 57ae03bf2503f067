// The RFC 5322 message that Smtp hands to the server.
#ifndef VIGIL_EXTENSION_MAIL_MESSAGE_H_
#define VIGIL_EXTENSION_MAIL_MESSAGE_H_

#include <ctime>
#include <string>
#include <string_view>

#include "extension/mail_body_file.h"
#include "extension/smtp_arguments.h"

namespace vigil {

// What makes a message's Date and Message-ID.
struct MessageStamp {
  std::time_t now = 0;
  std::string unique;  // differs between messages of one process and host
};

// Headers From, To, Subject, Date, Message-ID, MIME-Version and a
// text/plain body; every line ends with CR LF. Header values never carry a
// line break of their own; a subject that is not plain ASCII is written as
// RFC 2047 UTF-8 words; a body that is not 7-bit text with short lines is
// sent quoted-printable.
std::string ComposeMailMessage(const MailAddresses& addresses,
                               const MailBody& body, const MessageStamp& stamp);

// "Tue, 04 Mar 2025 09:05:00 +0100" in local time, independent of the
// process locale.
std::string FormatMailDate(std::time_t time);

// A header value with CR and LF removed and other control characters
// turned into blanks.
std::string CleanHeaderValue(std::string_view value);

}  // namespace vigil

#endif  // VIGIL_EXTENSION_MAIL_MESSAGE_H_
