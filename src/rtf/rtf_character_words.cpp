#include "rtf/rtf_character_words.h"

#include <algorithm>

namespace movarek {
namespace {

constexpr int kMaxHalfPoints = 1000;

}  // namespace

bool applyCharacterWord(const ControlWord& word, int defaultFont, CharacterState& character) {
  if (word.is("plain")) {
    character = CharacterState{};
    character.font = defaultFont;
  } else if (word.is("b")) {
    character.bold = word.valueOr(1) != 0;
  } else if (word.is("i")) {
    character.italic = word.valueOr(1) != 0;
  } else if (word.is("ul")) {
    character.underline = word.valueOr(1) != 0;
  } else if (word.is("ulnone")) {
    character.underline = false;
  } else if (word.is("fs")) {
    const int halfPoints = word.valueOr(0);
    if (halfPoints > 0) character.halfPoints = std::min(halfPoints, kMaxHalfPoints);
  } else if (word.is("f")) {
    character.font = word.valueOr(kRtfNoIndex);
  } else if (word.is("cf")) {
    character.colour = word.valueOr(kRtfNoIndex);
  } else {
    return false;
  }
  return true;
}

}  // namespace movarek
