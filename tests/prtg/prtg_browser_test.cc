#include "prtg/prtg_browser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prtg/profile_lines.h"
#include "support/record_builder.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

class PrtgBrowserTest : public ::testing::Test {
 protected:
  PrtgBrowserTest() {
    testing::RecordBuilder builder;
    builder.tail = "prtg.corp;HttpOrb;/sensor.htm?id=2041#2077;Ping";
    record_ = builder.Text();
  }

  void WriteProfile() {
    dir_.WriteLines("HttpOrb0102.Prf",
                    {testing::HostLine("prtg.corp"), testing::SchemeLine(true),
                     testing::UserLine("bob"), testing::PasswordLine("a&b")});
  }

  bool Open(bool opens = true) {
    return OpenPrtgBrowser(record_, dir_ / "HttpOrb0102.Prf", view_,
                           [&](const std::string& url) {
                             opened_.push_back(url);
                             return opens;
                           });
  }

  testing::TempDir dir_;
  testing::RecordingView view_;
  std::string record_;
  std::vector<std::string> opened_;
};

TEST_F(PrtgBrowserTest, OpensTheFirstSensorsPageWithTheLogin) {
  WriteProfile();
  EXPECT_TRUE(Open());
  EXPECT_EQ(opened_, std::vector<std::string>{
                         "https://prtg.corp/sensor.htm?id=2041&username=bob"
                         "&password=a%26b"});
  EXPECT_TRUE(view_.message_boxes().empty());
}

TEST_F(PrtgBrowserTest, AMissingProfileIsTold) {
  EXPECT_FALSE(Open());
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(view_.message_boxes(),
            std::vector<std::string>{"Read HttpOrb0102.Prf failed, please "
                                     "Check !"});
}

TEST_F(PrtgBrowserTest, ABrowserThatDoesNotStartIsToldWithoutTheUrl) {
  WriteProfile();
  EXPECT_FALSE(Open(false));
  ASSERT_EQ(view_.message_boxes().size(), 1u);
  EXPECT_EQ(view_.message_boxes()[0].find("bob"), std::string::npos);
  EXPECT_FALSE(OpenPrtgBrowser(record_, dir_ / "HttpOrb0102.Prf", view_, {}));
  EXPECT_EQ(view_.message_boxes().size(), 2u);
}

}  // namespace
}  // namespace vigil
