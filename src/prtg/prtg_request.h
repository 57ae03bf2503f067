// The request URLs of an HttpOrb orb, built from the sensor address of its
// configuration record and the connection lines of its attached profile.
#ifndef VIGIL_PRTG_PRTG_REQUEST_H_
#define VIGIL_PRTG_PRTG_REQUEST_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/config_record.h"

namespace vigil {

// The sensor's web page, rewritten for the channels request.
inline constexpr std::string_view kSensorPagePrefix = "/sensor.htm?id=";
inline constexpr std::string_view kChannelsPathPrefix =
    "/api/table.xml?content=channels&output=xml&columns=name,lastvalue&id=";
inline constexpr std::string_view kDetailsPath = "/api/getsensordetails.xml?";

// The request URL with the place for one sensor id. The profile lines are
// applied in file order: host and scheme lines prepend to the prefix, the
// user and password lines append to the credentials, so a profile whose
// scheme line precedes its host line gives "host" + "http://" + path. A
// non-empty API-Token line makes the credentials "&apitoken=..." alone.
struct RequestUrl {
  std::string prefix;       // scheme, host and path up to and with "id="
  std::string credentials;  // "&username=...&password=..." or "&apitoken="
  // The sensor ids of the address, in order, without empty ones.
  std::vector<std::string> ids;
  // The address holds a "#" after "id=": one channel of each sensor.
  bool multi_sensor = false;
  // False when the address has no "id=": there is nothing to request.
  bool has_ids = false;
};

RequestUrl BuildRequestUrl(const ConfigRecord& record,
                           const std::vector<std::string>& profile_lines);

// The channels request for one sensor, with the credentials.
std::string ChannelsUrl(const RequestUrl& request, std::string_view id);
// The same without the credentials: what the progress list shows.
std::string ShownUrl(const RequestUrl& request, std::string_view id);
// Scheme and host (the URL before "/api/") + "/api/getsensordetails.xml?"
// + "id=", the id and the credentials.
std::string DetailsUrl(const RequestUrl& request, std::string_view id);

// The sensor page of the first sensor for the browser, not rewritten, with
// the profile's host, scheme and credentials applied as for the requests.
std::string BrowserUrl(const ConfigRecord& record,
                       const std::vector<std::string>& profile_lines);

// Percent-encodes everything but the unreserved characters, so that a user
// name, password or API key with "&", "#", "%" or a blank reaches the server
// whole.
std::string QueryEncode(std::string_view value);

}  // namespace vigil

#endif  // VIGIL_PRTG_PRTG_REQUEST_H_
