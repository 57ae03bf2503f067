// vigil serve on a real loopback server over stand-in walls: what
// /api/wall and /metrics say of each kind of orb, and what a hostile
// client gets.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/clock_text.h"
#include "store/event_log.h"
#include "store/lock_holder.h"
#include "store/text.h"
#include "support/child_process.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"
#include "tools/stand_in_orb.h"
#include "vigil/launcher_process.h"
#include "vigil/serve_options.h"
#include "vigil/serve_server.h"
#include "vigil/serve_wall_reader.h"

namespace vigil::cli {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using testing::ChildProcess;
using testing::RecordBuilder;
using testing::TempDir;
using testing::WaitUntil;

constexpr char kSecret[] = "Zq7secretHash";

std::string ResultText(const std::string& rows, const std::string& last = "") {
  return "<Prtg>\n" + rows + last + "</Prtg>\n";
}

std::string Row(const std::string& channel, const std::string& value) {
  return "<Result><Channel>" + channel + "</Channel><Value>" + value +
         "</Value></Result>\n";
}

// An in-process server on a free loopback port, ended with the test.
class RunningServer {
 public:
  explicit RunningServer(const std::filesystem::path& dir)
      : reader_(dir, {}), server_(reader_) {
    port_ = server_.Bind("127.0.0.1", 0).value_or(0);
    thread_ = std::thread([this] { server_.Serve(); });
    WaitUntil([this] { return Get("/api/wall").has_value(); }, 5s);
  }
  ~RunningServer() {
    server_.Stop();
    thread_.join();
  }

  int port() const { return port_; }

  std::optional<httplib::Response> Get(const std::string& path) const {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(10s);
    auto answer = client.Get(path);
    if (!answer) return std::nullopt;
    return *answer;
  }

 private:
  WallReader reader_;
  WallServer server_;
  int port_ = 0;
  std::thread thread_;
};

class ServeWallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<std::pair<std::string, char>> faces = {
        {"0101", '0'}, {"0102", '2'}, {"0103", '3'}, {"0104", '4'},
        {"0105", '1'}, {"0106", '2'}, {"0201", '2'}, {"0202", '2'}};
    std::vector<std::string> lines = {"0408 AuxOrbs...   ."};
    for (const auto& [number, face] : faces) {
      RecordBuilder record;
      record.number = number;
      record.display_name = "Orb" + number;
      record.face_mode = face;
      record.tail = "Global;sensor;;Title";
      if (number == "0101") record.grid_size = " 1  2";
      lines.push_back(record.Text());
    }
    wall_.WriteLines("AuxOrbs.Prf", lines);
    wall_.Write("Prtg.Prf", std::string("passhash=") + kSecret + "\n");
    for (const char* number :
         {"0101", "0102", "0103", "0104", "0105", "0201"}) {
      orbs_.push_back(StandInOrb(wall_, number));
    }
    // Files of this run must be younger than the processes by a second.
    std::this_thread::sleep_for(1100ms);
    wall_.Write("AuxOrb0101.Wxx",
                ResultText(Row("Load", "0.52") + Row("Sessions", "1234.5") +
                           Row("Name", "idle")));
    wall_.Write("AuxOrb0101.Grn", "");
    wall_.Write("AuxOrb0102.Wxx", ResultText(Row("Load", "0.9")));
    wall_.Write("AuxOrb0102.Yel", "");
    wall_.Write("AuxOrb0103.Wxx", ResultText(Row("Load", "7")));
    wall_.Write("AuxOrb0103.Red", "");
    // No data: the last text line is the sensor's error; the marker stays
    // from the last good cycle.
    wall_.Write("AuxOrb0104.Wxx",
                ResultText(Row("Load", "1"), "<Text>Error host down</Text>\n"));
    wall_.Write("AuxOrb0104.Grn", "");
    wall_.Write("AuxOrb0105.Grn", "");
    wall_.Write("AuxOrb0105.Wat", "DIALOG");
    // 0103 is in a cycle: its work file is being written.
    wall_.Write("DIALOG.Lck", LockHolderText({"AuxOrb0103", orbs_[2]->pid()}));
    wall_.Write("AuxOrb0201.Flr", "");
    // 0106 was killed: its pid is gone, its profile left.
    wall_.Write(".vigil/AuxOrb0106.pid", "999999999\n");
    wall_.Write("AuxOrb0106.Prf", "");
    RecordBuilder logged;
    logged.number = "0102";
    wall_.WriteLines(
        "AuxOrbs.Log",
        {FormatLogLine(
            {"AuxOrb", ConfigRecord(logged.Text()), "DIALOG"}, "Fail",
            std::string("GET /api?id=1&passhash=") + kSecret + "&x=1 failed",
            WallClock::now())});
  }

  TempDir wall_;
  std::vector<std::unique_ptr<ChildProcess>> orbs_;
};

