// The simulator's pieces in-process: number display, the sensor file, the
// request head, the routing rules and the value walk.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "prtg-sim/answers.h"
#include "prtg-sim/display_value.h"
#include "prtg-sim/http_request.h"
#include "prtg-sim/options.h"
#include "prtg-sim/request_router.h"
#include "prtg-sim/sensor_set.h"
#include "prtg-sim/value_walk.h"

namespace vigil::sim {
namespace {

struct NumberCase {
  double value;
  int decimals;
  Locale locale;
  std::string text;
};

TEST(DisplayValueTest, ServerLocaleSeparators) {
  const std::vector<NumberCase> cases = {
      {1136, 0, Locale::kEnglish, "1,136"},
      {1136, 0, Locale::kGerman, "1.136"},
      {153440332, 0, Locale::kGerman, "153.440.332"},
      {153440332, 0, Locale::kEnglish, "153,440,332"},
      {999, 0, Locale::kEnglish, "999"},
      {1000, 0, Locale::kEnglish, "1,000"},
      {12.34, 2, Locale::kEnglish, "12.34"},
      {12.34, 2, Locale::kGerman, "12,34"},
      {1234567.891, 2, Locale::kGerman, "1.234.567,89"},
      {-1234.5, 1, Locale::kEnglish, "-1,234.5"},
      {-0.001, 2, Locale::kEnglish, "0.00"},
      {0, 0, Locale::kGerman, "0"},
      {999.6, 0, Locale::kEnglish, "1,000"},  // rounding adds a digit group
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.decimals, c.locale), c.text) << c.value;
  }
  EXPECT_EQ(DisplayValue(1136, 0, "msec", Locale::kEnglish), "1,136 msec");
  EXPECT_EQ(DisplayValue(5, 0, "", Locale::kEnglish), "5");
  EXPECT_EQ(RawValue(1136), "1136.0000");
  EXPECT_EQ(RawValue(-0.5), "-0.5000");
}

TEST(SensorSetTest, ReadsTheDemoSet) {
  std::ifstream in(std::string(VIGIL_SOURCE_DIR) +
                   "/tools/prtg-sim/demo-sensors.txt");
  std::ostringstream text;
  text << in.rdbuf();
  const SensorSetParse parsed = ParseSensorSet(text.str());
  ASSERT_TRUE(parsed.set.has_value()) << parsed.error;
  EXPECT_TRUE(parsed.set->credentials.Configured());
  ASSERT_GE(parsed.set->sensors.size(), 2u);
  for (const Sensor& sensor : parsed.set->sensors) {
    EXPECT_FALSE(sensor.channels.empty()) << sensor.id;
  }
}

TEST(SensorSetTest, ChannelFields) {
  const SensorSetParse parsed = ParseSensorSet(
      "sensor 7 My Sensor Name\n"
      "  channel Ping Time | 1136 | msec\n"
      "  channel Empty | -\n"
      "  channel Downtime | NONE\n"
      "  channel Load | 12.5 | % | 2 | 0\n"
      "  channel No Unit | 5 |  | 1\n");
  ASSERT_TRUE(parsed.set.has_value()) << parsed.error;
  const Sensor& sensor = parsed.set->sensors.at(0);
  EXPECT_EQ(sensor.name, "My Sensor Name");
  ASSERT_EQ(sensor.channels.size(), 5u);
  EXPECT_EQ(sensor.channels[0].name, "Ping Time");
  EXPECT_EQ(sensor.channels[0].unit, "msec");
  EXPECT_FALSE(sensor.channels[0].span.has_value());
  EXPECT_EQ(sensor.channels[1].kind, ValueKind::kEmpty);
  EXPECT_EQ(sensor.channels[2].kind, ValueKind::kAbsent);
  EXPECT_EQ(sensor.channels[3].decimals, 2);
  EXPECT_EQ(sensor.channels[3].span, 0.0);
  EXPECT_EQ(sensor.channels[4].unit, "");
  EXPECT_EQ(sensor.channels[4].decimals, 1);
}

