#include "webview/module/link_question.h"

#include <QStringList>
#include <QUrlQuery>
#include <utility>
#include <vector>

namespace movarek {
namespace {

// Every character that could hide or turn round what is shown, as "\u{202E}".
QString shownPlainly(const QString& text) {
  QString shown;
  for (const char32_t c : text.toUcs4()) {
    switch (QChar::category(c)) {
      case QChar::Other_Control:
      case QChar::Other_Format:
      case QChar::Separator_Line:
      case QChar::Separator_Paragraph:
        shown += QStringLiteral("\\u{%1}").arg(QString::number(static_cast<uint>(c), 16)
                                                   .toUpper()
                                                   .rightJustified(4, QLatin1Char('0')));
        break;
      default:
        shown += QString::fromUcs4(&c, 1);
    }
  }
  return shown;
}

// A web address as shown: its host as it is reached, without a name and password before "@"
// (which could pass for the host).
QString shownAddress(const QUrl& url) {
  QUrl shown(url);
  shown.setUserInfo(QString());
  QString text = shown.scheme() + QStringLiteral("://") + shown.authority(QUrl::FullyEncoded) +
                 shown.path(QUrl::PrettyDecoded);
  if (shown.hasQuery()) text += QLatin1Char('?') + shown.query(QUrl::PrettyDecoded);
  if (shown.hasFragment()) text += QLatin1Char('#') + shown.fragment(QUrl::PrettyDecoded);
  return shownPlainly(text);
}

// "jan@xn--80ak6aa92e.com": the domain of a mail address as it is reached.
QString asciiMailAddress(const QString& address) {
  const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
  if (at < 0) return address;
  const QByteArray domain = QUrl::toAce(address.mid(at + 1));
  return domain.isEmpty() ? address : address.left(at + 1) + QString::fromLatin1(domain);
}

struct MailAddress {
  std::vector<std::pair<QString, QString>> addressees;  // field ("to", "cc", "bcc"), address
  QString subject;
  QString body;
  bool hasSubject = false;
  bool hasBody = false;
};

MailAddress readMailAddress(const QUrl& url) {
  MailAddress mail;
  const auto add = [&mail](const QString& field, const QString& list) {
    for (const QString& address : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      if (!address.trimmed().isEmpty()) {
        mail.addressees.emplace_back(field, asciiMailAddress(address.trimmed()));
      }
    }
  };
  add(QStringLiteral("to"), url.path(QUrl::FullyDecoded));
  for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
    const QString field = key.toLower();
    if (field == QLatin1String("to") || field == QLatin1String("cc") ||
        field == QLatin1String("bcc")) {
      add(field, value);
    } else if (field == QLatin1String("subject") && !std::exchange(mail.hasSubject, true)) {
      mail.subject = value;
    } else if (field == QLatin1String("body") && !std::exchange(mail.hasBody, true)) {
      mail.body = value;
    }
  }
  return mail;
}

QString fieldName(const QString& field) {
  if (field == QLatin1String("cc")) return QStringLiteral("Kopie");
  if (field == QLatin1String("bcc")) return QStringLiteral("Skrytá kopie");
  return QStringLiteral("Komu");
}

}  // namespace

QString linkQuestion(const QUrl& url, const QString& host) {
  if (url.scheme() != QLatin1String("mailto")) {
    return QStringLiteral("Otevřít v prohlížeči?\n\n%1\n\n%2")
        .arg(shownPlainly(host), shownAddress(url));
  }
  QStringList lines;
  for (const auto& [field, address] : readMailAddress(url).addressees) {
    lines << fieldName(field) + QStringLiteral(": ") + shownPlainly(address);
  }
  return QStringLiteral("Otevřít v poštovním programu?\n\n") + lines.join(QLatin1Char('\n'));
}

QUrl mailPassedOn(const QUrl& url) {
  const MailAddress mail = readMailAddress(url);
  const auto encoded = [](const QString& text) { return text.toUtf8().toPercentEncoding("@"); };
  QByteArrayList to;
  QByteArrayList fields;
  for (const auto& [field, address] : mail.addressees) {
    if (field == QLatin1String("to")) {
      to << encoded(address);
    } else {
      fields << field.toLatin1() + '=' + encoded(address);
    }
  }
  if (mail.hasSubject) fields << "subject=" + encoded(mail.subject);
  if (mail.hasBody) fields << "body=" + encoded(mail.body);
  QByteArray passed = "mailto:" + to.join(',');
  if (!fields.isEmpty()) passed += '?' + fields.join('&');
  return QUrl::fromEncoded(passed);
}

}  // namespace movarek
