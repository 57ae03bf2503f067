// The real prtg-sim binary on a free loopback port, seen from a client.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"
#include "tools/loopback_http.h"

namespace vigil::tools_test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using Clock = std::chrono::steady_clock;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::TempDir;

constexpr char kSensors[] =
    "credentials admin secret 4242\n"
    "apitoken VIGIL-KEY\n"
    "sensor 100 Ping\n"
    "  probe Probe A\n"
    "  group Group B\n"
    "  device Device C\n"
    "  status Warning\n"
    "  message Slow answer\n"
    "  channel Ping Time | 1136 | msec | 0 | 0\n"
    "  channel Empty | -\n"
    "  channel Downtime | none\n"
    "  channel Load | 12.5 | % | 2 | 0\n"
    "sensor 200 Traffic\n"
    "  locale de\n"
    "  channel Traffic In | 153440332 | Byte | 0 | 0\n"
    "  channel Share | 12.5 | % | 2 | 0\n"
    "sensor 300 Stalled\n  fault stall\n  channel A | 1\n"
    "sensor 400 Dropped\n  fault drop\n  channel A | 1\n"
    "sensor 500 Broken\n  fault 500\n  channel A | 1\n"
    "sensor 600 Half\n  fault half\n  channel A | 1\n  channel B | 2\n  "
    "channel C | 3\n"
    "sensor 650 Short\n  fault short\n  channel A | 1\n  channel B | 2\n"
    "sensor 700 Junk\n  fault junk\n  channel A | 1\n"
    "sensor 800 Slow\n  fault delay 1\n  channel A | 1\n"
    "sensor 900 Walking\n  channel A | 500 | u | 2 | 100\n";

constexpr char kLogin[] = "&username=admin&password=secret";

std::string Channels(int id) {
  return "/api/"
         "table.xml?content=channels&output=xml&columns=name,lastvalue&id=" +
         std::to_string(id) + kLogin;
}

std::vector<std::string> TrimmedLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(" \t\r");
    const size_t last = line.find_last_not_of(" \t\r");
    lines.push_back(
        first == std::string::npos ? "" : line.substr(first, last - first + 1));
    start = end + 1;
  }
  return lines;
}

// The line after the first line that is exactly `line`.
std::string LineAfter(const std::vector<std::string>& lines,
                      const std::string& line) {
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == line) return lines[i + 1];
  }
  return "(no line " + line + ")";
}

class Simulator {
 public:
  explicit Simulator(std::vector<std::string> extra = {}, int lifetime = 30,
                     const std::string& sensors = kSensors) {
    dir_.Write("sensors.txt", sensors);
    std::vector<std::string> argv = {std::string(VIGIL_BIN_DIR) + "/prtg-sim",
                                     "--port",
                                     "0",
                                     "--lifetime",
                                     std::to_string(lifetime),
                                     "--sensors",
                                     (dir_ / "sensors.txt").string(),
                                     "--quiet"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    process_ = std::make_unique<ChildProcess>(
        argv, ChildOptions{.capture_stdout = true});
    if (!process_->started()) return;
    const std::optional<std::string> line = process_->ReadLine(seconds(10));
    if (line) port_ = std::atoi(line->c_str());
  }
  int port() const { return port_; }
  ChildProcess& process() { return *process_; }

 private:
  TempDir dir_;
  std::unique_ptr<ChildProcess> process_;
  int port_ = 0;
};

TEST(PrtgSimServerTest, ChannelsAnswerLayout) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);
  const HttpExchange answer = Get(sim.port(), Channels(100));
  ASSERT_EQ(answer.status, 200) << answer.raw;
  EXPECT_EQ(HeaderValue(answer, "Connection"), "close");
  EXPECT_EQ(HeaderValue(answer, "Content-Length"),
            std::to_string(answer.body.size()));
  const std::vector<std::string> lines = TrimmedLines(answer.body);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
  EXPECT_EQ(lines[1], "<channels totalcount=\"0\" listend=\"1\">");
  EXPECT_EQ(lines[2].rfind("<prtg-version>", 0), 0u);
  EXPECT_EQ(LineAfter(lines, "<name>Ping Time</name>"),
            "<lastvalue>1,136 msec</lastvalue>");
  EXPECT_EQ(LineAfter(lines, "<lastvalue>1,136 msec</lastvalue>"),
            "<lastvalue_raw>1136.0000</lastvalue_raw>");
  EXPECT_EQ(LineAfter(lines, "<name>Empty</name>"), "<lastvalue/>");
  EXPECT_EQ(LineAfter(lines, "<name>Downtime</name>"), "</item>");
  EXPECT_EQ(LineAfter(lines, "<name>Load</name>"),
            "<lastvalue>12.50 %</lastvalue>");
  EXPECT_EQ(lines.back(), "</channels>");
}

