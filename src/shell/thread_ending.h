// The toolkit joins its worker threads while it shuts down, but a joined
// thread may still be ending when the process runs its exit handlers; one
// of those removes the toolkit's thread-data key, and a thread that ends
// after that never releases its data. Waiting for such threads first gives
// an exit with nothing left behind.
#ifndef VIGIL_SHELL_THREAD_ENDING_H_
#define VIGIL_SHELL_THREAD_ENDING_H_

#include <sys/types.h>

#include <chrono>

namespace vigil {

// Threads of the process pid (0: this one), counted from /proc; 0 when it
// cannot be read.
int CountThreads(pid_t pid = 0);

// Waits until the calling thread is the process's only one, at most `limit`;
// says whether it is.
bool WaitUntilOnlyThread(std::chrono::milliseconds limit);

}  // namespace vigil

#endif  // VIGIL_SHELL_THREAD_ENDING_H_
