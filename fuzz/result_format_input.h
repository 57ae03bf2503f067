// What the result-format fuzz targets share: a cycle's work with a text
// read in one format.
#ifndef VIGIL_FUZZ_RESULT_FORMAT_INPUT_H_
#define VIGIL_FUZZ_RESULT_FORMAT_INPUT_H_

#include "monitor/item_sorting.h"
#include "fuzz/fuzz_input.h"
#include "monitor/result_format.h"
#include "store/value_parser.h"

namespace vigil::fuzz {

// The check, the rows with their units and limits, the sorting after.
inline void ReadAsTheCycleDoes(const ResultFormat& format, const uint8_t* data,
                               size_t size) {
  const auto lines = Lines(data, size);
  ItemTable items;
  StringList work;
  ResultReaderSettings settings;
  settings.chart_bar_indices = "0001xx03";
  format.Check(lines);
  format.Read(lines, settings, items, work);
  SortState sort;
  for (char sorting = '1'; sorting <= '6'; ++sorting) {
    ApplySortingSetting(items, sorting, sort, kNumberFormatE);
  }
}

}  // namespace vigil::fuzz

#endif  // VIGIL_FUZZ_RESULT_FORMAT_INPUT_H_
