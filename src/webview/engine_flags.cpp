#include "webview/engine_flags.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace movarek {
namespace {

constexpr std::string_view kDisableFeatures = "disable-features";

// The switch a token names ("proxy-server" of "--proxy-server=..." or "-proxy-server"); none
// for an argument that is not one.
std::optional<std::string_view> switchName(std::string_view token) {
  if (!token.starts_with('-') || token == "-") return std::nullopt;
  token.remove_prefix(token.starts_with("--") ? 2 : 1);
  return token.substr(0, token.find('='));
}

std::string_view switchValue(std::string_view token) {
  const auto equals = token.find('=');
  return equals == std::string_view::npos ? std::string_view() : token.substr(equals + 1);
}

bool leftOut(std::string_view token) {
  if (token == "--") return true;
  const auto name = switchName(token);
  if (!name) return false;
  for (const char* around : {"no-proxy-server", "proxy-server", "proxy-pac-url",
                             "proxy-auto-detect", "proxy-bypass-list", "host-resolver-rules"}) {
    if (*name == around) return true;
  }
  return name->starts_with("remote-debugging-");
}

std::string quoted(std::string_view token) { return "\"" + std::string(token) + "\""; }

}  // namespace

std::vector<std::string> engineFlagTokens(std::string_view value) {
  std::vector<std::string> tokens;
  std::string token;
  enum class State { Between, Quoted, Unquoted } state = State::Between;
  for (const char c : value) {
    if (c == '"') {
      state = state == State::Quoted ? State::Unquoted : State::Quoted;
    } else if (c == ' ' && state != State::Quoted) {
      if (state == State::Unquoted) tokens.push_back(std::exchange(token, {}));
      state = State::Between;
    } else {
      token += c;
      if (state == State::Between) state = State::Unquoted;
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

EngineFlags engineFlags(std::string_view users, const std::vector<std::string>& own) {
  EngineFlags flags;
  std::string disabled;  // the features the user turns off
  for (const std::string& token : engineFlagTokens(users)) {
    if (leftOut(token)) {
      flags.dropped.push_back(token);
    } else if (switchName(token) == kDisableFeatures) {
      // The engine reads the last of these alone: the user's go into the program's.
      disabled += std::string(switchValue(token)) + ",";
    } else {
      flags.value += quoted(token) + " ";
    }
  }
  const bool ownDisable = std::any_of(own.begin(), own.end(), [](const std::string& token) {
    return switchName(token) == kDisableFeatures;
  });
  if (!disabled.empty() && !ownDisable)
    flags.value += quoted("--disable-features=" + disabled) + " ";
  for (const std::string& token : own) {
    const bool disables = switchName(token) == kDisableFeatures;
    flags.value +=
        quoted(disables ? "--disable-features=" + disabled + std::string(switchValue(token))
                        : token) +
        " ";
  }
  if (!flags.value.empty()) flags.value.pop_back();
  return flags;
}

}  // namespace movarek
