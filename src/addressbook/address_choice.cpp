#include "addressbook/address_choice.h"

namespace movarek {
namespace {

constexpr std::size_t kCollectedLimit = 9500;
constexpr std::size_t kLongestShownAddress = 99;

}  // namespace

std::string chosenAddresses(const std::vector<std::string>& markedAddresses,
                            std::string_view shownAddress) {
  if (markedAddresses.empty()) return std::string(shownAddress.substr(0, kLongestShownAddress));
  std::string text;
  for (const auto& address : markedAddresses) {
    text += address;
    text += "; ";
    if (text.size() > kCollectedLimit) break;
  }
  return text;
}

}  // namespace movarek
