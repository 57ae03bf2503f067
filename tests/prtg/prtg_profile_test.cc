#include "prtg/prtg_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "prtg/profile_lines.h"

namespace vigil {
namespace {

TEST(PrtgProfileTest, ScramblingIsAnXorWith5A) {
  EXPECT_EQ(Unscramble(";"), "a");  // 0x3B ^ 0x5A = 0x61
  EXPECT_EQ(Unscramble("\x09\x3F\x39\x28\x3F\x2E"), "Secret");
  EXPECT_EQ(Unscramble(Unscramble("any text")), "any text");
  EXPECT_EQ(Unscramble(""), "");
}

TEST(PrtgProfileTest, ValueStartsInColumn21AndKeepsAtMost99Characters) {
  EXPECT_EQ(ProfileValue("* Host/IP.........: prtg.corp"), "prtg.corp");
  EXPECT_EQ(ProfileValue("* Host/IP.........:"), "");
  EXPECT_EQ(ProfileValue(std::string(20, '.') + std::string(120, 'x')),
            std::string(99, 'x'));
}

struct PortCase {
  std::string value;
  std::optional<int> port;
  std::string problem_part;  // empty: no problem
};

TEST(PrtgProfileTest, ReadsPortsAsWholeNumbersAndNamesAWrongOne) {
  const std::vector<PortCase> cases = {
      {"443", 443, ""},
      {" 8080 ", 8080, ""},
      {"", std::nullopt, ""},
      {"80a", std::nullopt, "PRTG-Port \"80a\" is not a whole number"},
      {"4.5", std::nullopt, "PRTG-Port \"4.5\" is not a whole number"},
      {"70000", std::nullopt, "PRTG-Port \"70000\" is not a port number"},
      {"0", std::nullopt, "PRTG-Port \"0\" is not a port number"},
  };
  for (const PortCase& c : cases) {
    const ConnectionSettings settings =
        ReadConnectionSettings({std::string(kPrtgPortKey) + c.value});
    EXPECT_EQ(settings.port, c.port) << c.value;
    if (c.problem_part.empty()) {
      EXPECT_TRUE(settings.problems.empty()) << c.value;
    } else {
      ASSERT_EQ(settings.problems.size(), 1u) << c.value;
      EXPECT_NE(settings.problems[0].find(c.problem_part), std::string::npos)
          << settings.problems[0];
    }
  }
}

TEST(PrtgProfileTest, ReadsTheConnectionAndProxyLines) {
  const ConnectionSettings settings = ReadConnectionSettings({
      testing::HostLine("old.corp"),
      testing::HostLine("prtg.corp"),
      std::string(kPrtgPortKey) + "8443",
      std::string(kProxyHostKey) + "proxy.corp",
      std::string(kProxyPortKey) + "3128",
      std::string(kProxyUserKey) + "proxy-user",
      std::string(kProxyPasswordKey) + Unscramble("proxy-secret"),
      testing::UserLine("bob"),
      testing::PasswordLine("secret"),
  });
  EXPECT_EQ(settings.host, "prtg.corp");
  EXPECT_EQ(settings.port, 8443);
  EXPECT_EQ(settings.proxy_host, "proxy.corp");
  EXPECT_EQ(settings.proxy_port, 3128);
  EXPECT_EQ(settings.proxy_user, "proxy-user");
  EXPECT_EQ(settings.proxy_password, "proxy-secret");
  EXPECT_TRUE(settings.problems.empty());
}

struct TrustCase {
  std::string name;
  std::vector<std::string> lines;
  std::filesystem::path ca_file;
  std::string pinned_key;
};

TEST(PrtgProfileTest, TrustLinesReachTheDownloadSettings) {
  const std::string ca(kCaFileKey);
  const std::string pin(kPinnedKeyKey);
  // Two pins, as during a change of the server's key: over 99 characters.
  const std::string two_pins = "sha256//" + std::string(43, 'a') +
                               "=;sha256//" + std::string(43, 'b') + "=";
  const std::vector<TrustCase> cases = {
      {"none", {testing::HostLine("prtg.corp")}, {}, ""},
      {"relative CA file", {ca + "certs/prtg.pem"}, "/orbs/certs/prtg.pem", ""},
      {"absolute CA file", {ca + "/etc/prtg.pem"}, "/etc/prtg.pem", ""},
      {"blanks around", {ca + " prtg.pem  "}, "/orbs/prtg.pem", ""},
      {"the last line counts",
       {ca + "old.pem", ca + "new.pem"},
       "/orbs/new.pem",
       ""},
      {"pins kept whole", {pin + two_pins}, {}, two_pins},
      {"key file", {pin + "prtg.pub"}, {}, "/orbs/prtg.pub"},
      {"empty lines", {ca, pin}, {}, ""},
  };
  for (const TrustCase& c : cases) {
    const DownloadSettings settings =
        WithTrust({}, ReadConnectionSettings(c.lines), "/orbs");
    EXPECT_EQ(settings.ca_file, c.ca_file) << c.name;
    EXPECT_EQ(settings.pinned_key, c.pinned_key) << c.name;
  }
}

TEST(PrtgProfileTest, ProblemMessagesHoldNoCredentials) {
  const ConnectionSettings settings = ReadConnectionSettings({
      std::string(kProxyUserKey) + "proxy-user",
      std::string(kProxyPasswordKey) + Unscramble("proxy-secret"),
      std::string(kProxyPortKey) + "none",
      std::string(kPrtgPortKey) + "x",
      testing::UserLine("bob"),
      testing::PasswordLine("secret"),
  });
  ASSERT_EQ(settings.problems.size(), 2u);
  for (const std::string& problem : settings.problems) {
    for (const char* secret : {"proxy-user", "proxy-secret", "bob", "secret"}) {
      EXPECT_EQ(problem.find(secret), std::string::npos) << problem;
    }
  }
  EXPECT_NE(settings.problems[0].find("Proxy-Port"), std::string::npos);
}

}  // namespace
}  // namespace vigil
