#include "prtg/prtg_client.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "monitor/monitoring_cycle.h"
#include "monitor/orb_state.h"
#include "prtg/profile_lines.h"
#include "prtg/prtg_fixture.h"
#include "prtg/prtg_request.h"
#include "prtg/prtg_test_server.h"
#include "prtg/result_writer.h"
#include "store/companion_files.h"
#include "support/prtg_sim_process.h"
#include "support/record_builder.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"
#include "support/tls_test_server.h"

namespace vigil {
namespace {

using std::chrono::milliseconds;
using testing::kPrtgApiToken;
using testing::kPrtgPassword;
using testing::kPrtgUser;

constexpr std::string_view kVersion = "HttpOrb 3.3 / 06.05.15";
const ItemRow kLastGoodRow = {"Channel 01:", "Old",    "42",
                              "#",           "clLime", kImagePrtgChannel};

std::vector<std::string> EmptyResult() {
  return {"<Prtg>", "", "<Text>HttpOrb0102</Text>", "", "</Prtg>"};
}

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// One HttpOrb orb 0102 in its own working directory, holding its lock, with
// the rows of an earlier good cycle.
class HttpOrb {
 public:
  HttpOrb()
      : files_(dir_.path(), "HttpOrb", "0102"),
        log_(dir_ / "HttpOrbs.Log"),
        lock_(files_, "PRTG", log_, view_, busy_flag_) {
    state_.mode_word = "HttpOrb";
    items().Append(kLastGoodRow);
    progress().Append("* 00:00:00 left from the last cycle State=Done");
    values().number_format = 'D';
    DownloadSettings fast;
    fast.connect_timeout = milliseconds(1000);
    fast.total_timeout = milliseconds(1000);
    client_ = std::make_unique<PrtgClient>(std::string(kVersion), fast);
    SetRecord("/sensor.htm?id=2041");
  }

  void SetRecord(const std::string& address, char id_kind = '0',
                 const std::string& chart_bars = "xxxxxxxx") {
    testing::RecordBuilder builder;
    builder.number = "0102";
    builder.lock_name = "PRTG";
    builder.id_kind = id_kind;
    builder.chart_bars = chart_bars;
    builder.tail = "prtg.corp;HttpOrb;" + address + ";Ping";
    state_.config.record = builder.Text();
    log_.set_context({"HttpOrb", state_.record(), "PRTG", true});
  }

  void WriteProfile(const std::string& host,
                    std::string_view password = kPrtgPassword,
                    std::vector<std::string> extra = {}) {
    std::vector<std::string> lines = {
        "* Profile.........: PRTG", testing::HostLine(host),
        testing::SchemeLine(false), testing::UserLine(kPrtgUser),
        testing::PasswordLine(password)};
    lines.insert(lines.end(), extra.begin(), extra.end());
    dir_.WriteLines("HttpOrb0102.Prf", lines);
  }

  PrtgAcquisition Acquire() {
    if (!lock_.held()) {
      EXPECT_EQ(lock_.Take(), SourceLock::Outcome::kTaken);
    }
    RemoveWorkFile();
    return client_->Acquire(PrtgOrbOf(state_), files_, view_, lock_, log_);
  }

  void RemoveWorkFile() { std::filesystem::remove(files_.WorkFile()); }
  std::string WorkFileText() const { return dir_.Read("HttpOrb0102.Wxx"); }
  bool LockFileExists() const { return dir_.Exists("PRTG.Lck"); }
  std::string LogText() const { return dir_.Read("HttpOrbs.Log"); }

  // The user name, the password and the API key, plain or encoded, reach
  // nothing that a user or a sibling program can read.
  void ExpectNoCredentials(const std::string& context) const {
    std::vector<std::string> texts = state_.lists.wrky.lines();
    for (const std::string& box : view_.message_boxes()) texts.push_back(box);
    for (const std::string& caption : view_.captions())
      texts.push_back(caption);
    for (const std::string& error : view_.errors()) texts.push_back(error);
    texts.push_back(LogText());
    texts.push_back(WorkFileText());
    for (const ItemRow& row : state_.items.rows()) {
      texts.push_back(row.item + row.data + row.unit + row.color);
    }
    for (const std::string& text : texts) {
      for (const std::string& secret :
           {std::string(kPrtgUser), std::string(kPrtgPassword),
            QueryEncode(kPrtgPassword), std::string("username="),
            std::string("password="), std::string(kPrtgApiToken),
            QueryEncode(kPrtgApiToken), std::string("apitoken=")}) {
        EXPECT_EQ(text.find(secret), std::string::npos)
            << context << ": " << text;
      }
    }
  }

