#pragma once
// kontakty.dat as a test writes it by hand.
#include <string>

namespace movarek::testing {

// One stored contact: name, address and phone, zero-padded to 100, 100 and 50 bytes.
inline std::string contactRecord(const std::string& name, const std::string& address,
                                 const std::string& phone) {
  std::string record = name;
  record.resize(100, '\0');
  record += address;
  record.resize(200, '\0');
  record += phone;
  record.resize(250, '\0');
  return record;
}

}  // namespace movarek::testing
