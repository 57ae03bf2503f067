#include "vigil/serve_task_queue.h"

namespace vigil::cli {

BoundedTaskQueue::BoundedTaskQueue(size_t threads, size_t most_waiting)
    : most_waiting_(most_waiting) {
  for (size_t i = 0; i < threads; ++i)
    threads_.emplace_back([this] { Work(); });
}

BoundedTaskQueue::~BoundedTaskQueue() { shutdown(); }

void BoundedTaskQueue::enqueue(std::function<void()> task) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock,
                [this] { return shut_down_ || tasks_.size() < most_waiting_; });
  // A task never run would leave its connection open: after the shutdown
  // it runs here.
  if (shut_down_) {
    lock.unlock();
    task();
    return;
  }
  tasks_.push_back(std::move(task));
  changed_.notify_all();
}

void BoundedTaskQueue::shutdown() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shut_down_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

void BoundedTaskQueue::Work() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return shut_down_ || !tasks_.empty(); });
      if (tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    changed_.notify_all();
    task();
  }
}

}  // namespace vigil::cli
