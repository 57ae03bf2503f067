// A PRTG server's sensor details answer, under every identifier kind.
#include "fuzz/fuzz_input.h"
#include "prtg/details_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto lines = vigil::fuzz::Lines(data, size);
  for (const char kind : {'1', '2', '3', '4'}) {
    vigil::ReadIdentifier(lines, *vigil::IdentifierElement(kind),
                          "No_Identifier");
  }
  return 0;
}
