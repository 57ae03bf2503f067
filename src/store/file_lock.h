// An advisory lock around a read-modify-write of a file that several orb
// processes share (the orbs file, the event log).
#ifndef VIGIL_STORE_FILE_LOCK_H_
#define VIGIL_STORE_FILE_LOCK_H_

#include <filesystem>

namespace vigil {

class FileLock final {
 public:
  // Blocks until the lock on the hidden sidecar of file is held. The
  // sidecar, not the file, is locked because the file is replaced by rename.
  explicit FileLock(const std::filesystem::path& file);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False when the sidecar could not be opened; the caller goes on unlocked.
  bool held() const { return fd_ >= 0; }

  static std::filesystem::path SidecarFor(const std::filesystem::path& file);

 private:
  int fd_ = -1;
};

}  // namespace vigil

#endif  // VIGIL_STORE_FILE_LOCK_H_
