#pragma once
// What the simulator answers to each gateway path, and how the send answers can be spoiled
// to stand in for a gateway that fails.
#include <string>

#include "request_log.h"

namespace movarek::gatewaysim {

// Apply to the two send requests only, so that the start-up loads still succeed.
struct SendFaults {
  int status = 200;
  bool closeWithoutAnswer = false;
  int delayMs = 0;
};

struct Answer {
  int status = 200;
  std::string html;  // UTF-8; goes out as code page 1250
  int delayMs = 0;
  bool closeWithoutAnswer = false;
};

// "/send_sms.php?go=sms2..." and "/send_oskar.php...".
bool isSend(const Request& request);

Answer answerFor(const Request& request, const SendFaults& faults);

// Status line, headers and body as they go on the wire.
std::string httpResponse(const Answer& answer);

// "200", "500 after 12000 ms", "closed without an answer" for the terminal.
std::string describe(const Answer& answer);

}  // namespace movarek::gatewaysim