struct BadSetCase {
  std::string text;
  std::string error_start;
};

TEST(SensorSetTest, MistakesNameTheirLine) {
  const std::vector<BadSetCase> cases = {
      {"channel A | 1\n", "line 1:"},
      {"# comment\n\nsensor x\n", "line 3:"},
      {"sensor 1\nsensor 1\n", "line 2:"},
      {"sensor 1\n channel A\n", "line 2:"},
      {"sensor 1\n channel A | ten\n", "line 2:"},
      {"sensor 1\n channel A | 1 | u | 9\n", "line 2:"},
      {"sensor 1\n channel A | 1 | u | 0 | -1\n", "line 2:"},
      {"sensor 1\n channel A | 1 | u | 0 | 1 | extra\n", "line 2:"},
      {"locale fr\n", "line 1:"},
      {"sensor 1\ncredentials a b\n", "line 2:"},
      {"credentials onlyuser\n", "line 1:"},
      {"sensor 1\napitoken KEY\n", "line 2:"},
      {"apitoken\n", "line 1:"},
      {"apitoken two words\n", "line 1:"},
      {"next 0 drop\n", "line 1:"},
      {"next 2 explode\n", "line 1:"},
      {"sensor 1\n fault delay\n", "line 2:"},
      {"sensor 1\n colour red\n", "line 2:"},
  };
  for (const BadSetCase& c : cases) {
    const SensorSetParse parsed = ParseSensorSet(c.text);
    EXPECT_FALSE(parsed.set.has_value()) << c.text;
    EXPECT_EQ(parsed.error.rfind(c.error_start, 0), 0u)
        << c.text << parsed.error;
  }
}

struct FaultCase {
  std::string text;
  std::optional<FaultKind> kind;
  int seconds = 0;
};

TEST(OptionsTest, FaultTexts) {
  const std::vector<FaultCase> cases = {
      {"stall", FaultKind::kStall}, {"delay:3", FaultKind::kDelay, 3},
      {"drop", FaultKind::kDrop},   {"500", FaultKind::kServerError},
      {"half", FaultKind::kHalf},   {"short", FaultKind::kShort},
      {"junk", FaultKind::kJunk},   {"delay", std::nullopt},
      {"delay:x", std::nullopt},    {"stall:1", std::nullopt},
      {"", std::nullopt},           {"delay:-1", std::nullopt},
  };
  for (const FaultCase& c : cases) {
    const std::optional<Fault> fault = ParseFaultText(c.text);
    ASSERT_EQ(fault.has_value(), c.kind.has_value()) << c.text;
    if (!fault) continue;
    EXPECT_EQ(fault->kind, *c.kind) << c.text;
    EXPECT_EQ(fault->seconds, c.seconds) << c.text;
  }
}

