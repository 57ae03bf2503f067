// An attached profile: the copy without comments, the connection lines,
// and the request URLs built from them with the record of the first line.
#include "fuzz/fuzz_input.h"
#include "prtg/prtg_profile.h"
#include "prtg/prtg_request.h"
#include "store/orbs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vigil;
  const auto [first, rest] = fuzz::FirstLineAndRest(fuzz::Text(data, size));
  const ConfigRecord record{std::string(first)};
  const auto profile = AttachedProfileLines(SplitLines(rest));
  const ConnectionSettings connection = ReadConnectionSettings(profile);
  WithTrust({}, connection, "/work");
  const RequestUrl request = BuildRequestUrl(record, profile);
  for (const std::string& id : request.ids) {
    ChannelsUrl(request, id);
    ShownUrl(request, id);
    DetailsUrl(request, id);
  }
  BrowserUrl(record, profile);
  return 0;
}
