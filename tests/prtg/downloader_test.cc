#include "prtg/downloader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "prtg/prtg_answer.h"
#include "prtg/prtg_request.h"
#include "prtg/prtg_test_server.h"
#include "support/prtg_sim_process.h"
#include "support/temp_dir.h"
#include "support/tls_test_server.h"

namespace vigil {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

DownloadSettings Fast() {
  DownloadSettings settings;
  settings.connect_timeout = milliseconds(1000);
  settings.total_timeout = milliseconds(1000);
  return settings;
}

std::string ChannelsOf(const std::string& host, const std::string& id,
                       std::string_view password = testing::kPrtgPassword) {
  return "http://" + host + std::string(kChannelsPathPrefix) + id +
         "&username=" + QueryEncode(testing::kPrtgUser) +
         "&password=" + QueryEncode(password);
}

class PrtgDownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        std::filesystem::exists(std::string(VIGIL_BIN_DIR) + "/prtg-sim"))
        << "build the prtg-sim target first";
    ASSERT_TRUE(sim_.ready());
  }

  // A file left from before, which a failed download must not leave.
  std::filesystem::path WorkFile() {
    dir_.Write("HttpOrb0102.Wxx", "<old>answer</old>");
    return dir_ / "HttpOrb0102.Wxx";
  }

  testing::TempDir dir_;
  testing::PrtgSim sim_{dir_.path(), std::string(testing::kPrtgSensors),
                        testing::PrtgLogin()};
};

TEST_F(PrtgDownloaderTest, AWholeAnswerLandsInTheFile) {
  const DownloadOutcome outcome =
      DownloadToFile(ChannelsOf(sim_.host(), "2041"), WorkFile(), Fast());
  EXPECT_TRUE(outcome.ok) << outcome.failure;
  EXPECT_EQ(outcome.http_status, 200);
  const std::string answer = dir_.Read("HttpOrb0102.Wxx");
  EXPECT_TRUE(IsWholeAnswer(answer));
  EXPECT_NE(answer.find("<name>Ping Time</name>"), std::string::npos);
}

struct FailureCase {
  std::string name;
  std::string url;
  long http_status;
};

TEST_F(PrtgDownloaderTest, FailuresRemoveTheFile) {
  const std::string host = sim_.host();
  const std::vector<FailureCase> cases = {
      {"wrong password", ChannelsOf(host, "2041", "wrong"), 401},
      {"unknown sensor", ChannelsOf(host, "9999"), 400},
      {"server error", ChannelsOf(host, "3002"), 500},
      {"connection dropped", ChannelsOf(host, "3005"), 0},
      {"body shorter than its length", ChannelsOf(host, "3006"), 200},
      {"server down",
       ChannelsOf("127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()),
                  "2041"),
       0},
      {"no such page", "http://" + host + "/nothing.htm", 404},
      {"not a web scheme", "file:///etc/hostname", 0},
  };
  for (const FailureCase& c : cases) {
    const DownloadOutcome outcome = DownloadToFile(c.url, WorkFile(), Fast());
    EXPECT_FALSE(outcome.ok) << c.name;
    EXPECT_EQ(outcome.http_status, c.http_status) << c.name;
    EXPECT_FALSE(outcome.failure.empty()) << c.name;
    EXPECT_FALSE(outcome.untrusted) << c.name;
    EXPECT_FALSE(dir_.Exists("HttpOrb0102.Wxx")) << c.name;
  }
}

// A server that accepts and never answers, or answers a byte a second,
// holds the orb no longer than the total time-out; one that sends 50 MB
// is cut off at the limit.
TEST_F(PrtgDownloaderTest, SlowAndEndlessServersAreCutOff) {
  const struct {
    const char* id;
    bool timed_out;
    std::string failure;
  } cases[] = {
      {"3001", true, ""},  // stall
      {"3007", true, ""},  // trickle
      {"3008", false, "the answer is too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const Clock::time_point start = Clock::now();
    const DownloadOutcome outcome =
        DownloadToFile(ChannelsOf(sim_.host(), c.id), WorkFile(), Fast());
    const auto took =
        std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.timed_out, c.timed_out);
    if (!c.failure.empty()) {
      EXPECT_EQ(outcome.failure, c.failure);
    }
    EXPECT_GE(took.count(), c.timed_out ? 900 : 0);
    EXPECT_LT(took.count(), 3000);
    EXPECT_FALSE(dir_.Exists("HttpOrb0102.Wxx"));
  }
}

