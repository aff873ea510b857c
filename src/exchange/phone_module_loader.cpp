#include "exchange/phone_module.h"

#include "common/program_module.h"
#include "exchange/phone_number.h"

namespace movarek {

std::string keptPhoneNumberByModule(std::string_view written) {
  static const auto keep = reinterpret_cast<KeepPhoneNumber>(
      programModuleEntry(MOVAREK_PHONE_MODULE, kKeepPhoneNumberSymbol));
  if (!keep) return phoneNumberDigits(written);
  std::string kept;
  keep(written, kept);
  return kept;
}

}  // namespace movarek
