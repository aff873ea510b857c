#pragma once
// Telephone numbers as the address book keeps them.
#include <string>
#include <string_view>

namespace movarek {

// A number as another program wrote it ("+420 777 123 456", "00420 777-123-456",
// "(777) 123.456", "tel:+44 20 7946 0958") as the address book keeps numbers: a Czech number
// as its nine digits, any other as "+" and its digits. UTF-8 in and out.
std::string keptPhoneNumber(std::string_view written);

}  // namespace movarek
