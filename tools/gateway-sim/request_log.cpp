#include "request_log.h"

#include <cstdio>

#include "common/cp1250.h"
#include "query.h"

namespace movarek::gatewaysim {
namespace {

// A browser percent-encodes every byte outside ASCII; anything else that slips through is
// read as code page 1250, so the log stays valid UTF-8.
std::string rawText(std::string_view bytes) { return jsonString(cp1250ToUtf8(bytes)); }

template <typename Range, typename Format>
std::string joined(const Range& items, std::string_view separator, Format format) {
  std::string text;
  for (const auto& item : items) {
    if (!text.empty()) text += separator;
    text += format(item);
  }
  return text;
}

}  // namespace

std::string jsonString(std::string_view utf8) {
  std::string quoted = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[7];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
          quoted += escape;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::string jsonLine(const Request& request) {
  const auto values = decodeQuery(request.query);
  char time[32];
  std::snprintf(time, sizeof time, "%.3f", request.timeMs);
  std::string line = std::string("{\"time_ms\":") + time + ",\"path\":" + rawText(request.path) +
                     ",\"query\":" + rawText(request.query) + ",\"values\":{";
  line += joined(values, ",", [](const QueryValue& value) {
    return jsonString(value.key) + ":" + jsonString(value.value);
  });
  line += "}";
  if (const auto adr = findValue(values, "adr")) {
    line += ",\"addresses\":[" + joined(splitAddresses(*adr), ",", jsonString) + "]";
  }
  if (!request.proxiedFor.empty()) line += ",\"proxied_for\":" + rawText(request.proxiedFor);
  return line + "}";
}

std::string connectionLine(double timeMs) {
  char time[32];
  std::snprintf(time, sizeof time, "%.3f", timeMs);
  return std::string("{\"time_ms\":") + time + ",\"connection\":\"accepted\"}";
}

std::string readableLine(const Request& request) {
  const auto values = decodeQuery(request.query);
  std::string line = cp1250ToUtf8(request.path);
  for (const auto& value : values) line += " " + value.key + "=" + jsonString(value.value);
  if (const auto adr = findValue(values, "adr")) {
    line += " -> " + joined(splitAddresses(*adr), ", ", [](const std::string& a) { return a; });
  }
  return line;
}

}  // namespace movarek::gatewaysim
