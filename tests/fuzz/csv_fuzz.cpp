// Any bytes as a CSV file to import.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "exchange/csv_reader.h"
#include "exchange_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  // A row for every line at most, the header's among them.
  checkImport(movarek::readCsvContacts(file),
              static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n')));
  return 0;
}
