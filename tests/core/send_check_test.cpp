#include "send/send_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp1250.h"
#include "send/counter.h"
#include "send/gateway.h"
#include "send/gateway_encoding.h"

namespace movarek {
namespace {

constexpr const char* kNoAtSign =
    "Tento program zatím umožňuje posílat SMS pouze na mobilní e-mailovou adresu a ne na číslo "
    "mobilního telefonu.\nJak zjistit nebo zístak mobilní e-mailovou adresu pro Váš telefon "
    "zjistíte v nápovědě.\nDěkujeme za pochopení.";

class SendCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { setGatewayHost("gw.test:8080"); }
};

struct Refusal {
  std::string message;
  std::string caption;
  SendFocus focus;
};

void expectRefusal(const SendCheck& check, const Refusal& expected, const std::string& label) {
  EXPECT_TRUE(check.refused()) << label;
  EXPECT_EQ(check.message, expected.message) << label;
  EXPECT_EQ(check.caption, expected.caption) << label;
  EXPECT_EQ(check.focus, expected.focus) << label;
}

TEST_F(SendCheckTest, EmailRefusalsInTheirOrder) {
  struct Case {
    std::string addresses;
    std::string message;
    Refusal refusal;
  };
  const std::vector<Case> cases = {
      {"", "", {"Není vyplněna adresa!", "Chyba!", SendFocus::EmailAddress}},
      {"", "text", {"Není vyplněna adresa!", "Chyba!", SendFocus::EmailAddress}},
      {"777123456", "", {"Není zadán text zprávy!", "Chyba!", SendFocus::EmailMessage}},
      {"777123456", "text", {kNoAtSign, "Chyba", SendFocus::Unchanged}},
      {"   ", "text", {kNoAtSign, "Chyba", SendFocus::Unchanged}},
      // A list longer than one request carries reaches nobody rather than only some.
      {std::string(1999, 'a') + "@sms.cz",
       "text",
       {"Seznam adres je příliš dlouhý (2006 znaků), jedna zpráva pojme adresy o délce nejvýše "
        "1999 znaků. Některé znaky (\"+\", \"%\", \"&\", \"#\" a podobné) se počítají za tři."
        "\nOdeberte některé adresy a zprávu zbylým adresátům pošlete zvlášť.",
        "Chyba", SendFocus::EmailAddress}},
      {"a@b",
       std::string(10000, 'm'),
       {"Text zprávy je příliš dlouhý (10000 znaků), jedna zpráva pojme text o délce nejvýše "
        "9999 znaků. Některé znaky (\"+\", \"%\", \"&\", \"#\" a podobné) se počítají za tři."
        "\nZkraťte text zprávy.",
        "Chyba", SendFocus::EmailMessage}},
      {std::string(80 * 32, 'a'),
       "",
       {"Není zadán text zprávy!", "Chyba!", SendFocus::EmailMessage}},
  };
  for (const auto& c : cases) {
    expectRefusal(checkEmailSend(c.addresses, c.message), c.refusal, c.addresses);
  }
}

TEST_F(SendCheckTest, EmailUrls) {
  struct Case {
    std::string addresses;
    std::string message;
    std::string url;
  };
  const std::vector<Case> cases = {
      {"jan@sms.cz; eva@sms.cz; ", utf8ToCp1250("Ahoj, jak se máš?\r\nČau & ahoj"),
       "http://gw.test:8080/send_sms.php?go=sms2&adr=jan@sms.cz~eva@sms.cz~"
       "&zprava=Ahoj,+jak+se+mas?%0ACau+%26+ahoj"},
      // One at sign anywhere in the list is enough.
      {"777123456, eva@sms.cz", "x",
       "http://gw.test:8080/send_sms.php?go=sms2&adr=777123456~eva@sms.cz&zprava=x"},
      {"a@b", "\r\n", "http://gw.test:8080/send_sms.php?go=sms2&adr=a@b&zprava=%0A"},
      // A no-break space is a letter the table does not list: its own byte, not "+".
      {"a@b",
       "a\xA0"
       "b",
       "http://gw.test:8080/send_sms.php?go=sms2&adr=a@b&zprava=a\xA0"
       "b"},
  };
  for (const auto& c : cases) {
    const auto check = checkEmailSend(c.addresses, c.message);
    EXPECT_FALSE(check.refused());
    EXPECT_EQ(check.url, c.url);
  }
}

// "jan+sms@x.cz; " and the like: each "+" goes out as three bytes, the "; " as one.
std::string plusAddresses(std::size_t count) {
  std::string list;
  for (std::size_t i = 0; i < count; ++i) list += "jan+" + std::to_string(100 + i) + "@x.cz; ";
  return list;
}

TEST_F(SendCheckTest, TheLimitsCountFieldsAsTheyAreSentAndNothingGoesOutCut) {
  struct Case {
    const char* what;
    std::string addresses;
    std::string message;
    std::size_t sentLength;  // of the longer field as it goes out; 0 when it fits
  };
  const std::string plain1999 = "a@" + std::string(1997, 'b');
  const Case cases[] = {
      {"plain, 1999 bytes", plain1999, "x", 0},
      {"plain, 2000 bytes", plain1999 + "c", "x", 2000},
      {"1960 characters of plus addresses", plusAddresses(140), "x", 2100},
      {"plus addresses that fit, 1995 as sent", plusAddresses(133), "x", 0},
      {"one more, 2010 as sent", plusAddresses(134), "x", 2010},
      {"'%' counts three, 1999 as sent", "a@" + std::string(665, '%') + "cc", "x", 0},
      {"'%' counts three, 2000 as sent", "a@" + std::string(666, '%'), "x", 2000},
      {"spaces and separators count as sent", "a@b" + std::string(3000, ' ') + ";", "x", 0},
      {"a message at its limit as sent", "a@b", std::string(3333, '\n'), 0},
      {"a message one over", "a@b", std::string(3333, '\n') + "&", 10002},
  };
  for (const auto& [what, addresses, message, sentLength] : cases) {
    const auto check = checkEmailSend(addresses, message);
    EXPECT_EQ(check.refused(), sentLength != 0) << what;
    if (check.refused()) {
      EXPECT_NE(check.message.find("(" + std::to_string(sentLength) + " znaků)"), std::string::npos)
          << what << ": " << check.message;
      continue;
    }
    const auto query = check.url.substr(check.url.find("adr="));
    EXPECT_LE(query.find("&zprava=") - 4, 1999u) << what;
    EXPECT_TRUE(query.ends_with("zprava=" + encodedForGateway(message, EncodingRules::Message)))
        << what;
  }
  // A list that fits goes out whole: every addressee, each as the gateway decodes it.
  const auto url = checkEmailSend(plusAddresses(133), "x").url;
  EXPECT_NE(url.find("adr=jan%2B100@x.cz~jan%2B101@x.cz~"), std::string::npos) << url;
  EXPECT_NE(url.find("jan%2B231@x.cz~jan%2B232@x.cz~&zprava=x"), std::string::npos) << url;
}

TEST_F(SendCheckTest, OskarRefusalsInTheirOrder) {
  const Refusal noNumber{"Není vyplněno číslo!", "Chyba!", SendFocus::OskarNumber};
  const Refusal noText{"Není zadán text zprávy!", "Chyba!", SendFocus::OskarMessage};
  const Refusal atSign{
      "Z tohoto pole můžete odesílat zprávy pouze na číslo mobilního telefonu do sítě Oskar!",
      "Chyba", SendFocus::OskarNumber};
  const Refusal notSixDigits{"Zadejte pouze jedno 6ti místné číslo bez předvolby!", "Chyba",
                             SendFocus::OskarNumber};
  const Refusal noPrefix{"Vyberte předčíslí!", "Chyba", SendFocus::OskarPrefix};
  struct Case {
    std::string number;
    std::string message;
    int prefix;
    Refusal refusal;
  };
  const std::vector<Case> cases = {
      {"", "", kNoPrefix, noNumber},
      {"123456", "", 0, noText},
      {"jan@sms.cz", "x", 0, atSign},
      {"12@456", "x", 0, atSign},
      {"777123456", "x", 3, notSixDigits},
      {"12345", "x", 3, notSixDigits},
      {"123 456", "x", 3, notSixDigits},
      {"+12345", "x", 3, notSixDigits},
      {"12345a", "x", 3, notSixDigits},
      // The prefix is looked at last.
      {"12345", "x", kNoPrefix, notSixDigits},
      {"123456", "x", kNoPrefix, noPrefix},
      {"123456", "x", 4, noPrefix},
  };
  for (const auto& c : cases) {
    expectRefusal(checkOskarSend({c.number, c.message, c.prefix, "", ""}), c.refusal, c.number);
  }
}

TEST_F(SendCheckTest, OskarUrls) {
  struct Case {
    OskarFields fields;
    std::string query;
  };
  const std::string dobryDen = utf8ToCp1250("Dobrý den");
  const std::string senderName = utf8ToCp1250("Jiří 1");
  const std::string longSender(100, 's');
  const std::vector<Case> cases = {
      {{"123456", dobryDen, 0, "", ""},
       "adr=123456&zprava=Dobry+den&predvolba=608&sender=&senderpred="},
      {{"654321", "a\r\nb", 1, "123 456", "777"},
       "adr=654321&zprava=a%0Ab&predvolba=775&sender=123 456&senderpred=777"},
      {{"000000", "x", 2, senderName, "+4"},
       "adr=000000&zprava=x&predvolba=776&sender=" + senderName + "&senderpred=%2B4"},
      {{"999999", "x", 3, "777 123&adr=1#", "%"},
       "adr=999999&zprava=x&predvolba=777&sender=777 123%26adr=1%23&senderpred=%25"},
      {{"111111", "x", 3, longSender, ""},
       "adr=111111&zprava=x&predvolba=777&sender=" + std::string(89, 's') + "&senderpred="},
  };
  for (const auto& c : cases) {
    const auto check = checkOskarSend(c.fields);
    EXPECT_EQ(check.url, "http://gw.test:8080/send_oskar.php?go=sms2&" + c.query);
  }
  // What the sent messages keep: the prefix sent, not the list's item, and the sender as cut.
  const SentFields kept = checkOskarSend(cases.back().fields).sent;
  EXPECT_EQ(kept.addressees, "111111");
  EXPECT_EQ(kept.oskarPrefix, "777");
  EXPECT_EQ(kept.sender, std::string(89, 's'));
}

TEST(CounterCaption, LengthAndMessageCount) {
  struct Case {
    std::size_t length;
    unsigned size;
    const char* caption;
  };
  const std::vector<Case> cases = {
      {0, kEmailMessageSize, "0 / 1"},     {142, kEmailMessageSize, "142 / 1"},
      {143, kEmailMessageSize, "143 / 2"}, {285, kEmailMessageSize, "285 / 2"},
      {286, kEmailMessageSize, "286 / 3"}, {714, kEmailMessageSize, "714 / 5"},
      {0, kOskarMessageSize, "0 / 1"},     {151, kOskarMessageSize, "151 / 1"},
      {152, kOskarMessageSize, "152 / 2"}, {760, kOskarMessageSize, "760 / 6"},
  };
  for (const auto& c : cases) EXPECT_EQ(counterCaption(c.length, c.size), c.caption);
}

}  // namespace
}  // namespace movarek
