#include "extension/mail_test_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vigil {

std::unique_ptr<SmtpSinkServer> MailTest::sink_;

void MailTest::StartSharedSink(const SmtpSinkOptions& options) {
  sink_ = std::make_unique<SmtpSinkServer>();
  sink_->Start(options);  // a failure is reported by SetUp
}

void MailTest::StopSharedSink() { sink_.reset(); }

void MailTest::SetUp() {
  // Suites without a sink test what happens when no server answers.
  if (sink_ != nullptr) {
    ASSERT_TRUE(sink_->port() > 0 && sink_->error().empty())
        << "SMTP sink: " << sink_->error();
    sink_->ClearReceived();
  }
  ASSERT_TRUE(library_.Load(BuiltLibraryPath("AuxOrbs.so")))
      << library_.error();
  ASSERT_NE(library_.smtp(), nullptr);
  char pattern[] = "/tmp/vigil-mail-body-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  directory_ = pattern;
}

void MailTest::TearDown() {
  library_.Unload();
  if (!directory_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
}

std::string MailTest::WriteBodyFile(const std::string& bytes) {
  std::string path =
      directory_ + "/AuxOrb0102." + std::to_string(++files_) + ".Mls";
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return path;
}

std::string MailTest::MissingFilePath() const {
  return directory_ + "/never-written.Mls";
}

std::string MailTest::SinkServer() const {
  return "25 127.0.0.1:" + std::to_string(sink_->port());
}

const char* MailTest::Smtp(const std::string& server,
                           const std::string& addresses,
                           const std::string& body_file,
                           const std::string& account,
                           const std::string& password) {
  return library_.smtp()(server.c_str(), addresses.c_str(), account.c_str(),
                         password.c_str(), body_file.c_str());
}

}  // namespace vigil
