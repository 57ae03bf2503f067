#include "actions/exec_action.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/child_process.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::RecordingView;
using testing::TempDir;
using testing::WaitUntil;

constexpr char kProcessingError[] = "Error - Processing Error occured...";

// Value-exec settings: the enable mark, the marks of columns 5, 7 and 9,
// and the program fields from column 11.
std::string ValueExec(char direct, char interpreter,
                      const std::string& fields) {
  return std::string("X E ") + direct + " . " + interpreter + " " + fields;
}

TEST(ParseExecSettingsTest, ModeAndFields) {
  struct Case {
    std::string settings;
    int column;
    ExecMode mode;
    std::string program, parameters, working_dir;
  };
  const std::vector<Case> cases = {
      {ValueExec('.', 'X', "prog;-a;/tmp;"), 11, ExecMode::kInterpreter, "prog",
       "-a", "/tmp"},
      // The interpreter mark wins over the direct mark.
      {ValueExec('X', 'X', "prog;;;"), 11, ExecMode::kInterpreter, "prog", "",
       ""},
      {ValueExec('X', '.', "prog;-a;"), 11, ExecMode::kDirect, "prog", "-a",
       ""},
      {ValueExec('.', '.', "prog;-a;dir"), 11, ExecMode::kDetached, "prog",
       "-a", ""},
      {ValueExec('x', '.', "prog"), 11, ExecMode::kDetached, "", "", ""},
      {"X E X . . XXXXXXXX s.sh;p;d;", 20, ExecMode::kDirect, "s.sh", "p", "d"},
      {"", 11, ExecMode::kDetached, "", "", ""},
  };
  for (const Case& c : cases) {
    const ExecFields fields = ParseExecSettings(c.settings, c.column);
    EXPECT_EQ(fields.mode, c.mode) << c.settings;
    EXPECT_EQ(fields.program, c.program) << c.settings;
    EXPECT_EQ(fields.parameters, c.parameters) << c.settings;
    EXPECT_EQ(fields.working_dir, c.working_dir) << c.settings;
  }
}

class ExecActionTest : public ::testing::Test {
 protected:
  ExecActionTest() {
    // Writes its arguments, one per line, after a pause that shows whether
    // the orb waited.
    dir_.Write("write.sh",
               "#!/bin/sh\nsleep 0.5\nfor a in \"$@\"; do "
               "printf '%s\\n' \"$a\"; done > args.txt\n");
    std::filesystem::permissions(dir_ / "write.sh",
                                 std::filesystem::perms::owner_all);
    std::filesystem::create_directory(dir_ / "sub");
    values_.item = "x; touch pwned";
    values_.unit = "%";
  }

  void Run(const std::string& settings) {
    ExecRequest request;
    request.fields = ParseExecSettings(settings, kValueExecFieldsColumn);
    request.values = values_;
    request.orb_dir = dir_.path();
    RunExec(request, view_);
  }

  TempDir dir_;
  PlaceholderValues values_;
  RecordingView view_;
};

TEST_F(ExecActionTest, InterpreterModeRunsTheLineAndWaits) {
  Run(ValueExec(
      '.', 'X',
      "sleep;0.3 && printf '%s|%s\\n' %Channel %Unit >> out.txt;sub;"));
  EXPECT_EQ(dir_.Read("sub/out.txt"), "x; touch pwned|%\n");
  EXPECT_FALSE(dir_.Exists("sub/pwned"));
  EXPECT_TRUE(view_.message_boxes().empty());
}

TEST_F(ExecActionTest, DirectModeRunsTheProgramFieldAloneAndWaits) {
  Run(ValueExec('X', '.', "./write.sh \"first arg\" %Channel;ignored;;"));
  EXPECT_EQ(dir_.Read("args.txt"), "first arg\nx; touch pwned\n");
  EXPECT_TRUE(view_.message_boxes().empty());
}

TEST_F(ExecActionTest, DetachedModeReturnsBeforeTheProgramEnds) {
  Run(ValueExec('.', '.', "../write.sh;-v %Channel;sub;"));
  EXPECT_FALSE(dir_.Exists("sub/args.txt"));
  ASSERT_TRUE(WaitUntil([&] { return dir_.Exists("sub/args.txt"); }, 5s));
  EXPECT_TRUE(WaitUntil(
      [&] { return dir_.Read("sub/args.txt") == "-v\nx; touch pwned\n"; }, 2s));
  EXPECT_FALSE(dir_.Exists("sub/pwned"));
}

TEST_F(ExecActionTest, AProgramThatCannotStartIsReportedInTheWaitingModes) {
  struct Case {
    std::string settings;
    bool reported;
  };
  const std::vector<Case> cases = {
      {ValueExec('X', '.', "./absent.sh;;;"), true},
      {ValueExec('X', '.', "./write.sh;;no-such-dir;"), true},
      {ValueExec('.', 'X', "true;;no-such-dir;"), true},
      // The shell starts; what it cannot run is its own affair.
      {ValueExec('.', 'X', "./absent.sh;;;"), false},
      {ValueExec('.', '.', "./absent.sh;;;"), false},
  };
  for (const Case& c : cases) {
    RecordingView view;
    ExecRequest request;
    request.fields = ParseExecSettings(c.settings, kValueExecFieldsColumn);
    request.orb_dir = dir_.path();
    RunExec(request, view);
    EXPECT_EQ(view.message_boxes(),
              c.reported ? std::vector<std::string>{kProcessingError}
                         : std::vector<std::string>{})
        << c.settings;
  }
}

TEST_F(ExecActionTest, PlansWhatEachModeStarts) {
  struct Case {
    std::string settings;
    std::vector<std::string> argv;
    std::filesystem::path working_dir;
  };
  const std::vector<Case> cases = {
      {ValueExec('.', 'X', "echo;%Channel;/tmp;"),
       {"/bin/sh", "-c", "echo 'x; touch pwned'"},
       "/tmp"},
      {ValueExec('X', '.', "./write.sh %Unit;-x;;"),
       {"./write.sh", "%"},
       dir_.path()},
      {ValueExec('.', '.', "./write.sh;a \"b c\";;"),
       {"./write.sh", "a", "b c"},
       dir_.path()},
      // Not executable: the desktop opens it, without parameters.
      {ValueExec('.', '.', "report.html;-x;sub;"),
       {"xdg-open", "report.html"},
       dir_.path() / "sub"},
      {ValueExec('.', '.', "sh;-c true;;"), {"sh", "-c", "true"}, dir_.path()},
  };
  for (const Case& c : cases) {
    const ExecPlan plan =
        PlanExec(ParseExecSettings(c.settings, kValueExecFieldsColumn), values_,
                 dir_.path());
    EXPECT_EQ(plan.argv, c.argv) << c.settings;
    EXPECT_EQ(plan.working_dir, c.working_dir) << c.settings;
  }
}

}  // namespace
}  // namespace vigil
