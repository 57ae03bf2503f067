#include "store/event_log.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;

WallClock::time_point At(int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return WallClock::from_time_t(std::mktime(&local));
}

EventLogContext DialogContext(const char* mode = "RfcOrb") {
  RecordBuilder record;
  record.tail = "Dialog.Prf;Check.Exe;addr;T";
  return {mode, record.Text(), "DIALOG", false};
}

TEST(EventLogLineTest, ExactLayout) {
  EXPECT_EQ(
      FormatLogLine(DialogContext(), "Warn", "Warning...", At(7, 9, 15, 20)),
      "07.12.26 09:15:20 Warn 0102 DIALOG;Check.Exe;Dialog.Prf;"
      "Warning...");
  RecordBuilder http;
  http.tail = "srv.prf;;sensor.htm?id=2041;T";
  EXPECT_EQ(FormatLogLine({"HttpOrb", http.Text(), "srv", false}, "Lock", "",
                          At(7, 9, 15, 20)),
            "07.12.26 09:15:20 Lock 0102 srv;ID=2041;srv.prf;");
}

TEST(EventLogLineTest, WithoutRecordTheFieldsAreEmpty) {
  EXPECT_EQ(FormatLogLine({"AuxOrb", "", "", false}, "Fail",
                          "Parameter(s) missing...", At(1, 0, 0, 5)),
            "01.12.26 00:00:05 Fail ;ID=;;Parameter(s) missing...");
}

TEST(EventLogTest, KeepsTheNewestHundredLines) {
  TempDir dir;
  EventLog log(dir / "RfcOrbs.Log");
  log.set_context(DialogContext());
  for (int i = 1; i <= 101; ++i) log.Log("Fail", "line " + std::to_string(i));
  const auto lines = ReadLines(dir / "RfcOrbs.Log");
  ASSERT_TRUE(lines);
  ASSERT_EQ(lines->size(), 100u);
  EXPECT_TRUE(lines->front().ends_with(";line 2"));
  EXPECT_TRUE(lines->back().ends_with(";line 101"));
}

TEST(EventLogTest, LockEventsOnlyWhenEveryEventIsLogged) {
  TempDir dir;
  EventLog log(dir / "RfcOrbs.Log");
  log.set_context(DialogContext());
  log.Log("Lock", "");
  log.Log("ULck", "");
  EXPECT_FALSE(dir.Exists("RfcOrbs.Log"));
  EventLogContext every = DialogContext();
  every.log_every_event = true;
  log.set_context(every);
  log.Log("Lock", "");
  const auto lines = ReadLines(dir / "RfcOrbs.Log");
  ASSERT_EQ(lines->size(), 1u);
  EXPECT_TRUE(lines->front().ends_with("Dialog.Prf;"));
  EXPECT_NE(lines->front().find(" Lock 0102 DIALOG;"), std::string::npos);
}

TEST(EventLogTest, UnreadableLogSuppressesTheLine) {
  TempDir dir;
  std::filesystem::create_directory(dir / "RfcOrbs.Log");  // exists, unreadable
  EventLog log(dir / "RfcOrbs.Log");
  log.set_context(DialogContext());
  log.Log("Fail", "x");  // must neither throw nor replace the directory
  EXPECT_TRUE(std::filesystem::is_directory(dir / "RfcOrbs.Log"));
}

TEST(EventLogTest, ConcurrentProcessesLoseNoLine) {
  TempDir dir;
  constexpr int kProcesses = 4;
  constexpr int kLinesEach = 20;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = fork();
    if (pid == 0) {
      EventLog log(dir / "AuxOrbs.Log");
      log.set_context(DialogContext("AuxOrb"));
      for (int i = 0; i < kLinesEach; ++i) {
        log.Log("Warn", std::to_string(p) + "-" + std::to_string(i));
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) waitpid(pid, nullptr, 0);
  const auto lines = ReadLines(dir / "AuxOrbs.Log");
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->size(), static_cast<size_t>(kProcesses * kLinesEach));
}

}  // namespace
}  // namespace vigil
