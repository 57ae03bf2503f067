#include "prtg-sim/options.h"

#include "common/tool_text.h"

namespace vigil::sim {

std::optional<Fault> ParseFaultText(std::string_view text) {
  return ParseFault(tools::SplitTrimmed(text, ':'));
}

namespace {

// "N:FAULT", as --fault and --next take it.
struct NumberedFault {
  long long number = 0;
  Fault fault;
};

std::optional<NumberedFault> ParseNumberedFault(std::string_view value) {
  const size_t colon = value.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::optional<long long> number =
      tools::ParseWhole(value.substr(0, colon));
  const std::optional<Fault> fault = ParseFaultText(value.substr(colon + 1));
  if (!number || !fault) return std::nullopt;
  return NumberedFault{*number, *fault};
}

}  // namespace

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
      const std::optional<long long> port = tools::ParseWhole(value);
      if (!port || *port < 0 || *port > 65535)
        return fail("--port must be 0 to 65535");
      options.port = static_cast<int>(*port);
    } else if (flag == "--lifetime") {
      const std::optional<long long> seconds = tools::ParseWhole(value);
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
      const std::optional<long long> seed = tools::ParseWhole(value);
      if (!seed || *seed < 0) return fail("--seed must be a whole number");
      options.seed = static_cast<uint64_t>(*seed);
    } else if (flag == "--fault") {
      const std::optional<NumberedFault> id_fault = ParseNumberedFault(value);
      if (!id_fault) return fail("--fault needs ID:FAULT, got " + value);
      options.id_faults.emplace_back(id_fault->number, id_fault->fault);
    } else if (flag == "--next") {
      const std::optional<NumberedFault> next = ParseNumberedFault(value);
      if (!next || next->number < 1 || next->number > 1000000) {
        return fail("--next needs K:FAULT, got " + value);
      }
      options.next_faults.push_back(
          {static_cast<int>(next->number), next->fault});
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
