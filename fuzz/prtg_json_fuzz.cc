// A standard sensor's JSON through the seam the cycle uses.
#include "fuzz/result_format_input.h"
#include "monitor/prtg_json_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vigil::fuzz::ReadAsTheCycleDoes(vigil::PrtgJsonFormat(), data, size);
  return 0;
}
