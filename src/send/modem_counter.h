#pragma once
// How the user's modem will send a text, counted as ModemManager splits it: in the GSM 7-bit
// alphabet when every character has a place in it, otherwise the whole text in UCS-2; and in
// how many parts.
#include <cstddef>
#include <string>
#include <string_view>

namespace movarek {

enum class ModemEncoding { Gsm7, Ucs2 };

struct ModemCount {
  ModemEncoding encoding = ModemEncoding::Gsm7;
  // Septets in GSM 7-bit (a character of the extension table takes two), UTF-16 units in UCS-2
  // (a character beyond the basic plane takes two).
  std::size_t characters = 0;
  unsigned parts = 1;
  // The first character (UTF-8) that no GSM 7-bit table holds; empty in GSM 7-bit.
  std::string forcedUcs2By;
};

// One part holds 160 septets or 70 units; a longer text goes in parts of at most 153 septets or
// 67 units (the rest of each part carries the header that joins them), filled one character
// after another, never splitting an escaped character or a surrogate pair. `utf8` as the memo
// gives it: a line break (CR LF or LF) goes as one LF.
ModemCount countForModem(std::string_view utf8);

// The text as it goes to the modem: each line break one LF.
std::string textForModem(std::string_view utf8);

// The most parts one message may take; a longer one is refused before anything is sent.
inline constexpr unsigned kMostModemParts = 10;

// Why a text of `parts` parts is refused.
std::string modemTooLongMessage(unsigned parts);

}  // namespace movarek
