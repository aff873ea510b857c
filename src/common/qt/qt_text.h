#pragma once
// The Qt side of the code page crossing.
#include <QString>
#include <string>
#include <string_view>

namespace movarek {

QString fromCp1250(std::string_view cp1250);
// The core's UTF-8 texts (what is stored, the words of the program) for Qt.
QString qtFromUtf8(std::string_view utf8);
std::string toCp1250(const QString& text);

}  // namespace movarek
