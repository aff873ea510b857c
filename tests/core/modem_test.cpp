#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "exchange/module/phone_number.h"
#include "send/modem_check.h"
#include "send/modem_counter.h"
#include "send/modem_delivery.h"
#include "send/modem_failure.h"
#include "send/modem_number.h"

namespace movarek {
namespace {

std::string times(int count, std::string_view text) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

TEST(ModemCounter, CountsAsTheModemSplits) {
  using enum ModemEncoding;
  const std::tuple<std::string, ModemEncoding, std::size_t, unsigned, const char*> cases[] = {
      {times(160, "a"), Gsm7, 160, 1, ""},
      {times(161, "a"), Gsm7, 161, 2, ""},
      {times(306, "a"), Gsm7, 306, 2, ""},
      {times(307, "a"), Gsm7, 307, 3, ""},
      {times(80, "]"), Gsm7, 160, 1, ""},
      {times(81, "]"), Gsm7, 162, 2, ""},
      {times(70, "ж"), Ucs2, 70, 1, "ж"},
      {times(71, "ж"), Ucs2, 71, 2, "ж"},
      {times(35, "😀"), Ucs2, 70, 1, "😀"},
      {times(36, "😀"), Ucs2, 72, 2, "😀"},
      // An escape pair or a surrogate pair that would straddle a part's edge moves whole.
      {times(152, "a") + "[" + times(152, "a"), Gsm7, 306, 3, ""},
      {times(66, "ж") + "😀" + times(66, "ж"), Ucs2, 134, 3, "ж"},
      {"ça va", Ucs2, 5, 1, "ç"},
      {"Ça va", Gsm7, 5, 1, ""},
      {"Ahoj\r\nsvete", Gsm7, 10, 1, ""},
  };
  for (const auto& [text, encoding, characters, parts, forcedBy] : cases) {
    const ModemCount count = countForModem(text);
    EXPECT_EQ(std::tie(count.encoding, count.characters, count.parts, count.forcedUcs2By),
              std::tuple(encoding, characters, parts, forcedBy))
        << text;
  }
  EXPECT_EQ(textForModem("Ahoj\r\nsvěte\r\n"), "Ahoj\nsvěte\n");
  EXPECT_EQ(countForModem(times(1530, "a")).parts, kMostModemParts);
  EXPECT_EQ(modemTooLongMessage(countForModem(times(1531, "a")).parts),
            "Text zprávy je příliš dlouhý: modem by ho poslal jako 11 SMS, najednou lze poslat "
            "nejvýše 10.\nZkraťte text zprávy.");
}

TEST(ModemFailure, EachErrorEndsAsItCan) {
  using enum SendOutcome;
  constexpr auto kCreate = ModemStep::Create;
  constexpr auto kSend = ModemStep::Send;
  const std::string mm = "org.freedesktop.ModemManager1.Error.";
  // Create sends nothing; a Send of one part failing so has sent nothing, one of more may have.
  for (const char* nothingSent :
       {"Core.Unauthorized", "MobileEquipment.SimNotInserted", "MobileEquipment.SimPin",
        "MobileEquipment.SimPuk", "MobileEquipment.SimFailure", "MobileEquipment.SimBusy",
        "MobileEquipment.SimWrong", "Message.NoNetwork", "Core.WrongState"}) {
    const std::string code = modemReasonCode(mm + nothingSent);
    EXPECT_EQ(code, "modem " + std::string(nothingSent));
    EXPECT_EQ(modemOutcome(code, kCreate, 2), NotSent) << code;
    EXPECT_EQ(modemOutcome(code, kSend, 1), NotSent) << code;
    EXPECT_EQ(modemOutcome(code, kSend, 2), Unknown) << code;
  }
  // A D-Bus error's name or a code of the program's own, the call, the outcome, the kept code.
  const std::string qmi = "org.freedesktop.libqmi.Error.Protocol.NoNetwork";
  const std::tuple<std::string, ModemStep, SendOutcome, std::string> cases[] = {
      {mm + "Core.InvalidArgs", kCreate, NotSent, "modem Core.InvalidArgs"},
      {"org.freedesktop.DBus.Error.NoReply", kCreate, NotSent, "modem no-reply"},
      {std::string(kModemNoAnswer), kCreate, NotSent, "modem no-answer"},
      {mm + "Message.NetworkTimeout", kSend, Unknown, "modem Message.NetworkTimeout"},
      {qmi, kSend, Unknown, "modem " + qmi},
      {"org.freedesktop.DBus.Error.NoReply", kSend, Unknown, "modem no-reply"},
      {"org.freedesktop.DBus.Error.ServiceUnknown", kSend, Unknown, "modem gone"},
      {"not a name!", kSend, Unknown, "modem bad-answer"},
      {std::string(kModemNoAnswer), kSend, Unknown, "modem no-answer"},
      {std::string(kModemUnconfirmed), kSend, Unknown, "modem unconfirmed"},
  };
  for (const auto& [error, step, outcome, kept] : cases) {
    const std::string code = error.starts_with("modem ") ? error : modemReasonCode(error);
    EXPECT_EQ(code, kept) << error;
    EXPECT_EQ(modemOutcome(code, step, 1), outcome) << error;
  }
  const std::pair<std::string, std::string> words[] = {
      {"modem Core.Unauthorized",
       "systém programu nedovolil zprávu odeslat; posílat zprávy modemem smí jen aktivní místní "
       "relace (uživatel přihlášený přímo u počítače)"},
      {"modem gone", "spojení se službou ModemManager se přerušilo"},
      {"modem " + qmi, "chyba modemu " + qmi},
      {"http 503", ""},
  };
  for (const auto& [code, said] : words) EXPECT_EQ(modemReason(code), said) << code;
}

TEST(ModemDelivery, AReportTellsItsMessagesDelivery) {
  using enum Delivery;
  const std::tuple<std::uint32_t, Delivery, const char*, const char*> states[] = {
      {0x00, Delivered, "", ""},
      {0x21, Awaiting, "report 0x21", "síť to zkouší dál: telefon adresáta je zaneprázdněný"},
      {0x46, NotDelivered, "report 0x46", "vypršela platnost zprávy"},
      {0x62, NotDelivered, "report 0x62", "telefon adresáta neodpovídá"},
      {0x7F, NotDelivered, "report 0x7F", "síť zprávu nedoručila (kód 0x7F)"},
      {0x100, Awaiting, "report 0x100", "síť stav doručení neuvedla"},
  };
  for (const auto& [state, delivery, reason, words] : states) {
    const ReportedDelivery reported = reportedDelivery(state);
    EXPECT_EQ(reported.delivery, delivery) << state;
    EXPECT_EQ(reported.reason, reason) << state;
    EXPECT_EQ(deliveryReason(reported.reason), words) << state;
  }

  const std::int64_t now = 1'800'000'000;
  const std::vector<ReportCandidate> sent = {
      {1, now - 3600, "420777123456", 5},
      {2, now - 600, "420777123456", 5},
      {3, now - kReportWindow - 1, "420601000000", 7},
      {4, now - 100, "420601111111", 9, true},
      {5, now - 50, "420602222222", std::nullopt},
      {6, now - 500, "420602222222", 11},
      {7, now - 7000, "420603333333", std::nullopt},
      {8, now - 60, "420603333333", 12},
  };
  using enum ReportMatch;
  const std::tuple<unsigned, const char*, ReportMatch, std::int64_t> reports[] = {
      {5, "+420 777 123 456", Matched, 2},  // the newest of the two
      {5, "777123456", Matched, 2},        {5, "420777123456", Matched, 2},
      {5, "+420777123457", None, 0},       {6, "+420777123456", None, 0},  // an earlier part's
      {7, "+420601000000", None, 0},                                       // sent too long ago
      {9, "+420601111111", None, 0},                                       // already told
      {11, "+420602222222", Held, 0},  // a newer send may take it
      {12, "+420603333333", Matched, 8},
  };
  for (const auto& [reference, number, match, id] : reports) {
    const ReportMatchResult result = matchReport(
        {reference, number, now, 0}, comparedNumber(number, internationalPhoneNumber), sent);
    EXPECT_EQ(result.match, match) << reference << " " << number;
    EXPECT_EQ(result.id, id) << reference << " " << number;
  }
}

TEST(ModemNumbers, TheFieldsNumbersGoInInternationalForm) {
  const auto refusal = [](const char* number) {
    return "Číslo „" + std::string(number) +
           "“ nelze použít. Zadejte devítimístné české číslo nebo číslo s mezinárodní "
           "předvolbou (+420…, 00…, +…); více čísel oddělte čárkou nebo středníkem.";
  };
  // Read by their digits alone, as where the phone number module is missing.
  const std::tuple<const char*, std::vector<std::string>, std::string> fields[] = {
      {"777 123 456; ", {"+420777123456"}, ""},
      {"+420 777 123 456, 00420601-111-222;777123456", {"+420777123456", "+420601111222"}, ""},
      {"0044 20 7946 0958", {"+442079460958"}, ""},
      {" ; ", {}, "Není vyplněno číslo!"},
      {"77712345", {}, refusal("77712345")},
      {"777123456, Jan", {}, refusal("Jan")},
      {"+420 77712345", {}, refusal("+420 77712345")},
  };
  for (const auto& [field, numbers, refused] : fields) {
    const ModemNumbers read = modemNumbers(field, plainInternationalNumber);
    EXPECT_EQ(std::tie(read.numbers, read.refusal), std::tie(numbers, refused)) << field;
  }
  // The module knows each country's numbering.
  const std::pair<const char*, const char*> byModule[] = {
      {"777 123 456", "+420777123456"},
      {"00420 601-111-222", "+420601111222"},
      {"+44 (0)20 7946 0958", "+442079460958"},
      {"420777123456", "+420777123456"},
      {"123 456 789", ""},  // no Czech number begins with 1
  };
  for (const auto& [written, international] : byModule) {
    EXPECT_EQ(internationalPhoneNumber(written), international) << written;
  }
  EXPECT_EQ(modemNumbers("777123456, 123 456 789", internationalPhoneNumber).refusal,
            refusal("123 456 789"));
}

// The page's checks in their order, each with its caption and the field the focus goes to.
TEST(ModemCheck, ThePageIsCheckedInOrderAndPassesEachNumberOnce) {
  const std::string tooLong(1531, 'a');  // eleven parts of 153
  const std::tuple<const char*, std::string, std::string, std::string, SendFocus> cases[] = {
      {" ", "Ahoj", "Není vyplněno číslo!", "Chyba!", SendFocus::ModemNumber},
      {"Jan", "Ahoj", modemNumbers("Jan", plainInternationalNumber).refusal, "Chyba",
       SendFocus::ModemNumber},
      {"777123456", "", "Není zadán text zprávy!", "Chyba!", SendFocus::ModemMessage},
      {"777123456", tooLong, modemTooLongMessage(11), "Chyba", SendFocus::ModemMessage},
  };
  for (const auto& [numbers, text, message, caption, focus] : cases) {
    const SendCheck check = checkModemSend(numbers, text, plainInternationalNumber);
    EXPECT_EQ(std::tie(check.message, check.caption, check.focus),
              std::tie(message, caption, focus))
        << message;
  }
  const SendCheck passed = checkModemSend("777123456; 00420601111222, +420777123456", "a\r\nb",
                                          plainInternationalNumber);
  EXPECT_FALSE(passed.refused());
  EXPECT_EQ(passed.sent.addressees, "+420777123456;+420601111222");
  EXPECT_EQ(passed.sent.message, "a\nb");
}

}  // namespace
}  // namespace movarek
