// vigil start, status, restart and stop on real orbs in a fresh working
// directory, as an operator runs them.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "store/text.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::OneChannelOrb0203;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::TempDir;
using testing::WaitUntil;

std::vector<std::string> CommandLineOf(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline");
  const std::string bytes((std::istreambuf_iterator<char>(file)),
                          std::istreambuf_iterator<char>());
  std::vector<std::string> words;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find('\0', start);
    words.push_back(bytes.substr(start, end - start));
    start = end == std::string::npos ? bytes.size() : end + 1;
  }
  return words;
}

// Alive and no zombie: the orbs are not our children, so nobody here
// reaps them.
bool Alive(pid_t pid) { return pid > 0 && !CommandLineOf(pid).empty(); }

class WallTest : public ::testing::Test {
 protected:
  ~WallTest() override {
    // Whatever a failed step left running.
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(space_.dir() / ".vigil", error)) {
      if (entry.path().extension() == ".pid") {
        if (const pid_t pid = PidIn(entry.path()); Alive(pid)) {
          kill(pid, SIGKILL);
        }
      }
    }
  }

  static pid_t PidIn(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    return ParseInteger(text).value_or(0);
  }

  pid_t Pid(const std::string& stem) const {
    return PidIn(space_.dir() / (".vigil/" + stem + ".pid"));
  }

  // stdout, then stderr; nullopt status when vigil did not end in time.
  std::pair<std::optional<int>, std::string> Vigil(
      std::vector<std::string> words,
      const std::string& program = std::string(VIGIL_BIN_DIR) +
                                   "/vigil") const {
    words.insert(words.begin(), program);
    words.insert(words.end(), {"--dir", space_.dir().path().string()});
    const std::filesystem::path errors = space_.dir() / "vigil.err";
    ChildProcess vigil(words, ChildOptions{.dir = space_.dir().path(),
                                           .env = {"QT_QPA_PLATFORM=offscreen"},
                                           .capture_stdout = true,
                                           .stderr_file = errors});
    std::string output = vigil.ReadAll(60s);
    const std::optional<int> status = vigil.WaitFor(10s);
    output += space_.dir().Read("vigil.err");
    return {status, output};
  }

  std::string StatusLine(const std::string& stem,
                         std::optional<int>* status = nullptr) const {
    const auto [exit_status, output] = Vigil({"status"});
    if (status != nullptr) *status = exit_status;
    for (const std::string& line : SplitLines(output)) {
      if (line.starts_with(stem + " ")) return line;
    }
    return "";
  }

  OrbWorkspace space_;
};

bool Has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

// A delay vigil check passes.
RecordBuilder SoundOrb(const std::string& number, const std::string& title) {
  RecordBuilder record = OneChannelOrb0203(title);
  record.number = number;
  record.delay = "   10";
  return record;
}

