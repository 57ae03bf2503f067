// An action text with placeholders; the values come from its first line.
#include "actions/placeholders.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vigil;
  const auto [first, text] = fuzz::FirstLineAndRest(fuzz::Text(data, size));
  PlaceholderValues values;
  values.display_name = std::string(first);
  values.unit = values.item = values.mail_body_file = std::string(first);
  values.trigger_value = static_cast<double>(first.size()) / 3.0 - 7.0;
  values.state_code = static_cast<int>(first.size() % 10);
  JoinPieces(SubstitutePieces(text, values));
  FormatTriggerValue(values.trigger_value * 1e17);
  return 0;
}
