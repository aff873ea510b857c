#pragma once
// The numbers a message through the user's modem goes to, as the "Číslo" field holds them: one
// or more, "," or ";" between them, each a Czech nine-digit number, one with +420 or 00 in
// front, or another country's with "+". UTF-8 in and out.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

// A written number in international form ("+420777123456"); empty for one that is no number.
// The phone number module reads it so; plainInternationalNumber where the module is missing.
using InternationalNumber = std::function<std::string(std::string_view written)>;

struct ModemNumbers {
  std::vector<std::string> numbers;  // in international form, each once, as first written
  std::string refusal;               // why the field is refused; empty when it is not
};

// The field's numbers, or the refusal that names the first wrong one.
ModemNumbers modemNumbers(std::string_view field, const InternationalNumber& international);

// A number of a form the field takes in international form, read by its digits alone (nine
// are a Czech number; 00 in front stands for "+"); empty for any other.
std::string plainInternationalNumber(std::string_view written);

// A number as reports and sent messages are compared by: the digits of its international form
// where it reads as a number, else its digits as written (a report may write a number without
// its "+").
std::string comparedNumber(std::string_view written, const InternationalNumber& international);

}  // namespace movarek
