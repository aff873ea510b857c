#pragma once
// One data file of the data folder: read without trusting it, replaced
// safely, and a change that cannot be stored told to the user once per run.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

// Shows the user a message with an OK button. Text and caption are UTF-8; the window side
// decides how it looks, so the core itself needs no windows.
using UserNotice = std::function<void(const std::string& text, const std::string& caption)>;

inline constexpr std::string_view kErrorCaption = "Chyba";

// What the user reads when `bareName` cannot be stored in `folder`, and what follows from it.
std::string saveFailureMessage(std::string_view bareName, std::string_view folder,
                               std::string_view consequence);

// What follows from a change that cannot be stored while the program runs.
inline constexpr std::string_view kChangesLastUntilTheEnd = "Změny platí jen do ukončení programu.";

class DataFile {
 public:
  // `consequence` ends the notice of a failed write; an empty `notice` tells nothing.
  DataFile(std::string bareName, UserNotice notice,
           std::string_view consequence = kChangesLastUntilTheEnd);

  // At most `limit` bytes from the file's start; nothing when it is missing or unreadable.
  std::optional<std::string> read(std::size_t limit) const;

  // Replaces the file with `bytes`, creating the data folder first when it is missing. The
  // first failure of this file is told; later ones stay silent, since the user already knows
  // that changes last only until the program ends. False when the file could not be stored.
  bool write(std::string_view bytes);

 private:
  std::string bareName_;
  UserNotice notice_;
  std::string_view consequence_;
  bool failureTold_ = false;
};

}  // namespace movarek
