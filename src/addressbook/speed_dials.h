#pragma once
// The speed dials: four stored addressees for each sending page, and the file rvolby.dat that
// holds them as eight 200-byte entries, the e-mail block first.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/data_file.h"

namespace movarek {

inline constexpr const char* kSpeedDialsFile = "rvolby.dat";

enum class SpeedDialBlock { Email = 0, Oskar = 1 };

class SpeedDialTable {
 public:
  static constexpr int kEntriesPerBlock = 4;
  static constexpr std::size_t kEntryWidth = 200;
  static constexpr std::size_t kLongestEntry = 197;
  static constexpr std::size_t kBlockSize = kEntryWidth * kEntriesPerBlock;
  static constexpr std::size_t kFileSize = 2 * kBlockSize;

  // The entry's text, ending at its first zero byte or at its width.
  std::string entry(SpeedDialBlock block, int index) const;
  // Writes the text, cut to 197 bytes, and one zero byte behind it. Whatever stood further
  // back in the entry stays, and is written to the file with the rest.
  void setEntry(SpeedDialBlock block, int index, std::string_view text);

  // Every byte of the table: always the full 1600 bytes.
  std::string fileBytes() const;
  // A file holds the e-mail block, and the Oskar block too when at least 3 bytes follow the
  // e-mail block. Bytes a file lacks read as zero; bytes past the table are ignored.
  void readFileBytes(std::string_view bytes);

 private:
  static std::size_t offset(SpeedDialBlock block, int index);

  std::array<char, kFileSize> bytes_{};
};

// The table bound to its file.
class SpeedDialStore {
 public:
  explicit SpeedDialStore(UserNotice notice);

  SpeedDialTable& table() { return table_; }
  const SpeedDialTable& table() const { return table_; }

  void LoadSpeedDials();
  void SaveSpeedDials();

 private:
  SpeedDialTable table_;
  DataFile file_;
};

}  // namespace movarek
