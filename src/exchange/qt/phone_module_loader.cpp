#include "common/qt/program_module.h"
#include "exchange/qt/phone_module.h"

namespace movarek {

namespace {

// Once loaded, for good; a missing one is looked for again at the next use.
template <typename Entry, const char* symbol>
Entry phoneModule() {
  static Entry entry = nullptr;
  if (!entry) entry = reinterpret_cast<Entry>(programModuleEntry(MOVAREK_PHONE_MODULE, symbol));
  return entry;
}

}  // namespace

std::string keptPhoneNumberByModule(std::string_view written) {
  const auto keep = phoneModule<KeepPhoneNumber, kKeepPhoneNumberSymbol>();
  if (!keep) return std::string(written);
  std::string kept;
  keep(written, kept);
  return kept;
}

std::string internationalPhoneNumberByModule(std::string_view written) {
  const auto read = phoneModule<InternationalPhoneNumber, kInternationalPhoneNumberSymbol>();
  std::string international;
  if (read) read(written, international);
  return international;
}

bool phoneModuleMissing() {
  return phoneModule<KeepPhoneNumber, kKeepPhoneNumberSymbol>() == nullptr;
}

}  // namespace movarek
