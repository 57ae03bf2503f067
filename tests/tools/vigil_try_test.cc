// vigil try: a sensor script run once as an orb runs it, and what the orb
// would make of its output.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vigil/commands.h"

namespace vigil::cli {
namespace {

using testing::TempDir;

TEST(VigilTryTest, RunsTheSensorAndTellsWhatAnOrbShows) {
  struct Case {
    std::string script;  // the body after "#!/bin/sh"; empty: no file
    Words options;       // before "--"
    Words arguments;     // after the program
    int status;
    std::vector<std::string> shown;  // on out, or on err for status 2
  };
  TempDir dir;
  const std::string timeout_profile = (dir / "Timeout.Prf").string();
  dir.Write("Timeout.Prf", "* Sensor-Timeout..: 1\n");
  const Case cases[] = {
      // The profile argument comes first and each word stays one word.
      {R"(echo "<prtg><result><channel>Load</channel><value>23817</value>)"
       R"(<limitmode>1</limitmode><limitmaxerror>90</limitmaxerror></result>)"
       R"(<result><channel>Free</channel><value>0.5</value><float>1</float>)"
       R"(<warning>1</warning></result><text>$# $*</text></prtg>")",
       {"--profile", "AuxOrb0203.Prf"},
       {"x y"},
       0,
       {"format: PRTG XML\nrows: 2\n",
        "  01: Load  23.817 #  (value 23817; error above 90)\n",
        "  02: Free      .5 #  (value 0.5; warning flag set)\n",
        "message: 2 AuxOrb0203.Prf x y\n",
        "problems: none\nan orb shows data\n"}},
      {"cat <<EOF\n"
       R"({"prtg": {"result": [{"channel": "Cpu", "value": 7,)"
       R"( "unit": "Percent"}], "text": "from $1"}})"
       "\nEOF",
       {},
       {},
       0,
       {"format: PRTG JSON\n", "  01: Cpu  7 %  (value 7)\n",
        "message: from Global\n", "an orb shows data\n"}},
      {R"(echo "<prtg><error>1</error><text>Database down ($1)</text></prtg>")",
       {},
       {},
       1,
       {"rows: 0\n", "  error report: Database down (Global)\n",
        "an orb shows no data: Database down (Global)\n"}},
      {"exit 3",
       {},
       {},
       1,
       {"exit status: 3 (an orb ignores it)\nthe sensor wrote nothing\n"
        "an orb shows no data: No Data from RFC found...\n"}},
      {"", {}, {}, 2, {"no such file"}},
      // Ended with what it started at the profile's time-out, as an orb
      // ends it.
      {"sleep 30 & wait",
       {"--profile", timeout_profile},
       {},
       1,
       {"time-out: 1 s, from the profile's Sensor-Timeout line\n",
        "an orb shows no data: Sensor ", " timed out after 1 s\n"}},
  };
  // The work files go here, so that their removal can be seen.
  const char* tmpdir = getenv("TMPDIR");
  const std::string old_tmpdir = tmpdir != nullptr ? tmpdir : "";
  std::filesystem::create_directory(dir / "tmp");
  setenv("TMPDIR", (dir / "tmp").c_str(), 1);
  int number = 0;
  for (const Case& c : cases) {
    const std::string name = "sensor" + std::to_string(++number) + ".sh";
    SCOPED_TRACE(name);
    if (!c.script.empty()) {
      dir.Write(name, "#!/bin/sh\n" + c.script + "\n");
      std::filesystem::permissions(dir / name,
                                   std::filesystem::perms::owner_all);
    }
    Words words = c.options;
    words.push_back("--");
    words.push_back((dir / name).string());
    words.insert(words.end(), c.arguments.begin(), c.arguments.end());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunTry(words, out, err), c.status) << err.str();
    const std::string& told = c.status == 2 ? err.str() : out.str();
    for (const std::string& text : c.shown) {
      EXPECT_NE(told.find(text), std::string::npos) << text << "\n" << told;
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir / "tmp"));
  if (tmpdir != nullptr) {
    setenv("TMPDIR", old_tmpdir.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

}  // namespace
}  // namespace vigil::cli
