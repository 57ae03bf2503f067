// Which orbs of an orbs file take turns on one lock: they share its lock
// name, so a sensor that hangs holds every one of them.
#ifndef VIGIL_TOOLS_VIGIL_SHARED_LOCKS_H_
#define VIGIL_TOOLS_VIGIL_SHARED_LOCKS_H_

#include <string>
#include <vector>

namespace vigil::cli {

struct SharedLock {
  std::string lock_name;
  std::vector<std::string> numbers;  // two or more, in file order
};

// Lock names that two or more records share, in the order of their first
// record.
std::vector<SharedLock> SharedLocks(const std::vector<std::string>& lines,
                                    const std::string& mode_word);

// "lock "SRC" is shared by 0102, 0305: they take turns, ..."
std::string SharedLockNote(const SharedLock& lock);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SHARED_LOCKS_H_
