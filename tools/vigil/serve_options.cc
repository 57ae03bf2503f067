#include "vigil/serve_options.h"

#include "store/text.h"
#include "vigil/option_words.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

constexpr int kHighestPort = 65535;

Result<void> ReadListen(const std::string& listen, ServeOptions& options) {
  const size_t colon = listen.rfind(':');
  const Error wrong =
      Failure("--listen takes ADDRESS:PORT, such as 127.0.0.1:8765");
  if (colon == std::string::npos) return wrong;
  std::string address = listen.substr(0, colon);
  if (address.size() >= 2 && address.front() == '[' && address.back() == ']') {
    address = address.substr(1, address.size() - 2);
  } else if (address.find(':') != std::string::npos) {
    return Failure("--listen: write an IPv6 address in brackets, [::1]:8765");
  }
  const std::string port = listen.substr(colon + 1);
  const auto number =
      IsDigits(port) && port.size() <= 5 ? ParseInteger(port) : std::nullopt;
  if (address.empty() || !number || *number > kHighestPort) return wrong;
  options.address = address;
  options.port = *number;
  return {};
}

}  // namespace

Result<ServeOptions> ParseServeOptions(const Words& words) {
  const Result<OptionWords> words_read =
      ParseOptionWords(words, {"dir", "mode", "listen"}, {});
  if (!words_read) return Failure(words_read.error());
  const OptionWords& parsed = *words_read;
  if (!parsed.positional.empty()) {
    return Failure("unexpected word " + parsed.positional.front());
  }
  ServeOptions options;
  if (const auto dir = parsed.Value("dir")) {
    if (dir->empty()) return Failure("--dir takes a value");
    options.dir = *dir;
  }
  for (const std::string& mode : parsed.Values("mode")) {
    if (!IsModeWord(mode)) {
      return Failure("--mode takes RfcOrb, HttpOrb or AuxOrb");
    }
    options.modes.push_back(mode);
  }
  if (const auto listen = parsed.Value("listen")) {
    if (auto read = ReadListen(*listen, options); !read) {
      return Failure(read.error());
    }
  }
  return options;
}

}  // namespace vigil::cli
