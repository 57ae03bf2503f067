#include "prtg/details_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prtg/prtg_fixture.h"

namespace vigil {
namespace {

using testing::PrtgFixtureLines;

std::string IdentifierFor(const std::string& fixture, char kind) {
  const auto element = IdentifierElement(kind);
  if (!element) return std::string(kNoIdentifier);
  return ReadIdentifier(PrtgFixtureLines(fixture), *element,
                        std::string(kNoIdentifier));
}

TEST(PrtgDetailsReaderTest, ColumnFortyNineChoosesTheIdentifier) {
  const std::vector<std::tuple<std::string, char, std::string>> cases = {
      {"details_2041_ping.xml", '1', "Local Probe"},
      {"details_2041_ping.xml", '2', "Network"},
      {"details_2041_ping.xml", '3', "Core Router"},
      {"details_2041_ping.xml", '4', "Ping"},
      {"details_2041_ping.xml", '0', "No_Identifier"},
      {"details_2041_ping.xml", ' ', "No_Identifier"},
      {"details_2041_ping.xml", 'x', "No_Identifier"},
      {"details_2077_cpu.xml", '1', "Remote Probe Berlin"},
      {"details_2077_cpu.xml", '3', "File Server"},
      {"details_2077_cpu.xml", '4', "CPU Load"},
      {"error_401.xml", '1', "No_Identifier"},
  };
  for (const auto& [fixture, kind, identifier] : cases) {
    EXPECT_EQ(IdentifierFor(fixture, kind), identifier)
        << fixture << " kind " << kind;
  }
}

TEST(PrtgDetailsReaderTest, TheLastElementWinsAndAValueNeedsItsCdata) {
  const std::vector<std::string> lines = {
      " <probename>",         "  <![CDATA[First]]>",
      " </probename>",        " <probename>",
      "  <![CDATA[Second]]>", " </probename>",
      " <probename>",         "  Third",  // no CDATA: keeps Second
      " <probename>",                     // the last line has no next line
  };
  EXPECT_EQ(ReadIdentifier(lines, "<probename>", "No_Identifier"), "Second");
  EXPECT_EQ(ReadIdentifier({"<name>", "<![CDATA[]]>"}, "<name>", "x"), "");
  EXPECT_EQ(ReadIdentifier({"<name>", "<![CDATA[open"}, "<name>", "x"), "x");
  // The value on the element's own line.
  EXPECT_EQ(ReadIdentifier({" <probename><![CDATA[Same]]></probename>",
                            " <name><![CDATA[Ping]]></name>"},
                           "<probename>", "x"),
            "Same");
}

}  // namespace
}  // namespace vigil
