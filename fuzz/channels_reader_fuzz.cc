// A PRTG server's channels answer.
#include "fuzz/fuzz_input.h"
#include "prtg/channels_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vigil::ChannelsAnswer answer =
      vigil::ReadChannelsAnswer(vigil::fuzz::Lines(data, size));
  vigil::ApplyChannelColours(answer.rows);
  return 0;
}
