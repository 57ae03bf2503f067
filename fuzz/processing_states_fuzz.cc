// The processing lines ("* ...") of a result.
#include "fuzz/fuzz_input.h"
#include "store/processing_states.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vigil::ReadProcessingStates(vigil::fuzz::Lines(data, size));
  return 0;
}
