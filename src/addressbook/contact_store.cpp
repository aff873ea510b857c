#include "addressbook/contact_store.h"

#include <algorithm>
#include <utility>

#include "common/fixed_field.h"

namespace movarek {
namespace {

constexpr std::size_t kCountSize = 2;
constexpr std::size_t kLargestFile = kCountSize + ContactRecord::kSize * ContactBook::kCapacity;

constexpr std::string_view kFullBookMessage =
    "Maximální kapacity 1000 kontaktů již bylo dosaženo a nelze vkládat další položky!";

template <std::size_t Width>
std::string text(const std::array<char, Width>& field) {
  return fieldText(std::string_view(field.data(), Width));
}

template <std::size_t Width>
void fill(std::array<char, Width>& field, std::string_view text, std::size_t longest) {
  const std::string padded = zeroPaddedField(text, longest, Width);
  std::copy(padded.begin(), padded.end(), field.begin());
}

// Byte by byte as unsigned bytes, which is how std::string compares: capitals before small
// letters, letters with diacritics after all of ASCII.
bool sortsBefore(const ContactRecord& a, const ContactRecord& b) {
  return a.nameText() < b.nameText();
}

ContactRecord recordFromBytes(std::string_view bytes) {
  ContactRecord record;
  bytes = bytes.substr(0, ContactRecord::kSize);
  auto field = [&bytes](auto& target) {
    const auto taken = bytes.substr(0, target.size());
    std::copy(taken.begin(), taken.end(), target.begin());
    bytes.remove_prefix(taken.size());
  };
  field(record.name);
  field(record.address);
  field(record.phone);
  return record;
}

}  // namespace

std::string ContactRecord::nameText() const { return text(name); }
std::string ContactRecord::addressText() const { return text(address); }
std::string ContactRecord::phoneText() const { return text(phone); }

ContactBook::ContactBook() : slots_(kCapacity) {}

std::vector<std::string> ContactBook::names() const {
  std::vector<std::string> listed;
  listed.reserve(count_);
  for (int i = 0; i < count_; ++i) listed.push_back(slots_[i].nameText());
  return listed;
}

std::vector<ContactTexts> ContactBook::contacts() const {
  std::vector<ContactTexts> listed;
  listed.reserve(count_);
  for (int i = 0; i < count_; ++i) {
    listed.push_back({slots_[i].nameText(), slots_[i].addressText(), slots_[i].phoneText()});
  }
  return listed;
}

bool ContactBook::add(std::string_view name, std::string_view address, std::string_view phone) {
  if (full()) return false;
  insert(name, address, phone);
  return true;
}

bool ContactBook::replaceCurrent(std::string_view name, std::string_view address,
                                 std::string_view phone) {
  if (!holds(current_)) return false;
  takeOut(current_);
  current_ = insert(name, address, phone);
  return true;
}

bool ContactBook::removeCurrent() {
  if (!holds(current_)) return false;
  takeOut(current_);
  current_ = 0;
  return true;
}

int ContactBook::insert(std::string_view name, std::string_view address, std::string_view phone) {
  int k = count_++;
  ContactRecord& added = slots_[k] = ContactRecord{};
  fill(added.name, name, kLongestName);
  fill(added.address, address, kLongestAddress);
  fill(added.phone, phone, kLongestPhone);
  // An equal name stops the move: the newer contact stands behind its namesakes.
  for (; k > 0 && sortsBefore(slots_[k], slots_[k - 1]); --k) std::swap(slots_[k], slots_[k - 1]);
  return k;
}

void ContactBook::takeOut(int index) {
  // The slot freed at the end keeps its bytes; it is never shown or written.
  std::copy(slots_.begin() + index + 1, slots_.begin() + count_, slots_.begin() + index);
  --count_;
}

std::string ContactBook::fileBytes() const {
  std::string bytes;
  bytes.reserve(kCountSize + ContactRecord::kSize * count_);
  bytes += static_cast<char>(count_ & 0xFF);
  bytes += static_cast<char>((count_ >> 8) & 0xFF);
  for (int i = 0; i < count_; ++i) {
    const ContactRecord& record = slots_[i];
    bytes.append(record.name.data(), record.name.size());
    bytes.append(record.address.data(), record.address.size());
    bytes.append(record.phone.data(), record.phone.size());
  }
  return bytes;
}

void ContactBook::readFileBytes(std::string_view bytes) {
  std::fill(slots_.begin(), slots_.end(), ContactRecord{});
  count_ = 0;
  if (bytes.size() < kCountSize) return;
  const int stored = static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1])
                                                                << 8;
  bytes.remove_prefix(kCountSize);
  // Only whole records are contacts: a file cut short makes up none.
  const int present =
      static_cast<int>(std::min<std::size_t>(bytes.size() / ContactRecord::kSize, kCapacity));
  count_ = std::min(stored, present);
  for (int i = 0; i < count_; ++i) {
    slots_[i] = recordFromBytes(bytes.substr(static_cast<std::size_t>(i) * ContactRecord::kSize));
  }
}

ContactStore::ContactStore(UserNotice notice)
    : file_(kContactsFile, notice), notice_(std::move(notice)) {}

void ContactStore::LoadContacts() {
  book_.readFileBytes(file_.read(kLargestFile).value_or(std::string()));
}

bool ContactStore::AddContact(std::string_view name, std::string_view address,
                              std::string_view phone) {
  if (!book_.add(name, address, phone)) {
    notice_(std::string(kFullBookMessage), std::string(kErrorCaption));
    return false;
  }
  SaveContacts();
  return true;
}

std::optional<int> ContactStore::AddContacts(const std::vector<ContactTexts>& contacts) {
  int added = 0;
  for (const auto& contact : contacts) {
    if (!book_.add(contact.name, contact.address, contact.phone)) break;
    ++added;
  }
  if (added > 0 && !SaveContacts()) return std::nullopt;
  return added;
}

bool ContactStore::ReplaceContact(std::string_view name, std::string_view address,
                                  std::string_view phone) {
  return book_.replaceCurrent(name, address, phone) && SaveContacts();
}

bool ContactStore::RemoveContact() { return book_.removeCurrent() && SaveContacts(); }

bool ContactStore::SaveContacts() { return file_.write(book_.fileBytes()); }

}  // namespace movarek
