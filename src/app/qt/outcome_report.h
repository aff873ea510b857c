#pragma once
// What the outbox tells of the messages it sends. The outcomes that end together (twenty plans
// due at 8:00) are told together: in one note on the desktop while the window is not in front,
// in one box of the program's while it is (or where no notification service answers). What ends
// while that box is open is added to it, never told in a box of its own within it.
#include <QObject>
#include <QStringList>
#include <optional>

#include "send/qt/outbox.h"

class QWidget;

namespace movarek {

class OutcomeReport : public QObject, public OutboxNotices {
  Q_OBJECT

 public:
  // Tells in boxes while `window` is in front.
  OutcomeReport(QWidget& window, QObject* parent);

  // `text` is told with whatever else is told next.
  void add(const QString& text, bool failed) override;
  // What has been added is told now.
  void tell() override;

 private:
  struct Told {
    QStringList lines;
    bool failed = false;

    void add(const Told& more);
  };

  void tellInBox(const Told& told);

  QWidget& window_;
  Told waiting_;
  std::optional<Told> inBox_;  // what the box open now tells
  int boxDepth_ = 0;           // its place among the boxes open, one within another
  Told afterBox_;              // to be told once it is closed: another box lies over it
};

}  // namespace movarek
