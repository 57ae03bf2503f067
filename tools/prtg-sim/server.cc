#include "prtg-sim/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "prtg-sim/http_request.h"

namespace vigil::sim {
namespace {

constexpr auto kRequestLimit = std::chrono::seconds(10);
constexpr auto kWriteLimit = std::chrono::seconds(10);
constexpr auto kDrainLimit = std::chrono::seconds(2);
// Past this many open connections new ones wait in the listen backlog.
constexpr size_t kMaxConnections = 64;

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

}  // namespace

Server::Server(RequestRouter& router, ServerSettings settings)
    : router_(router), settings_(settings) {}

Server::~Server() {
  for (Connection& connection : connections_) Close(connection);
  if (listener_ >= 0) close(listener_);
}

bool Server::Listen() {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener_ < 0) {
    std::fprintf(stderr, "prtg-sim: socket: %s\n", std::strerror(errno));
    return false;
  }
  const int on = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(settings_.port));
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) !=
          0 ||
      listen(listener_, 64) != 0) {
    std::fprintf(stderr, "prtg-sim: cannot listen on 127.0.0.1:%d: %s\n",
                 settings_.port, std::strerror(errno));
    return false;
  }
  socklen_t length = sizeof(address);
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return true;
}

void Server::Run(const volatile std::sig_atomic_t& stop) {
  started_ = Clock::now();
  const Clock::time_point end = started_ + settings_.lifetime;
  std::vector<pollfd> polled;
  while (!stop) {
    Clock::time_point now = Clock::now();
    if (now >= end) break;

    polled.clear();
    Clock::time_point wake = end;
    for (const Connection& connection : connections_) {
      const short events =
          connection.phase == Phase::kWriting ? POLLOUT : POLLIN;
      polled.push_back({connection.fd, events, 0});
      if (!connection.infinite) wake = std::min(wake, connection.deadline);
    }
    const size_t watched = connections_.size();
    const bool accepting = connections_.size() < kMaxConnections;
    if (accepting) polled.push_back({listener_, POLLIN, 0});

    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(wake - now);
    // Wake at least once a second so that a stop request is seen.
    const int timeout =
        static_cast<int>(std::clamp<long long>(wait.count() + 1, 0, 1000));
    const int ready = poll(polled.data(), polled.size(), timeout);
    if (ready < 0 && errno != EINTR) {
      std::fprintf(stderr, "prtg-sim: poll: %s\n", std::strerror(errno));
      break;
    }

    for (size_t i = 0; ready > 0 && i < watched; ++i) {
      const short revents = polled[i].revents;
      Connection& connection = connections_[i];
      if (revents == 0 || connection.fd < 0) continue;
      if (connection.phase == Phase::kWriting) {
        OnWritable(connection);
      } else {
        OnReadable(connection);
      }
    }
    now = Clock::now();
    for (Connection& connection : connections_) {
      if (connection.fd >= 0 && !connection.infinite &&
          now >= connection.deadline) {
        OnDeadline(connection);
      }
    }
    connections_.erase(
        std::remove_if(connections_.begin(), connections_.end(),
                       [](const Connection& c) { return c.fd < 0; }),
        connections_.end());
    if (accepting && ready > 0 && (polled.back().revents & POLLIN)) Accept();
  }
  for (Connection& connection : connections_) Close(connection);
  connections_.clear();
  if (!settings_.quiet) {
    std::fprintf(stderr, "prtg-sim: %s, ending\n",
                 stop ? "asked to stop" : "lifetime over");
  }
}

void Server::Accept() {
  while (connections_.size() < kMaxConnections) {
    const int fd =
        accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;  // EAGAIN, or a client that gave up already
    Connection connection;
    connection.fd = fd;
    connection.deadline = Clock::now() + kRequestLimit;
    connections_.push_back(std::move(connection));
  }
}

void Server::OnReadable(Connection& connection) {
  char buffer[4096];
  const ssize_t count = recv(connection.fd, buffer, sizeof(buffer), 0);
  if (count < 0 && WouldBlock(errno)) return;
  if (count <= 0) {
    // The client closed or failed; whatever was pending is moot.
    Close(connection);
    return;
  }
  if (connection.phase != Phase::kReading) return;  // discarded
  connection.received.append(buffer, static_cast<size_t>(count));
  if (HeadLength(connection.received) ||
      connection.received.size() > kMaxHeadBytes) {
    Dispatch(connection);
  }
}

