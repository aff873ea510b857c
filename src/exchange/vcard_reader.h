#pragma once
// vCard 2.1, 3.0 and 4.0 files as phones, mail programs and address book services write them.
#include <string_view>
#include <vector>

#include "exchange/contact_card.h"

namespace movarek {

// Every card of the file, in its order; properties the address book does not use (PHOTO and
// the like, of any size) are skipped whole. A card begins at a line "BEGIN:VCARD" (in any
// case), so any bytes give at most as many cards as they hold such lines.
std::vector<ContactCard> readVCards(std::string_view bytes);

}  // namespace movarek
