// The orb's busy flag, read by its ending: 1 while it holds its lock file
// (the ending removes it), 2 for a refused duplicate (the ending removes
// nothing, the files are the running orb's).
#ifndef VIGIL_STORE_BUSY_FLAG_H_
#define VIGIL_STORE_BUSY_FLAG_H_

namespace vigil {

inline constexpr int kBusyIdle = 0;
inline constexpr int kBusyHoldingLock = 1;
inline constexpr int kBusyRefusedDuplicate = 2;

}  // namespace vigil

#endif  // VIGIL_STORE_BUSY_FLAG_H_
