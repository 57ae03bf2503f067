// Sensor scripts written for PRTG on a real wall: a lower-case one-line
// XML, a JSON result and an error report, each read by a real orb on a
// private X server, and the same three through `vigil try`.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

struct Sensor {
  std::string number;  // its orb, in row 2 with a free cell between
  std::string program;
  std::string output;  // printed with printf, no final line end
  std::string rule;
};

const Sensor kSensors[] = {
    {"0201", "smart.sh",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?><prtg><result><channel>"
     "Temperature</channel><value>41</value><unit>Temperature</unit>"
     "</result><result><channel>Power_On_Hours</channel><value>23817</value>"
     "<unit>TimeHours</unit></result><result><channel>Free &amp; clear"
     "</channel><value>3221225472</value><unit>BytesDisk</unit></result>"
     "<text>disk sda healthy</text></prtg>",
     "Power_On_Hours;>=;20000;Set Alert;"},
    {"0203", "cpu.sh",
     "{\"prtg\": {\"result\": [{\"channel\": \"CPU busy\", \"value\": 95, "
     "\"unit\": \"CPU\", \"limitmode\": 1, \"limitmaxwarning\": 90}, "
     "{\"channel\": \"Response\", \"value\": \"12\", \"unit\": "
     "\"TimeResponse\"}], \"text\": \"2 cores\"}}",
     ""},
    {"0205", "backup.sh",
     "<prtg><error>1</error><text>Backup share not mounted</text></prtg>", ""},
};

void WriteSensor(const OrbWorkspace& space, const Sensor& sensor) {
  const std::string path = "companion/" + sensor.program;
  space.dir().Write("companion/" + sensor.program + ".out", sensor.output);
  space.dir().Write(path, "#!/bin/sh\ncat \"$(dirname \"$0\")/" +
                              sensor.program + ".out\"\n");
  std::filesystem::permissions(space.dir() / path,
                               std::filesystem::perms::owner_all);
}

std::vector<std::string> OrbsFile() {
  std::vector<std::string> lines = {"0806 AuxOrbs...   ."};
  for (const Sensor& sensor : kSensors) {
    RecordBuilder record;
    record.number = sensor.number;
    record.display_name = sensor.program;
    record.face_mode = '2';
    record.delay = "    2";
    record.lock_name = sensor.program;
    record.tail = "Global;" + sensor.program + ";;" + sensor.program;
    lines.push_back(record.Text());
    if (!sensor.rule.empty())
      lines.push_back(sensor.number + " # " + sensor.rule);
  }
  return lines;
}

size_t Count(const std::vector<std::string>& lines, const std::string& piece) {
  size_t count = 0;
  for (const std::string& line : lines) {
    if (line.find(piece) != std::string::npos) ++count;
  }
  return count;
}

TEST(StandardSensorE2eTest, AWallReadsPrtgScriptsAndTheirErrors) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  space.InstallExtensionLibrary();
  space.WriteOrbsFile(OrbsFile());
  for (const Sensor& sensor : kSensors) WriteSensor(space, sensor);

  std::vector<std::unique_ptr<ChildProcess>> orbs;
  for (const Sensor& sensor : kSensors) {
    orbs.push_back(space.Start({space.companion_dir(), sensor.number},
                               {xvfb.DisplayEnv(), "QT_QPA_PLATFORM=xcb"}));
  }
  // The rule sees 23817, not the "23.817" the listing shows; the JSON
  // sensor's own warning limit turns its orb yellow.
  EXPECT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0201.Red"); }, 20s));
  EXPECT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0203.Yel"); }, 20s));
  // The error report: one "Fail" line with its text over several cycles.
  EXPECT_TRUE(WaitUntil(
      [&] { return Count(space.LogLines(), "Backup share not mounted") > 0; },
      20s));
  std::this_thread::sleep_for(5s);
  EXPECT_EQ(Count(space.LogLines(), "Fail 0205"), 1u);
  EXPECT_FALSE(space.dir().Exists("AuxOrb0205.Grn"));
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("prtg-scripts-wall.png"));

  // A double click zooms the XML orb (cell 0201 at 320, 270) to read it.
  xvfb.Run("xdotool mousemove 480 330 click --repeat 2 --delay 80 1");
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto window = xvfb.WindowOf(orbs[0]->pid());
        return window && window->width == 640;
      },
      5s));
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("prtg-scripts-zoomed.png"));
  for (auto& orb : orbs) {
    orb->Signal(SIGTERM);
    EXPECT_TRUE(orb->WaitFor(5s));
  }

  // What `vigil try` says of the same three programs.
  const std::pair<const char*, int> expected[] = {{"format: PRTG XML", 0},
                                                  {"format: PRTG JSON", 0},
                                                  {"format: PRTG XML", 1}};
  for (size_t i = 0; i < std::size(kSensors); ++i) {
    ChildProcess vigil(
        {std::string(VIGIL_BIN_DIR) + "/vigil", "try", "--",
         "companion/" + kSensors[i].program},
        ChildOptions{.dir = space.dir().path(), .capture_stdout = true});
    const std::string output = vigil.ReadAll(20s);
    EXPECT_EQ(vigil.WaitFor(10s), expected[i].second) << output;
    EXPECT_NE(output.find(expected[i].first), std::string::npos) << output;
  }
}

}  // namespace
}  // namespace vigil
