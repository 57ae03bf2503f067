// Local file systems from the text of /proc/self/mounts, and how full they
// are. Pseudo, memory-backed, network and read-only image file systems do
// not count: they are never "the disk that fills up".
#ifndef VIGIL_TOOLS_SENSOR_FILE_SYSTEMS_H_
#define VIGIL_TOOLS_SENSOR_FILE_SYSTEMS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::sensor {

struct Mount {
  std::string device;
  std::string mount_point;
  std::string type;
};

// Block counts as statvfs gives them, in fragment-size units.
struct BlockCounts {
  uint64_t total = 0;
  uint64_t free = 0;       // including the blocks reserved for root
  uint64_t available = 0;  // free to ordinary users
};

struct DiskReading {
  std::string mount_point;
  std::string type;
  double used_percent = 0;
};

// Every well-formed line; "\040" and the other octal escapes are decoded.
std::vector<Mount> ParseMounts(std::string_view mounts_text);

bool IsLocalFileSystem(const Mount& mount);

// Used share as df shows it: the root reserve counts neither as used nor as
// available. nullopt for a file system without blocks.
std::optional<double> UsedPercent(const BlockCounts& counts);

// The fullest reading; the first one wins a tie. nullopt when empty.
std::optional<DiskReading> Fullest(const std::vector<DiskReading>& readings);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_FILE_SYSTEMS_H_