const json* OrbOf(const json& wall, const std::string& stem) {
  for (const json& orb : wall["orbs"]) {
    if (orb["stem"] == stem) return &orb;
  }
  return nullptr;
}

TEST_F(ServeWallTest, ApiWallTellsEachOrbAsItsFilesSay) {
  const RunningServer server(wall_.path());
  const auto answer = server.Get("/api/wall");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 200);
  EXPECT_EQ(answer->get_header_value("Content-Type"), "application/json");
  const json wall = json::parse(answer->body);
  EXPECT_EQ(wall["rows"], 4);
  EXPECT_EQ(wall["columns"], 8);
  struct Expected {
    std::string stem;
    std::string face;
    std::string process;
    int state;
    std::string colour;
    std::string note;  // the start of "waiting" or "no_data", if any
  };
  const std::vector<Expected> table = {
      {"AuxOrb0101", "chart", "running", 1, "#ffffe1", ""},
      {"AuxOrb0102", "listing", "running", 2, "#ffff00", ""},
      {"AuxOrb0103", "gauge", "running", 3, "#ff0000", ""},
      {"AuxOrb0104", "image", "running", 4, "#c0c0c0", "Error host down"},
      {"AuxOrb0105", "unsorted", "running", 1, "#ffffe1",
       "waiting for lock DIALOG (held by AuxOrb0103"},
      {"AuxOrb0106", "listing", "crashed", 6, "#808080", ""},
      {"AuxOrb0201", "listing", "running", 4, "#c0c0c0",
       "the sensor program could not be started"},
      {"AuxOrb0202", "listing", "stopped", 6, "#808080", ""},
  };
  ASSERT_EQ(wall["orbs"].size(), table.size()) << wall.dump(1);
  for (const Expected& expected : table) {
    SCOPED_TRACE(expected.stem);
    const json* orb = OrbOf(wall, expected.stem);
    ASSERT_NE(orb, nullptr);
    EXPECT_EQ((*orb)["face"], expected.face);
    EXPECT_EQ((*orb)["process"], expected.process);
    EXPECT_EQ((*orb)["runs"], expected.process == "running");
    EXPECT_EQ((*orb)["state"]["code"], expected.state);
    EXPECT_EQ((*orb)["colour"], expected.colour);
    const json& note = (*orb)[expected.state == 4 ? "no_data" : "waiting"];
    if (expected.note.empty()) {
      EXPECT_TRUE(note.is_null()) << note;
    } else {
      EXPECT_TRUE(note.is_string() &&
                  note.get<std::string>().starts_with(expected.note))
          << note;
    }
  }
  const json& first = *OrbOf(wall, "AuxOrb0101");
  EXPECT_EQ(first["cells"],
            json({{"row", 1}, {"column", 1}, {"rows", 1}, {"columns", 2}}));
  EXPECT_EQ(first["name"], "Orb0101");
  EXPECT_EQ(first["mode"], "AuxOrb");
  EXPECT_LT(first["last_cycle_age_seconds"].get<double>(), 30);
  ASSERT_EQ(first["items"].size(), 3u);
  EXPECT_EQ(first["items"][0], json({{"name", "Load"},
                                     {"value", 0.52},
                                     {"shown", ".52"},
                                     {"unit", "#"}}));
  // The listing drops the leading 0 and shows thousands as such; the
  // number stays whole.
  EXPECT_EQ(first["items"][1]["value"], 1234.5);
  EXPECT_NE(first["items"][1]["shown"], "1234.5");
  EXPECT_TRUE(first["items"][2]["value"].is_null());
  // A crashed orb's left files tell no values, nor does a work file being
  // written.
  EXPECT_TRUE((*OrbOf(wall, "AuxOrb0106"))["items"].empty());
  EXPECT_TRUE((*OrbOf(wall, "AuxOrb0103"))["items"].empty());
  EXPECT_EQ((*OrbOf(wall, "AuxOrb0102"))["items"][0]["value"], 0.9);

  ASSERT_EQ(wall["events"].size(), 1u);
  const std::string event = wall["events"][0];
  EXPECT_NE(event.find("Fail 0102 GET /api?id=1&passhash=***&x=1"),
            std::string::npos)
      << event;
  EXPECT_EQ(answer->body.find(kSecret), std::string::npos);
}

