#pragma once
// The three pages of the main window, which the page bar switches between.

namespace movarek {

enum class Page { Sms, Eurotel, Oskar };

}  // namespace movarek
