#ifndef VIGIL_MONITOR_RFC_LIBRARY_PROBE_H_
#define VIGIL_MONITOR_RFC_LIBRARY_PROBE_H_

#include <filesystem>
#include <string_view>

namespace vigil {

// SAP's RFC client library; tried in the working directory first, then on
// the system's library search path.
inline constexpr std::string_view kRfcLibraryName = "libsapnwrfc.so";

// True when the library loads; it is unloaded again at once.
bool ProbeRfcLibrary(const std::filesystem::path& working_dir);

}  // namespace vigil

#endif  // VIGIL_MONITOR_RFC_LIBRARY_PROBE_H_
