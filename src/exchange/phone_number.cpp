#include "exchange/phone_number.h"

#include <phonenumbers/phonenumberutil.h>

#include <algorithm>

namespace movarek {
namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

constexpr int kCzechCountryCode = 420;

// What is left of a number the library cannot read: its digits, "+" kept in front.
std::string digitsOf(std::string_view written) {
  std::string digits;
  std::copy_if(written.begin(), written.end(), std::back_inserter(digits),
               [](char c) { return c >= '0' && c <= '9'; });
  const auto first = written.find_first_not_of(" \t");
  return first != std::string_view::npos && written[first] == '+' ? "+" + digits : digits;
}

}  // namespace

// The library knows every country's codes and prefixes: "00" dials abroad from the Czech
// Republic, "(0)" in a British number is no part of it, and so on.
std::string keptPhoneNumber(std::string_view written) {
  const PhoneNumberUtil& numbers = *PhoneNumberUtil::GetInstance();
  PhoneNumber number;
  if (numbers.Parse(std::string(written), "CZ", &number) != PhoneNumberUtil::NO_PARSING_ERROR) {
    return digitsOf(written);
  }
  std::string national;
  numbers.GetNationalSignificantNumber(number, &national);
  if (number.country_code() == kCzechCountryCode) return national;
  return "+" + std::to_string(number.country_code()) + national;
}

}  // namespace movarek
