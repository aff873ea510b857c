#pragma once
// The application's general error report: an error that ends an event handler, or reaches the
// entry point, is shown with its text in the application's message box.
#include <exception>

namespace movarek {

// The application's title: the caption of its error reports.
inline constexpr char kApplicationTitle[] = "SMS Movarek";

void reportError(const std::exception& error);

}  // namespace movarek
