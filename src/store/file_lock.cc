#include "store/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace vigil {

std::filesystem::path FileLock::SidecarFor(const std::filesystem::path& file) {
  return file.parent_path() / ("." + file.filename().string() + ".lock");
}

FileLock::FileLock(const std::filesystem::path& file) {
  fd_ = ::open(SidecarFor(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace vigil
