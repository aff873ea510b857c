#pragma once
// Cards of another program taken into the address book, and the book written for others.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/contact_texts.h"
#include "exchange/contact_card.h"

namespace movarek {

enum class ContactFormat { VCard, Csv };

// The cards of a vCard or CSV file, read whole a piece at a time; none when the file cannot
// be read to its end.
std::optional<std::vector<ContactCard>> readContactFile(const std::string& path,
                                                        ContactFormat format);

// How a written number is kept (keptPhoneNumber for the program; tests may stand in).
using PhoneKeeping = std::function<std::string(std::string_view utf8)>;

// A card as the book stores it, in code page 1250 with each text cut to what its field keeps.
// Name: the formatted name, else given and family name joined by a space. Address: the first
// e-mail address. Phone: the first number marked mobile, else the first.
ContactTexts contactOf(const ContactCard& card, const PhoneKeeping& keepPhone);

struct ImportCount {
  int added = 0;
  int withoutAddressOrPhone = 0;
  int alreadyInTheBook = 0;
  int withoutRoom = 0;
  bool operator==(const ImportCount&) const = default;
};

struct ImportPlan {
  std::vector<ContactTexts> toAdd;                      // in the file's order
  std::vector<std::vector<std::string>> groupsOfAdded;  // each one's groups, UTF-8
  ImportCount count;
};

// What of `cards` goes into a book that holds `book` and has `room` for more: a card with
// neither address nor phone, a contact the book or the file holds already (same name, address
// and phone) and what does not fit in the book are left out and counted. Every card is
// counted once.
ImportPlan planImport(const std::vector<ContactTexts>& book, int room,
                      const std::vector<ContactCard>& cards, const PhoneKeeping& keepPhone);

// What the user is told after an import (UTF-8).
std::string importReport(const ImportCount& count);

// The groups (UTF-8) a contact of the book belongs to.
using GroupsOf = std::function<std::vector<std::string>(const ContactTexts& contact)>;

// The whole book as vCard 4.0 in UTF-8: FN, N, EMAIL, TEL;TYPE=cell and the contact's groups as
// CATEGORIES, CR LF line ends.
std::string vCardsOf(const std::vector<ContactTexts>& book, const GroupsOf& groupsOf = {});
// The whole book as CSV in UTF-8 with a byte order mark and a header row the import reads, the
// groups in Google's "Group Membership" column.
std::string csvOf(const std::vector<ContactTexts>& book, const GroupsOf& groupsOf = {});

}  // namespace movarek
