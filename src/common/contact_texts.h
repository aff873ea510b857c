#pragma once
// A person's three texts (name, address, phone) as the data files keep them, and how long each
// may be: what stores them and what brings them in agree on it.
#include <cstddef>
#include <string>

namespace movarek {

inline constexpr std::size_t kLongestName = 97;
inline constexpr std::size_t kLongestAddress = 97;
inline constexpr std::size_t kLongestPhone = 47;

// Code page 1250.
struct ContactTexts {
  std::string name;
  std::string address;
  std::string phone;
  bool operator==(const ContactTexts&) const = default;
};

}  // namespace movarek
