#include "monitor/string_list.h"

#include "store/text_file.h"

namespace vigil {

const std::string& StringList::Get(size_t index) const {
  static const std::string kNone;
  return index < lines_.size() ? lines_[index] : kNone;
}

bool StringList::Replace(size_t index, std::string line) {
  if (index >= lines_.size()) return false;
  lines_[index] = std::move(line);
  return true;
}

bool StringList::SaveToFile(const std::filesystem::path& file) const {
  return WriteLines(file, lines_);
}

}  // namespace vigil
