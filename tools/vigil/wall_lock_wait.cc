#include "vigil/wall_lock_wait.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <optional>

#include "store/lock_holder.h"
#include "store/orb_names.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/launcher_process.h"

namespace vigil::cli {
namespace {

std::optional<double> FileAge(const std::filesystem::path& file) {
  struct stat status {};
  if (stat(file.c_str(), &status) != 0) return std::nullopt;
  return std::max<double>(0,
                          std::difftime(std::time(nullptr), status.st_mtime));
}

std::string Seconds(double seconds) {
  return std::to_string(static_cast<long long>(seconds)) + " s";
}

// The holder's process when it is still the one that wrote the lock file:
// a pid younger than the file is another program's by now.
std::optional<double> HolderAge(const LockHolder& holder, double lock_age) {
  const auto age = ProcessAge(static_cast<pid_t>(holder.pid));
  if (!age || *age + 1 < lock_age) return std::nullopt;
  return age;
}

// The sensor is the holder's oldest child, its /bin/sh.
std::optional<double> SensorAge(const LockHolder& holder) {
  std::optional<double> oldest;
  for (const pid_t child : ChildProcesses(static_cast<pid_t>(holder.pid))) {
    const auto age = ProcessAge(child);
    if (age && (!oldest || *age > *oldest)) oldest = age;
  }
  return oldest;
}

std::string HolderText(const std::optional<LockHolder>& holder,
                       double lock_age) {
  if (!holder) {
    return "held for " + Seconds(lock_age) +
           " by an orb that does not name itself";
  }
  if (!HolderAge(*holder, lock_age)) {
    return "held by " + holder->stem + ", an orb that ended";
  }
  if (const auto sensor = SensorAge(*holder)) {
    return "held by " + holder->stem + ", its sensor running for " +
           Seconds(*sensor);
  }
  return "held by " + holder->stem + " for " + Seconds(lock_age) +
         ", no sensor running";
}

}  // namespace

std::string LockWaitText(const std::filesystem::path& working_dir,
                         std::string_view stem) {
  const auto marker = ReadFileBytes(
      working_dir / (std::string(stem) + std::string(kWaitMarker)));
  if (!marker) return {};
  const std::string lock_name = Trim(*marker);
  if (lock_name.empty()) return {};
  const std::filesystem::path lock = working_dir / LockFileName(lock_name);
  const auto lock_age = FileAge(lock);
  if (!lock_age) return {};
  const auto holder = ParseLockHolder(ReadFileBytes(lock).value_or(""));
  // The orb holds the lock itself: the marker is one it left.
  if (holder && holder->stem == stem) return {};
  return "waiting for lock " + lock_name + " (" +
         HolderText(holder, *lock_age) + ")";
}

}  // namespace vigil::cli
