#include "common/qt/qt_text.h"

#include "common/cp1250.h"

namespace movarek {

QString fromCp1250(std::string_view cp1250) { return qtFromUtf8(cp1250ToUtf8(cp1250)); }

QString qtFromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp1250(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return utf8ToCp1250(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace movarek
