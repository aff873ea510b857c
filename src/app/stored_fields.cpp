#include "app/stored_fields.h"

#include "common/data_file.h"
#include "common/fixed_field.h"

namespace movarek {
namespace {

constexpr std::size_t kAddressBlock = 10000;
constexpr std::size_t kNumberWidth = 6;
constexpr std::size_t kSenderPrefixWidth = 3;
constexpr std::size_t kSenderWidth = 6;
constexpr std::size_t kFileSize =
    kAddressBlock + 1 + kNumberWidth + kSenderPrefixWidth + kSenderWidth;
// The Oskar fields are read only when this much of the file follows the address block.
constexpr std::size_t kLeastOskarPart = 3;
// padr.dat is written as the program ends: what is lost is the next start's fields.
constexpr std::string_view kFieldsNotKept =
    "Adresy a čísla zadané v hlavním okně se při příštím spuštění neobnoví.";

}  // namespace

std::string storedFieldsBytes(const StoredFields& fields) {
  std::string bytes = zeroPaddedField(fields.emailAddresses, kAddressBlock - 1, kAddressBlock);
  const auto oskar = fields.oskar.value_or(StoredFields::Oskar{-1, {}, {}, {}});
  bytes += static_cast<char>(oskar.prefixIndex & 0xFF);
  bytes += zeroPaddedField(oskar.number, kNumberWidth, kNumberWidth);
  bytes += zeroPaddedField(oskar.senderPrefix, kSenderPrefixWidth, kSenderPrefixWidth);
  bytes += zeroPaddedField(oskar.sender, kSenderWidth, kSenderWidth);
  return bytes;
}

StoredFields parseStoredFields(std::string_view bytes) {
  StoredFields fields;
  fields.emailAddresses = fieldText(bytes.substr(0, kAddressBlock));
  if (bytes.size() < kAddressBlock + kLeastOskarPart) return fields;
  // The rest of the record, with whatever the file lacks read as zero bytes.
  std::string rest(bytes.substr(kAddressBlock, kFileSize - kAddressBlock));
  rest.resize(kFileSize - kAddressBlock, '\0');
  std::string_view tail = rest;
  StoredFields::Oskar oskar;
  oskar.prefixIndex = static_cast<unsigned char>(tail[0]);
  tail.remove_prefix(1);
  oskar.number = fieldText(tail.substr(0, kNumberWidth));
  tail.remove_prefix(kNumberWidth);
  oskar.senderPrefix = fieldText(tail.substr(0, kSenderPrefixWidth));
  tail.remove_prefix(kSenderPrefixWidth);
  oskar.sender = fieldText(tail.substr(0, kSenderWidth));
  fields.oskar = oskar;
  return fields;
}

std::optional<StoredFields> loadStoredFields() {
  const auto bytes = DataFile(kStoredFieldsFile, {}).read(kFileSize);
  if (!bytes) return std::nullopt;
  return parseStoredFields(*bytes);
}

bool saveStoredFields(const StoredFields& fields, const UserNotice& notice) {
  return DataFile(kStoredFieldsFile, notice, kFieldsNotKept).write(storedFieldsBytes(fields));
}

}  // namespace movarek
