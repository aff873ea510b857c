// padr.dat as the program reads it at start, whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/stored_fields.h"
#include "fuzz_check.h"

namespace {

constexpr std::size_t kAddressBlock = 10000;
constexpr std::size_t kNumberAt = 10001, kNumberWidth = 6;
constexpr std::size_t kSenderPrefixAt = 10007, kSenderPrefixWidth = 3;
constexpr std::size_t kSenderAt = 10010, kSenderWidth = 6;
constexpr std::size_t kWrittenSize = 10016;

// A field's text ends within its width, holds no zero byte, and is the file's own bytes there.
bool readWithin(std::string_view file, std::size_t at, std::size_t width, const std::string& text) {
  const auto field = at < file.size() ? file.substr(at, width) : std::string_view{};
  return text.size() <= width && text.find('\0') == std::string::npos && field.starts_with(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto fields = movarek::parseStoredFields(file);

  FUZZ_REQUIRE(readWithin(file, 0, kAddressBlock, fields.emailAddresses));
  // The Oskar fields come only from a file that reaches at least 3 bytes past the address block.
  FUZZ_REQUIRE(fields.oskar.has_value() == (size >= kAddressBlock + 3));
  if (fields.oskar) {
    FUZZ_REQUIRE(fields.oskar->prefixIndex == static_cast<unsigned char>(file[kAddressBlock]));
    FUZZ_REQUIRE(readWithin(file, kNumberAt, kNumberWidth, fields.oskar->number));
    FUZZ_REQUIRE(readWithin(file, kSenderPrefixAt, kSenderPrefixWidth, fields.oskar->senderPrefix));
    FUZZ_REQUIRE(readWithin(file, kSenderAt, kSenderWidth, fields.oskar->sender));
  }

  // What is stored at the next close reads back as itself: storing it again gives the same bytes.
  const auto written = movarek::storedFieldsBytes(fields);
  FUZZ_REQUIRE(written.size() == kWrittenSize);
  FUZZ_REQUIRE(movarek::storedFieldsBytes(movarek::parseStoredFields(written)) == written);
  return 0;
}
