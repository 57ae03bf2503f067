#include "prtg/prtg_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prtg/profile_lines.h"
#include "support/record_builder.h"

namespace vigil {
namespace {

using testing::ApiTokenLine;
using testing::HostLine;
using testing::PasswordLine;
using testing::SchemeLine;
using testing::UserLine;

constexpr std::string_view kChannels =
    "/api/table.xml?content=channels&output=xml&columns=name,lastvalue&id=";

std::string Record(const std::string& address) {
  testing::RecordBuilder builder;
  builder.tail = "prtg.corp;Http.Exe;" + address + ";Ping Orb";
  return builder.Text();
}

std::vector<std::string> UsualProfile() {
  return {"# written by the configurator",
          HostLine("prtg.corp:8443"),
          SchemeLine(false),
          UserLine("bob"),
          PasswordLine("secret"),
          "* Proxy-Host......: proxy.corp"};
}

struct UrlCase {
  std::string name;
  std::string address;
  std::vector<std::string> profile;
  std::string channels_url;  // for the first id
};

TEST(PrtgRequestTest, BuildsTheChannelsUrlFromAddressAndProfileInFileOrder) {
  const std::string api = std::string(kChannels);
  const std::vector<UrlCase> cases = {
      {"sensor page rewritten", "/sensor.htm?id=2041", UsualProfile(),
       "http://prtg.corp:8443" + api + "2041&username=bob&password=secret"},
      {"https",
       "/sensor.htm?id=2041",
       {HostLine("prtg.corp"), SchemeLine(true), UserLine("bob"),
        PasswordLine("secret")},
       "https://prtg.corp" + api + "2041&username=bob&password=secret"},
      {"scheme line before host line",
       "/sensor.htm?id=2041",
       {SchemeLine(false), HostLine("prtg.corp"), UserLine("bob"),
        PasswordLine("secret")},
       "prtg.corphttp://" + api + "2041&username=bob&password=secret"},
      {"password line before user line",
       "/sensor.htm?id=2041",
       {HostLine("h"), SchemeLine(false), PasswordLine("secret"),
        UserLine("bob")},
       "http://h" + api + "2041&password=secret&username=bob"},
      {"other address kept",
       "/api/table.xml?content=channels&id=7",
       {HostLine("h"), SchemeLine(false)},
       "http://h/api/table.xml?content=channels&id=7"},
      {"no connection lines", "/sensor.htm?id=2041", {}, api + "2041"},
      {"multi-sensor address", "/sensor.htm?id=2041#2042#2077", UsualProfile(),
       "http://prtg.corp:8443" + api + "2041&username=bob&password=secret"},
      {"credentials encoded",
       "/sensor.htm?id=1",
       {HostLine("h"), SchemeLine(false), UserLine("o'neil smith"),
        PasswordLine("p&ss #1%+")},
       "http://h" + api +
           "1&username=o%27neil%20smith&password=p%26ss%20%231%25%2B"},
      {"API key in place of user and password",
       "/sensor.htm?id=1",
       {HostLine("h"), SchemeLine(false), ApiTokenLine("PWZ+k/y="),
        UserLine("bob"), PasswordLine("secret")},
       "http://h" + api + "1&apitoken=PWZ%2Bk%2Fy%3D"},
      {"empty API key line",
       "/sensor.htm?id=1",
       {HostLine("h"), SchemeLine(false), UserLine("bob"),
        PasswordLine("secret"), ApiTokenLine("  ")},
       "http://h" + api + "1&username=bob&password=secret"},
      {"value cut after 99 characters",
       "/sensor.htm?id=1",
       {HostLine(std::string(99, 'h') + "cut"), SchemeLine(false)},
       "http://" + std::string(99, 'h') + api + "1"},
  };
  for (const UrlCase& c : cases) {
    const RequestUrl request = BuildRequestUrl(Record(c.address), c.profile);
    ASSERT_FALSE(request.ids.empty()) << c.name;
    EXPECT_EQ(ChannelsUrl(request, request.ids[0]), c.channels_url) << c.name;
  }
}

struct IdCase {
  std::string address;
  std::vector<std::string> ids;
  bool multi_sensor;
  bool has_ids;
};

TEST(PrtgRequestTest, SplitsTheIdList) {
  const std::vector<IdCase> cases = {
      {"/sensor.htm?id=2041", {"2041"}, false, true},
      {"/sensor.htm?id=2041#2042#2077", {"2041", "2042", "2077"}, true, true},
      {"/sensor.htm?id=2041#", {"2041"}, true, true},
      {"/sensor.htm?id=2041##2042", {"2041", "2042"}, true, true},
      {"/sensor.htm?id=", {}, false, true},
      {"/sensor.htm?sensor=2041", {}, false, false},
      {"", {}, false, false},
  };
  for (const IdCase& c : cases) {
    const RequestUrl request = BuildRequestUrl(Record(c.address), {});
    EXPECT_EQ(request.ids, c.ids) << c.address;
    EXPECT_EQ(request.multi_sensor, c.multi_sensor) << c.address;
    EXPECT_EQ(request.has_ids, c.has_ids) << c.address;
  }
}

TEST(PrtgRequestTest, EachSensorIsRequestedWithItsOwnId) {
  const RequestUrl request =
      BuildRequestUrl(Record("/sensor.htm?id=2041#2042"), UsualProfile());
  ASSERT_EQ(request.ids.size(), 2u);
  EXPECT_EQ(ChannelsUrl(request, request.ids[1]),
            "http://prtg.corp:8443" + std::string(kChannels) +
                "2042&username=bob&password=secret");
}

TEST(PrtgRequestTest, DetailsUrlKeepsServerIdAndWholeCredentials) {
  // "id=" and the credentials come to more than the 99 characters that a
  // fixed-size copy would keep.
  const std::string long_password(95, 'k');
  const RequestUrl request =
      BuildRequestUrl(Record("/sensor.htm?id=2041#2042"),
                      {HostLine("prtg.corp"), SchemeLine(true), UserLine("bob"),
                       PasswordLine(long_password)});
  EXPECT_EQ(DetailsUrl(request, "2042"),
            "https://prtg.corp/api/getsensordetails.xml?id=2042&username=bob"
            "&password=" +
                long_password);
}

TEST(PrtgRequestTest, ShownUrlNeverCarriesCredentials) {
  const std::vector<std::vector<std::string>> profiles = {
      UsualProfile(),
      {HostLine("h"), SchemeLine(false), PasswordLine("secret"),
       UserLine("bob")},
      {PasswordLine("secret"), HostLine("h"), SchemeLine(false)},
      {HostLine("h"), SchemeLine(false), ApiTokenLine("secret")},
  };
  for (const auto& profile : profiles) {
    const RequestUrl request =
        BuildRequestUrl(Record("/sensor.htm?id=2041"), profile);
    const std::string shown = ShownUrl(request, "2041");
    EXPECT_EQ(shown.find("secret"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("bob"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("password"), std::string::npos) << shown;
    EXPECT_NE(ChannelsUrl(request, "2041").find("secret"), std::string::npos);
  }
}

TEST(PrtgRequestTest, BrowserShowsTheFirstSensorPageNotRewritten) {
  EXPECT_EQ(BrowserUrl(Record("/sensor.htm?id=2041#2042"), UsualProfile()),
            "http://prtg.corp:8443/sensor.htm?id=2041&username=bob&password="
            "secret");
  EXPECT_EQ(BrowserUrl(Record("/sensor.htm?id=2041"),
                       {SchemeLine(true), HostLine("h")}),
            "hhttps:///sensor.htm?id=2041");
  EXPECT_EQ(BrowserUrl(Record("/sensor.htm?id=2041"),
                       {HostLine("h"), SchemeLine(true), UserLine("bob"),
                        PasswordLine("secret"), ApiTokenLine("KEY")}),
            "https://h/sensor.htm?id=2041&apitoken=KEY");
}

}  // namespace
}  // namespace vigil
