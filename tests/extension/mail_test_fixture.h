// Base fixture of the Smtp tests: the built AuxOrbs.so, loaded for real, a
// loopback SMTP sink shared by one test suite, and body files in a
// temporary directory.
#ifndef VIGIL_TESTS_EXTENSION_MAIL_TEST_FIXTURE_H_
#define VIGIL_TESTS_EXTENSION_MAIL_TEST_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "extension/extension_library.h"
#include "support/smtp_sink_server.h"

namespace vigil {

class MailTest : public ::testing::Test {
 protected:
  static void StartSharedSink(const SmtpSinkOptions& options);
  static void StopSharedSink();
  static SmtpSinkServer& sink() { return *sink_; }

  void SetUp() override;
  void TearDown() override;

  // A body file holding exactly these bytes.
  std::string WriteBodyFile(const std::string& bytes);
  std::string MissingFilePath() const;

  // The server argument that reaches the sink through the host:port
  // override, as the orb passes it ("25 " + host).
  std::string SinkServer() const;

  const char* Smtp(const std::string& server, const std::string& addresses,
                   const std::string& body_file,
                   const std::string& account = "",
                   const std::string& password = "");

 private:
  static std::unique_ptr<SmtpSinkServer> sink_;
  ExtensionLibrary library_;
  std::string directory_;
  int files_ = 0;
};

}  // namespace vigil

#endif  // VIGIL_TESTS_EXTENSION_MAIL_TEST_FIXTURE_H_
