// The real AuxOrb acting on its rules and state changes: the trace and
// action logs it writes, the programs it runs and the mails that reach a
// real SMTP server on loopback through the real extension library.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <regex>

#include "store/orbs_file.h"
#include "store/text.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/smtp_sink_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

constexpr char kIdentity[] = "Dialog     Global      ";
constexpr char kLogs[] =
    "logs/mail.log;logs/exec.log;logs/trace.log;logs/run.log;";

std::string SensorPrinting(const std::string& item, const std::string& value) {
  return "#!/bin/sh\n"
         "echo '<Prtg>'\n"
         "echo '<Result><Channel>" +
         item + "</Channel><Value>" + value +
         "</Value><Unit>PerCent</Unit></Result>'\n"
         "echo '</Prtg>'\n";
}

// Prints 10, 50, 90 and then 10 on every further run: green, yellow, red,
// green again with the rules of the state mail test.
constexpr char kSteppingSensor[] =
    "#!/bin/sh\n"
    "n=$(cat count 2>/dev/null || echo 0)\n"
    "echo $((n + 1)) > count\n"
    "case $n in 0) v=10;; 1) v=50;; 2) v=90;; *) v=10;; esac\n"
    "echo '<Prtg>'\n"
    "echo \"<Result><Channel>Cpu Load</Channel><Value>$v</Value></Result>\"\n"
    "echo '</Prtg>'\n";

class ActionsE2eTest : public ::testing::Test {
 protected:
  ActionsE2eTest() {
    space_.InstallExtensionLibrary();
    std::filesystem::create_directory(space_.dir() / "logs");
    record_.display_name = "Dialog";
    record_.delay = "   60";
    record_.lock_name = "SRC";
    record_.tail = "Global;sensor.sh;;Actions";
  }

  void Sensor(const std::string& script) {
    space_.dir().Write("companion/sensor.sh", script);
    std::filesystem::permissions(space_.dir() / "companion/sensor.sh",
                                 std::filesystem::perms::owner_all);
  }

  void Script(const std::string& name, const std::string& script) {
    space_.dir().Write(name, script);
    std::filesystem::permissions(space_.dir() / name,
                                 std::filesystem::perms::owner_all);
  }

  void WriteOrbsFile(const std::vector<std::string>& rules) {
    std::vector<std::string> lines = {"0806 AuxOrbs...   .", record_.Text()};
    for (const std::string& rule : rules) lines.push_back("0102 # " + rule);
    lines.push_back("0102 $ " + actions_.state_mail);
    lines.push_back("0102 % " + actions_.value_mail);
    lines.push_back("0102 ! " + actions_.state_exec);
    lines.push_back("0102 & " + actions_.value_exec);
    lines.push_back("0102 \xA7 " + actions_.trace);
    space_.WriteOrbsFile(lines);
  }

  void Start() { orb_ = space_.Start({space_.companion_dir(), "0102"}); }

  void Stop() {
    if (!orb_) return;
    orb_->Signal(SIGTERM);
    EXPECT_EQ(orb_->WaitFor(10s), 0);
    orb_.reset();
  }

  std::string Read(const std::string& name) const {
    return space_.dir().Exists(name) ? space_.dir().Read(name) : "";
  }

  // The lines of a log, checked for their date and time and cut after it.
  std::vector<std::string> Log(const std::string& name) const {
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(Read("logs/" + name))) {
      EXPECT_TRUE(std::regex_match(line.substr(0, 14),
                                   std::regex(R"(\d\d\.\d\d\.\d\d \d\d:\d\d)")))
          << line;
      lines.push_back(line.substr(14));
    }
    return lines;
  }

  bool LogHasLines(const std::string& name, size_t count) const {
    return SplitLines(Read("logs/" + name)).size() >= count;
  }

  ~ActionsE2eTest() override { Stop(); }

  OrbWorkspace space_;
  RecordBuilder record_;
  ActionSettings actions_;
  std::unique_ptr<testing::ChildProcess> orb_;
};

// The log line of a timed action: the head, the duration, the message.
void ExpectTimedLine(const std::string& line, const std::string& head,
                     const std::string& message) {
  const std::regex layout(R"( {0,11}\d+\.\d{3} Sec   )");
  ASSERT_TRUE(line.starts_with(head)) << line;
  const std::string measure = line.substr(head.size(), 19);
  EXPECT_TRUE(std::regex_match(measure, layout)) << line;
  EXPECT_EQ(line.substr(head.size() + 19), " " + message) << line;
}

