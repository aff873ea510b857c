#include "send/send_failure.h"

#include <gtest/gtest.h>

#include <vector>

#include "send/outbox.h"

namespace movarek {
namespace {

TEST(SendFailure, EachEndIsToldAsItReallyEnded) {
  using Kind = LoadFailure::Kind;
  using enum SendOutcome;
  struct Case {
    LoadFailure failure;
    SendOutcome outcome;
    const char* reason;
    bool retried = false;  // certainly never reached the gateway: worth trying again
  };
  const std::vector<Case> cases = {
      {{Kind::NetworkError, -106}, NotSent, "bez připojení k síti", true},
      {{Kind::NetworkError, -105}, NotSent, "server nenalezen", true},
      {{Kind::NetworkError, -137}, NotSent, "server nenalezen", true},
      {{Kind::NetworkError, -102}, NotSent, "server odmítl spojení", true},
      {{Kind::NetworkError, -118}, NotSent, "server neodpověděl"},
      {{Kind::NetworkError, -130}, NotSent, "proxy server nelze zastihnout"},
      {{Kind::NetworkError, -312}, NotSent, "chyba sítě -312"},
      // The gateway refused it, or takes nothing now.
      {{Kind::HttpStatus, 400}, NotSent, "chyba serveru 400"},
      {{Kind::HttpStatus, 404}, NotSent, "chyba serveru 404"},
      {{Kind::HttpStatus, 499}, NotSent, "chyba serveru 499"},
      {{Kind::HttpStatus, 503}, NotSent, "chyba serveru 503"},
      // A server took it and may have passed it on.
      {{Kind::HttpStatus, 500}, Unknown, "chyba serveru 500"},
      {{Kind::HttpStatus, 502}, Unknown, "chyba serveru 502"},
      {{Kind::HttpStatus, 504}, Unknown, "chyba serveru 504"},
      // A redirect away from the gateway: a network's login page, most likely.
      {{Kind::ForeignAnswer, 0, "login.hotel.cz"},
       Unknown,
       "odpověď nepřišla od brány, ale od jiného serveru (login.hotel.cz); síť vás možná "
       "přesměrovala na přihlašovací stránku"},
      {{Kind::NoEngine}, NotSent, "chybí modul webového prohlížeče"},
      // The request was written; whether the gateway took it cannot be told.
      {{Kind::NetworkError, -101}, Unknown, "server přerušil spojení"},
      {{Kind::NetworkError, -324}, Unknown, "server přerušil spojení"},
      {{Kind::NetworkError, -7}, Unknown, "server neodpověděl"},
      {{Kind::NoAnswer}, Unknown, "server neodpověděl"},
      {{Kind::EngineFailed}, Unknown, "webový prohlížeč programu selhal"},
      {{Kind::NetworkError, -999}, Unknown, "chyba sítě -999"},
  };
  EXPECT_EQ(sendOutcome(std::nullopt), Sent);
  for (const auto& c : cases) {
    EXPECT_EQ(sendOutcome(c.failure), c.outcome) << c.reason;
    EXPECT_EQ(failureReason(c.failure), c.reason) << c.failure.code;
    EXPECT_EQ(worthRetrying(c.failure), c.retried) << c.reason;
  }
}

TEST(SendFailure, MessageKeepsTheUserInTheKnow) {
  EXPECT_EQ(lateAnswerMessage(std::nullopt),
            "Zpráva, o které nebylo jisté, zda došla, byla přece jen přijata SMS centrem "
            "Vertanix.");
  EXPECT_EQ(lateAnswerMessage(LoadFailure{LoadFailure::Kind::HttpStatus, 503}),
            "Zpráva, o které nebylo jisté, zda došla, nakonec SMS centrem Vertanix přijata "
            "nebyla (chyba serveru 503).\nMůžete ji zkusit odeslat znovu.");
  EXPECT_EQ(sendFailureMessage({LoadFailure::Kind::NetworkError, -102}),
            "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (server odmítl spojení).\n"
            "Text zprávy zůstává v okně, můžete ji zkusit odeslat znovu.");
  EXPECT_EQ(sendFailureMessage({LoadFailure::Kind::NoAnswer}),
            "Není jisté, zda zpráva došla na SMS centrum Vertanix (server neodpověděl).\n"
            "Zpráva mohla dorazit: než ji pošlete znovu, ověřte si, zda nepřišla.\n"
            "Text zprávy zůstává v okně.");
  EXPECT_EQ(sendFailureMessage({LoadFailure::Kind::NoEngine}),
            "Zprávu nelze odeslat: chybí část programu SMS Movarek, modul webového prohlížeče.\n"
            "Program je poškozený, přeinstalujte ho prosím.");
}

}  // namespace
}  // namespace movarek