TEST_F(ServeWallTest, MetricsCarryStatesAndValuesAndPassPromtool) {
  const RunningServer server(wall_.path());
  const auto answer = server.Get("/metrics");
  ASSERT_TRUE(answer);
  const std::string& text = answer->body;
  const std::string wall = wall_.path().filename().string();
  const std::string orb0102 =
      "{wall=\"" + wall + "\",orb=\"AuxOrb0102\",name=\"Orb0102\"";
  for (const std::string& line :
       {"vigil_orb_state" + orb0102 + "} 2\n",
        "vigil_orb_running" + orb0102 + "} 1\n",
        "vigil_orb_item_value" + orb0102 + ",item=\"Load\",unit=\"#\"} 0.9\n",
        "vigil_orb_state{wall=\"" + wall +
            "\",orb=\"AuxOrb0106\",name=\"Orb0106\"} 6\n",
        "vigil_orb_running{wall=\"" + wall +
            "\",orb=\"AuxOrb0106\",name=\"Orb0106\"} 0\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
  EXPECT_NE(text.find("vigil_orb_last_good_cycle_age_seconds" + orb0102),
            std::string::npos);
  // A text value is no sample.
  EXPECT_EQ(text.find("item=\"Name\""), std::string::npos);
  if (std::system("command -v promtool >/dev/null") != 0) {
    GTEST_SKIP() << "promtool is not installed (make deps installs it)";
  }
  wall_.Write("metrics.txt", text);
  const std::string verdict = testing::CommandOutput(
      "promtool check metrics < " + (wall_ / "metrics.txt").string() +
      " 2>&1; echo status $?");
  EXPECT_EQ(verdict, "status 0\n");
}

// A raw connection, for requests no well-behaved client sends.
class RawClient {
 public:
  explicit RawClient(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address),
                         sizeof address) == 0;
    timeval timeout{10, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  }
  ~RawClient() { close(fd_); }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool connected() const { return connected_; }

  // As much as the server takes; false when it stopped taking.
  bool Send(const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
      const ssize_t n =
          send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<size_t>(n);
    }
    return true;
  }

  // Everything until the server closes, or the time-out.
  std::string ReadAll() {
    std::string answer;
    char buffer[4096];
    for (ssize_t n; (n = recv(fd_, buffer, sizeof buffer, 0)) > 0;) {
      answer.append(buffer, static_cast<size_t>(n));
    }
    return answer;
  }

 private:
  int fd_;
  bool connected_ = false;
};

std::string ManyHeaders(int count) {
  std::string request = "GET /api/wall HTTP/1.1\r\nHost: x\r\n";
  for (int i = 0; i < count; ++i) {
    request += "X-H" + std::to_string(i) + ": v\r\n";
  }
  return request + "Connection: close\r\n\r\n";
}

