// A tiny HTTP client for 127.0.0.1, enough to see exactly what the PRTG
// simulator sends: every byte, or that it sent nothing at all.
#ifndef VIGIL_TESTS_TOOLS_LOOPBACK_HTTP_H_
#define VIGIL_TESTS_TOOLS_LOOPBACK_HTTP_H_

#include <chrono>
#include <string>
#include <string_view>

namespace vigil::tools_test {

struct HttpExchange {
  bool connected = false;
  bool timed_out = false;  // the server kept the connection open and silent
  std::string raw;         // everything received
  int status = 0;          // 0 when no status line arrived
  std::string head;
  std::string body;
};

// Sends the bytes as they are and reads until the server closes.
HttpExchange SendRaw(int port, std::string_view bytes,
                     std::chrono::milliseconds timeout);

// GET target (path and query) with "Connection: close".
HttpExchange Get(int port, std::string_view target,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5));

// The value of a header of the answer, empty when it is absent.
std::string HeaderValue(const HttpExchange& exchange, std::string_view name);

}  // namespace vigil::tools_test

#endif  // VIGIL_TESTS_TOOLS_LOOPBACK_HTTP_H_
