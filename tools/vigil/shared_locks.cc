#include "vigil/shared_locks.h"

#include <algorithm>

#include "store/orbs_file.h"
#include "vigil/orbs_file_check.h"
#include "vigil/shown_text.h"

namespace vigil::cli {

std::vector<SharedLock> SharedLocks(const std::vector<std::string>& lines,
                                    const std::string& mode_word) {
  std::vector<SharedLock> locks;
  for (const std::string& number : RecordNumbers(lines, mode_word)) {
    const OrbLines orb = ScanOrb(lines, mode_word, number);
    if (!orb.record) continue;
    const std::string name = orb.record->LockName(mode_word);
    if (name.empty()) continue;
    auto lock = std::find_if(
        locks.begin(), locks.end(),
        [&](const SharedLock& known) { return known.lock_name == name; });
    if (lock == locks.end()) {
      locks.push_back({name, {number}});
    } else {
      lock->numbers.push_back(number);
    }
  }
  std::erase_if(locks,
                [](const SharedLock& lock) { return lock.numbers.size() < 2; });
  return locks;
}

std::string SharedLockNote(const SharedLock& lock) {
  std::string numbers;
  for (const std::string& number : lock.numbers) {
    numbers += (numbers.empty() ? "" : ", ") + number;
  }
  return "lock " + Quoted(lock.lock_name) + " is shared by " + numbers +
         ": they take turns, and a sensor that hangs holds them all";
}

}  // namespace vigil::cli
