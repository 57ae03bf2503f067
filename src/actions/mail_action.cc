#include "actions/mail_action.h"

#include "actions/extension_binding.h"
#include "actions/settings_fields.h"
#include "store/file_remover.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

constexpr std::string_view kResultRoots = "<Prtg> </Prtg>";

}  // namespace

MailFields ParseMailFields(std::string_view settings, int fields_column) {
  const std::string fields_text = Mid(settings, fields_column);
  MailFields fields;
  fields.first_address = TerminatedField(fields_text, 1);
  fields.second_address = TerminatedField(fields_text, 2);
  fields.subject = TerminatedField(fields_text, 3);
  fields.account = TerminatedField(fields_text, 4);
  fields.password = Unscramble(TerminatedField(fields_text, 5));
  fields.server_host = TerminatedField(fields_text, 6);
  return fields;
}

std::vector<std::string> MailBodyLines(
    const std::string& subject,
    const std::optional<std::vector<std::string>>& result_lines) {
  std::vector<std::string> body = {subject};
  if (!result_lines) return body;
  for (const std::string& line : *result_lines) {
    if (line == "<Prtg>") {
      body.push_back("<RfcOrb>");
    } else if (line == "</Prtg>") {
      body.push_back("</RfcOrb>");
    } else if (line.empty() || kResultRoots.find(line) == std::string::npos) {
      body.push_back(line);
    }
  }
  return body;
}

std::string MailOutcome(const std::function<bool()>& call) {
  if (call()) return " - (Done)";
  std::string outcome = " - (Failed)";
  for (int retry = 1; retry < kMailCalls; ++retry) {
    if (call()) return outcome + " (Now Done)";
    outcome += " (Failed)";
  }
  return outcome;
}

std::string SendMail(const MailRequest& request, OrbView& view) {
  std::optional<std::vector<std::string>> result;
  if (request.with_result) {
    // A missing or unreadable work file leaves the subject alone.
    result = ReadLines(request.work_file).value_or(std::vector<std::string>{});
  }
  // A body file that cannot be written still gets its call: the library
  // reports what it could not read.
  WriteLines(request.body_file, MailBodyLines(request.subject, result));

  view.SetBusyCursor(true);
  std::string outcome;
  {
    ExtensionBinding library(request.library);
    library.Open();
    const SmtpEntry smtp = library.Smtp();
    if (smtp == nullptr) {
      view.ShowMessageBox("Smtp not found !");
    } else {
      const MailFields& fields = request.fields;
      const std::string server = "25 " + fields.server_host;
      const std::string addresses =
          fields.first_address + " " + fields.second_address;
      const std::string body_file = request.body_file.string();
      view.LetEventsRun(std::chrono::milliseconds(0));
      outcome = MailOutcome([&] {
        return smtp(server.c_str(), addresses.c_str(), fields.account.c_str(),
                    fields.password.c_str(), body_file.c_str()) != nullptr;
      });
    }
    library.Close();
  }
  RemoveFile(request.body_file);
  view.SetBusyCursor(false);
  return outcome;
}

}  // namespace vigil
