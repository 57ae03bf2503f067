// Reading the server and address texts that the orb hands to Smtp.
#ifndef VIGIL_EXTENSION_SMTP_ARGUMENTS_H_
#define VIGIL_EXTENSION_SMTP_ARGUMENTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil {

inline constexpr int kDefaultSmtpPort = 25;

struct SmtpEndpoint {
  std::string host;  // a name or an IP address, IPv6 without brackets
  int port = kDefaultSmtpPort;
};

struct MailAddresses {
  std::string sender;
  std::vector<std::string> recipients;  // never empty
};

// "port host", where host:port (or [v6]:port) overrides the port and a
// blank port means 25. Empty when the host is missing or anything does not
// read as a port or a host name.
std::optional<SmtpEndpoint> ParseSmtpServer(std::string_view text);

// The sender followed by the recipients, separated by blanks, commas or
// line breaks; "<a@b>" is read as "a@b". Empty when there is no recipient
// or any address is not a plain local@domain address.
std::optional<MailAddresses> ParseMailAddresses(std::string_view text);

// Whether text is a local@domain address that can go into an SMTP command
// and a header unchanged.
bool IsPlainMailAddress(std::string_view text);

}  // namespace vigil

#endif  // VIGIL_EXTENSION_SMTP_ARGUMENTS_H_
