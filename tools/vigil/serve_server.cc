#include "vigil/serve_server.h"

#include "vigil/serve_json.h"
#include "vigil/serve_metrics.h"
#include "vigil/serve_page.h"
#include "vigil/serve_task_queue.h"

namespace vigil::cli {
namespace {

constexpr int kMethodNotAllowed = 405;
constexpr int kHeadersTooLarge = 431;

// The page runs its own inline script and asks this server only.
constexpr char kPagePolicy[] =
    "default-src 'none'; script-src 'unsafe-inline'; style-src "
    "'unsafe-inline'; connect-src 'self'; base-uri 'none'; form-action "
    "'none'; frame-ancestors 'none'";

std::string ReasonOf(int status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case kMethodNotAllowed:
      return "Method Not Allowed";
    case 413:
      return "Payload Too Large";
    case 414:
      return "URI Too Long";
    case kHeadersTooLarge:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    default:
      return "Refused";
  }
}

std::string StatusText(int status) {
  return std::to_string(status) + " " + ReasonOf(status) + "\n";
}

}  // namespace

WallServer::WallServer(WallReader& reader, ServeLimits limits)
    : reader_(reader), limits_(limits) {
  SetLimits();
  SetRoutes();
}

void WallServer::SetLimits() {
  const size_t threads = limits_.threads;
  const size_t most_waiting = limits_.most_waiting;
  server_.new_task_queue = [threads, most_waiting] {
    return new BoundedTaskQueue(threads, most_waiting);
  };
  server_.set_read_timeout(limits_.timeout);
  server_.set_write_timeout(limits_.timeout);
  server_.set_keep_alive_timeout(limits_.timeout.count());
  server_.set_keep_alive_max_count(limits_.most_requests_per_connection);
  server_.set_payload_max_length(limits_.most_body_bytes);
  server_.set_default_headers({{"Cache-Control", "no-store"},
                               {"X-Content-Type-Options", "nosniff"},
                               {"Referrer-Policy", "no-referrer"}});
}

httplib::Server::HandlerResponse WallServer::Screen(
    const httplib::Request& request, httplib::Response& response) const {
  if (request.headers.size() > limits_.most_headers) {
    response.status = kHeadersTooLarge;
  } else if (request.method != "GET" && request.method != "HEAD") {
    response.status = kMethodNotAllowed;
    response.set_header("Allow", "GET, HEAD");
  } else {
    return httplib::Server::HandlerResponse::Unhandled;
  }
  response.set_content(StatusText(response.status), "text/plain");
  return httplib::Server::HandlerResponse::Handled;
}

void WallServer::SetRoutes() {
  server_.set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        return Screen(request, response);
      });
  server_.Get("/", [this](const httplib::Request&, httplib::Response& page) {
    page.set_header("Content-Security-Policy", kPagePolicy);
    page.set_content(WallPage(WallJson(reader_.Look())),
                     "text/html; charset=utf-8");
  });
  server_.Get("/api/wall", [this](const httplib::Request&,
                                  httplib::Response& response) {
    response.set_content(WallJson(reader_.Look()), "application/json");
  });
  server_.Get("/metrics",
              [this](const httplib::Request&, httplib::Response& response) {
                response.set_content(WallMetrics(reader_.Look()),
                                     std::string(kMetricsContentType));
              });
  // Every other path, and a request the library refuses, gets its status
  // in words and nothing else.
  server_.set_error_handler(
      [](const httplib::Request&, httplib::Response& response) {
        response.set_content(StatusText(response.status), "text/plain");
      });
  server_.set_exception_handler([](const httplib::Request&,
                                   httplib::Response& response,
                                   std::exception_ptr) {
    response.status = 500;
    response.set_content(StatusText(500), "text/plain");
  });
}

Result<int> WallServer::Bind(const std::string& address, int port) {
  if (port == 0) {
    const int bound = server_.bind_to_any_port(address);
    if (bound > 0) return bound;
  } else if (server_.bind_to_port(address, port)) {
    return port;
  }
  return Failure("cannot listen on " + address + " port " +
                 std::to_string(port));
}

bool WallServer::Serve() { return server_.listen_after_bind(); }

void WallServer::Stop() { server_.stop(); }

}  // namespace vigil::cli
