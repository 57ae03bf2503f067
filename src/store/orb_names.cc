#include "store/orb_names.h"

#include "store/orb_mode.h"
#include "store/text.h"

namespace vigil {

std::string OrbStem(std::string_view mode_word, std::string_view orb_number) {
  return std::string(mode_word) + std::string(orb_number);
}

std::string OrbsFileName(std::string_view mode_word) {
  return std::string(mode_word) + "s.Prf";
}

std::string AttachedProfileName(std::string_view orb_stem) {
  return std::string(orb_stem) + ".Prf";
}

std::string EndOfProcessingName(std::string_view orb_stem) {
  return std::string(orb_stem) + ".Eop";
}

std::string LockFileName(std::string_view lock_name) {
  return std::string(lock_name) + ".Lck";
}

std::string ExtensionLibraryName(std::string_view mode_word) {
  return std::string(mode_word) + "s.so";
}

std::string MailListName(std::string_view orb_number) {
  return "RfcOrb" + std::string(orb_number) + ".Mls";
}

std::string WorkFileName(std::string_view attached_profile,
                         std::string_view mode_word) {
  const int kept = OrbModeOf(mode_word).work_file_stem;
  return Mid(attached_profile, 1, kept) + ".Wxx";
}

std::string MarkerName(std::string_view attached_profile,
                       std::string_view extension) {
  const size_t point = attached_profile.find('.');
  return std::string(attached_profile.substr(0, point)) +
         std::string(extension);
}

}  // namespace vigil
