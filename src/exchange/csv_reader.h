#pragma once
// Contacts exported as CSV (RFC 4180) by mail programs and address book services, with their
// columns found by the header names the common exporters write, in English or Czech.
#include <string>
#include <string_view>
#include <vector>

#include "exchange/contact_card.h"
#include "exchange/text_lines.h"

namespace movarek {

// A card for every row after the header, in the file's order: comma or semicolon separated,
// UTF-8 (with or without a byte order mark), UTF-16 with its mark, or code page 1250. None when
// the header names no column the address book can use.
std::vector<ContactCard> readCsvContacts(TextLines& lines);
std::vector<ContactCard> readCsvContacts(std::string_view bytes);

}  // namespace movarek
