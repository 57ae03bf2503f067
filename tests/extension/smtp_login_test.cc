// Smtp against a server that demands a login.
#include <gtest/gtest.h>

#include <string>

#include "extension/mail_test_fixture.h"

namespace vigil {
namespace {

constexpr char kAccount[] = "orb-mailer";
constexpr char kPassword[] = "s3cret pass";

class LoginTest : public MailTest {
 protected:
  static void SetUpTestSuite() { StartSharedSink({kAccount, kPassword}); }
  static void TearDownTestSuite() { StopSharedSink(); }
};

struct LoginCase {
  const char* name;
  std::string account;
  std::string password;
  bool delivered;
};

void PrintTo(const LoginCase& login_case, std::ostream* out) {
  *out << login_case.name;
}

class LoginCaseTest : public LoginTest,
                      public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginCaseTest, DeliversOnlyWithTheRightLogin) {
  const char* reply = Smtp(SinkServer(), "orb@example.org ops@example.org",
                           WriteBodyFile("Login\nbody\n"), GetParam().account,
                           GetParam().password);
  EXPECT_EQ(reply != nullptr, GetParam().delivered);
  std::vector<ReceivedMail> mails = sink().Received();
  ASSERT_EQ(mails.size(), GetParam().delivered ? 1u : 0u);
  if (GetParam().delivered) {
    EXPECT_EQ(mails.front().login, GetParam().account);
    EXPECT_EQ(mails.front().subject, "Login");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Logins, LoginCaseTest,
    ::testing::Values(LoginCase{"RightPassword", kAccount, kPassword, true},
                      LoginCase{"WrongPassword", kAccount, "wrong", false},
                      LoginCase{"EmptyPassword", kAccount, "", false},
                      LoginCase{"UnknownAccount", "intruder", kPassword, false},
                      LoginCase{"NoAccount", "", "", false},
                      // Without an account the password is not used.
                      LoginCase{"PasswordWithoutAccount", "", kPassword,
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vigil
