// The words of `vigil serve`: where the wall is and where to listen.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_OPTIONS_H_
#define VIGIL_TOOLS_VIGIL_SERVE_OPTIONS_H_

#include <filesystem>
#include <string>
#include <vector>

#include "store/result.h"
#include "vigil/commands.h"

namespace vigil::cli {

// Loopback unless another address is asked for.
inline constexpr char kDefaultListenAddress[] = "127.0.0.1";
inline constexpr int kDefaultListenPort = 8765;

struct ServeOptions {
  std::filesystem::path dir = ".";
  std::vector<std::string> modes;  // empty: every mode with an orbs file
  std::string address = kDefaultListenAddress;  // without IPv6 brackets
  int port = kDefaultListenPort;                // 0: any free port
};

// --dir DIR, --mode MODE (repeatable) and --listen ADDRESS:PORT, where an
// IPv6 address is written in brackets ("[::1]:8765").
Result<ServeOptions> ParseServeOptions(const Words& words);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_OPTIONS_H_
