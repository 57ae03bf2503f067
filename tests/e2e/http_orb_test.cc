// The real HttpOrb against the PRTG simulator: the work file holds the
// sensor's channels, and a server that goes away gives the no-data path.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "support/loopback_port.h"
#include "support/orb_workspace.h"
#include "support/prtg_sim_process.h"
#include "support/record_builder.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

constexpr char kSensors[] =
    "locale en\n"
    "credentials prtgadmin s3cret&pass 1234567890\n"
    "sensor 2041 Ping\n"
    "  channel Ping Time | 1136 | msec\n"
    "  channel Packet Loss | 0 | %\n";

std::string Scrambled(const std::string& password) {
  std::string scrambled = password;
  for (char& c : scrambled) c = static_cast<char>(c ^ 0x5A);
  return scrambled;
}

class HttpOrbTest : public ::testing::Test {
 protected:
  HttpOrbTest()
      : space_("HttpOrb"),
        sim_(space_.dir().path(), kSensors, {"--no-drift"}) {}

  void SetUpOrb(const std::string& password) {
    space_.InstallExtensionLibrary();
    RecordBuilder record;
    record.number = "0102";
    record.delay = "    1";
    record.lock_name = "<Profile>";
    record.tail = "Prtg.Prf;;/sensor.htm?id=2041;Ping";
    space_.WriteOrbsFile({"0806 HttpOrbs..   .", record.Text()});
    space_.dir().WriteLines(
        "Prtg.Prf",
        {"* Host/IP.........: " + sim_.host(), "* Setting Parm01..: True",
         "* User-ID.........: prtgadmin",
         "* Password........: " + Scrambled(password)});
  }

  std::string WorkFile() const { return space_.dir().Read("HttpOrb0102.Wxx"); }
  std::string Log() const { return space_.dir().Read("HttpOrbs.Log"); }

  OrbWorkspace space_;
  testing::PrtgSim sim_;
};

TEST_F(HttpOrbTest, WorkFileHoldsTheSensorsChannels) {
  ASSERT_TRUE(sim_.ready());
  SetUpOrb("s3cret&pass");
  auto orb = space_.Start({"", "0102"});
  ASSERT_TRUE(WaitUntil(
      [&] { return WorkFile().find("</Prtg>") != std::string::npos; }, 20s));
  const std::string result = WorkFile();
  EXPECT_NE(result.find("Ping Time"), std::string::npos) << result;
  EXPECT_NE(result.find("Packet Loss"), std::string::npos) << result;
  EXPECT_NE(result.find("1136"), std::string::npos) << result;
  EXPECT_TRUE(
      WaitUntil([&] { return space_.dir().Exists("HttpOrb0102.Grn"); }, 10s));
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
  EXPECT_FALSE(space_.dir().Exists("HttpOrb0102.Prf"));
  EXPECT_FALSE(space_.dir().Exists("Prtg.Lck"));
  // The password reaches neither the work file nor the log.
  EXPECT_EQ(result.find("s3cret"), std::string::npos);
  EXPECT_EQ(Log().find("s3cret"), std::string::npos);
}

TEST_F(HttpOrbTest, WrongPasswordReleasesTheLockAndKeepsTheOrbRunning) {
  ASSERT_TRUE(sim_.ready());
  SetUpOrb("wrong");
  auto orb = space_.Start({"", "0102"});
  // The orb asks, is refused, removes its lock and shows its message box.
  EXPECT_TRUE(WaitUntil(
      [&] { return sim_.RequestLog().find("401") != std::string::npos; }, 20s))
      << sim_.RequestLog();
  EXPECT_TRUE(WaitUntil([&] { return !space_.dir().Exists("Prtg.Lck"); }, 5s));
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(orb->Running());
  EXPECT_EQ(WorkFile().find("Ping Time"), std::string::npos);
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
  EXPECT_FALSE(space_.dir().Exists("HttpOrb0102.Prf"));
  EXPECT_EQ(Log().find("wrong"), std::string::npos);
}

// An unattended wall (header column 21 "U") whose orb watches three
// sensors: no message box waits for anyone, so the cycles go on.
constexpr char kThreeSensors[] =
    "locale en\n"
    "credentials prtgadmin s3cret&pass 1234567890\n"
    "sensor 2041 Ping\n  device Core Router\n  channel Ping Time | 1136 | "
    "msec\n"
    "sensor 2042 Traffic\n  device Switch\n  channel Traffic In | 5 | kbit\n"
    "sensor 2077 CPU Load\n  device File Server\n  channel Total | 84 | %\n";

