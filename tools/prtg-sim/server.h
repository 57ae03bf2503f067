// The listening side: one thread, one poll loop over the listening socket
// and every open connection, so that a stalled or slow answer never holds
// up the others. Every connection has a time limit for each phase.
#ifndef VIGIL_TOOLS_PRTG_SIM_SERVER_H_
#define VIGIL_TOOLS_PRTG_SIM_SERVER_H_

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include "prtg-sim/request_router.h"

namespace vigil::sim {

struct ServerSettings {
  int port = 0;  // 0 picks a free one
  std::chrono::seconds lifetime{60};
  bool quiet = false;
};

class Server {
 public:
  Server(RequestRouter& router, ServerSettings settings);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds 127.0.0.1; false with a message on stderr when it cannot.
  bool Listen();
  int port() const { return port_; }

  // Serves until the lifetime is over or stop turns non-zero.
  void Run(const volatile std::sig_atomic_t& stop);

 private:
  using Clock = std::chrono::steady_clock;
  enum class Phase { kReading, kWriting, kDelayed, kStalled, kDraining };

  struct Connection {
    int fd = -1;
    Phase phase = Phase::kReading;
    Clock::time_point deadline;  // end of this phase
    bool infinite = false;       // a stall waits for the client to give up
    std::string received;
    std::string to_send;
    size_t sent = 0;
    bool head_only = false;
    bool trickle = false;  // one byte a second
  };

  void Accept();
  void OnReadable(Connection& connection);
  void OnWritable(Connection& connection);
  void OnDeadline(Connection& connection);
  void Dispatch(Connection& connection);
  void StartWriting(Connection& connection);
  void FinishWriting(Connection& connection);
  void TrickleByte(Connection& connection);
  void Close(Connection& connection);
  void Log(const std::string& line) const;

  RequestRouter& router_;
  ServerSettings settings_;
  int listener_ = -1;
  int port_ = 0;
  Clock::time_point started_;
  std::vector<Connection> connections_;
};

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_SERVER_H_
