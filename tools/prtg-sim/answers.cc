#include "prtg-sim/answers.h"

#include "common/tool_text.h"
#include "prtg-sim/display_value.h"

namespace vigil::sim {
namespace {

// Text for XML element content.
std::string XmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// "]]>" cannot stand inside a CDATA section; split it over two.
std::string Cdata(std::string_view text) {
  std::string body(text);
  size_t at = 0;
  while ((at = body.find("]]>", at)) != std::string::npos) {
    body.replace(at, 3, "]]]]><![CDATA[>");
    at += 15;
  }
  return "<![CDATA[" + body + "]]>";
}

void AddCdataElement(std::string& out, std::string_view tag,
                     std::string_view value) {
  out += " <";
  out += tag;
  out += ">\n  ";
  out += Cdata(value);
  out += "\n </";
  out += tag;
  out += ">\n";
}

// The first channel with a number stands for the sensor as a whole.
std::string PrimaryValue(const Sensor& sensor,
                         const std::vector<double>& values, Locale locale) {
  for (size_t i = 0; i < sensor.channels.size() && i < values.size(); ++i) {
    const Channel& channel = sensor.channels[i];
    if (channel.kind == ValueKind::kNumber) {
      return DisplayValue(values[i], channel.decimals, channel.unit, locale);
    }
  }
  return {};
}

}  // namespace

int StatusId(std::string_view status) {
  const std::string lower = tools::ToLower(status);
  if (lower == "up") return 3;
  if (lower == "warning") return 4;
  if (lower == "down") return 5;
  if (lower == "paused") return 7;
  if (lower == "unusual") return 10;
  return 1;
}

std::string ChannelsXml(const Sensor& sensor, const std::vector<double>& values,
                        Locale locale) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
  out += "<channels totalcount=\"0\" listend=\"1\">\n";
  out += " <prtg-version>" + std::string(kServerVersion) + "</prtg-version>\n";
  for (size_t i = 0; i < sensor.channels.size(); ++i) {
    const Channel& channel = sensor.channels[i];
    const double value = i < values.size() ? values[i] : channel.value;
    out += " <item>\n";
    out += "  <name>" + XmlEscape(channel.name) + "</name>\n";
    switch (channel.kind) {
      case ValueKind::kNumber:
        out += "  <lastvalue>" +
               XmlEscape(DisplayValue(value, channel.decimals, channel.unit,
                                      locale)) +
               "</lastvalue>\n";
        out += "  <lastvalue_raw>" + RawValue(value) + "</lastvalue_raw>\n";
        break;
      case ValueKind::kEmpty:
        out += "  <lastvalue/>\n";
        out += "  <lastvalue_raw></lastvalue_raw>\n";
        break;
      case ValueKind::kAbsent:
        break;
    }
    out += " </item>\n";
  }
  out += "</channels>\n";
  return out;
}

std::string DetailsXml(const Sensor& sensor, const std::vector<double>& values,
                       Locale locale, std::string_view now_text) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
  out += "<sensordata>\n";
  AddCdataElement(out, "prtg-version", kServerVersion);
  AddCdataElement(out, "name", sensor.name);
  AddCdataElement(out, "sensortype", sensor.type);
  AddCdataElement(out, "interval", "60 s");
  AddCdataElement(out, "probename", sensor.probe);
  AddCdataElement(out, "parentgroupname", sensor.group);
  AddCdataElement(out, "parentdevicename", sensor.device);
  AddCdataElement(out, "lastvalue", PrimaryValue(sensor, values, locale));
  AddCdataElement(out, "lastmessage", sensor.message);
  AddCdataElement(out, "statustext", sensor.status);
  AddCdataElement(out, "statusid", std::to_string(StatusId(sensor.status)));
  AddCdataElement(out, "lastcheck", now_text);
  out += "</sensordata>\n";
  return out;
}

std::string ErrorXml(std::string_view message) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
  out += "<prtg>\n";
  out += " <version>" + std::string(kServerVersion) + "</version>\n";
  out += " <error>" + XmlEscape(message) + "</error>\n";
  out += "</prtg>\n";
  return out;
}

std::string SensorPage(const Sensor& sensor, const std::vector<double>& values,
                       Locale locale) {
  std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n";
  out += "<title>" + XmlEscape(sensor.name) + "</title></head><body>\n";
  out += "<h1>" + XmlEscape(sensor.name) + " (" + std::to_string(sensor.id) +
         ")</h1>\n";
  out += "<p>" + XmlEscape(sensor.probe) + " &raquo; " +
         XmlEscape(sensor.group) + " &raquo; " + XmlEscape(sensor.device) +
         "</p>\n";
  out += "<p>Status: " + XmlEscape(sensor.status) + " &ndash; " +
         XmlEscape(sensor.message) + "</p>\n<table border=\"1\">\n";
  out += "<tr><th>Channel</th><th>Last value</th></tr>\n";
  for (size_t i = 0; i < sensor.channels.size(); ++i) {
    const Channel& channel = sensor.channels[i];
    std::string shown;
    if (channel.kind == ValueKind::kNumber && i < values.size()) {
      shown = DisplayValue(values[i], channel.decimals, channel.unit, locale);
    }
    out += "<tr><td>" + XmlEscape(channel.name) + "</td><td>" +
           XmlEscape(shown) + "</td></tr>\n";
  }
  out += "</table>\n</body></html>\n";
  return out;
}

}  // namespace vigil::sim
