#pragma once
// The address book and its groups as one: a change of the book stored in kontakty.dat gives
// the change its groups make to follow it, by the contacts' addresses, to be written in one
// transaction; a change that could not be stored gives none.
#include <optional>
#include <string>
#include <string_view>

#include "addressbook/contact_groups.h"
#include "exchange/contact_import.h"

namespace movarek {

class ContactStore;

class AddressBook {
 public:
  explicit AddressBook(ContactStore& contacts);

  ContactStore& contacts() { return contacts_; }

  // The current contact given new texts (code page 1250): its groups follow its address.
  std::optional<GroupChanges> replaceContact(std::string_view name, std::string_view address,
                                             std::string_view phone);
  // The current contact deleted: it leaves its groups.
  std::optional<GroupChanges> removeContact();
  // The contacts of an import added: each joins the groups the file gave it.
  std::optional<GroupChanges> importContacts(const ImportPlan& plan);

 private:
  // A move of the groups' members from one address to another, unless a contact the book still
  // holds keeps the old address in them.
  GroupChanges movedFrom(const std::string& before, const std::string& after) const;

  ContactStore& contacts_;
};

}  // namespace movarek
