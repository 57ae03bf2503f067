// What arrives at a real SMTP server when Smtp succeeds.
#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "extension/mail_test_fixture.h"

namespace vigil {
namespace {

constexpr char kAddresses[] = "orb@example.org ops@example.org";

class DeliveryTest : public MailTest {
 protected:
  static void SetUpTestSuite() { StartSharedSink({}); }
  static void TearDownTestSuite() { StopSharedSink(); }

  // Sends body_bytes and returns the one mail that arrived.
  ReceivedMail SendAndReceive(const std::string& body_bytes,
                              const std::string& addresses = kAddresses) {
    const char* reply =
        Smtp(SinkServer(), addresses, WriteBodyFile(body_bytes));
    EXPECT_NE(reply, nullptr);
    std::vector<ReceivedMail> mails = sink().Received();
    EXPECT_EQ(mails.size(), 1u);
    return mails.empty() ? ReceivedMail{} : mails.front();
  }
};

struct BodyCase {
  const char* name;
  std::string file;
  std::string subject;  // as the reader sees it, UTF-8
  std::string body;     // as the reader sees it, UTF-8, LF line ends
};

void PrintTo(const BodyCase& body_case, std::ostream* out) {
  *out << body_case.name;
}

class BodyFileTest : public DeliveryTest,
                     public ::testing::WithParamInterface<BodyCase> {};

TEST_P(BodyFileTest, SubjectAndBodyMatchTheFile) {
  ReceivedMail mail = SendAndReceive(GetParam().file);
  EXPECT_EQ(mail.subject, GetParam().subject);
  EXPECT_EQ(mail.body, GetParam().body);
  // Every line of the message on the wire ends with CR LF.
  EXPECT_FALSE(std::regex_search(mail.raw, std::regex("[^\r]\n|^\n")))
      << mail.raw;
  for (size_t start = 0, end;
       (end = mail.raw.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    EXPECT_LE(end - start, 998u) << "line too long at " << start;
  }
}

const std::string kLongLine(2000, 'x');
const std::string kLongSubject = [] {
  std::string subject;
  for (int i = 0; i < 150; ++i) subject += "Alarm" + std::to_string(i) + " ";
  return subject + "end";
}();

INSTANTIATE_TEST_SUITE_P(
    Files, BodyFileTest,
    ::testing::Values(
        BodyCase{"LfLines", "Disk full on sap01\nline one\nline two\n",
                 "Disk full on sap01", "line one\nline two\n"},
        BodyCase{"CrLfLines", "Disk full on sap01\r\nline one\r\nline two\r\n",
                 "Disk full on sap01", "line one\nline two\n"},
        BodyCase{"LastLineWithoutEnding", "Subject\nfirst\nlast", "Subject",
                 "first\nlast\n"},
        BodyCase{"SubjectOnly", "Only a subject\r\n", "Only a subject", ""},
        BodyCase{"EmptyFile", "", "", ""},
        BodyCase{"EmptyLinesKept", "S\n\n<RfcOrb>\n\n</RfcOrb>\n", "S",
                 "\n<RfcOrb>\n\n</RfcOrb>\n"},
        BodyCase{"DotLines", "Dots\n.\n..two\n.x\n", "Dots", ".\n..two\n.x\n"},
        BodyCase{
            "Utf8",
            "St\xC3\xB6rung \xE2\x80\x93 Z\xC3\xA4hler\nWert 5 \xE2\x82\xAC \n",
            "St\xC3\xB6rung \xE2\x80\x93 Z\xC3\xA4hler",
            "Wert 5 \xE2\x82\xAC \n"},
        BodyCase{"Latin1", "St\xF6rung\nZ\xE4hler = 5\n", "St\xC3\xB6rung",
                 "Z\xC3\xA4hler = 5\n"},
        BodyCase{"LongBodyLine", "Long\n" + kLongLine + "\nafter\n", "Long",
                 kLongLine + "\nafter\n"},
        BodyCase{"LongSubject", kLongSubject + "\nbody\n", kLongSubject,
                 "body\n"},
        BodyCase{"EncodedWordLookalike", "Hi =?UTF-8?B?SGFjaw==?= there\n",
                 "Hi =?UTF-8?B?SGFjaw==?= there", ""},
        BodyCase{"TabsAndTrailingBlanks", "Tabs\nvalue\t1  \n\tx \n", "Tabs",
                 "value\t1  \n\tx \n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AddressCase {
  const char* name;
  std::string addresses;
  std::string sender;
  std::vector<std::string> recipients;
  std::string to_header;
};

void PrintTo(const AddressCase& address_case, std::ostream* out) {
  *out << address_case.name;
}

class AddressTest : public DeliveryTest,
                    public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressTest, EnvelopeAndHeadersNameTheAddresses) {
  ReceivedMail mail = SendAndReceive("Envelope\nbody\n", GetParam().addresses);
  EXPECT_EQ(mail.sender, GetParam().sender);
  EXPECT_EQ(mail.recipients, GetParam().recipients);
  EXPECT_EQ(mail.headers.count("From"), 1u);
  EXPECT_EQ(mail.headers.find("From")->second, GetParam().sender);
  EXPECT_EQ(mail.headers.count("To"), 1u);
  EXPECT_EQ(mail.headers.find("To")->second, GetParam().to_header);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, AddressTest,
    ::testing::Values(
        AddressCase{"OneRecipient",
                    "orb@example.org ops@example.org",
                    "orb@example.org",
                    {"ops@example.org"},
                    "ops@example.org"},
        AddressCase{"TwoFields",
                    "orb@example.org ops@example.org boss@example.com",
                    "orb@example.org",
                    {"ops@example.org", "boss@example.com"},
                    "ops@example.org, boss@example.com"},
        AddressCase{
            "CommasAndBlanks",
            "  orb@example.org   ops@example.org,boss@example.com , "
            "night@example.net ",
            "orb@example.org",
            {"ops@example.org", "boss@example.com", "night@example.net"},
            "ops@example.org, boss@example.com, night@example.net"},
        AddressCase{"AngleBrackets",
                    "<orb@example.org> <ops@example.org>",
                    "orb@example.org",
                    {"ops@example.org"},
                    "ops@example.org"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeliveryTest, HeadersMakeAProperMessage) {
  std::time_t before = std::time(nullptr);
  ReceivedMail mail = SendAndReceive("Headers\n\xC3\xA4\n");
  const std::regex date_format(
      R"([A-Z][a-z]{2}, \d{2} [A-Z][a-z]{2} \d{4} \d{2}:\d{2}:\d{2} [+-]\d{4})");
  ASSERT_EQ(mail.headers.count("Date"), 1u);
  EXPECT_TRUE(std::regex_match(mail.headers.find("Date")->second, date_format))
      << mail.headers.find("Date")->second;
  // The server's reading of the date is the moment of sending, so the zone
  // offset and the fields are right.
  EXPECT_NEAR(mail.date_epoch, static_cast<double>(before), 120.0);
  ASSERT_EQ(mail.headers.count("MIME-Version"), 1u);
  EXPECT_EQ(mail.headers.find("MIME-Version")->second, "1.0");
  ASSERT_EQ(mail.headers.count("Content-Type"), 1u);
  EXPECT_EQ(mail.headers.find("Content-Type")->second.rfind("text/plain", 0),
            0u);
  ASSERT_EQ(mail.headers.count("Message-ID"), 1u);
  EXPECT_TRUE(std::regex_match(mail.headers.find("Message-ID")->second,
                               std::regex("<[^<>@ ]+@example\\.org>")))
      << mail.headers.find("Message-ID")->second;
  // No 8-bit byte on the wire: the server need not offer 8BITMIME.
  for (unsigned char c : mail.raw) ASSERT_LT(c, 0x80);
}

TEST_F(DeliveryTest, EveryMailHasItsOwnMessageId) {
  ASSERT_NE(Smtp(SinkServer(), kAddresses, WriteBodyFile("One\n")), nullptr);
  ASSERT_NE(Smtp(SinkServer(), kAddresses, WriteBodyFile("Two\n")), nullptr);
  std::vector<ReceivedMail> mails = sink().Received();
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_NE(mails[0].headers.find("Message-ID")->second,
            mails[1].headers.find("Message-ID")->second);
}

// A line break inside the subject line must not start a header of its own.
TEST_F(DeliveryTest, CarriageReturnInSubjectAddsNoHeader) {
  ReceivedMail mail =
      SendAndReceive("Alarm\rBcc: intruder@example.com\rX-Evil: 1\nbody\n");
  EXPECT_EQ(mail.headers.count("Bcc"), 0u);
  EXPECT_EQ(mail.headers.count("X-Evil"), 0u);
  EXPECT_EQ(mail.headers.count("Subject"), 1u);
  EXPECT_EQ(mail.subject, "AlarmBcc: intruder@example.comX-Evil: 1");
  EXPECT_EQ(mail.recipients, std::vector<std::string>{"ops@example.org"});
  EXPECT_EQ(mail.body, "body\n");
}

}  // namespace
}  // namespace vigil
