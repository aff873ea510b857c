#include "send/counter.h"

#include <cstdio>

namespace movarek {

std::string counterCaption(std::size_t length, unsigned messageSize) {
  const auto count = static_cast<unsigned>(length / messageSize + 1);
  char caption[32];
  std::snprintf(caption, sizeof caption, "%u / %u", static_cast<unsigned>(length), count);
  return caption;
}

}  // namespace movarek
