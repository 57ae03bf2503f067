#include "store/lock_holder.h"

#include "store/text.h"

namespace vigil {

std::string LockHolderText(const LockHolder& holder) {
  return holder.stem + " " + std::to_string(holder.pid) + "\n";
}

std::optional<LockHolder> ParseLockHolder(std::string_view text) {
  const std::string line = Trim(text);
  const size_t blank = line.find(' ');
  if (blank == std::string::npos || blank == 0) return std::nullopt;
  const std::string pid = line.substr(blank + 1);
  if (!IsDigits(pid)) return std::nullopt;
  const auto number = ParseInteger(pid);
  if (!number || *number <= 0) return std::nullopt;
  return LockHolder{line.substr(0, blank), *number};
}

}  // namespace vigil
