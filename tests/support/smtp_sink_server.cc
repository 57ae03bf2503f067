#include "support/smtp_sink_server.h"

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/loopback_port.h"

namespace vigil {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(15);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr int kStartAttempts = 3;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

SmtpSinkServer::~SmtpSinkServer() { Stop(); }

bool SmtpSinkServer::Start(const SmtpSinkOptions& options) {
  Stop();
  char pattern[] = "/tmp/vigil-smtp-sink-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    error_ = "cannot create the mail directory";
    return false;
  }
  directory_ = pattern;
  // Another test may take the free port between the probe and the bind;
  // a fresh port then does.
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (StartOnce(options)) return true;
  }
  Stop();
  return false;
}

bool SmtpSinkServer::StartOnce(const SmtpSinkOptions& options) {
  port_ = testing::UnusedLoopbackPort();
  if (port_ == 0) {
    error_ = "no free loopback port";
    return false;
  }
  std::string script =
      std::string(VIGIL_SOURCE_DIR) + "/tests/extension/smtp_sink.py";
  std::vector<std::string> arguments = {
      "/usr/bin/python3",    script,  "--port",
      std::to_string(port_), "--dir", directory_,
      "--lifetime",          "240"};
  if (!options.user.empty()) {
    arguments.insert(arguments.end(),
                     {"--user", options.user, "--password", options.password});
  }
  process_ = std::make_unique<testing::ChildProcess>(arguments,
                                                     testing::ChildOptions{});
  if (!process_->started()) {
    process_.reset();
    error_ = "cannot start /usr/bin/python3";
    return false;
  }
  const bool settled = testing::WaitUntil(
      [this] {
        return testing::AcceptsConnections(port_) || !process_->Running();
      },
      kStartLimit);
  if (settled && process_->Running()) return true;
  error_ = settled ? "the SMTP sink ended before it listened"
                   : "the SMTP sink did not listen in time";
  process_.reset();  // kills the whole group
  return false;
}

void SmtpSinkServer::Stop() {
  if (process_) {
    process_->SignalGroup(SIGTERM);
    process_->WaitFor(kStopLimit);
    process_.reset();  // what did not end by now is killed
  }
  if (!directory_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
    directory_.clear();
  }
}

std::vector<ReceivedMail> SmtpSinkServer::Received() const {
  std::vector<std::filesystem::path> envelopes;
  std::error_code ignored;
  for (const auto& entry :
       std::filesystem::directory_iterator(directory_, ignored)) {
    if (entry.path().extension() == ".envelope") {
      envelopes.push_back(entry.path());
    }
  }
  std::sort(envelopes.begin(), envelopes.end());

  std::vector<ReceivedMail> mails;
  for (const std::filesystem::path& envelope : envelopes) {
    std::filesystem::path stem = envelope;
    stem.replace_extension();
    ReceivedMail mail;
    mail.raw = ReadFile(stem.string() + ".eml");
    mail.subject = ReadFile(stem.string() + ".subject");
    mail.body = ReadFile(stem.string() + ".body");
    for (const std::string& line :
         Lines(ReadFile(stem.string() + ".headers"))) {
      std::size_t colon = line.find(": ");
      if (colon == std::string::npos) continue;
      mail.headers.emplace(line.substr(0, colon), line.substr(colon + 2));
    }
    for (const std::string& line : Lines(ReadFile(envelope))) {
      std::size_t blank = line.find(' ');
      std::string key = line.substr(0, blank);
      std::string value =
          blank == std::string::npos ? "" : line.substr(blank + 1);
      if (key == "from") mail.sender = value;
      if (key == "rcpt") mail.recipients.push_back(value);
      if (key == "login") mail.login = value;
      if (key == "date") mail.date_epoch = std::atof(value.c_str());
    }
    mails.push_back(std::move(mail));
  }
  return mails;
}

void SmtpSinkServer::ClearReceived() const {
  std::error_code ignored;
  for (const auto& entry :
       std::filesystem::directory_iterator(directory_, ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
}

}  // namespace vigil
