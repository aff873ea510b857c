#include "addressbook/speed_dials.h"

#include <algorithm>

#include "common/fixed_field.h"

namespace movarek {
namespace {

// An e-mail block alone may carry a stray end of up to two bytes; the Oskar block counts
// only from three bytes on.
constexpr std::size_t kLeastOskarPart = 3;

}  // namespace

std::size_t SpeedDialTable::offset(SpeedDialBlock block, int index) {
  return static_cast<std::size_t>(block) * kBlockSize +
         static_cast<std::size_t>(index) * kEntryWidth;
}

std::string SpeedDialTable::entry(SpeedDialBlock block, int index) const {
  return fieldText(std::string_view(bytes_.data() + offset(block, index), kEntryWidth));
}

void SpeedDialTable::setEntry(SpeedDialBlock block, int index, std::string_view text) {
  text = text.substr(0, std::min(kLongestEntry, text.find('\0')));
  char* start = bytes_.data() + offset(block, index);
  std::copy(text.begin(), text.end(), start);
  start[text.size()] = '\0';
}

std::string SpeedDialTable::fileBytes() const { return std::string(bytes_.data(), bytes_.size()); }

void SpeedDialTable::readFileBytes(std::string_view bytes) {
  bytes_.fill('\0');
  const auto email = bytes.substr(0, kBlockSize);
  std::copy(email.begin(), email.end(), bytes_.begin());
  if (bytes.size() < kBlockSize + kLeastOskarPart) return;
  const auto oskar = bytes.substr(kBlockSize, kBlockSize);
  std::copy(oskar.begin(), oskar.end(), bytes_.begin() + kBlockSize);
}

SpeedDialStore::SpeedDialStore(UserNotice notice) : file_(kSpeedDialsFile, std::move(notice)) {}

void SpeedDialStore::LoadSpeedDials() {
  table_.readFileBytes(file_.read(SpeedDialTable::kFileSize).value_or(std::string()));
}

void SpeedDialStore::SaveSpeedDials() { file_.write(table_.fileBytes()); }

}  // namespace movarek
