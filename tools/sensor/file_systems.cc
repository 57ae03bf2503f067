#include "sensor/file_systems.h"

#include <set>

#include "common/tool_text.h"

namespace vigil::sensor {
namespace {

// Types that are never a local disk, even with a /dev device name.
const std::set<std::string, std::less<>>& NonLocalTypes() {
  static const std::set<std::string, std::less<>> kTypes = {
      "autofs",    "binfmt_misc", "bpf",        "cgroup",     "cgroup2",
      "cifs",      "configfs",    "debugfs",    "devpts",     "devtmpfs",
      "efivarfs",  "fusectl",     "hugetlbfs",  "iso9660",    "mqueue",
      "nfs",       "nfs4",        "nsfs",       "overlay",    "proc",
      "pstore",    "ramfs",       "rpc_pipefs", "securityfs", "smb3",
      "squashfs",  "sysfs",       "tmpfs",      "tracefs",    "udf",
      "aufs",      "ceph",        "glusterfs",  "9p",         "virtiofs",
      "selinuxfs", "erofs",       "zram"};
  return kTypes;
}

// Mount fields escape blank, tab, newline and backslash as \ooo.
std::string DecodeField(std::string_view field) {
  std::string decoded;
  decoded.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      bool octal = true;
      for (char d : digits) octal = octal && d >= '0' && d <= '7';
      if (octal) {
        decoded += static_cast<char>((digits[0] - '0') * 64 +
                                     (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    decoded += field[i];
  }
  return decoded;
}

}  // namespace

std::vector<Mount> ParseMounts(std::string_view mounts_text) {
  std::vector<Mount> mounts;
  for (const std::string& line : tools::SplitLines(mounts_text)) {
    const std::vector<std::string> words = tools::SplitWords(line);
    if (words.size() < 3) continue;
    mounts.push_back(
        {DecodeField(words[0]), DecodeField(words[1]), DecodeField(words[2])});
  }
  return mounts;
}

bool IsLocalFileSystem(const Mount& mount) {
  if (mount.mount_point.empty() || mount.mount_point[0] != '/') return false;
  if (mount.type.rfind("fuse", 0) == 0) return false;  // fuse, fuse.sshfs...
  if (NonLocalTypes().count(mount.type) > 0) return false;
  // ZFS names its datasets "pool/dataset"; everything else local is a
  // block device.
  if (mount.type == "zfs") return true;
  return mount.device.rfind("/dev/", 0) == 0;
}

std::optional<double> UsedPercent(const BlockCounts& counts) {
  if (counts.total == 0 || counts.free > counts.total) return std::nullopt;
  const double used = static_cast<double>(counts.total - counts.free);
  const double usable = used + static_cast<double>(counts.available);
  if (usable <= 0) return std::nullopt;
  const double percent = used * 100.0 / usable;
  return percent > 100.0 ? 100.0 : percent;
}

std::optional<DiskReading> Fullest(const std::vector<DiskReading>& readings) {
  std::optional<DiskReading> fullest;
  for (const DiskReading& reading : readings) {
    if (!fullest || reading.used_percent > fullest->used_percent) {
      fullest = reading;
    }
  }
  return fullest;
}

}  // namespace vigil::sensor
