#pragma once
// The program reads numbers through a module of its own, loaded at the first import: the
// number library and the nine libraries it brings would otherwise be loaded at every start,
// and hold up the window by milliseconds.
#include <string>
#include <string_view>

namespace movarek {

// The module's entry: `kept` becomes keptPhoneNumber(written).
using KeepPhoneNumber = void (*)(std::string_view written, std::string& kept);
inline constexpr char kKeepPhoneNumberSymbol[] = "movarekKeepPhoneNumber";

// keptPhoneNumber, read by the module; the number's digits where the module is missing.
std::string keptPhoneNumberByModule(std::string_view written);

}  // namespace movarek
