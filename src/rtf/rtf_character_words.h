#pragma once

#include "rtf/rtf_reader.h"
#include "rtf/rtf_scanner.h"

namespace movarek {

// Where a file names no font, colour or character set.
inline constexpr int kRtfNoIndex = -1;

// The character format as the file sets it: indexes into its tables.
struct CharacterState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = kRtfDefaultHalfPoints;
  int font = kRtfNoIndex;
  int colour = kRtfNoIndex;
  bool operator==(const CharacterState&) const = default;
};

// Applies a word of the character format ("\b", "\fs24", "\plain", ...) to `character`; false
// for any other word. "\plain" goes back to the document's default font.
bool applyCharacterWord(const ControlWord& word, int defaultFont, CharacterState& character);

}  // namespace movarek
