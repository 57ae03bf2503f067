// Listings of real orbs as an operator sees them: sorted by colour both
// ways over several cycles, clicked, with the processing log and the
// settings dialog open. The screenshots are for a person to look at.
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "store/text.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

// Five channels whose names carry a state digit (the Color field), values
// of every kind, and processing lines with long captions.
constexpr char kSensor[] = R"(#!/bin/sh
echo run >> runs.txt
cat <<'EOF'
<Prtg>
* DIALOG   Dialog work processes State=Active
* SPOOLER  Spool requests waiting State=Waiting
* UPDATE   Update tasks State=OK
<Result><Channel>0: Dialog</Channel><Value>1.38</Value></Result>
<Result><Channel>3: Spool</Channel><Value>-3</Value></Result>
<Result><Channel>0: Update</Channel><Value>1234</Value></Result>
<Result><Channel>2: Batch</Channel><Value>.08</Value></Result>
<Result><Channel>3: Queue</Channel><Value>19.1</Value></Result>
<Text>Listing test</Text>
</Prtg>
EOF
)";

RecordBuilder ListingOrb(const std::string& number, char sorting) {
  RecordBuilder record = testing::OneChannelOrb0203(
      sorting == '5' ? "Color Asc" : "Color Dsc");
  record.number = number;
  record.face_mode = '2';
  record.grid_size = " 2  1";
  record.sorting = sorting;
  record.lock_name = "L" + number;
  return record;
}

TEST(ListingE2eTest, ColourSortsHoldStillAndNothingIsCutOrHighlighted) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  space.SetUpOneChannelOrbs(
      {ListingOrb("0202", '5').Text(), ListingOrb("0203", '6').Text()});
  space.dir().Write("companion/sensor", kSensor);
  auto ascending = space.StartOnScreen(xvfb.DisplayEnv(), "0202");
  auto descending = space.StartOnScreen(xvfb.DisplayEnv(), "0203");
  // Two cycles of each at least: a colour sort must not turn over.
  ASSERT_TRUE(WaitUntil(
      [&] { return SplitLines(space.dir().Read("runs.txt")).size() >= 6; },
      20s));
  std::this_thread::sleep_for(500ms);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("listing-colour-sorts.png"));

  // A click on a row of the left one (at 640, 270).
  xvfb.Run("xdotool mousemove 700 300 click 1");
  std::this_thread::sleep_for(500ms);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("listing-clicked.png"));

  // From the bottom of a green orb's menu: Stop, Hide, Suspend, Alter,
  // View Logging.
  xvfb.Run("xdotool mousemove 700 300 click 3");
  std::this_thread::sleep_for(1s);
  xvfb.Run("xdotool key Up Up Up Up Up Return");
  std::this_thread::sleep_for(1s);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("processing-log.png"));
  xvfb.Run("xdotool mousemove 700 360 click 1");  // closes it
  std::this_thread::sleep_for(500ms);

  xvfb.Run("xdotool mousemove 1020 300 click 3");
  std::this_thread::sleep_for(1s);
  xvfb.Run("xdotool key Up Up Up Up Return");
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !Trim(xvfb.Run("xdotool search --onlyvisible --name "
                              "'Alter Settings for' 2>/dev/null"))
                    .empty();
      },
      10s));
  std::this_thread::sleep_for(1s);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("settings-dialog.png"));
  xvfb.Run("xdotool key Escape");

  for (auto* orb : {&ascending, &descending}) {
    (*orb)->Signal(SIGTERM);
    EXPECT_TRUE((*orb)->WaitFor(5s));
  }
}

}  // namespace
}  // namespace vigil
