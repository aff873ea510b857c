#include "exchange/qt/phone_module.h"

#include "exchange/module/phone_number.h"

extern "C" __attribute__((visibility("default"))) void movarekKeepPhoneNumber(
    std::string_view written, std::string& kept) {
  kept = movarek::keptPhoneNumber(written);
}

extern "C" __attribute__((visibility("default"))) void movarekInternationalPhoneNumber(
    std::string_view written, std::string& international) {
  international = movarek::internationalPhoneNumber(written);
}