TEST_F(ServeWallTest, HostileRequestsGetA4xxAndNothingOfTheFiles) {
  const RunningServer server(wall_.path());
  struct Case {
    std::string request;  // before the final empty line
    int status;
  };
  const std::vector<Case> cases = {
      {"GET /../AuxOrbs.Prf HTTP/1.1", 404},
      {"GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1", 404},
      {"GET /Prtg.Prf HTTP/1.1", 404},
      {"GET /api/wall/../../Prtg.Prf HTTP/1.1", 404},
      {"GET /.vigil/AuxOrb0106.pid HTTP/1.1", 404},
      {"POST /api/wall HTTP/1.1", 405},
      {"PUT /metrics HTTP/1.1\r\nContent-Length: 100000", 405},
      {"DELETE / HTTP/1.1", 405},
      {"GET " + std::string(9000, 'a') + " HTTP/1.1", 414},
      {"BREW", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.request.substr(0, 60));
    RawClient client(server.port());
    ASSERT_TRUE(client.connected());
    client.Send(c.request + "\r\nHost: x\r\nConnection: close\r\n\r\n");
    const std::string answer = client.ReadAll();
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 " + std::to_string(c.status)))
        << answer.substr(0, 200);
    EXPECT_EQ(answer.find(kSecret), std::string::npos);
    EXPECT_EQ(answer.find("AuxOrbs..."), std::string::npos);
  }
  RawClient crowded(server.port());
  crowded.Send(ManyHeaders(10000));
  EXPECT_TRUE(crowded.ReadAll().starts_with("HTTP/1.1 431")) << "10000 headers";
  const auto after = server.Get("/api/wall");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200);
}

TEST_F(ServeWallTest, ClientsThatNeverSpeakOrNeverReadDoNotStallIt) {
  const RunningServer server(wall_.path());
  std::vector<std::unique_ptr<RawClient>> hogs;
  for (int i = 0; i < 24; ++i) {
    hogs.push_back(std::make_unique<RawClient>(server.port()));
  }
  // Pipelined page requests whose answers are never read: the server's
  // writes block until its write time-out.
  std::vector<std::thread> senders;
  for (int i = 0; i < 4; ++i) {
    auto& hog = hogs.emplace_back(std::make_unique<RawClient>(server.port()));
    senders.emplace_back([&hog] {
      std::string requests;
      for (int n = 0; n < 2000; ++n)
        requests += "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
      hog->Send(requests);
    });
  }
  const auto asked = std::chrono::steady_clock::now();
  const auto answer = server.Get("/api/wall");
  const auto waited = std::chrono::steady_clock::now() - asked;
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 200);
  EXPECT_LT(waited, 8s);
  hogs.clear();
  for (std::thread& sender : senders) sender.join();
}

TEST(ServeOptionsTest, ListensOnLoopbackUnlessToldOtherwise) {
  struct Case {
    Words words;
    std::string address;  // empty: an error
    int port;
  };
  const std::vector<Case> cases = {
      {{}, "127.0.0.1", 8765},
      {{"--listen", "0.0.0.0:80"}, "0.0.0.0", 80},
      {{"--listen=[::1]:9000"}, "::1", 9000},
      {{"--listen", "127.0.0.1:0", "--dir", "/w", "--mode", "HttpOrb"},
       "127.0.0.1",
       0},
      {{"--listen", "localhost"}, "", 0},
      {{"--listen", ":80"}, "", 0},
      {{"--listen", "::1:80"}, "", 0},
      {{"--listen", "127.0.0.1:65536"}, "", 0},
      {{"--listen", "127.0.0.1:-1"}, "", 0},
      {{"--mode", "Orb"}, "", 0},
      {{"extra"}, "", 0},
      {{"--wait", "1"}, "", 0},
  };
  for (const Case& c : cases) {
    const Result<ServeOptions> parsed = ParseServeOptions(c.words);
    SCOPED_TRACE(c.words.empty() ? "(none)" : c.words.back());
    ASSERT_EQ(parsed.ok(), !c.address.empty()) << parsed.error();
    if (!parsed) continue;
    EXPECT_EQ(parsed->address, c.address);
    EXPECT_EQ(parsed->port, c.port);
  }
}

}  // namespace
}  // namespace vigil::cli
