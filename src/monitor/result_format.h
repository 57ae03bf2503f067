// The seam between a sensor's result text and the orb: every format a
// sensor may print is one ResultFormat, chosen per cycle from the text
// itself. Each yields the same rows, text records and message, and answers
// the cycle's check of whether the result is complete or an error.
#ifndef VIGIL_MONITOR_RESULT_FORMAT_H_
#define VIGIL_MONITOR_RESULT_FORMAT_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/item_table.h"
#include "monitor/result_reader.h"
#include "monitor/string_list.h"

namespace vigil {

class ResultFormat {
 public:
  virtual ~ResultFormat() = default;

  // How the format is named to the operator ("vigil try").
  virtual std::string_view name() const = 0;
  // True when the text is written in this format.
  virtual bool Recognises(const std::vector<std::string>& lines) const = 0;
  // Complete, an error report, or no data; what the first text line is.
  virtual ResultCheck Check(const std::vector<std::string>& lines) const = 0;
  // Rebuilds items and work from the result, as the companion reader does.
  virtual ResultReading Read(const std::vector<std::string>& lines,
                             const ResultReaderSettings& settings,
                             ItemTable& items, StringList& work) const = 0;
};

// The lines of a work file as the readers take them: a text in UTF-16
// with its byte order mark (what Windows PowerShell writes) as UTF-8;
// nullopt when it cannot be read.
std::optional<std::vector<std::string>> ReadResultLines(
    const std::filesystem::path& work_file);

// The format the text is written in: the first in kResultFormats order
// that recognises it; the companion format's own reader otherwise.
const ResultFormat& ResultFormatFor(const std::vector<std::string>& lines);

// The format of a work file: an HttpOrb orb's is always its own writer's,
// in the companion's form; a sensor's is the one ResultFormatFor finds.
const ResultFormat& WorkFileFormat(std::string_view mode_word,
                                   const std::vector<std::string>& lines);

}  // namespace vigil

#endif  // VIGIL_MONITOR_RESULT_FORMAT_H_
