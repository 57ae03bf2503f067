#include "vigil/wall_carry_over.h"

#include <array>
#include <charconv>

#include "monitor/item_sorting.h"
#include "monitor/item_table.h"
#include "store/orb_values.h"
#include "monitor/result_format.h"
#include "monitor/string_list.h"

namespace vigil::cli {

CarryOver RecoverCarryOver(
    const std::optional<std::vector<std::string>>& work_file,
    std::string_view mode_word, const ConfigRecord& record) {
  // Without keep-data the orb never reads its kept value.
  if (!record.keep_data()) return {std::nullopt, "keep-data is off"};
  if (!work_file) return {std::nullopt, "no work file was left"};
  // A cycle without data keeps the value of an earlier one, which is gone.
  const ResultFormat& format = WorkFileFormat(mode_word, *work_file);
  const ResultCheck check = format.Check(*work_file);
  if (!check.complete || !check.error_text.empty()) {
    return {std::nullopt, "the work file holds no complete result"};
  }
  ItemTable items;
  StringList work;
  format.Read(*work_file, ResultReaderSettingsFor(record), items, work);
  if (record.sorting() != '0' && record.face_mode() != '1') {
    SortState fresh;
    ApplySortingSetting(items, record.sorting(), fresh,
                        InitialOrbValues(mode_word).number_format);
  }
  const std::optional<size_t> index = record.kept_row();
  const ItemRow* row = index ? items.RowAt(*index) : nullptr;
  if (row == nullptr) {
    return {std::nullopt,
            "the work file has no row for the kept item " + record.kept_item()};
  }
  const auto value =
      ItemNumber(*row, InitialOrbValues(mode_word).number_format);
  if (!value) {
    return {std::nullopt,
            "the kept item's value \"" + row->data + "\" is no number"};
  }
  return {value, {}};
}

std::string CarryOverText(double value) {
  std::array<char, 32> text{};
  const auto result =
      std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

}  // namespace vigil::cli
