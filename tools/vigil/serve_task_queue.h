// The connections of `vigil serve`, handled by a fixed number of threads
// with a bounded queue: when every thread is busy and the queue is full,
// the server accepts no further connection until one is done, and they
// wait in the kernel's backlog instead of taking memory and threads.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_TASK_QUEUE_H_
#define VIGIL_TOOLS_VIGIL_SERVE_TASK_QUEUE_H_

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vigil::cli {

class BoundedTaskQueue final : public httplib::TaskQueue {
 public:
  BoundedTaskQueue(size_t threads, size_t most_waiting);
  ~BoundedTaskQueue() override;
  BoundedTaskQueue(const BoundedTaskQueue&) = delete;
  BoundedTaskQueue& operator=(const BoundedTaskQueue&) = delete;

  // Blocks the accepting thread while the queue is full.
  void enqueue(std::function<void()> task) override;
  // Runs what is queued, then joins the threads.
  void shutdown() override;

 private:
  void Work();

  const size_t most_waiting_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> tasks_;
  bool shut_down_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_TASK_QUEUE_H_
