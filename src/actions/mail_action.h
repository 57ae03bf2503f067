// The mail action: the mail body with the current result, handed to the
// "Smtp" entry of the mode's extension library through the mail-body file.
//
// Mail fields, each ending in ";", from column 14 of the state-mail
// settings or column 5 of the value-mail settings: first address text,
// second address text, subject (with placeholders), account, scrambled
// password, mail server host.
#ifndef VIGIL_ACTIONS_MAIL_ACTION_H_
#define VIGIL_ACTIONS_MAIL_ACTION_H_

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/orb_view.h"

namespace vigil {

inline constexpr int kStateMailFieldsColumn = 14;
inline constexpr int kValueMailFieldsColumn = 5;
inline constexpr int kMailCalls = 5;  // the first call and four retries

struct MailFields {
  std::string first_address;
  std::string second_address;
  std::string subject;  // with placeholders
  std::string account;
  std::string password;  // unscrambled
  std::string server_host;
};

MailFields ParseMailFields(std::string_view settings, int fields_column);

// The body: the subject line, then for a mail that carries the result the
// work file's lines with "<Prtg>" and "</Prtg>" as "<RfcOrb>" and
// "</RfcOrb>" and the non-empty fragments of "<Prtg> </Prtg>" dropped.
std::vector<std::string> MailBodyLines(
    const std::string& subject,
    const std::optional<std::vector<std::string>>& result_lines);

// Calls until one call returns, at most kMailCalls times, and tells how it
// went: " - (Done)", or " - (Failed)" followed by " (Now Done)" or
// " (Failed)" for every retry.
std::string MailOutcome(const std::function<bool()>& call);

struct MailRequest {
  MailFields fields;
  std::string subject;  // substituted, at most 99 characters
  bool with_result = false;
  std::filesystem::path work_file;
  std::filesystem::path body_file;
  std::filesystem::path library;
};

// Sends one mail and returns the outcome text: " - (Done)" or
// " - (Failed)", then " (Now Done)" or " (Failed)" for every retry; empty
// when "Smtp" was never called ("Smtp not found !" was shown).
std::string SendMail(const MailRequest& request, OrbView& view);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_MAIL_ACTION_H_