TEST(PrtgSimServerTest, LocaleComesFromTheSensorOrTheCommandLine) {
  Simulator english;
  ASSERT_GT(english.port(), 0);
  std::vector<std::string> lines =
      TrimmedLines(Get(english.port(), Channels(200)).body);
  EXPECT_EQ(LineAfter(lines, "<name>Traffic In</name>"),
            "<lastvalue>153.440.332 Byte</lastvalue>");
  EXPECT_EQ(LineAfter(lines, "<name>Share</name>"),
            "<lastvalue>12,50 %</lastvalue>");

  Simulator german({"--locale", "de"});
  ASSERT_GT(german.port(), 0);
  lines = TrimmedLines(Get(german.port(), Channels(100)).body);
  EXPECT_EQ(LineAfter(lines, "<name>Ping Time</name>"),
            "<lastvalue>1.136 msec</lastvalue>");
}

TEST(PrtgSimServerTest, DetailsValuesInCdataOnTheNextLine) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);
  const HttpExchange answer =
      Get(sim.port(), std::string("/api/getsensordetails.xml?id=100") + kLogin);
  ASSERT_EQ(answer.status, 200) << answer.raw;
  const std::vector<std::string> lines = TrimmedLines(answer.body);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"<name>", "Ping"},
      {"<probename>", "Probe A"},
      {"<parentgroupname>", "Group B"},
      {"<parentdevicename>", "Device C"},
      {"<statustext>", "Warning"},
      {"<statusid>", "4"},
      {"<lastmessage>", "Slow answer"},
      {"<lastvalue>", "1,136 msec"},
  };
  for (const auto& [tag, value] : expected) {
    EXPECT_EQ(LineAfter(lines, tag), "<![CDATA[" + value + "]]>") << tag;
  }
}

struct StatusCase {
  std::string target;
  int status;
  std::string body_part;
};

TEST(PrtgSimServerTest, RefusalsCarryTheirStatus) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);
  const std::vector<StatusCase> cases = {
      {"/api/table.xml?content=channels&id=100&username=admin&password=wrong",
       401, ""},
      {"/api/table.xml?content=channels&id=100", 401, ""},
      {"/api/table.xml?content=channels&id=100&username=admin&passhash=4242",
       200, "<name>Ping Time</name>"},
      {"/api/table.xml?content=channels&id=100&apitoken=VIGIL-KEY", 200,
       "<name>Ping Time</name>"},
      {"/api/table.xml?content=channels&id=100&apitoken=VIGIL-KEX", 401, ""},
      {Channels(12345), 400,
       "<error>Sorry, there is no object with the specified id.</error>"},
      {std::string("/api/getsensordetails.xml?id=12345") + kLogin, 400,
       "<error>Sorry, there is no object with the specified id.</error>"},
      {std::string("/nothing/here") + "?id=100" + kLogin, 404, ""},
  };
  for (const StatusCase& c : cases) {
    const HttpExchange answer = Get(sim.port(), c.target);
    EXPECT_EQ(answer.status, c.status) << c.target;
    EXPECT_NE(answer.body.find(c.body_part), std::string::npos) << answer.body;
  }
}

