#include "vigil/serve_orb_reading.h"

#include <sys/stat.h>

#include "monitor/item_sorting.h"
#include "monitor/item_table.h"
#include "monitor/monitoring_cycle.h"
#include "monitor/result_format.h"
#include "monitor/string_list.h"
#include "store/companion_files.h"
#include "store/orb_mode.h"
#include "store/text.h"

namespace vigil::cli {
namespace {

// The listing's rows only: chart-bar fillers are no items of the source.
const ResultReaderSettings kReaderSettings{0, "xxxxxxxx"};

// The cycle's order: the sensor's error text, outweighed by a result
// without its end, and an HttpOrb orb without rows has nothing to show.
std::string NoDataText(const ResultCheck& check, const ItemTable& items,
                       bool http) {
  std::string text = check.error_text;
  if (!check.complete) text = NoDataFoundText(http);
  if (http && items.empty()) text = NoDataFoundText(/*http=*/true);
  return text;
}

std::vector<ServedItem> ServedItems(const ItemTable& items,
                                    char number_format) {
  std::vector<ServedItem> served;
  for (const ItemRow& row : items.rows()) {
    served.push_back(
        {ToDisplayUtf8(Trim(row.item)), ItemNumber(row, number_format),
         ToDisplayUtf8(Trim(row.data)), ToDisplayUtf8(Trim(row.unit))});
  }
  return served;
}

}  // namespace

std::optional<double> WrittenAt(const std::filesystem::path& file) {
  struct stat status {};
  if (stat(file.c_str(), &status) != 0) return std::nullopt;
  return static_cast<double>(status.st_mtim.tv_sec) +
         static_cast<double>(status.st_mtim.tv_nsec) / 1e9;
}

std::optional<OrbReading> ReadWorkFile(const std::filesystem::path& dir,
                                       const WallOrb& orb) {
  const std::filesystem::path file =
      CompanionFiles(dir, orb.mode_word, orb.number).WorkFile();
  const auto written = WrittenAt(file);
  const auto lines = ReadResultLines(file);
  if (!written || !lines) return std::nullopt;
  const OrbMode& mode = OrbModeOf(orb.mode_word);
  const ResultFormat& format = WorkFileFormat(orb.mode_word, *lines);
  ItemTable items;
  StringList work;
  format.Read(*lines, kReaderSettings, items, work);
  const ConfigRecord& record = orb.record;
  if (record.sorting() != '0' && record.face_mode() != '1') {
    SortState sort_state;
    ApplySortingSetting(items, record.sorting(), sort_state,
                        mode.number_format);
  }
  OrbReading reading;
  reading.items = ServedItems(items, mode.number_format);
  reading.no_data =
      ToDisplayUtf8(NoDataText(format.Check(*lines), items, mode.http));
  reading.written = *written;
  return reading;
}

}  // namespace vigil::cli
