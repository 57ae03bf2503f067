// The result a sensor program prints: the reader, the check of the cycle
// and the sorting that follows it.
#include "monitor/item_sorting.h"
#include "fuzz/fuzz_input.h"
#include "monitor/monitoring_cycle.h"
#include "monitor/result_reader.h"
#include "store/value_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vigil;
  const auto lines = fuzz::Lines(data, size);
  ItemTable items;
  StringList work;
  ResultReaderSettings settings;
  settings.chart_bar_indices = "0001xx03";
  ReadResult(lines, settings, items, work);
  CheckResult(lines);
  SortState sort;
  for (char sorting = '1'; sorting <= '6'; ++sorting) {
    ApplySortingSetting(items, sorting, sort, kNumberFormatE);
  }
  return 0;
}
