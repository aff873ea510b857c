#pragma once
// vCard 2.1, 3.0 and 4.0 files as phones, mail programs and address book services write them.
#include <string_view>
#include <vector>

#include "exchange/contact_card.h"
#include "exchange/text_lines.h"

namespace movarek {

// Every card of the file, in its order; properties the address book does not use (PHOTO and
// the like, of any size) are passed over. A card begins at a line "BEGIN:VCARD" (in any case),
// so a file gives at most as many cards as it holds such lines; a card left without its
// "END:VCARD" ends where the next one begins. Each value is read in the code page its
// CHARSET names.
std::vector<ContactCard> readVCards(TextLines& lines);
std::vector<ContactCard> readVCards(std::string_view bytes);

}  // namespace movarek