  const testing::TempDir& dir() const { return dir_; }
  testing::RecordingView& view() { return view_; }
  ItemTable& items() { return state_.items; }
  StagingTable& staging() { return state_.staging; }
  StringList& progress() { return state_.lists.wrky; }
  OrbValues& values() { return state_.values; }
  OrbState& state() { return state_; }

 private:
  testing::TempDir dir_;
  testing::RecordingView view_;
  CompanionFiles files_;
  EventLog log_;
  OrbState state_;
  BusyFlag& busy_flag_ = state_.busy_flag;
  SourceLock lock_;
  std::unique_ptr<PrtgClient> client_;
};

class PrtgClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        std::filesystem::exists(std::string(VIGIL_BIN_DIR) + "/prtg-sim"))
        << "build the prtg-sim target first";
  }
};

// A simulator with the test sensors and login, writing its log into dir.
std::unique_ptr<testing::PrtgSim> MakeSim(const testing::TempDir& dir,
                                          std::vector<std::string> extra = {}) {
  return std::make_unique<testing::PrtgSim>(dir.path(),
                                            std::string(testing::kPrtgSensors),
                                            testing::PrtgLogin(extra));
}

bool Matches(const std::string& line, const std::string& pattern) {
  return std::regex_match(line, std::regex(pattern));
}

const std::string kTime = R"(\* \d\d:\d\d:\d\d )";
const std::string kChannelsPath =
    R"(/api/table\.xml\?content=channels&output=xml&columns=name,lastvalue&id=)";

TEST_F(PrtgClientTest, ASingleSensorFillsTheItemTableAndTheWorkFile) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir);
  ASSERT_TRUE(sim->ready());
  HttpOrb orb;
  orb.WriteProfile(sim->host());

  const PrtgAcquisition got = orb.Acquire();

  EXPECT_TRUE(got.fresh_rows);
  EXPECT_TRUE(got.result_written);
  EXPECT_FALSE(got.lock_removed);
  EXPECT_TRUE(got.messages.empty());
  EXPECT_TRUE(orb.LockFileExists());
  const std::vector<ItemRow> expected = {
      {"Channel 01:", "Ping Time", "1,136", "msec", "clLime", 29},
      {"Channel 02:", "Minimum", "982", "msec", "clYellow", 29},
      {"Channel 03:", "Packet Loss", "0", "%", "clAqua", 29},
      {"Channel 04:", "Downtime", "0", "#", "clFuchsia", 29},
  };
  EXPECT_EQ(orb.items().rows(), expected);
  EXPECT_EQ(orb.values().number_format, 'E');
  EXPECT_TRUE(orb.staging().empty());
  EXPECT_EQ(orb.WorkFileText(), CrLf(ResultLines("0102", expected, 'E')));
  EXPECT_EQ(orb.view().captions().back(), "<URL>");

  const std::vector<std::string>& lines = orb.progress().lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(Matches(lines[0], kTime + "Starting " +
                                    R"(HttpOrb 3\.3 / 06\.05\.15 State=Done)"))
      << lines[0];
  EXPECT_TRUE(Matches(lines[1], kTime + R"(http://127\.0\.0\.1:\d+)" +
                                    kChannelsPath + "2041 State=Processing"))
      << lines[1];
  EXPECT_TRUE(
      Matches(lines[2], kTime + R"(Ending of HttpOrb\.\.\. State=Done)"))
      << lines[2];
  orb.ExpectNoCredentials("good cycle");
}

TEST_F(PrtgClientTest, AGermanAnswerSetsTheDotFormat) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir);
  HttpOrb orb;
  orb.values().number_format = 'E';
  orb.SetRecord("/sensor.htm?id=2042");
  orb.WriteProfile(sim->host());
  ASSERT_TRUE(orb.Acquire().fresh_rows);
  ASSERT_EQ(orb.items().size(), 2u);
  EXPECT_EQ(orb.items()[0].data, "153.440.332");
  EXPECT_EQ(orb.values().number_format, 'D');
  EXPECT_NE(orb.WorkFileText().find("<Value>153440332</Value>"),
            std::string::npos);
}

