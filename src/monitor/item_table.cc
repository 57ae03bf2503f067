#include "monitor/item_table.h"

#include "store/value_parser.h"

namespace vigil {

const std::string& Field(const ItemRow& row, ItemField field) {
  switch (field) {
    case ItemField::kLabel:
      return row.label;
    case ItemField::kItem:
      return row.item;
    case ItemField::kData:
      return row.data;
    case ItemField::kUnit:
      return row.unit;
    case ItemField::kColor:
      return row.color;
  }
  return row.label;
}

std::string& Field(ItemRow& row, ItemField field) {
  return const_cast<std::string&>(
      Field(static_cast<const ItemRow&>(row), field));
}

std::optional<double> ItemNumber(const ItemRow& row, char number_format) {
  if (row.value) return row.value;
  return ParseValue(row.data, number_format);
}

const ItemRow* ItemTable::RowAt(size_t index) const {
  return index < rows_.size() ? &rows_[index] : nullptr;
}

ItemRow* ItemTable::RowAt(size_t index) {
  return index < rows_.size() ? &rows_[index] : nullptr;
}

std::optional<char> StateDigitForImage(int image_index) {
  for (size_t digit = 0; digit < kStateImages.size(); ++digit) {
    const StateImages& images = kStateImages[digit];
    if (image_index == images.unit_state || image_index == images.star_prefix ||
        image_index == images.prefix) {
      return static_cast<char>('0' + digit);
    }
  }
  return std::nullopt;
}

std::string_view ChannelColourName(size_t row_index) {
  return kChannelColours[row_index % kChannelColours.size()];
}

ItemRow FillerRow() {
  return ItemRow{"Dummy",     "Rfc-Error",      "0",          ".",
                 "Rfc-Error", kImageUnreadable, std::nullopt, {}};
}

}  // namespace vigil
