#include "store/companion_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "store/text_file.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordingView;
using testing::TempDir;

const std::vector<std::string> kMarkers = {"RfcOrb0102.Grn", "RfcOrb0102.Yel",
                                           "RfcOrb0102.Red", "RfcOrb0102.Flr"};

std::set<std::string> MarkersIn(const TempDir& dir) {
  std::set<std::string> present;
  for (const std::string& marker : kMarkers) {
    if (dir.Exists(marker)) present.insert(marker);
  }
  return present;
}

std::string LogRecord() {
  std::string record = "0102 Dialog";
  record.resize(77, ' ');
  return record + "Dialog.Prf;Check.Exe;;Dialog check";
}

struct NameCase {
  std::string mode_word;
  std::string orb_number;
  std::vector<std::string> names;  // profile, work, marker, eop, mail list
};

TEST(CompanionFilesTest, DerivesEveryNameFromTheOrbStem) {
  const std::vector<NameCase> cases = {
      {"RfcOrb",
       "0102",
       {"RfcOrb0102.Prf", "RfcOrb0102.Wxx", "RfcOrb0102.Grn", "RfcOrb0102.Eop",
        "RfcOrb0102.Mls"}},
      {"HttpOrb",
       "0102",
       {"HttpOrb0102.Prf", "HttpOrb0102.Wxx", "HttpOrb0102.Grn",
        "HttpOrb0102.Eop", "RfcOrb0102.Mls"}},
      {"AuxOrb",
       "0305",
       {"AuxOrb0305.Prf", "AuxOrb0305.Wxx", "AuxOrb0305.Grn", "AuxOrb0305.Eop",
        "RfcOrb0305.Mls"}},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.mode_word + c.orb_number);
    const CompanionFiles files("/srv/orbs", c.mode_word, c.orb_number);
    const std::vector<std::filesystem::path> paths = {
        files.AttachedProfile(), files.WorkFile(), files.Marker(".Grn"),
        files.EndOfProcessingFile(), files.MailListFile()};
    for (size_t i = 0; i < paths.size(); ++i) {
      EXPECT_EQ(paths[i], std::filesystem::path("/srv/orbs") / c.names[i]);
    }
    EXPECT_EQ(files.LockFile("DIALOG"), "/srv/orbs/DIALOG.Lck");
  }
  // Without a directory the names are relative to the current one.
  EXPECT_EQ(CompanionFiles("", "RfcOrb", "0102").WorkFile(), "RfcOrb0102.Wxx");
}

struct MarkerCase {
  std::string name;
  Rgb colour;
  std::string kept;
};

TEST(CompanionFilesTest, MarkerUpdateLeavesTheMarkerOfTheState) {
  const std::vector<MarkerCase> cases = {
      {"yellow", kYellow, "RfcOrb0102.Yel"},
      {"red", kRed, "RfcOrb0102.Red"},
      {"neutral", kNeutral, "RfcOrb0102.Grn"},
      {"lime", kLime, "RfcOrb0102.Grn"},
      {"a colour action", kTeal, "RfcOrb0102.Grn"},
  };
  for (const MarkerCase& c : cases) {
    for (const bool all_present : {false, true}) {
      SCOPED_TRACE(c.name + (all_present ? " over all markers" : ""));
      TempDir dir;
      if (all_present) {
        for (const std::string& marker : kMarkers) dir.Write(marker, "");
      }
      CompanionFiles files(dir.path(), "RfcOrb", "0102");
      EXPECT_TRUE(files.UpdateMarkers(c.colour));
      EXPECT_EQ(MarkersIn(dir), std::set<std::string>{c.kept});
      EXPECT_EQ(dir.Read(c.kept), "");
    }
  }
}

TEST(CompanionFilesTest, MarkerOfAContinuingStateIsNotRewritten) {
  TempDir dir;
  CompanionFiles files(dir.path(), "RfcOrb", "0102");
  ASSERT_TRUE(files.UpdateMarkers(kNeutral));
  const auto green = dir / "RfcOrb0102.Grn";
  const auto first_cycle =
      std::filesystem::last_write_time(green) - std::chrono::hours(1);
  std::filesystem::last_write_time(green, first_cycle);
  ASSERT_TRUE(files.UpdateMarkers(kNeutral));
  EXPECT_EQ(std::filesystem::last_write_time(green), first_cycle);
  EXPECT_EQ(MarkersIn(dir), std::set<std::string>{"RfcOrb0102.Grn"});
}

