#pragma once
// The program's database, version by version: each feature's tables as the version that brought
// them. A new feature adds its version at the end; a version once released never changes.
#include <string_view>
#include <vector>

#include "addressbook/contact_groups.h"
#include "send/message_templates.h"
#include "send/sent_messages.h"

namespace movarek {

inline std::vector<std::string_view> programSchema() {
  return {SentMessages::kSchema, ContactGroups::kSchema, MessageTemplates::kSchema};
}

}  // namespace movarek
