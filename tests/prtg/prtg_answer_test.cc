#include "prtg/prtg_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prtg/prtg_fixture.h"

namespace vigil {
namespace {

using testing::PrtgFixture;

TEST(PrtgAnswerTest, AnswersOfTheSimulatorAreWhole) {
  for (const char* name :
       {"channels_2041_ping_en.xml", "channels_2042_traffic_de.xml",
        "details_2041_ping.xml", "error_401.xml"}) {
    const std::string text = PrtgFixture(name);
    ASSERT_FALSE(text.empty()) << name;
    EXPECT_TRUE(IsWholeAnswer(text)) << name;
  }
}

TEST(PrtgAnswerTest, BrokenAnswersAreNotWhole) {
  const std::string whole = PrtgFixture("channels_2041_ping_en.xml");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"half of the simulator", PrtgFixture("channels_2099_half.xml")},
      {"cut after an item", whole.substr(0, whole.find("</channels>"))},
      {"empty", ""},
      {"blanks", " \r\n"},
      {"junk", std::string("\0<\x9c\xff\x01", 5) + "</channels>"},
      {"text", "Service Unavailable"},
      {"another root closed", "<channels>\n</prtg>\n"},
      {"declaration only", "<?xml version=\"1.0\"?>"},
  };
  for (const auto& [name, text] : cases) {
    EXPECT_FALSE(IsWholeAnswer(text)) << name;
  }
}

TEST(PrtgAnswerTest, WholeAnswersInOtherShapes) {
  EXPECT_TRUE(IsWholeAnswer("<channels totalcount=\"0\">\n</channels>"));
  EXPECT_TRUE(IsWholeAnswer("\xEF\xBB\xBF<a x=\"1\">\r\n</a>\r\n\r\n"));
  EXPECT_TRUE(IsWholeAnswer("<!-- c --><!DOCTYPE a>\n<a></a>"));
}

TEST(PrtgAnswerTest, TagTextLooksAtMost99CharactersAfterTheTag) {
  EXPECT_EQ(TagText("<a>xy</a>", "<a>", "</a>"), "xy");
  EXPECT_EQ(TagText("pre <a>xy</a> <a>z</a>", "<a>", "</a>"), "xy");
  EXPECT_EQ(TagText("<a>xy", "<a>", "</a>"), "");
  EXPECT_EQ(TagText("xy</a>", "<a>", "</a>"), "");
  EXPECT_EQ(TagText("<a>" + std::string(95, 'x') + "</a>", "<a>", "</a>"),
            std::string(95, 'x'));
  EXPECT_EQ(TagText("<a>" + std::string(96, 'x') + "</a>", "<a>", "</a>"), "");
}

}  // namespace
}  // namespace vigil