TEST_F(ActionsE2eTest, ValueAndRunTracesWriteTheirLinesByteForByte) {
  Sensor(SensorPrinting("Cpu Load", "12.5"));
  record_.delay = "    1";
  actions_.trace = std::string(". . . . X E X E ") + kLogs;
  WriteOrbsFile({"Cpu Load;>;10;<Trace>;", "Cpu Load;<;10;<Trace>;"});
  Start();
  ASSERT_TRUE(WaitUntil([&] { return LogHasLines("trace.log", 2); }, 30s));
  ASSERT_TRUE(WaitUntil([&] { return LogHasLines("run.log", 2); }, 10s));
  Stop();
  const std::string trace_line = std::string("     1 ValTrc ") + kIdentity +
                                 "       12.500 %      Cpu Load";
  for (const std::string& line : Log("trace.log")) EXPECT_EQ(line, trace_line);
  for (const std::string& line : Log("run.log")) {
    ExpectTimedLine(line, std::string("     1 RfcTrc ") + kIdentity + " ",
                    "sensor.sh");
  }
  EXPECT_EQ(Read("logs/mail.log") + Read("logs/exec.log"), "");
}

struct ExecCase {
  const char* name;
  std::string value_exec;
  std::string output;   // what the program appended to exec.out
  std::string message;  // the exec log's message
};

void PrintTo(const ExecCase& c, std::ostream* out) { *out << c.name; }

class ExecModeE2eTest : public ActionsE2eTest,
                        public ::testing::WithParamInterface<ExecCase> {};

TEST_P(ExecModeE2eTest, RunsTheProgramAndLogsIt) {
  Sensor(SensorPrinting("Cpu Load", "12.5"));
  Script("append.sh", "#!/bin/sh\nprintf '%s\\n' \"$*\" >> exec.out\n");
  actions_.value_exec = GetParam().value_exec;
  actions_.trace = std::string(". . X E . . . . ") + kLogs;
  WriteOrbsFile({"Cpu Load;>;10;<Exec>;"});
  Start();
  ASSERT_TRUE(WaitUntil([&] { return LogHasLines("exec.log", 1); }, 30s));
  ASSERT_TRUE(WaitUntil([&] { return !Read("exec.out").empty(); }, 5s));
  Stop();
  EXPECT_EQ(Read("exec.out"), GetParam().output);
  const std::vector<std::string> log = Log("exec.log");
  ASSERT_EQ(log.size(), 1u);
  ExpectTimedLine(log[0], std::string("     1 V.Exec ") + kIdentity + " ",
                  GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ExecModeE2eTest,
    ::testing::Values(
        ExecCase{"ThroughTheShell",
                 "X E . . X printf;'%s|%s\\n' %Channel %Unit >> exec.out;;",
                 "Cpu Load|%\n", "printf '%s|%s\\n' Cpu Load % >> exec.out"},
        ExecCase{"Direct", "X E X . . ./append.sh %Channel;ignored;;",
                 "Cpu Load\n", "./append.sh Cpu Load ignored"},
        ExecCase{"Detached", "X E . . . ./append.sh;%Channel at %Value;;",
                 "Cpu Load at 12.5\n", "./append.sh Cpu Load at 12.5"}),
    [](const auto& info) { return std::string(info.param.name); });

class MailE2eTest : public ActionsE2eTest {
 protected:
  void SetUp() override { ASSERT_TRUE(sink_.Start()) << sink_.error(); }
  std::string MailFields(const std::string& subject) const {
    return "orb@example.org;ops@example.org;" + subject +
           ";;;127.0.0.1:" + std::to_string(sink_.port()) + ";";
  }
  SmtpSinkServer sink_;
};

TEST_F(MailE2eTest, ValueMailReachesTheServerWithTheResult) {
  Sensor(SensorPrinting("Cpu Load", "12.5"));
  actions_.value_mail = "X E " + MailFields("%Channel is %Value %Unit");
  actions_.trace = std::string("X E . . . . . . ") + kLogs;
  WriteOrbsFile({"Cpu Load;>;10;<Mail>;"});
  Start();
  ASSERT_TRUE(WaitUntil([&] { return LogHasLines("mail.log", 1); }, 30s));
  Stop();
  const std::vector<ReceivedMail> mails = sink_.Received();
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].subject, "Cpu Load is 12.5 %");
  EXPECT_EQ(mails[0].body,
            "<RfcOrb>\n<Result><Channel>Cpu Load</Channel><Value>12.5</Value>"
            "<Unit>PerCent</Unit></Result>\n</RfcOrb>\n");
  EXPECT_EQ(mails[0].sender, "orb@example.org");
  EXPECT_EQ(mails[0].recipients, std::vector<std::string>{"ops@example.org"});
  const std::vector<std::string> log = Log("mail.log");
  ASSERT_EQ(log.size(), 1u);
  ExpectTimedLine(log[0], std::string("     1 V.Mail ") + kIdentity + " ",
                  "orb@example.org - Cpu Load is 12.5 % - (Done)");
  EXPECT_FALSE(space_.dir().Exists("RfcOrb0102.Mls"));
}

