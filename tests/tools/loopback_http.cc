#include "tools/loopback_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace vigil::tools_test {

using Clock = std::chrono::steady_clock;

HttpExchange SendRaw(int port, std::string_view bytes,
                     std::chrono::milliseconds timeout) {
  HttpExchange exchange;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return exchange;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) !=
      0) {
    close(fd);
    return exchange;
  }
  exchange.connected = true;
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t count =
        send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count <= 0) break;
    sent += static_cast<size_t>(count);
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - Clock::now());
    pollfd waiting{fd, POLLIN, 0};
    if (left.count() <= 0 ||
        poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
      exchange.timed_out = true;
      break;
    }
    char chunk[4096];
    const ssize_t count = recv(fd, chunk, sizeof(chunk), 0);
    if (count <= 0) break;
    exchange.raw.append(chunk, static_cast<size_t>(count));
  }
  close(fd);

  const size_t head_end = exchange.raw.find("\r\n\r\n");
  if (exchange.raw.rfind("HTTP/1.1 ", 0) == 0 &&
      head_end != std::string::npos) {
    exchange.status = std::atoi(exchange.raw.c_str() + 9);
    exchange.head = exchange.raw.substr(0, head_end + 2);
    exchange.body = exchange.raw.substr(head_end + 4);
  }
  return exchange;
}

HttpExchange Get(int port, std::string_view target,
                 std::chrono::milliseconds timeout) {
  std::string request = "GET ";
  request += target;
  request += " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  return SendRaw(port, request, timeout);
}

std::string HeaderValue(const HttpExchange& exchange, std::string_view name) {
  size_t start = exchange.head.find("\r\n");
  while (start != std::string::npos && start + 2 < exchange.head.size()) {
    start += 2;
    const size_t end = exchange.head.find("\r\n", start);
    const std::string line = exchange.head.substr(start, end - start);
    const size_t colon = line.find(':');
    if (colon == name.size()) {
      bool same = true;
      for (size_t i = 0; i < colon; ++i) {
        same = same && std::tolower(static_cast<unsigned char>(line[i])) ==
                           std::tolower(static_cast<unsigned char>(name[i]));
      }
      if (same) {
        size_t value = colon + 1;
        while (value < line.size() && line[value] == ' ') ++value;
        return line.substr(value);
      }
    }
    start = end;
  }
  return {};
}

}  // namespace vigil::tools_test