class UnattendedHttpOrbTest : public ::testing::Test {
 protected:
  UnattendedHttpOrbTest() : space_("HttpOrb") {}

  void SetUpOrb(const std::string& host, const std::string& address,
                const char* delay) {
    space_.InstallExtensionLibrary();
    RecordBuilder record;
    record.number = "0102";
    record.delay = delay;
    record.id_kind = '3';
    record.chart_bars = "00xxxxxx";
    record.lock_name = "<Profile>";
    record.tail = "Prtg.Prf;;" + address + ";Wall";
    space_.WriteOrbsFile({"0806 HttpOrbs..   . U", record.Text()});
    space_.dir().WriteLines(
        "Prtg.Prf", {"* Host/IP.........: " + host, "* Setting Parm01..: True",
                     "* User-ID.........: prtgadmin",
                     "* Password........: " + Scrambled("s3cret&pass")});
  }

  std::string WorkFile() const { return space_.dir().Read("HttpOrb0102.Wxx"); }
  bool WorkFileHas(const std::string& text) const {
    const std::string work = WorkFile();
    return work.find("</Prtg>") != std::string::npos &&
           work.find(text) != std::string::npos;
  }
  int FailLines() const {
    int count = 0;
    for (const std::string& line : space_.LogLines()) {
      count += line.find(" Fail ") != std::string::npos;
    }
    return count;
  }

  OrbWorkspace space_;
};

TEST_F(UnattendedHttpOrbTest, AFailingSensorLeavesTheOtherTwoTheirRows) {
  testing::PrtgSim sim(space_.dir().path(), kThreeSensors,
                       {"--fault", "2042:500"});
  ASSERT_TRUE(sim.ready());
  SetUpOrb(sim.host(), "/sensor.htm?id=2041#2042#2077", "    1");
  auto orb = space_.Start({"", "0102"});
  ASSERT_TRUE(WaitUntil([&] { return WorkFileHas("File Server"); }, 20s))
      << WorkFile();
  const std::string result = WorkFile();
  EXPECT_LT(result.find("Core Router"), result.find("File Server")) << result;
  EXPECT_EQ(result.find("Switch"), std::string::npos) << result;
  // Later cycles fail the same way: still one "Fail" line for the run.
  auto requests_of_2042 = [&] {
    const std::string log = sim.RequestLog();
    int count = 0;
    for (size_t at = log.find("id=2042"); at != std::string::npos;
         at = log.find("id=2042", at + 1)) {
      ++count;
    }
    return count;
  };
  ASSERT_TRUE(WaitUntil([&] { return requests_of_2042() >= 6; }, 20s));
  EXPECT_EQ(FailLines(), 1);
  EXPECT_TRUE(orb->Running());
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
}

TEST_F(UnattendedHttpOrbTest, AnOrbReturnsWithinTwoDelaysOfItsServer) {
  const int port = testing::UnusedLoopbackPort();
  auto sim = std::make_unique<testing::PrtgSim>(
      space_.dir().path(), kThreeSensors, std::vector<std::string>{}, port);
  ASSERT_TRUE(sim->ready());
  SetUpOrb(sim->host(), "/sensor.htm?id=2041", "    2");
  auto orb = space_.Start({"", "0102"});
  ASSERT_TRUE(WaitUntil([&] { return WorkFileHas("Ping Time"); }, 20s));

  sim.reset();  // the server goes away
  ASSERT_TRUE(WaitUntil([&] { return !WorkFileHas("Ping Time"); }, 10s));
  std::this_thread::sleep_for(5s);  // a few cycles without data
  EXPECT_EQ(FailLines(), 1);

  sim = std::make_unique<testing::PrtgSim>(space_.dir().path(), kThreeSensors,
                                           std::vector<std::string>{}, port);
  ASSERT_TRUE(sim->ready());
  const auto back = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return WorkFileHas("Ping Time"); }, 10s));
  EXPECT_LE(std::chrono::steady_clock::now() - back, 4s);
  EXPECT_TRUE(orb->Running());
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
}

}  // namespace
}  // namespace vigil
