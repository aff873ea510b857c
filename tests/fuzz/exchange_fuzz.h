#pragma once
// What must hold of any import: it adds no more contacts than the file has cards or rows, the
// book keeps its order and its capacity.
#include <string>
#include <vector>

#include "addressbook/contact_store.h"
#include "exchange/contact_import.h"
#include "fuzz_check.h"

inline void checkImport(const std::vector<movarek::ContactCard>& cards, std::size_t mostCards) {
  using movarek::ContactBook;
  FUZZ_REQUIRE(cards.size() <= mostCards);
  // A book that holds some contacts already, one of them near the end of the order.
  static ContactBook book;
  book.readFileBytes(std::string("\0\0", 2));
  book.add("Adam", "adam@sms.cz", "777123456");
  book.add(
      "\xC8"
      "apek",
      "", "608111222");
  const auto keepAsWritten = [](std::string_view number) { return std::string(number); };
  const auto plan = movarek::planImport(book.contacts(), book.room(), cards, keepAsWritten);
  FUZZ_REQUIRE(plan.toAdd.size() <= cards.size());
  const auto& count = plan.count;
  FUZZ_REQUIRE(static_cast<std::size_t>(count.added + count.withoutAddressOrPhone +
                                        count.alreadyInTheBook + count.withoutRoom) ==
               cards.size());
  for (const auto& contact : plan.toAdd) book.add(contact.name, contact.address, contact.phone);
  FUZZ_REQUIRE(book.count() == 2 + count.added && book.count() <= ContactBook::kCapacity);
  const auto names = book.names();
  for (std::size_t i = 1; i < names.size(); ++i) FUZZ_REQUIRE(!(names[i] < names[i - 1]));
}
