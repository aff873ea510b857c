#pragma once
// The files the address book is exchanged through, vCard and CSV, known by their extension.
#include <QString>
#include <optional>

#include "exchange/contact_import.h"

namespace movarek {

// The file dialog's filters of both formats.
QString contactFileFilters();

std::optional<ContactFormat> contactFormatOf(const QString& path);

// The format of a file by its extension; a file of neither is told.
std::optional<ContactFormat> contactFormatTold(const QString& path);

}  // namespace movarek
