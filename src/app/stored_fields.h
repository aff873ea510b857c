#pragma once
// padr.dat: the main window's fields as the user left them at the last close.
#include <optional>
#include <string>
#include <string_view>

#include "common/data_file.h"

namespace movarek {

inline constexpr const char* kStoredFieldsFile = "padr.dat";

struct StoredFields {
  std::string emailAddresses;
  // The Oskar fields come back only from a file long enough to hold them.
  struct Oskar {
    int prefixIndex;  // 0..3, or any other value for none selected
    std::string number;
    std::string senderPrefix;
    std::string sender;
  };
  std::optional<Oskar> oskar;
};

// The 10016 bytes the program writes: the address block of 10000 bytes (at most 9999 bytes of
// text, zero-filled), the prefix index as one byte (none selected is 255), then the first 6,
// 3 and 6 bytes of the number, the sender's prefix and the sender's number.
std::string storedFieldsBytes(const StoredFields& fields);

// Reads what a file holds, never past the address block or a field: a file too short for
// the Oskar fields gives only the address.
StoredFields parseStoredFields(std::string_view bytes);

// The fields from padr.dat in the data folder, or nothing when it cannot be read.
std::optional<StoredFields> loadStoredFields();

// Replaces padr.dat safely; false (and the old file kept) when it cannot be written, which is
// told through `notice`.
bool saveStoredFields(const StoredFields& fields, const UserNotice& notice = {});

}  // namespace movarek
