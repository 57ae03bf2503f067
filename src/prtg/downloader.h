// Fetches one URL into a local file with libcurl: the one primitive of the
// PRTG client that reaches the server.
#ifndef VIGIL_PRTG_DOWNLOADER_H_
#define VIGIL_PRTG_DOWNLOADER_H_

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vigil {

struct DownloadSettings {
  // A server that does not accept the connection in this time is down.
  std::chrono::milliseconds connect_timeout{10'000};
  // The whole transfer; bounds how long a stalled server blocks the orb.
  std::chrono::milliseconds total_timeout{30'000};
  // PRTG answers are a few kilobytes; more is not an answer to read.
  std::int64_t max_bytes = 16 * 1024 * 1024;
  // A PEM file of the authorities that vouch for the server, in place of
  // the system's; empty: the system's.
  std::filesystem::path ca_file;
  // libcurl's pinned public key: "sha256//..." hashes joined by ";", or a
  // key file. With a CA file the certificate must verify as well; alone it
  // is the trust anchor, so that a self-signed server can be pinned.
  std::string pinned_key;
};

struct DownloadOutcome {
  // A complete transfer with an HTTP status of 2xx.
  bool ok = false;
  long http_status = 0;  // 0 when no answer came
  bool timed_out = false;
  // The server's certificate did not verify, its key did not match the pin,
  // or the CA file could not be read: the server is not trusted.
  bool untrusted = false;
  // libcurl's short description of the failure; never holds the URL.
  std::string failure;
};

// Writes the answer to file. On failure the file is removed, so that a
// partial answer is never read as one.
DownloadOutcome DownloadToFile(const std::string& url,
                               const std::filesystem::path& file,
                               const DownloadSettings& settings);

}  // namespace vigil

#endif  // VIGIL_PRTG_DOWNLOADER_H_
