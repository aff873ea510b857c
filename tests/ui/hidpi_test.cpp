// The windows at the screen's scale factor: ctest runs this also with QT_SCALE_FACTOR 1.5 and 2.
// Every control stays inside its parent, no two side by side overlap, and every caption fits.
#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QStackedWidget>

#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/qt/help_window.h"
#include "app/qt/maker_window.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

using HiDpiTest = FormsTest;

// What does not hold of `widget`'s children, and so on down.
void layoutFaults(const QWidget& widget, const QString& path, QStringList& faults) {
  QList<const QWidget*> shown;
  for (const QObject* object : widget.children()) {
    const auto* child = qobject_cast<const QWidget*>(object);
    if (!child || child->isWindow() || !child->isVisibleTo(&widget) || child->width() == 0) {
      continue;
    }
    const QString name =
        path + "/" +
        (child->objectName().isEmpty() ? QString::fromLatin1(child->metaObject()->className())
                                       : child->objectName());
    if (!widget.rect().contains(child->geometry())) faults << name + " sticks out of its parent";
    for (const QWidget* other : shown) {
      if (child->geometry().intersects(other->geometry())) {
        faults << QStringLiteral("%1 at %2,%3 %4x%5 overlaps a sibling")
                      .arg(name)
                      .arg(child->x())
                      .arg(child->y())
                      .arg(child->width())
                      .arg(child->height());
      }
    }
    shown << child;
    QString caption;
    if (const auto* label = qobject_cast<const QLabel*>(child); label && !label->wordWrap()) {
      caption = label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(child)) caption = button->text();
    if (!caption.isEmpty() && child->fontMetrics().horizontalAdvance(caption) > child->width()) {
      faults << name + " cuts its caption \"" + caption + "\"";
    }
    layoutFaults(*child, name, faults);
  }
}

TEST_F(HiDpiTest, EveryWindowKeepsItsLayout) {
  startProgram();
  const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
  const QString shots = QDir::current().filePath(QStringLiteral("hidpi-artifacts"));
  QDir().mkpath(shots);
  const std::vector<std::pair<QWidget*, QString>> windows = {{&main(), "main"},
                                                             {&forms->kontakty(), "contacts"},
                                                             {&forms->rychleVolby(), "speed-dials"},
                                                             {&forms->napoveda(), "help"},
                                                             {&forms->kontakt(), "maker"}};
  for (const auto& [window, name] : windows) {
    window->show();
    for (int page = 0; page < (window == &main() ? 3 : 1); ++page) {
      main().gotebookPlocha->setCurrentIndex(page);
      QStringList faults;
      layoutFaults(*window, name, faults);
      EXPECT_TRUE(faults.isEmpty()) << "at scale " << scale.toStdString() << ":\n"
                                    << faults.join('\n').toStdString();
      const QString shot =
          QStringLiteral("%1/%2-page%3-scale%4.png").arg(shots, name).arg(page).arg(scale);
      EXPECT_TRUE(window->grab().save(shot)) << shot.toStdString();
    }
    window->hide();
  }
}

}  // namespace
}  // namespace movarek::testing