TEST(PrtgSimServerTest, CommandLineCredentialsReplaceTheFile) {
  Simulator sim({"--user", "ops", "--password", "pw"});
  ASSERT_GT(sim.port(), 0);
  EXPECT_EQ(Get(sim.port(), Channels(100)).status, 401);
  EXPECT_EQ(
      Get(sim.port(),
          "/api/table.xml?content=channels&id=100&username=ops&password=pw")
          .status,
      200);
  // The file's key is no login, so it stays.
  EXPECT_EQ(Get(sim.port(),
                "/api/table.xml?content=channels&id=100&apitoken=VIGIL-KEY")
                .status,
            200);
}

TEST(PrtgSimServerTest, StallKeepsSilentWithoutBlockingOthers) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);
  HttpExchange stalled;
  std::thread waiter(
      [&] { stalled = Get(sim.port(), Channels(300), milliseconds(1500)); });
  std::this_thread::sleep_for(milliseconds(300));
  const HttpExchange other = Get(sim.port(), Channels(100));
  waiter.join();
  EXPECT_EQ(other.status, 200);
  EXPECT_TRUE(stalled.connected);
  EXPECT_TRUE(stalled.timed_out);
  EXPECT_TRUE(stalled.raw.empty());
}

TEST(PrtgSimServerTest, DelayedAnswerArrivesLate) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);
  const Clock::time_point start = Clock::now();
  const HttpExchange answer = Get(sim.port(), Channels(800));
  const auto waited = Clock::now() - start;
  EXPECT_EQ(answer.status, 200);
  EXPECT_GE(waited, milliseconds(950));
  EXPECT_LT(waited, seconds(4));
}

TEST(PrtgSimServerTest, SpoiledAnswers) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);

  const HttpExchange dropped = Get(sim.port(), Channels(400));
  EXPECT_TRUE(dropped.connected);
  EXPECT_FALSE(dropped.timed_out);
  EXPECT_TRUE(dropped.raw.empty());

  EXPECT_EQ(Get(sim.port(), Channels(500)).status, 500);

  const HttpExchange half = Get(sim.port(), Channels(600));
  EXPECT_EQ(half.status, 200);
  EXPECT_EQ(HeaderValue(half, "Content-Length"), "");
  EXPECT_EQ(half.body.rfind("<?xml", 0), 0u);
  EXPECT_EQ(half.body.find("</channels>"), std::string::npos);
  EXPECT_GT(half.body.size(), 100u);

  const HttpExchange cut = Get(sim.port(), Channels(650));
  EXPECT_EQ(cut.status, 200);
  EXPECT_GT(std::stoul(HeaderValue(cut, "Content-Length")), cut.body.size());

  const HttpExchange junk = Get(sim.port(), Channels(700));
  EXPECT_EQ(junk.status, 200);
  EXPECT_NE(junk.body.find('\0'), std::string::npos);
  EXPECT_NE(junk.body.rfind("<?xml", 0), 0u);
}

TEST(PrtgSimServerTest, NextRequestsFaultThenRecover) {
  Simulator sim({"--next", "2:drop", "--fault", "100:500"});
  ASSERT_GT(sim.port(), 0);
  EXPECT_TRUE(Get(sim.port(), Channels(200)).raw.empty());
  EXPECT_TRUE(Get(sim.port(), Channels(200)).raw.empty());
  EXPECT_EQ(Get(sim.port(), Channels(200)).status, 200);
  EXPECT_EQ(Get(sim.port(), Channels(100)).status, 500);
}