// A complete transfer with status 200 is a download; whether it is an
// answer is for the reader of the answer to decide.
TEST_F(PrtgDownloaderTest, HalfDocumentsAndJunkArriveAsTheyWereSent) {
  for (const char* id : {"3003", "3004"}) {
    const DownloadOutcome outcome =
        DownloadToFile(ChannelsOf(sim_.host(), id), WorkFile(), Fast());
    EXPECT_TRUE(outcome.ok) << id;
    EXPECT_FALSE(IsWholeAnswer(dir_.Read("HttpOrb0102.Wxx"))) << id;
  }
}

TEST_F(PrtgDownloaderTest, AnAnswerAboveTheLimitIsRefused) {
  DownloadSettings settings = Fast();
  settings.max_bytes = 100;
  const DownloadOutcome outcome =
      DownloadToFile(ChannelsOf(sim_.host(), "2041"), WorkFile(), settings);
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(dir_.Exists("HttpOrb0102.Wxx"));
}

TEST_F(PrtgDownloaderTest, AWorkFileThatCannotBeWrittenFails) {
  const DownloadOutcome outcome = DownloadToFile(
      ChannelsOf(sim_.host(), "2041"), dir_ / "missing" / "x.Wxx", Fast());
  EXPECT_FALSE(outcome.ok);
}

struct TrustCase {
  std::string name;
  std::filesystem::path ca_file;
  std::string pinned_key;
  bool trusted;
};

// The host is always verified. A self-signed server is trusted through its
// certificate as CA file, or through its pinned key alone; a pin that does
// not match refuses it either way.
TEST(PrtgDownloaderTlsTest, TrustComesFromTheCaFileAndThePin) {
  ASSERT_TRUE(std::filesystem::exists("/usr/bin/openssl"));
  testing::TempDir dir;
  const testing::TlsTestServer server(dir.path());
  ASSERT_TRUE(server.ready());
  server.Serve("/api/answer.xml?id=1", "<answer/>");
  const std::string url = "https://" + server.host() + "/api/answer.xml?id=1";
  // A well-formed pin of a key that nobody has.
  const std::string wrong_pin = "sha256//" + std::string(43, 'A') + "=";
  const std::vector<TrustCase> cases = {
      {"the system's authorities", {}, "", false},
      {"its certificate as CA file", server.certificate(), "", true},
      {"CA file and its pin", server.certificate(), server.pin(), true},
      {"CA file and a wrong pin", server.certificate(), wrong_pin, false},
      {"its pin without a CA file", {}, server.pin(), true},
      {"a wrong pin without a CA file", {}, wrong_pin, false},
      {"a CA file that is missing", dir / "missing.pem", "", false},
  };
  for (const TrustCase& c : cases) {
    DownloadSettings settings = Fast();
    settings.ca_file = c.ca_file;
    settings.pinned_key = c.pinned_key;
    const DownloadOutcome outcome =
        DownloadToFile(url, dir / "x.Wxx", settings);
    EXPECT_EQ(outcome.ok, c.trusted) << c.name << ": " << outcome.failure;
    EXPECT_EQ(outcome.untrusted, !c.trusted) << c.name;
    EXPECT_EQ(outcome.http_status, c.trusted ? 200 : 0) << c.name;
    EXPECT_EQ(dir.Exists("x.Wxx") ? dir.Read("x.Wxx") : "",
              c.trusted ? "<answer/>" : "")
        << c.name;
  }
}

}  // namespace
}  // namespace vigil
