#pragma once
// The "Modem" page's send as a plain function: its checks in their order. UTF-8 in and out.
#include <string_view>

#include "send/modem_number.h"
#include "send/send_check.h"

namespace movarek {

// A check that passes carries in its fields the numbers in international form, ";" between
// them (`sent.addressees`), and the text as the modem sends it (`sent.message`); it has no URL.
SendCheck checkModemSend(std::string_view numbers, std::string_view message,
                         const InternationalNumber& international);

}  // namespace movarek