TEST(PrtgSimServerTest, MalformedRequestsGetAnswersAndDoNoHarm) {
  Simulator sim;
  ASSERT_GT(sim.port(), 0);
  const std::vector<std::pair<std::string, int>> cases = {
      {"garbage\r\n\r\n", 400},
      {std::string("\0\xff\xfe GET\r\n\r\n", 11), 400},
      {"POST /api/table.xml?id=100 HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc",
       405},
      {std::string(20000, 'A'), 400},
      {"GET " + Channels(100) + " HTTP/1.0\n\n", 200},
  };
  for (const auto& [bytes, status] : cases) {
    EXPECT_EQ(SendRaw(sim.port(), bytes, seconds(5)).status, status)
        << bytes.substr(0, 40);
  }
  // A client that leaves in the middle of its request.
  EXPECT_FALSE(SendRaw(sim.port(), "GET /api/tab", milliseconds(200)).status);

  const HttpExchange head = SendRaw(
      sim.port(), "HEAD " + Channels(100) + " HTTP/1.1\r\n\r\n", seconds(5));
  EXPECT_EQ(head.status, 200);
  EXPECT_TRUE(head.body.empty());
  EXPECT_NE(HeaderValue(head, "Content-Length"), "0");

  // Random bytes, each ending in a blank line, all get some answer.
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 100; ++round) {
    std::string bytes(1 + round * 7 % 300, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(random));
    const HttpExchange answer =
        SendRaw(sim.port(), bytes + "\r\n\r\n", seconds(5));
    EXPECT_GE(answer.status, 400) << "round " << round;
  }

  EXPECT_EQ(Get(sim.port(), Channels(100)).status, 200);
}

TEST(PrtgSimServerTest, ValuesWalkAndASeedRepeatsTheWalk) {
  const auto walk = [](const std::string& seed) {
    Simulator sim({"--seed", seed});
    std::vector<std::string> seen;
    for (int i = 0; i < 6; ++i) {
      seen.push_back(LineAfter(
          TrimmedLines(Get(sim.port(), Channels(900)).body), "<name>A</name>"));
    }
    return seen;
  };
  const std::vector<std::string> first = walk("11");
  ASSERT_EQ(first.size(), 6u);
  EXPECT_EQ(first[0],
            "<lastvalue>500.00 u</lastvalue>");  // starts where configured
  EXPECT_NE(first[1], first[0]);
  EXPECT_EQ(walk("11"), first);
  EXPECT_NE(walk("12"), first);
}

TEST(PrtgSimServerTest, EndsByItselfEvenWithAStalledClient) {
  Simulator sim({}, 1);
  ASSERT_GT(sim.port(), 0);
  const Clock::time_point start = Clock::now();
  HttpExchange stalled;
  std::thread waiter(
      [&] { stalled = Get(sim.port(), Channels(300), seconds(8)); });
  const std::optional<int> exit_code = sim.process().WaitFor(seconds(8));
  waiter.join();
  EXPECT_EQ(exit_code, 0);
  EXPECT_LT(Clock::now() - start, seconds(4));
  EXPECT_FALSE(stalled.timed_out);  // closed when the server ended
  EXPECT_FALSE(Get(sim.port(), Channels(100), seconds(1)).connected);
}

struct SetUpCase {
  std::vector<std::string> arguments;
  std::optional<std::string> sensors;  // written and passed with --sensors
};

TEST(PrtgSimServerTest, RefusesABrokenSetUp) {
  const std::vector<SetUpCase> cases = {
      {{"--port", "0", "--lifetime", "5"}, std::nullopt},
      {{"--port", "0", "--lifetime", "5", "--fault", "4711:drop"}, kSensors},
      {{"--port", "0", "--lifetime", "5"}, "sensor 1\n  channel broken\n"},
      {{"--port", "0", "--lifetime", "5", "--sensors", "/nonexistent/s.txt"},
       std::nullopt},
  };
  for (const SetUpCase& c : cases) {
    TempDir dir;
    std::vector<std::string> argv = {std::string(VIGIL_BIN_DIR) + "/prtg-sim"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    if (c.sensors) {
      argv.push_back("--sensors");
      dir.Write("s.txt", *c.sensors);
      argv.push_back((dir / "s.txt").string());
    }
    ChildProcess process(argv, ChildOptions{.capture_stdout = true});
    ASSERT_TRUE(process.started());
    EXPECT_EQ(process.ReadAll(seconds(5)), "");  // no port line
    EXPECT_EQ(process.WaitFor(seconds(5)), 2);
  }
}

}  // namespace
}  // namespace vigil::tools_test
