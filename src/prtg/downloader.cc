#include "prtg/downloader.h"

#include <cstdio>
#include <memory>

#include "prtg/curl_library.h"
#include "store/file_remover.h"

namespace vigil {
namespace {

struct Sink {
  std::FILE* file = nullptr;
  std::int64_t written = 0;
  std::int64_t limit = 0;
  bool too_large = false;
  bool write_failed = false;
};

size_t WriteToSink(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const size_t bytes = size * count;
  if (sink->written + static_cast<std::int64_t>(bytes) > sink->limit) {
    sink->too_large = true;
    return 0;  // makes libcurl stop with CURLE_WRITE_ERROR
  }
  if (std::fwrite(data, 1, bytes, sink->file) != bytes) {
    sink->write_failed = true;
    return 0;
  }
  sink->written += static_cast<std::int64_t>(bytes);
  return bytes;
}

struct CurlDeleter {
  void (*cleanup)(CURL*);
  void operator()(CURL* curl) const { cleanup(curl); }
};
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Failures that say the server was reached but is not to be trusted.
bool IsTrustFailure(CURLcode code) {
  switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return true;
    default:
      return false;
  }
}

void SetProtocols(const CurlLibrary& curl, CURL* handle) {
  // The URL carries the credentials: only HTTP(S), also after a redirect.
  curl.easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl.easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl.easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl.easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
}

void SetTrust(const CurlLibrary& curl, CURL* handle,
              const DownloadSettings& settings) {
  // A pinned key alone is the trust anchor: the server must hold exactly
  // that key, which no authority could vouch for better. The chain is then
  // not asked for, so that a stock self-signed server can be pinned.
  const bool pin_alone =
      !settings.pinned_key.empty() && settings.ca_file.empty();
  curl.easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, pin_alone ? 0L : 1L);
  curl.easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings.ca_file.empty()) {
    curl.easy_setopt(handle, CURLOPT_CAINFO, settings.ca_file.c_str());
    // Debian's libcurl also looks in /etc/ssl/certs; the file alone counts.
    curl.easy_setopt(handle, CURLOPT_CAPATH, nullptr);
  }
  if (!settings.pinned_key.empty()) {
    curl.easy_setopt(handle, CURLOPT_PINNEDPUBLICKEY,
                     settings.pinned_key.c_str());
  }
}

DownloadOutcome Failed(std::string failure) {
  DownloadOutcome outcome;
  outcome.failure = std::move(failure);
  return outcome;
}

}  // namespace

DownloadOutcome DownloadToFile(const std::string& url,
                               const std::filesystem::path& file,
                               const DownloadSettings& settings) {
  const CurlLibrary* library = LoadCurl();
  if (library == nullptr) return Failed("libcurl could not be loaded");
  const CurlLibrary& curl = *library;
  std::unique_ptr<CURL, CurlDeleter> owned(curl.easy_init(),
                                           {curl.easy_cleanup});
  if (!owned) return Failed("libcurl could not be initialised");
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
  if (!out) return Failed("the work file could not be written");

  Sink sink;
  sink.file = out.get();
  sink.limit = settings.max_bytes;
  CURL* handle = owned.get();
  curl.easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl.easy_setopt(handle, CURLOPT_WRITEFUNCTION, &WriteToSink);
  curl.easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
  // No signals: the time-outs must work on the GUI thread of the orb.
  curl.easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl.easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(settings.connect_timeout.count()));
  curl.easy_setopt(handle, CURLOPT_TIMEOUT_MS,
                   static_cast<long>(settings.total_timeout.count()));
  curl.easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(settings.max_bytes));
  SetProtocols(curl, handle);
  SetTrust(curl, handle, settings);
  curl.easy_setopt(handle, CURLOPT_USERAGENT, "Vigil Panel");

  const CURLcode code = curl.easy_perform(handle);
  DownloadOutcome outcome;
  curl.easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &outcome.http_status);
  const bool closed = std::fclose(out.release()) == 0;
  outcome.timed_out = code == CURLE_OPERATION_TIMEDOUT;
  outcome.untrusted = IsTrustFailure(code);
  if (code != CURLE_OK) {
    // Too large by its announced length, or as it came.
    const bool too_large = sink.too_large || code == CURLE_FILESIZE_EXCEEDED;
    outcome.failure = too_large           ? "the answer is too large"
                      : sink.write_failed ? "the work file could not be written"
                                          : curl.easy_strerror(code);
  } else if (outcome.http_status < 200 || outcome.http_status > 299) {
    outcome.failure = "HTTP status " + std::to_string(outcome.http_status);
  } else if (!closed) {
    outcome.failure = "the work file could not be written";
  } else {
    outcome.ok = true;
  }
  if (!outcome.ok) RemoveFile(file);
  return outcome;
}

}  // namespace vigil
