// The real HttpOrb against the PRTG simulator: the work file holds the
// sensor's channels, and a server that goes away gives the no-data path.
#include <gtest/gtest.h>
#include <signal.h>

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

}  // namespace
}  // namespace vigil
