// A standard sensor's JSON through the seam the cycle uses: the parser, the
// check, the rows with their units and limits, the sorting that follows.
#include "face/item_sorting.h"
#include "fuzz/fuzz_input.h"
#include "monitor/prtg_json_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vigil;
  const auto lines = fuzz::Lines(data, size);
  const ResultFormat& format = PrtgJsonFormat();
  ItemTable items;
  StringList work;
  ResultReaderSettings settings;
  settings.chart_bar_indices = "0001xx03";
  format.Check(lines);
  format.Read(lines, settings, items, work);
  SortState sort;
  for (char sorting = '1'; sorting <= '6'; ++sorting) {
    ApplySortingSetting(items, sorting, sort);
  }
  return 0;
}