TEST_F(PrtgClientTest, AMultiSensorOrbShowsOneChannelOfEachSensor) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir);
  ASSERT_TRUE(sim->ready());
  const std::vector<std::tuple<char, std::string, std::string>> kinds = {
      {'1', "Local Probe", "Remote Probe Berlin"}, {'2', "Network", "Servers"},
      {'3', "Core Router", "File Server"},         {'4', "Ping", "CPU Load"},
      {'0', "No_Identifier", "No_Identifier"},
  };
  for (const auto& [kind, first, second] : kinds) {
    HttpOrb orb;
    orb.SetRecord("/sensor.htm?id=2041#2077", kind, "01xxxxxx");
    orb.WriteProfile(sim->host());
    const PrtgAcquisition got = orb.Acquire();
    EXPECT_TRUE(got.fresh_rows) << kind;
    EXPECT_TRUE(got.messages.empty()) << kind;
    const std::vector<ItemRow> expected = {
        {"Channel 02:", first, "982", "msec", "clLime", 29},
        {"Channel 02:", second, "81.25", "%", "clYellow", 29},
    };
    EXPECT_EQ(orb.items().rows(), expected) << kind;
    ASSERT_EQ(orb.staging().size(), 2u) << kind;
    EXPECT_EQ(orb.staging()[0].color, "982 msec");
    EXPECT_EQ(orb.staging()[1].item, second);
    EXPECT_EQ(orb.values().number_format, 'E');  // the last answer's
    // Start, two sensors, end.
    EXPECT_EQ(orb.progress().Count(), 4u) << kind;
    orb.ExpectNoCredentials("multi-sensor");
  }
}

TEST_F(PrtgClientTest, AChannelIndexBeyondASensorsChannelsAddsNoRow) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir);
  HttpOrb orb;
  orb.SetRecord("/sensor.htm?id=2041#2077", '4', "03xxxxxx");
  orb.WriteProfile(sim->host());
  ASSERT_TRUE(orb.Acquire().fresh_rows);
  ASSERT_EQ(orb.items().size(), 1u);
  EXPECT_EQ(orb.items()[0].item, "Ping");
  EXPECT_EQ(orb.items()[0].label, "Channel 04:");

  // No sensor has a fifth channel: no rows, and the old ones stay.
  HttpOrb none;
  none.SetRecord("/sensor.htm?id=2041#2077", '4', "04xxxxxx");
  none.WriteProfile(sim->host());
  const PrtgAcquisition got = none.Acquire();
  EXPECT_FALSE(got.fresh_rows);
  EXPECT_FALSE(got.lock_removed);
  EXPECT_TRUE(got.messages.empty());
  EXPECT_EQ(none.items().rows(), std::vector<ItemRow>{kLastGoodRow});
  EXPECT_EQ(none.WorkFileText(), CrLf(EmptyResult()));
}

struct FaultCase {
  std::string name;
  std::vector<std::string> sim_options;  // make the first request fail
  bool server_down = false;
  bool wrong_password = false;
  std::string address = "/sensor.htm?id=2041";
};

