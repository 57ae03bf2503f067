// Whether the files a record names are there: the source profile and the
// sensor program of the RfcOrb and AuxOrb modes, the source of HttpOrb.
#ifndef VIGIL_TOOLS_VIGIL_COMPANION_FINDINGS_H_
#define VIGIL_TOOLS_VIGIL_COMPANION_FINDINGS_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/config_record.h"
#include "vigil/finding.h"

namespace vigil::cli {

// Where a record's files are looked for, in order: the companion
// directory (RfcOrb, AuxOrb) and the orbs file's own directory, which is
// the orbs' working directory.
struct FileSearch {
  std::vector<std::filesystem::path> companion_dirs;
  std::filesystem::path working_dir;
};

// The search for the records of the orbs file at orbs_file: the companion
// directories given (--companion), then the file's own directory.
FileSearch SearchFor(const std::filesystem::path& orbs_file,
                     const std::vector<std::string>& companion_dirs);

// The sensor program of an RfcOrb or AuxOrb record: named, there, runnable.
void CheckSensorProgram(const ConfigRecord& record, int line,
                        std::string_view mode_word, const FileSearch& search,
                        std::vector<Finding>& findings);

// The source profile, its Sensor-Timeout line and the sensor program.
void CheckCompanionFiles(const ConfigRecord& record, int line,
                         std::string_view mode_word, const FileSearch& search,
                         std::vector<Finding>& findings);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_COMPANION_FINDINGS_H_
