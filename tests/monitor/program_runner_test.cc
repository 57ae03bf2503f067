#include "monitor/program_runner.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "store/text.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::TempDir;

TEST(ShellQuoteTest, TextStaysLiteralInTheShell) {
  TempDir dir;
  const std::string hostile[] = {"plain",      "a b",       "it's",
                                 "$(touch x)", "`touch y`", "a;touch z",
                                 "\"q\"",      ""};
  for (const std::string& text : hostile) {
    const ProgramRun run = RunShellCommand(
        "printf %s " + ShellQuote(text) + " > out.txt", dir.path());
    ASSERT_TRUE(run.started);
    EXPECT_EQ(dir.Read("out.txt"), text);
  }
  EXPECT_FALSE(dir.Exists("x"));
  EXPECT_FALSE(dir.Exists("y"));
  EXPECT_FALSE(dir.Exists("z"));
}

TEST(SensorCommandTest, QuotesTheProgramAndKeepsTheArguments) {
  EXPECT_EQ(
      SensorCommand("/opt/comp dir", "probe.sh", "AuxOrb0102.Prf", "host:22"),
      "'/opt/comp dir/probe.sh' AuxOrb0102.Prf host:22");
  EXPECT_EQ(SensorCommand("/c", "p", "Global", ""), "'/c/p' Global");
  EXPECT_EQ(RedirectedCommandLine("cmd", "AuxOrb0102.Wxx"),
            "cmd > 'AuxOrb0102.Wxx'");
}

TEST(RunShellCommandTest, WaitsAndMeasures) {
  TempDir dir;
  const ProgramRun run = RunShellCommand("sleep 0.2; exit 3", dir.path());
  EXPECT_TRUE(run.started);
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_GE(run.run_time.count(), 180);
}

TEST(RunShellCommandTest, AWorkingDirectoryThatIsGoneMeansNotStarted) {
  TempDir dir;
  EXPECT_FALSE(RunShellCommand("true", dir / "gone").started);
}

TEST(RunShellCommandTest, GivingUpKillsTheProgramsGroup) {
  TempDir dir;
  int asked = 0;
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun run =
      RunShellCommand("sleep 30 & echo $! > child; wait", dir.path(),
                      [&] { return ++asked > 5; });
  EXPECT_TRUE(run.abandoned);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  const std::string child = dir.Read("child");
  ASSERT_FALSE(child.empty());
  // The background sleep was in the group and is gone too (at most a
  // zombie nobody reaped).
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::ifstream stat_file("/proc/" + std::to_string(std::stoi(child)) +
                          "/stat");
  const std::string stat((std::istreambuf_iterator<char>(stat_file)),
                         std::istreambuf_iterator<char>());
  EXPECT_TRUE(stat.empty() || stat.find(") Z ") != std::string::npos) << stat;
}

TEST(CannedResultTest, FifteenLinesEndingTheResult) {
  const auto& lines = CannedResultLines();
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.front(), "<Prtg>");
  EXPECT_EQ(lines.back(), "</Prtg>");
}

}  // namespace
}  // namespace vigil
