#include "prtg-sim/request_router.h"

#include <ctime>

#include "common/tool_text.h"
#include "prtg-sim/answers.h"

namespace vigil::sim {
namespace {

constexpr std::string_view kXml = "text/xml; charset=UTF-8";

Reply XmlReply(int status, std::string body, std::string note = {}) {
  Reply reply;
  reply.status = status;
  reply.content_type = std::string(kXml);
  reply.body = std::move(body);
  reply.note = std::move(note);
  return reply;
}

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof(text), "%d.%m.%Y %H:%M:%S", &local);
  return text;
}

// Bytes no XML reader makes sense of: NULs, high bytes and stray markup.
std::string JunkBytes() {
  std::string junk;
  uint32_t state = 0x2545F491u;
  for (int i = 0; i < 1024; ++i) {
    state = state * 1664525u + 1013904223u;
    junk += static_cast<char>(state >> 24);
  }
  junk[0] = '\0';
  junk[1] = '<';
  return junk;
}

std::string FaultName(const Fault& fault) {
  switch (fault.kind) {
    case FaultKind::kNone:
      return "none";
    case FaultKind::kStall:
      return "stall";
    case FaultKind::kDelay:
      return "delay " + std::to_string(fault.seconds) + " s";
    case FaultKind::kDrop:
      return "drop";
    case FaultKind::kServerError:
      return "500";
    case FaultKind::kUnauthorized:
      return "401";
    case FaultKind::kHalf:
      return "half";
    case FaultKind::kTrickle:
      return "trickle";
    case FaultKind::kHuge:
      return "huge";
    case FaultKind::kShort:
      return "short";
    case FaultKind::kJunk:
      return "junk";
  }
  return "?";
}

}  // namespace

RequestRouter::RequestRouter(SensorSet set, RouterSettings settings)
    : set_(std::move(set)),
      settings_(settings),
      walk_(settings.seed, settings.drift),
      queued_(set_.next_faults.begin(), set_.next_faults.end()) {}

Reply RequestRouter::Answer(const std::optional<HttpRequest>& request) {
  Reply reply =
      request ? Route(*request)
              : XmlReply(400, ErrorXml("Sorry, the request is malformed."));
  std::optional<Fault> fault = TakeQueuedFault();
  if (!fault && request) {
    if (const Sensor* sensor = FindSensor(*request);
        sensor && sensor->fault.kind != FaultKind::kNone) {
      fault = sensor->fault;
    }
  }
  if (fault) Spoil(reply, *fault);
  return reply;
}

Reply RequestRouter::Route(const HttpRequest& request) {
  if (request.method != "GET" && request.method != "HEAD") {
    return XmlReply(405, ErrorXml("Sorry, only GET requests are served."));
  }
  const bool channels = request.path == "/api/table.xml";
  const bool details = request.path == "/api/getsensordetails.xml";
  const bool page = request.path == "/sensor.htm";
  if (!channels && !details && !page) {
    return XmlReply(404, ErrorXml("Sorry, the requested page does not exist."));
  }
  if (!Authorized(request)) {
    return XmlReply(401,
                    ErrorXml("Sorry, the user name or password is wrong."));
  }
  if (channels) {
    const auto content = request.query.find("content");
    if (content == request.query.end() ||
        tools::ToLower(content->second) != "channels") {
      return XmlReply(400, ErrorXml("Sorry, only content=channels is served."));
    }
  }
  const Sensor* sensor = FindSensor(request);
  if (!sensor) return XmlReply(400, ErrorXml(kNoSuchObject));

  std::vector<double>& values =
      values_.try_emplace(sensor->id, ValueWalk::Start(*sensor)).first->second;
  const Locale locale = LocaleOf(*sensor);
  Reply reply;
  if (channels) {
    reply = XmlReply(200, ChannelsXml(*sensor, values, locale));
  } else if (details) {
    reply = XmlReply(200, DetailsXml(*sensor, values, locale, NowText()));
  } else {
    reply.content_type = "text/html; charset=UTF-8";
    reply.body = SensorPage(*sensor, values, locale);
  }
  // The first answer shows the configured values; the walk starts after.
  walk_.Step(*sensor, values);
  return reply;
}

bool RequestRouter::Authorized(const HttpRequest& request) const {
  const Credentials& wanted = set_.credentials;
  if (!wanted.Configured() && set_.api_token.empty()) return true;
  const auto field = [&](const char* key) -> const std::string* {
    const auto it = request.query.find(key);
    return it == request.query.end() ? nullptr : &it->second;
  };
  if (const std::string* token = field("apitoken")) {
    return !set_.api_token.empty() && *token == set_.api_token;
  }
  if (!wanted.Configured()) return false;
  const std::string* user = field("username");
  if (!user || *user != wanted.user) return false;
  const std::string* password = field("password");
  const std::string* passhash = field("passhash");
  if (password && !wanted.password.empty() && *password == wanted.password) {
    return true;
  }
  return passhash && !wanted.passhash.empty() && *passhash == wanted.passhash;
}

const Sensor* RequestRouter::FindSensor(const HttpRequest& request) const {
  const auto id_field = request.query.find("id");
  if (id_field == request.query.end()) return nullptr;
  const std::optional<long long> id =
      tools::ParseWhole(tools::Trim(id_field->second));
  if (!id) return nullptr;
  for (const Sensor& sensor : set_.sensors) {
    if (sensor.id == *id) return &sensor;
  }
  return nullptr;
}

Locale RequestRouter::LocaleOf(const Sensor& sensor) const {
  if (sensor.locale) return *sensor.locale;
  if (settings_.locale) return *settings_.locale;
  return set_.locale.value_or(Locale::kEnglish);
}

std::optional<Fault> RequestRouter::TakeQueuedFault() {
  while (!queued_.empty() && queued_.front().count <= 0) queued_.pop_front();
  if (queued_.empty()) return std::nullopt;
  --queued_.front().count;
  return queued_.front().fault;
}

void RequestRouter::Spoil(Reply& reply, const Fault& fault) {
  reply.note = "fault " + FaultName(fault);
  switch (fault.kind) {
    case FaultKind::kNone:
      break;
    case FaultKind::kStall:
      reply.delivery = Delivery::kStall;
      break;
    case FaultKind::kDelay:
      reply.delivery = Delivery::kDelay;
      reply.delay_seconds = fault.seconds;
      break;
    case FaultKind::kDrop:
      reply.delivery = Delivery::kDrop;
      break;
    case FaultKind::kHalf:
      reply.delivery = Delivery::kHalf;
      break;
    case FaultKind::kShort:
      reply.delivery = Delivery::kShort;
      break;
    case FaultKind::kServerError:
      reply.status = 500;
      reply.content_type = std::string(kXml);
      reply.body = ErrorXml("Sorry, the server ran into an internal error.");
      break;
    case FaultKind::kUnauthorized:
      reply.status = 401;
      reply.content_type = std::string(kXml);
      reply.body = ErrorXml("Sorry, the user name or password is wrong.");
      break;
    case FaultKind::kTrickle:
      reply.delivery = Delivery::kTrickle;
      break;
    case FaultKind::kHuge:
      // A well-formed start, then more than any answer could need.
      reply.body.resize(50 * 1000 * 1000, ' ');
      break;
    case FaultKind::kJunk:
      reply.status = 200;
      reply.content_type = "application/octet-stream";
      reply.body = JunkBytes();
      break;
  }
}

}  // namespace vigil::sim
