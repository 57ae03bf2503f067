// vigil-sensor PROFILE [ADDRESS]
//
// Prints a result text about this machine on stdout: the one-minute load,
// memory in use, the fullest local file system and a response time (a TCP
// connect to ADDRESS, host:port, or the run of `true` without one). PROFILE
// is the orb's attached profile or "Global". Exits 1 with an "Error" text
// when something could not be measured; the rest is still reported.
#include <sys/statvfs.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/tool_text.h"
#include "sensor/address.h"
#include "sensor/file_systems.h"
#include "sensor/load_average.h"
#include "sensor/machine_text.h"
#include "sensor/memory_usage.h"
#include "sensor/result_text.h"
#include "sensor/sensor_profile.h"
#include "sensor/timing.h"

namespace vigil::sensor {
namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

std::optional<double> StatUsedPercent(const std::string& path) {
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) return std::nullopt;
  return UsedPercent({info.f_blocks, info.f_bfree, info.f_bavail});
}

class Report {
 public:
  void Done(std::string caption, std::string description) {
    result_.steps.push_back(
        {std::move(caption), std::move(description), "Done"});
  }
  void Failed(std::string caption, std::string description, std::string error) {
    result_.steps.push_back(
        {std::move(caption), std::move(description), "Failed"});
    if (!result_.error.empty()) result_.error += "; ";
    result_.error += error;
  }
  void Step(ProcessingStep step) { result_.steps.push_back(std::move(step)); }
  void Channel(ResultChannel channel) {
    result_.channels.push_back(std::move(channel));
  }
  SensorResult& result() { return result_; }

 private:
  SensorResult result_;
};

SensorProfile LoadProfile(const std::string& argument, Report& report) {
  if (argument.empty() || argument == "Global") {
    report.Step({"PROFILE", "Global", ""});
    return {};
  }
  const std::optional<std::string> text = ReadFile(argument);
  if (!text) {
    // The profile only refines the defaults; without it the sensor still
    // measures.
    report.Step({"PROFILE", argument, "Not Found"});
    return {};
  }
  report.Done("PROFILE", argument);
  return ParseSensorProfile(*text);
}

void MeasureLoad(Report& report) {
  const char* path = "/proc/loadavg";
  const std::optional<std::string> text = ReadFile(path);
  const std::optional<double> load =
      text ? ParseLoadAverage(*text) : std::nullopt;
  if (!load) {
    report.Failed("LOAD", path,
                  std::string("cannot read the load from ") + path);
    return;
  }
  report.Done("LOAD", path);
  report.Channel({"Load Average", *load, 2, UnitKind::kCustom, "Load"});
}

void MeasureMemory(Report& report) {
  const char* path = "/proc/meminfo";
  const std::optional<std::string> text = ReadFile(path);
  const std::optional<double> used =
      text ? ParseMemoryUsedPercent(*text) : std::nullopt;
  if (!used) {
    report.Failed("MEMORY", path,
                  std::string("cannot read the memory from ") + path);
    return;
  }
  report.Done("MEMORY", path);
  report.Channel({"Memory Used", *used, 1, UnitKind::kPerCent, ""});
}

void MeasureDisk(const SensorProfile& profile, Report& report) {
  std::optional<DiskReading> chosen;
  std::string description;
  if (!profile.mount_point.empty()) {
    if (const std::optional<double> used =
            StatUsedPercent(profile.mount_point)) {
      chosen = DiskReading{profile.mount_point, "", *used};
      description = profile.mount_point;
    }
  } else {
    std::vector<DiskReading> readings;
    const std::optional<std::string> mounts = ReadFile("/proc/self/mounts");
    for (const Mount& mount : ParseMounts(mounts.value_or(""))) {
      if (!IsLocalFileSystem(mount)) continue;
      if (const std::optional<double> used =
              StatUsedPercent(mount.mount_point)) {
        readings.push_back({mount.mount_point, mount.type, *used});
      }
    }
    chosen = Fullest(readings);
    if (chosen) {
      description = chosen->mount_point + " " + chosen->type + ", fullest of " +
                    std::to_string(readings.size());
    } else if (const std::optional<double> used = StatUsedPercent("/")) {
      // A container lists only overlay and pseudo file systems; its root
      // still tells how full the disk beneath is.
      chosen = DiskReading{"/", "", *used};
      description = "/ root, no local file system listed";
    }
  }
  if (!chosen) {
    const std::string what =
        profile.mount_point.empty() ? "any file system" : profile.mount_point;
    report.Failed("DISK", what, "cannot measure " + what);
    return;
  }
  report.Done("DISK", description);
  report.Channel(
      {"Disk Used", chosen->used_percent, 1, UnitKind::kPerCent, ""});
}

void MeasureResponse(const std::string& address, Report& report) {
  Timing timing;
  std::string description;
  if (address.empty()) {
    description = "run of true";
    timing = TimeTrueRun();
  } else if (const std::optional<HostPort> target = ParseAddress(address)) {
    description = "tcp " + address;
    timing = TimeTcpConnect(*target, kConnectTimeoutMs);
  } else {
    description = "tcp " + address;
    timing.error = "bad address " + address + ", expected host:port";
  }
  if (!timing.ms) {
    report.Failed("RESPONSE", description, timing.error);
    return;
  }
  report.Done("RESPONSE", description);
  report.Channel({"Response Time", *timing.ms, 2, UnitKind::kTimeResponse, ""});
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof(name) - 1) != 0) return {};
  return name;
}

int Run(int argc, char** argv) {
  const std::string profile_argument = argc > 1 ? argv[1] : "Global";
  std::string address = argc > 2 ? tools::Trim(argv[2]) : "";

  Report report;
  const SensorProfile profile = LoadProfile(profile_argument, report);
  if (address.empty()) address = profile.address;

  MeasureLoad(report);
  MeasureMemory(report);
  MeasureDisk(profile, report);
  MeasureResponse(address, report);

  MachineFacts facts;
  facts.host_name = HostName();
  facts.os_release_text = ReadFile("/etc/os-release").value_or("");
  facts.kernel_release_text =
      ReadFile("/proc/sys/kernel/osrelease").value_or("");
  facts.uptime_text = ReadFile("/proc/uptime").value_or("");
  facts.cpuinfo_text = ReadFile("/proc/cpuinfo").value_or("");
  report.result().text = DescribeMachine(facts);

  std::cout << RenderResult(report.result()) << std::flush;
  return report.result().error.empty() && std::cout ? 0 : 1;
}

}  // namespace
}  // namespace vigil::sensor

int main(int argc, char** argv) { return vigil::sensor::Run(argc, argv); }