void Server::Dispatch(Connection& connection) {
  const std::optional<size_t> head_length = HeadLength(connection.received);
  std::optional<HttpRequest> request;
  if (head_length && *head_length <= kMaxHeadBytes) {
    request = ParseRequestHead(
        std::string_view(connection.received).substr(0, *head_length));
  }
  const Reply reply = router_.Answer(request);
  const std::string target =
      request ? MaskSecrets(request->target) : "(malformed)";
  Log((request ? request->method + " " : std::string()) + target + " -> " +
      std::to_string(reply.status) +
      (reply.note.empty() ? "" : " [" + reply.note + "]"));
  connection.received.clear();
  connection.head_only = request && request->method == "HEAD";

  const std::string_view body =
      connection.head_only ? std::string_view() : std::string_view(reply.body);
  const long long length = static_cast<long long>(reply.body.size());
  switch (reply.delivery) {
    case Delivery::kDrop:
      Close(connection);
      return;
    case Delivery::kStall:
      connection.phase = Phase::kStalled;
      connection.infinite = true;
      return;
    case Delivery::kNormal:
      connection.to_send =
          ResponseHead(reply.status, reply.content_type, length);
      connection.to_send += body;
      StartWriting(connection);
      return;
    case Delivery::kDelay:
      connection.to_send =
          ResponseHead(reply.status, reply.content_type, length);
      connection.to_send += body;
      connection.phase = Phase::kDelayed;
      connection.deadline =
          Clock::now() + std::chrono::seconds(reply.delay_seconds);
      return;
    case Delivery::kHalf:
      // No length: the client sees a complete transfer of half a document.
      connection.to_send = ResponseHead(reply.status, reply.content_type, -1);
      connection.to_send += body.substr(0, body.size() / 2);
      StartWriting(connection);
      return;
    case Delivery::kTrickle:
      connection.to_send =
          ResponseHead(reply.status, reply.content_type, length);
      connection.to_send += body;
      connection.trickle = true;
      TrickleByte(connection);
      return;
    case Delivery::kShort:
      connection.to_send =
          ResponseHead(reply.status, reply.content_type, length);
      connection.to_send += body.substr(0, body.size() / 2);
      StartWriting(connection);
      return;
  }
}

void Server::StartWriting(Connection& connection) {
  connection.phase = Phase::kWriting;
  connection.sent = 0;
  connection.deadline = Clock::now() + kWriteLimit;
}

void Server::OnWritable(Connection& connection) {
  while (connection.sent < connection.to_send.size()) {
    const ssize_t count =
        send(connection.fd, connection.to_send.data() + connection.sent,
             connection.to_send.size() - connection.sent, MSG_NOSIGNAL);
    if (count < 0 && WouldBlock(errno)) return;
    if (count <= 0) {
      Close(connection);
      return;
    }
    connection.sent += static_cast<size_t>(count);
  }
  FinishWriting(connection);
}

void Server::TrickleByte(Connection& connection) {
  if (connection.sent < connection.to_send.size() &&
      send(connection.fd, connection.to_send.data() + connection.sent, 1,
           MSG_NOSIGNAL) == 1) {
    ++connection.sent;
  }
  if (connection.sent == connection.to_send.size()) {
    FinishWriting(connection);
    return;
  }
  connection.phase = Phase::kDelayed;
  connection.deadline = Clock::now() + std::chrono::seconds(1);
}

void Server::FinishWriting(Connection& connection) {
  // Half-close and wait for the client's close: closing at once with
  // unread input would reset the connection and could lose the answer.
  shutdown(connection.fd, SHUT_WR);
  connection.phase = Phase::kDraining;
  connection.deadline = Clock::now() + kDrainLimit;
}

void Server::OnDeadline(Connection& connection) {
  switch (connection.phase) {
    case Phase::kDelayed:
      if (connection.trickle) {
        TrickleByte(connection);
      } else {
        StartWriting(connection);
      }
      return;
    case Phase::kReading:
      Log("request not complete within the time limit, closed");
      Close(connection);
      return;
    case Phase::kWriting:
      Log("answer not taken within the time limit, closed");
      Close(connection);
      return;
    case Phase::kStalled:
    case Phase::kDraining:
      Close(connection);
      return;
  }
}

void Server::Close(Connection& connection) {
  if (connection.fd >= 0) close(connection.fd);
  connection.fd = -1;
}

void Server::Log(const std::string& line) const {
  if (settings_.quiet) return;
  const double seconds =
      std::chrono::duration<double>(Clock::now() - started_).count();
  std::fprintf(stderr, "prtg-sim %8.3fs %s\n", seconds, line.c_str());
}

}  // namespace vigil::sim
