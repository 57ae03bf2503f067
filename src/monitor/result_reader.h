// Reads a result text (the PRTG-style XML a sensor prints) into the item
// table and the text records. Line-oriented and tag-driven on purpose: it
// looks for fixed tag texts at fixed places, case-sensitively, and decodes
// no entities, so that whatever a sensor prints reads the same way here as
// the sensors' authors expect. Any input is read in time linear in its size.
#ifndef VIGIL_MONITOR_RESULT_READER_H_
#define VIGIL_MONITOR_RESULT_READER_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/item_table.h"
#include "monitor/string_list.h"
#include "store/config_record.h"

namespace vigil {

// What the reader takes from the configuration record.
struct ResultReaderSettings {
  int row_image = 0;              // columns 38-39: image of ordinary rows
  std::string chart_bar_indices;  // columns 41-48: four two-digit indexes
};

// Columns 38-39 and 41-48 of a record; a non-numeric row image counts as 0.
ResultReaderSettings ResultReaderSettingsFor(const ConfigRecord& record);

struct ResultReading {
  // The one line left in the message text: the last text record, empty
  // when the result had none.
  std::string message_line;
  // The Unit of row 0; nullopt without rows, so ChartUnit stays as it was.
  std::optional<std::string> chart_unit;
  // What the reader could not read as meant, in words for the operator
  // ("value 'abc' of Load is not a number"); the rows are made anyway.
  std::vector<std::string> problems;
};

// The result check: "</Prtg>" present, and the last text line not an
// error ("<Text>Sorry, " or "<Text>Error ").
struct ResultCheck {
  bool complete = false;
  bool has_processing_lines = false;
  std::string first_text_line;
  std::string error_text;
};
ResultCheck CheckResult(const std::vector<std::string>& lines);

// The listing's Data text of a value written as text (decimal point ".")
// that reads as number: in thousands above 1000, a leading "0" dropped.
std::string ShownValue(std::string text, double number);

// After the rows are read: filler rows for the chart-bar indices, state
// images and colours, and the channel colours when no row has a state.
void CompleteRows(const ResultReaderSettings& settings, ItemTable& items);

// Rebuilds items (rows and font colour) and work (one entry per text
// record, " " followed by the record text) from the lines of a result.
ResultReading ReadResult(const std::vector<std::string>& result_lines,
                         const ResultReaderSettings& settings, ItemTable& items,
                         StringList& work);

// The same for a whole text with LF or CR LF line ends.
ResultReading ReadResultText(std::string_view result_text,
                             const ResultReaderSettings& settings,
                             ItemTable& items, StringList& work);

}  // namespace vigil

#endif  // VIGIL_MONITOR_RESULT_READER_H_