// Every way a server can fail: a message box, a fuchsia frame, no lock
// file, the old rows kept and a result text without rows; and the next
// cycle works again.
TEST_F(PrtgClientTest, AFailingServerKeepsTheLastGoodRows) {
  const std::vector<FaultCase> cases = {
      {"server down", {}, true},
      {"stall", {"--next", "1:stall"}},
      {"401", {}, false, true},
      {"400", {}, false, false, "/sensor.htm?id=9999"},
      {"500", {"--next", "1:500"}},
      {"half a document", {"--next", "1:half"}},
      {"binary junk", {"--next", "1:junk"}},
      {"connection dropped", {"--next", "1:drop"}},
      {"short body", {"--next", "1:short"}},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir sim_dir;
    const auto sim = MakeSim(sim_dir, c.sim_options);
    ASSERT_TRUE(sim->ready());
    HttpOrb orb;
    orb.SetRecord(c.address);
    orb.WriteProfile(
        c.server_down
            ? "127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort())
            : sim->host(),
        c.wrong_password ? "wrong" : kPrtgPassword);

    const PrtgAcquisition failed = orb.Acquire();

    EXPECT_FALSE(failed.fresh_rows);
    EXPECT_TRUE(failed.result_written);
    EXPECT_TRUE(failed.lock_removed);
    EXPECT_FALSE(orb.LockFileExists());
    EXPECT_EQ(failed.messages,
              std::vector<std::string>{std::string(kGetChannelsFailed)});
    EXPECT_EQ(orb.view().message_boxes(), failed.messages);
    ASSERT_FALSE(orb.view().frame_colours().empty());
    EXPECT_EQ(orb.view().frame_colours().back(), kFuchsia);
    EXPECT_EQ(orb.items().rows(), std::vector<ItemRow>{kLastGoodRow});
    EXPECT_EQ(orb.values().number_format, 'D');
    EXPECT_EQ(orb.WorkFileText(), CrLf(EmptyResult()));
    const std::vector<std::string>& lines = orb.progress().lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(Matches(lines[2], kTime + "http://.*State=Failed")) << lines[2];
    EXPECT_EQ(lines[2].substr(0, lines[1].size() - 10),
              lines[1].substr(0, lines[1].size() - 10));
    orb.ExpectNoCredentials(c.name + ", failed");

    // The next cycle, with the server back as it should be.
    orb.SetRecord("/sensor.htm?id=2041");
    orb.WriteProfile(sim->host());
    const PrtgAcquisition next = orb.Acquire();
    EXPECT_TRUE(next.fresh_rows);
    EXPECT_TRUE(orb.LockFileExists());
    EXPECT_EQ(orb.items().size(), 4u);
    EXPECT_EQ(orb.values().number_format, 'E');
    orb.ExpectNoCredentials(c.name + ", next");
  }
}

TEST_F(PrtgClientTest, AFailedDetailsRequestLeavesTheSensorUnnamed) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir, {"--next", "1:500"});
  HttpOrb orb;
  orb.SetRecord("/sensor.htm?id=2041#2077", '1', "00xxxxxx");
  orb.WriteProfile(sim->host());
  const PrtgAcquisition got = orb.Acquire();
  EXPECT_TRUE(got.fresh_rows);
  EXPECT_EQ(got.messages,
            std::vector<std::string>{std::string(kGetDetailsFailed)});
  EXPECT_FALSE(orb.LockFileExists());
  ASSERT_EQ(orb.items().size(), 2u);
  EXPECT_EQ(orb.items()[0].item, "No_Identifier");
  EXPECT_EQ(orb.items()[1].item, "Remote Probe Berlin");
}

// A sensor whose requests fail gives no row; the sensors before and after
// it still give theirs, in order, and each failure is told.
TEST_F(PrtgClientTest, AFailingSensorOfThreeLeavesTheOthersTheirRows) {
  for (const char* fault : {"stall", "401", "500", "junk"}) {
    SCOPED_TRACE(fault);
    testing::TempDir sim_dir;
    const auto sim =
        MakeSim(sim_dir, {"--fault", std::string("2042:") + fault});
    HttpOrb orb;
    orb.SetRecord("/sensor.htm?id=2041#2042#2077", '3', "00xxxxxx");
    orb.WriteProfile(sim->host());
    const PrtgAcquisition got = orb.Acquire();
    EXPECT_TRUE(got.fresh_rows);
    EXPECT_EQ(got.messages,
              (std::vector<std::string>{std::string(kGetDetailsFailed),
                                        std::string(kGetChannelsFailed)}));
    EXPECT_FALSE(orb.LockFileExists());
    const std::vector<ItemRow> expected = {
        {"Channel 01:", "Core Router", "1,136", "msec", "clLime", 29},
        {"Channel 01:", "File Server", "84.50", "%", "clYellow", 29},
    };
    EXPECT_EQ(orb.items().rows(), expected);
    EXPECT_EQ(orb.WorkFileText(), CrLf(ResultLines("0102", expected, 'E')));
    const std::vector<std::string>& lines = orb.progress().lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(Matches(lines[3], kTime + ".*id=2042 State=Failed"))
        << lines[3];
    EXPECT_TRUE(Matches(lines[5], kTime + ".*id=2077 State=Processing"));
    orb.ExpectNoCredentials(fault);
  }
}

