// Each mode's library loads as an orb loads it and offers exactly the
// three entry points.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "extension/extension_library.h"

namespace vigil {
namespace {

class EntryPointsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(EntryPointsTest, LoadsWithEveryEntryPoint) {
  ExtensionLibrary library;
  ASSERT_TRUE(library.Load(BuiltLibraryPath(GetParam()))) << library.error();
  EXPECT_NE(library.dopen(), nullptr);
  EXPECT_NE(library.dclos(), nullptr);
  EXPECT_NE(library.smtp(), nullptr);
}

TEST_P(EntryPointsTest, OpenAndCloseNameTheLibrary) {
  ExtensionLibrary library;
  ASSERT_TRUE(library.Load(BuiltLibraryPath(GetParam()))) << library.error();
  const std::string name = GetParam();

  const char* opened = library.dopen()("Loading", name.c_str());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(std::string(opened), "Loaded " + name);
  const char* closed = library.dclos()("Unloading", name.c_str());
  ASSERT_NE(closed, nullptr);
  EXPECT_EQ(std::string(closed), "Unloaded " + name);

  // The orb may pass a path; the reply stays short and on one line.
  const std::string path = "/opt/orbs/work\ndir/" + name;
  opened = library.dopen()("Loading", path.c_str());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(std::string(opened), "Loaded " + name);
}

TEST_P(EntryPointsTest, ExportsNothingElse) {
  const std::string command =
      "nm -D --defined-only '" + BuiltLibraryPath(GetParam()) + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string listing;
  char buffer[4096];
  while (size_t count = fread(buffer, 1, sizeof buffer, pipe)) {
    listing.append(buffer, count);
  }
  int status = pclose(pipe);
  if (status != 0 && listing.empty()) GTEST_SKIP() << "nm is not available";

  std::set<std::string> exported;
  std::istringstream lines(listing);
  for (std::string address, type, name; lines >> address >> type >> name;) {
    exported.insert(name);
  }
  EXPECT_EQ(exported, (std::set<std::string>{"Dclos", "Dopen", "Smtp"}));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, EntryPointsTest,
                         ::testing::Values("RfcOrbs.so", "HttpOrbs.so",
                                           "AuxOrbs.so"),
                         [](const auto& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

// A null text must fail the call, not crash the orb.
TEST(EntryPointsNullTest, NullArgumentsFailOrAreTolerated) {
  ExtensionLibrary library;
  ASSERT_TRUE(library.Load(BuiltLibraryPath("AuxOrbs.so"))) << library.error();
  EXPECT_NE(library.dopen()(nullptr, nullptr), nullptr);
  EXPECT_NE(library.dclos()(nullptr, nullptr), nullptr);

  const char* kText = "x";
  struct Call {
    const char* server;
    const char* addresses;
    const char* body_file;
  };
  for (const Call& call : {Call{nullptr, "a@b.c d@e.f", kText},
                           Call{"25 localhost", nullptr, kText},
                           Call{"25 localhost", "a@b.c d@e.f", nullptr}}) {
    EXPECT_EQ(library.smtp()(call.server, call.addresses, nullptr, nullptr,
                             call.body_file),
              nullptr);
  }
}

}  // namespace
}  // namespace vigil
