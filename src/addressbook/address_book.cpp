#include "addressbook/address_book.h"

#include <algorithm>

#include "addressbook/contact_store.h"
#include "common/cp1250.h"

namespace movarek {

AddressBook::AddressBook(ContactStore& contacts) : contacts_(contacts) {}

GroupChanges AddressBook::movedFrom(const std::string& before, const std::string& after) const {
  const auto held = contacts_.book().contacts();
  const bool stillHeld = std::ranges::any_of(
      held, [&](const ContactTexts& contact) { return contact.address == before; });
  if (before == after || before.empty() || stillHeld) return {};
  return {{{cp1250ToUtf8(before), cp1250ToUtf8(after)}}, {}};
}

std::optional<GroupChanges> AddressBook::replaceContact(std::string_view name,
                                                        std::string_view address,
                                                        std::string_view phone) {
  const ContactBook& book = contacts_.book();
  if (book.currentContact() == kNoContact) return std::nullopt;
  const std::string before = book.record(book.currentContact()).addressText();
  if (!contacts_.ReplaceContact(name, address, phone)) return std::nullopt;
  return movedFrom(before, book.record(book.currentContact()).addressText());
}

std::optional<GroupChanges> AddressBook::removeContact() {
  const ContactBook& book = contacts_.book();
  if (book.currentContact() == kNoContact) return std::nullopt;
  const std::string address = book.record(book.currentContact()).addressText();
  if (!contacts_.RemoveContact()) return std::nullopt;
  return movedFrom(address, {});
}

std::optional<GroupChanges> AddressBook::importContacts(const ImportPlan& plan) {
  const auto added = contacts_.AddContacts(plan.toAdd);
  if (!added) return std::nullopt;
  GroupChanges changes;
  for (int i = 0; i < *added; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const std::string address = cp1250ToUtf8(plan.toAdd[index].address);
    if (!address.empty() && !plan.groupsOfAdded[index].empty()) {
      changes.joined.push_back({address, plan.groupsOfAdded[index]});
    }
  }
  return changes;
}

}  // namespace movarek
