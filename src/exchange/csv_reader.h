#pragma once
// Contacts exported as CSV (RFC 4180) by mail programs and address book services, with their
// columns found by the header names the common exporters write, in English or Czech.
#include <string>
#include <string_view>
#include <vector>

#include "exchange/contact_card.h"

namespace movarek {

// The rows of a CSV text: fields quoted or not, separated by `separator`; a quoted field may
// hold separators, doubled quotes and line breaks.
std::vector<std::vector<std::string>> csvRows(std::string_view text, char separator);

// A card for every row after the header, in the file's order: comma or semicolon separated,
// UTF-8 (with or without a byte order mark) or code page 1250. None when the header names no
// column the address book can use.
std::vector<ContactCard> readCsvContacts(std::string_view bytes);

}  // namespace movarek
