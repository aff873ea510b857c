#include "send/qt/lost_characters.h"

#include "common/cp1250.h"
#include "common/qt/message_box.h"

namespace movarek {
namespace {

// A character as the question lists it; one that shows nothing by itself by its number.
QString shown(char32_t character) {
  if (QChar::isPrint(character) && !QChar::isSpace(character)) {
    return QString::fromUcs4(&character, 1);
  }
  return QStringLiteral("U+%1")
      .arg(static_cast<uint>(character), 4, 16, QLatin1Char('0'))
      .toUpper();
}

}  // namespace

bool agreedToLoseCharacters(const QStringList& fields) {
  const auto lacking = charactersCp1250Lacks(fields.join(QChar(u'\n')).toStdString());
  if (lacking.empty()) return true;
  QStringList listed;
  for (const char32_t character : lacking) listed << shown(character);
  const QString question = QStringLiteral(
                               "Zpráva obsahuje znaky, které SMS centrum Vertanix nepřenese: %1\n"
                               "Odeslat ji s otazníky („?“) místo nich?")
                               .arg(listed.join(QLatin1Char(' ')));
  return showMessage(question, QStringLiteral("Nepřenosné znaky"),
                     MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
}

}  // namespace movarek
