#include "store/result.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vigil {
namespace {

Result<int> Digit(char c) {
  if (c < '0' || c > '9')
    return Failure(std::string("'") + c + "' is no digit");
  return c - '0';
}

// Each step runs only when the one before it worked.
Result<int> SumOfDigits(const std::string& text, std::vector<char>& read) {
  int sum = 0;
  for (const char c : text) {
    read.push_back(c);
    sum += VIGIL_TRY(Digit(c));
  }
  return sum;
}

TEST(ResultTest, TheFirstFailureEndsTheCallerWithItsReason) {
  const struct {
    std::string text;
    int sum;  // -1: failed
    std::string error;
    std::string read;
  } cases[] = {
      {"123", 6, "", "123"},
      {"", 0, "", ""},
      {"1x3", -1, "'x' is no digit", "1x"},
      {"y", -1, "'y' is no digit", "y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<char> read;
    const Result<int> sum = SumOfDigits(c.text, read);
    EXPECT_EQ(sum.value_or(-1), c.sum);
    EXPECT_EQ(sum.error(), c.error);
    EXPECT_EQ(std::string(read.begin(), read.end()), c.read);
  }
}

}  // namespace
}  // namespace vigil