TEST_F(WallTest, StartsOnceRestartsACrashWithItsValueAndStopsEveryOrb) {
  RecordBuilder kept = SoundOrb("0203", "Kept");
  kept.display_name = "Kept";
  kept.keep_data = '!';  // the one channel's value 1 is the kept value
  RecordBuilder plain = SoundOrb("0204", "Plain");
  space_.SetUpOneChannelOrbs({kept.Text(), plain.Text()});
  const std::string companion = space_.companion_dir();

  auto [status, output] = Vigil({"start", "--companion", companion});
  ASSERT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "started AuxOrb0203 (pid ")) << output;
  EXPECT_TRUE(Has(output, "started AuxOrb0204 (pid ")) << output;
  ASSERT_TRUE(WaitUntil(
      [&] {
        return space_.dir().Exists("AuxOrb0203.Grn") &&
               space_.dir().Exists("AuxOrb0204.Grn");
      },
      20s));
  const pid_t first = Pid("AuxOrb0203");
  EXPECT_EQ(CommandLineOf(first),
            (std::vector<std::string>{std::string(VIGIL_BIN_DIR) + "/AuxOrb",
                                      companion, "0203"}));

  std::tie(status, output) = Vigil({"start"});
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(
      output, "AuxOrb0203 runs already (pid " + std::to_string(first) + ")"))
      << output;
  EXPECT_FALSE(Has(output, "started")) << output;
  std::optional<int> status_exit;
  const std::string running = StatusLine("AuxOrb0203", &status_exit);
  EXPECT_EQ(status_exit, 0);
  EXPECT_TRUE(Has(running, " Kept ") && Has(running, " running ") &&
              Has(running, " green "))
      << running;

  // Killed, it leaves its attached profile and work file behind.
  kill(first, SIGKILL);
  ASSERT_TRUE(WaitUntil([&] { return !Alive(first); }, 5s));
  const std::string crashed = StatusLine("AuxOrb0203", &status_exit);
  EXPECT_EQ(status_exit, 3);
  EXPECT_TRUE(Has(crashed, " crashed  -  ")) << crashed;
  std::tie(status, output) = Vigil({"restart"});
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "with carried-over value 1\n")) << output;
  EXPECT_FALSE(Has(output, "AuxOrb0204")) << output;
  const pid_t second = Pid("AuxOrb0203");
  EXPECT_NE(second, first);
  EXPECT_EQ(CommandLineOf(second).back(), "1");
  // The left profile went, or the new orb would refuse to start: the one
  // there after its start-up is its own.
  EXPECT_FALSE(space_.dir().Exists("AuxOrb0203.Prf"));
  EXPECT_TRUE(
      WaitUntil([&] { return space_.dir().Exists("AuxOrb0203.Prf"); }, 15s));
  EXPECT_TRUE(Alive(second));

  // Dragged to 0205 (as its save leaves the files), orb 0204 keeps its
  // process, which still says 0204.
  plain.number = "0205";
  space_.WriteOrbsFile({"0806 AuxOrbs...   .", kept.Text(), plain.Text()});
  std::filesystem::rename(space_.dir() / "AuxOrb0204.Prf",
                          space_.dir() / "AuxOrb0205.Prf");
  const std::string moved = StatusLine("AuxOrb0205");
  EXPECT_TRUE(Has(moved, " running ") && Has(moved, "[started as 0204]"))
      << moved;
  std::tie(status, output) = Vigil({"restart"});
  EXPECT_TRUE(Has(output, "nothing to restart")) << output;

  const pid_t dragged = Pid("AuxOrb0204");
  std::tie(status, output) = Vigil({"stop", "--wait", "10"});
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "stopped AuxOrb0203")) << output;
  EXPECT_FALSE(Has(output, "SIGTERM")) << output;
  EXPECT_FALSE(Alive(second));
  EXPECT_FALSE(Alive(dragged));
  EXPECT_FALSE(space_.dir().Exists(".vigil/AuxOrb0203.pid"));
  EXPECT_FALSE(space_.dir().Exists(".vigil/AuxOrb0204.pid"));
  int stops = 0;
  for (const std::string& line : space_.LogLines()) {
    stops += Mid(line, 19, 9) == "Stop 0203" || Mid(line, 19, 9) == "Stop 0204";
  }
  EXPECT_EQ(stops, 2);
}

