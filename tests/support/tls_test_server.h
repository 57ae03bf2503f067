// A loopback HTTPS server for the trust tests: openssl s_server with a
// self-signed certificate made for it, serving files of its folder.
#ifndef VIGIL_TESTS_SUPPORT_TLS_TEST_SERVER_H_
#define VIGIL_TESTS_SUPPORT_TLS_TEST_SERVER_H_

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "support/child_process.h"

namespace vigil::testing {

// Ends with the object; a server left behind by a crashed test ends by
// itself after a minute.
class TlsTestServer {
 public:
  // dir: where the key, the certificate, the log and the pages go.
  explicit TlsTestServer(const std::filesystem::path& dir);

  bool ready() const { return port_ > 0; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  // Self-signed, so it is its own CA file.
  const std::filesystem::path& certificate() const { return certificate_; }
  // The certificate's key as libcurl pins it: "sha256//" + base64.
  const std::string& pin() const { return pin_; }

  // Answers a GET of target ("/api/table.xml?id=1&...", query included,
  // as s_server -WWW takes the whole target as the file name) with body.
  void Serve(std::string_view target, std::string_view body) const;

 private:
  std::filesystem::path pages_;
  std::filesystem::path certificate_;
  std::string pin_;
  std::unique_ptr<ChildProcess> process_;
  int port_ = 0;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_TLS_TEST_SERVER_H_
