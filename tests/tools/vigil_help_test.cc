// vigil's help, version and usage errors the usual way: what was asked for
// on stdout with 0, what was wrong on stderr with 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vigil::cli {
namespace {

using testing::ChildOptions;
using testing::ChildProcess;
using testing::TempDir;

TEST(VigilHelpTest, HelpOnStdoutErrorsOnStderrNamingWhatWasWrong) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // found on stdout; empty: stdout stays empty
    std::string err;  // found on stderr; empty: stderr stays empty
  } cases[] = {
      {{"--help"}, 0, "  remove   take orbs out", ""},
      {{"help"}, 0, "commands:", ""},
      {{"help", "check"}, 0, "usage: vigil check [FILE|--dir DIR]", ""},
      {{"check", "--help"}, 0, "usage: vigil check", ""},
      {{"add", "-h"}, 0, "usage: vigil add FILE --number NNNN", ""},
      {{"status", "--help"}, 0, "usage: vigil status", ""},
      {{"try", "-h"}, 0, "usage: vigil try", ""},
      {{"--version"}, 0, "vigil 3.3.0\n", ""},
      {{}, 2, "", "usage: vigil COMMAND"},
      {{"Status"}, 2, "", "unknown command 'Status'; did you mean 'status'?"},
      {{"help", "bogus"}, 2, "", "unknown command 'bogus'"},
      {{"--bogus", "status"}, 2, "", "unknown option --bogus"},
      {{"check", "--bogus"}, 2, "", "--bogus"},
      // The option before the command, as git takes it.
      {{"--dir", "NODIR", "status"}, 2, "", "NODIR is no directory"},
      {{"--dir=NODIR", "status"}, 2, "", "NODIR is no directory"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    std::vector<std::string> argv = {std::string(VIGIL_BIN_DIR) + "/vigil"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
    ChildProcess vigil(argv, ChildOptions{.dir = dir.path(),
                                          .capture_stdout = true,
                                          .stderr_file = dir / "err"});
    const std::string out = vigil.ReadAll(std::chrono::seconds(10));
    EXPECT_EQ(vigil.WaitFor(std::chrono::seconds(10)), c.status);
    const std::string err = dir.Read("err");
    EXPECT_EQ(out.empty(), c.out.empty()) << out;
    EXPECT_NE(out.find(c.out), std::string::npos) << out;
    EXPECT_EQ(err.empty(), c.err.empty()) << err;
    EXPECT_NE(err.find(c.err), std::string::npos) << err;
  }
}

}  // namespace
}  // namespace vigil::cli
