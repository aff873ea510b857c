#pragma once
// The web engine's command line: the user's own QTWEBENGINE_CHROMIUM_FLAGS, without what would
// take the engine around the gatekeeper or open it to other programs, and the program's own
// switches after them, where the engine takes them over any the user gave.
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

// The variable's tokens as the engine reads them: split at spaces, quotes taken out and the
// spaces between them kept, an open quote running to the end.
std::vector<std::string> engineFlagTokens(std::string_view value);

struct EngineFlags {
  std::string value;                 // for QTWEBENGINE_CHROMIUM_FLAGS
  std::vector<std::string> dropped;  // the user's tokens left out
};

// `users` without its proxy and name resolver switches (which would go before the
// gatekeeper), its remote debugging ones and a lone "--" (after which the engine reads no
// switch, the program's own included); each token quoted so that it reads back as it was, and
// `own` last. Features the user turns off stay off beside the program's.
EngineFlags engineFlags(std::string_view users, const std::vector<std::string>& own);

}  // namespace movarek
