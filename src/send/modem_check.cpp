#include "send/modem_check.h"

#include "common/data_file.h"
#include "send/modem_counter.h"

namespace movarek {
namespace {

// The caption the other pages give an empty field.
constexpr std::string_view kErrorEmpty = "Chyba!";

SendCheck refuse(std::string message, std::string_view caption, SendFocus focus) {
  return SendCheck{{}, std::move(message), std::string(caption), focus};
}

bool blank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

SendCheck checkModemSend(std::string_view numbers, std::string_view message,
                         const InternationalNumber& international) {
  const ModemNumbers read = modemNumbers(numbers, international);
  if (!read.refusal.empty()) {
    return refuse(read.refusal, blank(numbers) ? kErrorEmpty : kErrorCaption,
                  SendFocus::ModemNumber);
  }
  if (message.empty())
    return refuse("Není zadán text zprávy!", kErrorEmpty, SendFocus::ModemMessage);
  const ModemCount count = countForModem(message);
  if (count.parts > kMostModemParts) {
    return refuse(modemTooLongMessage(count.parts), kErrorCaption, SendFocus::ModemMessage);
  }
  SendCheck passed;
  for (const std::string& number : read.numbers) {
    if (!passed.sent.addressees.empty()) passed.sent.addressees += ';';
    passed.sent.addressees += number;
  }
  passed.sent.message = textForModem(message);
  return passed;
}

}  // namespace movarek
