#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/qt/entry.h"

namespace movarek {
namespace {

// The program's message boxes read Czech under an English or C locale too.
TEST(CzechButtons, YesAndNoReadAnoAndNeUnderAnyLocale) {
  for (const char* locale : {"C", "en_US"}) {
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    prepareApplication(*qApp);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zpráva odeslána"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), "Ano") << locale;
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), "Ne") << locale;
  }
  QLocale::setDefault(QLocale::system());
}

}  // namespace
}  // namespace movarek
