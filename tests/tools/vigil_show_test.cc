// vigil show: each record's fields in words, the one the orb reads.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/record_builder.h"
#include "support/temp_dir.h"
#include "vigil/commands.h"

namespace vigil::cli {
namespace {

using testing::RecordBuilder;
using testing::TempDir;
using Lines = std::vector<std::string>;

TEST(VigilShowTest, EveryFieldInWords) {
  RecordBuilder disks;
  disks.display_name = "Disks";
  disks.face_mode = '2';
  disks.chart_type = '4';
  disks.grid_size = " 1  2";
  disks.delay = "   30";
  disks.hold = '!';
  disks.lock_name = "<Profile>";
  disks.tail = "Local.Prf;vigil-sensor;;Disk use";
  RecordBuilder old_name = disks;
  old_name.display_name = "Old";
  RecordBuilder other;
  other.number = "0000";
  other.display_name = "M\xFCller";  // Latin-1
  const Lines file = {
      "0806 AuxOrbs...   .           2",
      old_name.Text(),
      other.Text(),
      disks.Text(),
      "0102 # Cpu;>=;80;Set Alert;",
      "0102 # Cpu;>>;1;Warning;",
      // The password field is ")?9(?.", scrambled "secret".
      "0102 $ X E X.X..... ops@x.org;;%State;acct;)?9(?.;mail.x.org;",
      "0102 ! X E . . X ........ run.sh;%State;/tmp;",
  };
  struct Case {
    Words words;  // after the file
    int status;
    std::vector<std::string> shown;
    std::vector<std::string> not_shown;
  };
  const Case cases[] = {
      {{"0102"},
       0,
       {"wall: 8 rows x 6 columns on monitor 2\n\norb 0102 (row 01, column "
        "02)\n  name:      \"Disks\"\n",
        "  face:      2 listing\n", "  chart:     4 area, bars",
        "  grid:      1x2 cells\n", "  delay:     30 seconds\n",
        "hold on, zoom off",
        "  lock name: \"<Profile>\", read as \"Local.Prf\"",
        "  program:   \"vigil-sensor\"\n", "  title:     \"Disk use\"\n",
        "  rules:     1. if \"Cpu\" >= 80 then Set Alert\n",
        "             2. \"Cpu;>>;1;Warning;\" (does not read",
        "state mail: on, states Green Red, to \"ops@x.org\"", "a password",
        "state exec: on, states none, through the shell, program \"run.sh\", "
        "parameters \"%State\", directory \"/tmp\""},
       {"Old", "secret", ")?9(?.", "M\xC3\xBCller"}},
      // Every orb once, by its first line; Latin-1 shown as UTF-8.
      {{}, 0, {"orb 0102", "M\xC3\xBCller", "\n\norb 0000"}, {"Old"}},
      {{"0305"}, 1, {}, {"orb"}},
      {{"12"}, 2, {}, {"orb"}},
  };
  TempDir dir;
  dir.WriteLines("AuxOrbs.Prf", file);
  for (const Case& c : cases) {
    Words words = {(dir / "AuxOrbs.Prf").string()};
    words.insert(words.end(), c.words.begin(), c.words.end());
    SCOPED_TRACE(words.back());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunShow(words, out, err), c.status) << err.str();
    for (const std::string& text : c.shown) {
      EXPECT_NE(out.str().find(text), std::string::npos) << text << "\n"
                                                         << out.str();
    }
    for (const std::string& text : c.not_shown) {
      EXPECT_EQ(out.str().find(text), std::string::npos) << text;
    }
  }
}

}  // namespace
}  // namespace vigil::cli
