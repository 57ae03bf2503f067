#include "actions/action_dispatch.h"

#include <gtest/gtest.h>

#include <regex>

#include "store/text.h"
#include "support/record_builder.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::RecordingView;
using testing::TempDir;

constexpr char kSmtpNotFound[] = "Smtp not found !";
constexpr char kIdentity[] = "Dialog     Dialog.Prf  ";
const std::regex kDuration(R"( +\d+\.\d{3} Sec   )");

// Every log line on, the four logs in logs/.
constexpr char kAllLogs[] =
    "X E X E X E X E logs/mail.log;logs/exec.log;logs/trace.log;logs/run.log;";

// No extension library is installed, so a mail that is really attempted
// shows "Smtp not found !"; an exec appends its arguments to exec.out.
class ActionDispatchTest : public ::testing::Test {
 protected:
  ActionDispatchTest() {
    std::filesystem::create_directory(dir_ / "logs");
    RecordBuilder builder;
    builder.display_name = "Dialog";
    builder.tail = "Dialog.Prf;Check.Exe;addr;Title";
    record_ = builder.Text();
    actions_.state_mail = "X E X.X..... ops@x.org;;%State on %Sensor;;;host;";
    actions_.value_mail = "X E ops@x.org;;%Channel at %Value;;;host;";
    actions_.state_exec =
        "X E . . X X.X..X.. printf;'%s\\n' %State >> exec.out;;";
    actions_.value_exec =
        "X E . . X printf;'%s|%s\\n' %Channel %Unit >> exec.out;;";
    actions_.trace = kAllLogs;
    values_.state_code = state_code::kGreen;
    ActionEnvironment environment;
    environment.mode_word = "AuxOrb";
    environment.files = &files_;
    environment.record = &record_;
    environment.actions = &actions_;
    environment.values = &values_;
    environment.view = &view_;
    dispatch_.SetEnvironment(std::move(environment));
  }

  void ValueAction(ActionKind kind,
                   std::string item = "Disk C:", std::string unit = "GB",
                   double value = 70) {
    dispatch_.Trace(kind, {std::move(item), std::move(unit), value});
  }

  // The log's lines without their date and time.
  std::vector<std::string> Log(const std::string& name) const {
    std::vector<std::string> lines;
    if (!dir_.Exists("logs/" + name)) return lines;
    for (const std::string& line : SplitLines(dir_.Read("logs/" + name))) {
      EXPECT_TRUE(std::regex_match(line.substr(0, 14),
                                   std::regex(R"(\d\d\.\d\d\.\d\d \d\d:\d\d)")))
          << line;
      lines.push_back(line.substr(14));
    }
    return lines;
  }
  std::string ExecOut() const {
    return dir_.Exists("exec.out") ? dir_.Read("exec.out") : "";
  }
  int MailsAttempted() const {
    return static_cast<int>(view_.message_boxes().size());
  }

  TempDir dir_;
  CompanionFiles files_{dir_.path(), "AuxOrb", "0102"};
  ConfigRecord record_;
  ActionSettings actions_;
  OrbValues values_;
  RecordingView view_;
  ActionDispatch dispatch_;
};

TEST_F(ActionDispatchTest, ValueTraceWritesItsLineByteForByte) {
  ValueAction(ActionKind::kValueTrace, "Cpu Load", "%", 12.5);
  EXPECT_EQ(Log("trace.log"),
            std::vector<std::string>{std::string("     1 ValTrc ") + kIdentity +
                                     "       12.500 %      Cpu Load"});
}

