#pragma once
// "Odeslat později": when a message checked for sending goes. The time is typed or picked in the
// calendar in the Czech way ("10. 12. 2026 14:30"), as the wall clock shows it, or taken from a
// quick choice; one that has passed, or lies more than a year ahead, is refused, as is one the
// clocks skip on the night they go forward. One they pass twice on the night they go back means
// the first, and the dialog says so.
#include <QDialog>
#include <cstdint>
#include <optional>

class QDateTimeEdit;
class QLabel;
class QPushButton;

namespace movarek {

class PlanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PlanDialog(QWidget* parent);

  // Each opening: an hour from now offered, the time field focused.
  void FormActivate();
  // The time "Naplánovat" took, in seconds since 1970 (UTC); none for a time the clocks skip.
  std::optional<std::int64_t> chosen() const;
  // Puts `when` (seconds since 1970, UTC) into "Kdy", as the quick choices do.
  void offer(std::int64_t when);

  // The field holds the wall clock's time as it is written, whatever the clocks do that night.
  QDateTimeEdit* editKdy;
  QLabel* labelDvakrat;  // under "Kdy": a time the clocks pass twice
  QPushButton* btnZaHodinu;
  QPushButton* btnZitra;
  QPushButton* btnNaplanovat;
  QPushButton* btnZrusit;

 private:
  void btnNaplanovatClick();
  void editKdyChange();

  std::int64_t offered_ = 0;  // the moment a quick choice put in: the second of two, maybe
};

}  // namespace movarek
