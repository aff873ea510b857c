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

// And: `international` becomes internationalPhoneNumber(written).
using InternationalPhoneNumber = void (*)(std::string_view written, std::string& international);
inline constexpr char kInternationalPhoneNumberSymbol[] = "movarekInternationalPhoneNumber";

// keptPhoneNumber, read by the module; the number as written where the module is missing, so
// that nothing is changed that cannot be read.
std::string keptPhoneNumberByModule(std::string_view written);

// internationalPhoneNumber, read by the module; empty where the module is missing
// (phoneModuleMissing tells it).
std::string internationalPhoneNumberByModule(std::string_view written);

// The module could not be loaded: an import says that numbers are kept as written.
bool phoneModuleMissing();

// What an import adds to its report when the module is missing.
inline constexpr char kNumbersKeptAsWritten[] =
    "Chybí část programu SMS Movarek, modul telefonních čísel: čísla jsou převzata tak, jak "
    "jsou zapsána.\nProgram je poškozený, přeinstalujte ho prosím.";

}  // namespace movarek