TEST_F(ActionDispatchTest, ValueExecRunsAndLogsTheSubstitutedLine) {
  ValueAction(ActionKind::kValueExec, "x; touch pwned", "%");
  EXPECT_EQ(ExecOut(), "x; touch pwned|%\n");
  EXPECT_FALSE(dir_.Exists("pwned"));
  const std::vector<std::string> log = Log("exec.log");
  ASSERT_EQ(log.size(), 1u);
  const std::string head = std::string("     1 V.Exec ") + kIdentity + " ";
  ASSERT_TRUE(log[0].starts_with(head)) << log[0];
  const std::string rest = log[0].substr(head.size());
  std::smatch duration;
  ASSERT_TRUE(std::regex_search(rest, duration, kDuration));
  EXPECT_EQ(duration.position(0), 0);
  EXPECT_EQ(duration.suffix().str(),
            " printf '%s|%s\\n' x; touch pwned % >> exec.out");
}

TEST_F(ActionDispatchTest, ValueMailIsSentAndLoggedWithItsMessage) {
  ValueAction(ActionKind::kValueMail, "Disk C:", "GB", 70);
  EXPECT_EQ(MailsAttempted(), 1);
  const std::vector<std::string> log = Log("mail.log");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_TRUE(std::regex_search(log[0], kDuration));
  // No library: the outcome text stays empty.
  EXPECT_TRUE(log[0].ends_with("Sec    ops@x.org - Disk C: at 70")) << log[0];
}

struct GateCase {
  const char* name;
  ActionKind kind;
  int state;
  // Changes to the fixture's settings.
  std::string ActionSettings::*settings = nullptr;
  std::string text;
  bool acts;    // the mail is attempted or the program runs
  bool logged;  // its log line is written
};

void PrintTo(const GateCase& c, std::ostream* out) { *out << c.name; }

class GateTest : public ActionDispatchTest,
                 public ::testing::WithParamInterface<GateCase> {};

TEST_P(GateTest, ActsAndLogsOnlyWhenSwitchedOn) {
  const GateCase& c = GetParam();
  if (c.settings != nullptr) actions_.*(c.settings) = c.text;
  values_.state_code = c.state;
  const bool mail =
      c.kind == ActionKind::kStateMail || c.kind == ActionKind::kValueMail;
  if (c.kind == ActionKind::kStateMail || c.kind == ActionKind::kStateExec) {
    dispatch_.Trace(c.kind, {});
  } else {
    ValueAction(c.kind);
  }
  EXPECT_EQ(mail ? MailsAttempted() == 1 : !ExecOut().empty(), c.acts);
  EXPECT_EQ(Log(mail ? "mail.log" : "exec.log").size(), c.logged ? 1u : 0u);
}

