// Starts the real orbs in fresh working directories, as a new user would,
// and looks at what they leave: the event log, the attached profile, the
// window on the screen.
#include <gtest/gtest.h>
#include <signal.h>

#include <functional>
#include <regex>

#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

constexpr char kHeader[] = "0806 AuxOrbs...   .";

RecordBuilder Orb0203() {
  RecordBuilder record;
  record.number = "0203";
  record.grid_size = " 1  2";
  record.lock_name = "DIALOG";
  record.tail = "Dialog.Prf;vigil-sensor;sensor?id=42;Title";
  return record;
}

void WriteSensor(const OrbWorkspace& space) {
  space.dir().Write(
      "companion/vigil-sensor",
      "#!/bin/sh\necho '<Prtg>'\necho '<Result><Channel>A</Channel>"
      "<Value>1</Value></Result>'\necho '</Prtg>'\n");
  std::filesystem::permissions(space.dir() / "companion/vigil-sensor",
                               std::filesystem::perms::owner_all);
}

// A workspace in which orb 0203 starts and cycles.
void GoodAuxOrb(const OrbWorkspace& space) {
  space.InstallExtensionLibrary();
  space.WriteOrbsFile({kHeader, Orb0203().Text()});
  space.WriteCompanionFile(
      "Dialog.Prf",
      {"# comment", "* Host/IP.........: 127.0.0.1", "# Dudi: for the sensor"});
  WriteSensor(space);
}

bool HasFailLine(const OrbWorkspace& space, const std::string& fields,
                 const std::string& message) {
  const std::regex layout(R"(\d\d\.\d\d\.\d\d \d\d:\d\d:\d\d Fail )");
  for (const std::string& line : space.LogLines()) {
    if (line.size() < 23 || !std::regex_match(line.substr(0, 23), layout)) {
      continue;
    }
    if (line.substr(23) == fields + message) return true;
  }
  return false;
}

struct FailureCase {
  std::string name;
  std::string mode = "AuxOrb";
  std::function<void(const OrbWorkspace&)> setup;
  std::vector<std::string> args;  // empty: the companion and 0203
  std::string message;
  std::string fields;  // pieces 7 to 13 of the log line
  bool ends_by_itself = true;
};

std::vector<FailureCase> FailureCases() {
  const std::string found = "0203 DIALOG;ID=42;Dialog.Prf;";
  const std::string none = ";ID=;;";
  std::vector<FailureCase> cases;
  cases.push_back({"extension library missing",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     s.WriteOrbsFile({kHeader, Orb0203().Text()});
                   },
                   {},
                   "\"AuxOrbs.so\" is missing !",
                   none});
  cases.push_back({"orbs file missing",
                   "AuxOrb",
                   [](const OrbWorkspace& s) { s.InstallExtensionLibrary(); },
                   {},
                   "\"AuxOrbs.Prf\" is missing !",
                   none});
  cases.push_back({"parameter 2 empty",
                   "AuxOrb",
                   GoodAuxOrb,
                   {"x"},
                   "Parameter(s) missing...",
                   none});
  cases.push_back({"orbs file unreadable",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     s.InstallExtensionLibrary();
                     std::filesystem::create_directory(s.dir() / "AuxOrbs.Prf");
                   },
                   {},
                   "Starting failed, please Retry !",
                   none,
                   false});
  cases.push_back({"no configuration record",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     GoodAuxOrb(s);
                     s.WriteOrbsFile({kHeader});
                   },
                   {},
                   "AuxOrb-Position 02/03 not found...",
                   none});
  cases.push_back({"source file missing",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     GoodAuxOrb(s);
                     std::filesystem::remove(s.dir() / "companion/Dialog.Prf");
                   },
                   {},
                   "Profile Dialog.Prf not found...",
                   found});
  cases.push_back({"source file unreadable",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     GoodAuxOrb(s);
                     std::filesystem::remove(s.dir() / "companion/Dialog.Prf");
                     std::filesystem::create_directory(s.dir() /
                                                       "companion/Dialog.Prf");
                   },
                   {},
                   "Read.Prf failed, please Check !",
                   found,
                   false});
  cases.push_back({"header grid of zero rows",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     GoodAuxOrb(s);
                     s.WriteOrbsFile({"0006 AuxOrbs...   .", Orb0203().Text()});
                   },
                   {},
                   "Header grid '0006' invalid, please Check !",
                   none,
                   false});
  cases.push_back({"size not a number",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     GoodAuxOrb(s);
                     RecordBuilder record = Orb0203();
                     record.grid_size = " x  2";
                     s.WriteOrbsFile({kHeader, record.Text()});
                   },
                   {},
                   "Grid size ' x  2' invalid, please Check !",
                   found,
                   false});
  cases.push_back({"delay not a number",
                   "AuxOrb",
                   [](const OrbWorkspace& s) {
                     GoodAuxOrb(s);
                     RecordBuilder record = Orb0203();
                     record.delay = "  1m0";
                     s.WriteOrbsFile({kHeader, record.Text()});
                   },
                   {},
                   "Delay time '  1m0' invalid, please Check !",
                   found,
                   false});
  cases.push_back({"rfc library missing",
                   "RfcOrb",
                   [](const OrbWorkspace& s) { s.InstallExtensionLibrary(); },
                   {},
                   "\"libsapnwrfc.so\" is missing !",
                   ";;;"});
  cases.push_back({"global file missing",
                   "RfcOrb",
                   [](const OrbWorkspace& s) {
                     s.InstallExtensionLibrary();
                     s.InstallRfcLibrary();
                     RecordBuilder record = Orb0203();
                     record.tail = "Global;Check.Exe;;T";
                     s.WriteOrbsFile({"0806 RfcOrbs...   .", record.Text()});
                   },
                   {},
                   "File 'SAP Quillon.Gbl' not found...",
                   "0203 DIALOG;Check.Exe;Global;",
                   false});
  return cases;
}

class StartupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { xvfb_ = new testing::XvfbServer(); }
  static void TearDownTestSuite() {
    delete xvfb_;
    xvfb_ = nullptr;
  }
  std::vector<std::string> XcbEnv() const {
    return {xvfb_->DisplayEnv(), "QT_QPA_PLATFORM=xcb"};
  }
  static testing::XvfbServer* xvfb_;
};

testing::XvfbServer* StartupTest::xvfb_ = nullptr;

TEST_F(StartupTest, EveryFailureShowsItsMessageAndLogsIt) {
  // All cases at once: each start-up takes two two-second ticks.
  const std::vector<FailureCase> cases = FailureCases();
  std::vector<std::unique_ptr<OrbWorkspace>> spaces;
  std::vector<std::unique_ptr<ChildProcess>> orbs;
  for (const FailureCase& c : cases) {
    spaces.push_back(std::make_unique<OrbWorkspace>(c.mode));
    c.setup(*spaces.back());
    std::vector<std::string> args = c.args;
    if (args.empty()) args = {spaces.back()->companion_dir(), "0203"};
    orbs.push_back(spaces.back()->Start(args));
    ASSERT_TRUE(orbs.back()->started()) << c.name;
  }
  for (size_t i = 0; i < cases.size(); ++i) {
    const FailureCase& c = cases[i];
    EXPECT_TRUE(WaitUntil(
        [&] { return HasFailLine(*spaces[i], c.fields, c.message); }, 15s))
        << c.name;
  }
  // "Ends by itself" is 2.5 s after the message; the others wait for OK.
  std::this_thread::sleep_for(4s);
  for (size_t i = 0; i < cases.size(); ++i) {
    const FailureCase& c = cases[i];
    EXPECT_EQ(orbs[i]->Running(), !c.ends_by_itself) << c.name;
    orbs[i]->Signal(SIGTERM);
    EXPECT_TRUE(orbs[i]->WaitFor(5s)) << c.name;
    EXPECT_FALSE(spaces[i]->dir().Exists(c.mode + "0203.Prf")) << c.name;
  }
}

TEST_F(StartupTest, TakesItsGridCellAndRefusesADuplicate) {
  ASSERT_TRUE(xvfb_->running());
  OrbWorkspace space;
  space.WriteOrbsFile({Orb0203().Text()});  // no header: 8 x 6 cells
  space.InstallExtensionLibrary();
  WriteSensor(space);
  space.WriteCompanionFile(
      "Dialog.Prf",
      {"# comment", "* Host/IP.........: 127.0.0.1", "# Dudi: for the sensor"});
  auto first = space.Start({space.companion_dir(), "0203"}, XcbEnv());
  ASSERT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0203.Prf"); }, 15s));
  std::optional<testing::WindowGeometry> geometry;
  EXPECT_TRUE(WaitUntil(
      [&] {
        geometry = xvfb_->WindowOf(first->pid());
        return geometry && geometry->left == 960;
      },
      10s));
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->left, 960);
  EXPECT_EQ(geometry->top, 270);
  EXPECT_EQ(geometry->width, 640);
  EXPECT_EQ(geometry->height, 135);
  EXPECT_EQ(space.dir().Read("AuxOrb0203.Prf"),
            "* Host/IP.........: 127.0.0.1\r\n# Dudi: for the sensor\r\n");

  const auto start = std::chrono::steady_clock::now();
  auto second = space.Start({space.companion_dir(), "0203"}, XcbEnv());
  EXPECT_TRUE(WaitUntil(
      [&] {
        return HasFailLine(space, "0203 DIALOG;ID=42;Dialog.Prf;",
                           "AuxOrb 02/03 already running !");
      },
      15s));
  EXPECT_TRUE(second->WaitFor(8s));
  const auto lasted = std::chrono::steady_clock::now() - start;
  // Two start-up ticks of 2 s, then the 2.5 s error timer.
  EXPECT_GT(lasted, 6s);
  EXPECT_TRUE(space.dir().Exists("AuxOrb0203.Prf"));
  EXPECT_TRUE(first->Running());

  first->Signal(SIGTERM);
  EXPECT_EQ(first->WaitFor(5s), 0);
  EXPECT_FALSE(space.dir().Exists("AuxOrb0203.Prf"));
  const auto lines = space.LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines.back().ends_with(" Stop 0203 DIALOG;ID=42;Dialog.Prf;"))
      << lines.back();
}

}  // namespace
}  // namespace vigil
