#include "actions/mail_action.h"

#include <gtest/gtest.h>

#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordingView;
using testing::TempDir;

TEST(ParseMailFieldsTest, SplitsTheSixFields) {
  struct Case {
    std::string settings;
    int column;
    MailFields expected;
  };
  const std::vector<Case> cases = {
      // ")?9(?." is "secret" with every byte XORed with 0x5A.
      {"X E orb@x.org;ops@x.org;Alert %Channel;orb;)?9(?.;mail.x.org;",
       5,
       {"orb@x.org", "ops@x.org", "Alert %Channel", "orb", "secret",
        "mail.x.org"}},
      {"X E X.X.XXXX a;b;%State;;;host;",
       14,
       {"a", "b", "%State", "", "", "host"}},
      // A server field without its closing ";" reads as empty.
      {"X E a;b;s;u;;host", 5, {"a", "b", "s", "u", "", ""}},
      {"X E a;b;", 5, {"a", "b", "", "", "", ""}},
      {"X E", 5, {}},
  };
  for (const Case& c : cases) {
    const MailFields fields = ParseMailFields(c.settings, c.column);
    EXPECT_EQ(fields.first_address, c.expected.first_address) << c.settings;
    EXPECT_EQ(fields.second_address, c.expected.second_address) << c.settings;
    EXPECT_EQ(fields.subject, c.expected.subject) << c.settings;
    EXPECT_EQ(fields.account, c.expected.account) << c.settings;
    EXPECT_EQ(fields.password, c.expected.password) << c.settings;
    EXPECT_EQ(fields.server_host, c.expected.server_host) << c.settings;
  }
}

TEST(MailBodyLinesTest, CarriesTheResultWithRenamedRoots) {
  struct Case {
    std::optional<std::vector<std::string>> result;
    std::vector<std::string> body;
  };
  const std::vector<Case> cases = {
      {std::nullopt, {"Subject"}},
      {std::vector<std::string>{}, {"Subject"}},
      {std::vector<std::string>{"<Prtg>", "<Result><Channel>Cpu</Channel>",
                                "<Value>42</Value></Result>", "</Prtg>"},
       {"Subject", "<RfcOrb>", "<Result><Channel>Cpu</Channel>",
        "<Value>42</Value></Result>", "</RfcOrb>"}},
      // Fragments of the root lines go; an empty line stays.
      {std::vector<std::string>{"<Prtg>", " ", "", "Prtg", "<", "> </",
                                "<Prtg> </Prtg>", "<Text>ok</Text>", "</Prtg>",
                                "  <Prtg>"},
       {"Subject", "<RfcOrb>", "", "<Text>ok</Text>", "</RfcOrb>", "  <Prtg>"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MailBodyLines("Subject", c.result), c.body);
  }
}

TEST(MailOutcomeTest, RetriesUntilACallReturns) {
  struct Case {
    int failures;  // calls that fail before one returns
    int calls;
    std::string outcome;
  };
  const std::vector<Case> cases = {
      {0, 1, " - (Done)"},
      {1, 2, " - (Failed) (Now Done)"},
      {2, 3, " - (Failed) (Failed) (Now Done)"},
      {4, 5, " - (Failed) (Failed) (Failed) (Failed) (Now Done)"},
      {5, 5, " - (Failed) (Failed) (Failed) (Failed) (Failed)"},
      {99, 5, " - (Failed) (Failed) (Failed) (Failed) (Failed)"},
  };
  for (const Case& c : cases) {
    int calls = 0;
    EXPECT_EQ(MailOutcome([&] { return ++calls > c.failures; }), c.outcome);
    EXPECT_EQ(calls, c.calls) << c.failures;
  }
}

TEST(SendMailTest, WithoutTheLibraryShowsSmtpNotFoundAndCallsNothing) {
  TempDir dir;
  dir.WriteLines("AuxOrb0102.Wxx", {"<Prtg>", "</Prtg>"});
  MailRequest request;
  request.subject = "Disk full";
  request.with_result = true;
  request.work_file = dir / "AuxOrb0102.Wxx";
  request.body_file = dir / "RfcOrb0102.Mls";
  request.library = dir / "AuxOrbs.so";
  RecordingView view;
  EXPECT_EQ(SendMail(request, view), "");
  EXPECT_EQ(view.message_boxes(), std::vector<std::string>{"Smtp not found !"});
  EXPECT_TRUE(view.event_runs().empty());
  EXPECT_FALSE(view.busy());
  EXPECT_FALSE(dir.Exists("RfcOrb0102.Mls"));
}

}  // namespace
}  // namespace vigil