using S = ActionSettings;
INSTANTIATE_TEST_SUITE_P(
    Switches, GateTest,
    ::testing::Values(
        GateCase{"ValueMailOn", ActionKind::kValueMail, 1, nullptr, "", true,
                 true},
        GateCase{"MailWithoutMailLog", ActionKind::kValueMail, 1, &S::trace,
                 "X E X E X E X E ;logs/exec.log;;;", false, false},
        GateCase{"MailLogWithoutDirectory", ActionKind::kValueMail, 1,
                 &S::trace, "X E X E X E X E mail.log;;;;", false, false},
        GateCase{"MailWithoutFirstAddress", ActionKind::kValueMail, 1,
                 &S::value_mail, "X E ;ops@x.org;s;;;host;", false, false},
        GateCase{"MailLogLinesOff", ActionKind::kValueMail, 1, &S::trace,
                 ". . X E X E X E logs/mail.log;logs/exec.log;;;", true, false},
        // State mails: columns 5-12 mark the states 1-8 ("X.X....." here).
        GateCase{"StateMailGreenMarked", ActionKind::kStateMail, 1, nullptr, "",
                 true, true},
        GateCase{"StateMailYellowUnmarked", ActionKind::kStateMail, 2, nullptr,
                 "", false, false},
        GateCase{"StateMailRedMarked", ActionKind::kStateMail, 3, nullptr, "",
                 true, true},
        GateCase{"StateMailStoppedUnmarked", ActionKind::kStateMail, 6, nullptr,
                 "", false, false},
        GateCase{"StateMailNoState", ActionKind::kStateMail, 0, nullptr, "",
                 false, false},
        GateCase{"ValueExecOn", ActionKind::kValueExec, 1, nullptr, "", true,
                 true},
        GateCase{"ExecWithoutExecLog", ActionKind::kValueExec, 1, &S::trace,
                 "X E X E X E X E logs/mail.log;;;;", false, false},
        GateCase{"ExecLogWithoutDirectory", ActionKind::kValueExec, 1,
                 &S::trace, "X E X E X E X E ;exec.log;;;", false, false},
        GateCase{"ExecLogLinesOff", ActionKind::kValueExec, 1, &S::trace,
                 "X E . . X E X E ;logs/exec.log;;;", true, false},
        // State execs: columns 11-18 mark the states 1-8 ("X.X..X.." here).
        GateCase{"StateExecGreenMarked", ActionKind::kStateExec, 1, nullptr, "",
                 true, true},
        GateCase{"StateExecYellowUnmarked", ActionKind::kStateExec, 2, nullptr,
                 "", false, false},
        GateCase{"StateExecStoppedMarked", ActionKind::kStateExec, 6, nullptr,
                 "", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActionDispatchTest, AProgramEmptyAfterSubstitutionIsNotRun) {
  actions_.value_exec = "X E . . X %Channel;x >> exec.out;;";
  ValueAction(ActionKind::kValueExec, "");
  EXPECT_EQ(ExecOut(), "");
  EXPECT_TRUE(Log("exec.log").empty());
  ValueAction(ActionKind::kValueExec, "printf");
  EXPECT_EQ(ExecOut(), "x");
  EXPECT_EQ(Log("exec.log").size(), 1u);
}

TEST_F(ActionDispatchTest, StateActionsUseTheLastValueActionsContext) {
  actions_.state_exec =
      "X E . . X XXXXXXXX printf;'%s %s %s\\n' %Channel %Value %State >> "
      "exec.out;;";
  dispatch_.SetActionContext({"Disk", "GB", 70});
  values_.state_code = state_code::kRed;
  dispatch_.Trace(ActionKind::kStateExec, {});
  // A value action hands over its own context, which later state actions see.
  ValueAction(ActionKind::kValueTrace, "Swap", "%", 12.5);
  values_.state_code = state_code::kSuspended;
  dispatch_.Trace(ActionKind::kStateExec, {});
  EXPECT_EQ(ExecOut(), "Disk 70 Red/Alert\nSwap 12.5 Suspended\n");
}

TEST_F(ActionDispatchTest, RunTraceNamesTheProgramAndItsDuration) {
  struct Case {
    std::string tail;
    std::string name;
  };
  const std::vector<Case> cases = {
      {"Dialog.Prf;Check.Exe;addr;Title", "Check"},
      {"Dialog.Prf;vigil-sensor;;T", "vigil-sensor"}};
  for (const Case& c : cases) {
    RecordBuilder builder;
    builder.display_name = "Dialog";
    builder.tail = c.tail;
    record_ = builder.Text();
    ActionContext context;
    context.run_time = std::chrono::milliseconds(1234);
    dispatch_.Trace(ActionKind::kRunTrace, context);
  }
  const std::string head = std::string("     1 RfcTrc ") + kIdentity;
  EXPECT_EQ(Log("run.log"), (std::vector<std::string>{
                                head + "        1.234 Sec    Check",
                                head + "        1.234 Sec    vigil-sensor"}));
}

TEST_F(ActionDispatchTest, WithoutAnEnvironmentNothingHappens) {
  ActionDispatch bare;
  for (const ActionKind kind :
       {ActionKind::kStateMail, ActionKind::kValueMail, ActionKind::kStateExec,
        ActionKind::kValueExec, ActionKind::kValueTrace,
        ActionKind::kRunTrace}) {
    bare.Trace(kind, {"Disk", "GB", 70});
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "logs"));
  EXPECT_EQ(ExecOut(), "");
}

}  // namespace
}  // namespace vigil
