// Runs smtp_sink.py, a real SMTP server on 127.0.0.1, for the length of a
// test, and reads back the messages it stored.
#ifndef VIGIL_TESTS_SUPPORT_SMTP_SINK_SERVER_H_
#define VIGIL_TESTS_SUPPORT_SMTP_SINK_SERVER_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace vigil {

struct ReceivedMail {
  std::string raw;      // the message as the server received it
  std::string subject;  // decoded, UTF-8
  std::string body;     // decoded, UTF-8, LF line ends
  std::multimap<std::string, std::string> headers;  // decoded values
  std::string sender;
  std::vector<std::string> recipients;
  std::string login;      // empty when the client did not log in
  double date_epoch = 0;  // the Date header as the server read it
};

struct SmtpSinkOptions {
  std::string user;  // non-empty: every session must log in
  std::string password;
};

class SmtpSinkServer {
 public:
  SmtpSinkServer() = default;
  ~SmtpSinkServer();
  SmtpSinkServer(const SmtpSinkServer&) = delete;
  SmtpSinkServer& operator=(const SmtpSinkServer&) = delete;

  // Starts the server in its own process group and returns once it
  // accepts connections; false with error() set otherwise.
  bool Start(const SmtpSinkOptions& options = {});
  // Ends the whole process group and removes the stored messages.
  void Stop();

  int port() const { return port_; }
  const std::string& error() const { return error_; }

  // Stored messages in the order they arrived.
  std::vector<ReceivedMail> Received() const;
  void ClearReceived() const;

 private:
  bool StartOnce(const SmtpSinkOptions& options);

  std::unique_ptr<testing::ChildProcess> process_;
  int port_ = 0;
  std::string directory_;
  std::string error_;
};

}  // namespace vigil

#endif  // VIGIL_TESTS_SUPPORT_SMTP_SINK_SERVER_H_
