#include "answers.h"

#include <algorithm>

#include "common/cp1250.h"
#include "query.h"

namespace movarek::gatewaysim {
namespace {

const char* reasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 204:
      return "No Content";
    case 302:
      return "Found";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    default:
      return status < 400 ? "OK" : "Error";
  }
}

std::string htmlEscape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
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
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string page(std::string_view body) {
  return "<!DOCTYPE html><html><head><meta charset=\"windows-1250\">"
         "<title>SMS centrum Vertanix (simulátor)</title></head>"
         "<body style=\"font: 12px Arial, sans-serif; margin: 4px\">" +
         std::string(body) + "</body></html>";
}

// Small enough for the program's Eurotel panel; submitting it comes back to this path.
const char* const kEurotelForm =
    "<b>Eurotel SMS (simulátor)</b>"
    "<form action=\"/eurotel_nova2.php\" method=\"get\">"
    "<input type=\"hidden\" name=\"odeslat\" value=\"1\">"
    "Číslo: <input name=\"cislo\" size=\"12\"> <input type=\"submit\" value=\"Odeslat\"><br>"
    "<textarea name=\"zprava\" rows=\"6\" style=\"box-sizing: border-box; width: 100%\">"
    "</textarea></form>";

std::string eurotelReceived(const std::vector<QueryValue>& values) {
  return "<p>Zpráva pro číslo " + htmlEscape(findValue(values, "cislo").value_or("")) +
         " byla přijata:</p><p>" + htmlEscape(findValue(values, "zprava").value_or("")) + "</p>";
}

Answer ok(std::string_view body) { return {200, page(body)}; }

Answer notFound() { return {404, page("<p>Stránka nenalezena.</p>")}; }

// A file with a name, which a browser saves instead of showing.
Answer download() {
  Answer file{200, "Obsah souboru."};
  file.download = true;
  return file;
}

Answer spoiled(Answer answer, const Faults& faults) {
  if (faults.status >= 400) answer = {faults.status, page("<p>Chyba serveru.</p>")};
  if (faults.status < 300 && faults.status != 200) answer = {faults.status, {}};
  if (!faults.redirectTo.empty()) {
    answer = {302, {}};
    answer.location = faults.redirectTo;
  }
  if (faults.download) answer = download();
  if (!faults.refreshTo.empty()) {
    answer = ok("<meta http-equiv=\"refresh\" content=\"0; url=" + faults.refreshTo + "\">");
    answer.refresh = faults.refreshTo;
  }
  answer.delayMs = faults.delayMs;
  answer.closeWithoutAnswer = faults.closeWithoutAnswer;
  answer.bareLineFeeds = faults.bareLineFeeds;
  return answer;
}

// "/send_sms.php" with this value of "go".
bool isSmsRequest(const Request& request, std::string_view go) {
  return request.path == "/send_sms.php" && findValue(decodeQuery(request.query), "go") == go;
}

bool hangs(const Request& request, const Faults& faults) {
  const std::string target =
      request.query.empty() ? request.path : request.path + "?" + request.query;
  return std::any_of(faults.hung.begin(), faults.hung.end(),
                     [&target](const std::string& hung) { return target.starts_with(hung); });
}

template <class Pairs>
const std::string* foundFor(const Pairs& pairs, const std::string& path) {
  for (const auto& [key, value] : pairs) {
    if (key == path) return &value;
  }
  return nullptr;
}

std::string typeOf(const std::string& name) {
  if (name.ends_with(".js")) return "text/javascript";
  if (name.ends_with(".png")) return "image/png";
  return "text/html; charset=utf-8";
}

Answer plainAnswer(const Request& request, const Faults& faults) {
  if (const auto* file = foundFor(faults.served, request.path)) {
    Answer served{200, *file};
    served.contentType = typeOf(request.path);
    return served;
  }
  if (std::find(faults.endless.begin(), faults.endless.end(), request.path) !=
      faults.endless.end()) {
    Answer endless{200, {}};
    endless.endless = true;
    endless.contentType = "application/octet-stream";
    return endless;
  }
  if (const auto* to = foundFor(faults.redirected, request.path)) {
    Answer redirect{302, {}};
    redirect.location = *to;
    return redirect;
  }
  if (isSend(request)) return spoiled(ok("<p>Zpráva byla přijata k odeslání.</p>"), faults);
  if (isSmsRequest(request, "pricti113")) {
    Answer counted = ok("<p>Spuštění započítáno.</p>");
    counted.delayMs = faults.startUpDelayMs;
    return counted;
  }
  if (request.path == "/eurotel_nova2.php") {
    const auto values = decodeQuery(request.query);
    if (findValue(values, "odeslat")) return ok(eurotelReceived(values));
    Answer eurotel =
        faults.eurotelPage.empty() ? ok(kEurotelForm) : Answer{200, faults.eurotelPage};
    eurotel.header = faults.eurotelHeader;
    return eurotel;
  }
  if (request.path == "/download") return download();
  return notFound();
}

}  // namespace

bool isSend(const Request& request) {
  return request.path == "/send_oskar.php" || isSmsRequest(request, "sms2");
}

Answer answerFor(const Request& request, const Faults& faults) {
  Answer answer = plainAnswer(request, faults);
  answer.hangs = hangs(request, faults);
  return answer;
}

std::string httpResponse(const Answer& answer) {
  const std::string body = answer.contentType.empty() ? utf8ToCp1250(answer.html) : answer.html;
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " +
                     reasonPhrase(answer.status) + "\r\nContent-Type: ";
  head += answer.download ? "application/octet-stream\r\nContent-Disposition: attachment; "
                            "filename=\"zprava.txt\""
          : answer.contentType.empty() ? "text/html; charset=windows-1250"
                                       : answer.contentType;
  if (!answer.header.empty()) head += "\r\n" + answer.header;
  if (!answer.location.empty()) head += "\r\nLocation: " + answer.location;
  if (!answer.refresh.empty()) head += "\r\nRefresh: 0; url=" + answer.refresh;
  if (!answer.endless) head += "\r\nContent-Length: " + std::to_string(body.size());
  // Every request must reach the simulator, however often it repeats.
  head += "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
  if (answer.bareLineFeeds) std::erase(head, '\r');
  return answer.endless ? head : head + body;
}

std::string describe(const Answer& answer) {
  if (answer.hangs) return "never answered";
  if (answer.endless) return "200 without end";
  std::string text =
      answer.closeWithoutAnswer ? "closed without an answer" : std::to_string(answer.status);
  if (!answer.location.empty()) text += " to " + answer.location;
  if (!answer.refresh.empty()) text += " refreshing to " + answer.refresh;
  if (answer.download) text += " (a file to save)";
  if (answer.delayMs > 0) text += " after " + std::to_string(answer.delayMs) + " ms";
  return text;
}

}  // namespace movarek::gatewaysim
