#include "support/tls_test_server.h"

#include <cstdlib>
#include <fstream>
#include <optional>

namespace vigil::testing {
namespace {

constexpr char kOpenssl[] = "/usr/bin/openssl";
constexpr char kLifetimeSeconds[] = "60";
// s_server's line once it listens: "ACCEPT 127.0.0.1:PORT".
constexpr std::string_view kAcceptLine = "ACCEPT 127.0.0.1:";

std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

}  // namespace

TlsTestServer::TlsTestServer(const std::filesystem::path& dir)
    : pages_(dir / "pages"), certificate_(dir / "cert.pem") {
  std::filesystem::create_directories(pages_);
  const std::filesystem::path key = dir / "key.pem";
  // An EC key takes milliseconds where RSA takes a good part of a second.
  // The name is the address the tests use, so the host check passes.
  const std::string make = std::string(kOpenssl) +
                           " req -x509 -newkey ec -pkeyopt "
                           "ec_paramgen_curve:prime256v1 -nodes -days 1 "
                           "-subj /CN=127.0.0.1 -addext "
                           "subjectAltName=IP:127.0.0.1 -keyout " +
                           Quoted(key) + " -out " + Quoted(certificate_) +
                           " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) return;
  std::string hash = CommandOutput(std::string(kOpenssl) + " x509 -in " +
                                   Quoted(certificate_) + " -pubkey -noout | " +
                                   kOpenssl + " pkey -pubin -outform der | " +
                                   kOpenssl + " dgst -sha256 -binary | base64");
  while (!hash.empty() && (hash.back() == '\n' || hash.back() == '\r')) {
    hash.pop_back();
  }
  pin_ = "sha256//" + hash;

  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/timeout", kLifetimeSeconds, kOpenssl,
                               "s_server", "-accept", "127.0.0.1:0", "-cert",
                               certificate_.string(), "-key", key.string(),
                               "-WWW"},
      ChildOptions{.dir = pages_,
                   .env = {},
                   .capture_stdout = true,
                   .stderr_file = dir / "s_server.log"});
  if (!process_->started()) return;
  while (const std::optional<std::string> line =
             process_->ReadLine(std::chrono::seconds(5))) {
    if (line->starts_with(kAcceptLine)) {
      port_ = std::atoi(line->c_str() + kAcceptLine.size());
      break;
    }
  }
}

void TlsTestServer::Serve(std::string_view target,
                          std::string_view body) const {
  if (target.starts_with('/')) target.remove_prefix(1);
  const std::filesystem::path file = pages_ / target;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << body;
}

}  // namespace vigil::testing
