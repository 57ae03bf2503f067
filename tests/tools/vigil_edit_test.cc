// vigil add and vigil set: a change writes exactly the named columns and
// passes vigil check; a refusal leaves the file byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "store/orbs_file.h"
#include "store/text.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"
#include "vigil/commands.h"

namespace vigil::cli {
namespace {

using testing::RecordBuilder;
using testing::TempDir;
using Lines = std::vector<std::string>;

constexpr char kHeader[] = "0806 AuxOrbs...   .";

std::string OtherOrb() {
  RecordBuilder other;
  other.number = "0305";
  return other.Text();
}

class VigilEditTest : public ::testing::Test {
 protected:
  VigilEditTest() {
    dir_.Write("Dialog.Prf", "* Host/IP.........: 10.0.0.1\n");
    dir_.Write("Check.Exe", "#!/bin/sh\n");
    chmod((dir_ / "Check.Exe").c_str(), 0755);
  }

  // "add" or "set" and its words; the file goes after the command.
  int Run(Words words, std::string* err_text = nullptr) {
    const std::string command = words.front();
    words.front() = File();
    std::ostringstream out;
    std::ostringstream err;
    const int status =
        command == "add" ? RunAdd(words, out, err) : RunSet(words, out, err);
    if (err_text) *err_text = err.str();
    return status;
  }

  int Check() {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCheck({File()}, out, err);
    EXPECT_EQ(status, 0) << out.str();
    return status;
  }

  std::string File() const { return (dir_ / "AuxOrbs.Prf").string(); }
  TempDir dir_;
};

TEST_F(VigilEditTest, ChangesOnlyWhatIsNamedOrNothing) {
  const Lines initial = {kHeader,
                         RecordBuilder().Text(),
                         "0102 # Cpu;>;90;Warning;",
                         "0102 \xA7 . . . . X E X E t;",
                         OtherOrb(),
                         "0305 # Keep;>;1;Warning;"};
  const Lines rules = {"Cpu;>;90;Warning;"};
  struct Case {
    Words words;
    int status;
    // The orb's record as the default 0102 with these columns changed.
    std::function<void(RecordBuilder&)> record;
    Lines rules;
  };
  const Case cases[] = {
      {{"set", "0102", "--delay", "30", "--name", "Disks", "--hold", "on"},
       0,
       [](RecordBuilder& r) {
         r.delay = "   30";
         r.display_name = "Disks";
         r.hold = '!';
       },
       rules},
      {{"set", "0102", "--grid", "1x2", "--chart", "area", "--face", "listing",
        "--sorting", "value-dsc", "--history-chart", "on"},
       0,
       [](RecordBuilder& r) {
         r.grid_size = " 1  2";
         r.chart_type = '4';
         r.face_mode = '2';
         r.sorting = '4';
         r.chart_mode = 'x';
       },
       rules},
      {{"set",           "0102", "--lock",  "MINE", "--history", "20",
        "--zoom",        "on",   "--keep",  "on",   "--legend",  "off",
        "--chart-title", "on",   "--bars",  "5",    "--colour",  "9",
        "--gauge",       "7",    "--image", "12"},
       0,
       [](RecordBuilder& r) {
         r.lock_name = "MINE";
         r.history_bars = "020";
         r.zoom = '!';
         r.keep_data = '!';
         r.legend = '.';
         r.max_bars = "05";
         r.idle_colour = "09";
         r.gauge_units = '7';
         r.image_tens = '1';
         r.image_units = '2';
       },
       rules},
      {{"set", "0102", "--title", "New title", "--address", "", "--program",
        "Check.Exe"},
       0,
       [](RecordBuilder& r) { r.tail = "Dialog.Prf;Check.Exe;;New title"; },
       rules},
      // The listing's rows 1 and 3 are the row indexes 00 and 02.
      {{"set", "0102", "--items", "1,3"},
       0,
       [](RecordBuilder& r) { r.chart_bars = "0002xxxx"; },
       rules},
      // A new history chart shows its first row until told otherwise.
      {{"add", "--number", "0203", "--program", "Check.Exe",
        "--history-chart", "on"},
       0,
       [](RecordBuilder& r) {
         r = {};
         r.number = "0203";
         r.display_name = "Orb0203";
         r.delay = "   60";
         r.chart_mode = 'x';
         r.chart_bars = "00xxxxxx";
         r.lock_name = "<Profile>";
         r.tail = "Global;Check.Exe;;";
       },
       {}},
      {{"set", "0102", "--rule", "Mem;<;5;Aqua;"},
       0,
       {},
       {"Cpu;>;90;Warning;", "Mem;<;5;Aqua;"}},
      {{"set", "0102", "--rule", "<All Items>;>=;60;Set Alert;",
        "--purge-rules"},
       0,
       {},
       {"<All Items>;>=;60;Set Alert;"}},
      // The brief's own example, a whole record from named options.
      {{"add",
        "--number",
        "0203",
        "--name",
        "Disks",
        "--face",
        "listing",
        "--chart",
        "area",
        "--grid",
        "1x2",
        "--delay",
        "30",
        "--history",
        "20",
        "--hold",
        "on",
        "--lock",
        "SRC",
        "--source",
        "Dialog.Prf",
        "--program",
        "Check.Exe",
        "--address",
        "",
        "--title",
        "Disk use",
        "--rule",
        "Cpu;>=;80;Set Alert;"},
       0,
       [](RecordBuilder& r) {
         r.number = "0203";
         r.display_name = "Disks";
         r.face_mode = '2';
         r.chart_type = '4';
         r.grid_size = " 1  2";
         r.delay = "   30";
         r.history_bars = "020";
         r.hold = '!';
         r.lock_name = "SRC";
         r.tail = "Dialog.Prf;Check.Exe;;Disk use";
       },
       {"Cpu;>=;80;Set Alert;"}},
      // Refused: values that would break the record or the file.
      {{"set", "0102", "--delay", "9"}, 1},
      {{"set", "0102", "--delay", "100000"}, 1},
      {{"set", "0102", "--delay", "3x"}, 1},
      {{"set", "0102", "--name", "Elevenchars"}, 1},
      {{"set", "0102", "--name", "#Hash"}, 1},
      {{"set", "0102", "--face", "pie"}, 1},
      {{"set", "0102", "--chart", "donut"}, 1},
      {{"set", "0102", "--grid", "0x1"}, 1},
      {{"set", "0102", "--grid", "1x9"}, 1},  // beyond the grid's 6 columns
      {{"set", "0102", "--grid", "3x4"}, 1},  // over orb 0305
      {{"set", "0102", "--hold", "maybe"}, 1},
      {{"set", "0102", "--rule", "Cpu;>>;1;Warning;"}, 1},
      {{"set", "0102", "--rule", "Cpu;>;1"}, 1},
      {{"set", "0102", "--title", "a;b"}, 1},
      {{"set", "0102", "--source", "two\nlines"}, 1},
      {{"set", "0102", "--lock", " "}, 1},
      {{"set", "0999", "--delay", "30"}, 1},
      {{"add", "--number", "0102", "--program", "Check.Exe"}, 1},
      {{"add", "--number", "0900", "--program", "Check.Exe"}, 1},
      {{"add", "--number", "0203"}, 1},  // an AuxOrb runs a program
      {{"add", "--number", "0203", "--program", "Missing.Exe"}, 1},
      {{"set", "0102", "--items", "1,2,3,4,5"}, 1},
      {{"set", "0102", "--items", "0"}, 1},
      // Not understood: nothing is read or written.
      {{"set", "0102"}, 2},
      {{"set", "0102", "--bogus", "1"}, 2},
      {{"add", "--name", "x"}, 2},
      {{"add", "--number", "12x4"}, 2},
  };
  for (const Case& c : cases) {
    std::string trace;
    for (const std::string& word : c.words) trace += word + " ";
    SCOPED_TRACE(trace);
    dir_.WriteLines("AuxOrbs.Prf", initial);
    const std::string before = dir_.Read("AuxOrbs.Prf");
    std::string err;
    ASSERT_EQ(Run(c.words, &err), c.status) << err;
    if (c.status != 0) {
      EXPECT_FALSE(err.empty());
      EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), before);
      continue;
    }
    const Lines lines = SplitLines(dir_.Read("AuxOrbs.Prf"));
    RecordBuilder expected;
    if (c.record) c.record(expected);
    const OrbLines orb = ScanOrb(lines, "AuxOrb", expected.number);
    ASSERT_TRUE(orb.record);
    EXPECT_EQ(orb.record->text(), expected.Text());
    EXPECT_EQ(orb.rules, c.rules);
    // Everything else as it was: the header, the other orb, the trace line
    // in its Latin-1 marker.
    EXPECT_EQ(lines.front(), kHeader);
    EXPECT_EQ(ScanOrb(lines, "AuxOrb", "0305").record, OtherOrb());
    EXPECT_EQ(ScanOrb(lines, "AuxOrb", "0102").actions.trace,
              ". . . . X E X E t;");
    EXPECT_EQ(dir_.Read("AuxOrbs.Prf").find("\xC2\xA7"), std::string::npos);
    Check();
  }
}

