// Smtp reports every failure as a null result, and only a real delivery
// as success.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "extension/mail_test_fixture.h"
#include "support/loopback_port.h"

namespace vigil {
namespace {

constexpr char kAddresses[] = "orb@example.org ops@example.org";

class SmtpArgumentsTest : public MailTest {
 protected:
  static void SetUpTestSuite() { StartSharedSink({}); }
  static void TearDownTestSuite() { StopSharedSink(); }

  // "{port}" stands for the sink's port.
  std::string WithPort(std::string text) const {
    const std::string key = "{port}";
    for (size_t at; (at = text.find(key)) != std::string::npos;) {
      text.replace(at, key.size(), std::to_string(sink().port()));
    }
    return text;
  }
};

struct ServerCase {
  const char* name;
  std::string server;
  bool delivered;
};

void PrintTo(const ServerCase& server_case, std::ostream* out) {
  *out << server_case.name;
}

class ServerTextTest : public SmtpArgumentsTest,
                       public ::testing::WithParamInterface<ServerCase> {};

TEST_P(ServerTextTest, ReachesTheSinkOnlyWhenTheTextNamesIt) {
  const char* reply = Smtp(WithPort(GetParam().server), kAddresses,
                           WriteBodyFile("Server text\nbody\n"));
  EXPECT_EQ(reply != nullptr, GetParam().delivered);
  EXPECT_EQ(sink().Received().size(), GetParam().delivered ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ServerTextTest,
    ::testing::Values(
        ServerCase{"PortThenHost", "{port} 127.0.0.1", true},
        ServerCase{"HostPortOverridesPort", "25 127.0.0.1:{port}", true},
        ServerCase{"OverrideOfWrongPort", "1 127.0.0.1:{port}", true},
        ServerCase{"ExtraBlanks", "  {port}\t 127.0.0.1  ", true},
        ServerCase{"HostName", "{port} localhost", true},
        ServerCase{"BlankPortWithOverride", " 127.0.0.1:{port}", true},
        ServerCase{"EmptyOverrideKeepsPort", "{port} 127.0.0.1:", true},
        ServerCase{"MissingHost", "25 ", false}, ServerCase{"Empty", "", false},
        ServerCase{"PortAlone", "{port}", false},
        ServerCase{"PortNotANumber", "smtp 127.0.0.1", false},
        ServerCase{"PortZero", "0 127.0.0.1", false},
        ServerCase{"PortTooLarge", "25 127.0.0.1:70000", false},
        ServerCase{"OverrideNotANumber", "25 127.0.0.1:abc", false},
        ServerCase{"ThirdWord", "{port} 127.0.0.1 extra", false},
        ServerCase{"UrlInHost", "{port} 127.0.0.1/x@evil", false},
        ServerCase{"UnclosedBracket", "{port} [::1", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct AddressListCase {
  const char* name;
  std::string addresses;
};

void PrintTo(const AddressListCase& address_list_case, std::ostream* out) {
  *out << address_list_case.name;
}

class BadAddressTest : public SmtpArgumentsTest,
                       public ::testing::WithParamInterface<AddressListCase> {};

TEST_P(BadAddressTest, NothingIsSent) {
  EXPECT_EQ(Smtp(SinkServer(), GetParam().addresses,
                 WriteBodyFile("Addresses\nbody\n")),
            nullptr);
  EXPECT_TRUE(sink().Received().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BadAddressTest,
    ::testing::Values(
        AddressListCase{"Empty", ""}, AddressListCase{"Blanks", "   "},
        AddressListCase{"SenderOnly", "orb@example.org"},
        AddressListCase{"SenderAndEmptySecondField", "orb@example.org "},
        AddressListCase{"NoAtSign", "orb@example.org operators"},
        AddressListCase{"HeaderInAddress",
                        "orb@example.org ops@example.org\r\nBcc: "
                        "intruder@example.com"},
        AddressListCase{"CommandInAddress",
                        "orb@example.org ops@example.org>\r\nRCPT "
                        "TO:<intruder@example.com"},
        AddressListCase{"DisplayName", "orb@example.org \"Ops\" <ops@x.org>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SmtpArgumentsTest, MissingBodyFileSendsNothing) {
  EXPECT_EQ(Smtp(SinkServer(), kAddresses, MissingFilePath()), nullptr);
  EXPECT_EQ(Smtp(SinkServer(), kAddresses, ""), nullptr);
  EXPECT_TRUE(sink().Received().empty());
}

TEST_F(SmtpArgumentsTest, DirectoryAsBodyFileSendsNothing) {
  std::string file = WriteBodyFile("x");
  std::string directory = file.substr(0, file.rfind('/'));
  EXPECT_EQ(Smtp(SinkServer(), kAddresses, directory), nullptr);
  EXPECT_TRUE(sink().Received().empty());
}

TEST_F(SmtpArgumentsTest, RefusedRecipientFailsTheWholeMail) {
  EXPECT_EQ(
      Smtp(SinkServer(), "orb@example.org ops@example.org reject@example.org",
           WriteBodyFile("Refused\nbody\n")),
      nullptr);
  EXPECT_TRUE(sink().Received().empty());
}

TEST_F(SmtpArgumentsTest, AccountWithoutLoginOfferStillDelivers) {
  // A server that offers no login takes the mail without one.
  EXPECT_NE(Smtp(SinkServer(), kAddresses, WriteBodyFile("Open relay\n"),
                 "orb-mailer", "secret"),
            nullptr);
  ASSERT_EQ(sink().Received().size(), 1u);
  EXPECT_EQ(sink().Received().front().login, "");
}

// Without a server the call must come back, and come back in time.
class UnreachableServerTest : public MailTest {};

TEST_F(UnreachableServerTest, DeadPortFailsQuickly) {
  int dead_port = testing::UnusedLoopbackPort();
  ASSERT_GT(dead_port, 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Smtp("25 127.0.0.1:" + std::to_string(dead_port), kAddresses,
                 WriteBodyFile("Dead\nbody\n")),
            nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// A server that takes the connection but never greets: the connect
// time-out, not the orb's patience, ends the call.
TEST_F(UnreachableServerTest, SilentServerTimesOut) {
  int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(
      bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  ASSERT_EQ(
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::string server =
      "25 127.0.0.1:" + std::to_string(ntohs(address.sin_port));

  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Smtp(server, kAddresses, WriteBodyFile("Silent\nbody\n")), nullptr);
  auto elapsed = std::chrono::steady_clock::now() - start;
  close(listener);
  EXPECT_LT(elapsed, std::chrono::seconds(30));
}

}  // namespace
}  // namespace vigil
