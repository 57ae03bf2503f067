// The orb's hidden string lists: ordered texts that double as text files,
// one entry per line. Saving an empty list makes an empty file, which is
// how lock and marker files are made.
#ifndef VIGIL_MONITOR_STRING_LIST_H_
#define VIGIL_MONITOR_STRING_LIST_H_

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vigil {

class StringList final {
 public:
  StringList() = default;
  explicit StringList(std::vector<std::string> lines)
      : lines_(std::move(lines)) {}

  void Clear() { lines_.clear(); }
  void Append(std::string line) { lines_.push_back(std::move(line)); }
  size_t Count() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }

  // An empty text beyond the last entry.
  const std::string& Get(size_t index) const;
  // False beyond the last entry; the list is unchanged then.
  bool Replace(size_t index, std::string line);

  // Writes CR LF lines, replacing the file.
  bool SaveToFile(const std::filesystem::path& file) const;

  const std::vector<std::string>& lines() const { return lines_; }
  std::vector<std::string>& lines() { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// The lists every orb keeps beside its tables.
struct OrbLists {
  StringList work;  // scratch, the source copy, then the text records
  StringList wrky;  // the PRTG client's progress lines
};

}  // namespace vigil

#endif  // VIGIL_MONITOR_STRING_LIST_H_