TEST(OptionsTest, CommandLine) {
  const OptionsParse good =
      ParseOptions({"--port", "0", "--lifetime", "5", "--sensors", "s.txt",
                    "--next", "2:drop", "--fault", "7:delay:2", "--user", "u",
                    "--passhash", "1", "--no-drift", "--seed", "9"});
  ASSERT_TRUE(good.options.has_value()) << good.error;
  EXPECT_EQ(good.options->port, 0);
  EXPECT_FALSE(good.options->drift);
  EXPECT_EQ(good.options->seed, 9u);
  ASSERT_EQ(good.options->next_faults.size(), 1u);
  EXPECT_EQ(good.options->next_faults[0].count, 2);
  ASSERT_EQ(good.options->id_faults.size(), 1u);
  EXPECT_EQ(good.options->id_faults[0].first, 7);

  const std::vector<std::vector<std::string>> bad = {
      {"--lifetime", "5", "--sensors", "s"},
      {"--port", "0", "--sensors", "s"},
      {"--port", "0", "--lifetime", "5"},
      {"--port", "70000", "--lifetime", "5", "--sensors", "s"},
      {"--port", "0", "--lifetime", "0", "--sensors", "s"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--password", "p"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--user", "u"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--bogus", "1"},
      {"--port", "0", "--lifetime", "5", "--sensors"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--next", "drop"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--next", "0:drop"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--next", "2:bogus"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--fault", "7"},
      {"--port", "0", "--lifetime", "5", "--sensors", "s", "--fault", "x:drop"},
  };
  for (const std::vector<std::string>& arguments : bad) {
    EXPECT_FALSE(ParseOptions(arguments).options.has_value())
        << arguments.back();
  }
}

struct HeadCase {
  std::string received;
  std::optional<size_t> length;
};

TEST(HttpRequestTest, HeadEndsAtTheBlankLine) {
  const std::vector<HeadCase> cases = {
      {"GET / HTTP/1.1\r\nHost: x\r\n\r\n", 27},
      {"GET / HTTP/1.1\n\n", 16},
      {"GET / HTTP/1.1\r\nHost: x\r\n", std::nullopt},
      {"GET / HTTP/1.1\r\n\r\nbody", 18},
      {"", std::nullopt},
  };
  for (const HeadCase& c : cases) {
    EXPECT_EQ(HeadLength(c.received), c.length) << c.received;
  }
}

TEST(HttpRequestTest, RequestLineAndQuery) {
  const std::optional<HttpRequest> request = ParseRequestHead(
      "GET "
      "/api/"
      "table.xml?content=channels&id=2041&id=9&username=a%20b&password=p%2Bq+r "
      "HTTP/1.1\r\nHost: x\r\n\r\n");
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->path, "/api/table.xml");
  EXPECT_EQ(request->query.at("id"), "2041");  // the first of a key wins
  EXPECT_EQ(request->query.at("username"), "a b");
  EXPECT_EQ(request->query.at("password"), "p+q r");

  const std::optional<HttpRequest> absolute = ParseRequestHead(
      "GET http://127.0.0.1:8080/sensor.htm?id=1 HTTP/1.0\r\n\r\n");
  ASSERT_TRUE(absolute.has_value());
  EXPECT_EQ(absolute->path, "/sensor.htm");
  EXPECT_EQ(absolute->query.at("id"), "1");

  for (const char* bad :
       {"get / HTTP/1.1\r\n\r\n", "GET /\r\n\r\n", "GET x HTTP/1.1\r\n\r\n",
        "GET / FTP/1\r\n\r\n", "\x01\x02\r\n\r\n", "",
        "GET  / HTTP/1.1 x\r\n\r\n"}) {
    EXPECT_FALSE(ParseRequestHead(bad).has_value()) << bad;
  }
  EXPECT_EQ(UrlDecode("%zz%4"), "%zz%4");
  EXPECT_EQ(UrlDecode("%41%62c"), "Abc");
}

TEST(HttpRequestTest, SecretsNeverReachTheLog) {
  EXPECT_EQ(MaskSecrets("/a?id=1&password=geheim&username=u&passhash=123"),
            "/a?id=1&password=***&username=u&passhash=***");
  EXPECT_EQ(MaskSecrets("/a?password=x"), "/a?password=***");
  EXPECT_EQ(MaskSecrets("/a?id=1&apitoken=KEY&x=1"),
            "/a?id=1&apitoken=***&x=1");
  EXPECT_EQ(MaskSecrets("/a?oldpassword=keep"), "/a?oldpassword=keep");
}

SensorSet TwoSensors() {
  SensorSetParse parsed = ParseSensorSet(
      "credentials admin secret 4242\n"
      "sensor 1 One\n  channel A | 100 | u | 0 | 10\n"
      "sensor 2 Two\n  fault 500\n  channel B | 1\n");
  EXPECT_TRUE(parsed.set.has_value()) << parsed.error;
  return *parsed.set;
}

