#pragma once
// What the simulator answers to each gateway path, and how the send answers can be spoiled
// to stand in for a gateway that fails.
#include <string>
#include <utility>
#include <vector>

#include "request_log.h"

namespace movarek::gatewaysim {

// How the simulator stands in for a gateway that fails, answers oddly or serves a hostile page.
struct Faults {
  // The first five apply to the two send requests only, so that the start-up loads still
  // succeed.
  int status = 200;
  bool closeWithoutAnswer = false;
  int delayMs = 0;
  std::string redirectTo;   // a send is answered by a redirect to this address
  std::string refreshTo;    // a send is answered by a page that refreshes to this address
  bool download = false;    // a send is answered with a file to save
  std::string eurotelPage;  // UTF-8 HTML served as the Eurotel page instead of its form
  int startUpDelayMs = 0;   // before the start-up request is answered
  // Requests whose path and query begin with one of these are read and never answered.
  std::vector<std::string> hung;
  // Paths answered with a file's bytes (type by its name's end), or a redirect; a header more
  // on the Eurotel page.
  std::vector<std::pair<std::string, std::string>> served;
  std::vector<std::pair<std::string, std::string>> redirected;
  std::string eurotelHeader;
  std::vector<std::string> endless;  // paths answered by a body without end
  bool bareLineFeeds = false;        // the sends' answers end their lines with LF alone
};

struct Answer {
  int status = 200;
  std::string html;  // UTF-8; goes out as code page 1250
  int delayMs = 0;
  bool closeWithoutAnswer = false;
  bool hangs = false;      // never answered: the connection stays open until the browser closes it
  std::string location{};  // where a redirect points
  std::string refresh{};   // where the page and its header refresh to at once
  bool download = false;   // a file to save, not a page
  std::string contentType{};  // a served file's; its body goes out as it is
  std::string header{};       // one more "Name: value"
  bool endless = false;       // its body never ends: httpResponse gives its head alone
  bool bareLineFeeds = false;
};

// "/send_sms.php?go=sms2..." and "/send_oskar.php...".
bool isSend(const Request& request);

Answer answerFor(const Request& request, const Faults& faults);

// Status line, headers and body as they go on the wire.
std::string httpResponse(const Answer& answer);

// "200", "500 after 12000 ms", "closed without an answer", "never answered" for the terminal.
std::string describe(const Answer& answer);

}  // namespace movarek::gatewaysim
