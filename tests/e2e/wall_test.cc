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
      std::vector<std::string> words) const {
    words.insert(words.begin(), std::string(VIGIL_BIN_DIR) + "/vigil");
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

  std::string StatusLine(const std::string& stem) const {
    const auto [status, output] = Vigil({"status"});
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

TEST_F(WallTest, StartsOnceRestartsACrashWithItsValueAndStopsEveryOrb) {
  RecordBuilder kept = OneChannelOrb0203("Kept");
  kept.display_name = "Kept";
  kept.keep_data = '!';  // the one channel's value 1 is the kept value
  RecordBuilder plain = OneChannelOrb0203("Plain");
  plain.number = "0204";
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
  const std::string running = StatusLine("AuxOrb0203");
  EXPECT_TRUE(Has(running, " Kept ") && Has(running, " running ") &&
              Has(running, " green "))
      << running;

  // Killed, it leaves its attached profile and work file behind.
  kill(first, SIGKILL);
  ASSERT_TRUE(WaitUntil([&] { return !Alive(first); }, 5s));
  EXPECT_TRUE(Has(StatusLine("AuxOrb0203"), " crashed ")) << output;
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

}  // namespace
}  // namespace vigil
