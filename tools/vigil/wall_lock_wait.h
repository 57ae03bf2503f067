// Which lock a running orb waits for and who holds it, from the files the
// orbs keep for the operator: the wait marker (STEM.Wat, the lock name)
// and the lock file (NAME.Lck, "STEM PID" of its holder).
#ifndef VIGIL_TOOLS_VIGIL_WALL_LOCK_WAIT_H_
#define VIGIL_TOOLS_VIGIL_WALL_LOCK_WAIT_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace vigil::cli {

// "waiting for lock DIALOG (held by AuxOrb0203, its sensor running for
// 12 s)" for the orb of this stem; empty when it has no wait marker, or one
// left over while nobody else holds the lock.
std::string LockWaitText(const std::filesystem::path& working_dir,
                         std::string_view stem);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_LOCK_WAIT_H_
