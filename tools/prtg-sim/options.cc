#include "prtg-sim/options.h"

#include "prtg-sim/sim_text.h"

namespace vigil::sim {

std::optional<Fault> ParseFaultSpec(std::string_view spec) {
  return ParseFault(SplitTrimmed(spec, ':'));
}

OptionsParse ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  const auto fail = [](std::string why) {
    return OptionsParse{std::nullopt, why};
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& flag = arguments[i];
    if (flag == "--no-drift") {
      options.drift = false;
      continue;
    }
    if (flag == "--quiet") {
      options.quiet = true;
      continue;
    }
    if (i + 1 >= arguments.size()) return fail(flag + " needs a value");
    const std::string& value = arguments[++i];
    if (flag == "--port") {
      const std::optional<long long> port = ParseWhole(value);
      if (!port || *port < 0 || *port > 65535)
        return fail("--port must be 0 to 65535");
      options.port = static_cast<int>(*port);
    } else if (flag == "--lifetime") {
      const std::optional<long long> seconds = ParseWhole(value);
      if (!seconds || *seconds < 1 || *seconds > 86400) {
        return fail("--lifetime must be 1 to 86400 seconds");
      }
      options.lifetime_seconds = static_cast<int>(*seconds);
    } else if (flag == "--sensors") {
      options.sensors_path = value;
    } else if (flag == "--user") {
      options.credentials.user = value;
    } else if (flag == "--password") {
      options.credentials.password = value;
    } else if (flag == "--passhash") {
      options.credentials.passhash = value;
    } else if (flag == "--locale") {
      options.locale = ParseLocale(value);
      if (!options.locale) return fail("--locale must be en or de");
    } else if (flag == "--seed") {
      const std::optional<long long> seed = ParseWhole(value);
      if (!seed || *seed < 0) return fail("--seed must be a whole number");
      options.seed = static_cast<uint64_t>(*seed);
    } else if (flag == "--fault") {
      const size_t colon = value.find(':');
      const std::optional<long long> id =
          colon == std::string::npos ? std::nullopt
                                     : ParseWhole(value.substr(0, colon));
      const std::optional<Fault> fault =
          colon == std::string::npos ? std::nullopt
                                     : ParseFaultSpec(value.substr(colon + 1));
      if (!id || !fault) return fail("--fault needs ID:FAULT, got " + value);
      options.id_faults.emplace_back(*id, *fault);
    } else if (flag == "--next") {
      const size_t colon = value.find(':');
      const std::optional<long long> count =
          colon == std::string::npos ? std::nullopt
                                     : ParseWhole(value.substr(0, colon));
      const std::optional<Fault> fault =
          colon == std::string::npos ? std::nullopt
                                     : ParseFaultSpec(value.substr(colon + 1));
      if (!count || *count < 1 || *count > 1000000 || !fault) {
        return fail("--next needs K:FAULT, got " + value);
      }
      options.next_faults.push_back({static_cast<int>(*count), *fault});
    } else {
      return fail("unknown option " + flag);
    }
  }
  if (options.port < 0) return fail("--port is missing");
  if (options.lifetime_seconds <= 0) return fail("--lifetime is missing");
  if (options.sensors_path.empty()) return fail("--sensors is missing");
  if (options.credentials.user.empty() &&
      (!options.credentials.password.empty() ||
       !options.credentials.passhash.empty())) {
    return fail("--password and --passhash need --user");
  }
  if (!options.credentials.user.empty() &&
      options.credentials.password.empty() &&
      options.credentials.passhash.empty()) {
    return fail("--user needs --password or --passhash");
  }
  return {std::move(options), {}};
}

}  // namespace vigil::sim
