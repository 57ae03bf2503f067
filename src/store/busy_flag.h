// The orb's busy flag, read by its ending: kHoldingLock while it holds its
// lock file (the ending removes it), kRefusedDuplicate for a refused
// duplicate (the ending removes nothing, the files are the running orb's).
#ifndef VIGIL_STORE_BUSY_FLAG_H_
#define VIGIL_STORE_BUSY_FLAG_H_

namespace vigil {

enum class BusyFlag { kIdle = 0, kHoldingLock = 1, kRefusedDuplicate = 2 };

}  // namespace vigil

#endif  // VIGIL_STORE_BUSY_FLAG_H_