HttpRequest Request(const std::string& target) {
  std::optional<HttpRequest> request =
      ParseRequestHead("GET " + target + " HTTP/1.1\r\n\r\n");
  EXPECT_TRUE(request.has_value()) << target;
  return request.value_or(HttpRequest{});
}

struct RouteCase {
  std::string target;
  int status;
};

TEST(RequestRouterTest, CredentialsThenObject) {
  const std::vector<RouteCase> cases = {
      {"/api/table.xml?content=channels&id=1&username=admin&password=secret",
       200},
      {"/api/table.xml?content=channels&id=1&username=admin&passhash=4242",
       200},
      {"/api/table.xml?content=channels&id=1&username=admin&password=4242",
       401},
      {"/api/table.xml?content=channels&id=1&username=admin&passhash=secret",
       401},
      {"/api/table.xml?content=channels&id=1&username=Admin&password=secret",
       401},
      {"/api/table.xml?content=channels&id=1&password=secret", 401},
      {"/api/table.xml?content=channels&id=1&username=admin", 401},
      {"/api/table.xml?content=channels&id=1&username=admin&password=", 401},
      {"/api/table.xml?content=channels&id=3&username=admin&password=secret",
       400},
      {"/api/table.xml?content=channels&id=x&username=admin&password=secret",
       400},
      {"/api/table.xml?content=channels&username=admin&password=secret", 400},
      {"/api/table.xml?content=sensors&id=1&username=admin&password=secret",
       400},
      {"/api/table.xml?id=1&username=admin&password=secret", 400},
      {"/api/getsensordetails.xml?id=1&username=admin&password=secret", 200},
      {"/api/getsensordetails.xml?id=9&username=admin&password=secret", 400},
      {"/sensor.htm?id=1&username=admin&password=secret", 200},
      {"/api/other.xml?id=1&username=admin&password=secret", 404},
      {"/api/table.xml?content=channels&id=2&username=admin&password=secret",
       500},
      {"/api/table.xml?content=channels&id=2", 500},  // the fault goes first
  };
  RequestRouter router(TwoSensors(), {});
  for (const RouteCase& c : cases) {
    EXPECT_EQ(router.Answer(Request(c.target)).status, c.status) << c.target;
  }
  EXPECT_EQ(router.Answer(std::nullopt).status, 400);
  HttpRequest post = Request("/api/table.xml?content=channels&id=1");
  post.method = "POST";
  EXPECT_EQ(router.Answer(post).status, 405);

  const Reply unknown = router.Answer(Request(
      "/api/table.xml?content=channels&id=3&username=admin&password=secret"));
  EXPECT_NE(
      unknown.body.find("<error>" + std::string(kNoSuchObject) + "</error>"),
      std::string::npos);
}

// A request with a key is judged by the key alone; without one, by the
// login, which a set with only a key has not got.
TEST(RequestRouterTest, ApiKeyInPlaceOfTheLogin) {
  const std::string login = "&username=admin&password=secret";
  const std::string channels = "/api/table.xml?content=channels&id=1";
  const std::vector<std::pair<std::string, std::vector<RouteCase>>> sets = {
      {"credentials admin secret\napitoken K+Y/1=\n",
       {{channels + "&apitoken=K%2BY%2F1%3D", 200},
        {channels + "&apitoken=K%2BY%2F1%3D&username=x&password=y", 200},
        {channels + "&apitoken=K+Y/1=", 401},
        {channels + "&apitoken=wrong" + login, 401},
        {channels + "&apitoken=" + login, 401},
        {channels + login, 200},
        {channels, 401}}},
      {"apitoken KEY\n",
       {{channels + "&apitoken=KEY", 200},
        {"/api/getsensordetails.xml?id=1&apitoken=KEY", 200},
        {channels + login, 401},
        {channels, 401}}},
      {"credentials admin secret\n", {{channels + "&apitoken=KEY", 401}}},
  };
  for (const auto& [head, cases] : sets) {
    SensorSetParse parsed =
        ParseSensorSet(head + "sensor 1 One\n  channel A | 1\n");
    ASSERT_TRUE(parsed.set.has_value()) << parsed.error;
    RequestRouter router(std::move(*parsed.set), {});
    for (const RouteCase& c : cases) {
      EXPECT_EQ(router.Answer(Request(c.target)).status, c.status)
          << head << c.target;
    }
  }
}

