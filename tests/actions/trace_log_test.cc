#include "actions/trace_log.h"

#include <gtest/gtest.h>

#include <ctime>
#include <thread>

#include "store/text.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;

// 07.03.25 09:05:41 local time.
WallClock::time_point SampleTime() {
  std::tm local{};
  local.tm_year = 125;
  local.tm_mon = 2;
  local.tm_mday = 7;
  local.tm_hour = 9;
  local.tm_min = 5;
  local.tm_sec = 41;
  local.tm_isdst = -1;
  return WallClock::from_time_t(std::mktime(&local));
}

TEST(TraceLineTest, ValueTraceLayout) {
  RecordBuilder record;
  record.display_name = "Dialog";
  record.tail = "Dialog.Prf;Check.Exe;addr;Title";
  const std::string line =
      TraceLine(SampleTime(), ActionKind::kValueTrace, Identity(record.Text()),
                ValueMeasure(12.5, "%"), "Cpu Load");
  EXPECT_EQ(line,
            "07.03.25 09:05     1 ValTrc Dialog     Dialog.Prf         12.500 "
            "%      Cpu Load");
}

TEST(TraceLineTest, MailLineEndsWithTheOutcome) {
  EXPECT_EQ(
      TraceLine(SampleTime(), ActionKind::kStateMail, std::string(23, 'i'),
                DurationMeasure(0.25), "ops@x.org - Red/Alert", " - (Done)"),
      "07.03.25 09:05     1 S.Mail " + std::string(23, 'i') +
          "        0.250 Sec    ops@x.org - Red/Alert - (Done)");
}

TEST(TraceLineTest, KindWords) {
  const std::vector<std::pair<ActionKind, std::string>> cases = {
      {ActionKind::kStateMail, " S.Mail "},
      {ActionKind::kValueMail, " V.Mail "},
      {ActionKind::kStateExec, " S.Exec "},
      {ActionKind::kValueExec, " V.Exec "},
      {ActionKind::kValueTrace, " ValTrc "},
      {ActionKind::kRunTrace, " RfcTrc "}};
  for (const auto& [kind, word] : cases) EXPECT_EQ(KindWord(kind), word);
}

TEST(IdentityTest, DisplayAndProfileNamesInFixedWidths) {
  struct Case {
    std::string display_name;
    std::string tail;
    std::string identity;
  };
  const std::vector<Case> cases = {
      {"Dialog", "Dialog.Prf;x;", "Dialog     Dialog.Prf  "},
      {"  Pad  ", "P;x;", "Pad        P           "},
      {"TenLetters", "AVeryLongProfile.Prf;x;", "TenLetters AVeryLongPro"},
      // A profile field without its ";" reads as empty.
      {"D", "Global", "D                      "},
  };
  for (const Case& c : cases) {
    RecordBuilder record;
    record.display_name = c.display_name;
    record.tail = c.tail;
    EXPECT_EQ(Identity(record.Text()), c.identity) << c.display_name;
  }
}

TEST(MeasureTest, FixedPointWithThreeDecimals) {
  EXPECT_EQ(ValueMeasure(12.5, "%"), "      12.500 %     ");
  EXPECT_EQ(ValueMeasure(-2.25, "GByte/s"), "      -2.250 GByte/");
  EXPECT_EQ(ValueMeasure(0, ""), "       0.000       ");
  EXPECT_EQ(DurationMeasure(1.5), "       1.500 Sec   ");
  EXPECT_EQ(DurationMeasure(1234567.891), " 1234567.891 Sec   ");
  EXPECT_EQ(DurationMeasure(123456789012.0), "123456789012.000 Sec   ");
}

TEST(LogNamesTest, FourNamesAndTheirDirectories) {
  const std::string trace = "X E X E X E X E logs/m.log;/var/e.log;t.log;";
  EXPECT_EQ(LogFileName(trace, ActionKind::kStateMail), "logs/m.log");
  EXPECT_EQ(LogFileName(trace, ActionKind::kValueMail), "logs/m.log");
  EXPECT_EQ(LogFileName(trace, ActionKind::kStateExec), "/var/e.log");
  EXPECT_EQ(LogFileName(trace, ActionKind::kValueExec), "/var/e.log");
  EXPECT_EQ(LogFileName(trace, ActionKind::kValueTrace), "t.log");
  EXPECT_EQ(LogFileName(trace, ActionKind::kRunTrace), "");
  EXPECT_EQ(LogFileName("X E", ActionKind::kStateMail), "");

  EXPECT_EQ(LogDirectory("logs/m.log"), "logs");
  EXPECT_EQ(LogDirectory("/var/log/vigil/e.log"), "/var/log/vigil");
  EXPECT_EQ(LogDirectory("/e.log"), "");
  EXPECT_EQ(LogDirectory("t.log"), std::nullopt);
  EXPECT_EQ(LogDirectory(""), std::nullopt);
}

TEST(AppendTraceLineTest, AppendsWholeLinesWithCrLf) {
  TempDir dir;
  EXPECT_TRUE(AppendTraceLine(dir / "t.log", "first"));
  EXPECT_TRUE(AppendTraceLine(dir / "t.log", "a & b | c > d; $(e)"));
  EXPECT_EQ(dir.Read("t.log"), "first\r\na & b | c > d; $(e)\r\n");
  EXPECT_FALSE(AppendTraceLine(dir / "missing" / "t.log", "x"));
}

TEST(AppendTraceLineTest, LinesWrittenAtOnceNeverMix) {
  TempDir dir;
  constexpr int kWriters = 4;
  constexpr int kLines = 300;
  std::vector<std::thread> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    writers.emplace_back([&dir, writer] {
      const std::string line(180, static_cast<char>('a' + writer));
      for (int i = 0; i < kLines; ++i) AppendTraceLine(dir / "t.log", line);
    });
  }
  for (std::thread& writer : writers) writer.join();
  const std::vector<std::string> lines = SplitLines(dir.Read("t.log"));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kWriters * kLines));
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size(), 180u);
    EXPECT_EQ(line.find_first_not_of(line[0]), std::string::npos);
  }
}

}  // namespace
}  // namespace vigil
