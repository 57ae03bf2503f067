// Desktop notices of a real orb, received on a private session bus by a
// stand-in for the desktop's notification service.
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "support/child_process.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::OrbWorkspace;
using testing::WaitUntil;

TEST(NotificationE2eTest, AnOrbThatTurnsRedTellsTheDesktop) {
  OrbWorkspace space;
  ChildProcess bus(
      {"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1",
       "--address=unix:path=" + (space.dir() / "bus").string()},
      ChildOptions{.capture_stdout = true});
  const std::optional<std::string> address = bus.ReadLine(10s);
  ASSERT_TRUE(address) << "dbus-daemon did not start";
  const std::string bus_env = "DBUS_SESSION_BUS_ADDRESS=" + *address;
  ChildProcess sink({std::string(VIGIL_BIN_DIR) + "/notification-sink",
                     (space.dir() / "notices").string()},
                    ChildOptions{.env = {bus_env}, .capture_stdout = true});
  ASSERT_EQ(sink.ReadLine(10s), "ready");

  testing::RecordBuilder record = testing::OneChannelOrb0203("Core router");
  space.SetUpOneChannelOrbs({});
  // Column 22 "N": notices on; the rule turns the one channel red.
  space.WriteOrbsFile(
      {"0806 AuxOrbs...   .  N", record.Text(), "0203 # A;>=;1;Set Alert;"});
  auto orb = space.Start({space.companion_dir(), "0203"},
                         {"QT_QPA_PLATFORM=offscreen", bus_env});
  EXPECT_TRUE(WaitUntil(
      [&] {
        return space.dir().Read("notices") ==
               "Core router (AuxOrb 02/03) is red|Alert|2\n";
      },
      20s))
      << space.dir().Read("notices");
  // Later red cycles (every two seconds) are no news.
  std::this_thread::sleep_for(5s);
  EXPECT_EQ(space.dir().Read("notices"),
            "Core router (AuxOrb 02/03) is red|Alert|2\n");
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
}

}  // namespace
}  // namespace vigil
