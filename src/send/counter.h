#pragma once
// The strip that tells how long the message is and into how many SMS it splits.
#include <cstddef>
#include <string>

namespace movarek {

inline constexpr unsigned kEmailMessageSize = 143;
inline constexpr unsigned kOskarMessageSize = 152;

// "length / count", the count being length ÷ size truncated, plus one: so an exact multiple
// of the size already counts one message more, as the gateway splits it.
std::string counterCaption(std::size_t length, unsigned messageSize);

// What the strip shows on the Eurotel page, which has no message field.
inline constexpr const char* kNoCounter = "-------------";

}  // namespace movarek
