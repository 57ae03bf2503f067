#include "shell/thread_ending.h"

#include <gtest/gtest.h>

#include <thread>

namespace vigil {
namespace {

using namespace std::chrono_literals;

TEST(ThreadEndingTest, WaitsForAnotherThreadUpToTheLimit) {
  struct Case {
    std::chrono::milliseconds thread_life;
    std::chrono::milliseconds limit;
    bool only_thread;
  };
  for (const Case& c : {Case{50ms, 5000ms, true}, Case{300ms, 50ms, false}}) {
    SCOPED_TRACE(c.thread_life.count());
    ASSERT_EQ(CountThreads(), 1);
    std::thread other([&] { std::this_thread::sleep_for(c.thread_life); });
    EXPECT_EQ(CountThreads(), 2);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitUntilOnlyThread(c.limit), c.only_thread);
    EXPECT_LT(std::chrono::steady_clock::now() - start, c.limit + 500ms);
    other.join();
  }
}

}  // namespace
}  // namespace vigil
