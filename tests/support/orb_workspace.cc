#include "support/orb_workspace.h"

#include "store/text.h"

namespace vigil::testing {

OrbWorkspace::OrbWorkspace(std::string mode_word)
    : mode_word_(std::move(mode_word)) {
  std::filesystem::create_directory(dir_ / "companion");
}

void OrbWorkspace::InstallExtensionLibrary() const {
  const std::string name = mode_word_ + "s.so";
  std::filesystem::copy_file(std::filesystem::path(VIGIL_LIB_DIR) / name,
                             dir_ / name);
}

void OrbWorkspace::InstallRfcLibrary() const {
  std::filesystem::copy_file(
      std::filesystem::path(VIGIL_LIB_DIR) / "libsapnwrfc.so",
      dir_ / "libsapnwrfc.so");
}

void OrbWorkspace::WriteOrbsFile(const std::vector<std::string>& lines) const {
  dir_.WriteLines(mode_word_ + "s.Prf", lines);
}

void OrbWorkspace::WriteCompanionFile(
    const std::string& name, const std::vector<std::string>& lines) const {
  dir_.WriteLines("companion/" + name, lines);
}

std::unique_ptr<ChildProcess> OrbWorkspace::Start(
    const std::vector<std::string>& args,
    const std::vector<std::string>& env) const {
  std::vector<std::string> argv = {
      (std::filesystem::path(VIGIL_BIN_DIR) / mode_word_).string()};
  argv.insert(argv.end(), args.begin(), args.end());
  return std::make_unique<ChildProcess>(argv, dir_.path(), env);
}

std::vector<std::string> OrbWorkspace::LogLines() const {
  return SplitLines(dir_.Read(mode_word_ + "s.Log"));
}

RecordBuilder OneChannelOrb0203(const std::string& title) {
  RecordBuilder record;
  record.number = "0203";
  record.delay = "    2";
  record.tail = "Global;sensor;;" + title;
  return record;
}

void OrbWorkspace::SetUpOneChannelOrbs(
    const std::vector<std::string>& records) const {
  std::vector<std::string> lines = {"0806 AuxOrbs...   ."};
  lines.insert(lines.end(), records.begin(), records.end());
  InstallExtensionLibrary();
  WriteOrbsFile(lines);
  WriteOneChannelSensor();
}

void OrbWorkspace::WriteOneChannelSensor() const {
  dir_.Write("companion/sensor",
             "#!/bin/sh\necho '<Prtg>'\necho '<Result><Channel>A"
             "</Channel><Value>1</Value></Result>'\necho '</Prtg>'\n");
  std::filesystem::permissions(dir_ / "companion/sensor",
                               std::filesystem::perms::owner_all);
}

std::unique_ptr<ChildProcess> OrbWorkspace::StartOnScreen(
    const std::string& display_env, const std::string& number) const {
  auto orb =
      Start({companion_dir(), number}, {display_env, "QT_QPA_PLATFORM=xcb"});
  WaitUntil([&] { return dir_.Exists(mode_word_ + number + ".Grn"); },
            std::chrono::seconds(20));
  return orb;
}

}  // namespace vigil::testing
