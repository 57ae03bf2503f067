// vigil serve [--dir DIR] [--listen ADDRESS:PORT]: the wall as a web
// page, a JSON view and a Prometheus endpoint, read from its files.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "vigil/command_usage.h"
#include "vigil/commands.h"
#include "vigil/end_signals.h"
#include "vigil/serve_options.h"
#include "vigil/serve_server.h"
#include "vigil/serve_wall_reader.h"
#include "vigil/wall_options.h"

namespace vigil::cli {
namespace {

volatile sig_atomic_t serve_ended = 0;

void EndServe(int) { serve_ended = 1; }

void CatchServeSignals() {
  serve_ended = 0;
  CatchEndSignals(EndServe);
  // A client that goes away mid-answer is no reason to end.
  signal(SIGPIPE, SIG_IGN);
}

std::string UrlOf(const std::string& address, int port) {
  const bool v6 = address.find(':') != std::string::npos;
  return "http://" + (v6 ? "[" + address + "]" : address) + ":" +
         std::to_string(port) + "/";
}

}  // namespace

int RunServe(const Words& words, std::ostream& out, std::ostream& err) {
  const Result<ServeOptions> parsed = ParseServeOptions(words);
  if (!parsed) {
    err << "vigil serve: " << parsed.error() << "\n" << UsageLineOf("serve");
    return 2;
  }
  const ServeOptions& options = *parsed;
  const Result<std::filesystem::path> resolved = ResolvedWallDir(options.dir);
  if (!resolved) {
    err << "vigil: " << resolved.error() << "\n";
    return 2;
  }
  const std::filesystem::path& dir = *resolved;
  WallReader reader(dir, options.modes);
  WallServer server(reader);
  const Result<int> port = server.Bind(options.address, options.port);
  if (!port) {
    err << "vigil serve: " << port.error() << "\n";
    return 1;
  }
  CatchServeSignals();
  out << "serving " << dir.string() << " on " << UrlOf(options.address, *port)
      << "\n"
      << std::flush;
  std::atomic<bool> served{false};
  std::thread stopper([&] {
    while (!served) {
      if (serve_ended) server.Stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  const bool listened = server.Serve();
  served = true;
  stopper.join();
  if (!listened && !serve_ended) {
    err << "vigil serve: the server ended unexpectedly\n";
    return 1;
  }
  out << "serving ended\n";
  return 0;
}

}  // namespace vigil::cli
