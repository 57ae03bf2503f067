// The HTTP side of `vigil serve`: three read-only paths over one wall
// reader, on cpp-httplib, with bounds on threads, waiting connections,
// time-outs, headers and bodies, so that no client can stall the server
// or make it serve anything but the wall's view.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_SERVER_H_
#define VIGIL_TOOLS_VIGIL_SERVE_SERVER_H_

#include <httplib.h>

#include <chrono>
#include <string>

#include "store/result.h"
#include "vigil/serve_wall_reader.h"

namespace vigil::cli {

struct ServeLimits {
  size_t threads = 16;
  size_t most_waiting = 64;  // accepted connections no thread has yet
  // For each read and write, and between the requests of one connection.
  std::chrono::seconds timeout{2};
  size_t most_requests_per_connection = 20;
  size_t most_headers = 64;
  size_t most_body_bytes = 1024;  // nothing here takes a body
};

class WallServer {
 public:
  explicit WallServer(WallReader& reader, ServeLimits limits = {});
  WallServer(const WallServer&) = delete;
  WallServer& operator=(const WallServer&) = delete;

  // The port now bound: the one asked for, or a free one for port 0.
  Result<int> Bind(const std::string& address, int port);
  // Serves until Stop(); false when it could not listen.
  bool Serve();
  // From any thread, once Serve() has begun.
  void Stop();

 private:
  void SetLimits();
  void SetRoutes();
  httplib::Server::HandlerResponse Screen(const httplib::Request& request,
                                          httplib::Response& response) const;

  WallReader& reader_;
  const ServeLimits limits_;
  httplib::Server server_;
};

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_SERVER_H_
