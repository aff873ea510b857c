#include "send/send_check.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/data_file.h"
#include "common/oskar_prefixes.h"
#include "send/gateway.h"
#include "send/gateway_encoding.h"

namespace movarek {
namespace {

constexpr std::string_view kErrorEmpty = "Chyba!";
constexpr std::size_t kLongestAddressList = kAddressCapacity - 1;
constexpr std::size_t kLongestMessage = kMessageCapacity - 1;
constexpr std::string_view kCountedAsThree =
    " Některé znaky (\"+\", \"%\", \"&\", \"#\" a podobné) se počítají za tři.";

SendCheck refuse(std::string_view message, std::string_view caption, SendFocus focus) {
  return SendCheck{{}, std::string(message), std::string(caption), focus};
}

std::string_view cutTo(std::string_view text, std::size_t longest) {
  return text.substr(0, longest);
}

bool isSixDigits(std::string_view number) {
  return number.size() == 6 &&
         std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string addressListTooLongMessage(std::size_t length) {
  return "Seznam adres je příliš dlouhý (" + std::to_string(length) +
         " znaků), jedna zpráva pojme adresy o délce nejvýše " +
         std::to_string(kLongestAddressList) + " znaků." + std::string(kCountedAsThree) +
         "\nOdeberte některé adresy a zprávu zbylým adresátům pošlete zvlášť.";
}

std::string messageTooLongMessage(std::size_t length) {
  return "Text zprávy je příliš dlouhý (" + std::to_string(length) +
         " znaků), jedna zpráva pojme text o délce nejvýše " + std::to_string(kLongestMessage) +
         " znaků." + std::string(kCountedAsThree) + "\nZkraťte text zprávy.";
}

SendCheck checkEmailSend(std::string_view addresses, std::string_view message) {
  if (addresses.empty()) {
    return refuse("Není vyplněna adresa!", kErrorEmpty, SendFocus::EmailAddress);
  }
  if (message.empty()) {
    return refuse("Není zadán text zprávy!", kErrorEmpty, SendFocus::EmailMessage);
  }
  // Measured as the request carries them: a longer list would reach only some addressees.
  const auto list = encodedForGateway(addresses, EncodingRules::Address);
  if (list.size() > kLongestAddressList) {
    return refuse(addressListTooLongMessage(list.size()), kErrorCaption, SendFocus::EmailAddress);
  }
  const auto text = encodedForGateway(message, EncodingRules::Message);
  if (text.size() > kLongestMessage) {
    return refuse(messageTooLongMessage(text.size()), kErrorCaption, SendFocus::EmailMessage);
  }
  if (addresses.find('@') == std::string_view::npos) {
    return refuse(
        "Tento program zatím umožňuje posílat SMS pouze na mobilní e-mailovou adresu a ne na "
        "číslo mobilního telefonu.\nJak zjistit nebo zístak mobilní e-mailovou adresu pro Váš "
        "telefon zjistíte v nápovědě.\nDěkujeme za pochopení.",
        kErrorCaption, SendFocus::Unchanged);
  }
  return SendCheck{gatewayUrl("/send_sms.php?go=sms2&adr=" + list + "&zprava=" + text),
                   {},
                   {},
                   SendFocus::Unchanged,
                   {std::string(addresses), std::string(message), {}, {}, {}}};
}

SendCheck checkOskarSend(const OskarFields& fields) {
  if (fields.number.empty()) {
    return refuse("Není vyplněno číslo!", kErrorEmpty, SendFocus::OskarNumber);
  }
  if (fields.message.empty()) {
    return refuse("Není zadán text zprávy!", kErrorEmpty, SendFocus::OskarMessage);
  }
  const auto number = cutTo(fields.number, kAddressCapacity - 1);
  if (number.find('@') != std::string_view::npos) {
    return refuse(
        "Z tohoto pole můžete odesílat zprávy pouze na číslo mobilního telefonu do sítě Oskar!",
        kErrorCaption, SendFocus::OskarNumber);
  }
  if (!isSixDigits(number)) {
    return refuse("Zadejte pouze jedno 6ti místné číslo bez předvolby!", kErrorCaption,
                  SendFocus::OskarNumber);
  }
  const auto text = encodedForGateway(fields.message, EncodingRules::Message);
  if (text.size() > kLongestMessage) {
    return refuse(messageTooLongMessage(text.size()), kErrorCaption, SendFocus::OskarMessage);
  }
  if (fields.prefixIndex < 0 || fields.prefixIndex >= static_cast<int>(kOskarPrefixes.size())) {
    return refuse("Vyberte předčíslí!", kErrorCaption, SendFocus::OskarPrefix);
  }
  constexpr std::size_t kSenderLongest = 89;
  const SentFields sent{std::string(number), std::string(fields.message),
                        std::string(kOskarPrefixes[fields.prefixIndex]),
                        std::string(cutTo(fields.senderPrefix, kSenderLongest)),
                        std::string(cutTo(fields.sender, kSenderLongest))};
  return SendCheck{gatewayUrl("/send_oskar.php?go=sms2&adr=" + sent.addressees + "&zprava=" + text +
                              "&predvolba=" + sent.oskarPrefix +
                              "&sender=" + escapeQueryCharacters(sent.sender) +
                              "&senderpred=" + escapeQueryCharacters(sent.senderPrefix)),
                   {},
                   {},
                   SendFocus::Unchanged,
                   sent};
}

}  // namespace movarek
