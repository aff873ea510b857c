#pragma once
// The pages of the main window, which the page bar switches between, in the page book's order.
// The last is there only while the user has a device of their own to send by.

namespace movarek {

enum class Page { Sms, Eurotel, Oskar, Modem };

}  // namespace movarek
