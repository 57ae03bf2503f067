// PRTG's standard sensor result, as its XML and JSON forms both carry it:
// a list of channels with their elements, a text and an error flag. The
// parsers fill it; the rows, units, display and limits are made here once
// for both.
#ifndef VIGIL_MONITOR_STANDARD_RESULT_H_
#define VIGIL_MONITOR_STANDARD_RESULT_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "monitor/item_table.h"
#include "monitor/result_format.h"
#include "monitor/result_reader.h"
#include "monitor/string_list.h"

namespace vigil {

// The elements of a result that are read; others are passed over.
enum class ChannelElement {
  kChannel,
  kValue,
  kUnit,
  kCustomUnit,
  kVolumeSize,
  kSpeedSize,
  kSpeedTime,
  kFloat,
  kDecimalMode,
  kMode,
  kWarning,
  kShowChart,
  kShowTable,
  kLimitMode,
  kLimitMaxError,
  kLimitMaxWarning,
  kLimitMinError,
  kLimitMinWarning,
  kLimitErrorMsg,
  kLimitWarningMsg,
};

// The element of that name in any case ("LimitMaxError"); nullopt for one
// that is not read.
std::optional<ChannelElement> ChannelElementNamed(std::string_view name);

// One result: the texts of its elements as written.
struct StandardChannel {
  std::vector<std::pair<ChannelElement, std::string>> elements;
  // The trimmed text of the last such element; empty without one.
  std::string_view Get(ChannelElement element) const;
};

struct StandardResult {
  // The whole text read, its outermost element "prtg".
  bool complete = false;
  // Why not, in the parser's words.
  std::string parse_problem;
  std::vector<StandardChannel> channels;
  std::optional<std::string> text;
  bool error = false;  // "error" 1: only the text counts
};

// A new channel at the end of result, with room for the usual elements.
void AddChannel(StandardResult& result);

// The result's lines as one text for a parser, line numbers as in the file.
std::string JoinedText(const std::vector<std::string>& lines);

// The cycle checks a result and then reads it: the last text parsed and
// what it gave, so that one parse serves both.
class ParseCache final {
 public:
  using Parser = StandardResult (*)(std::string_view text);
  explicit ParseCache(Parser parser) : parser_(parser) {}
  const StandardResult& Parsed(const std::vector<std::string>& lines);

 private:
  Parser parser_;
  std::string text_;
  StandardResult result_;
  bool filled_ = false;
};

// A standard form: its parser makes the result, and the check and the rows
// follow from it alike for every such form.
class StandardFormat : public ResultFormat {
 public:
  explicit StandardFormat(ParseCache::Parser parser) : cache_(parser) {}
  ResultCheck Check(const std::vector<std::string>& lines) const final;
  ResultReading Read(const std::vector<std::string>& lines,
                     const ResultReaderSettings& settings, ItemTable& items,
                     StringList& work) const final;

 protected:
  const StandardResult& Parsed(const std::vector<std::string>& lines) const {
    return cache_.Parsed(lines);
  }

 private:
  mutable ParseCache cache_;
};

// "1", "yes" or "true" in any case, as a flag element may be written.
bool IsSetFlag(std::string_view text);

// Complete when read whole with a channel or an error report; an error
// report's text is the error text.
ResultCheck CheckStandardResult(const StandardResult& result);

// The rows, one per channel in order, and the text record.
ResultReading ReadStandardResult(const StandardResult& result,
                                 const ResultReaderSettings& settings,
                                 ItemTable& items, StringList& work);

}  // namespace vigil

#endif  // VIGIL_MONITOR_STANDARD_RESULT_H_
