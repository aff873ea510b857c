#include "send/send_failure.h"

#include <gtest/gtest.h>

#include <vector>

namespace movarek {
namespace {

TEST(SendFailure, ReasonsTellWhatWentWrong) {
  using Kind = LoadFailure::Kind;
  struct Case {
    LoadFailure failure;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {{Kind::NetworkError, -106}, "bez připojení k síti"},
      {{Kind::NetworkError, -105}, "server nenalezen"},
      {{Kind::NetworkError, -137}, "server nenalezen"},
      {{Kind::NetworkError, -102}, "server odmítl spojení"},
      {{Kind::NetworkError, -101}, "server přerušil spojení"},
      {{Kind::NetworkError, -324}, "server přerušil spojení"},
      {{Kind::NetworkError, -118}, "server neodpověděl"},
      {{Kind::NoAnswer}, "server neodpověděl"},
      {{Kind::HttpStatus, 503}, "chyba serveru 503"},
      {{Kind::HttpStatus, 404}, "chyba serveru 404"},
      {{Kind::NetworkError, -999}, "chyba sítě -999"},
  };
  for (const auto& c : cases) EXPECT_EQ(failureReason(c.failure), c.reason) << c.failure.code;
}

TEST(SendFailure, MessageKeepsTheUserInTheKnow) {
  EXPECT_EQ(sendFailureMessage({LoadFailure::Kind::NetworkError, -102}),
            "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (server odmítl spojení).\n"
            "Text zprávy zůstává v okně, můžete ji zkusit odeslat znovu.");
}

}  // namespace
}  // namespace movarek
