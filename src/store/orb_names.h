// The names of an orb's files in the working directory, derived in one
// place. The orb stem is the mode word followed by the orb number.
#ifndef VIGIL_STORE_ORB_NAMES_H_
#define VIGIL_STORE_ORB_NAMES_H_

#include <array>
#include <string>
#include <string_view>

namespace vigil {

std::string OrbStem(std::string_view mode_word, std::string_view orb_number);
std::string OrbsFileName(std::string_view mode_word);          // "AuxOrbs.Prf"
std::string AttachedProfileName(std::string_view orb_stem);    // stem.Prf
std::string EndOfProcessingName(std::string_view orb_stem);    // stem.Eop
std::string LockFileName(std::string_view lock_name);          // name.Lck
std::string ExtensionLibraryName(std::string_view mode_word);  // "AuxOrbs.so"
// "RfcOrb" + number + ".Mls" in every mode.
std::string MailListName(std::string_view orb_number);

// The work file keeps the first ten characters of the attached profile
// name (eleven in the HttpOrb mode) and adds ".Wxx".
std::string WorkFileName(std::string_view attached_profile,
                         std::string_view mode_word);

inline constexpr std::string_view kGreenMarker = ".Grn";
inline constexpr std::string_view kYellowMarker = ".Yel";
inline constexpr std::string_view kRedMarker = ".Red";
inline constexpr std::string_view kFailureMarker = ".Flr";
inline constexpr std::array<std::string_view, 4> kAllMarkers = {
    kGreenMarker, kYellowMarker, kRedMarker, kFailureMarker};

// The marker names keep the attached profile name before its first ".".
std::string MarkerName(std::string_view attached_profile,
                       std::string_view extension);

inline constexpr std::string_view kGlobalFileName = "SAP Quillon.Gbl";

}  // namespace vigil

#endif  // VIGIL_STORE_ORB_NAMES_H_