TEST(RequestRouterTest, QueuedFaultsComeFirstAndRunOut) {
  SensorSet set = TwoSensors();
  set.next_faults = {{2, {FaultKind::kDrop, 0}}, {1, {FaultKind::kDelay, 4}}};
  RequestRouter router(std::move(set), {});
  const HttpRequest good = Request(
      "/api/table.xml?content=channels&id=1&username=admin&password=secret");
  std::vector<Delivery> deliveries;
  for (int i = 0; i < 4; ++i)
    deliveries.push_back(router.Answer(good).delivery);
  const std::vector<Delivery> expected = {Delivery::kDrop, Delivery::kDrop,
                                          Delivery::kDelay, Delivery::kNormal};
  EXPECT_EQ(deliveries, expected);
}

TEST(AnswersTest, CdataSurvivesItsOwnEndMarker) {
  Sensor sensor;
  sensor.name = "a]]>b";
  const std::string details = DetailsXml(sensor, {}, Locale::kEnglish, "now");
  EXPECT_NE(
      details.find(" <name>\n  <![CDATA[a]]]]><![CDATA[>b]]>\n </name>\n"),
      std::string::npos)
      << details;
}

TEST(ValueWalkTest, StaysWithinItsSpan) {
  SensorSetParse parsed = ParseSensorSet(
      "sensor 1 S\n"
      "  channel Wide | 100 | u | 0 | 10\n"
      "  channel Default | 200\n"
      "  channel Near Zero | 1 | u | 2 | 5\n"
      "  channel Fixed | 50 | u | 0 | 0\n"
      "  channel Empty | -\n");
  ASSERT_TRUE(parsed.set.has_value()) << parsed.error;
  const Sensor& sensor = parsed.set->sensors[0];
  ValueWalk walk(42, true);
  std::vector<double> values = ValueWalk::Start(sensor);
  std::vector<bool> moved(values.size(), false);
  for (int step = 0; step < 2000; ++step) {
    walk.Step(sensor, values);
    for (size_t i = 0; i < values.size(); ++i) {
      const Channel& channel = sensor.channels[i];
      const double span = ValueWalk::SpanOf(channel);
      EXPECT_LE(values[i], channel.value + span);
      EXPECT_GE(values[i], std::max(0.0, channel.value - span));
      moved[i] = moved[i] || values[i] != channel.value;
    }
  }
  const std::vector<bool> expected = {true, true, true, false, false};
  EXPECT_EQ(moved, expected);

  ValueWalk still(42, false);
  std::vector<double> kept = ValueWalk::Start(sensor);
  still.Step(sensor, kept);
  EXPECT_EQ(kept, ValueWalk::Start(sensor));
}

TEST(ValueWalkTest, TheSeedDecides) {
  SensorSetParse parsed =
      ParseSensorSet("sensor 1 S\n  channel A | 100 | u | 0 | 10\n");
  ASSERT_TRUE(parsed.set.has_value());
  const Sensor& sensor = parsed.set->sensors[0];
  const auto walk_of = [&](uint64_t seed) {
    ValueWalk walk(seed, true);
    std::vector<double> values = ValueWalk::Start(sensor);
    std::vector<double> seen;
    for (int i = 0; i < 20; ++i) {
      walk.Step(sensor, values);
      seen.push_back(values[0]);
    }
    return seen;
  };
  EXPECT_EQ(walk_of(7), walk_of(7));
  EXPECT_NE(walk_of(7), walk_of(8));
}

}  // namespace
}  // namespace vigil::sim
