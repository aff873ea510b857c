#pragma once
// Telephone numbers as the address book keeps them.
#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

namespace movarek {

// A number as another program wrote it ("+420 777 123 456", "00420 777-123-456",
// "(777) 123.456", "tel:+44 20 7946 0958") as the address book keeps numbers: a Czech number
// as its nine digits, any other as "+" and its digits. UTF-8 in and out.
std::string keptPhoneNumber(std::string_view written);

// A number as a message to it is addressed: "+", the country's code and the number
// ("+420777123456"); a Czech number may be written without "+420". Empty for a number that no
// country's numbering has.
std::string internationalPhoneNumber(std::string_view written);

// What is kept of a number that cannot be read as one: its digits, "+" kept in front.
inline std::string phoneNumberDigits(std::string_view written) {
  const auto first = written.find_first_not_of(" \t");
  std::string digits(first != std::string_view::npos && written[first] == '+' ? "+" : "");
  std::copy_if(written.begin(), written.end(), std::back_inserter(digits),
               [](char c) { return c >= '0' && c <= '9'; });
  return digits;
}

}  // namespace movarek
