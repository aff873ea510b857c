// rvolby.dat as the program reads it at start, whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "addressbook/speed_dials.h"
#include "fuzz_check.h"

namespace {

using movarek::SpeedDialBlock;
using movarek::SpeedDialTable;

// The Oskar block is read only when at least this much of it is in the file.
constexpr std::size_t kLeastOskarPart = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  SpeedDialTable table;
  table.readFileBytes(file);

  const bool oskarRead = size >= SpeedDialTable::kBlockSize + kLeastOskarPart;
  for (const auto block : {SpeedDialBlock::Email, SpeedDialBlock::Oskar}) {
    for (int i = 0; i < SpeedDialTable::kEntriesPerBlock; ++i) {
      // Each entry ends within its 200 bytes and is the file's own bytes there.
      const auto text = table.entry(block, i);
      const auto at = (static_cast<std::size_t>(block) * SpeedDialTable::kEntriesPerBlock + i) *
                      SpeedDialTable::kEntryWidth;
      const bool inFile = at < size && (block == SpeedDialBlock::Email || oskarRead);
      const auto field = inFile ? file.substr(at, SpeedDialTable::kEntryWidth) : std::string_view{};
      FUZZ_REQUIRE(text.size() <= SpeedDialTable::kEntryWidth);
      FUZZ_REQUIRE(text.find('\0') == std::string::npos);
      FUZZ_REQUIRE(field.starts_with(text));
    }
  }

  // Written after reading: always the whole table, the file's own bytes where it has them,
  // and the same bytes again when read and written once more.
  const auto written = table.fileBytes();
  FUZZ_REQUIRE(written.size() == SpeedDialTable::kFileSize);
  if (size >= SpeedDialTable::kFileSize) FUZZ_REQUIRE(file.starts_with(written));
  SpeedDialTable again;
  again.readFileBytes(written);
  FUZZ_REQUIRE(again.fileBytes() == written);

  // An entry set from the file's first bytes reads back cut to 197 bytes.
  const auto typed = file.substr(0, std::min(file.find('\0'), std::size_t{250}));
  table.setEntry(SpeedDialBlock::Oskar, 3, typed);
  FUZZ_REQUIRE(table.entry(SpeedDialBlock::Oskar, 3) ==
               typed.substr(0, SpeedDialTable::kLongestEntry));
  return 0;
}