// A wall nobody watches: no message box to wait for, the status caption
// says it, and a run of failing cycles logs one "Fail" line.
TEST_F(PrtgClientTest, AnUnattendedOrbLogsOneFailLinePerRunOfFailures) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir);
  HttpOrb orb;
  orb.state().header.unattended = true;
  orb.SetRecord("/sensor.htm?id=3002");
  orb.WriteProfile(sim->host());
  for (int cycle = 0; cycle < 2; ++cycle) {
    EXPECT_EQ(orb.Acquire().messages,
              std::vector<std::string>{std::string(kGetChannelsFailed)});
  }
  EXPECT_TRUE(orb.view().message_boxes().empty());
  EXPECT_EQ(orb.view().captions().back(), kFailCaption);
  auto fail_lines = [&] {
    const std::string log = orb.LogText();
    size_t count = 0;
    for (size_t at = log.find(" Fail "); at != std::string::npos;
         at = log.find(" Fail ", at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_EQ(fail_lines(), 1u);
  // The cycle ends a run when data comes back; the next failure is new.
  orb.state().failure_logged = false;
  orb.Acquire();
  EXPECT_EQ(fail_lines(), 2u);
}

TEST_F(PrtgClientTest, AMissingProfileIsToldAndTouchesNoRow) {
  HttpOrb orb;
  const PrtgAcquisition got = orb.Acquire();
  EXPECT_FALSE(got.fresh_rows);
  EXPECT_EQ(got.messages, std::vector<std::string>{
                              "Read HttpOrb0102.Prf failed, please Check !"});
  EXPECT_FALSE(orb.LockFileExists());
  EXPECT_EQ(orb.items().rows(), std::vector<ItemRow>{kLastGoodRow});
  EXPECT_EQ(orb.WorkFileText(), CrLf(EmptyResult()));
  ASSERT_EQ(orb.progress().Count(), 1u);
  EXPECT_TRUE(
      Matches(orb.progress().Get(0),
              kTime + "Profile HttpOrb0102.Prf not readable State=Failed"));
}

TEST_F(PrtgClientTest, AWrongPortLineIsLoggedOnceAndShownEachCycle) {
  testing::TempDir sim_dir;
  const auto sim = MakeSim(sim_dir);
  HttpOrb orb;
  orb.WriteProfile(sim->host(), kPrtgPassword,
                   {std::string(kPrtgPortKey) + "80a"});
  for (int cycle = 0; cycle < 2; ++cycle) {
    EXPECT_TRUE(orb.Acquire().fresh_rows);
    int shown = 0;
    for (const std::string& line : orb.progress().lines()) {
      shown += Matches(line, kTime +
                                 "PRTG-Port \"80a\" is not a whole number.* "
                                 "State=Failed");
    }
    EXPECT_EQ(shown, 1);
  }
  const std::string log = orb.LogText();
  size_t fails = 0;
  for (size_t at = log.find(" Fail "); at != std::string::npos;
       at = log.find(" Fail ", at + 1)) {
    ++fails;
  }
  EXPECT_EQ(fails, 1u) << log;
  EXPECT_NE(log.find("PRTG-Port \"80a\""), std::string::npos);
  orb.ExpectNoCredentials("port");
}

TEST_F(PrtgClientTest, AnAddressWithoutIdsRequestsNothing) {
  HttpOrb orb;
  orb.SetRecord("/sensor.htm?sensor=2041");
  orb.WriteProfile("127.0.0.1:1");
  const PrtgAcquisition got = orb.Acquire();
  EXPECT_FALSE(got.fresh_rows);
  EXPECT_TRUE(got.messages.empty());
  EXPECT_EQ(orb.items().rows(), std::vector<ItemRow>{kLastGoodRow});
  ASSERT_EQ(orb.progress().Count(), 3u);
  EXPECT_TRUE(Matches(orb.progress().Get(1),
                      kTime + "Sensor address without id= State=Failed"));
}

struct TrustLinesCase {
  std::string name;
  std::vector<std::string> trust_lines;
  bool trusted;
};

// The profile's trust lines reach the downloads, a relative CA file is
// taken from the orb's working directory, and a server that is refused is
// told as such.
TEST_F(PrtgClientTest, AnHttpsServerIsTrustedThroughTheProfilesTrustLines) {
  testing::TempDir server_dir;
  const testing::TlsTestServer server(server_dir.path());
  ASSERT_TRUE(server.ready());
  server.Serve(std::string(kChannelsPathPrefix) +
                   "2041&username=" + QueryEncode(kPrtgUser) +
                   "&password=" + QueryEncode(kPrtgPassword),
               testing::PrtgFixture("channels_2041_ping_en.xml"));
  const std::string ca_line = std::string(kCaFileKey) + "prtg-ca.pem";
  const std::string pin_line = std::string(kPinnedKeyKey) + server.pin();
  const std::string other_pin_line =
      std::string(kPinnedKeyKey) + "sha256//" + std::string(43, 'A') + "=";
  const std::vector<TrustLinesCase> cases = {
      {"no trust lines", {}, false},
      {"its certificate as CA file", {ca_line}, true},
      {"CA file and its pin", {pin_line, ca_line}, true},
      {"CA file and another pin", {ca_line, other_pin_line}, false},
  };
  for (const TrustLinesCase& c : cases) {
    SCOPED_TRACE(c.name);
    HttpOrb orb;
    std::filesystem::copy_file(server.certificate(), orb.dir() / "prtg-ca.pem");
    std::vector<std::string> profile = {
        testing::HostLine(server.host()), testing::SchemeLine(true),
        testing::UserLine(kPrtgUser), testing::PasswordLine(kPrtgPassword)};
    profile.insert(profile.end(), c.trust_lines.begin(), c.trust_lines.end());
    orb.dir().WriteLines("HttpOrb0102.Prf", profile);

    const PrtgAcquisition got = orb.Acquire();

    EXPECT_EQ(got.fresh_rows, c.trusted);
    ASSERT_FALSE(orb.items().empty());
    EXPECT_EQ(orb.items()[0].item, c.trusted ? "Ping Time" : kLastGoodRow.item);
    EXPECT_EQ(got.messages, c.trusted ? std::vector<std::string>{}
                                      : std::vector<std::string>{
                                            std::string(kServerNotTrusted)});
    EXPECT_EQ(orb.LockFileExists(), c.trusted);
    orb.ExpectNoCredentials(c.name);
  }
}

struct ApiTokenCase {
  std::string name;
  std::string address;
  std::string_view token;
  std::vector<std::string> messages;
};

// With a key in the profile the requests carry it in place of the user and
// the password (the right ones are in the profile too, so a request that
// used them would pass), and the key is shown nowhere.
TEST_F(PrtgClientTest, AnApiKeyReplacesTheLoginAndIsShownNowhere) {
  testing::TempDir sim_dir;
  const testing::PrtgSim sim(sim_dir.path(),
                             "apitoken " + std::string(kPrtgApiToken) + "\n" +
                                 std::string(testing::kPrtgSensors),
                             testing::PrtgLogin());
  ASSERT_TRUE(sim.ready());
  const std::vector<ApiTokenCase> cases = {
      {"single sensor", "/sensor.htm?id=2041", kPrtgApiToken, {}},
      {"multi-sensor with details",
       "/sensor.htm?id=2041#2077",
       kPrtgApiToken,
       {}},
      {"wrong key",
       "/sensor.htm?id=2041",
       "WRONG",
       {std::string(kGetChannelsFailed)}},
  };
  for (const ApiTokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    HttpOrb orb;
    orb.SetRecord(c.address, '4', "00xxxxxx");
    orb.WriteProfile(sim.host(), kPrtgPassword,
                     {testing::ApiTokenLine(c.token)});
    const PrtgAcquisition got = orb.Acquire();
    EXPECT_EQ(got.fresh_rows, c.messages.empty());
    EXPECT_EQ(got.messages, c.messages);
    orb.ExpectNoCredentials(c.name);
  }
  const std::string log = sim.RequestLog();
  EXPECT_EQ(log.find("username="), std::string::npos) << log;
  EXPECT_NE(log.find("getsensordetails.xml?id=2077&apitoken=***"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace vigil
