#include "common/qt/program_module.h"
#include "exchange/qt/phone_module.h"

namespace movarek {

namespace {

// Once loaded, for good; a missing one is looked for again at the next import.
KeepPhoneNumber phoneModule() {
  static KeepPhoneNumber keep = nullptr;
  if (!keep) {
    keep = reinterpret_cast<KeepPhoneNumber>(
        programModuleEntry(MOVAREK_PHONE_MODULE, kKeepPhoneNumberSymbol));
  }
  return keep;
}

}  // namespace

std::string keptPhoneNumberByModule(std::string_view written) {
  const KeepPhoneNumber keep = phoneModule();
  if (!keep) return std::string(written);
  std::string kept;
  keep(written, kept);
  return kept;
}

bool phoneModuleMissing() { return phoneModule() == nullptr; }

}  // namespace movarek