TEST_F(MailE2eTest, StateMailsOnlyForTheMarkedStates) {
  Sensor(kSteppingSensor);
  record_.delay = "    1";
  // Marked: yellow (column 6), red (7) and stopped (10); green is not.
  actions_.state_mail = "X E .XX..X.. " + MailFields("%State on %Sensor");
  actions_.trace = std::string("X E . . . . . . ") + kLogs;
  WriteOrbsFile({"Cpu Load;>;40;Warning;", "Cpu Load;>;80;Set Alert;"});
  Start();
  // Green, yellow, red, green again and one more green cycle.
  ASSERT_TRUE(WaitUntil([&] { return Read("count") == "5\n"; }, 40s))
      << Read("count");
  space_.dir().Write("AuxOrb0102.Eop", "");
  ASSERT_TRUE(orb_->WaitFor(15s));
  orb_.reset();
  const std::vector<ReceivedMail> mails = sink_.Received();
  std::vector<std::string> subjects;
  for (const ReceivedMail& mail : mails) subjects.push_back(mail.subject);
  EXPECT_EQ(subjects, (std::vector<std::string>{"Yellow/Warning on Dialog",
                                                "Red/Alert on Dialog",
                                                "Stopped on Dialog"}));
  ASSERT_EQ(mails.size(), 3u);
  // A red state carries the result, a stop the subject only.
  EXPECT_NE(mails[1].body.find("<RfcOrb>\n<Result><Channel>Cpu Load"),
            std::string::npos)
      << mails[1].body;
  EXPECT_EQ(mails[2].body, "");
  EXPECT_EQ(Log("mail.log").size(), 3u);
}

TEST_F(ActionsE2eTest, AnItemNamedWithShellSyntaxIsOnlyAName) {
  const std::string item = "Cpu; touch Pwned; $(touch Pwned2)";
  Sensor(SensorPrinting(item, "12.5"));
  actions_.value_exec = "X E . . X printf;'%s\\n' %Channel >> exec.out;;";
  actions_.trace = std::string(". . X E X E . . ") + kLogs;
  WriteOrbsFile({"<All Items>;>;0;<Trace>;", "<All Items>;>;0;<Exec>;"});
  Start();
  ASSERT_TRUE(WaitUntil([&] { return LogHasLines("exec.log", 1); }, 30s));
  Stop();
  EXPECT_EQ(Read("exec.out"), item + "\n");
  EXPECT_EQ(Log("trace.log"),
            std::vector<std::string>{std::string("     1 ValTrc ") + kIdentity +
                                     "       12.500 %      " + item});
  const std::vector<std::string> exec_log = Log("exec.log");
  ASSERT_EQ(exec_log.size(), 1u);
  EXPECT_TRUE(exec_log[0].ends_with(" printf '%s\\n' " + item + " >> exec.out"))
      << exec_log[0];
  for (const char* name : {"Pwned", "Pwned2", "companion/Pwned",
                           "companion/Pwned2", "logs/Pwned"}) {
    EXPECT_FALSE(space_.dir().Exists(name)) << name;
  }
}

}  // namespace
}  // namespace vigil