TEST_F(WallTest, StartsNoOrbThatCannotRunAndLeavesNoneOfThemRunning) {
  RecordBuilder typo = SoundOrb("0000", "Typo");
  typo.delay = "   1O";
  space_.WriteOrbsFile(
      {"0806 AuxOrbs...   .", typo.Text(), SoundOrb("0001", "Sound").Text()});
  space_.WriteOneChannelSensor();
  const std::string companion = space_.companion_dir();
  const std::string lib = std::string(VIGIL_LIB_DIR) + "/AuxOrbs.so";

  // An installation, since removed, links the library it had.
  TempDir old;
  std::filesystem::create_directories(old / "bin");
  std::filesystem::create_directories(old / "lib");
  std::error_code error;
  std::filesystem::create_hard_link(std::string(VIGIL_BIN_DIR) + "/vigil",
                                    old / "bin/vigil", error);
  if (error) {
    std::filesystem::copy_file(std::string(VIGIL_BIN_DIR) + "/vigil",
                               old / "bin/vigil");
  }
  std::filesystem::copy_file(lib, old / "lib/AuxOrbs.so");
  auto [status, output] =
      Vigil({"start", "0000", "--companion", companion, "--bin", VIGIL_BIN_DIR},
            (old / "bin/vigil").string());
  EXPECT_EQ(status, 1) << output;
  EXPECT_TRUE(
      Has(output, "linked AuxOrbs.so -> " + (old / "lib/AuxOrbs.so").string()))
      << output;
  std::filesystem::remove_all(old / "lib");

  // The orb with the typo is named as vigil check names it and not
  // started; the link vigil made is made anew.
  std::tie(status, output) = Vigil({"start"});
  EXPECT_EQ(status, 1) << output;
  EXPECT_TRUE(Has(output, "linked anew AuxOrbs.so -> " + lib)) << output;
  EXPECT_TRUE(
      Has(output, "AuxOrb0000 not started: 1 problem vigil check finds"))
      << output;
  EXPECT_TRUE(Has(output, "AuxOrbs.Prf:2:29: delay \"   1O\" is not a number"))
      << output;
  EXPECT_TRUE(Has(output, "started AuxOrb0001 (pid ")) << output;
  EXPECT_FALSE(space_.dir().Exists(".vigil/AuxOrb0000.pid"));
  EXPECT_TRUE(Alive(Pid("AuxOrb0001")));

  // Forced, it fails its start-up and shows why until vigil ends it.
  std::tie(status, output) = Vigil({"start", "0000", "--force"});
  EXPECT_EQ(status, 1) << output;
  EXPECT_TRUE(Has(output,
                  "AuxOrb0000 did not start: Delay time '   1O' invalid, "
                  "please Check ! (vigil ends it)"))
      << output;
  EXPECT_FALSE(Alive(Pid("AuxOrb0000")));
  EXPECT_TRUE(Has(StatusLine("AuxOrb0000"), " ended    -  "))
      << StatusLine("AuxOrb0000");

  // A link the operator made that points nowhere stays, and every orb
  // ends at its start-up.
  std::tie(status, output) = Vigil({"stop"});
  EXPECT_EQ(status, 0) << output;
  std::filesystem::remove(space_.dir() / "AuxOrbs.so");
  std::filesystem::create_symlink("/nowhere/AuxOrbs.so",
                                  space_.dir() / "AuxOrbs.so");
  std::tie(status, output) = Vigil({"start", "0001"});
  EXPECT_EQ(status, 1) << output;
  EXPECT_TRUE(Has(output,
                  "AuxOrbs.so links to /nowhere/AuxOrbs.so, which is "
                  "not there"))
      << output;
  EXPECT_TRUE(
      Has(output, "AuxOrb0001 did not start: \"AuxOrbs.so\" is missing !"))
      << output;
  EXPECT_FALSE(Alive(Pid("AuxOrb0001")));
  EXPECT_TRUE(Has(StatusLine("AuxOrb0001"), " ended    -  "))
      << StatusLine("AuxOrb0001");
}

TEST_F(WallTest, StatusNamesTheLockHolderUntilItsSensorTimesOut) {
  // Whichever orb runs the sensor first hangs in it; the other waits.
  space_.WriteCompanionFile("Src.Prf", {"* Sensor-Timeout..: 3"});
  space_.dir().Write("companion/sensor",
                     "#!/bin/sh\n"
                     "mkdir hung.once 2>/dev/null && sleep 600\n"
                     "echo '<Prtg>'\n"
                     "echo '<Result><Channel>A</Channel><Value>1</Value>"
                     "</Result>'\n"
                     "echo '</Prtg>'\n");
  std::filesystem::permissions(space_.dir() / "companion/sensor",
                               std::filesystem::perms::owner_all);
  RecordBuilder first = SoundOrb("0203", "First");
  first.tail = "Src.Prf;sensor;a;First";
  RecordBuilder second = SoundOrb("0204", "Second");
  second.tail = "Src.Prf;sensor;b;Second";
  space_.InstallExtensionLibrary();
  space_.WriteOrbsFile({"0806 AuxOrbs...   .", first.Text(), second.Text()});

  auto [status, output] =
      Vigil({"start", "--companion", space_.companion_dir()});
  ASSERT_EQ(status, 0) << output;
  std::string waiter;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const std::string stem : {"AuxOrb0203", "AuxOrb0204"}) {
          if (space_.dir().Exists(stem + ".Wat")) waiter = stem;
        }
        return !waiter.empty();
      },
      15s));
  const std::string holder =
      waiter == "AuxOrb0203" ? "AuxOrb0204" : "AuxOrb0203";
  const std::string row = StatusLine(waiter);
  EXPECT_TRUE(Has(row, "waiting for lock DIALOG (held by " + holder +
                           ", its sensor running for "))
      << row;

  EXPECT_TRUE(
      WaitUntil([&] { return space_.dir().Exists(waiter + ".Grn"); }, 10s));
  std::vector<std::string> failures;
  for (const std::string& line : space_.LogLines()) {
    if (Mid(line, 19, 4) == "Fail") failures.push_back(line);
  }
  ASSERT_EQ(failures.size(), 1u) << space_.dir().Read("AuxOrbs.Log");
  EXPECT_TRUE(Has(failures[0], holder.substr(6) + " ")) << failures[0];
  EXPECT_TRUE(Has(failures[0], "Sensor sensor timed out after 3 s"))
      << failures[0];
}

}  // namespace
}  // namespace vigil
