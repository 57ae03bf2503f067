// The real vigil-sensor binary, run the way the orb's shell runs it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "monitor/item_table.h"
#include "monitor/result_reader.h"
#include "monitor/string_list.h"
#include "store/value_parser.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vigil::tools_test {
namespace {

using std::chrono::seconds;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::TempDir;

struct SensorRun {
  std::optional<int> exit_code;
  std::vector<std::string> lines;
  std::vector<std::string> channels;
  std::vector<std::string> texts;
};

SensorRun RunSensor(const std::vector<std::string>& arguments,
                    const std::filesystem::path& cwd = {}) {
  std::vector<std::string> argv = {std::string(VIGIL_BIN_DIR) +
                                   "/vigil-sensor"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  ChildProcess child(argv, ChildOptions{.dir = cwd, .capture_stdout = true});
  SensorRun run;
  if (!child.started()) return run;
  while (std::optional<std::string> line = child.ReadLine(seconds(10))) {
    run.lines.push_back(*line);
  }
  run.exit_code = child.WaitFor(seconds(10));
  for (const std::string& line : run.lines) {
    constexpr std::string_view kOpen = "<Result><Channel>";
    if (line.rfind(kOpen, 0) == 0) {
      run.channels.push_back(
          line.substr(kOpen.size(), line.find("</") - kOpen.size()));
    }
    if (line.rfind("<Text>", 0) == 0) run.texts.push_back(line);
  }
  return run;
}

// Every record opened is closed, and carries a value and a unit.
void ExpectWellFormed(const SensorRun& run) {
  ASSERT_FALSE(run.lines.empty());
  EXPECT_EQ(run.lines.front(), "<Prtg>");
  EXPECT_EQ(run.lines.back(), "</Prtg>");
  bool open = false;
  bool value = false;
  bool unit = false;
  for (const std::string& line : run.lines) {
    if (line.rfind("<Result>", 0) == 0) {
      EXPECT_FALSE(open) << line;
      open = true;
      value = unit = false;
    } else if (line.rfind("<Value>", 0) == 0) {
      value = open;
    } else if (line.rfind("<Unit>", 0) == 0) {
      unit = open;
    } else if (line == "</Result>") {
      EXPECT_TRUE(open && value && unit) << "record before " << line;
      open = false;
    }
  }
  EXPECT_FALSE(open);
}

// A listening socket on a free loopback port, for a connect to succeed.
class Listener {
 public:
  Listener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        listen(fd_, 4) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port_ = ntohs(address.sin_port);
    }
  }
  ~Listener() { close(fd_); }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

TEST(SensorProgramTest, GlobalWithoutAddressReportsFourChannels) {
  const SensorRun run = RunSensor({"Global"});
  EXPECT_EQ(run.exit_code, 0);
  ExpectWellFormed(run);
  const std::vector<std::string> expected = {"Load Average", "Memory Used",
                                             "Disk Used", "Response Time"};
  EXPECT_EQ(run.channels, expected);
  ASSERT_EQ(run.texts.size(), 1u);
  EXPECT_EQ(run.texts[0].rfind("<Text>(Lnx) ", 0), 0u) << run.texts[0];

  // And the orb's reader makes four readable items of it.
  ResultReaderSettings settings;
  settings.chart_bar_indices = "xxxxxxxx";
  ItemTable items;
  StringList work;
  ReadResult(run.lines, settings, items, work);
  ASSERT_EQ(items.size(), 4u);
  const std::vector<std::string> units = {"Load", "%", "%", "mSec"};
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].unit, units[i]) << items[i].item;
    const std::optional<double> value =
        ParseValue(items[i].data, kNumberFormatE);
    ASSERT_TRUE(value.has_value()) << items[i].item << ": " << items[i].data;
    EXPECT_GE(*value, 0);
    if (units[i] == "%") {
      EXPECT_LE(*value, 100);
    }
  }
}

TEST(SensorProgramTest, ReachableAddressIsTimed) {
  Listener listener;
  ASSERT_NE(listener.port(), 0);
  const SensorRun run =
      RunSensor({"Global", "127.0.0.1:" + std::to_string(listener.port())});
  EXPECT_EQ(run.exit_code, 0);
  ExpectWellFormed(run);
  EXPECT_EQ(run.channels.size(), 4u);
  bool timed = false;
  for (const std::string& line : run.lines) {
    timed = timed || line == "* RESPONSE tcp 127.0.0.1:" +
                                 std::to_string(listener.port()) +
                                 " State=Done";
  }
  EXPECT_TRUE(timed);
}

struct FailureCase {
  std::string label;
  std::vector<std::string> arguments;
  std::string error_start;
};

TEST(SensorProgramTest, UnmeasurableResponseExitsWithAnErrorText) {
  const std::vector<FailureCase> cases = {
      {"refused",
       {"Global", "127.0.0.1:1"},
       "<Text>Error TCP connect to 127.0.0.1:1 failed"},
      {"not an address",
       {"Global", "nonsense"},
       "<Text>Error bad address nonsense"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.label);
    const SensorRun run = RunSensor(c.arguments);
    ASSERT_TRUE(run.exit_code.has_value());
    EXPECT_NE(*run.exit_code, 0);
    ExpectWellFormed(run);
    ASSERT_EQ(run.texts.size(), 1u);
    EXPECT_EQ(run.texts[0].rfind(c.error_start, 0), 0u) << run.texts[0];
    // What could be measured is still there; the response time is not.
    const std::vector<std::string> expected = {"Load Average", "Memory Used",
                                               "Disk Used"};
    EXPECT_EQ(run.channels, expected);
  }
}

TEST(SensorProgramTest, ProfileInTheWorkingDirectoryChoosesDiskAndAddress) {
  TempDir dir;
  dir.Write("AuxOrb0102.Prf", "* Mount Point.....: " + dir.path().string() +
                                  "\r\n* Sensor-Address..: 127.0.0.1:1\r\n");
  const SensorRun run = RunSensor({"AuxOrb0102.Prf"}, dir.path());
  ExpectWellFormed(run);
  std::vector<std::string> steps;
  for (const std::string& line : run.lines) {
    if (line.rfind("* ", 0) == 0) steps.push_back(line);
  }
  const std::vector<std::string> expected = {
      "* PROFILE  AuxOrb0102.Prf State=Done",
      "* LOAD     /proc/loadavg State=Done",
      "* MEMORY   /proc/meminfo State=Done",
      "* DISK     " + dir.path().string() + " State=Done",
      "* RESPONSE tcp 127.0.0.1:1 State=Failed",
  };
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(run.exit_code, 1);
}

TEST(SensorProgramTest, MissingProfileStillMeasures) {
  TempDir dir;
  const SensorRun run = RunSensor({"AuxOrb0909.Prf", ""}, dir.path());
  EXPECT_EQ(run.exit_code, 0);
  ExpectWellFormed(run);
  EXPECT_EQ(run.channels.size(), 4u);
  ASSERT_GT(run.lines.size(), 1u);
  EXPECT_EQ(run.lines[1], "* PROFILE  AuxOrb0909.Prf State=Not Found");
}

}  // namespace
}  // namespace vigil::tools_test
