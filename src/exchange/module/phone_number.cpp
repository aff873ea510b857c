#include "exchange/module/phone_number.h"

#include <phonenumbers/phonenumberutil.h>

namespace movarek {
namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

constexpr int kCzechCountryCode = 420;

}  // namespace

// The library knows every country's codes and prefixes: "00" dials abroad from the Czech
// Republic, "(0)" in a British number is no part of it, and so on.
std::string keptPhoneNumber(std::string_view written) {
  const PhoneNumberUtil& numbers = *PhoneNumberUtil::GetInstance();
  PhoneNumber number;
  if (numbers.Parse(std::string(written), "CZ", &number) != PhoneNumberUtil::NO_PARSING_ERROR) {
    return phoneNumberDigits(written);
  }
  std::string national;
  numbers.GetNationalSignificantNumber(number, &national);
  if (number.country_code() == kCzechCountryCode) return national;
  return std::string("+").append(std::to_string(number.country_code())).append(national);
}

std::string internationalPhoneNumber(std::string_view written) {
  const PhoneNumberUtil& numbers = *PhoneNumberUtil::GetInstance();
  PhoneNumber number;
  if (numbers.Parse(std::string(written), "CZ", &number) != PhoneNumberUtil::NO_PARSING_ERROR ||
      !numbers.IsValidNumber(number)) {
    return {};
  }
  std::string international;
  numbers.Format(number, PhoneNumberUtil::E164, &international);
  return international;
}

}  // namespace movarek
