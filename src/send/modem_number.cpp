#include "send/modem_number.h"

#include <algorithm>

namespace movarek {
namespace {

constexpr std::string_view kCzechCode = "420";
constexpr std::size_t kCzechDigits = 9;
// What an international number may hold after its "+": the country's code and the rest.
constexpr std::size_t kFewestInternationalDigits = 7;
constexpr std::size_t kMostInternationalDigits = 15;
constexpr std::string_view kSeparators = ",;";
constexpr std::string_view kBlanks = " \t";
// Besides digits and a leading "+", what people write between a number's groups.
constexpr std::string_view kGroupMarks = " \t-./()";

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string noNumberMessage(std::string_view written) {
  return "Číslo „" + std::string(written) +
         "“ nelze použít. Zadejte devítimístné české číslo nebo číslo s mezinárodní předvolbou "
         "(+420…, 00…, +…); více čísel oddělte čárkou nebo středníkem.";
}

}  // namespace

std::string plainInternationalNumber(std::string_view written) {
  written = trimmed(written);
  const bool plus = written.starts_with('+');
  if (plus) written.remove_prefix(1);
  if (!std::ranges::all_of(written, [](char c) {
        return isDigit(c) || kGroupMarks.find(c) != std::string_view::npos;
      })) {
    return {};
  }
  std::string digits;
  std::ranges::copy_if(written, std::back_inserter(digits), isDigit);
  const bool international = plus || digits.starts_with("00");
  if (!international)
    return digits.size() == kCzechDigits ? "+" + std::string(kCzechCode) + digits : "";
  if (!plus) digits.erase(0, 2);
  const bool czech = digits.starts_with(kCzechCode);
  if (czech ? digits.size() != kCzechCode.size() + kCzechDigits
            : digits.size() < kFewestInternationalDigits ||
                  digits.size() > kMostInternationalDigits) {
    return {};
  }
  return "+" + digits;
}

ModemNumbers modemNumbers(std::string_view field, const InternationalNumber& international) {
  ModemNumbers result;
  while (!field.empty()) {
    const auto end = std::min(field.find_first_of(kSeparators), field.size());
    const std::string_view written = trimmed(field.substr(0, end));
    field.remove_prefix(std::min(end + 1, field.size()));
    if (written.empty()) continue;
    std::string number = plainInternationalNumber(written).empty() ? "" : international(written);
    if (number.empty()) return {{}, noNumberMessage(written)};
    if (std::ranges::find(result.numbers, number) == result.numbers.end()) {
      result.numbers.push_back(std::move(number));
    }
  }
  if (result.numbers.empty()) result.refusal = "Není vyplněno číslo!";
  return result;
}

std::string comparedNumber(std::string_view written, const InternationalNumber& international) {
  const std::string number = international(written);
  std::string digits;
  std::ranges::copy_if(number.empty() ? written : std::string_view(number),
                       std::back_inserter(digits), isDigit);
  return digits;
}

}  // namespace movarek
