// Decides the answer to each request: the credentials, the sensor named by
// its id, the document, and any fault that replaces or spoils the answer.
// Holds the only state that lives across requests: the values' walk and
// what is left of the queued faults.
#ifndef VIGIL_TOOLS_PRTG_SIM_REQUEST_ROUTER_H_
#define VIGIL_TOOLS_PRTG_SIM_REQUEST_ROUTER_H_

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "prtg-sim/http_request.h"
#include "prtg-sim/sensor_set.h"
#include "prtg-sim/value_walk.h"

namespace vigil::sim {

// How the server hands the reply over.
enum class Delivery { kNormal, kStall, kDelay, kDrop, kHalf, kShort, kTrickle };

struct Reply {
  int status = 200;
  std::string content_type;
  std::string body;
  Delivery delivery = Delivery::kNormal;
  int delay_seconds = 0;
  std::string note;  // for the request log
};

struct RouterSettings {
  std::optional<Locale> locale;  // the command line's choice
  uint64_t seed = 0;
  bool drift = true;
};

class RequestRouter {
 public:
  RequestRouter(SensorSet set, RouterSettings settings);

  // nullopt stands for a request that could not be parsed.
  Reply Answer(const std::optional<HttpRequest>& request);

 private:
  Reply Route(const HttpRequest& request);
  bool Authorized(const HttpRequest& request) const;
  const Sensor* FindSensor(const HttpRequest& request) const;
  Locale LocaleOf(const Sensor& sensor) const;
  std::optional<Fault> TakeQueuedFault();
  static void Spoil(Reply& reply, const Fault& fault);

  SensorSet set_;
  RouterSettings settings_;
  ValueWalk walk_;
  std::map<long long, std::vector<double>> values_;
  std::deque<QueuedFault> queued_;
};

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_REQUEST_ROUTER_H_