TEST(CompanionFilesTest, FailureMarkerStandsAlone) {
  TempDir dir;
  for (const std::string& marker : kMarkers) dir.Write(marker, "old");
  CompanionFiles files(dir.path(), "RfcOrb", "0102");
  EXPECT_TRUE(files.WriteFailureMarker());
  EXPECT_EQ(MarkersIn(dir), std::set<std::string>{"RfcOrb0102.Flr"});
  EXPECT_EQ(dir.Read("RfcOrb0102.Flr"), "");  // replaced
  // The next good cycle takes it away again.
  EXPECT_TRUE(files.UpdateMarkers(kRed));
  EXPECT_EQ(MarkersIn(dir), std::set<std::string>{"RfcOrb0102.Red"});
}

TEST(CompanionFilesTest, ClearingRemovesOnlyTheMarkers) {
  TempDir dir;
  for (const std::string& marker : kMarkers) dir.Write(marker, "");
  dir.Write("RfcOrb0102.Prf", "profile");
  dir.Write("RfcOrb0103.Grn", "");  // a sibling's
  CompanionFiles(dir.path(), "RfcOrb", "0102").ClearMarkers();
  EXPECT_TRUE(MarkersIn(dir).empty());
  EXPECT_TRUE(dir.Exists("RfcOrb0102.Prf"));
  EXPECT_TRUE(dir.Exists("RfcOrb0103.Grn"));
}

TEST(CompanionFilesTest, UnwritableMarkerIsReportedOncePerRun) {
  TempDir dir;
  EventLog log(dir / "RfcOrbs.Log");
  log.set_context({"RfcOrb", LogRecord(), "DIALOG", false});
  RecordingView view;
  // The orb's directory is gone; the log lives elsewhere.
  CompanionFiles files(dir / "gone", "RfcOrb", "0102");

  const Result<void> marker = files.UpdateMarkers(kNeutral);
  EXPECT_EQ(marker.error(), "State marker RfcOrb0102.Grn not writable !");
  files.Report(marker, view, log);
  files.Report(files.UpdateMarkers(kYellow), view, log);
  files.Report(files.WriteFailureMarker(), view, log);
  EXPECT_EQ(view.captions(),
            (std::vector<std::string>{"<Mrk>", "<Mrk>", "<Mrk>"}));
  auto lines = ReadLines(dir / "RfcOrbs.Log");
  ASSERT_TRUE(lines.has_value());
  ASSERT_EQ(lines->size(), 1u);
  EXPECT_NE(
      lines->front().find(" Fail 0102 DIALOG;Check.Exe;Dialog.Prf;State marker "
                          "RfcOrb0102.Grn not writable !"),
      std::string::npos)
      << lines->front();

  // A written marker ends the run; the next failure is logged again.
  files.Report(Result<void>(), view, log);
  files.Report(files.UpdateMarkers(kRed), view, log);
  lines = ReadLines(dir / "RfcOrbs.Log");
  ASSERT_EQ(lines->size(), 2u);
  EXPECT_NE(lines->back().find("RfcOrb0102.Red not writable"),
            std::string::npos);
  EXPECT_EQ(view.captions().size(), 4u);  // a written marker shows nothing
}

struct EndCase {
  std::string name;
  bool requested;
  bool holds_lock;
  std::set<std::string> left;
};

TEST(CompanionFilesTest, EndOfProcessingRequestRemovesItsFiles) {
  const std::vector<EndCase> cases = {
      {"no request",
       false,
       true,
       {"RfcOrb0102.Prf", "RfcOrb0102.Wxx", "DIALOG.Lck", "RfcOrb0102.Grn"}},
      {"request while idle", true, false, {"DIALOG.Lck", "RfcOrb0102.Grn"}},
      {"request while holding the lock", true, true, {"RfcOrb0102.Grn"}},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::vector<std::string> all = {"RfcOrb0102.Prf", "RfcOrb0102.Wxx",
                                    "DIALOG.Lck", "RfcOrb0102.Grn"};
    if (c.requested) all.push_back("RfcOrb0102.Eop");
    for (const std::string& name : all) dir.Write(name, "x");
    const CompanionFiles files(dir.path(), "RfcOrb", "0102");
    EXPECT_EQ(files.EndOfProcessingRequested(), c.requested);
    EXPECT_EQ(files.TakeEndOfProcessingRequest(c.holds_lock, "DIALOG"),
              c.requested ? EndOfProcessing::kStopAndClose
                          : EndOfProcessing::kNotRequested);
    std::set<std::string> left;
    for (const std::string& name : all) {
      if (dir.Exists(name)) left.insert(name);
    }
    EXPECT_EQ(left, c.left);
    EXPECT_FALSE(files.EndOfProcessingRequested());
  }
}

}  // namespace
}  // namespace vigil
