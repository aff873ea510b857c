// kontakty.dat as the program reads it at start, whatever the file holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "addressbook/contact_store.h"
#include "fuzz_check.h"

namespace {

using movarek::ContactBook;
using movarek::ContactRecord;

constexpr std::size_t kCountSize = 2;

// A field's text ends within its width, holds no zero byte, and is the file's own bytes there.
bool readWithin(std::string_view file, std::size_t at, std::size_t width, const std::string& text) {
  const auto field = at < file.size() ? file.substr(at, width) : std::string_view{};
  return text.size() <= width && text.find('\0') == std::string::npos && field.starts_with(text);
}

bool recordReadWithin(std::string_view file, int index, const ContactRecord& record) {
  const auto at = kCountSize + ContactRecord::kSize * static_cast<std::size_t>(index);
  return readWithin(file, at, ContactRecord::kNameWidth, record.nameText()) &&
         readWithin(file, at + ContactRecord::kNameWidth, ContactRecord::kAddressWidth,
                    record.addressText()) &&
         readWithin(file, at + ContactRecord::kNameWidth + ContactRecord::kAddressWidth,
                    ContactRecord::kPhoneWidth, record.phoneText());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  // Like the program's own book, allocated once; reading a file starts it over.
  static ContactBook book, again;
  book.readFileBytes(file);

  const int stored = size < kCountSize ? 0 : data[0] | data[1] << 8;
  FUZZ_REQUIRE(book.count() >= 0 && book.count() <= ContactBook::kCapacity);
  // Only the whole records present are contacts: a damaged count makes none up.
  const auto present =
      static_cast<int>(size < kCountSize ? 0 : (size - kCountSize) / ContactRecord::kSize);
  FUZZ_REQUIRE(book.count() == std::min({stored, present, ContactBook::kCapacity}));
  for (int i = 0; i < book.count(); ++i) FUZZ_REQUIRE(recordReadWithin(file, i, book.record(i)));

  // Written after reading: a file that holds its whole count comes out byte for byte as it
  // was, any other keeps the records it holds, and any file reads back as what was written.
  const auto written = book.fileBytes();
  FUZZ_REQUIRE(written.size() == kCountSize + ContactRecord::kSize * book.count());
  if (size >= kCountSize && book.count() == stored) FUZZ_REQUIRE(file.starts_with(written));
  FUZZ_REQUIRE(file.substr(std::min(size, kCountSize))
                   .starts_with(std::string_view(written).substr(kCountSize)));
  again.readFileBytes(written);
  FUZZ_REQUIRE(again.fileBytes() == written);

  // The book keeps working on what it read: a new contact finds its place or is refused.
  const bool added = book.add("Nový kontakt", "novy@sms.cz", "777123456");
  FUZZ_REQUIRE(added == (again.count() < ContactBook::kCapacity));
  FUZZ_REQUIRE(book.count() == again.count() + (added ? 1 : 0));
  return 0;
}
