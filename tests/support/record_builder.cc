#include "support/record_builder.h"

namespace vigil::testing {
namespace {

void Put(std::string& record, int column, const std::string& text) {
  const size_t start = static_cast<size_t>(column) - 1;
  if (record.size() < start + text.size()) {
    record.resize(start + text.size(), ' ');
  }
  record.replace(start, text.size(), text);
}

std::string Padded(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

}  // namespace

std::string RecordBuilder::Text() const {
  std::string record(77, ' ');
  Put(record, 1, number);
  Put(record, 6, Padded(display_name, 10));
  Put(record, 17, std::string(1, face_mode));
  Put(record, 18, std::string(1, chart_type));
  Put(record, 19, grid_size);
  Put(record, 25, std::string(1, chart_mode));
  Put(record, 26, max_bars);
  Put(record, 28, std::string(1, image_tens));
  Put(record, 29, delay);
  Put(record, 34, std::string(1, gauge_tens));
  Put(record, 35, idle_colour);
  Put(record, 37, std::string(1, gauge_units));
  Put(record, 38, image_index);
  Put(record, 40, std::string(1, hold));
  Put(record, 41, chart_bars);
  Put(record, 49, std::string(1, id_kind));
  Put(record, 50, std::string(1, sorting));
  Put(record, 51, std::string(1, zoom));
  Put(record, 52, history_bars);
  Put(record, 55, std::string(1, keep_data));
  Put(record, 56, Padded(lock_name, 10));
  Put(record, 67, std::string(1, legend));
  Put(record, 68, std::string(1, title_shown));
  Put(record, 77, std::string(1, image_units));
  return record.substr(0, 77) + tail;
}

}  // namespace vigil::testing
