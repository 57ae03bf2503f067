// The sensor's pure readers, fed with /proc texts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sensor/address.h"
#include "sensor/file_systems.h"
#include "sensor/load_average.h"
#include "sensor/machine_text.h"
#include "sensor/memory_usage.h"
#include "sensor/sensor_profile.h"
#include "tools/fixture_text.h"

namespace vigil::sensor {
namespace {

using tools_test::FixtureText;

struct LoadCase {
  std::string text;
  std::optional<double> load;
};

TEST(LoadAverageTest, ReadsTheFirstFieldOnly) {
  const std::vector<LoadCase> cases = {
      {"0.14 0.09 0.04 1/114 5084\n", 0.14},
      {"12.75 3.00 1.00 9/900 77", 12.75},
      {"  0.00 0.00 0.00 1/1 1  ", 0.0},
      {"", std::nullopt},
      {"0,14 0,09 0,04 1/114 5084", std::nullopt},  // never locale-formatted
      {"abc 1 2 3/4 5", std::nullopt},
      {"0.14", std::nullopt},  // too few fields to be loadavg
      {"-1.00 0.00 0.00 1/1 1", std::nullopt},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<double> load = ParseLoadAverage(c.text);
    ASSERT_EQ(load.has_value(), c.load.has_value());
    if (load) {
      EXPECT_DOUBLE_EQ(*load, *c.load);
    }
  }
}

struct MemoryCase {
  std::string label;
  std::string text;
  std::optional<double> percent;
};

TEST(MemoryUsageTest, UsedIsTotalLessAvailable) {
  const std::vector<MemoryCase> cases = {
      // 8000000 total, 2000000 available: MemAvailable wins over the sum.
      {"modern", FixtureText("meminfo_modern.txt"), 75.0},
      // No MemAvailable: free + buffers + cache = 2000000 of 4000000.
      {"old kernel", FixtureText("meminfo_old_kernel.txt"), 50.0},
      {"CR LF lines", FixtureText("meminfo_crlf.txt"), 75.0},
      {"no total", "MemFree: 100 kB\nMemAvailable: 100 kB\n", std::nullopt},
      {"zero total", "MemTotal: 0 kB\nMemAvailable: 0 kB\n", std::nullopt},
      {"no free either", "MemTotal: 100 kB\n", std::nullopt},
      {"available above total", "MemTotal: 100 kB\nMemAvailable: 150 kB\n",
       0.0},
      {"garbage", "\x01\x02 not meminfo at all", std::nullopt},
  };
  for (const MemoryCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::optional<double> percent = ParseMemoryUsedPercent(c.text);
    ASSERT_EQ(percent.has_value(), c.percent.has_value());
    if (percent) {
      EXPECT_NEAR(*percent, *c.percent, 1e-9);
    }
  }
}

TEST(FileSystemsTest, KeepsOnlyLocalDisksAndDecodesEscapes) {
  std::vector<std::string> local;
  for (const Mount& mount : ParseMounts(FixtureText("mounts_desktop.txt"))) {
    if (IsLocalFileSystem(mount)) local.push_back(mount.mount_point);
  }
  const std::vector<std::string> expected = {"/", "/boot/efi", "/home/my files",
                                             "/tank/data", "/media/usb\\stick"};
  EXPECT_EQ(local, expected);
}

TEST(FileSystemsTest, ContainerHasNoLocalDisk) {
  const std::vector<Mount> mounts =
      ParseMounts(FixtureText("mounts_container.txt"));
  ASSERT_EQ(mounts.size(), 4u);
  for (const Mount& mount : mounts) {
    EXPECT_FALSE(IsLocalFileSystem(mount)) << mount.mount_point;
  }
}

TEST(FileSystemsTest, OddLinesAreSkippedOrKeptLiterally) {
  const std::vector<Mount> mounts = ParseMounts(
      "/dev/sda1 /a\\04 ext4 rw 0 0\n\n/dev/sda2\n/dev/sda3 /b\\999 ext4 rw\n");
  ASSERT_EQ(mounts.size(), 2u);
  EXPECT_EQ(mounts[0].mount_point, "/a\\04");   // too short to be an escape
  EXPECT_EQ(mounts[1].mount_point, "/b\\999");  // not octal
}

struct UsageCase {
  std::string label;
  BlockCounts counts;
  std::optional<double> percent;
};

TEST(FileSystemsTest, UsedPercentLeavesTheRootReserveOut) {
  const std::vector<UsageCase> cases = {
      {"half", {1000, 500, 500}, 50.0},
      // 100 blocks reserved: 400 used of 400 + 500 usable.
      {"with reserve", {1000, 600, 500}, 400.0 / 900.0 * 100.0},
      {"full for users", {1000, 50, 0}, 100.0},
      {"empty", {1000, 1000, 1000}, 0.0},
      {"no blocks", {0, 0, 0}, std::nullopt},
      {"inconsistent", {10, 20, 20}, std::nullopt},
      {"huge", {1ULL << 40, 1ULL << 39, 1ULL << 39}, 50.0},
  };
  for (const UsageCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::optional<double> percent = UsedPercent(c.counts);
    ASSERT_EQ(percent.has_value(), c.percent.has_value());
    if (percent) {
      EXPECT_NEAR(*percent, *c.percent, 1e-9);
    }
  }
}

TEST(FileSystemsTest, FullestTakesTheHighestAndTheFirstOfATie) {
  EXPECT_FALSE(Fullest({}).has_value());
  const std::optional<DiskReading> fullest = Fullest(
      {{"/", "ext4", 40}, {"/home", "xfs", 91.5}, {"/data", "ext4", 91.5}});
  ASSERT_TRUE(fullest.has_value());
  EXPECT_EQ(fullest->mount_point, "/home");
}

struct AddressCase {
  std::string text;
  std::optional<std::string> host;
  int port = 0;
};

TEST(AddressTest, HostAndPort) {
  const std::vector<AddressCase> cases = {
      {"127.0.0.1:22", "127.0.0.1", 22},
      {" localhost:8080 ", "localhost", 8080},
      {"[::1]:443", "::1", 443},
      {"host:65535", "host", 65535},
      {"host:65536", std::nullopt},
      {"host:0", std::nullopt},
      {"host:", std::nullopt},
      {":22", std::nullopt},
      {"host", std::nullopt},
      {"::1:22", std::nullopt},  // IPv6 needs brackets
      {"[::1]22", std::nullopt},
      {"[::1", std::nullopt},
      {"host:22x", std::nullopt},
      {"host:-1", std::nullopt},
      {"", std::nullopt},
  };
  for (const AddressCase& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<HostPort> address = ParseAddress(c.text);
    ASSERT_EQ(address.has_value(), c.host.has_value());
    if (!address) continue;
    EXPECT_EQ(address->host, *c.host);
    EXPECT_EQ(address->port, c.port);
  }
}

TEST(SensorProfileTest, ValuesStartInColumn21) {
  const std::string text =
      "# Dudi: kept for the sensor\r\n"
      "* Host/IP.........: sap01\r\n"
      "* Mount Point.....:   /var/lib  \r\n"
      "* Sensor-Address..: 127.0.0.1:22\r\n"
      "* Mount Point.....\r\n"  // a key cut short is not the key
      "garbage without a key\n";
  const SensorProfile profile = ParseSensorProfile(text);
  EXPECT_EQ(profile.mount_point, "/var/lib");
  EXPECT_EQ(profile.address, "127.0.0.1:22");

  EXPECT_EQ(ParseSensorProfile("").mount_point, "");
  EXPECT_EQ(ParseSensorProfile("* Mount Point.....: ").mount_point, "");
  // Keys are exact: a lower-case variant is another key.
  EXPECT_EQ(ParseSensorProfile("* mount point.....: /x").mount_point, "");
}

TEST(MachineTextTest, PartsFromTheirFiles) {
  MachineFacts facts;
  facts.host_name = "vm";
  facts.os_release_text = FixtureText("os_release_debian.txt");
  facts.kernel_release_text = "6.1.0-13-amd64\n";
  facts.uptime_text = "266412.50 500000.00\n";
  facts.cpuinfo_text = FixtureText("cpuinfo_two.txt");
  EXPECT_EQ(
      DescribeMachine(facts),
      "vm: Debian GNU/Linux 12 [bookworm], kernel 6.1.0-13-amd64, 2 CPUs, "
      "up 3d 02:00");

  MachineFacts bare;
  EXPECT_EQ(DescribeMachine(bare), "localhost: Linux");
}

TEST(MachineTextTest, UptimeAndNames) {
  EXPECT_EQ(FormatUptime(0), "up 00:00");
  EXPECT_EQ(FormatUptime(59), "up 00:00");
  EXPECT_EQ(FormatUptime(86399), "up 23:59");
  EXPECT_EQ(FormatUptime(86400), "up 1d 00:00");
  EXPECT_FALSE(UptimeSeconds("").has_value());
  EXPECT_FALSE(UptimeSeconds("x y").has_value());
  EXPECT_EQ(PrettyOsName("NAME=x\nPRETTY_NAME='Alpine Linux'\n"),
            "Alpine Linux");
  EXPECT_EQ(PrettyOsName("PRETTY_NAME=Plain\n"), "Plain");
  EXPECT_EQ(PrettyOsName("NAME=x\n"), "");
  // Markup in a host name would end the text element early.
  MachineFacts odd;
  odd.host_name = "a<b>(c)";
  EXPECT_EQ(DescribeMachine(odd).find_first_of("<>()"), std::string::npos);
}

}  // namespace
}  // namespace vigil::sensor
