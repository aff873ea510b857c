#pragma once
// The address book: up to 1000 contacts in the order of their names, and the file
// kontakty.dat that holds them: a two-byte count, then one 250-byte record per contact.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/contact_texts.h"
#include "common/data_file.h"

namespace movarek {

inline constexpr const char* kContactsFile = "kontakty.dat";

// One contact as the file holds it: three zero-padded code page 1250 fields. The raw bytes
// are kept, so a record read from the file is written back exactly as it was.
struct ContactRecord {
  static constexpr std::size_t kNameWidth = 100;
  static constexpr std::size_t kAddressWidth = 100;
  static constexpr std::size_t kPhoneWidth = 50;
  static constexpr std::size_t kSize = kNameWidth + kAddressWidth + kPhoneWidth;

  std::array<char, kNameWidth> name{};
  std::array<char, kAddressWidth> address{};
  std::array<char, kPhoneWidth> phone{};

  // Each text ends at its first zero byte, or at its field's width when there is none.
  std::string nameText() const;
  std::string addressText() const;
  std::string phoneText() const;
};

// No contact is current: the contacts dialog shows none.
inline constexpr int kNoContact = -1;

class ContactBook {
 public:
  static constexpr int kCapacity = 1000;

  ContactBook();

  int count() const { return count_; }
  bool full() const { return count_ == kCapacity; }
  // How many more contacts the book takes.
  int room() const { return kCapacity - count_; }
  const ContactRecord& record(int index) const { return slots_[index]; }
  std::vector<std::string> names() const;
  // Every contact's texts, in the book's order.
  std::vector<ContactTexts> contacts() const;

  // The contact the contacts dialog shows; replacing and removing act on it.
  int currentContact() const { return current_; }
  void setCurrentContact(int index) { current_ = index; }

  // Stores a new contact behind every contact whose name is not greater, each text cut to
  // what its field keeps. False, and nothing changed, when the book is full.
  bool add(std::string_view name, std::string_view address, std::string_view phone);
  // Gives the current contact the three texts and moves it to its place in the order, which
  // becomes current. False, and nothing changed, when no contact is current.
  bool replaceCurrent(std::string_view name, std::string_view address, std::string_view phone);
  // Removes the current contact and makes the first one current. False when none is current.
  bool removeCurrent();

  // The whole file: the count, low byte first, and the records in table order.
  std::string fileBytes() const;
  // Takes the book from a file as stored, unsorted. A damaged file never reaches outside the
  // table and makes up no contact: only the whole records the file holds are read, as many
  // as its count says and at most the capacity; one of fewer than two bytes is an empty book.
  void readFileBytes(std::string_view bytes);

 private:
  bool holds(int index) const { return index >= 0 && index < count_; }
  // Puts the texts into the slot behind the last contact and moves it forward to its place.
  int insert(std::string_view name, std::string_view address, std::string_view phone);
  void takeOut(int index);

  std::vector<ContactRecord> slots_;  // kCapacity slots, allocated once
  int count_ = 0;
  int current_ = kNoContact;
};

// The book bound to its file: every change is written at once.
class ContactStore {
 public:
  explicit ContactStore(UserNotice notice);

  const ContactBook& book() const { return book_; }
  void setCurrentContact(int index) { book_.setCurrentContact(index); }

  void LoadContacts();
  // False, after telling the user, when the book is full; the file is then left alone.
  bool AddContact(std::string_view name, std::string_view address, std::string_view phone);
  // Adds each contact in its place by name, as many as the book takes, and writes the file
  // once; gives how many were added, nothing when the file could not be stored.
  std::optional<int> AddContacts(const std::vector<ContactTexts>& contacts);
  // True when the current contact changed (or went) and the file was stored.
  bool ReplaceContact(std::string_view name, std::string_view address, std::string_view phone);
  bool RemoveContact();
  bool SaveContacts();

 private:
  ContactBook book_;
  DataFile file_;
  UserNotice notice_;
};

}  // namespace movarek
