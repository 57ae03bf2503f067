// The one-line description of the machine for the result's text element,
// built from the texts of /etc/os-release, /proc/sys/kernel/osrelease,
// /proc/uptime and /proc/cpuinfo. A missing text leaves its part out.
#ifndef VIGIL_TOOLS_SENSOR_MACHINE_TEXT_H_
#define VIGIL_TOOLS_SENSOR_MACHINE_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil::sensor {

struct MachineFacts {
  std::string host_name;
  std::string os_release_text;
  std::string kernel_release_text;
  std::string uptime_text;
  std::string cpuinfo_text;
};

// PRETTY_NAME of os-release, unquoted; empty when absent.
std::string PrettyOsName(std::string_view os_release_text);

// Whole seconds from the first field of /proc/uptime.
std::optional<long long> UptimeSeconds(std::string_view uptime_text);

// "up 3d 04:05" or "up 00:07".
std::string FormatUptime(long long seconds);

int CountProcessors(std::string_view cpuinfo_text);

// "vm: Debian GNU/Linux 12 [bookworm], kernel 6.1.0, 2 CPUs, up 00:07";
// safe for the result reader (no parentheses, no markup characters).
std::string DescribeMachine(const MachineFacts& facts);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_MACHINE_TEXT_H_
