// A rule's text, and its firing against a few values.
#include "fuzz/fuzz_input.h"
#include "monitor/rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vigil;
  const std::string_view text = fuzz::Text(data, size);
  SplitRule(text);
  const Rule rule = ParseRule(text);
  for (const double value : {-1.5, 0.0, 80.0, 1e300}) {
    Fires(rule.op, value, rule.value);
  }
  return 0;
}
