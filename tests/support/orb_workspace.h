// A working directory laid out for one orb as a launcher would leave it:
// the extension library, the orbs file, a companion directory.
#ifndef VIGIL_TESTS_SUPPORT_ORB_WORKSPACE_H_
#define VIGIL_TESTS_SUPPORT_ORB_WORKSPACE_H_

#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil::testing {

// Orb 0203 on the one-channel sensor, cycling every two seconds.
RecordBuilder OneChannelOrb0203(const std::string& title);

class OrbWorkspace {
 public:
  explicit OrbWorkspace(std::string mode_word = "AuxOrb");

  const TempDir& dir() const { return dir_; }
  const std::string& mode_word() const { return mode_word_; }
  std::string companion_dir() const { return (dir_ / "companion").string(); }

  void InstallExtensionLibrary() const;
  void InstallRfcLibrary() const;
  void WriteOrbsFile(const std::vector<std::string>& lines) const;
  void WriteCompanionFile(const std::string& name,
                          const std::vector<std::string>& lines) const;
  // A sensor program "sensor" in the companion directory that reports one
  // channel "A" with the value 1.
  void WriteOneChannelSensor() const;
  // The AuxOrb orbs file with an 8 x 6 grid and these records, the
  // extension library and the one-channel sensor.
  void SetUpOneChannelOrbs(const std::vector<std::string>& records) const;

  // Starts the real orb executable in this directory; without a screen
  // unless env says otherwise.
  std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& args,
                                      const std::vector<std::string>& env = {
                                          "QT_QPA_PLATFORM=offscreen"}) const;

  std::vector<std::string> LogLines() const;

  // Starts the orb on this X server and waits for its first good cycle.
  std::unique_ptr<ChildProcess> StartOnScreen(const std::string& display_env,
                                              const std::string& number) const;

 private:
  std::string mode_word_;
  TempDir dir_;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_ORB_WORKSPACE_H_
