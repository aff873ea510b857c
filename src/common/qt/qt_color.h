#pragma once
#include <QColor>
#include <cstdint>

namespace movarek {

// A plain colour value as the program's forms state them: 0x00BBGGRR.
inline QColor colorFromValue(std::uint32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace movarek