TEST_F(VigilEditTest, AProgramThatComesLaterIsWrittenOnlyWithForce) {
  dir_.WriteLines("AuxOrbs.Prf", {kHeader});
  std::string err;
  EXPECT_EQ(Run({"add", "--number", "0203", "--program", "Later.Exe"}, &err),
            1);
  EXPECT_NE(err.find("(--force writes the orb anyway)"), std::string::npos)
      << err;
  EXPECT_EQ(Run({"add", "--number", "0203", "--program", "Later.Exe",
                 "--force"}),
            0);
  EXPECT_NE(dir_.Read("AuxOrbs.Prf").find("Global;Later.Exe;;"),
            std::string::npos);
}

TEST_F(VigilEditTest, AddWritesTheDefaultHeaderWhereThereIsNone) {
  for (const bool file_exists : {false, true}) {
    SCOPED_TRACE(file_exists);
    std::filesystem::remove(File());
    if (file_exists) dir_.WriteLines("AuxOrbs.Prf", {OtherOrb()});
    ASSERT_EQ(Run({"add", "--number", "0000", "--program", "Check.Exe"}), 0);
    const Lines lines = SplitLines(dir_.Read("AuxOrbs.Prf"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), DefaultHeaderLine("AuxOrb"));
    EXPECT_EQ(ScanHeader(lines, "AuxOrb").settings.rows, 8);
    EXPECT_EQ(ScanOrb(lines, "AuxOrb", "0305").record.has_value(), file_exists);
    Check();
  }
}

}  // namespace
}  // namespace vigil::cli
