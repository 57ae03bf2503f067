// What the files of one lock name tell about the orbs that share it: the
// holder writes its stem and pid into the lock file, and an orb that waits
// for a held lock keeps a wait marker naming the lock. Siblings need
// neither; the operator's tools read them to say who waits for whom.
#ifndef VIGIL_STORE_LOCK_HOLDER_H_
#define VIGIL_STORE_LOCK_HOLDER_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil {

// stem.Wat, holding the lock name, while the orb waits for that lock.
inline constexpr std::string_view kWaitMarker = ".Wat";

struct LockHolder {
  std::string stem;  // "AuxOrb0203"
  long pid = 0;
  friend bool operator==(const LockHolder&, const LockHolder&) = default;
};

// "AuxOrb0203 4711\n"
std::string LockHolderText(const LockHolder& holder);

// Nullopt for an empty file (an older orb, or one that has yet to write)
// or any other text.
std::optional<LockHolder> ParseLockHolder(std::string_view text);

}  // namespace vigil

#endif  // VIGIL_STORE_LOCK_HOLDER_H_
